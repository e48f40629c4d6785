// The PNG reader on streams built here chunk by chunk (CRCs and deflate from
// zlib itself): the chunk walk's rules, every failure with its exception and
// text, the defences against hostile sizes, and drawing.
#include <gtest/gtest.h>
#include <zlib.h>

#include <map>
#include <sstream>
#include <tuple>
#include <string>
#include <vector>

#include "imaging/PngGraphic.h"

using namespace mosaik::imaging;

namespace {

const std::string kSignature("\x89PNG\r\n\x1a\n", 8);

std::string Be32(uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

std::string Chunk(const std::string& type, const std::string& data) {
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type.data()), 4);
  crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
  return Be32(static_cast<uint32_t>(data.size())) + type + data + Be32(static_cast<uint32_t>(crc));
}

std::string Ihdr(uint32_t w, uint32_t h, int depth, int colorType, int compression = 0, int interlace = 0) {
  return Chunk("IHDR", Be32(w) + Be32(h) + std::string{static_cast<char>(depth), static_cast<char>(colorType),
                                                       static_cast<char>(compression), 0,
                                                       static_cast<char>(interlace)});
}

std::string Deflate(const std::string& raw) {
  uLongf n = compressBound(static_cast<uLong>(raw.size()));
  std::string out(n, '\0');
  compress(reinterpret_cast<Bytef*>(out.data()), &n, reinterpret_cast<const Bytef*>(raw.data()),
           static_cast<uLong>(raw.size()));
  out.resize(n);
  return out;
}

// 2 × 2 RGB rows with filter byte 0: red, green / blue, white.
const std::string kRgbRows = std::string("\0\xff\0\0\0\xff\0", 7) + std::string("\0\0\0\xff\xff\xff\xff", 7);
const std::string kIend = Chunk("IEND", "");

std::string Rgb2x2(const std::string& between = "") {
  return kSignature + Ihdr(2, 2, 8, 2) + between + Chunk("IDAT", Deflate(kRgbRows)) + kIend;
}

// Loads and returns the exception's number and text ("" when none).
struct Outcome {
  int number = -1;
  std::string text;
};
Outcome Load(TPngGraphic& png, const std::string& bytes) {
  try {
    png.LoadFromBytes(bytes);
  } catch (const EPngError& e) {
    return {e.TextNumber(), e.what()};
  }
  return {};
}
Outcome Load(const std::string& bytes) {
  TPngGraphic png;
  return Load(png, bytes);
}

std::vector<std::string> Names(const TPngGraphic& png) {
  std::vector<std::string> n;
  for (size_t i = 0; i < png.Chunks.Count(); ++i) n.push_back(png.Chunks.Item(i)->GetName());
  return n;
}

}  // namespace

