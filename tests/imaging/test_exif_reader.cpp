// The EXIF reader on hand-built blocks: formats, display rules, malformed
// values, dates, the 35 mm estimate and the guards against crafted
// directories.
#include <gtest/gtest.h>

#include "ExifTestData.h"
#include "imaging/ImgData.h"
#include "imaging/NumberFormat.h"

namespace mosaik::imaging {
namespace {
using namespace testdata;

class ExifReader : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator('.'); }
  void TearDown() override { SetDecimalSeparator(','); }
  // Reads a file made of SOI, the block as APP1 and a scan.
  static std::unique_ptr<TimgData> Read(const TiffBuilder& t, uint8_t buildCode = 255) {
    auto d = std::make_unique<TimgData>(buildCode);
    d->ReadJpegSections(Soi() + t.App1() + ScanTail());
    return d;
  }
};

// The values the cameras write are checked on real files in both byte
// orders; here what those files do not show.
TEST_F(ExifReader, EntriesTheirOrderAndCameraFields) {
  TiffBuilder t(true);
  t.Add(0, 0x010F, 2, 9, std::string("Canon\0\0\0\0", 9));  // NUL padding inside the count
  t.Add(0, 0x0110, 2, 6, "EOS 5D");  // no closing NUL: no character is cut
  const int exif = t.AddDir();
  t.Link(0, 0x8769, exif);
  t.Rat(exif, 0x829D, 28, 10);
  t.Short(exif, 0x9209, 25);
  t.Short(exif, 0xA002, 4000);
  t.Long(exif, 0xA003, 3000);
  SetDecimalSeparator(',');
  auto d = Read(t);
  ASSERT_TRUE(d->HasExif());
  const TImageInfo& info = *d->ExifInfo;
  EXPECT_EQ(info.LookupTagValue("FNumber"), "F2,8");  // the separator comes from the setting
  EXPECT_EQ(info.LookupTagValue("Make"), "Canon...");
  EXPECT_EQ(info.CameraMake, "Canon...");
  EXPECT_EQ(info.LookupTagValue("Model"), "EOS 5D");
  EXPECT_EQ(info.CameraModel, "EOS 5D");
  EXPECT_EQ(info.FlashUsed, 25);
  EXPECT_EQ(std::pair(info.Width, info.Height), std::pair(4000, 3000));
  ASSERT_EQ(info.SizePairs.size(), 1u);
  EXPECT_EQ(info.SizePairs[0].Width.Format, 3);
  EXPECT_EQ(info.SizePairs[0].Height.Format, 4);
  // A sub-directory's tags come before the entry of its link.
  ASSERT_EQ(info.TagCount(), 7);
  EXPECT_EQ(info.Tags[0].Name, "Make");
  EXPECT_EQ(info.Tags[2].Name, "FNumber");
  EXPECT_EQ(info.Tags[2].Format, 5);
  EXPECT_EQ(info.Tags[2].Size, 8);
  EXPECT_EQ(info.Tags[2].Raw, Bytes({0, 0, 0, 28, 0, 0, 0, 10}));
  EXPECT_EQ(info.Tags[6].Name, "ExifOffset");
  EXPECT_EQ(info.TraceStr.substr(0, 33), "tag[$010F]: Make = Canon...\ntag[$");
}

