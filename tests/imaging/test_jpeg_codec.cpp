// The libjpeg wrapper: quality and progressive encoding, colour models,
// and damaged or oversized input that must end in a JpegError.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ExifTestData.h"
#include "imaging/JpegCodec.h"

namespace mosaik::imaging {
namespace {
using testdata::ReadFileBytes;

std::string Data(const char* name) { return ReadFileBytes(std::string(MOSAIK_TEST_DATA) + "/jpeg/" + name); }

RgbBitmap Gradient(int w, int h) {
  RgbBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b.Row(y) + x * 3;
      p[0] = static_cast<uint8_t>(x * 255 / (w - 1));
      p[1] = static_cast<uint8_t>(y * 255 / (h - 1));
      p[2] = 128;
    }
  return b;
}

// Mean absolute difference per channel against the pattern the test files
// were made from (16 x 12: red x * 16, green y * 20, blue 128).
double ErrorAgainstPattern(const RgbBitmap& b) {
  double sum = 0;
  for (int y = 0; y < b.Height; ++y)
    for (int x = 0; x < b.Width; ++x) {
      const uint8_t* p = b.Row(y) + x * 3;
      sum += std::abs(p[0] - x * 16) + std::abs(p[1] - y * 20) + std::abs(p[2] - 128);
    }
  return sum / (b.Width * b.Height * 3);
}

TEST(JpegCodec, QualityShowsInTheQuantisationTable) {
  const RgbBitmap b = Gradient(16, 16);
  // The first row of the standard luminance table is 16 11 10 16 24 40 51 61;
  // libjpeg scales it by 5000/q below 50 and by 200 - 2q above, rounding,
  // limited to 1..255.
  struct Case {
    int quality;
    std::array<int, 8> row;
  };
  for (const Case& c : {Case{50, {16, 11, 10, 16, 24, 40, 51, 61}}, Case{75, {8, 6, 5, 8, 12, 20, 26, 31}},
                        Case{90, {3, 2, 2, 3, 5, 8, 10, 12}}, Case{100, {1, 1, 1, 1, 1, 1, 1, 1}},
                        Case{1, {255, 255, 255, 255, 255, 255, 255, 255}}, Case{0, {255, 255, 255, 255, 255, 255, 255, 255}},
                        Case{150, {1, 1, 1, 1, 1, 1, 1, 1}}, Case{25, {32, 22, 20, 32, 48, 80, 102, 122}}}) {
    const JpegInfo info = ReadJpegInfo(EncodeJpeg(b, c.quality, false));
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(info.LumaQuant[i], c.row[i]) << "quality " << c.quality << " at " << i;
  }
}

TEST(JpegCodec, ProgressiveAndBaseline) {
  const RgbBitmap b = Gradient(40, 30);
  const std::string base = EncodeJpeg(b, 80, false), prog = EncodeJpeg(b, 80, true);
  EXPECT_FALSE(ReadJpegInfo(base).Progressive);
  EXPECT_TRUE(ReadJpegInfo(prog).Progressive);
  // The encoder writes its own JFIF header first.
  EXPECT_EQ(base.substr(0, 4), std::string("\xFF\xD8\xFF\xE0", 4));
  EXPECT_EQ(base.substr(6, 5), std::string("JFIF\0", 5));
  for (const std::string* s : {&base, &prog}) {
    const RgbBitmap back = DecodeJpeg(*s);
    ASSERT_EQ(std::pair(back.Width, back.Height), std::pair(40, 30));
    double err = 0;
    for (size_t i = 0; i < back.Pixels.size(); ++i) err += std::abs(back.Pixels[i] - b.Pixels[i]);
    EXPECT_LT(err / static_cast<double>(back.Pixels.size()), 3.0);
  }
}

TEST(JpegCodec, ColourModelsAreConvertedToRgb) {
  const RgbBitmap rgb = DecodeJpeg(Data("base.jpg"));
  ASSERT_EQ(std::pair(rgb.Width, rgb.Height), std::pair(16, 12));
  EXPECT_LT(ErrorAgainstPattern(rgb), 8.0);

  const RgbBitmap cmyk = DecodeJpeg(Data("cmyk.jpg"));
  EXPECT_TRUE(ReadJpegInfo(Data("cmyk.jpg")).Cmyk);
  ASSERT_EQ(cmyk.Width, 16);
  EXPECT_LT(ErrorAgainstPattern(cmyk), 10.0);

  const RgbBitmap gray = DecodeJpeg(Data("gray.jpg"));
  EXPECT_EQ(ReadJpegInfo(Data("gray.jpg")).Components, 1);
  ASSERT_EQ(gray.Width, 16);
  double err = 0;
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) {
      const uint8_t* p = gray.Row(y) + x * 3;
      EXPECT_EQ(p[0], p[1]);
      EXPECT_EQ(p[1], p[2]);
      err += std::abs(p[0] - (x * 13 + y * 7) % 256);
    }
  EXPECT_LT(err / 192, 8.0);
}