TEST(PngReaderErrors, EveryFailureWithItsNumberAndText) {
  const std::map<int, std::string> texte = {
      {65232, "This \"Portable Network Graphics\" image is invalid because the decoder found an unexpected end of the "
              "file."},
      {65233, "This \"Portable Network Graphics\" image contains no data."},
      {65251, "This \"Portable Network Graphics\" image is not valid because it contains invalid pieces of data (crc "
              "error)"},
      {65252, "The \"Portable Network Graphics\" image could not be loaded because one of its main piece of data (ihdr) "
              "might be corrupted"},
      {65253, "This \"Portable Network Graphics\" image is invalid because it has missing image parts."},
      {65254, "Could not decompress the image because it contains invalid compressed data.\r\n Description: data error "
              "(-3)"},
      {65255, "The \"Portable Network Graphics\" image contains an invalid palette."},
      {65256, "The file being readed is not a valid \"Portable Network Graphics\" image because it contains an invalid "
              "header. This file may be corruped, try obtaining it again."},
      {65257, "This \"Portable Network Graphics\" image is not supported or it might be invalid.\r\n(IHDR chunk is not "
              "the first)"},
      {65258, "This \"Portable Network Graphics\" image is not supported because either it's width or height exceeds "
              "the maximum size, which is 65535 pixels length."},
      {65260, "This \"Portable Network Graphics\" image contains an unknown critical part which could not be decoded."},
      {65261, "This \"Portable Network Graphics\" image is encoded with an unknown compression scheme which could not "
              "be decoded."},
      {65262, "This \"Portable Network Graphics\" image uses an unknown interlace scheme which could not be decoded."},
  };
  const std::string whole = Rgb2x2();
  std::string badCrc = whole;
  badCrc[8 + 8 + 13] ^= 1;  // first CRC byte of IHDR
  const std::string head = kSignature + Ihdr(2, 2, 8, 2);
  const std::string z = Deflate(kRgbRows);
  std::string secondBadCrc = Chunk("IDAT", z.substr(5));
  secondBadCrc.back() ^= 0x40;
  std::string badDeflate = z;
  badDeflate[2] = '\xff';
  const std::string palHead = kSignature + Ihdr(2, 1, 8, 3);
  const std::pair<std::string, int> faelle[] = {
      {std::string("\x89PNG\r\n\x1a\x0b", 8) + Ihdr(2, 2, 8, 2), 65256},
      {"\x89PNG", 65256},
      {kSignature, 65232},
      {kSignature + Chunk("gAMA", Be32(45455)) + Ihdr(2, 2, 8, 2), 65257},
      {badCrc, 65251},
      {head + kIend, 65233},
      {Rgb2x2(Chunk("ABCD", "x")), 65260},
      // The stream ends inside a chunk's data, and before IEND.
      {whole.substr(0, whole.size() - 20), 65232},
      {whole.substr(0, whole.size() - kIend.size()), 65232},
      // A chunk length promising 2 GB in a short file: an unexpected end,
      // not an allocation.
      {head + Be32(0x7FFFFFF0) + "tEXtabc", 65232},
      {head + Be32(0xFFFFFFFF) + "cHRMabc", 65232},
      // Header fields, sizes and combinations the PNG standard does not know.
      {kSignature + Chunk("IHDR", std::string(12, '\0')), 65252},
      {kSignature + Ihdr(65536, 1, 8, 2), 65258},
      {kSignature + Ihdr(1, 65536, 8, 2), 65258},
      {kSignature + Ihdr(2, 2, 8, 2, 1), 65261},
      {kSignature + Ihdr(2, 2, 8, 2, 0, 2), 65262},
      {kSignature + Ihdr(0, 2, 8, 2), 65252},
      {kSignature + Ihdr(2, 2, 8, 5), 65252},
      {kSignature + Ihdr(2, 2, 16, 3), 65252},
      {kSignature + Ihdr(2, 2, 4, 2), 65252},
      {Rgb2x2(Ihdr(2, 2, 8, 2)), 65252},
      // Palettes of 7 bytes or 257 entries, tRNS longer than the palette,
      // a second palette.
      {palHead + Chunk("PLTE", std::string(7, '\0')), 65255},
      {palHead + Chunk("PLTE", std::string(257 * 3, '\0')), 65255},
      {palHead + Chunk("PLTE", std::string(6, '\0')) + Chunk("tRNS", std::string(257, '\0')), 65255},
      {palHead + Chunk("PLTE", std::string(6, '\0')) + Chunk("PLTE", std::string(6, '\0')), 65255},
      // Another chunk before the image data is complete, a CRC error in the
      // second IDAT chunk, damaged deflate data.
      {head + Chunk("IDAT", z.substr(0, 5)) + Chunk("tEXt", "a\0b") + Chunk("IDAT", z.substr(5)) + kIend, 65253},
      {head + Chunk("IDAT", z.substr(0, 5)) + secondBadCrc + kIend, 65251},
      {head + Chunk("IDAT", badDeflate) + kIend, 65254},
  };
  for (const auto& [bytes, nummer] : faelle) {
    const Outcome o = Load(bytes);
    EXPECT_EQ(o.number, nummer) << testing::PrintToString(bytes);
    EXPECT_EQ(o.text, texte.at(nummer)) << nummer;
  }
  // A deflate stream too short for the rows names zlib's own outcome.
  const Outcome o = Load(head + Chunk("IDAT", Deflate(kRgbRows.substr(0, 10))) + kIend);
  EXPECT_EQ(o.number, 65254);
  EXPECT_EQ(o.text.substr(o.text.size() - 14), "stream end (1)");
}