TEST_F(ExifReader, FormatTypesAndTheirQuirks) {
  for (const bool mm : {false, true}) {
    SCOPED_TRACE(mm ? "MM" : "II");
    TiffBuilder t(mm);
    t.Add(0, 0x8827, 3, 2, t.U16(100) + t.U16(200));              // SHORT x2
    t.Add(0, 0x9203, 8, 1, t.U16(0xFFFF));                         // SSHORT -1 reads 65535
    t.Add(0, 0x9206, 9, 1, t.U32(0xFFFFFFFF));                     // SLONG -1
    t.Add(0, 0x0116, 4, 1, t.U32(4000000000u));                    // LONG above 2^31 reads negative
    t.Add(0, 0x9204, 10, 1, t.Rational(static_cast<uint32_t>(-1), 3));  // SRATIONAL
    t.Add(0, 0x0118, 1, 3, std::string("\x01\x02\xFF", 3));        // BYTE x3
    t.Add(0, 0x0119, 6, 1, std::string("\xFF", 1));                // SBYTE -1 reads 255
    t.Add(0, 0x9102, 11, 1, t.U32(0x3F800000));                    // FLOAT
    t.Add(0, 0x9214, 12, 1, std::string(8, '\0'));                 // DOUBLE
    t.Add(0, 0x9000, 7, 4, "0230");                                // UNDEFINED
    t.Add(0, 0xA000, 7, 6, std::string("01\0" "00\0", 6));         // undefined up to the first NUL
    t.Add(0, 0x0112, 3, 1, t.U16(2));                              // not in its decode list
    t.Add(0, 0x0128, 3, 1, t.U16(3));
    t.Add(0, 0x011A, 5, 1, t.Rational(300, 1));
    t.Add(0, 0xA001, 3, 1, t.U16(1));
    t.Add(0, 0x1234, 3, 1, t.U16(7));                              // unknown tag
    t.Add(0, 0x0117, 0, 1, t.U32(1));                              // format 0: skipped
    t.Add(0, 0x0117, 13, 1, t.U32(1));                             // format 13: skipped
    t.Add(0, 0x0115, 3, 0, "");                                    // no elements: skipped
    t.Add(0, 0x9C9C, 1, 4, std::string("\xE4\0\0\0", 4));         // XP text, one Latin-1 character
    t.Add(0, 0x9286, 7, 16, std::string("ASCII\0\0\0  abc\0\0\0", 16));
    auto d = Read(t);
    const TImageInfo& info = *d->ExifInfo;
    for (const auto& [tag, value] : {std::pair<const char*, std::string>{"ISOSpeedRatings", "100, 200"},
                                     {"BrightnessValue", "65535"}, {"SubjectDistance", "-1"},
                                     {"RowsPerStrip", "-294967296"}, {"ExposureBiasValue", "-1/3"},
                                     {"MinSampleValue", "1, 2, 255"}, {"MaxSampleValue", "255"},
                                     {"CompressedBitsPerPixel", "-9999.99"}, {"SubjectLocation", "-9999.99"},
                                     {"ExifVersion", "\"0230\""}, {"Comments", "\xC3\xA4"}})
      EXPECT_EQ(info.LookupTagValue(tag), value) << tag;
    EXPECT_EQ(info.ExifVersion, "0230");
    EXPECT_EQ(info.UserComment, "abc");
    EXPECT_EQ(info.LookupTagValue("FlashPixVersion"), "\"01\"");
    EXPECT_EQ(info.LookupTagValue("Orientation"), "");
    EXPECT_GE(info.LookupTag("Orientation"), 0);
    EXPECT_EQ(info.LookupTagValue("ResolutionUnit"), "Centimeter");
    EXPECT_EQ(info.LookupTagValue("XResolution"), "300.00");
    EXPECT_EQ(info.LookupTagValue("ColorSpace"), "sRGB");
    EXPECT_EQ(info.LookupTag("Unknown"), -1);
    EXPECT_EQ(info.LookupTag("StripByteCounts"), -1);
    EXPECT_EQ(info.LookupTag("SamplesPerPixel"), -1);
    EXPECT_NE(info.TraceStr.find("tag[$1234]: Unknown = 7\n"), std::string::npos);
    EXPECT_EQ(info.GetNumericTagValue("ExposureBiasValue"), -1.0 / 3);
    EXPECT_EQ(info.GetNumericTagValue("CompressedBitsPerPixel"), 1.0);
    // Two SHORTs read as one 32-bit number in the block's order.
    EXPECT_EQ(info.GetNumericTagValue("ISOSpeedRatings"), mm ? 100 * 65536 + 200 : 200 * 65536 + 100);
    EXPECT_EQ(info.GetNumericTagValue("Absent"), 0);
  }
}

