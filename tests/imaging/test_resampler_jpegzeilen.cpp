// Decoding row by row into the resampler's layout, and the EXIF Orientation
// of derived files.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "imaging/ExifOrientation.h"
#include "imaging/ExifTestData.h"
#include "imaging/ImgData.h"
#include "imaging/JpegCodec.h"
#include "imaging/JpegRowDecoder.h"

using namespace mosaik::imaging;
using namespace mosaik::imaging::testdata;

namespace {

struct Sammler : JpegRowSink {
  int w = 0, h = 0, rows = 0;
  std::vector<uint8_t> rgb;  // converted back to R, G, B
  void Start(int width, int height) override {
    w = width, h = height;
    rgb.reserve(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
  }
  void Row(const uint8_t* p) override {
    ++rows;
    for (int x = 0; x < w; ++x) rgb.insert(rgb.end(), {p[x * 4 + 2], p[x * 4 + 1], p[x * 4 + 0]});
  }
};

std::string Data(const std::string& name) { return ReadFileBytes(std::string(MOSAIK_TEST_DATA) + "/jpeg/" + name); }

RgbBitmap Noise(int w, int h) {
  RgbBitmap b(w, h);
  uint32_t s = 99;
  for (auto& p : b.Pixels) p = static_cast<uint8_t>((s = s * 1103515245u + 12345u) >> 23);
  return b;
}

}  // namespace

TEST(JpegRows, SamePixelsAsTheWholeDecoder) {
  for (const char* name : {"base.jpg", "gray.jpg", "cmyk.jpg", "prog.jpg", "exif-be.jpg"}) {
    const std::string bytes = Data(name);
    Sammler s;
    DecodeJpegRows(bytes, s);
    const RgbBitmap whole = DecodeJpeg(bytes);
    EXPECT_EQ(s.w, whole.Width) << name;
    EXPECT_EQ(s.h, whole.Height) << name;
    EXPECT_EQ(s.rows, whole.Height) << name;
    EXPECT_TRUE(s.rgb == whole.Pixels) << name;
  }
  // A larger picture with odd sides, 4:2:0, progressive.
  const std::string big = EncodeJpeg(Noise(123, 77), 80, true);
  Sammler s;
  DecodeJpegRows(big, s);
  EXPECT_TRUE(s.rgb == DecodeJpeg(big).Pixels);
}

TEST(JpegRows, DamagedAndTruncatedStreams) {
  const std::string good = EncodeJpeg(Noise(64, 64), 90, false);
  Sammler s;
  EXPECT_THROW(DecodeJpegRows(good.substr(0, good.size() / 2), s), JpegError);
  EXPECT_THROW(DecodeJpegRows("not a picture", s), JpegError);
  EXPECT_THROW(DecodeJpegRows(good.substr(0, 40), s), JpegError);
  try {
    Sammler t;
    DecodeJpegRows(good.substr(0, good.size() - 300), t);
    FAIL() << "no error";
  } catch (const JpegError& e) {
    EXPECT_EQ(std::string(e.what()), "Die JPEG-Datei ist unvollständig (vorzeitiges Dateiende).");
  }
  // Too large: refused before decoding.
  Sammler u;
  EXPECT_THROW(DecodeJpegRows(good, u, 64 * 64 - 1), JpegError);
  EXPECT_EQ(u.rows, 0);
  // Beyond that cap by default: a picture in one scan is decoded whatever
  // its size (this one declares 60000 x 60000 and ends long before, also
  // where its data end at a marker); one in several scans is refused for
  // what libjpeg would hold of it.
  for (const auto& [progressive, endmarke] :
       std::initializer_list<std::pair<bool, bool>>{{false, false}, {false, true}, {true, false}}) {
    std::string huge = EncodeJpeg(Noise(64, 64), 90, progressive);
    const size_t sof = huge.find(std::string(progressive ? "\xFF\xC2" : "\xFF\xC0", 2));
    ASSERT_NE(sof, std::string::npos);
    huge.replace(sof + 5, 4, Bytes({0xEA, 0x60, 0xEA, 0x60}));
    if (!endmarke) huge.resize(huge.size() - 2);  // no end marker: the data run out at once
    struct Zaehler : JpegRowSink {
      int started = 0;
      void Start(int, int) override { ++started; }
      void Row(const uint8_t*) override {}
    } z;
    try {
      DecodeJpegRows(huge, z);
      ADD_FAILURE() << "no error";
    } catch (const JpegError& e) {
      EXPECT_EQ(z.started, progressive ? 0 : 1);
      const std::string text = e.what();
      EXPECT_EQ(text == "Die JPEG-Datei ist unvollständig (vorzeitiges Dateiende).", !progressive) << text;
      EXPECT_EQ(text.find("60000 × 60000 Pixeln in mehreren Durchgängen (progressiv) gespeichert; zum Lesen "
                          "bräuchte es 10299 MB Arbeitsspeicher (höchstens 2048 MB)") != std::string::npos,
                progressive)
          << text;
    }
  }
  // An exception of the sink passes through.
  struct Wirft : JpegRowSink {
    void Start(int, int) override {}
    void Row(const uint8_t*) override { throw std::length_error("voll"); }
  } wirft;
  EXPECT_THROW(DecodeJpegRows(good, wirft), std::length_error);
}

// A file that lacks only its end marker (or its last byte) is whole: both
// decoders give the intact file's pixels, although libjpeg notices the end
// of the data while the last rows are still to come. One byte of the data
// more, or a scan of a progressive picture, is missing data. Arithmetic
// coding (arith.jpg, base.jpg recoded) goes on with zeros without a
// warning: there its pixels must not change with what would follow once
// the zero bytes its encoder leaves out are granted (arith-flach.jpg, a
// black band at the bottom, needs two); where they do, all that is known
// is said: the end marker is missing. A picture in one scan per component
// (nonint.jpg) owes a scan until every component had one.
TEST(JpegRows, OnlyTheEndMarkerMissing) {
  const std::string base = EncodeJpeg(Noise(123, 77), 85, false);
  const std::string prog = EncodeJpeg(Noise(123, 77), 85, true);
  const std::string gray = Data("gray.jpg");
  const std::string cmyk = Data("cmyk.jpg");
  const std::string arith = Data("arith.jpg");
  const std::string flach = Data("arith-flach.jpg");
  const std::string nonint = Data("nonint.jpg");
  const std::string rst = Data("rst.jpg");
  const std::string lastScan("\xFF\xDA", 2);
  const std::string unvollstaendig = "Die JPEG-Datei ist unvollständig (vorzeitiges Dateiende).";
  const std::string ohneEndmarke =
      "Der JPEG-Datei fehlt die Endmarke; ob ihre arithmetisch kodierten Bilddaten vollständig sind, lässt sich "
      "nicht feststellen.";
  const struct {
    const char* name;
    const std::string& bytes;
    size_t keep;  // bytes kept of the file
    const std::string& text;  // "": whole
  } faelle[] = {
      {"base", base, base.size() - 2, ""},     {"base", base, base.size() - 1, ""},
      {"base", base, base.size() - 3, unvollstaendig},    {"base", base, base.size() - 4, unvollstaendig},
      {"prog", prog, prog.size() - 2, ""},     {"prog", prog, prog.size() - 1, ""},
      {"prog", prog, prog.size() - 3, unvollstaendig},    {"prog", prog, prog.rfind(lastScan), unvollstaendig},
      {"prog", prog, prog.rfind(lastScan) + 2, unvollstaendig},
      {"gray", gray, gray.size() - 2, ""},     {"gray", gray, gray.size() - 3, unvollstaendig},
      {"cmyk", cmyk, cmyk.size() - 2, ""},     {"cmyk", cmyk, cmyk.size() - 3, unvollstaendig},
      {"arith", arith, arith.size() - 2, ""},  {"arith", arith, arith.size() - 1, ""},
      {"arith", arith, arith.size() - 3, ohneEndmarke},
      {"flach", flach, flach.size() - 2, ""},  {"flach", flach, flach.size() - 3, ohneEndmarke},
      {"nonint", nonint, nonint.size() - 2, ""}, {"nonint", nonint, nonint.size() - 3, unvollstaendig},
      {"nonint", nonint, nonint.rfind(lastScan), unvollstaendig},
      {"rst", rst, rst.size() - 2, ""},        {"rst", rst, rst.size() - 3, unvollstaendig},
  };
  for (const auto& f : faelle) {
    ASSERT_EQ(f.bytes.substr(f.bytes.size() - 2), "\xFF\xD9") << f.name;
    const std::string cut = f.bytes.substr(0, f.keep);
    const std::string where = std::string(f.name) + " " + std::to_string(f.keep) + "/" + std::to_string(f.bytes.size());
    Sammler s;
    try {
      DecodeJpegRows(cut, s);
      EXPECT_EQ(f.text, "") << where;
      EXPECT_TRUE(s.rgb == DecodeJpeg(f.bytes).Pixels) << where;
    } catch (const JpegError& e) {
      EXPECT_EQ(e.what(), f.text) << where;
    }
    try {
      EXPECT_TRUE(DecodeJpeg(cut).Pixels == DecodeJpeg(f.bytes).Pixels) << where;
      EXPECT_EQ(f.text, "") << where;
    } catch (const JpegError& e) {
      EXPECT_EQ(e.what(), f.text) << where;
    }
  }
  // Data ending in the header stay an error of their own.
  EXPECT_THROW(ReadJpegInfo(base.substr(0, base.find(lastScan) + 4)), JpegError);
}

// Scan data that break off or do not decode before the last row are
// refused by both decoders (libjpeg alone would fill the rest with grey).
// So are data left over where a scan or restart interval ends, even after
// the last row: the decoder lost step. Padding there (zero bytes, 0xFF
// fill) and bytes between other markers or after the end marker cost no
// pixel, also where libjpeg tells the padding before restart markers only
// in a later scan (prog-rst-block.jpg).
TEST(JpegRows, DamagedScanDataBeforeTheLastRow) {
  const std::string base = EncodeJpeg(Noise(123, 77), 85, false);
  const std::string prog = EncodeJpeg(Noise(123, 77), 85, true);
  const std::string rst = Data("rst.jpg");
  const std::string progRst = Data("prog-rst.jpg");
  const std::string progRstBlock = Data("prog-rst-block.jpg");  // a restart interval per block
  const std::string eoi("\xFF\xD9", 2);
  const std::string junk(16, '\x5A');
  const auto vor = [&](const std::string& b, size_t at, const std::string& was) {
    return b.substr(0, at) + was + b.substr(at);
  };
  // was before every marker whose code is one of codes.
  const auto vorJeder = [](std::string b, const std::string& codes, const std::string& was) {
    for (size_t at = b.find('\xFF'); at != std::string::npos; at = b.find('\xFF', at + 1))
      if (at + 1 < b.size() && b[at + 1] != '\0' && codes.find(b[at + 1]) != std::string::npos) {
        b.insert(at, was);
        at += was.size() + 1;
      }
    return b;
  };
  const std::string rstMarken("\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD7", 8);
  const std::string nullen(8, '\0');
  const auto halb = [&](const std::string& b) {
    const size_t sos = b.find("\xFF\xDA");
    return b.substr(0, sos + (b.size() - sos) / 2) + eoi;
  };
  // A run of 24 one-bits (stuffed 0xFF bytes) is no code of any table.
  std::string falscherCode = base;
  size_t at = base.size() - 300;
  while (base[at - 1] == '\xFF') ++at;
  falscherCode.replace(at, 6, std::string("\xFF\x00\xFF\x00\xFF\x00", 6));
  const std::string unvollstaendig = "Die JPEG-Datei ist unvollständig (vorzeitiges Dateiende).";
  const auto ausDemTakt = [](const char* marke) {
    return std::string("Die JPEG-Daten sind beschädigt (die Bilddaten geraten aus dem Takt, vor der Marke 0x") + marke +
           " bleiben Bytes übrig).";
  };
  // Where the first scan's data end: the first marker after them.
  size_t sos = prog.find("\xFF\xDA");
  size_t nachScan = sos + 2 + static_cast<size_t>((static_cast<uint8_t>(prog[sos + 2]) << 8) | static_cast<uint8_t>(prog[sos + 3]));
  while (prog[nachScan] != '\xFF' || prog[nachScan + 1] == '\0') ++nachScan;
  char folgt[3];
  std::snprintf(folgt, sizeof folgt, "%02X", static_cast<uint8_t>(prog[nachScan + 1]));
  // Two bytes left before the first restart marker of the second scan stay
  // in libjpeg's bit buffer; it tells them after the table segment that
  // follows the scan, at the restart interval's definition (0xDD).
  const size_t zweiterScan = progRst.find("\xFF\xDA", progRst.find("\xFF\xDA") + 2);
  const struct {
    std::string bytes;
    const std::string& heil;
    std::string text;  // "": whole, as intact
  } faelle[] = {
      {halb(base), base, unvollstaendig},
      {halb(prog), prog, unvollstaendig},
      {falscherCode, base, "Die JPEG-Daten sind beschädigt (ungültiger Code in den Bilddaten)."},
      {base.substr(0, base.size() - 2) + std::string(3, '\0') + eoi, base, ""},
      {vor(base, base.size() - 2, junk), base, ausDemTakt("D9")},
      {vor(base, base.size() - 2, junk + std::string(16, '\0')), base, ausDemTakt("D9")},
      {vor(base, base.size() - 2, std::string(16, '\0')), base, ""},
      {vor(base, base.size() - 2, std::string(4, '\0') + std::string(5, '\xFF')), base, ""},
      {vor(prog, prog.size() - 2, junk), prog, ausDemTakt("D9")},
      {vorJeder(prog, "\xC4\xDA\xD9", nullen), prog, ""},
      {vor(prog, nachScan, junk), prog, ausDemTakt(folgt)},
      {vor(prog, prog.find("\xFF\xDB"), junk), prog, ""},
      {vor(prog, prog.rfind("\xFF\xDA"), junk), prog, ""},
      {base + std::string(4096, '\0'), base, ""},
      {vor(rst, rst.find("\xFF\xD1"), junk), rst, ausDemTakt("D1")},
      {vor(rst, rst.find("\xFF\xDB"), junk), rst, ""},
      {vorJeder(rst, rstMarken, nullen), rst, ""},
      {vorJeder(rst, rstMarken, std::string(3, '\xFF')), rst, ""},
      {vorJeder(progRst, rstMarken, nullen), progRst, ""},
      {vorJeder(progRstBlock, rstMarken, std::string(1, '\0')), progRstBlock, ""},
      {vor(progRst, progRst.find("\xFF\xD0", zweiterScan), "\x5A\x5A"), progRst, ausDemTakt("DD")},
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.text);
    const auto pixel = DecodeJpeg(f.heil).Pixels;
    for (const bool zeilenweise : {true, false}) {
      Sammler s;
      try {
        EXPECT_TRUE((zeilenweise ? (DecodeJpegRows(f.bytes, s), s.rgb) : DecodeJpeg(f.bytes).Pixels) == pixel);
        EXPECT_EQ(f.text, "");
      } catch (const JpegError& e) {
        EXPECT_EQ(e.what(), f.text);
      }
    }
  }
}

