#pragma once
// Colour texts as pages, style sheets and the settings file store them.
#include <cstdint>
#include <string>
#include <string_view>

namespace mosaik {

// "#RRGGBB" of a colour 0xRRGGBB.
std::string HTMLFarbe(uint32_t rgb);
// The colour of a text "#RRGGBB" (any first character, hex digits in either
// case); white for any other text.
uint32_t HTMLFarbe2TColor(std::string_view text);
// Two hexadecimal digits; 0 and ok = false for anything else.
int HexPaarWert(std::string_view text, bool& ok);

}  // namespace mosaik