TEST_F(ExifReader, LongTextsShowTheirFirst50Characters) {
  std::string utf8, umlauts50, latin;
  for (int i = 0; i < 300; ++i) utf8 += "\xC3\xA4";
  for (int i = 0; i < 50; ++i) umlauts50 += "\xC3\xA4";
  latin.assign(300, '\xE4');
  TiffBuilder t(false);
  t.Ascii(0, 0x013B, utf8);
  t.Ascii(0, 0x8298, latin);
  t.Ascii(0, 0x010E, "a" + utf8);  // the cut falls inside a character
  auto d = Read(t);
  EXPECT_EQ(d->ExifInfo->LookupTagValue("Artist"), umlauts50);
  EXPECT_EQ(d->ExifInfo->LookupTagValue("Copyright"), umlauts50);
  EXPECT_EQ(d->ExifInfo->LookupTagValue("ImageDescription"), "a" + umlauts50.substr(0, 98));
}

TEST_F(ExifReader, NumberFormattingRules) {
  // FormatString with a number: the first rational, or 0 for a zero denominator.
  EXPECT_EQ(FormatNumber(std::string("\0\0\0\0\0\0\0\0", 8), 5, "F%0.1f", "", false), "F0.0");
  EXPECT_EQ(FormatNumber(Bytes({28, 0, 0, 0, 10, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}), 5, "F%0.1f", "", false), "F2.8");
  EXPECT_EQ(FormatNumber(Bytes({0, 0, 0, 1, 0, 0, 0, 60}), 5, "%s sec", "", true), "1/60 sec");
  // Integer values with a numeric pattern: the whole raw value as one number.
  EXPECT_EQ(FormatNumber(Bytes({0, 85}), 3, "%5.2f mm", "", true), "85.00 mm");
  EXPECT_EQ(FormatNumber(Bytes({1, 2}), 0, "", "", false), "0");
  EXPECT_EQ(FormatNumber(Bytes({1, 2}), 2, "", "", false), "?, ?");
  // At most 128 elements.
  const std::string many = FormatNumber(std::string(200, '\x07'), 1, "", "", false);
  EXPECT_EQ(std::count(many.begin(), many.end(), '7'), 128);
  // Decode lists.
  EXPECT_EQ(DecodeValue("3", "1:Normal,3:Rotated 180°"), "Rotated 180°");
  EXPECT_EQ(DecodeValue(" 1 ", "1:Normal,3:Rotated 180°"), "Normal");
  EXPECT_EQ(DecodeValue("2", "1:Normal,3:Rotated 180°"), "");
  EXPECT_EQ(DecodeValue("1", "11:a,1:b"), "b");
  // Rounding of the fixed patterns: exact ties go to even.
  EXPECT_EQ(FormatPattern("%0.2f", {0.125}), "0.12");
  EXPECT_EQ(FormatPattern("%0.2f", {0.375}), "0.38");
  EXPECT_EQ(FormatPattern("%0.0f|%0.0f", {2.5, 3.5}), "2|4");
  EXPECT_EQ(FormatPattern("%d%%", {int64_t{42}}), "42%");
  EXPECT_EQ(FormatPattern("%s und %s", {std::string("a")}), "a und ");
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
}

// The formatters run on every picture's values, though no caption shows
// them: degenerate and malformed values come out without a fault.
TEST_F(ExifReader, FormattersTakeMalformedValues) {
  EXPECT_EQ(FormatComponentsConfiguration("\"\""), "");
  EXPECT_EQ(FormatShutterSpeed("1/0"), "1/0");
  EXPECT_EQ(FormatShutterSpeed("6 1/2"), "0.0110 sec (1/91)");
  EXPECT_EQ(FormatFlash("95"), "On, strobe return, auto mode, red-eye reduction");
  EXPECT_EQ(FormatXpText("228, 0, 0, 0, 98, 0"), "\xC3\xA4" "b");
  EXPECT_EQ(FormatGpsCoordinate("0/0, 0/0, 0/0"), "0 Degrees 0 Minutes 0 Seconds");
  EXPECT_EQ(FormatGpsTime("12, 34, 56"), "12, 34, 56");
  EXPECT_EQ(FormatGpsTime("12/1, 34/1"), "12/1, 34/1");
  EXPECT_EQ(FormatGpsCoordinate("48/1, 8/1, 15"), "48/1, 8/1, 15");
}

