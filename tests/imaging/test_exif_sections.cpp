// The section walk over hand-built JPEG headers, and ProcessFile's results.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "imaging/ImgData.h"
#include "ExifTestData.h"

namespace mosaik::imaging {
namespace {
using namespace testdata;

std::string Dqt() { return Segment(0xDB, std::string(65, '\x01')); }

TEST(JpegSections, WhichSectionIsWhich) {
  TiffBuilder t(true);
  t.Ascii(0, 0x0110, "Modell");
  const std::string jfif = Segment(0xE0, std::string("JFIF\0\1\2\1\0\1\0\1\0\0", 14));
  const std::string jfxx = Segment(0xE0, std::string("JFXX\0\x10", 6));
  const std::string xmp = Segment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0<x/>", 34));
  const std::string iptc = Segment(0xED, std::string("Photoshop 3.0\0" "8BIM", 18));
  const std::string four = Dqt() + Dqt() + Dqt() + Dqt();
  const std::string icc = Segment(0xE2, std::string("ICC_PROFILE\0\1\3", 14) + std::string(200, 'p'));
  struct Case {
    std::string file;
    bool read;
    int sections, header, exif, iptc, comment;
    std::string text;
  };
  const Case cases[] = {
      // The scan (stored) ends the walk.
      {Soi() + jfif + t.App1() + Dqt() + ScanTail() + Segment(0xFE, "nach dem Scan"), true, 4, 1, 2, 0, 0, ""},
      // Every section before the picture data is read: an image editor's
      // JFIF, a profile in three chunks and XMP before the EXIF block.
      {Soi() + jfif + icc + icc + icc + xmp + t.App1() + iptc + Segment(0xFE, "x") + ScanTail(), true, 9, 1, 6, 7, 8,
       "x"},
      // With a comment among the first four, the walk goes on past the fifth.
      {Soi() + Dqt() + Segment(0xFE, "c") + four + Segment(0xFE, "d") + ScanTail(), true, 8, 0, 0, 0, 7, "d"},
      // Only an APP1 holding "Exif\0\0" is the EXIF block, wherever it comes
      // (XMP often comes first); any other APP1 is kept as it is.
      {Soi() + t.App1() + xmp + Segment(0xFE, "k") + ScanTail(), true, 4, 0, 1, 0, 3, "k"},
      {Soi() + xmp + Segment(0xE1, "Exif") + t.App1() + Segment(0xFE, "k") + ScanTail(), true, 5, 0, 3, 0, 4, "k"},
      {Soi() + Segment(0xFE, "k") + four + xmp + t.App1(), true, 7, 0, 7, 0, 1, "k"},
      // A later APP0 or comment replaces the reference; the first APP13 stays.
      {Soi() + jfif + Segment(0xFE, "a") + iptc + jfxx + iptc + Segment(0xFE, "b") + ScanTail(), true, 7, 4, 0, 3, 6, "b"},
  };
  for (const Case& c : cases) {
    TimgData d;
    EXPECT_EQ(d.ReadJpegSections(c.file), c.read) << c.sections;
    EXPECT_EQ(d.SectionCount(), c.sections);
    EXPECT_EQ(d.HeaderSegment, c.header);
    EXPECT_EQ(d.ExifSegment, c.exif);
    EXPECT_EQ(d.IptcSegment, c.iptc);
    EXPECT_EQ(d.CommentSegment, c.comment);
    EXPECT_EQ(d.GetCommentText(), c.text);
    EXPECT_EQ(d.ErrorText, "");
    EXPECT_EQ(d.ExifInfo != nullptr, c.exif > 0);
    if (c.exif > 0) {
      EXPECT_EQ(d.Sections[static_cast<size_t>(c.exif - 1)].Data, t.App1().substr(2));
      EXPECT_EQ(d.ExifInfo->LookupTagValue("model"), "Modell");
    }
  }
  // Data holds the length bytes and the payload; Size is the length field.
  TimgData one;
  one.ReadJpegSections(Soi() + Segment(0xFE, "abc"));
  EXPECT_EQ(one.Sections[0].Size, 5);
  EXPECT_EQ(one.Sections[0].Data, Bytes({0, 5}) + "abc");

  // A wrong byte-order mark.
  std::string payload = t.ExifPayload();
  payload[6] = 'X';
  TimgData badOrder;
  EXPECT_TRUE(badOrder.ReadJpegSections(Soi() + Segment(0xE1, payload) + Segment(0xFE, "k")));
  EXPECT_EQ(badOrder.ErrorText, "Invalid Exif alignment marker");
  EXPECT_EQ(badOrder.ExifInfo->TagCount(), 0);
  EXPECT_EQ(badOrder.GetCommentText(), "k");
}

TEST(JpegSections, WalkEndsAndCommentTexts) {
  std::string many = Soi() + Segment(0xFE, "eins");
  for (int i = 0; i < 25; ++i) many += Dqt();
  many += Segment(0xFE, "zwei") + ScanTail();
  std::string endless = Soi();
  for (int i = 0; i < TimgData::kMaxSections; ++i) endless += Segment(0xEF, "");
  endless += Segment(0xFE, "nie");
  const std::string utf8 = "Gr\xC3\xBC\xC3\x9F" "e";
  const std::string cp1252 = "Gr\xFC\xDF" "e \x80";
  const std::string nul("a\0b\0\0", 5);
  struct Case {
    std::string file;
    bool read;
    int sections;
    std::string text, bytes;
  };
  const Case cases[] = {
      // Fill bytes before a marker are skipped.
      {Soi() + Bytes({0xFF, 0xFF, 0xFF}) + Segment(0xFE, "abc") + ScanTail(), true, 2, "abc", "abc"},
      // Every section up to the scan is read, however many (a crafted
      // stream of empty ones ends at the bound).
      {many, true, 28, "zwei", "zwei"},
      {endless, false, TimgData::kMaxSections, "", ""},
      // A length field below 2 ends the walk, keeping what was read.
      {Soi() + Segment(0xFE, "k") + Bytes({0xFF, 0xE2, 0x00, 0x01}) + Segment(0xFE, "nie"), true, 1, "k", "k"},
      {Soi() + Bytes({0xFF, 0xE2, 0x00, 0x00}), false, 0, "", ""},
      // The end of the stream reads as marker 0 with length 0 and ends the walk.
      {Soi() + Segment(0xFE, "k"), true, 1, "k", "k"},
      // A stream ending inside a section leaves the rest of its data unfilled.
      {Soi() + Bytes({0xFF, 0xFE, 0x00, 0x0A}) + "abc", true, 1, "abc", "abc" + std::string(5, '\0')},
      // Not a JPEG stream at all.
      {"\x89PNG\r\n", false, 0, "", ""},
      {"", false, 0, "", ""},
      // UTF-8 stays, anything else is Windows-1252; a terminating NUL is no
      // part of the text, one inside stays.
      {Soi() + Segment(0xFE, utf8) + ScanTail(), true, 2, utf8, utf8},
      {Soi() + Segment(0xFE, cp1252) + ScanTail(), true, 2, utf8 + " \xE2\x82\xAC", cp1252},
      {Soi() + Segment(0xFE, nul) + ScanTail(), true, 2, nul.substr(0, 3), nul},
  };
  for (const Case& c : cases) {
    TimgData d;
    EXPECT_EQ(d.ReadJpegSections(c.file), c.read) << c.bytes;
    EXPECT_EQ(d.SectionCount(), c.sections) << c.bytes;
    EXPECT_EQ(d.GetCommentText(), c.text);
    EXPECT_EQ(d.GetCommentBytes(), c.bytes);
  }
}

TEST(JpegSections, ProcessFileResults) {
  TempOrdner dir;
  const std::string withComment = Soi() + Segment(0xFE, "Hallo") + ScanTail();
  const std::string badExif = Soi() + Segment(0xE1, std::string("Exif\0\0ZZ", 8)) + Segment(0xFE, "k") + ScanTail();
  const std::string tiffHeader("II*\0\x08\0\0\0", 8);
  struct Case {
    const char* name;
    std::string bytes;
    bool read;
    const char* error;
    const char* comment;
    int tags;  // -1: no EXIF block
  };
  const Case cases[] = {
      {"bild.png", withComment, false, "Not an EXIF file", "", -1},
      {"bild.tif", withComment, false, "Not an EXIF file", "", -1},
      {"leer.jpg", Soi() + Dqt() + ScanTail(), false, "Not an EXIF file", "", -1},
      {"a.jpg", withComment, true, "<none>", "Hallo", -1},
      {"b.JPEG", withComment, true, "<none>", "Hallo", -1},
      {"c.Jpe", withComment, true, "<none>", "Hallo", -1},
      // A broken EXIF block: the file still counts as read.
      {"kaputt.jpg", badExif, true, "<none>", "k", 0},
      {"a.tif", std::string("XX*\0\x08\0\0\0", 8), false, "Not an EXIF file", "", -1},
      {"b.tif", "I", false, "Not an EXIF file", "", -1},
      {"c.png", tiffHeader, false, "Not an EXIF file", "", -1},
      // A valid header is enough; a directory that is not there is skipped.
      {"d.tif", tiffHeader, true, "<none>", "", 0},
  };
  // By path, and at the place a resolver reached.
  for (const bool amOrt : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (amOrt ? " am Ort" : ""));
      TimgData d;
      const std::string path = dir.ablegen(c.name, c.bytes);
      EXPECT_EQ(amOrt ? d.ProcessFile(fs::resolve(path, true), path) : d.ProcessFile(path), c.read);
      EXPECT_EQ(d.ErrorText, c.error);
      EXPECT_EQ(d.GetCommentText(), c.comment);
      EXPECT_EQ(d.ExifInfo ? d.ExifInfo->TagCount() : -1, c.tags);
      EXPECT_EQ(d.FileName, path);
      EXPECT_EQ(d.FileSize, static_cast<int64_t>(c.bytes.size()));
      EXPECT_GT(d.FileDateTime, 40000.0);
    }
  }

