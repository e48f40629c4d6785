#pragma once
// Small helpers shared by the PNG writer, encoder and reader.
#include <array>
#include <cstdint>
#include <cstdlib>

#include "imaging/PngGraphic.h"

namespace mosaik::imaging::png_internal {

inline void PutBigEndian32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

inline uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

inline uint32_t ToRgb(const TRGBQuad& q) {
  return (uint32_t{q.rgbRed} << 16) | (uint32_t{q.rgbGreen} << 8) | q.rgbBlue;
}

inline TRGBQuad FromRgb(uint32_t rgb) {
  TRGBQuad q;
  q.rgbRed = static_cast<uint8_t>(rgb >> 16);
  q.rgbGreen = static_cast<uint8_t>(rgb >> 8);
  q.rgbBlue = static_cast<uint8_t>(rgb);
  return q;
}

// Bits per pixel of the bitmap that holds an image of this colour type and
// depth: depth 2 is held as 4, depth 16 as 8, colour as 24.
inline int HeldBitsPerPixel(uint8_t colorType, uint8_t bitDepth) {
  if (colorType == 2 || colorType == 6) return 24;
  if (bitDepth == 2) return 4;
  if (bitDepth == 16) return 8;
  return bitDepth;
}

inline bool ValidColorTypeAndDepth(uint8_t colorType, uint8_t bitDepth) {
  switch (colorType) {
    case 0: return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
    case 3: return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
    case 2:
    case 4:
    case 6: return bitDepth == 8 || bitDepth == 16;
    default: return false;
  }
}

// A grey ramp over the 2^bits entries the bitmap can index, through the
// gamma table.
inline void SetGreyRamp(TChunkIHDR& h, const std::array<uint8_t, 256>& gamma) {
  const int entries = 1 << h.BitsPerPixel;
  for (int i = 0; i < entries; ++i) {
    const uint8_t v = gamma[static_cast<size_t>(i * 255 / (entries - 1))];
    h.ColorTable[static_cast<size_t>(i)] = TRGBQuad{v, v, v, 0};
  }
}

// The index of pixel x in a packed bitmap row of 1, 4 or 8 bits.
inline int IndexAt(const uint8_t* row, int bitsPerPixel, uint32_t x) {
  switch (bitsPerPixel) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
    default: return row[x];
  }
}

inline void SetIndexAt(uint8_t* row, int bitsPerPixel, uint32_t x, unsigned index) {
  switch (bitsPerPixel) {
    case 1: {
      const auto bit = static_cast<uint8_t>(0x80 >> (x % 8));
      row[x / 8] = static_cast<uint8_t>((row[x / 8] & ~bit) | ((index & 1) ? bit : 0));
      break;
    }
    case 4: {
      const int shift = x % 2 ? 0 : 4;
      row[x / 2] = static_cast<uint8_t>((row[x / 2] & ~(0x0F << shift)) | ((index & 0x0F) << shift));
      break;
    }
    default: row[x] = static_cast<uint8_t>(index); break;
  }
}

inline uint8_t PaethPredictor(int a, int b, int c) {
  const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
  if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
  if (pb <= pc) return static_cast<uint8_t>(b);
  return static_cast<uint8_t>(c);
}

// The Adam7 passes: start row, start column, row step, column step.
inline constexpr uint32_t kAdam7StartRow[7] = {0, 0, 4, 0, 2, 0, 1};
inline constexpr uint32_t kAdam7StartCol[7] = {0, 4, 0, 2, 0, 1, 0};
inline constexpr uint32_t kAdam7RowStep[7] = {8, 8, 8, 4, 4, 2, 2};
inline constexpr uint32_t kAdam7ColStep[7] = {8, 8, 4, 4, 2, 2, 1};

inline int Channels(uint8_t colorType) {
  switch (colorType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
  }
}

}  // namespace mosaik::imaging::png_internal