TEST_F(ExifReader, ImageDateTimeOrderAndValidity) {
  const auto dated = [](const char* dt, const char* original, const char* digitized) {
    TiffBuilder t(false);
    if (dt) t.Ascii(0, 0x0132, dt);
    const int exif = t.AddDir();
    t.Link(0, 0x8769, exif);
    if (original) t.Ascii(exif, 0x9003, original);
    if (digitized) t.Ascii(exif, 0x9004, digitized);
    TimgData d;
    d.ReadJpegSections(Soi() + t.App1() + ScanTail());
    return d.ExifInfo->GetImgDateTime();
  };
  const double day = 45122;  // 2023-07-15
  EXPECT_DOUBLE_EQ(dated("2023:07:15 08:00:00", "2023:07:14 15:30:45", nullptr), day + 8.0 / 24);
  EXPECT_DOUBLE_EQ(dated(nullptr, "2023:07:14 15:30:45", "2023:07:15 08:00:00"),
                   day - 1 + (15 * 3600 + 30 * 60 + 45) / 86400.0);
  EXPECT_DOUBLE_EQ(dated(nullptr, nullptr, "2023:07:15 08:00:00"), day + 8.0 / 24);
  EXPECT_DOUBLE_EQ(dated("2024:02:29 00:00:00", nullptr, nullptr), 45351);
  // The first date present decides; an invalid one gives 0.
  EXPECT_EQ(dated("0000:00:00 00:00:00", "2023:07:14 15:30:45", nullptr), 0);
  for (const char* bad : {"2023:02:29 12:00:00", "2023:13:01 12:00:00", "2023:07:15 24:00:00", "2023:07:15 23:60:00",
                          "2023:07:1x 12:00:00", "    :  :     :  :  ", "2023:07:15" /* shorter than 19 */})
    EXPECT_EQ(dated(bad, nullptr, nullptr), 0) << bad;
  EXPECT_EQ(dated(nullptr, nullptr, nullptr), 0);
  // And back into its parts.
  const DateTimeParts p = DecodeDateTime(dated(nullptr, "2023:07:14 15:30:45", nullptr));
  EXPECT_EQ(std::vector<int>({p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second}),
            std::vector<int>({2023, 7, 14, 15, 30, 45}));
  const DateTimeParts leap = DecodeDateTime(45351 + 86399 / 86400.0);
  EXPECT_EQ(std::vector<int>({leap.Year, leap.Month, leap.Day, leap.Hour, leap.Minute, leap.Second}),
            std::vector<int>({2024, 2, 29, 23, 59, 59}));
  const DateTimeParts start = DecodeDateTime(0);
  EXPECT_EQ(std::vector<int>({start.Year, start.Month, start.Day}), std::vector<int>({1899, 12, 30}));
}

TEST_F(ExifReader, FocalLength35mmEstimate) {
  const auto build = [](bool withUnit, uint32_t resolutionUnit) {
    TiffBuilder t(false);
    t.Short(0, 0x0128, resolutionUnit);
    t.Long(0, 0xA002, 4000);
    t.Long(0, 0xA003, 3000);
    t.Rat(0, 0x920A, 50, 1);
    t.Rat(0, 0xA20E, 5000, 1);
    t.Rat(0, 0xA20F, 5000, 1);
    if (withUnit) t.Short(0, 0xA210, 2);
    return t;
  };
  // 4000 x 3000 at 5000 dots per inch: a 20.32 x 15.24 mm sensor, diagonal 25.4 mm.
  auto d = Read(build(true, 1));
  EXPECT_EQ(d->ExifInfo->LookupTagValue("FocalLengthin35mmFilm"), "85.17");
  const TTagEntry e = d->ExifInfo->GetTagByName("FocalLengthin35mmFilm");
  EXPECT_EQ(e.FormatString, "%s mm");
  EXPECT_EQ(e.Format, 10);
  // Without the focal-plane unit, the resolution unit stands in (3 = cm):
  // an 8 x 6 mm sensor.
  EXPECT_EQ(Read(build(false, 3))->ExifInfo->LookupTagValue("FocalLengthin35mmFilm"), "216.33");
  EXPECT_EQ(Read(build(false, 1))->ExifInfo->LookupTag("FocalLengthin35mmFilm"), -1);
  // A stored value is kept.
  TiffBuilder stored = build(true, 2);
  stored.Short(0, 0xA405, 85);
  EXPECT_EQ(Read(stored)->ExifInfo->LookupTagValue("FocalLengthin35mmFilm"), "85.00 mm");
}

