// The PNG reader on arbitrary bytes: only the EPngError family may leave it,
// and an image it accepted is drawn, converted, saved and read back with the
// same size and pixels.
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "imaging/PngGraphic.h"

using namespace mosaik::imaging;

namespace {

void Exercise(const TPngGraphic& png) {
  Bitmap b;
  png.AssignTo(b);
  if (b.width > 0 && b.pixels.size() != b.stride() * static_cast<size_t>(b.height)) __builtin_trap();
  Bitmap canvas(7, 5, PixelFormat::Bit32);
  png.Draw(canvas, -2, 1, 6, 9);
  (void)png.GetPalette();
  (void)png.GetTransparentColor();
  const int w = static_cast<int>(png.GetWidth()), h = static_cast<int>(png.GetHeight());
  for (int y : {-1, 0, h / 2, h - 1, h})
    for (int x : {-1, 0, w / 2, w - 1, w}) {
      (void)png.GetPixel(x, y);
      (void)png.GetAlpha(x, y);
    }
  for (size_t i = 0; i < png.Chunks.Count(); ++i)
    if (auto* t = dynamic_cast<const TChunktEXt*>(png.Chunks.Item(i))) {
      try {
        (void)t->GetText();
      } catch (const EPngError&) {
      }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TPngGraphic png;
  png.MaxPixelCount = 1 << 18;
  bool loaded = false;
  try {
    png.LoadFromBytes(bytes);
    loaded = true;
  } catch (const EPngError&) {
  }
  try {
    Exercise(png);
  } catch (const EPngError&) {
  }
  if (!loaded) return 0;

  std::ostringstream out;
  png.SaveToStream(out);
  TPngGraphic again;
  again.MaxPixelCount = png.MaxPixelCount;
  again.LoadFromBytes(out.str());  // anything thrown here is a finding
  if (again.GetWidth() != png.GetWidth() || again.GetHeight() != png.GetHeight()) __builtin_trap();
  // Gamma correction is applied on reading and undone on writing, which
  // need not be exact; without it the pixels come back unchanged.
  if (!png.Chunks.ItemFromClass<TChunkgAMA>()) {
    for (uint32_t y = 0; y < png.GetHeight(); ++y)
      for (uint32_t x = 0; x < png.GetWidth(); ++x) {
        const int xi = static_cast<int>(x), yi = static_cast<int>(y);
        if (again.GetPixel(xi, yi) != png.GetPixel(xi, yi)) __builtin_trap();
        if (again.GetAlpha(xi, yi) != png.GetAlpha(xi, yi)) __builtin_trap();
      }
  }
  return 0;
}
