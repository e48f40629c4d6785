// TIFF structures: files made with ImageMagick and exiftool (tests/data/tiff,
// tests/data/iptc/gps.jpg) for the values a caption shows, and layouts built
// here whose damage must end safely.
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

TEST_F(TiffFiles, BothByteOrders) {
  for (const auto& [name, motorola] : {std::pair<const char*, bool>{"tiff/le.tif", false}, {"tiff/be.tif", true}}) {
    SCOPED_TRACE(name);
    TimgData d(255);
    ASSERT_TRUE(d.ProcessFile(Data(name)));
    EXPECT_EQ(d.MotorolaOrder, motorola);
    ASSERT_NE(d.ExifInfo, nullptr);
    // From the first directory and from the one it links.
    EXPECT_EQ(d.ExifInfo->LookupTagValue("Make"), "Testkamera");
    EXPECT_EQ(d.ExifInfo->LookupTagValue("FNumber"), "F8.0");
    const DateTimeParts t = DecodeDateTime(d.ExifInfo->GetImgDateTime());
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

TEST_F(TiffFiles, GpsDirectoryOfAJpegReadBesideTheCaptionValues) {
  TimgData d(255);
  ASSERT_TRUE(d.ProcessFile(Data("iptc/gps.jpg")));
  EXPECT_EQ(d.ExifInfo->LookupTagValue("FNumber"), "F5.6");
  const TTagEntry& lat = d.ExifInfo->Tags[static_cast<size_t>(d.ExifInfo->LookupTag("GPSLatitude"))];
  EXPECT_EQ(lat.TableId, kGpsTable);
  EXPECT_EQ(lat.Raw.size(), 24u);
}

}  // namespace mosaik::imaging
