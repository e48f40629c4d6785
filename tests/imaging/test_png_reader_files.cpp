// The PNG reader on files made by netpbm's pnmtopng (tests/data/png, see
// make-inputs.sh): every colour type and depth, Adam7, transparency, gamma,
// text chunks and split image data. Expected pixels come from the formulas
// the files were made with, restated here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

#include "imaging/PngGraphic.h"
#include "imaging/test_png_reader.h"

using namespace mosaik::imaging;

namespace {

constexpr int W = 13, H = 9;

std::string DataPath(const std::string& name) { return std::string(MOSAIK_TEST_DATA) + "/png/" + name; }

void Load(TPngGraphic& png, const std::string& name) {
  ASSERT_NO_THROW(png.LoadFromFile(DataPath(name))) << name;
  ASSERT_EQ(png.GetWidth(), uint32_t{W}) << name;
  ASSERT_EQ(png.GetHeight(), uint32_t{H}) << name;
}

uint32_t Rgb(unsigned r, unsigned g, unsigned b) { return (r << 16) | (g << 8) | b; }
unsigned Red(int x) { return 19u * static_cast<unsigned>(x); }
unsigned Green(int y) { return 28u * static_cast<unsigned>(y); }
unsigned Blue(int x, int y) { return (7u * static_cast<unsigned>(x * y)) % 256; }
unsigned Grey(int x, int y) { return (19u * static_cast<unsigned>(x) + 7u * static_cast<unsigned>(y)) % 256; }
unsigned Alpha(int x, int y) { return 12u * static_cast<unsigned>(x + y); }
uint32_t Colour(int x, int y) { return Rgb(Red(x), Green(y), Blue(x, y)); }
uint32_t GreyRgb(unsigned v) { return Rgb(v, v, v); }

uint32_t PaletteColour(int n, int x, int y) {
  const unsigned i = static_cast<unsigned>((x + 3 * y) % n);
  return Rgb(i * 37 % 256, i * 91 % 256, 255 - i * 5);
}

// Compares every pixel's colour (alpha = false) or alpha; reports the first three misses.
template <class F>
void ExpectEach(const TPngGraphic& png, const std::string& what, bool alpha, F expected) {
  int wrong = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const uint32_t got = alpha ? png.GetAlpha(x, y) : png.GetPixel(x, y);
      if (got != expected(x, y) && ++wrong <= 3)
        ADD_FAILURE() << what << (alpha ? " alpha " : " pixel ") << x << "," << y << ": " << std::hex << got
                      << " expected " << expected(x, y);
    }
}
template <class F>
void ExpectPixels(const TPngGraphic& png, const std::string& what, F expected) { ExpectEach(png, what, false, expected); }
template <class F>
void ExpectAlpha(const TPngGraphic& png, const std::string& what, F expected) { ExpectEach(png, what, true, expected); }

}  // namespace

TEST(PngReaderFiles, TruecolourAtBothDepthsWithAndWithoutAlpha) {
  // 16-bit samples are held by their high byte; the file's samples are
  // value × 257 + x, so the low byte differs from the high one.
  auto high = [](unsigned c, int x) { return (c * 257 + static_cast<unsigned>(x)) >> 8; };
  auto wide = [&](int x, int y) { return Rgb(high(Red(x), x), high(Green(y), x), high(Blue(x, y), x)); };
  struct Case {
    const char* name;
    int colorType, depth, interlace;
  };
  for (const Case c : {Case{"rgb8.png", 2, 8, 0}, Case{"rgb8-idats.png", 2, 8, 0}, Case{"rgb16.png", 2, 16, 0},
                       Case{"rgba8.png", 6, 8, 0}, Case{"rgba8-adam7.png", 6, 8, 1}, Case{"rgba16.png", 6, 16, 0}}) {
    TPngGraphic png;
    Load(png, c.name);
    const bool alpha = c.colorType == 6;
    EXPECT_EQ(png.GetHeaderChunk().ColorType, c.colorType) << c.name;
    EXPECT_EQ(png.GetHeaderChunk().BitDepth, c.depth) << c.name;
    EXPECT_EQ(png.GetHeaderChunk().BitsPerPixel, 24) << c.name;
    EXPECT_EQ(png.InterlaceMethod, c.interlace) << c.name;
    EXPECT_EQ(png.TransparencyMode(), alpha ? TPNGTransparencyMode::ptmPartial : TPNGTransparencyMode::ptmNone);
    EXPECT_EQ(png.GetTransparent(), alpha) << c.name;
    if (c.depth == 16)
      ExpectPixels(png, c.name, wide);
    else
      ExpectPixels(png, c.name, Colour);
    ExpectAlpha(png, c.name, [&](int x, int y) { return alpha ? Alpha(x, y) : 255u; });
    if (alpha) {
      EXPECT_EQ(png.GetAlphaRow(3)[5], 12 * 8) << c.name;
    }
  }
}

