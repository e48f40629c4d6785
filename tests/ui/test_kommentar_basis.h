#pragma once
// Pictures for the comment editor's tests, made by the tests themselves:
// plain-coloured JPEGs of a chosen size, with or without a comment.
#include <sys/stat.h>

#include <string>

#include "imaging/ImgData.h"
#include "imaging/JpegCodec.h"
#include "TempOrdner.h"
#include "platform/FileSystem.h"

namespace mosaik::test {

inline std::string jpegBytes(int w, int h, uint8_t r = 200, uint8_t g = 40, uint8_t b = 30,
                             const std::string& kommentar = {}) {
  imaging::RgbBitmap bild(w, h);
  for (size_t i = 0; i + 2 < bild.Pixels.size(); i += 3) {
    bild.Pixels[i] = r;
    bild.Pixels[i + 1] = g;
    bild.Pixels[i + 2] = b;
  }
  std::string s = imaging::EncodeJpeg(bild, 95, false);
  if (kommentar.empty()) return s;
  imaging::TimgData d(255);
  d.ReadJpegSections(s);
  d.MakeCommentSegment(kommentar);
  return d.BuildExifJpeg(s);
}

inline void schreiben(const std::string& pfad, const std::string& bytes) { dateiAblegen(pfad, bytes); }
inline std::string lesen(const std::string& pfad) { return dateiInhalt(pfad); }

// The comment of a picture file as the metadata reader gives it.
inline std::string kommentarVon(const std::string& pfad) {
  imaging::TimgData d(255);
  d.ProcessFile(pfad);
  return d.HasComment() ? d.GetCommentText() : std::string();
}

// The bytes of a JPEG file without its comment sections: everything a
// comment change must leave as it was.
inline std::string ohneKommentare(const std::string& j) {
  std::string out = j.substr(0, 2);
  size_t p = 2;
  while (p + 4 <= j.size() && static_cast<unsigned char>(j[p]) == 0xFF) {
    const unsigned m = static_cast<unsigned char>(j[p + 1]);
    if (m == 0xDA) break;
    const size_t len = (static_cast<size_t>(static_cast<unsigned char>(j[p + 2])) << 8) |
                       static_cast<unsigned char>(j[p + 3]);
    if (m != 0xFE) out += j.substr(p, 2 + len);
    p += 2 + len;
  }
  return out + j.substr(p);
}

// The modification time to the nanosecond.
inline timespec aenderungszeit(const std::string& pfad) {
  struct stat st {};
  ::stat(pfad.c_str(), &st);
  return st.st_mtim;
}

}  // namespace mosaik::test
