#pragma once
// Builders for hand-made JPEG headers and EXIF blocks in the imaging tests.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TempOrdner.h"

namespace mosaik::imaging::testdata {

using test::TempOrdner;

inline std::string Bytes(std::initializer_list<int> v) {
  std::string s;
  for (int b : v) s += static_cast<char>(b);
  return s;
}

// A section: FF, marker, big-endian length (counting itself), payload.
inline std::string Segment(int marker, const std::string& payload) {
  const size_t len = payload.size() + 2;
  return Bytes({0xFF, marker, static_cast<int>(len >> 8), static_cast<int>(len & 0xFF)}) + payload;
}

inline std::string Soi() { return Bytes({0xFF, 0xD8}); }
// A start of scan with a little entropy data and the end of image.
inline std::string ScanTail() {
  return Segment(0xDA, Bytes({1, 1, 0, 0, 0x3F, 0})) + Bytes({0x12, 0x34, 0xFF, 0x00, 0x56, 0xFF, 0xD9});
}

inline std::string ReadFileBytes(const std::string& path) { return test::dateiInhalt(path); }

// A TIFF structure with directories in either byte order.
class TiffBuilder {
 public:
  explicit TiffBuilder(bool motorola) : mm_(motorola) { dirs_.emplace_back(); }

  // Puts the first directory at `offset`, after filler bytes.
  void FirstDirectoryAt(uint32_t offset) { first_ = offset; }

  int AddDir() {
    dirs_.emplace_back();
    return static_cast<int>(dirs_.size()) - 1;
  }
  std::string U16(uint32_t v) const { return Num(v, 2); }
  std::string U32(uint32_t v) const { return Num(v, 4); }
  std::string Rational(uint32_t n, uint32_t d) const { return U32(n) + U32(d); }

  // An entry whose value bytes are given in the block's order.
  void Add(int dir, uint16_t tag, uint16_t format, uint32_t count, const std::string& value) {
    dirs_[static_cast<size_t>(dir)].push_back(Entry{tag, format, count, value, -1, 0, false});
  }
  void Ascii(int dir, uint16_t tag, const std::string& text) {
    Add(dir, tag, 2, static_cast<uint32_t>(text.size() + 1), text + std::string(1, '\0'));
  }
  void Short(int dir, uint16_t tag, uint32_t v) { Add(dir, tag, 3, 1, U16(v)); }
  void Long(int dir, uint16_t tag, uint32_t v) { Add(dir, tag, 4, 1, U32(v)); }
  void Rat(int dir, uint16_t tag, uint32_t n, uint32_t d) { Add(dir, tag, 5, 1, Rational(n, d)); }
  // A LONG entry holding the offset of another directory.
  void Link(int dir, uint16_t tag, int target) {
    dirs_[static_cast<size_t>(dir)].push_back(Entry{tag, 4, 1, "", target, 0, false});
  }
  // A LONG entry holding a fixed offset (for broken links).
  void RawOffsetEntry(int dir, uint16_t tag, uint16_t format, uint32_t count, uint32_t offset) {
    dirs_[static_cast<size_t>(dir)].push_back(Entry{tag, format, count, "", -1, offset, true});
  }

  // A thumbnail (a second image directory holding its JPEG bytes) behind
  // everything else, where cameras store it.
  void Thumbnail(const std::string& jpeg) { thumbnail_ = jpeg; }

  std::string Build() const {
    std::vector<uint32_t> dirOffset(dirs_.size());
    uint32_t at = first_;
    for (size_t i = 0; i < dirs_.size(); ++i) {
      dirOffset[i] = at;
      at += static_cast<uint32_t>(2 + 12 * dirs_[i].size() + 4);
    }
    std::string values;
    std::string out = (mm_ ? std::string("MM") : std::string("II")) + U16(42) + U32(first_);
    out.resize(first_, '\x55');
    for (size_t i = 0; i < dirs_.size(); ++i) {
      out += U16(static_cast<uint32_t>(dirs_[i].size()));
      for (const Entry& e : dirs_[i]) {
        out += U16(e.tag) + U16(e.format) + U32(e.count);
        if (e.target >= 0) {
          out += U32(dirOffset[static_cast<size_t>(e.target)]);
        } else if (e.fixedOffset) {
          out += U32(e.offset);
        } else if (e.value.size() <= 4) {
          out += e.value + std::string(4 - e.value.size(), '\0');
        } else {
          out += U32(at + static_cast<uint32_t>(values.size()));
          values += e.value;
        }
      }
      out += U32(0);
    }
    out += values;
    if (!thumbnail_.empty()) {
      const auto ifd1 = static_cast<uint32_t>(out.size());
      out.replace(first_ + 2 + 12 * dirs_[0].size(), 4, U32(ifd1));
      out += U16(2) + U16(0x0201) + U16(4) + U32(1) + U32(ifd1 + 30) + U16(0x0202) + U16(4) + U32(1) +
             U32(static_cast<uint32_t>(thumbnail_.size())) + U32(0) + thumbnail_;
    }
    return out;
  }
  // The payload of an EXIF APP1 section.
  std::string ExifPayload() const { return std::string("Exif\0\0", 6) + Build(); }
  std::string App1() const { return Segment(0xE1, ExifPayload()); }

 private:
  struct Entry {
    uint16_t tag, format;
    uint32_t count;
    std::string value;
    int target;
    uint32_t offset;
    bool fixedOffset;
  };
  std::string Num(uint32_t v, int n) const {
    std::string s;
    for (int i = 0; i < n; ++i) {
      const int shift = mm_ ? 8 * (n - 1 - i) : 8 * i;
      s += static_cast<char>((v >> shift) & 0xFF);
    }
    return s;
  }
  bool mm_;
  uint32_t first_ = 8;
  std::vector<std::vector<Entry>> dirs_;
  std::string thumbnail_;
};

}  // namespace mosaik::imaging::testdata
