#pragma once
// A plain in-memory bitmap: what the image code takes in and hands out.
// Rows run top-down and are packed without padding. 24-bit pixels are blue,
// green, red; 32-bit pixels blue, green, red and one unused byte. Formats
// below 16 bits hold palette indexes, the leftmost pixel in the high bits.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace mosaik::imaging {

enum class PixelFormat : uint8_t { Bit1 = 1, Bit4 = 4, Bit8 = 8, Bit24 = 24, Bit32 = 32 };

struct Bitmap {
  int width = 0;
  int height = 0;
  PixelFormat format = PixelFormat::Bit24;
  std::vector<uint8_t> pixels;
  std::vector<uint32_t> palette;  // 0xRRGGBB, for the formats below 16 bits

  Bitmap() = default;
  Bitmap(int w, int h, PixelFormat f)
      : width(w), height(h), format(f), pixels(stride() * static_cast<size_t>(h > 0 ? h : 0)) {}

  int bitsPerPixel() const { return static_cast<int>(format); }
  size_t stride() const {
    return width > 0 ? (static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel()) + 7) / 8 : 0;
  }
  uint8_t* row(int y) { return pixels.data() + stride() * static_cast<size_t>(y); }
  const uint8_t* row(int y) const { return pixels.data() + stride() * static_cast<size_t>(y); }
};

}  // namespace mosaik::imaging
