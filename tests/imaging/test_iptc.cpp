// IPTC datasets from APP13 sections: a file written by exiftool (tests/data/
// iptc, see make-inputs.sh) and blocks built here for the layouts and the
// damage a tool would not write.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "imaging/ExifTestData.h"
#include "imaging/ImgData.h"

namespace mosaik::imaging {
namespace {

using testdata::Bytes;
using testdata::Segment;

std::string Data(const std::string& name) { return std::string(MOSAIK_TEST_DATA) + "/iptc/" + name; }

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries All(const TIPTCdata& iptc) {
  Entries out;
  for (const TTagEntry& e : iptc.Tags) out.emplace_back(e.Name, e.Data);
  return out;
}

std::string Dataset(int record, int dataset, const std::string& value) {
  return Bytes({0x1C, record, dataset, static_cast<int>(value.size() >> 8), static_cast<int>(value.size() & 0xFF)}) +
         value;
}

// An image resource block: "8BIM", id, empty name, size, data padded even.
std::string Resource(int id, const std::string& data) {
  const size_t n = data.size();
  return "8BIM" + Bytes({id >> 8, id & 0xFF, 0, 0, 0, 0, static_cast<int>(n >> 8), static_cast<int>(n & 0xFF)}) +
         data + (n % 2 ? std::string(1, '\0') : std::string());
}

std::unique_ptr<TimgData> ReadApp13(const std::string& payload) {
  auto d = std::make_unique<TimgData>(255);
  EXPECT_TRUE(d->ReadJpegSections(testdata::Soi() + Segment(0xED, payload) + testdata::ScanTail()));
  EXPECT_EQ(d->IptcSegment, 1);
  if (!d->IptcInfo) d->IptcInfo = std::make_unique<TIPTCdata>(d.get());
  return d;
}

const std::string kPhotoshop("Photoshop 3.0\0", 14);

}  // namespace

TEST(Iptc, SectionOfAFileReadAndKeptForTheWriter) {
  // Every picture's datasets are read, though no caption shows them; the
  // section itself goes into derived pictures as it was read.
  TimgData d(255);
  ASSERT_TRUE(d.ProcessFile(Data("iptc-utf8.jpg")));
  EXPECT_EQ(d.ErrorText, "<none>");
  ASSERT_NE(d.IptcInfo, nullptr);
  EXPECT_EQ(d.IptcInfo->LookupTagValue("City"), "Hamburg");
  const std::string written = d.WriteSegments();
  const tSection& app13 = d.Sections[static_cast<size_t>(d.IptcSegment - 1)];
  EXPECT_NE(written.find("\xFF\xED" + app13.Data), std::string::npos);
}

TEST(Iptc, ResourcesCustomDatasetsAndOddLengths) {
  // A resource before the IPTC one holds bytes that look like a dataset;
  // only resource 0x0404 is read.
  const std::string decoy = Resource(0x03ED, Dataset(2, 5, "Falle"));
  const std::string datasets = Dataset(2, 120, "Text") + Dataset(2, 200, "eigen") + Dataset(8, 10, "ab") +
                               Dataset(2, 25, "eins") + Dataset(2, 25, "zwei") + Dataset(9, 1, "x") +
                               Dataset(2, 120, "noch");
  auto d = ReadApp13(kPhotoshop + decoy + Resource(0x0404, datasets) + Resource(0x0409, "thumb"));
  EXPECT_EQ(All(*d->IptcInfo), (Entries{{"ImageCaption", "Text"},
                                         {"Custom_200", "eigen"},
                                         {"Subfile", "ab"},
                                         {"Keywords", "eins,zwei"},
                                         {"Custom_1", "x"},
                                         {"ImageCaption", "noch"}}));
  const TTagEntry& custom = d->IptcInfo->Tags[1];
  EXPECT_EQ(custom.Size, 64);
  EXPECT_EQ(custom.Tag, 200);

  // Without resource blocks the first dataset of record 2 or 8 is looked
  // for; an extended length (0x8004: four length bytes follow) is read;
  // a dataset that runs past the end keeps what is there and ends it.
  const std::string extended = Bytes({0x1C, 2, 105, 0x80, 0x04, 0, 0, 0, 3}) + "Kop";
  d = ReadApp13("junk\x1c\x01" + Dataset(2, 90, "Ort") + extended + Bytes({0x1C, 2, 116, 0, 50}) + "(c) kurz");
  EXPECT_EQ(All(*d->IptcInfo), (Entries{{"City", "Ort"}, {"ImageHeadline", "Kop"}, {"Copyright", "(c) kurz"}}));

  // A resource whose size runs past the block, and damage inside the
  // datasets: what was read stays, nothing else is touched.
  d = ReadApp13(kPhotoshop + "8BIM" + Bytes({4, 4, 0, 0, 0x7F, 0xFF, 0xFF, 0xFF}) + Dataset(2, 90, "Rest") +
                Bytes({0x1C, 2}));
  EXPECT_EQ(All(*d->IptcInfo), (Entries{{"City", "Rest"}}));
  d = ReadApp13(kPhotoshop + Resource(0x0404, Dataset(2, 90, "A") + std::string("\x00\x1c", 2) + Dataset(2, 92, "B")));
  EXPECT_EQ(All(*d->IptcInfo), (Entries{{"City", "A"}}));
  d = ReadApp13(std::string(1, '\x1c'));
  EXPECT_EQ(d->IptcInfo->Count(), 0);
}

}  // namespace mosaik::imaging
