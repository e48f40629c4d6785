#pragma once
// The IPTC values of a JPEG file's APP13 section: one entry per dataset
// name, repeatable datasets (supplemental categories, keywords) joined with
// commas. Values are UTF-8: the bytes when they are valid UTF-8, else read
// as Windows-1252.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/ExifTags.h"

namespace mosaik::imaging {

class TimgData;

class TIPTCdata {
 public:
  explicit TIPTCdata(TimgData* parent) : Parent(parent) {}

  TimgData* Parent;
  std::vector<TTagEntry> Tags;
  int Count() const { return static_cast<int>(Tags.size()); }

  // Index of the first entry whose Name equals name (ASCII case ignored), or -1.
  int LookupTag(std::string_view name) const;
  // The value of the first entry of that name, or the empty text.
  std::string LookupTagValue(std::string_view name) const;

  // Reads the datasets of an APP13 section (its Data: the two length bytes
  // and the payload). Best effort: damage ends the reading, keeping what
  // was read.
  void ParseIPTCStrings(std::string_view sectionData);
  // Reads datasets from the first 0x1C byte of `block` on.
  void ParseDatasets(std::string_view block);

 private:
  // Adds the value of a record and dataset (unknown ones: "Custom_<n>"),
  // appending it after a comma to an entry of a repeatable dataset. The
  // entry's index, or -1 for the record version.
  int AddRecordValue(uint16_t record, uint16_t dataset, const std::string& value);
};

}  // namespace mosaik::imaging
