// The PNG writer: chunk layout, CRCs, filters, every colour type and depth,
// IDAT splitting, chunk-list rules and the exception texts. Files are read
// back with an independent decoder and checked with pngcheck.
#include <gtest/gtest.h>

#include <array>
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

// Saves into the folder, checks the file with pngcheck and decodes it.
pngtest::Decoded SaveCheckDecode(TPngGraphic& png, const mosaik::test::TempOrdner& dir, const std::string& name) {
  const std::string file = dir.pfad() + name;
  EXPECT_TRUE(png.SaveToFile(file));
  if (pngtest::HavePngcheck()) {
    std::string out;
    EXPECT_EQ(pngtest::Pngcheck(file, &out), 0) << name << "\n" << out;
  }
  auto d = pngtest::Decode(pngtest::ReadFile(file));
  EXPECT_EQ(d.error, "") << name;
  for (const auto& c : d.chunks) EXPECT_TRUE(c.crcOk) << name << " " << c.type;
  return d;
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

TEST(PngWriter, EveryColourTypeAndDepthRoundTrips) {
  mosaik::test::TempOrdner dir;
  struct Case {
    uint8_t type, depth;
  };
  const Case cases[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                        {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
  for (const Case& c : cases) {
    for (uint8_t interlace : {0, 1}) {
      SCOPED_TRACE("type " + std::to_string(c.type) + " depth " + std::to_string(c.depth) +
                   " interlace " + std::to_string(interlace));
      const uint32_t w = 13, h = 11;
      TPngGraphic png;
      png.CreateBlank(c.type, c.depth, w, h);
      png.InterlaceMethod = interlace;
      png.Filters = pfNone | pfSub | pfUp | pfAverage | pfPaeth;
      TChunkIHDR& hd = png.GetHeaderChunk();
      // Held bits: 1, 4 (for 2 and 4), 8 (for 8 and 16) or 24.
      const int held = c.type == 2 || c.type == 6 ? 24 : c.depth == 1 ? 1 : c.depth <= 4 ? 4 : 8;
      EXPECT_EQ(hd.BitsPerPixel, held);
      auto value = [](uint32_t x, uint32_t y, int k) { return (x * 37 + y * 91 + static_cast<uint32_t>(k) * 53) & 0xFF; };
      for (uint32_t y = 0; y < h; ++y) {
        uint8_t* row = hd.ScanLine(y);
        for (uint32_t x = 0; x < w; ++x) {
          if (held == 24) {
            for (int k = 0; k < 3; ++k) row[3 * x + static_cast<uint32_t>(k)] = static_cast<uint8_t>(value(x, y, k));
          } else {
            const unsigned v = value(x, y, 0) & ((1u << held) - 1);
            if (held == 8) row[x] = static_cast<uint8_t>(v);
            if (held == 4) row[x / 2] = static_cast<uint8_t>(row[x / 2] | (v << (x % 2 ? 0 : 4)));
            if (held == 1) row[x / 8] = static_cast<uint8_t>(row[x / 8] | (v << (7 - x % 8)));
          }
        }
        if (uint8_t* a = png.GetAlphaRow(y))
          for (uint32_t x = 0; x < w; ++x) a[x] = static_cast<uint8_t>(value(x, y, 7));
      }
      const std::string name = "t" + std::to_string(c.type) + "d" + std::to_string(c.depth) + "i" +
                               std::to_string(interlace) + ".png";
      const auto d = SaveCheckDecode(png, dir, name);
      ASSERT_EQ(d.error, "");
      EXPECT_EQ(d.width, w);
      EXPECT_EQ(d.height, h);
      EXPECT_EQ(d.colorType, c.type);
      EXPECT_EQ(d.depth, c.depth == 2 ? 4 : c.depth);  // depth 2 is written as 4
      EXPECT_EQ(d.interlace, interlace);
      EXPECT_EQ(d.Find("PLTE") != nullptr, c.type == 3);
      if (c.type == 3) {
        EXPECT_EQ(d.Find("PLTE")->data.size(), 3u << c.depth);
      }
      const unsigned scale = c.depth == 16 ? 256 : 1;
      for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
          std::vector<unsigned> want;
          if (held == 24) {
            want = {value(x, y, 2) * scale, value(x, y, 1) * scale, value(x, y, 0) * scale};
          } else {
            want = {(value(x, y, 0) & ((1u << held) - 1)) * scale};
          }
          if (c.type == 4 || c.type == 6) want.push_back(value(x, y, 7) * scale);
          ASSERT_EQ(d.At(x, y), want) << x << "," << y;
        }
    }
  }
}

TEST(PngWriter, FilterChoiceScoresRepeats) {
  // Grey rows of six bytes; the filter types are worked out by hand.
  TPngGraphic png;
  png.CreateBlank(0, 8, 6, 5);
  const uint8_t rows[5][6] = {{5, 5, 5, 5, 5, 5},        // ties: None first
                              {0, 1, 2, 3, 4, 5},        // Sub 4 = Paeth 4: Sub
                              {0, 10, 2, 20, 4, 30},     // Up 2, others 0
                              {10, 20, 12, 30, 14, 40},  // Up 4, Paeth 2
                              {1, 2, 4, 8, 16, 32}};     // nothing repeats: None
  for (uint32_t y = 0; y < 5; ++y) std::memcpy(png.GetHeaderChunk().ScanLine(y), rows[y], 6);

  png.Filters = pfNone | pfSub | pfUp | pfAverage | pfPaeth;
  auto d = pngtest::Decode(Save(png));
  ASSERT_EQ(d.error, "");
  EXPECT_EQ(d.filterTypes, (std::vector<int>{0, 1, 2, 2, 0}));

  // Without None among the filters, a row where nothing scores is still
  // written unfiltered with type 0.
  png.Filters = pfSub | pfUp;
  d = pngtest::Decode(Save(png));
  EXPECT_EQ(d.filterTypes, (std::vector<int>{1, 1, 2, 2, 0}));
  EXPECT_EQ(std::vector<uint8_t>(d.inflated.end() - 7, d.inflated.end()),
            (std::vector<uint8_t>{0, 1, 2, 4, 8, 16, 32}));

  // A single filter is taken for every row; an empty set means None.
  for (TFilters f : {TFilters{pfNone}, TFilters{pfSub}, TFilters{pfUp}, TFilters{pfAverage}, TFilters{pfPaeth}, TFilters{0}}) {
    png.Filters = f;
    d = pngtest::Decode(Save(png));
    ASSERT_EQ(d.error, "");
    int type = 0;
    while (f > 1 && !(f & (1 << type))) ++type;
    EXPECT_EQ(d.filterTypes, std::vector<int>(5, type)) << int(f);
    for (uint32_t y = 0; y < 5; ++y)
      for (uint32_t x = 0; x < 6; ++x) EXPECT_EQ(d.At(x, y)[0], rows[y][x]);
  }

  // Paeth's tie between "up" and "upper left" goes to "up": at (1, 1) left
  // is 12, up 6, upper left 10, so the prediction is 6 and 7 is stored as 1.
  TPngGraphic tie;
  tie.CreateBlank(0, 8, 2, 2);
  tie.Filters = pfPaeth;
  const uint8_t tieRows[2][2] = {{10, 6}, {12, 7}};
  for (uint32_t y = 0; y < 2; ++y) std::memcpy(tie.GetHeaderChunk().ScanLine(y), tieRows[y], 2);
  d = pngtest::Decode(Save(tie));
  EXPECT_EQ(d.inflated, (std::vector<uint8_t>{4, 10, 252, 4, 2, 1}));
}

TEST(PngWriter, PaletteBitmapsAndTransparentColour) {
  mosaik::test::TempOrdner dir;
  // 4 bits, 3 palette entries used: the palette is written with 16 entries.
  Bitmap b4(5, 2, PixelFormat::Bit4);
  b4.palette = {0xFF0000, 0x00FF00, 0x0000FF};
  b4.row(0)[0] = 0x01;  // pixels 0, 1
  b4.row(0)[1] = 0x20;  // pixels 2, 0
  b4.row(0)[2] = 0x10;  // pixel 1
  b4.row(1)[0] = 0x22;
  TPngGraphic png;
  png.AssignBitmapHandle(b4, true, 0x00FF00);
  EXPECT_EQ(png.GetPixel(2, 0), 0x0000FFu);
  EXPECT_EQ(png.GetPixel(1, 1), 0x0000FFu);
  EXPECT_EQ(png.GetPixel(5, 0), 0u);  // X = Width
  EXPECT_EQ(png.GetPixel(0, -1), 0u);
  auto d = SaveCheckDecode(png, dir, "p4.png");
  EXPECT_EQ(d.Types(), (std::vector<std::string>{"IHDR", "PLTE", "tRNS", "IDAT", "IEND"}));
  EXPECT_EQ(d.colorType, 3);
  EXPECT_EQ(d.depth, 4);
  std::vector<uint8_t> plte = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF};
  plte.resize(48, 0);
  EXPECT_EQ(d.Find("PLTE")->data, plte);
  EXPECT_EQ(d.Find("tRNS")->data, (std::vector<uint8_t>{255, 0}));  // entry 1 transparent
  for (auto [x, y, index] : {std::array<unsigned, 3>{0, 0, 0}, {1, 0, 1}, {2, 0, 2}, {4, 0, 1}, {4, 1, 0}})
    EXPECT_EQ(d.At(x, y), std::vector<unsigned>{index}) << x << "," << y;

  // A transparent colour that is not in the palette makes nothing
  // transparent: no tRNS chunk at all.
  png.AssignBitmapHandle(b4, true, 0x000000);
  d = SaveCheckDecode(png, dir, "p4none.png");
  EXPECT_EQ(d.Types(), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));

  // AddAlphaChannel on a palette image: tRNS after PLTE, 2^depth values 255.
  png.AssignBitmapHandle(b4, false, 0);
  png.AddAlphaChannel();
  d = SaveCheckDecode(png, dir, "p4alpha.png");
  EXPECT_EQ(d.Types(), (std::vector<std::string>{"IHDR", "PLTE", "tRNS", "IDAT", "IEND"}));
  EXPECT_EQ(d.Find("tRNS")->data, std::vector<uint8_t>(16, 255));

  // 1 and 8 bits.
  Bitmap b1(10, 1, PixelFormat::Bit1);
  b1.palette = {0x000000, 0xFFFFFF};
  b1.row(0)[0] = 0xA5;
  b1.row(0)[1] = 0x40;
  png.Assign(b1);
  d = SaveCheckDecode(png, dir, "p1.png");
  EXPECT_EQ(d.depth, 1);
  const unsigned bits1[10] = {1, 0, 1, 0, 0, 1, 0, 1, 0, 1};
  for (uint32_t x = 0; x < 10; ++x) EXPECT_EQ(d.At(x, 0)[0], bits1[x]);
  EXPECT_EQ(png.GetPixel(0, 0), 0xFFFFFFu);

  Bitmap b8(3, 1, PixelFormat::Bit8);
  b8.palette.assign(256, 0);
  b8.palette[200] = 0x123456;
  b8.row(0)[1] = 200;
  png.AssignBitmapHandle(b8, true, 0x123456);
  d = SaveCheckDecode(png, dir, "p8.png");
  EXPECT_EQ(d.Find("PLTE")->data.size(), 768u);
  std::vector<uint8_t> trns(201, 255);
  trns[200] = 0;
  EXPECT_EQ(d.Find("tRNS")->data, trns);
  EXPECT_EQ(d.At(1, 0), std::vector<unsigned>{200});
  EXPECT_EQ(png.GetPixel(1, 0), 0x123456u);
}