TEST(PngReaderFiles, GreyAtEveryDepthThroughTheRamp) {
  // Samples are the top bits of the grey formula; the ramp spreads them
  // over 0..255: 1 bit × 255, 2 bits × 85, 4 bits × 17.
  struct Case {
    const char* name;
    int bitsHeld;
    unsigned (*shown)(unsigned grey);
  };
  const Case cases[] = {
      {"grey1.png", 1, [](unsigned g) { return (g >> 7) * 255; }},
      {"grey2.png", 4, [](unsigned g) { return (g >> 6) * 85; }},
      {"grey2-adam7.png", 4, [](unsigned g) { return (g >> 6) * 85; }},
      {"grey4.png", 4, [](unsigned g) { return (g >> 4) * 17; }},
      {"grey8.png", 8, [](unsigned g) { return g; }},
      {"grey16.png", 8, [](unsigned g) { return g; }},
  };
  for (const Case& c : cases) {
    TPngGraphic png;
    Load(png, c.name);
    EXPECT_EQ(png.GetHeaderChunk().BitsPerPixel, c.bitsHeld) << c.name;
    ExpectPixels(png, c.name, [&](int x, int y) { return GreyRgb(c.shown(Grey(x, y))); });
    EXPECT_EQ(png.GetPalette().size(), 256u);
  }
  for (const char* name : {"greya8.png", "greya16.png"}) {
    TPngGraphic png;
    Load(png, name);
    EXPECT_EQ(png.GetHeaderChunk().ColorType, 4);
    ExpectPixels(png, name, [](int x, int y) { return GreyRgb(Grey(x, y)); });
    ExpectAlpha(png, name, Alpha);
  }
}

TEST(PngReaderFiles, PalettesOfEveryDepth) {
  struct Case {
    const char* name;
    int colours, bitsHeld;
  };
  for (const Case c : {Case{"pal2.png", 2, 1}, Case{"pal4.png", 4, 4}, Case{"pal16.png", 16, 4},
                       Case{"pal16-adam7.png", 16, 4}, Case{"pal40.png", 40, 8}}) {
    // pal40 uses only the 37 colours that 13 × 9 pixels reach.
    TPngGraphic png;
    Load(png, c.name);
    const TChunkIHDR& h = png.GetHeaderChunk();
    EXPECT_EQ(h.ColorType, 3) << c.name;
    EXPECT_EQ(h.BitsPerPixel, c.bitsHeld) << c.name;
    const auto* plte = png.Chunks.ItemFromClass<TChunkPLTE>();
    ASSERT_NE(plte, nullptr);
    EXPECT_EQ(plte->Count, std::min(c.colours, 37)) << c.name;
    EXPECT_THROW(plte->GetItem(c.colours), EPngError);
    ExpectPixels(png, c.name, [&](int x, int y) { return PaletteColour(c.colours, x, y); });
    EXPECT_EQ(png.TransparencyMode(), TPNGTransparencyMode::ptmNone);
  }
}

TEST(PngReaderFiles, TransparentColourAndPaletteEntry) {
  TPngGraphic pal;
  Load(pal, "pal4-trns.png");
  EXPECT_EQ(pal.TransparencyMode(), TPNGTransparencyMode::ptmBit);
  EXPECT_EQ(pal.GetTransparentColor(), Rgb(37, 91, 250));
  ExpectAlpha(pal, "pal4-trns", [](int x, int y) { return (x + 3 * y) % 4 == 1 ? 0u : 255u; });
  ExpectPixels(pal, "pal4-trns", [](int x, int y) { return PaletteColour(4, x, y); });

  TPngGraphic rgb;
  Load(rgb, "rgb8-trns.png");
  EXPECT_EQ(rgb.TransparencyMode(), TPNGTransparencyMode::ptmBit);
  EXPECT_EQ(rgb.GetTransparentColor(), Rgb(0x26, 0x38, 0x1c));
  ExpectAlpha(rgb, "rgb8-trns", [](int x, int y) { return x == 2 && y == 2 ? 0u : 255u; });

  TPngGraphic grey;
  Load(grey, "grey8-trns.png");
  EXPECT_EQ(grey.TransparencyMode(), TPNGTransparencyMode::ptmBit);
  EXPECT_EQ(grey.GetTransparentColor(), GreyRgb(130));
  ExpectAlpha(grey, "grey8-trns", [](int x, int y) { return Grey(x, y) == 130 ? 0u : 255u; });
}