TEST(ExifOrientationTag, SetToTopLeftInBothByteOrders) {
  for (bool mm : {false, true}) {
    TiffBuilder t(mm);
    t.Ascii(0, 0x010F, "Canon");
    t.Short(0, 0x0112, 6);
    t.Short(0, 0x0128, 2);
    std::string section = t.App1().substr(2);  // as stored: length bytes and payload
    EXPECT_EQ(ExifOrientation(section), 6);
    const std::string before = section;
    EXPECT_TRUE(SetExifOrientationTopLeft(section));
    EXPECT_EQ(ExifOrientation(section), 1);
    // Only the two value bytes changed.
    int changed = 0;
    for (size_t i = 0; i < section.size(); ++i) changed += section[i] != before[i];
    EXPECT_EQ(changed, 1);
  }
  // No tag, a tag of the wrong type, a block cut short: left alone.
  TiffBuilder none(false);
  none.Ascii(0, 0x010F, "X");
  std::string s = none.App1().substr(2);
  EXPECT_EQ(ExifOrientation(s), 0);
  EXPECT_FALSE(SetExifOrientationTopLeft(s));
  TiffBuilder wrong(false);
  wrong.Long(0, 0x0112, 8);
  s = wrong.App1().substr(2);
  const std::string w0 = s;
  EXPECT_FALSE(SetExifOrientationTopLeft(s));
  EXPECT_EQ(s, w0);
  TiffBuilder cut(true);
  cut.Short(0, 0x0112, 3);
  s = cut.App1().substr(2);
  s.resize(s.size() - 8);
  EXPECT_FALSE(SetExifOrientationTopLeft(s));
  std::string junk = "\x00\x10JFIF\0\0\0\0\0\0\0\0\0\0";
  EXPECT_FALSE(SetExifOrientationTopLeft(junk));

  // Through the metadata object: the EXIF section it will write.
  TiffBuilder t(false);
  t.Short(0, 0x0112, 8);
  const std::string file = Soi() + t.App1() + ScanTail();
  EXPECT_EQ(JpegExifOrientation(file), 8);
  EXPECT_EQ(JpegExifOrientation(Soi() + ScanTail() + t.App1()), 0);  // after the picture data
  EXPECT_EQ(JpegExifOrientation(Soi() + Segment(0xE1, "<x:xmpmeta/>") + t.App1() + ScanTail()), 8);  // another APP1 first
  TimgData md(255);
  ASSERT_TRUE(md.ReadJpegSections(file));
  ASSERT_GT(md.ExifSegment, 0);
  SetExifOrientationTopLeft(md);
  EXPECT_EQ(ExifOrientation(md.Sections[static_cast<size_t>(md.ExifSegment - 1)].Data), 1);
}