TEST(PngReaderErrors, LargeImagesRefusedBeforeTheyAreAllocated) {
  // 65535 × 65535 is a legal header, 12 GB of pixels: refused by the cap.
  TPngGraphic png;
  EXPECT_EQ(Load(png, kSignature + Ihdr(65535, 65535, 8, 6)).number, 65258);
  EXPECT_TRUE(png.GetHeaderChunk().ImageData.empty());
  // The cap is a setting.
  TPngGraphic small;
  small.MaxPixelCount = 3;
  EXPECT_EQ(Load(small, Rgb2x2()).number, 65258);
  small.MaxPixelCount = 4;
  EXPECT_EQ(Load(small, Rgb2x2()).number, -1);
}

TEST(PngReaderErrors, PaletteAndTransparencyChunksChecked) {
  const std::string head = kSignature + Ihdr(2, 1, 8, 3);
  // Two palette entries; the second pixel uses index 5, past the palette:
  // it shows black, and asking the palette for entry 5 raises 65259.
  const std::string plte = Chunk("PLTE", std::string("\x10\x20\x30\x40\x50\x60", 6));
  TPngGraphic png;
  ASSERT_EQ(Load(png, head + plte + Chunk("IDAT", Deflate(std::string("\0\x01\x05", 3))) + kIend).number, -1);
  EXPECT_EQ(png.GetPixel(0, 0), 0x405060u);
  EXPECT_EQ(png.GetPixel(1, 0), 0u);
  try {
    png.Chunks.ItemFromClass<TChunkPLTE>()->GetItem(5);
    ADD_FAILURE() << "no exception";
  } catch (const EPngError& e) {
    EXPECT_EQ(e.TextNumber(), 65259);
    EXPECT_STREQ(e.what(), "There is no such palette entry.");
  }

  // tRNS with one value below 255 is bit transparency, with two partial.
  const std::string idat = Chunk("IDAT", Deflate(std::string("\0\x00\x01", 3)));
  TPngGraphic one;
  ASSERT_EQ(Load(one, head + plte + Chunk("tRNS", std::string("\xff\x00", 2)) + idat + kIend).number, -1);
  EXPECT_EQ(one.TransparencyMode(), TPNGTransparencyMode::ptmBit);
  EXPECT_EQ(one.GetTransparentColor(), 0x405060u);
  EXPECT_EQ(one.GetAlpha(0, 0), 255);
  EXPECT_EQ(one.GetAlpha(1, 0), 0);
  TPngGraphic two;
  ASSERT_EQ(Load(two, head + plte + Chunk("tRNS", std::string("\x80\x40", 2)) + idat + kIend).number, -1);
  EXPECT_EQ(two.TransparencyMode(), TPNGTransparencyMode::ptmPartial);
  EXPECT_EQ(two.GetAlpha(0, 0), 0x80);
  EXPECT_EQ(two.GetAlpha(1, 0), 0x40);
  EXPECT_EQ(two.Chunks.ItemFromClass<TChunktRNS>()->PaletteValues[2], 255);  // missing values are 255
}

