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

// The IPTC table: IptcCode is the record, Tag the dataset number, Size the
// longest value the standard allows.
const std::vector<TTagEntry>& IptcTagTable();
// The row of a record and dataset, or nullptr.
const TTagEntry* LookupIptcTag(uint16_t record, uint16_t dataset);

class TIPTCdata {
 public:
  explicit TIPTCdata(TimgData* parent) : Parent(parent) {}
  virtual ~TIPTCdata() = default;

  TimgData* Parent;
  std::vector<TTagEntry> Tags;
  int Count() const { return static_cast<int>(Tags.size()); }

  // Index of the first entry whose Name equals name (ASCII case ignored), or -1.
  virtual int LookupTag(std::string_view name) const;
  // A new, empty entry for a table name, or for "Custom_<dataset>"; -1 for
  // any other name.
  virtual int AddTag(std::string_view name);
  // Sets the value, or appends it (after a comma) to an existing entry of a
  // repeatable dataset; a new entry otherwise. The entry's index, or -1.
  virtual int AddOrAppendValue(std::string_view name, const std::string& value);
  // The same for a record and dataset number (unknown ones: "Custom_<n>").
  virtual int AddRecordValue(uint16_t record, uint16_t dataset, const std::string& value);
  // Replaces the value of the first entry of that name (adding one).
  virtual void SetTagValue(std::string_view name, const std::string& value);
  virtual void RemoveTag(std::string_view name);
  virtual void Reset() { Tags.clear(); }

  // The value of the first entry of that name, or the empty text.
  std::string LookupTagValue(std::string_view name) const;

  // Reads the datasets of an APP13 section (its Data: the two length bytes
  // and the payload). Best effort: damage ends the reading, keeping what
  // was read.
  void ParseIPTCStrings(std::string_view sectionData);
  // Reads datasets from the first 0x1C byte of `block` on.
  void ParseDatasets(std::string_view block);
};

}  // namespace mosaik::imaging
