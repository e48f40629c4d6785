// Maker notes of the known makers, on pictures whose notes are laid out as
// those makers' cameras lay them out (tests/data/makernotes, see
// make-inputs.py). exiftool reads the same values from these files; the
// display texts are this reader's own.
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

TEST_F(MakerNotes, CanonArraysSplitIntoNamedSettings) {
  const auto d = Read(Data("canon.jpg"));
  const TImageInfo& info = *d->ExifInfo;
  EXPECT_EQ(info.MakerNoteMake, "CANON");
  // The array itself comes first, cut to the 50 characters every plain
  // value shows.
  const Entries expected = {
      {"ExposureInfo1", "66, 2, 0, 3, 1, 0, 0, 0, 0, 0, 0, 1, 0, 65535, 0, "},
      {"Macro mode", "Normal"},
      {"Self Timer", "0"},
      {"Compression Rate", "Fine"},
      {"Flash Mode", "Auto"},
      {"Drive Mode", "Single or timer"},
      {"Focus Mode", "One-Shot"},
      {"Image Size", "Large"},
      {"Easy Shoot", "Manual"},
      {"Contrast", "Low"},
      {"Saturation", "Normal"},
      {"Sharpness", "High"},
      {"CCD ISO", "100"},
      {"Metering Mode", "Evaluative"},
      {"AF Point", "Center"},
      {"Exposure Mode", "Program"},
      {"Long focal", "21"},
      {"Short focal", "7"},
      {"Focal Units", "1"},
      {"Flash Details", "0"},
      {"Focus Continuous", "Single"},
      // tag 2 is a Skip row
      {"ExposureInfo2", "40, 0, 0, 0, 0, 0, 0, 1, 0, 5, 3, 0, 0, 0, 0, 6550"},
      {"White balance", "Daylight"},
      {"Sequence Number", "5"},
      {"OpticalZoom Step", "3"},
      {"AF point", "0"},
      {"Flash bias", "-1 EV"},
      {"Distance", "123"},
      {"ImageType", "IMG:PowerShot S40 JPEG"},
      {"FirmwareVersion", "Firmware Version 1.10"},
      {"ImageNumber", "1001234"},
      {"OwnerName", "Anna Beispiel"},
      {"CameraSerialNumber", "305419896"},
      {"CustomFunctions", "8, 257, 769, 3584"},
      {"Noise Reduction", "On"},
      {"Mirror Lockup", "Enable"},
      {"Superimposed Display", "On"},
      {"Unknown", "7"},
  };
  EXPECT_EQ(MakerEntries(*d), expected);
  EXPECT_EQ(info.LookupTagValue("ownername"), "Anna Beispiel");
  // The note's own entry follows its decoded tags.
  EXPECT_EQ(info.Tags[static_cast<size_t>(info.LookupTag("MakerNote"))].Raw, info.MakerNote);
}

TEST_F(MakerNotes, NikonNotesOfBothGenerations) {
  // Newer notes carry their own big-endian TIFF header inside a
  // little-endian block; their offsets count from that header.
  auto d = Read(Data("nikon3.jpg"));
  EXPECT_EQ(d->ExifInfo->MakerNoteMake, "NIKON");
  EXPECT_FALSE(d->ExifInfo->MotorolaOrder);  // restored after the note
  EXPECT_EQ(MakerEntries(*d), (Entries{{"FamilyID", "\"0210\""},
                                       {"ISOSpeed", "0, 200"},
                                       {"ColorMode", "Mode 2 (Adobe RGB)"},
                                       {"Quality", "FINE "},
                                       {"WhiteBalance", "AUTO        "},
                                       {"LensInformation", "18.0-55.0(mm)  F3.5-F5.6"},
                                       {"Unknown", "1"}}));
  // Older notes: "Nikon", version 1, the directory at byte 8.
  d = Read(Data("nikon1.jpg"));
  EXPECT_EQ(MakerEntries(*d), (Entries{{"Quality", "VGA Fine"},
                                       {"ColorMode", "Color"},
                                       {"WhiteBalance", "Auto"},
                                       {"Focus", "AF-C "},
                                       {"Converter", "Not used"}}));
}