TEST(PngReaderErrors, ImageDataAcrossChunks) {
  const std::string z = Deflate(kRgbRows);
  const std::string head = kSignature + Ihdr(2, 2, 8, 2);
  // Split into three IDAT chunks, one of them empty, with a trailing empty
  // IDAT and a cHRM chunk that is passed over.
  TPngGraphic split;
  ASSERT_EQ(Load(split, head + Chunk("cHRM", std::string(32, '\x01')) + Chunk("IDAT", z.substr(0, 5)) +
                            Chunk("IDAT", "") + Chunk("IDAT", z.substr(5)) + Chunk("IDAT", "") + kIend)
                .number,
            -1);
  EXPECT_EQ(Names(split), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  EXPECT_EQ((std::vector<uint32_t>{split.GetPixel(0, 0), split.GetPixel(1, 0), split.GetPixel(0, 1), split.GetPixel(1, 1)}),
            (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));

  // After a failure the list holds the chunks read so far.
  std::string bad = z;
  bad[2] = '\xff';
  TPngGraphic partial;
  EXPECT_EQ(Load(partial, head + Chunk("gAMA", Be32(45455)) + Chunk("IDAT", bad) + kIend).number, 65254);
  EXPECT_EQ(Names(partial), (std::vector<std::string>{"IHDR", "gAMA", "IDAT"}));
}

TEST(PngReaderErrors, FiltersUndoneAndAdam7PassesWithoutPixels) {
  // One grey row of 4 pixels, stored with each filter; previous row for
  // Up, Average and Paeth: 10 20 30 40.
  const std::string first = std::string("\0\x0a\x14\x1e\x28", 5);
  const std::string rows[] = {
      std::string("\x01\x05\x05\x05\x05", 5),  // Sub: 5 10 15 20
      std::string("\x02\x01\x02\x03\x04", 5),  // Up: 11 22 33 44
      std::string("\x03\x01\x01\x01\x01", 5),  // Average: 6 14 23 32
      std::string("\x04\x01\x01\x01\x01", 5),  // Paeth: 11 21 31 41
      std::string("\x07\x09\x08\x07\x06", 5),  // unknown type: as stored
  };
  const unsigned expected[5][4] = {{5, 10, 15, 20}, {11, 22, 33, 44}, {6, 14, 23, 32}, {11, 21, 31, 41}, {9, 8, 7, 6}};
  for (int f = 0; f < 5; ++f) {
    TPngGraphic png;
    ASSERT_EQ(Load(png, kSignature + Ihdr(4, 2, 8, 0) + Chunk("IDAT", Deflate(first + rows[f])) + kIend).number, -1);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(png.GetPixel(x, 1) & 0xFF, expected[f][x]) << "filter " << f << " x " << x;
  }
  // A 1 × 1 Adam7 image has one pass with a pixel; the others have no
  // rows at all, not even a filter byte.
  TPngGraphic tiny;
  ASSERT_EQ(Load(tiny, kSignature + Ihdr(1, 1, 8, 0, 0, 1) + Chunk("IDAT", Deflate(std::string("\0\x7f", 2))) + kIend)
                .number,
            -1);
  EXPECT_EQ(tiny.GetPixel(0, 0), 0x7F7F7Fu);
  // 3 × 2 Adam7: passes 1 (0,0), 4 (2,0), 6 (1,0) and 7 (row 1).
  const std::string adam7 = std::string("\0\x01", 2) + std::string("\0\x02", 2) + std::string("\0\x03", 2) +
                            std::string("\0\x04\x05\x06", 4);
  TPngGraphic small;
  ASSERT_EQ(Load(small, kSignature + Ihdr(3, 2, 8, 0, 0, 1) + Chunk("IDAT", Deflate(adam7)) + kIend).number, -1);
  const unsigned grid[2][3] = {{1, 3, 2}, {4, 5, 6}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(small.GetPixel(x, y) & 0xFF, grid[y][x]) << x << "," << y;
}

TEST(PngReaderErrors, AncillaryChunksKeptAndWrittenBack) {
  TPngGraphic png;
  const std::string priv = Chunk("prVt", std::string("\x00\x01geheim", 8));
  ASSERT_EQ(Load(png, Rgb2x2(priv)).number, -1);
  EXPECT_EQ(Names(png), (std::vector<std::string>{"IHDR", "prVt", "IDAT", "IEND"}));
  std::ostringstream out;
  png.SaveToStream(out);
  const std::string saved = out.str();
  EXPECT_NE(saved.find(priv), std::string::npos);
  EXPECT_EQ(saved.find(priv), kSignature.size() + 25u);

  // A zTXt chunk that inflates past the limit is refused when read out.
  std::string big(TChunkzTXt::kMaxText + 1, 'a');
  TPngGraphic bomb;
  ASSERT_EQ(Load(bomb, Rgb2x2(Chunk("zTXt", std::string("k\0\0", 3) + Deflate(big)))).number, -1);
  auto* z = dynamic_cast<TChunkzTXt*>(bomb.Chunks.Item(1));
  ASSERT_NE(z, nullptr);
  EXPECT_THROW((void)z->GetText(), EPNGZLIBError);

  EXPECT_THROW(png.LoadFromFile("/nonexistent/bild.png"), EPngError);
  // A stream that throws on a short read still gives one of ours.
  std::istringstream cut(Rgb2x2().substr(0, 40));
  cut.exceptions(std::ios::failbit | std::ios::badbit | std::ios::eofbit);
  EXPECT_THROW(png.LoadFromStream(cut), EPngUnexpectedEnd);
}

TEST(PngReaderErrors, DrawingStretchesAndKeepsTheBackgroundWhereTransparent) {
  TPngGraphic png;
  ASSERT_EQ(Load(png, Rgb2x2()).number, -1);
  // 2 × 2 stretched into 4 × 4 at (1, 1) of a grey 6 × 6 canvas.
  Bitmap canvas(6, 6, PixelFormat::Bit24);
  std::fill(canvas.pixels.begin(), canvas.pixels.end(), 0x80);
  png.Draw(canvas, 1, 1, 5, 5);
  auto at = [&](const Bitmap& b, int x, int y) {
    const size_t n = b.format == PixelFormat::Bit32 ? 4 : 3;
    const uint8_t* p = b.row(y) + n * static_cast<size_t>(x);
    return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
  };
  const std::tuple<int, int, uint32_t> spots[] = {{0, 0, 0x808080}, {1, 1, 0xFF0000}, {2, 2, 0xFF0000}, {3, 1, 0x00FF00},
                                                  {1, 4, 0x0000FF}, {4, 4, 0xFFFFFF}, {5, 5, 0x808080}};
  for (auto [x, y, colour] : spots) EXPECT_EQ(at(canvas, x, y), colour) << x << "," << y;

  // RGBA: alpha 0 leaves the background, 255 covers it, 128 blends
  // (source × a + background × (255 − a) + 127) / 255 per channel.
  const std::string rows = std::string("\0\xff\0\0\0\0\0\xff\xff", 9) + std::string("\0\xff\xff\xff\x80\0\0\0\x80", 9);
  TPngGraphic rgba;
  ASSERT_EQ(Load(rgba, kSignature + Ihdr(2, 2, 8, 6) + Chunk("IDAT", Deflate(rows)) + kIend).number, -1);
  Bitmap c32(2, 2, PixelFormat::Bit32);
  std::fill(c32.pixels.begin(), c32.pixels.end(), 0x40);
  rgba.Draw(c32, 0, 0, 2, 2);
  EXPECT_EQ(at(c32, 0, 0), 0x404040u);  // red, alpha 0
  EXPECT_EQ(at(c32, 1, 0), 0x0000FFu);  // blue, alpha 255
  // white at 128 over 0x40: (255·128 + 64·127 + 127) / 255 = 160
  EXPECT_EQ(at(c32, 0, 1), 0xA0A0A0u);
  // black at 128 over 0x40: (64·127 + 127) / 255 = 32
  EXPECT_EQ(at(c32, 1, 1), 0x202020u);
  // A rectangle partly outside the canvas is clipped; other formats and
  // empty rectangles draw nothing.
  Bitmap edge(2, 2, PixelFormat::Bit24);
  png.Draw(edge, -1, -1, 3, 3);
  EXPECT_EQ(at(edge, 0, 0), 0xFF0000u);
  EXPECT_EQ(at(edge, 1, 1), 0xFFFFFFu);
  Bitmap pal(2, 2, PixelFormat::Bit8);
  png.Draw(pal, 0, 0, 2, 2);
  EXPECT_EQ(pal.pixels, std::vector<uint8_t>(4, 0));
}

TEST(PngReaderErrors, SetPixelOnPaletteAndGreyTakesTheNearestEntry) {
  TPngGraphic png;
  const std::string plte = Chunk("PLTE", std::string("\x00\x00\x00\xff\x00\x00\x00\x00\xff", 9));
  ASSERT_EQ(Load(png, kSignature + Ihdr(2, 1, 2, 3) + plte + Chunk("IDAT", Deflate(std::string("\0\0", 2))) + kIend)
                .number,
            -1);
  png.SetPixel(1, 0, 0xE01010);
  EXPECT_EQ(png.GetPixel(1, 0), 0xFF0000u);
  png.SetPixel(0, 0, 0x1010C0);
  EXPECT_EQ(png.GetPixel(0, 0), 0x0000FFu);
  png.SetPixel(2, 0, 0xFF0000);  // outside: nothing
  TPngGraphic grey;
  ASSERT_EQ(Load(grey, kSignature + Ihdr(1, 1, 4, 0) + Chunk("IDAT", Deflate(std::string("\0\0", 2))) + kIend).number,
            -1);
  grey.SetPixel(0, 0, 0x909090);  // ramp entries 0x88 and 0x99: 0x88 is nearer
  EXPECT_EQ(grey.GetPixel(0, 0), 0x888888u);
}
