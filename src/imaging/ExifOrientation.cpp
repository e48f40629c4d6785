#include "imaging/ExifOrientation.h"

#include <cstring>

#include "imaging/ImgData.h"
#include "imaging/JpegComments.h"

namespace mosaik::imaging {
namespace {

constexpr size_t kTiffStart = 2 + 6;  // length bytes and "Exif\0\0"
constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShort = 3;

struct Tiff {
  const std::string& s;
  bool motorola = false;

  bool Has(size_t pos, size_t len) const { return pos <= s.size() && len <= s.size() - pos; }
  uint32_t Get(size_t pos, int bytes) const {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) {
      const uint32_t b = static_cast<unsigned char>(s[pos + static_cast<size_t>(i)]);
      v |= motorola ? b << (8 * (bytes - 1 - i)) : b << (8 * i);
    }
    return v;
  }
};

// Position of the Orientation entry's value in the section, or 0.
size_t OrientationValue(const std::string& section, bool& motorola) {
  if (!(section.size() > kTiffStart + 8 && section.compare(2, 6, std::string("Exif\0\0", 6)) == 0)) return 0;
  const char order = section[kTiffStart];
  if (order != section[kTiffStart + 1] || (order != 'I' && order != 'M')) return 0;
  Tiff t{section, order == 'M'};
  motorola = t.motorola;
  if (t.Get(kTiffStart + 2, 2) != 42) return 0;
  const size_t ifd = kTiffStart + t.Get(kTiffStart + 4, 4);
  if (!t.Has(ifd, 2)) return 0;
  const uint32_t count = t.Get(ifd, 2);
  for (uint32_t i = 0; i < count; ++i) {
    const size_t e = ifd + 2 + size_t{12} * i;
    if (!t.Has(e, 12)) return 0;
    if (t.Get(e, 2) != kOrientationTag) continue;
    if (t.Get(e + 2, 2) != kShort || t.Get(e + 4, 4) != 1) return 0;
    return e + 8;
  }
  return 0;
}

}  // namespace

int ExifOrientation(const std::string& section) {
  bool motorola = false;
  const size_t pos = OrientationValue(section, motorola);
  return pos ? static_cast<int>(Tiff{section, motorola}.Get(pos, 2)) : 0;
}

int JpegExifOrientation(std::string_view jpeg) {
  if (jpeg.size() < 4 || jpeg.substr(0, 2) != "\xFF\xD8") return 0;
  size_t rest = 0;
  for (const JpegSection& s : LeadingJpegSections(jpeg, rest)) {
    // The section as the metadata object holds it: length bytes, then payload.
    const std::string_view data = jpeg.substr(s.payload - 2, s.end - s.payload + 2);
    if (s.marker == 0xE1 && data.substr(2, 6) == std::string_view("Exif\0\0", 6))
      return ExifOrientation(std::string(data));
  }
  return 0;
}

Bitmap ApplyOrientation(const Bitmap& stored, int o) {
  if (o < 2 || o > 8) return stored;
  const int w = stored.width, h = stored.height;
  const bool swap = SwapsSides(o);
  Bitmap out(swap ? h : w, swap ? w : h, PixelFormat::Bit32);
  for (int y = 0; y < out.height; ++y) {
    uint8_t* d = out.row(y);
    for (int x = 0; x < out.width; ++x) {
      // The stored pixel that shows at (x, y).
      int sx = x, sy = y;
      switch (o) {
        case 2: sx = w - 1 - x; break;
        case 3: sx = w - 1 - x, sy = h - 1 - y; break;
        case 4: sy = h - 1 - y; break;
        case 5: sx = y, sy = x; break;
        case 6: sx = y, sy = h - 1 - x; break;
        case 7: sx = w - 1 - y, sy = h - 1 - x; break;
        case 8: sx = w - 1 - y, sy = x; break;
      }
      std::memcpy(d + static_cast<size_t>(x) * 4, stored.row(sy) + static_cast<size_t>(sx) * 4, 4);
    }
  }
  return out;
}

bool SetExifOrientationTopLeft(std::string& section) {
  bool motorola = false;
  const size_t pos = OrientationValue(section, motorola);
  if (!pos) return false;
  section[pos] = motorola ? '\0' : '\1';
  section[pos + 1] = motorola ? '\1' : '\0';
  return true;
}

void SetExifOrientationTopLeft(TimgData& metadata) {
  if (metadata.ExifSegment < 1 || metadata.ExifSegment > metadata.SectionCount()) return;
  SetExifOrientationTopLeft(metadata.Sections[static_cast<size_t>(metadata.ExifSegment - 1)].Data);
}

}  // namespace mosaik::imaging