TEST(PngWriter, TruecolourTransparencyAndAlphaChannel) {
  mosaik::test::TempOrdner dir;
  Bitmap b(2, 2, PixelFormat::Bit32);
  const uint8_t px[16] = {1, 2, 3, 99, 4, 5, 6, 99, 7, 8, 9, 99, 10, 11, 12, 99};
  std::memcpy(b.pixels.data(), px, 16);
  TPngGraphic png;
  png.AssignBitmapHandle(b, true, 0x0A0B0C);
  auto d = SaveCheckDecode(png, dir, "rgbt.png");
  EXPECT_EQ(d.Types(), (std::vector<std::string>{"IHDR", "tRNS", "IDAT", "IEND"}));
  EXPECT_EQ(d.Find("tRNS")->data, (std::vector<uint8_t>{0, 0x0A, 0, 0x0B, 0, 0x0C}));
  EXPECT_EQ(d.At(0, 0), (std::vector<unsigned>{3, 2, 1}));  // the unused fourth byte is dropped
  EXPECT_EQ(d.At(1, 1), (std::vector<unsigned>{12, 11, 10}));
  EXPECT_EQ(png.GetPixel(1, 0), 0x060504u);

  // Turning it into RGBA drops the tRNS chunk, which RGBA may not carry.
  png.AddAlphaChannel();
  EXPECT_EQ(png.GetHeaderChunk().ColorType, 6);
  EXPECT_EQ(png.GetAlphaRow(1)[1], 255);
  EXPECT_EQ(png.GetAlphaRow(2), nullptr);
  d = SaveCheckDecode(png, dir, "rgba.png");
  EXPECT_EQ(d.Types(), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  EXPECT_EQ(d.At(1, 1), (std::vector<unsigned>{12, 11, 10, 255}));

  // On RGBA it changes nothing.
  const std::string before = Save(png);
  png.AddAlphaChannel();
  EXPECT_EQ(Save(png), before);

  // SetPixel writes the colour, outside the image nothing.
  png.SetPixel(0, 1, 0xA1B2C3);
  png.SetPixel(2, 0, 0xFFFFFF);
  EXPECT_EQ(png.GetPixel(0, 1), 0xA1B2C3u);

  // Grey below 8 bits becomes 8-bit grey with alpha, same grey levels.
  TPngGraphic grey;
  grey.CreateBlank(0, 2, 3, 1);
  grey.GetHeaderChunk().ScanLine(0)[0] = 0x0F;  // held 4-bit: 0, 15
  grey.GetHeaderChunk().ScanLine(0)[1] = 0x50;  // 5
  EXPECT_EQ(grey.GetPixel(1, 0), 0xFFFFFFu);
  EXPECT_EQ(grey.GetPixel(2, 0), 0x555555u);
  EXPECT_EQ(grey.GetAlphaRow(0), nullptr);
  grey.AddAlphaChannel();
  d = SaveCheckDecode(grey, dir, "ga.png");
  EXPECT_EQ(d.colorType, 4);
  EXPECT_EQ(d.depth, 8);
  for (unsigned x = 0; x < 3; ++x) EXPECT_EQ(d.At(x, 0), (std::vector<unsigned>{x == 0 ? 0u : x == 1 ? 255u : 85u, 255}));
}

TEST(PngWriter, IdatChunksSplitAtMaxSize) {
  TPngGraphic png;
  png.SetMaxIdatSize(1000);
  EXPECT_EQ(png.GetMaxIdatSize(), 65535u);
  png.SetCompressionLevel(12);
  EXPECT_EQ(png.GetCompressionLevel(), 9);
  png.SetCompressionLevel(0);

  // Stored data of a one-row grey image grows with its width: look for the
  // width whose deflate stream is exactly 65535 bytes.
  bool found = false;
  for (uint32_t w = 65400; w <= 65535 && !found; ++w) {
    png.CreateBlank(0, 8, w, 1);
    png.Filters = pfNone;
    const auto d = pngtest::Decode(Save(png));
    ASSERT_EQ(d.error, "");
    size_t total = 0, count = 0;
    for (const auto& c : d.chunks)
      if (c.type == "IDAT") total += c.data.size(), ++count;
    if (total == 65535) {
      found = true;
      EXPECT_EQ(count, 1u) << "width " << w;
    }
    if (total > 65535) {
      EXPECT_EQ(count, 2u);
      EXPECT_EQ(d.chunks[1].data.size(), 65535u);
    }
  }
  EXPECT_TRUE(found);

  // A large image: full chunks of 65535 bytes, then the rest.
  png.CreateBlank(2, 8, 300, 300);
  for (uint32_t y = 0; y < 300; ++y)
    for (uint32_t x = 0; x < 900; ++x) png.GetHeaderChunk().ScanLine(y)[x] = static_cast<uint8_t>(x * y + x / 7);
  const auto d = pngtest::Decode(Save(png));
  ASSERT_EQ(d.error, "");
  std::vector<size_t> sizes;
  for (const auto& c : d.chunks)
    if (c.type == "IDAT") sizes.push_back(c.data.size());
  ASSERT_GE(sizes.size(), 5u);
  for (size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], 65535u);
  EXPECT_GT(sizes.back(), 0u);
  EXPECT_EQ(d.At(299, 299), (std::vector<unsigned>{(899u * 299 + 128) & 0xFF, (898u * 299 + 128) & 0xFF, (897u * 299 + 128) & 0xFF}));
}