TEST_F(ExifReader, CraftedDirectoriesEndSafely) {
  // A loop of links: IFD0 -> Exif -> Interop -> IFD0, and a self link.
  TiffBuilder loop(false);
  const int a = loop.AddDir(), b = loop.AddDir();
  loop.Ascii(0, 0x010F, "Canon");
  loop.Link(0, 0x8769, a);
  loop.Link(a, 0xA005, b);
  loop.Link(b, 0x014A, 0);
  loop.Link(b, 0x8769, b);
  auto d = Read(loop);
  EXPECT_EQ(d->ExifInfo->TagCount(), 5);
  EXPECT_EQ(d->ExifInfo->LookupTag("Make"), 0);

  // A long chain of sub-directories is followed only a few levels deep.
  TiffBuilder chain(true);
  int prev = 0;
  for (int i = 1; i <= 20; ++i) {
    const int next = chain.AddDir();
    chain.Short(next, 0x8827, static_cast<uint32_t>(i));
    chain.Link(prev, 0x014A, next);
    prev = next;
  }
  auto c = Read(chain);
  EXPECT_EQ(c->ExifInfo->LookupTagValue("ISOSpeedRatings"), "1");
  int isoEntries = 0;
  for (const auto& e : c->ExifInfo->Tags) isoEntries += e.Name == "ISOSpeedRatings";
  EXPECT_EQ(isoEntries, 8);

  // Counts, offsets and links that point outside the block.
  TiffBuilder wild(false);
  wild.Ascii(0, 0x010F, "Canon");
  wild.RawOffsetEntry(0, 0x0110, 2, 40, 0xFFFFFFF0u);  // ASCII value outside
  wild.RawOffsetEntry(0, 0x829D, 5, 0x20000000, 30);   // huge count
  wild.RawOffsetEntry(0, 0x8769, 4, 1, 0x7FFFFFF0u);   // link outside
  wild.RawOffsetEntry(0, 0x8825, 4, 1, 0xFFFFFFFFu);   // GPS link outside
  auto w = Read(wild);
  EXPECT_EQ(w->ExifInfo->LookupTagValue("Make"), "Canon");
  EXPECT_EQ(w->ExifInfo->LookupTagValue("Model"), "");
  EXPECT_EQ(w->ErrorText, "Illegally sized directory");

  // A directory whose entries run past the data.
  std::string payload = TiffBuilder(false).ExifPayload();
  payload[6 + 8] = '\x50';  // 80 entries in a block that has room for none
  TimgData big;
  EXPECT_TRUE(big.ReadJpegSections(Soi() + Segment(0xE1, payload) + Segment(0xFE, "k")));
  EXPECT_EQ(big.ErrorText, "Illegally sized directory");
  EXPECT_EQ(big.ExifInfo->TagCount(), 0);

  // A block too short to hold its own header.
  TimgData tiny;
  tiny.ReadJpegSections(Soi() + Segment(0xE1, std::string("Exif\0\0II", 8)));
  EXPECT_EQ(tiny.ErrorText, "Illegally sized directory");
}

TEST_F(ExifReader, BuildCodes) {
  TiffBuilder t(false);
  t.Ascii(0, 0x010F, "Canon");
  t.Ascii(0, 0x0132, "2023:07:15 08:00:00");
  auto textsOnly = Read(t, 2);
  EXPECT_EQ(textsOnly->ExifInfo->TagCount(), 0);
  EXPECT_EQ(textsOnly->ExifInfo->CameraMake, "Canon");
  EXPECT_EQ(textsOnly->ExifInfo->DateTime, "2023:07:15 08:00:00");
  EXPECT_NE(textsOnly->ExifInfo->TraceStr.find("Make = Canon"), std::string::npos);
  auto listOnly = Read(t, 4);
  EXPECT_EQ(listOnly->ExifInfo->TagCount(), 2);
  EXPECT_EQ(listOnly->ExifInfo->LookupTagValue("Make"), "");
  EXPECT_EQ(listOnly->ExifInfo->CameraMake, "");
  EXPECT_DOUBLE_EQ(listOnly->ExifInfo->GetImgDateTime(), 45122 + 8.0 / 24);
}

}  // namespace
}  // namespace mosaik::imaging
