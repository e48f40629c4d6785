#pragma once
// Decoding a JPEG stream row by row straight into 32-bit pixels (blue,
// green, red, unused), the layout the resampler works in. A reduction then
// never holds the decoded original as a whole: each row is consumed as it
// comes. The pixels equal those of DecodeJpeg: grayscale pictures become
// grey RGB, CMYK and YCCK ones are converted (Adobe's inverted inks read as
// such).
#include <cstdint>
#include <string_view>

#include "imaging/JpegCodec.h"

namespace mosaik::imaging {

class JpegRowSink {
 public:
  virtual ~JpegRowSink() = default;
  // Once, before the first row.
  virtual void Start(int width, int height) = 0;
  // Rows 0 to height - 1 in order; width pixels of 4 bytes.
  virtual void Row(const uint8_t* bgrx) = 0;
};

// The memory libjpeg may keep for a picture stored in several scans
// (progressive), which it holds whole; pictures in one scan need only a few
// rows, whatever their size.
inline constexpr uint64_t kMaxCoefficientBytes = uint64_t{2} << 30;

// Throws JpegError (German text) for data that are no JPEG, damaged or
// truncated, for pictures above maxPixels and for those in several scans
// beyond kMaxCoefficientBytes (both refused before decoding). Exceptions
// thrown by the sink pass through unchanged.
void DecodeJpegRows(std::string_view data, JpegRowSink& sink, uint64_t maxPixels = UINT64_MAX);

}  // namespace mosaik::imaging