TEST(PngWriter, ChunkListRules) {
  TPngGraphic png;
  EXPECT_TRUE(png.GetEmpty());
  EXPECT_EQ(png.GetWidth(), 0u);
  EXPECT_THROW(png.GetHeaderChunk(), EPNGHeaderNotPresent);
  EXPECT_THROW(png.AddAlphaChannel(), EPNGHeaderNotPresent);
  try {
    png.Chunks.Add<TChunktEXt>();
    ADD_FAILURE();
  } catch (const EPngError& e) {
    EXPECT_EQ(e.TextNumber(), 65236);
  }

  png.Assign(Solid24(3, 2, 0x010203));
  for (const char* critical : {"IHDR", "IDAT", "PLTE", "IEND"}) {
    try {
      png.Chunks.Add(critical);
      ADD_FAILURE() << critical;
    } catch (const EPngError& e) {
      EXPECT_EQ(e.TextNumber(), 65235) << critical;
    }
  }
  auto& text = png.Chunks.Add<TChunktEXt>();
  text.SetText("Title", "Pfeil");
  auto& trns = png.Chunks.Add<TChunktRNS>();  // no PLTE: before the first IDAT
  trns.Data.assign(6, 0);
  auto& gama = png.Chunks.Add<TChunkgAMA>();  // right after IHDR
  EXPECT_EQ(gama.GetValue(), 1u);
  gama.SetValue(45455);
  auto& time = png.Chunks.Add<TChunktIME>();
  time.SetTime({2024, 2, 29, 23, 59, 58});
  auto& ztxt = png.Chunks.Add<TChunkzTXt>();
  ztxt.SetText("Comment", std::string(300, 'x'));
  EXPECT_EQ(ztxt.GetText(), std::string(300, 'x'));
  EXPECT_EQ(ztxt.GetKeyword(), "Comment");
  EXPECT_THROW(png.Chunks.Add<TChunkgAMA>(), EPngError);
  EXPECT_THROW(png.Chunks.Add<TChunktRNS>(), EPngError);
  auto& priv = png.Chunks.Add("prVt");
  priv.Data = {1, 2, 3};

  mosaik::test::TempOrdner dir;
  const auto d = SaveCheckDecode(png, dir, "chunks.png");
  EXPECT_EQ(d.Types(), (std::vector<std::string>{"IHDR", "gAMA", "tRNS", "IDAT", "tEXt", "tIME", "zTXt",
                                                 "prVt", "IEND"}));
  EXPECT_EQ(d.Find("gAMA")->data, (std::vector<uint8_t>{0, 0, 0xB1, 0x8F}));
  EXPECT_EQ(d.Find("tIME")->data, (std::vector<uint8_t>{0x07, 0xE8, 2, 29, 23, 59, 58}));
  EXPECT_EQ(d.Find("tEXt")->data, (std::vector<uint8_t>{'T', 'i', 't', 'l', 'e', 0, 'P', 'f', 'e', 'i', 'l'}));
  EXPECT_EQ(d.Find("prVt")->data, (std::vector<uint8_t>{1, 2, 3}));

  // The list's own operations.
  EXPECT_EQ(png.Chunks.IndexOf(&priv), 7);
  EXPECT_EQ(png.Chunks.Item(99), nullptr);
  png.Chunks.Insert(std::make_unique<TChunk>(&png, "abCd"), 99);  // ignored
  EXPECT_EQ(png.Chunks.Count(), 9u);
  png.Chunks.RemoveChunk(&priv);
  EXPECT_EQ(png.Chunks.IndexOf(&priv), -1);
  EXPECT_EQ(png.Chunks.ItemFromClass<TChunktEXt>(), &text);  // not the zTXt, which derives from it

  // A copy through Assign writes the same bytes.
  TPngGraphic copy;
  copy.Assign(png);
  EXPECT_EQ(Save(copy), Save(png));

  // Assigning chunks of another class to IHDR, PLTE or gAMA.
  try {
    png.GetHeaderChunk().Assign(text);
    ADD_FAILURE();
  } catch (const EPngError& e) {
    EXPECT_EQ(e.TextNumber(), 65263);
    EXPECT_STREQ(e.what(), "The chunks must be compatible to be assigned.");
  }
  EXPECT_THROW(gama.Assign(text), EPngError);
  TChunkPLTE plte(&png);
  EXPECT_THROW(plte.Assign(gama), EPngError);
}

