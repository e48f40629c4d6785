// Files made once with common tools (see tests/data/jpeg); the expected
// values are those the tools report, written down by hand.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "imaging/ImgData.h"
#include "imaging/NumberFormat.h"

namespace mosaik::imaging {
namespace {

std::string Data(const char* name) { return std::string(MOSAIK_TEST_DATA) + "/jpeg/" + name; }

class ExifFiles : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator('.'); }
  void TearDown() override { SetDecimalSeparator(','); }
};

TEST_F(ExifFiles, ExifInBothByteOrders) {
  struct Case {
    const char* file;
    bool motorola;
    const char* focal;
  };
  for (const Case& c : {Case{"exif-le.jpg", false, "78.00 mm"}, Case{"exif-be.jpg", true, " 7.80 mm"}}) {
    SCOPED_TRACE(c.file);
    TimgData d(255);
    ASSERT_TRUE(d.ProcessFile(Data(c.file)));
    EXPECT_EQ(d.ErrorText, "<none>");
    EXPECT_TRUE(d.HasExif());
    EXPECT_FALSE(d.HasComment());
    EXPECT_EQ(d.HeaderSegment, 1);
    EXPECT_EQ(d.ExifSegment, 2);
    EXPECT_EQ(d.SectionCount(), 10);  // APP0, APP1, 2 DQT, SOF0, 4 DHT, SOS
    const TImageInfo& i = *d.ExifInfo;
    EXPECT_EQ(i.MotorolaOrder, c.motorola);
    // The tags a caption shows (FNumber stored as 14/5).
    for (auto [tag, wert] : {std::pair<const char*, std::string>{"Make", "Canon"}, {"Model", "Canon EOS 5D"},
                             {"FNumber", "F2.8"}, {"ExposureTime", "1/60 sec"}, {"FocalLength", c.focal}})
      EXPECT_EQ(i.LookupTagValue(tag), wert) << tag;
    EXPECT_EQ(std::pair(i.Width, i.Height), std::pair(16, 12));
    EXPECT_EQ(i.DateTime, "2023:07:14 15:30:45");  // the original's, met after DateTime
    // DateTime (the modify date) comes first: 2023-07-15 08:00:00.
    EXPECT_DOUBLE_EQ(i.GetImgDateTime(), 45122 + 8.0 / 24);
  }
}

TEST_F(ExifFiles, WhatEachToolWritesBesideTheComment) {
  // The XMP block of the exiftool file is a second APP1, kept as it is.
  TimgData x(255);
  x.ProcessFile(Data("cm-exiftool.jpg"));
  EXPECT_EQ(x.Sections[2].Data.substr(2, 4), "http");
  // jhead's own EXIF block: its dates, and the link to the thumbnail directory.
  TimgData j(255);
  j.ProcessFile(Data("cm-jhead.jpg"));
  EXPECT_DOUBLE_EQ(j.ExifInfo->GetImgDateTime(), 46362 + (21 * 3600 + 7 * 60 + 55) / 86400.0);
  EXPECT_GT(j.ExifInfo->ThumbnailStart, 0);
}

TEST_F(ExifFiles, PicturesWithoutMetadata) {
  for (const char* f : {"base.jpg", "gray.jpg", "prog.jpg", "cmyk.jpg"}) {
    TimgData d(255);
    EXPECT_FALSE(d.ProcessFile(Data(f))) << f;
    EXPECT_EQ(d.ErrorText, "Not an EXIF file") << f;
    EXPECT_FALSE(d.HasExif());
  }
}

}  // namespace
}  // namespace mosaik::imaging
