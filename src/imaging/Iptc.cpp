#include "imaging/Iptc.h"

#include <unordered_map>

#include "platform/Win1252.h"

namespace mosaik::imaging {
namespace {

struct Row {
  uint16_t record, dataset;
  const char* name;
  int32_t maxLength;
};

const Row kRows[] = {
    {2, 0, "SKIP", 64},
    {2, 3, "ObjectType", 67},
    {2, 4, "ObjectAttr", 67},
    {2, 5, "ObjectName", 64},
    {2, 7, "EditStatus", 64},
    {2, 8, "EditorialUpdate", 2},
    {2, 10, "Urgency", 1},
    {2, 12, "SubRef", 236},
    {2, 15, "Category", 3},
    {2, 20, "SuppCategory", 32},
    {2, 22, "FixtureID", 32},
    {2, 25, "Keywords", 64},
    {2, 26, "ContentLocCode", 3},
    {2, 27, "ContentLocName", 64},
    {2, 30, "ReleaseDate", 8},
    {2, 35, "ReleaseTime", 11},
    {2, 37, "ExpireDate", 8},
    {2, 38, "ExpireTime", 11},
    {2, 40, "SpecialInstru", 256},
    {2, 42, "ActionAdvised", 2},
    {2, 45, "RefService", 10},
    {2, 47, "RefDate", 8},
    {2, 50, "RefNumber", 8},
    {2, 55, "DateCreated", 8},
    {2, 60, "TimeCreated", 11},
    {2, 62, "DigitizeDate", 8},
    {2, 63, "DigitizeTime", 11},
    {2, 65, "OriginatingProgram", 32},
    {2, 70, "ProgramVersion", 10},
    {2, 75, "ObjectCycle", 1},
    {2, 80, "ByLine", 32},
    {2, 85, "ByLineTitle", 32},
    {2, 90, "City", 32},
    {2, 92, "SubLocation", 32},
    {2, 95, "State", 32},
    {2, 100, "LocationCode", 3},
    {2, 101, "LocationName", 64},
    {2, 103, "TransmissionRef", 32},
    {2, 105, "ImageHeadline", 256},
    {2, 110, "ImageCredit", 32},
    {2, 115, "Source", 32},
    {2, 116, "Copyright", 128},
    {2, 118, "Contact", 128},
    {2, 120, "ImageCaption", 2000},
    {2, 122, "ImageCaptionWriter", 32},
    {2, 130, "ImageType", 2},
    {2, 131, "Orientation", 1},
    {2, 135, "LangID", 3},
    {8, 10, "Subfile", 2},
};

// Repeatable datasets: supplemental categories and keywords.
bool Repeatable(uint16_t dataset) { return dataset == 20 || dataset == 25; }

struct Table {
  std::vector<TTagEntry> rows;
  std::unordered_map<uint32_t, size_t> index;
  Table() {
    for (const Row& r : kRows) {
      TTagEntry e;
      e.TableId = kIptcTable;
      e.IptcCode = r.record;
      e.Tag = r.dataset;
      e.Name = r.name;
      e.Description = DescriptionFromName(r.name);
      e.Size = r.maxLength;
      e.Format = 2;
      index[(uint32_t{r.record} << 16) | r.dataset] = rows.size();
      rows.push_back(std::move(e));
    }
  }
};

const Table& table() {
  static const Table t;
  return t;
}

TTagEntry CustomEntry(uint16_t record, uint16_t dataset) {
  TTagEntry e;
  e.TableId = kIptcTable;
  e.IptcCode = record;
  e.Tag = dataset;
  e.Name = "Custom_" + std::to_string(dataset);
  e.Description = e.Name;
  e.Size = 64;
  e.Format = 2;
  return e;
}

std::string DecodeBytes(std::string_view bytes) {
  return isValidUtf8(bytes) ? std::string(bytes) : cp1252ToUtf8(bytes);
}

uint32_t BigEndian(std::string_view s, size_t at, size_t n) {
  uint32_t v = 0;
  for (size_t i = 0; i < n; ++i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
  return v;
}

// The image resource 0x0404 (IPTC-NAA) of a "Photoshop 3.0" block, or an
// empty view when the block is not laid out as resources.
std::string_view IptcResource(std::string_view payload, bool& resources) {
  constexpr std::string_view kHeader("Photoshop 3.0\0", 14);
  resources = false;
  if (payload.substr(0, kHeader.size()) != kHeader) return {};
  size_t pos = kHeader.size();
  while (pos + 12 <= payload.size() && payload.substr(pos, 4) == "8BIM") {
    resources = true;
    const uint32_t id = BigEndian(payload, pos + 4, 2);
    // A Pascal name padded to an even length, its length byte included.
    const size_t nameLength = static_cast<unsigned char>(payload[pos + 6]);
    size_t at = pos + 6 + ((nameLength + 2) & ~size_t{1});
    if (at + 4 > payload.size()) break;
    const uint64_t size = BigEndian(payload, at, 4);
    at += 4;
    if (size > payload.size() - at) {
      // Cut short: what there is may still hold datasets.
      if (id == 0x0404) return payload.substr(at);
      break;
    }
    if (id == 0x0404) return payload.substr(at, static_cast<size_t>(size));
    pos = at + static_cast<size_t>(size) + (size & 1);
  }
  return {};
}

// The row of a record and dataset, or nullptr.
const TTagEntry* LookupIptcTag(uint16_t record, uint16_t dataset) {
  const auto& t = table();
  const auto it = t.index.find((uint32_t{record} << 16) | dataset);
  return it == t.index.end() ? nullptr : &t.rows[it->second];
}

}  // namespace

int TIPTCdata::LookupTag(std::string_view name) const { return FindTagByName(Tags, name); }

std::string TIPTCdata::LookupTagValue(std::string_view name) const { return TagValueByName(Tags, name); }

int TIPTCdata::AddRecordValue(uint16_t record, uint16_t dataset, const std::string& value) {
  const TTagEntry* row = LookupIptcTag(record, dataset);
  if (row && row->Name == "SKIP") return -1;
  if (row && Repeatable(dataset)) {
    const int i = LookupTag(row->Name);
    if (i >= 0) {
      Tags[static_cast<size_t>(i)].Data += "," + value;
      return i;
    }
  }
  Tags.push_back(row ? *row : CustomEntry(record, dataset));
  Tags.back().Data = value;
  return Count() - 1;
}

void TIPTCdata::ParseIPTCStrings(std::string_view sectionData) {
  if (sectionData.size() < 2) return;
  const std::string_view payload = sectionData.substr(2);
  // Photoshop's resource blocks say where the datasets are; looking for
  // the first 0x1C byte alone can land inside another resource.
  bool resources = false;
  const std::string_view block = IptcResource(payload, resources);
  ParseDatasets(resources ? block : payload);
}

void TIPTCdata::ParseDatasets(std::string_view block) {
  size_t pos = 0;
  // The first tag marker that starts a dataset of record 2 or 8.
  while (pos + 1 < block.size() &&
         !(block[pos] == '\x1c' && (block[pos + 1] == '\x02' || block[pos + 1] == '\x08')))
    ++pos;
  while (pos + 5 <= block.size() && block[pos] == '\x1c') {
    const auto record = static_cast<uint16_t>(static_cast<unsigned char>(block[pos + 1]));
    const auto dataset = static_cast<uint16_t>(static_cast<unsigned char>(block[pos + 2]));
    uint64_t length = BigEndian(block, pos + 3, 2);
    pos += 5;
    if (length & 0x8000) {
      // An extended dataset: the low bits count the length bytes that follow.
      const size_t n = static_cast<size_t>(length & 0x7FFF);
      if (n == 0 || n > 4 || pos + n > block.size()) break;
      length = BigEndian(block, pos, n);
      pos += n;
    }
    const bool whole = length <= block.size() - pos;
    const std::string_view value = block.substr(pos, whole ? static_cast<size_t>(length) : std::string_view::npos);
    const int i = AddRecordValue(record, dataset, DecodeBytes(value));
    if (i >= 0 && !Repeatable(Tags[static_cast<size_t>(i)].Tag)) Tags[static_cast<size_t>(i)].Raw = std::string(value);
    if (!whole) break;
    pos += static_cast<size_t>(length);
  }
}

}  // namespace mosaik::imaging
