#include "imaging/ExifOrientation.h"

#include <algorithm>
#include <cstring>
#include <set>

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

// The section holds an EXIF block with a TIFF header; motorola tells its
// byte order.
bool ExifBlock(const std::string& section, bool& motorola) {
  if (!(section.size() > kTiffStart + 8 && section.compare(2, 6, std::string("Exif\0\0", 6)) == 0)) return false;
  const char order = section[kTiffStart];
  if (order != section[kTiffStart + 1] || (order != 'I' && order != 'M')) return false;
  motorola = order == 'M';
  return Tiff{section, motorola}.Get(kTiffStart + 2, 2) == 42;
}

// Position of the Orientation entry's value in the section, or 0.
size_t OrientationValue(const std::string& section, bool& motorola) {
  if (!ExifBlock(section, motorola)) return 0;
  const Tiff t{section, motorola};
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

// The end of everything the directory at `ifd` and the directories it
// links to (EXIF, GPS, interoperability) hold: their tables and the values
// stored outside them, as offsets from the TIFF header. 0 when a table does
// not lie inside the block.
size_t DirectoryEnd(const Tiff& t, size_t ifd, int depth, std::set<size_t>& seen) {
  const size_t base = kTiffStart;
  if (depth > 4 || !seen.insert(ifd).second || !t.Has(base + ifd, 2)) return 0;
  const uint32_t count = t.Get(base + ifd, 2);
  size_t end = ifd + 2 + size_t{12} * count + 4;
  if (!t.Has(base + ifd, end - ifd)) return 0;
  for (uint32_t i = 0; i < count; ++i) {
    const size_t e = base + ifd + 2 + size_t{12} * i;
    const uint32_t tag = t.Get(e, 2), type = t.Get(e + 2, 2), n = t.Get(e + 4, 4), value = t.Get(e + 8, 4);
    static constexpr uint8_t kSize[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    const uint64_t bytes = type < 13 ? uint64_t{kSize[type]} * n : 0;
    if (bytes > 4) end = std::max<uint64_t>(end, uint64_t{value} + bytes);
    if (tag == 0x8769 || tag == 0x8825 || tag == 0xA005) {
      const size_t sub = DirectoryEnd(t, value, depth + 1, seen);
      if (sub == 0) return 0;
      end = std::max(end, sub);
    }
  }
  return end;
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

bool DropExifThumbnail(std::string& section) {
  bool motorola = false;
  if (!ExifBlock(section, motorola)) return false;
  const Tiff t{section, motorola};
  const size_t ifd0 = t.Get(kTiffStart + 4, 4);
  if (!t.Has(kTiffStart + ifd0, 2)) return false;
  const size_t link = kTiffStart + ifd0 + 2 + size_t{12} * t.Get(kTiffStart + ifd0, 2);
  if (!t.Has(link, 4)) return false;
  const size_t ifd1 = t.Get(link, 4);
  if (ifd1 == 0) return false;
  // Where the thumbnail's data begin (they usually follow its directory).
  size_t start = ifd1;
  if (t.Has(kTiffStart + ifd1, 2)) {
    const uint32_t count = t.Get(kTiffStart + ifd1, 2);
    for (uint32_t i = 0; i < count && t.Has(kTiffStart + ifd1 + 2 + size_t{12} * i, 12); ++i) {
      const size_t e = kTiffStart + ifd1 + 2 + size_t{12} * i;
      if (t.Get(e, 2) == 0x0201 || t.Get(e, 2) == 0x0111) start = std::min<size_t>(start, t.Get(e + 8, 4));
    }
  }
  std::set<size_t> seen;
  const size_t keep = DirectoryEnd(t, ifd0, 0, seen);
  std::memset(section.data() + link, 0, 4);
  // The thumbnail's bytes go too when nothing else lies behind them, as
  // cameras write it; otherwise they stay, unreferenced.
  if (keep != 0 && start >= keep && kTiffStart + start < section.size()) {
    section.resize(kTiffStart + start);
    section[0] = static_cast<char>(section.size() >> 8);
    section[1] = static_cast<char>(section.size() & 0xFF);
  }
  return true;
}

void DropExifThumbnail(TimgData& metadata) {
  if (metadata.ExifSegment < 1 || metadata.ExifSegment > metadata.SectionCount()) return;
  tSection& s = metadata.Sections[static_cast<size_t>(metadata.ExifSegment - 1)];
  if (DropExifThumbnail(s.Data)) s.Size = static_cast<int32_t>(s.Data.size());
}

void SetExifOrientationTopLeft(TimgData& metadata) {
  if (metadata.ExifSegment < 1 || metadata.ExifSegment > metadata.SectionCount()) return;
  SetExifOrientationTopLeft(metadata.Sections[static_cast<size_t>(metadata.ExifSegment - 1)].Data);
}

}  // namespace mosaik::imaging
