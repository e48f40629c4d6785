// Row-by-row decoding into the resampler on arbitrary bytes: it fails
// exactly where the whole decoder fails, with a JpegError; its rows and the
// picture reduced from them equal the whole decoder's. The Orientation
// rewrite on the same bytes, taken as a stored EXIF section, stays inside
// them.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/ExifOrientation.h"
#include "imaging/JpegCodec.h"
#include "imaging/JpegRowDecoder.h"
#include "imaging/Resampler.h"

using namespace mosaik::imaging;

namespace {

struct Zeilen : JpegRowSink {
  int w = 0, h = 0, dw = 1, dh = 1;
  std::vector<uint8_t> rgb;
  std::unique_ptr<RowStretcher> st;
  void Start(int width, int height) override {
    w = width, h = height;
    st = std::make_unique<RowStretcher>(w, h, dw, dh, TResamplingFilter::Lanczos3, 0.0f);
  }
  void Row(const uint8_t* p) override {
    for (int x = 0; x < w; ++x) rgb.insert(rgb.end(), {p[x * 4 + 2], p[x * 4 + 1], p[x * 4]});
    st->PushRow(p);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  std::string section(bytes);
  if (SetExifOrientationTopLeft(section) && ExifOrientation(section) != 1) __builtin_trap();
  if (section.size() != size) __builtin_trap();

  RgbBitmap whole;
  bool ganzGut = true;
  try {
    whole = DecodeJpeg(bytes, 1u << 20);
  } catch (const JpegError&) {
    ganzGut = false;
  }
  Zeilen z;
  z.dw = 1 + static_cast<int>(size % 7);
  z.dh = 1 + static_cast<int>(size / 7 % 5);
  try {
    DecodeJpegRows(bytes, z, 1u << 20);
  } catch (const JpegError&) {
    if (ganzGut) __builtin_trap();
    return 0;
  }
  if (!ganzGut || z.rgb != whole.Pixels) __builtin_trap();
  Bitmap a = z.st->Finish(), b;
  Stretch(static_cast<uint32_t>(z.dw), static_cast<uint32_t>(z.dh), TResamplingFilter::Lanczos3, 0, whole, b);
  if (a.pixels != b.pixels) __builtin_trap();
  return 0;
}