TEST(ExifOrientationTag, EmbeddedThumbnailDropped) {
  const std::string thumb = Soi() + "kleines Bild" + Bytes({0xFF, 0xD9});
  struct Case {
    bool mm, thumbnail;
    uint32_t valueBehind;  // a value said to lie this far behind the block's start (0: none)
    bool dropped, cut;
  };
  const Case cases[] = {
      {false, true, 0, true, true},   // behind everything: link and bytes go
      {true, true, 0, true, true},
      {false, true, 400, true, false},  // something behind it: only the link goes
      {false, false, 0, false, false},
  };
  for (const Case& c : cases) {
    TiffBuilder t(c.mm);
    t.Short(0, 0x0112, 6);
    const int exif = t.AddDir();
    t.Link(0, 0x8769, exif);
    t.Ascii(exif, 0x9003, "2024:05:06 07:08:09");
    if (c.valueBehind) t.RawOffsetEntry(0, 0x010E, 2, 10, c.valueBehind);
    if (c.thumbnail) t.Thumbnail(thumb);
    TimgData md(255);
    ASSERT_TRUE(md.ReadJpegSections(Soi() + t.App1() + ScanTail()));
    std::string alone = md.Sections[0].Data;
    EXPECT_EQ(DropExifThumbnail(alone), c.dropped);
    DropExifThumbnail(md);
    const std::string& after = md.Sections[0].Data;
    EXPECT_EQ(after, alone);
    EXPECT_EQ(after.find(thumb) != std::string::npos, c.thumbnail && !c.cut) << c.valueBehind;
    EXPECT_EQ(md.Sections[0].Size, static_cast<int32_t>(after.size()));
    TimgData back(255);
    ASSERT_TRUE(back.ReadJpegSections(Soi() + "\xFF\xE1" + after + ScanTail()));
    EXPECT_EQ(back.ExifInfo->ThumbnailStart, 0);
    EXPECT_EQ(back.ExifInfo->LookupTagValue("DateTimeOriginal"), "2024:05:06 07:08:09");
  }
}

TEST(ExifOrientationTag, PicturesTurnedAsDisplayed) {
  // Stored a b c / d e f; 5 to 8 swap the sides.
  Bitmap stored(3, 2, PixelFormat::Bit32);
  for (int i = 0; i < 6; ++i) stored.pixels[static_cast<size_t>(i) * 4] = static_cast<uint8_t>('a' + i);
  const char* const shown[] = {"abc/def", "abc/def", "cba/fed", "fed/cba", "def/abc",
                               "ad/be/cf", "da/eb/fc", "fc/eb/da", "cf/be/ad", "abc/def"};
  for (int o = 0; o <= 9; ++o) {
    const Bitmap b = ApplyOrientation(stored, o);
    std::string text;
    for (int y = 0; y < b.height; ++y) {
      if (y > 0) text += '/';
      for (int x = 0; x < b.width; ++x) text += static_cast<char>(b.row(y)[x * 4]);
    }
    EXPECT_EQ(text, shown[o]) << o;
    EXPECT_EQ(SwapsSides(o), b.width == 2) << o;
  }
}
