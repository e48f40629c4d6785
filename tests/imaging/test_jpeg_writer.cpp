// The metadata-keeping writer: section order and bytes, the comment
// section, size rewriting, comment round trips on files from common tools,
// and failed writes that must leave the original alone.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ExifTestData.h"
#include "imaging/ImgData.h"
#include "imaging/JpegCodec.h"
#include "imaging/JpegComments.h"

namespace mosaik::imaging {
namespace {
using namespace testdata;

const std::string kDefaultApp0Bytes =
    Bytes({0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x02, 0x01, 0x01, 0x2C, 0x01, 0x2C, 0x00, 0x00});
const std::string kJfif = Segment(0xE0, std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14));
const std::string kDqt = Segment(0xDB, std::string(65, '\x02'));


struct Seg {
  int marker;
  std::string body;  // length bytes and payload
};

// The leading sections of a stream, walked strictly; `rest` gets the bytes
// from where they end.
std::vector<Seg> Leading(const std::string& s, std::string* rest = nullptr) {
  std::vector<Seg> out;
  size_t p = 2;
  while (p + 4 <= s.size() && static_cast<unsigned char>(s[p]) == 0xFF) {
    const int marker = static_cast<unsigned char>(s[p + 1]);
    if (marker == 0xDA || marker == 0xD9) break;
    const size_t len = (static_cast<unsigned char>(s[p + 2]) << 8) | static_cast<unsigned char>(s[p + 3]);
    out.push_back(Seg{marker, s.substr(p + 2, len)});
    p += 2 + len;
  }
  if (rest) *rest = s.substr(p);
  return out;
}

TEST(JpegWriter, CommentSection) {
  TimgData d;
  d.MakeCommentSegment("");
  ASSERT_EQ(d.CommentSegment, 1);
  EXPECT_EQ(d.Sections[0].Marker, 0xFE);
  EXPECT_EQ(d.Sections[0].Size, 2);
  EXPECT_EQ(d.Sections[0].Data, Bytes({0x00, 0x02}));
  // Without EXIF and APP0: FF D8, the default JFIF header, the comment.
  EXPECT_EQ(d.WriteSegments(), Bytes({0xFF, 0xD8}) + kDefaultApp0Bytes + Bytes({0xFF, 0xFE, 0x00, 0x02}));

  d.MakeCommentSegment(std::string(300, 'x'));
  EXPECT_EQ(d.SectionCount(), 1);  // the slot is overwritten
  EXPECT_EQ(d.Sections[0].Data.substr(0, 2), Bytes({0x01, 0x2E}));
  EXPECT_EQ(d.Sections[0].Size, 302);

  // The longest comment a section holds, and one byte more.
  d.MakeCommentSegment(std::string(65533, 'y'));
  EXPECT_EQ(d.Sections[0].Data.substr(0, 2), Bytes({0xFF, 0xFF}));
  EXPECT_THROW(d.MakeCommentSegment(std::string(65534, 'z')), MetadataWriteError);
  EXPECT_EQ(d.Sections[0].Size, 65535);  // the refused text changed nothing
  // UTF-8 needs more bytes than characters: 32767 two-byte characters that
  // are not in Windows-1252 do not fit.
  std::string greek;
  for (int i = 0; i < 32767; ++i) greek += "\xCE\xB1";
  EXPECT_THROW(d.MakeCommentSegment(greek), MetadataWriteError);
}

TEST(JpegWriter, CommentEncodings) {
  struct Case {
    std::string text;
    std::string stored;
  };
  const Case cases[] = {
      {"Hallo", "Hallo"},
      {"Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC", "Gr\xFC\xDF" "e \x80"},          // Windows-1252
      {"Smile \xE2\x98\xBA \xC3\xBC", "Smile \xE2\x98\xBA \xC3\xBC"},           // not in Windows-1252: UTF-8
      {"\xC3\x83\xC2\xA4", "\xC3\x83\xC2\xA4"},  // its Windows-1252 form would read back as UTF-8
      {"Zeile 1\r\nZeile 2", "Zeile 1\r\nZeile 2"},
  };
  for (const Case& c : cases) {
    TimgData d;
    d.MakeCommentSegment(c.text);
    EXPECT_EQ(d.GetCommentBytes(), c.stored);
    TimgData back;
    back.ReadJpegSections(d.WriteSegments() + ScanTail());
    EXPECT_EQ(back.GetCommentText(), c.text);
  }
}

TEST(JpegWriter, SectionOrderAndEncoderStream) {
  TiffBuilder t(false);
  t.Ascii(0, 0x010F, "Canon");
  const std::string iptc = Segment(0xED, std::string("Photoshop 3.0\0" "8BIM\4\4", 20));
  const std::string original = Soi() + kJfif + t.App1() + iptc + Segment(0xFE, "alt") + kDqt + ScanTail();
  TimgData d;
  ASSERT_TRUE(d.ReadJpegSections(original));
  d.MakeCommentSegment("neu");
  // EXIF first (the APP0 is not written next to it), then IPTC, then the comment.
  const std::string head = Bytes({0xFF, 0xD8}) + t.App1() + iptc + Segment(0xFE, "neu");
  EXPECT_EQ(d.WriteSegments(), head);

  // An encoder's stream: its APP0 goes, everything after it stays.
  const std::string body = kDqt + Segment(0xC0, std::string(15, '\x01')) + ScanTail();
  EXPECT_EQ(d.BuildExifJpeg(Soi() + kJfif + body), head + body);
  // Without an APP0 in the stream nothing is dropped.
  EXPECT_EQ(d.BuildExifJpeg(Soi() + body), head + body);
  // An APP0 after other sections of the stream stays where it is.
  const std::string app2 = Segment(0xE2, "ICC_PROFILE");
  EXPECT_EQ(d.BuildExifJpeg(Soi() + app2 + kJfif + body), head + app2 + kJfif + body);
  // Comments before the scan go, wherever they are; one after it stays.
  EXPECT_EQ(d.BuildExifJpeg(Soi() + kJfif + Segment(0xFE, "a") + kDqt + Segment(0xFE, "b") + ScanTail() +
                            Segment(0xFE, "c")),
            head + kDqt + ScanTail() + Segment(0xFE, "c"));
  // Not a JPEG stream.
  EXPECT_THROW(d.BuildExifJpeg("GIF89a"), MetadataWriteError);

  // A source with an APP0 and no EXIF: its APP0 is written, the stream's goes.
  const std::string app0 = Segment(0xE0, std::string("JFIF\0\1\2\1\0\x48\0\x48\0\0", 14));
  TimgData j;
  j.ReadJpegSections(Soi() + app0 + Segment(0xFE, "k") + kDqt + ScanTail());
  EXPECT_EQ(j.BuildExifJpeg(Soi() + kJfif + body), Soi() + app0 + Segment(0xFE, "k") + body);
  // Neither EXIF nor APP0: the default header.
  TimgData none;
  EXPECT_EQ(none.BuildExifJpeg(Soi() + kJfif + body), Soi() + kDefaultApp0Bytes + body);

  // The chunks of an RGB colour profile follow, byte for byte and in their
  // order, and the stream's own profile goes. A grey or CMYK profile would
  // misdescribe the RGB picture: it stays behind.
  const auto icc = [](char nr, const char* space) {
    const std::string profile = nr == 1 ? std::string(16, '\0') + space + std::string(90, 'q') : std::string(40, 'r');
    return Segment(0xE2, std::string("ICC_PROFILE\0", 12) + nr + '\2' + profile);
  };
  for (const char* space : {"RGB ", "CMYK", "GRAY"}) {
    TimgData p;
    ASSERT_TRUE(p.ReadJpegSections(Soi() + kJfif + icc(1, space) + t.App1() + icc(2, space) + kDqt + ScanTail()));
    const std::string profile = space[0] == 'R' ? icc(1, space) + icc(2, space) : "";
    EXPECT_EQ(p.WriteSegments(), Soi() + t.App1() + profile) << space;
    const std::string own = icc(1, "RGB ") + icc(2, "RGB ");
    EXPECT_EQ(p.BuildExifJpeg(Soi() + kJfif + own + body), Soi() + t.App1() + (profile.empty() ? own : profile) + body)
        << space;
  }
}

TEST(JpegWriter, SizeRewriting) {
  for (const bool mm : {false, true}) {
    SCOPED_TRACE(mm ? "MM" : "II");
    TiffBuilder t(mm);
    t.Short(0, 0x0100, 480);
    t.Short(0, 0x0101, 360);
    const int exif = t.AddDir();
    t.Link(0, 0x8769, exif);
    t.Short(exif, 0xA002, 4000);
    t.Long(exif, 0xA003, 3000);
    const std::string original = Soi() + t.App1() + ScanTail();
    TimgData d;
    ASSERT_TRUE(d.ReadJpegSections(original));
    d.AdjustExifSize(90, 120);
    const std::string& data = d.Sections[0].Data;
    // The stored sizes stay as read; the written file carries the new ones
    // in both pairs.
    EXPECT_EQ(d.ExifInfo->Width, 4000);
    TimgData back;
    back.ReadJpegSections(d.WriteSegments() + ScanTail());
    for (const char* tag : {"ImageWidth", "ExifImageWidth"})
      EXPECT_EQ(back.ExifInfo->LookupTagValue(tag), "120") << tag;
    for (const char* tag : {"ImageLength", "ExifImageLength"})
      EXPECT_EQ(back.ExifInfo->LookupTagValue(tag), "90") << tag;
    // Nothing changed outside the four value fields (two bytes each: a
    // SHORT written in the wrong half of its field, or as a LONG, shows).
    int changed = 0;
    for (size_t i = 0; i < data.size(); ++i) changed += data[i] != d.ExifInfo->DataBuffer[i];
    EXPECT_EQ(changed, 8);
  }

  // Nothing is written when the sizes are equal, unknown, or in a field
  // that is no single SHORT or LONG.
  struct Case {
    uint16_t format;
    uint32_t count;
    std::string width, height;  // little-endian value bytes; none: no entry
    int h, w;
  };
  const Case cases[] = {
      {3, 1, Bytes({120, 0}), Bytes({90, 0}), 90, 120},
      {3, 1, Bytes({120, 0}), "", 10, 10},
      {5, 1, Bytes({0xA0, 0x0F, 0, 0, 1, 0, 0, 0}), Bytes({0xB8, 0x0B, 0, 0, 1, 0, 0, 0}), 10, 10},
      {3, 2, Bytes({0xA0, 0x0F, 1, 0}), Bytes({0xB8, 0x0B, 1, 0}), 10, 10},
      {3, 1, Bytes({0xA0, 0x0F}), Bytes({0xB8, 0x0B}), 70000, 70000},
  };
  for (const Case& c : cases) {
    TiffBuilder t(false);
    t.Add(0, 0xA002, c.format, c.count, c.width);
    if (!c.height.empty()) t.Add(0, 0xA003, c.format, c.count, c.height);
    TimgData d;
    d.ReadJpegSections(Soi() + t.App1());
    const std::string before = d.Sections[0].Data;
    d.AdjustExifSize(c.h, c.w);
    EXPECT_EQ(d.Sections[0].Data, before) << c.format << " " << c.h;
  }
}

TEST(JpegWriter, DerivedFileKeepsMetadataWithNewSize) {
  TempOrdner dir;
  TimgData d(255);
  ASSERT_TRUE(d.ProcessFile(std::string(MOSAIK_TEST_DATA) + "/jpeg/exif-le.jpg"));
  JpegImage image;
  RgbBitmap bmp(8, 6);
  for (auto& p : bmp.Pixels) p = 200;
  image.Assign(bmp);
  image.CompressionQuality = 76;
  image.Compress();
  const std::string target = dir.pfad() + "vorschau.jpg";
  d.WriteExifJpeg(image, target, true);
  const std::string out = ReadFileBytes(target);
  EXPECT_EQ(out.substr(0, 4), Bytes({0xFF, 0xD8, 0xFF, 0xE1}));  // no JFIF header: the EXIF block comes first
  TimgData back(255);
  ASSERT_TRUE(back.ProcessFile(target));
  EXPECT_EQ(back.HeaderSegment, 0);
  EXPECT_EQ(std::pair(back.ExifInfo->Width, back.ExifInfo->Height), std::pair(8, 6));
  EXPECT_EQ(back.ExifInfo->LookupTagValue("Model"), "Canon EOS 5D");
  // The picture is the encoder's: it decodes at the new size.
  const RgbBitmap decoded = DecodeJpeg(out);
  EXPECT_EQ(std::pair(decoded.Width, decoded.Height), std::pair(8, 6));
}

TEST(JpegWriter, CommentsReplacedInTheirPlace) {
  TiffBuilder t(false);
  t.Ascii(0, 0x010F, "Canon");
  const std::string iptc = Segment(0xED, std::string("Photoshop 3.0\0" "8BIM", 18));
  const std::string neu = Segment(0xFE, "neu");
  // A multi-picture index (APP2 "MPF"): the first picture's size and the
  // second's offset, counted from the index's own header.
  const auto mpf = [](bool mm, uint32_t size, uint32_t offset) {
    TiffBuilder i(mm);
    i.Add(0, 0xB002, 7, 32, i.U32(0x20030000) + i.U32(size) + i.U32(0) + i.U32(0) + i.U32(0x20000) + i.U32(900) +
                                i.U32(offset) + i.U32(0));
    return Segment(0xE2, std::string("MPF\0", 4) + i.Build());
  };
  const std::string xmp = Segment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>", 41));
  const std::string icc = Segment(0xE2, std::string("ICC_PROFILE\0\1\1", 14));
  const std::string adobe = Segment(0xEE, std::string("Adobe\0\144\0\0\0\0\1", 12));
  struct Case {
    std::string file, shown, replaced;
  };
  const Case cases[] = {
      // The first comment's place; the others go; what follows the end stays.
      {Soi() + kJfif + Segment(0xFE, "a") + t.App1() + kDqt + Segment(0xFE, "b") + ScanTail() + "Rest", "a\nb",
       Soi() + kJfif + neu + t.App1() + kDqt + ScanTail() + "Rest"},
      // None yet: after the JFIF, EXIF and IPTC sections at the start,
      // whatever their order, and before XMP, ICC and Adobe sections (a web
      // export), where a reader of the first sections finds it.
      {Soi() + t.App1() + kJfif + iptc + kDqt + ScanTail(), "", Soi() + t.App1() + kJfif + iptc + neu + kDqt + ScanTail()},
      {Soi() + kJfif + xmp + icc + adobe + kDqt + ScanTail(), "",
       Soi() + kJfif + neu + xmp + icc + adobe + kDqt + ScanTail()},
      {Soi() + kDqt + ScanTail(), "", Soi() + neu + kDqt + ScanTail()},
      // A length running past the end: the comment ends where the next
      // section begins, or with the file.
      {Soi() + kJfif + Bytes({0xFF, 0xFE, 0xFF, 0xF0}) + "alt" + kDqt + ScanTail(), "alt",
       Soi() + kJfif + neu + kDqt + ScanTail()},
      {Soi() + kJfif + Bytes({0xFF, 0xFE, 0x00, 0x40}) + "abgeschnitten", "abgeschnitten", Soi() + kJfif + neu},
      {Soi() + kJfif + Bytes({0xFF, 0xFE, 0xFF, 0xF0}) + "alt" + ScanTail(), "alt", Soi() + kJfif + neu + ScanTail()},
      // The first picture grows by the change (11 bytes of comments become
      // 7); the second moves with it only where the change lies after the
      // index.
      {Soi() + kJfif + mpf(true, 500, 400) + Segment(0xFE, "a") + kDqt + Segment(0xFE, "bc") + ScanTail(), "a\nbc",
       Soi() + kJfif + mpf(true, 496, 396) + neu + kDqt + ScanTail()},
      {Soi() + kJfif + Segment(0xFE, "a") + mpf(false, 500, 400) + kDqt + ScanTail(), "a",
       Soi() + kJfif + neu + mpf(false, 502, 400) + kDqt + ScanTail()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JpegCommentText(c.file), c.shown);
    const std::string out = ReplaceJpegComments(c.file, neu);
    EXPECT_EQ(out, c.replaced);
    TimgData back;
    back.ReadJpegSections(out);
    EXPECT_EQ(back.GetCommentText(), "neu");
  }
  EXPECT_THROW(ReplaceJpegComments("GIF89a", neu), MetadataWriteError);
}

// Files made once with common tools (see tests/data/jpeg): the comment
// where each tool puts it, replaced.
TEST(JpegWriter, CommentRoundTripOnFilesFromEachTool) {
  struct Case {
    const char* file;
    const char* comment;
    int slot;
    bool exif;
  };
  const Case cases[] = {
      {"cm-wrjpgcom.jpg", "wrjpgcom Kommentar", 5, true},  // after the tables
      {"cm-exiv2.jpg", "exiv2 Kommentar", 5, true},        // stored with a NUL
      {"cm-exiftool.jpg", "exiftool Kommentar", 5, true},  // after APP0, EXIF, XMP, ICC
      {"cm-jhead.jpg", "jhead Kommentar", 2, true},
      {"cm-cp1252.jpg", "Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln \xE2\x82\xAC", 4, false},
      {"cm-two.jpg", "zweiter", 5, false},
      {"exif-be.jpg", "", 0, true},
      {"base.jpg", "", 0, false},
  };
  const std::string comment = "Neuer Kommentar \xC3\xA4\xC3\xB6\xC3\xBC \xE2\x82\xAC\r\nzweite Zeile";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    TempOrdner dir;
    const std::string path = dir.ablegen(c.file, ReadFileBytes(std::string(MOSAIK_TEST_DATA) + "/jpeg/" + c.file));
    const std::string before = ReadFileBytes(path);
    std::string beforeRest;
    const auto beforeSegs = Leading(before, &beforeRest);
    TimgData d(255);
    d.ProcessFile(path);
    EXPECT_EQ(d.GetCommentText(), c.comment);
    EXPECT_EQ(d.CommentSegment, c.slot);
    EXPECT_EQ(d.HasExif(), c.exif);
    d.MakeCommentSegment(comment);
    d.WriteExifJpegFile(path);
    const std::string after = ReadFileBytes(path);
    std::string afterRest;
    const auto afterSegs = Leading(after, &afterRest);
    EXPECT_EQ(afterRest, beforeRest);  // the picture data is untouched
    // One comment; every other section is still there, in its order.
    std::vector<std::string> kept, keptAfter;
    for (const auto& s : beforeSegs)
      if (s.marker != 0xFE) kept.push_back(s.body);
    for (const auto& s : afterSegs)
      if (s.marker != 0xFE) keptAfter.push_back(s.body);
    EXPECT_EQ(afterSegs.size(), keptAfter.size() + 1);
    EXPECT_EQ(keptAfter, kept);
    TimgData back(255);
    ASSERT_TRUE(back.ProcessFile(path));
    EXPECT_EQ(back.GetCommentText(), comment);
    EXPECT_EQ(back.HasExif(), c.exif);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.pfad()), {}), 1);  // no temporary file left behind
    // The picture still decodes.
    EXPECT_NO_THROW(DecodeJpeg(after));
  }
}

TEST(JpegWriter, FailedWriteLeavesTheOriginalUntouched) {
  TempOrdner dir;
  const std::string path = dir.ablegen("bild.jpg", ReadFileBytes(std::string(MOSAIK_TEST_DATA) + "/jpeg/cm-exiftool.jpg"));
  const std::string before = ReadFileBytes(path);
  TimgData d(255);
  ASSERT_TRUE(d.ProcessFile(path));
  d.MakeCommentSegment("neu");
  // (Folders and files the user may not write, and failures half-way: see
  // the comment editor.)
  // A target in a folder that does not exist.
  EXPECT_THROW(d.WriteExifJpegFile(dir.pfad() + "fehlt/bild.jpg"), MetadataWriteError);
  // Nothing read: nothing to write.
  TimgData empty;
  EXPECT_THROW(empty.WriteExifJpegFile(path), MetadataWriteError);
  EXPECT_EQ(ReadFileBytes(path), before);
}

}  // namespace
}  // namespace mosaik::imaging
