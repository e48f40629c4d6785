// The PNG writer as the navigation icons use it: a 24-bit bitmap with an
// alpha channel added, the Sub filter, stored without compression, written
// through a temporary file. Read back with an independent decoder; the icons
// themselves are checked pixel by pixel with the generator's tests.
#include <gtest/gtest.h>

#include <sstream>

#include "imaging/PngGraphic.h"
#include "imaging/test_png_reader.h"

using namespace mosaik::imaging;

namespace {

std::string Save(TPngGraphic& png) {
  std::ostringstream out;
  png.SaveToStream(out);
  return out.str();
}

std::vector<uint8_t> Bytes(const std::string& s, size_t from, size_t n) {
  return std::vector<uint8_t>(s.begin() + static_cast<std::ptrdiff_t>(from),
                              s.begin() + static_cast<std::ptrdiff_t>(from + n));
}

Bitmap Solid24(int w, int h, uint32_t rgb) {
  Bitmap b(w, h, PixelFormat::Bit24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      b.row(y)[3 * x] = static_cast<uint8_t>(rgb);
      b.row(y)[3 * x + 1] = static_cast<uint8_t>(rgb >> 8);
      b.row(y)[3 * x + 2] = static_cast<uint8_t>(rgb >> 16);
    }
  return b;
}

}  // namespace

TEST(PngWriter, IconLayoutBytesAndSubFilter) {
  // A 16 x 16 24-bit picture, alpha added, one pixel made transparent.
  Bitmap bmp = Solid24(16, 16, 0x102030);
  bmp.row(2)[9] = bmp.row(2)[10] = bmp.row(2)[11] = 0xFF;  // pixel (3, 2) white
  TPngGraphic png;
  png.Assign(bmp);
  png.SetCompressionLevel(0);
  EXPECT_EQ(png.GetHeaderChunk().ColorType, 2);
  png.AddAlphaChannel();
  ASSERT_NE(png.GetAlphaRow(7), nullptr);
  png.GetAlphaRow(7)[5] = 0;
  const std::string f = Save(png);

  const std::vector<uint8_t> signature = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
  EXPECT_EQ(Bytes(f, 0, 8), signature);
  const std::vector<uint8_t> ihdr = {0x00, 0x00, 0x00, 0x0D, 'I', 'H', 'D', 'R', 0, 0, 0, 16, 0, 0, 0, 16,
                                     8, 6, 0, 0, 0, 0x1F, 0xF3, 0xFF, 0x61};
  EXPECT_EQ(Bytes(f, 8, 25), ihdr);
  const std::vector<uint8_t> iend = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
  EXPECT_EQ(Bytes(f, f.size() - 12, 12), iend);

  const auto d = pngtest::Decode(f);
  ASSERT_EQ(d.error, "");
  EXPECT_EQ(d.Types(), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));

  // Every row: Sub, the first pixel as it is, then differences to the left.
  std::vector<uint8_t> expected;
  for (int y = 0; y < 16; ++y) {
    std::vector<uint8_t> row = {1, 0x10, 0x20, 0x30, 0xFF};
    for (int x = 1; x < 16; ++x) {
      std::vector<uint8_t> px = {0, 0, 0, 0};
      if (y == 2 && x == 3) px = {0xEF, 0xDF, 0xCF, 0x00};  // white after 10 20 30
      if (y == 2 && x == 4) px = {0x11, 0x21, 0x31, 0x00};  // back from white
      if (y == 7 && x == 5) px = {0x00, 0x00, 0x00, 0x01};  // alpha 255 -> 0
      if (y == 7 && x == 6) px = {0x00, 0x00, 0x00, 0xFF};  // alpha 0 -> 255
      row.insert(row.end(), px.begin(), px.end());
    }
    expected.insert(expected.end(), row.begin(), row.end());
  }
  EXPECT_EQ(d.inflated, expected);
  // The transparent pixel keeps its colour bytes.
  EXPECT_EQ(d.At(5, 7), (std::vector<unsigned>{0x10, 0x20, 0x30, 0}));
  EXPECT_EQ(d.At(3, 2), (std::vector<unsigned>{0xFF, 0xFF, 0xFF, 255}));
}

TEST(PngWriter, SaveToFileReplacesOnlyWithACompleteFile) {
  mosaik::test::TempOrdner dir;
  TPngGraphic png;
  png.Assign(Solid24(4, 4, 0x808080));
  const std::string file = dir.pfad() + "bild.png";
  mosaik::test::dateiAblegen(file, "alt");
  EXPECT_TRUE(png.SaveToFile(file));
  EXPECT_EQ(mosaik::test::dateiInhalt(file), Save(png));
  EXPECT_FALSE(png.SaveToFile(dir.pfad() + "fehlt/bild.png"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.pfad()), {}), 1);
}