TEST(PngWriter, ExceptionTexts) {
  TPngGraphic png;
  png.Assign(Solid24(2, 2, 0));
  try {
    png.SetWidth(5);
  } catch (const EPngError& e) {
    EXPECT_EQ(e.TextNumber(), 65234);
    EXPECT_STREQ(e.what(),
                 "The \"Portable Network Graphics\" image can not be resize by changing width and height "
                 "properties. Try assigning the image from a bitmap.");
  }
  EXPECT_THROW(png.SetHeight(5), EPngError);
  EXPECT_EQ(PngText(65235),
            "The program tried to add a existent critical chunk to the current image which is not allowed.");
  EXPECT_EQ(PngText(65236), "It's not allowed to add a new chunk because the current image is invalid.");
  EXPECT_EQ(EPNGOutMemory().what(),
            std::string("Some operation could not be performed because the system is out of resources. Close "
                        "some windows and try again."));
  EXPECT_EQ(EPNGHeaderNotPresent().what(),
            std::string("This operation is not valid because the current image contains no valid header."));
  EXPECT_EQ(PngText(1), "");

  // Sizes no PNG of ours can have; the image stays as it was.
  EXPECT_THROW(png.Assign(Bitmap(0, 5, PixelFormat::Bit24)), EPNGNoImageData);
  EXPECT_THROW(png.CreateBlank(2, 8, 70000, 1), EPNGSizeExceeds);
  EXPECT_THROW(png.CreateBlank(3, 16, 1, 1), EPngInvalidIHDR);
  EXPECT_THROW(png.CreateBlank(6, 4, 1, 1), EPngInvalidIHDR);
  EXPECT_EQ(png.GetWidth(), 2u);
  EXPECT_EQ(png.GetHeight(), 2u);
}

TEST(PngWriter, SaveToFileReplacesOnlyWithACompleteFile) {
  mosaik::test::TempOrdner dir;
  TPngGraphic png;
  png.Assign(Solid24(4, 4, 0x808080));
  const std::string file = dir.pfad() + "bild.png";
  pngtest::WriteFile(file, "alt");
  EXPECT_TRUE(png.SaveToFile(file));
  EXPECT_EQ(pngtest::ReadFile(file), Save(png));
  EXPECT_FALSE(png.SaveToFile(dir.pfad() + "fehlt/bild.png"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.pfad()), {}), 1);
}