TEST_F(MakerNotes, OlympusFujiCasioSanyoEpsonMinolta) {
  auto d = Read(Data("olympus.jpg"));
  EXPECT_EQ(d->ExifInfo->MakerNoteMake, "OLYMP");
  EXPECT_EQ(MakerEntries(*d), (Entries{{"SpecialMode", "0, 1, 0"},
                                       {"JpegQual", "HQ"},
                                       {"Macro", "Normal"},
                                       {"DigiZoom", "2/1"},
                                       {"Firmware", "SX753"},
                                       {"CameraID", "\"OLYMPUS DIGITAL CAMERA\""}}));
  // Fuji notes are little-endian inside a big-endian block, offsets from
  // the note's start.
  d = Read(Data("fuji.jpg"));
  EXPECT_TRUE(d->ExifInfo->MotorolaOrder);
  EXPECT_EQ(MakerEntries(*d), (Entries{{"Version", "\"0130\""},
                                       {"Quality", "NORMAL "},
                                       {"Sharpness", "Normal"},
                                       {"WhiteBalance", "Auto"},
                                       {"FlashMode", "On"},
                                       {"Focusmode", "Auto"},
                                       {"BlurWarning", "Blur warning"}}));
  d = Read(Data("casio.jpg"));
  EXPECT_EQ(MakerEntries(*d), (Entries{{"RecordingMode", "Single Shutter"},
                                       {"Quality", "Fine"},
                                       {"FocusingMode", "Auto Focus"},
                                       {"FlashMode", "On"},
                                       {"CCDSensitivity", "Normal"}}));
  d = Read(Data("sanyo.jpg"));
  EXPECT_EQ(MakerEntries(*d), (Entries{{"Special Mode", "0, 0, 0"}, {"Macro", "Macro"}, {"DigiZoom", "100/100"}}));
  d = Read(Data("epson.jpg"));
  EXPECT_EQ(d->ExifInfo->MakerNoteMake, "SEIKO");
  EXPECT_EQ(MakerEntries(*d),
            (Entries{{"CameraID", "\"EPSON DIGITAL CAMERA\""}, {"Width", "640"}, {"Height", "480"}}));
  d = Read(Data("minolta.jpg"));
  EXPECT_EQ(MakerEntries(*d), (Entries{{"ModelID", "\"MLT0\""}}));
}

TEST_F(MakerNotes, OtherMakersKeepTheNoteUndecoded) {
  const auto d = Read(Data("pentax.jpg"));
  EXPECT_TRUE(MakerEntries(*d).empty());
  EXPECT_EQ(d->ExifInfo->MakerNoteMake, "");
  EXPECT_EQ(d->ExifInfo->MakerNote.substr(0, 4), std::string("AOC\0", 4));
  EXPECT_EQ(d->ExifInfo->LookupTagValue("Make"), "PENTAX Corporation");
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

TEST(MakerNoteFormatters, NikonColourModeAndLens) {
  EXPECT_EQ(FormatNikonColorMode("MODE1"), "Mode1 (sRGB)");
  EXPECT_EQ(FormatNikonColorMode("MODE2 "), "Mode 2 (Adobe RGB)");
  EXPECT_EQ(FormatNikonColorMode("mode3"), "Mode 3 (sRGB): higher saturation");
  EXPECT_EQ(FormatNikonColorMode("COLOR"), "COLOR");
  EXPECT_EQ(FormatNikonLens("240/10, 1200/10"), "240/10, 1200/10");
  SetDecimalSeparator(',');
  EXPECT_EQ(FormatNikonLens("180/10, 550/10, 35/10, 56/10"), "18,0-55,0(mm)  F3,5-F5,6");
}

}  // namespace
}  // namespace mosaik::imaging
