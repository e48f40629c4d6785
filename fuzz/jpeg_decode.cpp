// The libjpeg wrapper on arbitrary bytes: every failure must come back as a
// JpegError, and a decoded picture must have the size its header declares.
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/JpegCodec.h"

using namespace mosaik::imaging;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const JpegInfo info = ReadJpegInfo(bytes);
    const RgbBitmap b = DecodeJpeg(bytes, 1u << 20);
    if (b.Width != info.Width || b.Height != info.Height ||
        b.Pixels.size() != static_cast<size_t>(b.Width) * static_cast<size_t>(b.Height) * 3)
      __builtin_trap();
    // What was decoded encodes again.
    if (b.Width <= 64 && b.Height <= 64) (void)EncodeJpeg(b, 1 + static_cast<int>(size % 100), size % 2 == 0);
  } catch (const JpegError&) {
  }
  return 0;
}
