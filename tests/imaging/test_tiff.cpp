// TIFF containers and GPS directories: files made with ImageMagick and
// exiftool (tests/data/tiff, tests/data/iptc/gps.jpg; values as exiftool
// reports them) and TIFF layouts built here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/ExifTestData.h"
#include "imaging/ImgData.h"
#include "imaging/NumberFormat.h"

namespace mosaik::imaging {
namespace {

std::string Data(const std::string& name) { return std::string(MOSAIK_TEST_DATA) + "/" + name; }

class TiffFiles : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator('.'); }
  void TearDown() override { SetDecimalSeparator(','); }
};

}  // namespace

TEST_F(TiffFiles, BothByteOrdersAndTheRawExtension) {
  testdata::TempOrdner dir;
  struct Case {
    std::string path;
    bool motorola;
  };
  for (const Case& c : {Case{Data("tiff/le.tif"), false}, Case{Data("tiff/be.tif"), true},
                        Case{dir.ablegen("roh.NEF", testdata::ReadFileBytes(Data("tiff/le.tif"))), false},
                        Case{dir.ablegen("bild.tiff", testdata::ReadFileBytes(Data("tiff/be.tif"))), true}}) {
    SCOPED_TRACE(c.path);
    TimgData d(255);
    ASSERT_TRUE(d.ProcessFile(c.path));
    EXPECT_EQ(d.ErrorText, "<none>");
    EXPECT_FALSE(d.TiffMode);  // only while reading
    EXPECT_EQ(d.MotorolaOrder, c.motorola);
    EXPECT_TRUE(d.HasExif());
    EXPECT_FALSE(d.HasComment());
    EXPECT_EQ(d.SectionCount(), 1);
    ASSERT_NE(d.ExifInfo, nullptr);
    const TImageInfo& info = *d.ExifInfo;
    EXPECT_TRUE(info.TiffMode);
    EXPECT_EQ(info.ThumbnailStart, 0);
    // From the first directory and from those it links.
    for (const auto& [tag, value] : {std::pair<const char*, std::string>{"Make", "Testkamera"},
                                     {"Model", "TIFF Modell"}, {"StripOffsets", "622"}, {"FNumber", "F8.0"},
                                     {"GPSLatitudeRef", "N"}})
      EXPECT_EQ(info.LookupTagValue(tag), value) << tag;
    EXPECT_EQ(info.Width, 6);
    EXPECT_EQ(info.Height, 4);
    const DateTimeParts t = DecodeDateTime(info.GetImgDateTime());
    EXPECT_EQ((std::vector<int>{t.Year, t.Month, t.Day, t.Hour, t.Minute}), (std::vector<int>{2022, 12, 24, 18, 30}));
    // Derived JPEG files never get the TIFF bytes as an EXIF section.
    const std::string head = d.WriteSegments();
    EXPECT_EQ(head.substr(0, 4), "\xFF\xD8\xFF\xE0");
    EXPECT_EQ(head.find("Testkamera"), std::string::npos);
  }
}

TEST_F(TiffFiles, CutInsideTheValueArea) {
  testdata::TempOrdner dir;
  TimgData d(255);
  // The directory is read, the cut values are empty or short.
  const std::string le = testdata::ReadFileBytes(Data("tiff/le.tif"));
  ASSERT_TRUE(d.ProcessFile(dir.ablegen("e.tif", le.substr(0, 300))));
  EXPECT_EQ(d.ExifInfo->LookupTagValue("ImageWidth"), "6");
  EXPECT_EQ(d.ExifInfo->LookupTagValue("FNumber"), "");
}

TEST_F(TiffFiles, FirstDirectoryWhereTheHeaderSaysAndLinksGuarded) {
  // A first directory behind 300000 bytes of image data: found through the
  // header's offset, past the normal read limit.
  const uint32_t at = 300000;
  testdata::TiffBuilder far(false);
  far.FirstDirectoryAt(at);
  far.Ascii(0, 0x010F, "Weit");
  far.Link(0, 0x014A, 0);  // SubIFDs linking back to this directory
  TimgData d(255);
  ASSERT_TRUE(d.ReadTiffSections(far.Build()));
  EXPECT_EQ(d.ExifInfo->LookupTagValue("Make"), "Weit");
  EXPECT_EQ(d.ExifInfo->LookupTag("SubIFDs"), 1);

  // A directory inside the limit whose value lies past it: the value is not
  // read, and only the normal limit was taken.
  testdata::TiffBuilder nearby(false);
  nearby.RawOffsetEntry(0, 0x010F, 2, 5, at);
  std::string near = nearby.Build();
  near.resize(at, '\0');
  near += std::string("Fern", 5);
  ASSERT_TRUE(d.ReadTiffSections(near));
  EXPECT_EQ(d.Sections[0].Data.size(), static_cast<size_t>(TimgData::kTiffReadLimit));
  EXPECT_EQ(d.ExifInfo->LookupTagValue("Make"), "");

  // Header offset 0: the directory right after the header.
  testdata::TiffBuilder t(true);
  t.Ascii(0, 0x0110, "Null");
  std::string zero = t.Build();
  zero.replace(4, 4, std::string(4, '\0'));
  ASSERT_TRUE(d.ReadTiffSections(zero));
  EXPECT_EQ(d.ExifInfo->LookupTagValue("Model"), "Null");
}

TEST_F(TiffFiles, GpsDirectoryOfAJpeg) {
  TimgData d(255);
  ASSERT_TRUE(d.ProcessFile(Data("iptc/gps.jpg")));
  const TImageInfo& info = *d.ExifInfo;
  EXPECT_EQ(info.LookupTagValue("FNumber"), "F5.6");
  EXPECT_EQ(info.LookupTagValue("GPSLatitudeRef"), "N");
  // 53° 32' 45.96" and 9° 57' 57.96": seconds without decimals.
  for (const auto& [tag, value] :
       {std::pair<const char*, std::string>{"GPSLatitude", "53 Degrees 32 Minutes 46 Seconds"}, {"GPSLongitudeRef", "E"},
        {"GPSLongitude", "9 Degrees 57 Minutes 58 Seconds"}, {"GPSAltitudeRef", "0"}, {"GPSAltitude", "25/2"},
        {"GPSTimeStamp", "19:5:7"}, {"GPSDateStamp", "2023:06:14"}, {"GPSMapDatum", "WGS-84"},
        {"GPSImageDirectionRef", "T"}, {"GPSImageDirection", "541/2"}})
    EXPECT_EQ(info.LookupTagValue(tag), value) << tag;
  const TTagEntry& lat = info.Tags[static_cast<size_t>(info.LookupTag("GPSLatitude"))];
  EXPECT_EQ(lat.TableId, kGpsTable);
  EXPECT_EQ(lat.Tag, 2);
  EXPECT_EQ(lat.Format, 5);
  EXPECT_EQ(lat.Raw.size(), 24u);
}

}  // namespace mosaik::imaging
