// Maker notes, parsed in every picture though no caption shows their values:
// on pictures whose notes are laid out as the known makers' cameras lay them
// out (tests/data/makernotes, see make-inputs.py) each layout is recognised
// and walked and leaves the EXIF block as it was; damaged notes end only
// their own decoding.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "imaging/ExifTestData.h"
#include "imaging/ImgData.h"
#include "imaging/MakerNotes.h"
#include "imaging/NumberFormat.h"

namespace mosaik::imaging {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

std::string Data(const std::string& name) { return std::string(MOSAIK_TEST_DATA) + "/makernotes/" + name; }

Entries MakerEntries(const TimgData& d) {
  Entries out;
  for (const TTagEntry& e : d.ExifInfo->Tags)
    if (e.TableId == kMakerTable) out.emplace_back(e.Name, e.Data);
  return out;
}

class MakerNotes : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator('.'); }
  void TearDown() override { SetDecimalSeparator(','); }

  // Reads the file; the EXIF tags around the note are there as usual.
  static std::unique_ptr<TimgData> Read(const std::string& path) {
    auto d = std::make_unique<TimgData>(255);
    EXPECT_TRUE(d->ProcessFile(path)) << path;
    EXPECT_EQ(d->ErrorText, "<none>");
    if (!d->ExifInfo) {
      ADD_FAILURE() << "no EXIF in " << path;
      d->ExifInfo = std::make_unique<TImageInfo>(d.get(), 255, false);
    }
    EXPECT_EQ(d->ExifInfo->LookupTagValue("FNumber"), "F2.8") << path;
    return d;
  }
};

TEST_F(MakerNotes, EachLayoutWalked) {
  struct Fall {
    const char* datei;
    const char* marke;
    size_t eintraege;
  };
  const Fall faelle[] = {{"canon.jpg", "CANON", 38}, {"nikon3.jpg", "NIKON", 7}, {"nikon1.jpg", "NIKON", 5},
                         {"olympus.jpg", "OLYMP", 6}, {"fuji.jpg", "FUJIF", 7},   {"casio.jpg", "CASIO", 5},
                         {"sanyo.jpg", "SANYO", 3},   {"epson.jpg", "SEIKO", 3},  {"minolta.jpg", "MINOL", 1},
                         {"pentax.jpg", "", 0}};
  for (const Fall& f : faelle) {
    const auto d = Read(Data(f.datei));
    EXPECT_EQ(d->ExifInfo->MakerNoteMake, f.marke) << f.datei;
    EXPECT_EQ(MakerEntries(*d).size(), f.eintraege) << f.datei;
  }
  // Notes in a byte order of their own (the newer Nikon notes' inner header,
  // Fuji's little-endian note in a big-endian block) leave the block's order.
  EXPECT_FALSE(Read(Data("nikon3.jpg"))->ExifInfo->MotorolaOrder);
  EXPECT_TRUE(Read(Data("fuji.jpg"))->ExifInfo->MotorolaOrder);
}

TEST_F(MakerNotes, DamagedNotesEndOnlyTheirOwnDecoding) {
  testdata::TempOrdner dir;
  // Canon: the note's entry count raised to 65535. Fuji: the directory
  // offset points far outside the block. Nikon: the inner header's
  // directory offset points back at the header.
  const std::tuple<const char*, std::string, size_t, std::string> schaeden[] = {
      {"canon.jpg", std::string("\x0a\x00\x01\x00\x03\x00\x21\x00", 8), 0, "\xff\xff"},
      {"fuji.jpg", std::string("FUJIFILM\x0c\0", 10), 8, std::string("\x00\xff\xff\x7f", 4)},
      {"nikon3.jpg", std::string("Nikon\0\x02", 7), 14, std::string("\0\0\0\0", 4)},
  };
  for (const auto& [name, marke, abstand, ersatz] : schaeden) {
    std::string bytes = testdata::ReadFileBytes(Data(name));
    const size_t at = bytes.find(marke);
    ASSERT_NE(at, std::string::npos) << name;
    bytes.replace(at + abstand, ersatz.size(), ersatz);
    const auto d = Read(dir.ablegen(name, bytes));
    EXPECT_TRUE(MakerEntries(*d).empty()) << name;
  }

  // A note whose values lie outside the block, or run past its end: empty
  // or cut values, never a read outside, and no array split from a cut one.
  testdata::TiffBuilder t(false);
  t.Ascii(0, 0x010F, "Canon");
  const int exif = t.AddDir();
  t.Link(0, 0x8769, exif);
  t.Rat(exif, 0x829D, 28, 10);
  std::string note = t.U16(2) + t.U16(0x0009) + t.U16(2) + t.U32(40) + t.U32(0x7FFFFFF0) + t.U16(0x0001) + t.U16(3) +
                     t.U32(0x40000000) + t.U32(8) + t.U32(0);
  t.Add(exif, 0x927C, 7, static_cast<uint32_t>(note.size()), note);
  const auto d = Read(dir.ablegen("bad.jpg", testdata::Soi() + t.App1() + testdata::ScanTail()));
  const Entries got = MakerEntries(*d);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0], (std::pair<std::string, std::string>("OwnerName", "")));
  EXPECT_EQ(got[1].first, "ExposureInfo1");
}

}  // namespace
}  // namespace mosaik::imaging