TEST(JpegCodec, DamagedDataRaisesErrors) {
  const std::string good = Data("base.jpg");
  const auto message = [](const std::string& bytes) {
    try {
      DecodeJpeg(bytes);
    } catch (const JpegError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_NE(message(good.substr(0, good.size() - 200)).find("unvollständig"), std::string::npos);
  EXPECT_NE(message(good.substr(0, 100)).find("Die JPEG-"), std::string::npos);
  EXPECT_NE(message("").find("kein JPEG"), std::string::npos);
  // Damage in the file's structure, each said in German: a quantisation
  // table with an index libjpeg does not have, a section length below 2,
  // a scan before any frame, and a marker no JPEG process knows.
  const std::string soi("\xFF\xD8", 2);
  const std::pair<std::string, std::string> struktur[] = {
      {soi + std::string("\xFF\xDB\x00\x43\x05", 5) + std::string(64, '\x01'),
       "Die JPEG-Daten sind beschädigt (eine Quantisierungstabelle ist ungültig oder fehlt)."},
      {good.substr(0, good.find(std::string("\xFF\xDB", 2)) + 2) + std::string("\x00\x01", 2) +
           good.substr(good.find(std::string("\xFF\xDB", 2)) + 4),
       "Die JPEG-Daten sind beschädigt (ein Abschnitt hat eine ungültige Länge)."},
      {soi + std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10),
       "Die JPEG-Daten sind beschädigt (die Abschnitte der Datei stehen nicht in gültiger Folge)."},
      {good.substr(0, good.find(std::string("\xFF\xC0", 2))) + std::string("\xFF\x4F\x00\x02", 4),
       "Die JPEG-Daten sind beschädigt (ein Abschnitt unbekannter Art)."},
  };
  for (const auto& [bytes, text] : struktur) EXPECT_EQ(message(bytes), text);
  EXPECT_THROW(ReadJpegInfo("not a jpeg"), JpegError);
  // Kinds of JPEG the library does not read are named as such.
  const size_t sof = good.find(std::string("\xFF\xC0", 2));
  ASSERT_NE(sof, std::string::npos);
  const std::pair<size_t, char> kinds[] = {{sof + 4, 12}, {sof + 1, '\xC3'}};
  const char* const texts[] = {"Das Bild speichert 12 Bit je Farbwert; gelesen werden nur JPEG-Bilder mit 8 Bit.",
                               "Das Bild ist in einem JPEG-Verfahren gespeichert, das nicht gelesen werden kann (z. B. "
                               "verlustfrei oder hierarchisch)."};
  for (size_t i = 0; i < 2; ++i) {
    std::string other = good;
    other[kinds[i].first] = kinds[i].second;
    try {
      ReadJpegInfo(other);
      ADD_FAILURE() << texts[i];
    } catch (const JpegError& e) {
      EXPECT_EQ(std::string(e.what()), texts[i]);
    }
  }
  // Cut anywhere: an error, except where only the end marker is missing
  // (670 - 2): then the picture is whole.
  for (size_t cut = 2; cut < good.size(); cut += 37)
    if (cut == good.size() - 2)
      EXPECT_TRUE(DecodeJpeg(good.substr(0, cut)).Pixels == DecodeJpeg(good).Pixels);
    else
      EXPECT_THROW(DecodeJpeg(good.substr(0, cut)), JpegError) << cut;
}

TEST(JpegCodec, PixelCapRefusesHugePictures) {
  const std::string good = Data("base.jpg");
  EXPECT_THROW(DecodeJpeg(good, 100), JpegError);
  EXPECT_NO_THROW(DecodeJpeg(good, 192));
  // A small file that declares 60000 x 60000 pixels in its frame header.
  std::string huge = good;
  const size_t sof = huge.find(std::string("\xFF\xC0", 2));
  ASSERT_NE(sof, std::string::npos);
  huge[sof + 5] = static_cast<char>(0xEA);
  huge[sof + 6] = static_cast<char>(0x60);
  huge[sof + 7] = static_cast<char>(0xEA);
  huge[sof + 8] = static_cast<char>(0x60);
  EXPECT_EQ(ReadJpegInfo(huge).Width, 60000);
  try {
    DecodeJpeg(huge);
    ADD_FAILURE() << "no error";
  } catch (const JpegError& e) {
    EXPECT_NE(std::string(e.what()).find("60000 × 60000 Pixeln zu groß"), std::string::npos) << e.what();
  }
}

TEST(JpegCodec, JpegImageKeepsLoadedBytesAndEncodesBitmaps) {
  const std::string path = std::string(MOSAIK_TEST_DATA) + "/jpeg/exif-le.jpg";
  JpegImage loaded;
  loaded.LoadFromFile(path);
  EXPECT_EQ(loaded.SaveToStream(), ReadFileBytes(path));
  EXPECT_EQ(loaded.Width(), 16);
  EXPECT_EQ(loaded.Height(), 12);
  EXPECT_EQ(loaded.Bitmap().Width, 16);
  EXPECT_EQ(loaded.SaveToStream(), ReadFileBytes(path));  // decoding changes nothing
  EXPECT_THROW(JpegImage().LoadFromFile(path + ".fehlt"), JpegError);

  JpegImage made;
  made.Assign(Gradient(20, 10));
  made.CompressionQuality = 100;
  made.ProgressiveEncoding = true;
  EXPECT_EQ(made.Width(), 20);
  const std::string& s = made.SaveToStream();
  EXPECT_TRUE(ReadJpegInfo(s).Progressive);
  EXPECT_EQ(ReadJpegInfo(s).LumaQuant[0], 1);

  JpegImage empty;
  EXPECT_THROW(empty.SaveToStream(), JpegError);
  EXPECT_THROW(empty.Compress(), JpegError);
  EXPECT_THROW(EncodeJpeg(RgbBitmap(0, 0), 75, false), JpegError);
  RgbBitmap wrong(4, 4);
  wrong.Pixels.resize(5);
  EXPECT_THROW(EncodeJpeg(wrong, 75, false), JpegError);
}

}  // namespace
}  // namespace mosaik::imaging
