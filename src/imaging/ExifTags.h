#pragma once
// The tag tables of the EXIF reader: one definition row per known tag, with
// the display rules (decode list, format pattern, formatter) of that tag.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mosaik::imaging {

// Turns a value's display text into the text shown for the tag.
using TagFormatter = std::string (*)(const std::string& data);

// One tag: a definition row of a table, or a value found in a file.
struct TTagEntry {
  int32_t TableId = 0;
  uint16_t Format = 0;    // TIFF field type
  uint16_t IptcCode = 0;
  uint16_t Tag = 0;
  std::string Name;
  std::string Description;
  std::string DecodeList;  // "value:text,value:text"
  std::string Data;        // display value (UTF-8)
  std::string Raw;         // raw value bytes
  int32_t RawPosition = 0; // 1-based position of Raw in the decoded block
  std::string FormatString;
  int32_t Size = 0;
  TagFormatter Formatter = nullptr;
};

// One row of a tag table as the tables are written down.
struct TagRow {
  uint16_t tag;
  const char* name;
  const char* decode = "";
  const char* format = "";
  TagFormatter formatter = nullptr;
  const char* description = "";  // empty: made from the name
};
// The definition entry of a row in the given table.
TTagEntry MakeTagEntry(const TagRow& row, int32_t table);

// Splits the multi-value text of the number formatting ("a, b, c") at its
// commas; the pieces keep their blanks.
std::vector<std::string_view> SplitValues(std::string_view s);

// Index of the first entry whose Name equals name (ASCII case ignored), or
// -1; and that entry's display text, or the empty text.
int FindTagByName(const std::vector<TTagEntry>& tags, std::string_view name);
std::string TagValueByName(const std::vector<TTagEntry>& tags, std::string_view name);

enum TagTableId : int32_t { kExifTable = 1, kGpsTable = 2, kMakerTable = 3, kIptcTable = 4 };

// Table order as the reader keeps it; descriptions are filled in.
const std::vector<TTagEntry>& ExifTagTable();
const std::vector<TTagEntry>& GpsTagTable();
// The definition of every tag the tables do not know (Tag 0).
const TTagEntry& UnknownTagDefinition();

// The definition for a tag number (the last matching row wins), or the
// "Unknown" row.
const TTagEntry& LookupExifTag(uint16_t tag);
const TTagEntry& LookupGpsTag(uint16_t tag);

// A description made from a name: a blank before every capital letter that
// follows a non-capital ("ExposureTime" -> "Exposure Time").
std::string DescriptionFromName(std::string_view name);

// Size in bytes of one element of a TIFF field type; 0 for unknown types.
int FormatSize(int format);

// The formatters of the special rows, open for tests.
std::string FormatComponentsConfiguration(const std::string& data);
std::string FormatShutterSpeed(const std::string& data);
std::string FormatFlash(const std::string& data);
std::string FormatUserComment(const std::string& data);
std::string FormatXpText(const std::string& data);
std::string FormatGpsCoordinate(const std::string& data);
std::string FormatGpsTime(const std::string& data);

// Parses "n/d" (also the mixed form "w n/d") into a value; false when the
// text is no such fraction or the denominator is 0.
bool ParseRationalText(std::string_view text, double& value);

}  // namespace mosaik::imaging