  // A pipe where a picture was is never waited on (the alarm only ends the
  // test if it were); at a place, neither a pipe nor a link put at its name
  // since it was reached is read.
  ASSERT_EQ(::mkfifo((dir.pfad() + "rohr.jpg").c_str(), 0644), 0);
  ASSERT_EQ(::symlink("a.jpg", (dir.pfad() + "link.jpg").c_str()), 0);
  const fs::Place ordner = fs::resolve(dir.pfad(), true);
  ::alarm(20);
  EXPECT_FALSE(TimgData().ProcessFile(dir.pfad() + "rohr.jpg"));
  for (const char* name : {"rohr.jpg", "link.jpg"}) {
    TimgData d;
    EXPECT_FALSE(d.ProcessFile(fs::resolveIn(ordner, name, false), name)) << name;
    EXPECT_FALSE(d.HasComment()) << name;
  }
  ::alarm(0);

  // A missing file is no error; every read starts afresh.
  TimgData d;
  ASSERT_TRUE(d.ProcessFile(dir.pfad() + "kaputt.jpg"));
  EXPECT_FALSE(d.ProcessFile(dir.pfad() + "fehlt.jpg"));
  EXPECT_EQ(d.ErrorText, "");
  EXPECT_FALSE(d.HasExif());
  EXPECT_FALSE(d.HasComment());
  EXPECT_EQ(d.SectionCount(), 0);
  EXPECT_FALSE(d.ExifInfo);
}

}  // namespace
}  // namespace mosaik::imaging
