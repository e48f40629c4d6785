#pragma once
// The maker-note tables: one per camera maker whose notes the reader
// decodes, each a list of tag definitions in the shape of the EXIF table.
// A row named "Skip" (any case) marks a tag that is passed over.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "imaging/ExifTags.h"

namespace mosaik::imaging {

enum class MakerTableId { NikonOld, NikonNew, Olympus, Casio, Fuji, Canon, Seiko, Sanyo, Minolta };

struct MakerTable {
  MakerTableId Id;
  std::vector<TTagEntry> Rows;
  std::unordered_map<uint16_t, size_t> Index;  // the last row of a tag wins

  // The row of a tag, or the "Unknown" definition.
  const TTagEntry& Lookup(uint16_t tag) const;
};

const MakerTable& GetMakerTable(MakerTableId id);

// The formatters of the Nikon rows, open for tests.
std::string FormatNikonColorMode(const std::string& data);
std::string FormatNikonLens(const std::string& data);

}  // namespace mosaik::imaging
