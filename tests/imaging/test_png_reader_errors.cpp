// The PNG reader on streams built here chunk by chunk (CRCs and deflate from
// zlib itself): the chunk walk's rules, every failure with its number and
// the defences against hostile sizes. Decoding arbitrary bytes safely is
// the fuzz replay's part.
#include <gtest/gtest.h>
#include <zlib.h>

#include <sstream>
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

// Loads and returns the exception's number (-1 when none).
int Load(TPngGraphic& png, const std::string& bytes) {
  try {
    png.LoadFromBytes(bytes);
  } catch (const EPngError& e) {
    return e.TextNumber();
  }
  return -1;
}
int Load(const std::string& bytes) {
  TPngGraphic png;
  return Load(png, bytes);
}

std::vector<std::string> Names(const TPngGraphic& png) {
  std::vector<std::string> n;
  for (size_t i = 0; i < png.Chunks.Count(); ++i) n.push_back(png.Chunks.Item(i)->GetName());
  return n;
}

}  // namespace

TEST(PngReaderErrors, EveryFailureWithItsNumber) {
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
  for (const auto& [bytes, nummer] : faelle) EXPECT_EQ(Load(bytes), nummer) << testing::PrintToString(bytes);
}

TEST(PngReaderErrors, LargeImagesRefusedBeforeTheyAreAllocated) {
  // 65535 × 65535 is a legal header, 12 GB of pixels: refused by the cap.
  TPngGraphic png;
  EXPECT_EQ(Load(png, kSignature + Ihdr(65535, 65535, 8, 6)), 65258);
  EXPECT_TRUE(png.GetHeaderChunk().ImageData.empty());
  // The cap is a setting.
  TPngGraphic small;
  small.MaxPixelCount = 3;
  EXPECT_EQ(Load(small, Rgb2x2()), 65258);
  small.MaxPixelCount = 4;
  EXPECT_EQ(Load(small, Rgb2x2()), -1);
  // A pixel whose palette index lies past the palette's two entries reads
  // as black, not from beyond the table.
  TPngGraphic pal;
  ASSERT_EQ(Load(pal, kSignature + Ihdr(2, 1, 8, 3) + Chunk("PLTE", std::string("\x10\x20\x30\x40\x50\x60", 6)) +
                          Chunk("IDAT", Deflate(std::string("\0\x01\x05", 3))) + kIend),
            -1);
  EXPECT_EQ(pal.GetPixel(0, 0), 0x405060u);
  EXPECT_EQ(pal.GetPixel(1, 0), 0u);
}

TEST(PngReaderErrors, ImageDataAcrossChunks) {
  const std::string z = Deflate(kRgbRows);
  const std::string head = kSignature + Ihdr(2, 2, 8, 2);
  // Split into three IDAT chunks, one of them empty, with a trailing empty
  // IDAT and a cHRM chunk that is passed over.
  TPngGraphic split;
  ASSERT_EQ(Load(split, head + Chunk("cHRM", std::string(32, '\x01')) + Chunk("IDAT", z.substr(0, 5)) +
                            Chunk("IDAT", "") + Chunk("IDAT", z.substr(5)) + Chunk("IDAT", "") + kIend),
            -1);
  EXPECT_EQ(Names(split), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  EXPECT_EQ((std::vector<uint32_t>{split.GetPixel(0, 0), split.GetPixel(1, 0), split.GetPixel(0, 1), split.GetPixel(1, 1)}),
            (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));

  // After a failure the list holds the chunks read so far.
  std::string bad = z;
  bad[2] = '\xff';
  TPngGraphic partial;
  EXPECT_EQ(Load(partial, head + Chunk("gAMA", Be32(45455)) + Chunk("IDAT", bad) + kIend), 65254);
  EXPECT_EQ(Names(partial), (std::vector<std::string>{"IHDR", "gAMA", "IDAT"}));
}

TEST(PngReaderErrors, AncillaryChunksKeptAndWrittenBack) {
  TPngGraphic png;
  const std::string priv = Chunk("prVt", std::string("\x00\x01geheim", 8));
  ASSERT_EQ(Load(png, Rgb2x2(priv)), -1);
  EXPECT_EQ(Names(png), (std::vector<std::string>{"IHDR", "prVt", "IDAT", "IEND"}));
  std::ostringstream out;
  png.SaveToStream(out);
  const std::string saved = out.str();
  EXPECT_NE(saved.find(priv), std::string::npos);
  EXPECT_EQ(saved.find(priv), kSignature.size() + 25u);

  // A zTXt chunk that inflates past the limit is refused when read out.
  std::string big(TChunkzTXt::kMaxText + 1, 'a');
  TPngGraphic bomb;
  ASSERT_EQ(Load(bomb, Rgb2x2(Chunk("zTXt", std::string("k\0\0", 3) + Deflate(big)))), -1);
  auto* z = dynamic_cast<TChunkzTXt*>(bomb.Chunks.Item(1));
  ASSERT_NE(z, nullptr);
  EXPECT_THROW((void)z->GetText(), EPNGZLIBError);

  EXPECT_THROW(png.LoadFromFile("/nonexistent/bild.png"), EPngError);
  // A stream that throws on a short read still gives one of ours.
  std::istringstream cut(Rgb2x2().substr(0, 40));
  cut.exceptions(std::ios::failbit | std::ios::badbit | std::ios::eofbit);
  EXPECT_THROW(png.LoadFromStream(cut), EPngUnexpectedEnd);
}
