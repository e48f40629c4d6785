#pragma once
// Resampling of a picture to a new width and height with a separable,
// windowed filter: every row is resampled into an intermediate picture of
// the target width, then every column of that into the target. Weights are
// integers in units of 1/256, so the result is the same on every machine.
//
// Two ways in, with identical pixels: Stretch takes a whole bitmap;
// RowStretcher takes the source one row at a time, as a decoder hands the
// rows out, so the source never has to be held in memory as a whole.
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/Bitmap.h"

namespace mosaik::imaging {

struct RgbBitmap;

enum class TResamplingFilter : uint8_t { Box, Triangle, Hermite, Bell, BSpline, Lanczos3, Mitchell };

using TFilterFunction = float (*)(float);

// The filter functions (single precision in and out).
float BoxFilter(float x);
float TriangleFilter(float x);
float HermiteFilter(float x);
float BellFilter(float x);
float SplineFilter(float x);
float Lanczos3Filter(float x);
float MitchellFilter(float x);

TFilterFunction FilterFunctionOf(TResamplingFilter filter);
// The filter's own support, used when a radius of 0 is asked for.
float DefaultRadiusOf(TResamplingFilter filter);

// One source pixel of a target pixel: Weight in units of 1/256, Pixel the
// index in the source line, already brought into the line.
struct TContributor {
  int32_t Weight = 0;
  int32_t Pixel = 0;
};
struct TContributorEntry {
  int32_t N = 0;  // contributors kept (the first N of Contributors)
  std::vector<TContributor> Contributors;
};
using TContributorList = std::vector<TContributorEntry>;

// The scale of one pass from a line of srcLength to dstLength pixels.
float PassScale(int dstLength, int srcLength);
// The contributors of every target pixel of one pass. Weights that round to
// 0 are left out; indices before the line are mirrored at its start, those
// after it at its end, and then clamped into it.
TContributorList BuildContributors(int dstLength, int srcLength, TFilterFunction filter, float radius);

// One target channel value from its weighted sum and the sum of the weights:
// the sum divided by the total (truncated toward zero), or shifted right by
// 8 when the total is 0; clamped to 0..255.
uint8_t WeightedChannel(int32_t sum, int32_t total);

// Resamples source (24 or 32 bits, or a palette format) into target, which
// becomes newWidth x newHeight with 32-bit pixels (the fourth byte 0). An
// empty source leaves target untouched; a width or height of 0 gives an
// empty 32-bit target. Radius 0 means the filter's own support.
void Stretch(uint32_t newWidth, uint32_t newHeight, TResamplingFilter filter, float radius, const Bitmap& source,
             Bitmap& target);
void Stretch(uint32_t newWidth, uint32_t newHeight, TResamplingFilter filter, float radius, const RgbBitmap& source,
             Bitmap& target);

// The same resampling, fed row by row (32-bit pixels, rows 0 to srcHeight-1
// in order). Holds only the intermediate picture (target width x source
// height).
class RowStretcher {
 public:
  // The inner loops: the widest the processor has, or the baseline ones
  // every x86-64 processor has (the same pixels; for tests).
  enum class Kernel { Best, Baseline };
  RowStretcher(int srcWidth, int srcHeight, int dstWidth, int dstHeight, TResamplingFilter filter, float radius,
               Kernel kernel = Kernel::Best);
  ~RowStretcher();
  RowStretcher(const RowStretcher&) = delete;
  RowStretcher& operator=(const RowStretcher&) = delete;

  // Takes the next source row: srcWidth pixels of 4 bytes (blue, green, red,
  // unused).
  void PushRow(const uint8_t* bgrx);
  // The target (32-bit) once every row has been pushed; throws
  // std::logic_error when rows are missing.
  Bitmap Finish();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The plain method: every target pixel takes the source pixel under its
// centre, x = ((2i + 1) * srcWidth) / (2 * dstWidth), likewise for y. Fed
// row by row like RowStretcher.
class RowSampler {
 public:
  RowSampler(int srcWidth, int srcHeight, int dstWidth, int dstHeight);
  void PushRow(const uint8_t* bgrx);
  Bitmap Finish();

 private:
  int srcH_, dstW_, dstH_;
  int nextSrc_ = 0;   // the next source row expected
  int nextDst_ = 0;   // the next target row to fill
  std::vector<int32_t> xs_;
  Bitmap target_;
};

}  // namespace mosaik::imaging
