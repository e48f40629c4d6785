// TIFF containers (".tif", ".tiff", and camera raw files in one): the bytes
// after the 8-byte header go into one section slot and are decoded as the
// EXIF block, the slot's position p standing for file offset p + 7.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "imaging/ImgData.h"
#include "platform/FileSystem.h"

namespace mosaik::imaging {
namespace {

constexpr int64_t kTiffOffsetBase = -7;
constexpr size_t kHeaderSize = 8;

uint32_t HeaderOffset(std::string_view bytes, bool motorola) {
  if (bytes.size() < kHeaderSize) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + 4;
  return motorola ? (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3]
                  : (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

// How many bytes after the header are read: the normal limit, or more when
// the first directory lies past it (writers that put it behind the image).
int64_t WindowSize(uint32_t firstDirectory) {
  return firstDirectory + int64_t{2} > int64_t{kHeaderSize} + TimgData::kTiffReadLimit ? TimgData::kTiffExtendedLimit
                                                                                      : TimgData::kTiffReadLimit;
}

}  // namespace

bool TimgData::ReadTiffFile(std::FILE* f) {
  TiffMode = true;
  bool result = false;
  try {
    std::string bytes(kHeaderSize, '\0');
    bytes.resize(std::fread(bytes.data(), 1, kHeaderSize, f));
    const bool motorola = bytes.size() >= 2 && bytes[0] == 'M';
    int64_t window = WindowSize(HeaderOffset(bytes, motorola));
    // No more room than the file has: a bogus offset in a small file must
    // not cost the larger window.
    const long here = std::ftell(f);
    if (here >= 0 && std::fseek(f, 0, SEEK_END) == 0) {
      const long end = std::ftell(f);
      if (end >= here) window = std::min<int64_t>(window, end - here);
      std::fseek(f, here, SEEK_SET);
    }
    const size_t have = bytes.size();
    bytes.resize(have + static_cast<size_t>(window));
    bytes.resize(have + std::fread(bytes.data() + have, 1, static_cast<size_t>(window), f));
    result = ReadTiffSections(bytes);
  } catch (...) {
    result = false;
  }
  TiffMode = false;
  return result;
}

bool TimgData::ReadTiffSections(std::string_view bytes) {
  if (bytes.size() < 2) return false;
  const std::string_view mark = bytes.substr(0, 2);
  if (mark != "II" && mark != "MM") return false;
  const bool wasTiffMode = TiffMode;
  TiffMode = true;
  Sections.clear();
  ExifSegment = IptcSegment = CommentSegment = HeaderSegment = 0;
  IptcInfo.reset();
  exifAsRead_.clear();
  MotorolaOrder = mark == "MM";

  const uint32_t first = HeaderOffset(bytes, MotorolaOrder);
  const std::string_view rest = bytes.size() > kHeaderSize ? bytes.substr(kHeaderSize) : std::string_view();
  tSection s;
  s.Data.assign(rest.substr(0, static_cast<size_t>(WindowSize(first))));
  s.Size = static_cast<int32_t>(s.Data.size());
  Sections.push_back(std::move(s));
  ExifSegment = 1;

  ExifInfo = std::make_unique<TImageInfo>(this, BuildCode, TiffMode);
  TImageInfo& info = *ExifInfo;
  info.DataBuffer = Sections.front().Data;
  info.MotorolaOrder = MotorolaOrder;
  info.StartWalk();
  // The header names the first directory; 0 means right after the header.
  const int64_t dirStart = first == 0 ? 1 : kTiffOffsetBase + first;
  // The bound of a directory is the end of the bytes read, counted as a
  // file offset from the base.
  const int64_t length = static_cast<int64_t>(info.DataBuffer.size()) + int64_t{kHeaderSize};
  info.ProcessExifDir(dirStart, kTiffOffsetBase, length, 1);
  info.AddFocalLength35mm();
  TiffMode = wasTiffMode;
  return true;
}

}  // namespace mosaik::imaging
