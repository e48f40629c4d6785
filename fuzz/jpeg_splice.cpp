// The metadata-keeping writer on arbitrary bytes: the bytes are read as the
// original, get a new comment and rewritten sizes, and are then spliced as
// the picture stream. Whatever the input, the result must hold exactly one
// comment before the picture data, ours, and the picture data unchanged.
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/ImgData.h"

using mosaik::imaging::MetadataWriteError;
using mosaik::imaging::TimgData;

namespace {

// Where the leading sections end, walked strictly (as the writer does).
size_t LeadingEnd(std::string_view s, int* comments) {
  const auto at = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  size_t p = 2;
  *comments = 0;
  while (p < s.size() && at(p) == 0xFF) {
    size_t q = p;
    while (q < s.size() && at(q) == 0xFF) ++q;
    if (q + 2 >= s.size()) break;
    const unsigned marker = at(q);
    if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xDA)) break;
    const size_t length = (static_cast<size_t>(at(q + 1)) << 8) | at(q + 2);
    if (length < 2 || q + 1 + length > s.size()) break;
    if (marker == 0xFE) ++*comments;
    p = q + 1 + length;
  }
  return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TimgData d(255);
  d.ReadJpegSections(bytes);
  const std::string comment = "Fuzz-Kommentar \xC3\xA4\xE2\x82\xAC";
  d.MakeCommentSegment(comment);
  d.AdjustExifSize(size % 70000, 77);
  std::string out;
  try {
    out = d.BuildExifJpeg(bytes);
  } catch (const MetadataWriteError&) {
    return 0;
  }
  int inComments = 0, outComments = 0;
  const size_t inEnd = LeadingEnd(bytes, &inComments);
  const size_t outEnd = LeadingEnd(out, &outComments);
  if (outComments != 1) __builtin_trap();
  // Everything from the end of the leading sections on is copied unchanged.
  if (out.size() - outEnd != bytes.size() - inEnd) __builtin_trap();
  if (std::string_view(out).substr(outEnd) != bytes.substr(inEnd)) __builtin_trap();
  TimgData r(255);
  r.ReadJpegSections(out);
  if (!r.HasComment()) __builtin_trap();
  // The EXIF block read from the original comes first and is read again.
  if (d.HasExif() && (!r.HasExif() || r.ExifSegment != 1)) __builtin_trap();
  return 0;
}