TEST(PngReaderFiles, GammaTableAppliedToColourSamples) {
  TPngGraphic png;
  Load(png, "rgb8-gamma.png");
  const auto* gama = png.Chunks.ItemFromClass<TChunkgAMA>();
  ASSERT_NE(gama, nullptr);
  EXPECT_EQ(gama->GetValue(), 100000u);
  // Stored gamma 1.0: each sample v shows as 255 × (v / 255)^(1 / 2.2).
  auto g = [](unsigned v) { return static_cast<unsigned>(std::nearbyint(255.0 * std::pow(v / 255.0, 1 / 2.2))); };
  EXPECT_EQ(png.GammaTable[0], 0);
  EXPECT_EQ(png.GammaTable[128], 186);
  EXPECT_EQ(png.GammaTable[255], 255);
  ExpectPixels(png, "gamma", [&](int x, int y) { return Rgb(g(Red(x)), g(Green(y)), g(Blue(x, y))); });
  // Saving undoes the table, so the samples written are those read.
  std::ostringstream out;
  png.SaveToStream(out);
  const auto d = pngtest::Decode(out.str());
  ASSERT_EQ(d.error, "");
  EXPECT_EQ(d.At(12, 8), (std::vector<unsigned>{Red(12), Green(8), Blue(12, 8)}));
  EXPECT_EQ(d.At(5, 3), (std::vector<unsigned>{Red(5), Green(3), Blue(5, 3)}));
}

TEST(PngReaderFiles, TextAndTimeChunksKeptInOrder) {
  TPngGraphic png;
  Load(png, "grey8-text.png");
  std::vector<std::string> names;
  for (size_t i = 0; i < png.Chunks.Count(); ++i) names.push_back(png.Chunks.Item(i)->GetName());
  EXPECT_EQ(names, (std::vector<std::string>{"IHDR", "tIME", "tEXt", "tEXt", "zTXt", "IDAT", "IEND"}));
  auto* time = dynamic_cast<TChunktIME*>(png.Chunks.Item(1));
  ASSERT_NE(time, nullptr);
  const auto t = time->GetTime();
  EXPECT_EQ((std::vector<int>{t.Year, t.Month, t.Day, t.Hour, t.Minute, t.Second}),
            (std::vector<int>{2023, 6, 14, 9, 5, 7}));
  auto* title = dynamic_cast<TChunktEXt*>(png.Chunks.Item(2));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->GetKeyword(), "Title");
  EXPECT_EQ(title->GetText(), "Hafen am Abend");
  auto* comment = dynamic_cast<TChunkzTXt*>(png.Chunks.Item(4));
  ASSERT_NE(comment, nullptr);
  EXPECT_EQ(comment->GetKeyword(), "Comment");
  EXPECT_EQ(comment->GetText(), "Ein komprimierter Text, der sich wiederholt, wiederholt, wiederholt.");
  ExpectPixels(png, "text", [](int x, int y) { return GreyRgb(Grey(x, y)); });
}

TEST(PngReaderFiles, ConversionToBitmapKeepsTheHeldFormat) {
  struct Case {
    const char* name;
    PixelFormat format;
    size_t paletteSize;
  };
  for (const Case c : {Case{"pal2.png", PixelFormat::Bit1, 2}, Case{"pal4.png", PixelFormat::Bit4, 16},
                       Case{"grey16.png", PixelFormat::Bit8, 256}, Case{"rgba8.png", PixelFormat::Bit24, 0}}) {
    TPngGraphic png;
    Load(png, c.name);
    Bitmap b;
    png.AssignTo(b);
    EXPECT_EQ(b.format, c.format) << c.name;
    EXPECT_EQ(b.width, W);
    EXPECT_EQ(b.height, H);
    EXPECT_EQ(b.palette.size(), c.paletteSize) << c.name;
    // Every pixel of the copy shows the image's colour.
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        uint32_t colour;
        const uint8_t* row = b.row(y);
        switch (b.format) {
          case PixelFormat::Bit1: colour = b.palette[(row[x / 8] >> (7 - x % 8)) & 1]; break;
          case PixelFormat::Bit4: colour = b.palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 15]; break;
          case PixelFormat::Bit8: colour = b.palette[row[x]]; break;
          default: colour = Rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]); break;
        }
        ASSERT_EQ(colour, png.GetPixel(x, y)) << c.name << " " << x << "," << y;
      }
  }
}

TEST(PngReaderFiles, ReadImagesSaveAndReadBackUnchanged) {
  mosaik::test::TempOrdner dir;
  for (const char* name : {"rgb16.png", "rgba8-adam7.png", "grey2.png", "grey1.png", "greya16.png", "pal4-trns.png",
                           "pal40.png", "grey8-text.png"}) {
    TPngGraphic png;
    Load(png, name);
    const std::string file = dir.pfad() + name;
    ASSERT_TRUE(png.SaveToFile(file));
    if (pngtest::HavePngcheck()) {
      std::string out;
      EXPECT_EQ(pngtest::Pngcheck(file, &out), 0) << name << "\n" << out;
    }
    TPngGraphic again;
    ASSERT_NO_THROW(again.LoadFromFile(file)) << name;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        ASSERT_EQ(again.GetPixel(x, y), png.GetPixel(x, y)) << name;
        ASSERT_EQ(again.GetAlpha(x, y), png.GetAlpha(x, y)) << name;
      }
  }
}
