#include "app/options/Farbe.h"

#include "platform/Win1252.h"

namespace mosaik {

std::string HTMLFarbe(uint32_t rgb) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string s = "#";
  for (int shift = 20; shift >= 0; shift -= 4) s += kHex[(rgb >> shift) & 0x0F];
  return s;
}

int HexPaarWert(std::string_view text, bool& ok) {
  ok = false;
  if (text.size() != 2) return 0;
  int wert = 0;
  for (const char c : text) {
    int z;
    if (c >= '0' && c <= '9') {
      z = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      z = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      z = c - 'a' + 10;
    } else {
      return 0;
    }
    wert = wert * 16 + z;
  }
  ok = true;
  return wert;
}

uint32_t HTMLFarbe2TColor(std::string_view text) {
  constexpr uint32_t kWeiss = 0xFFFFFF;
  if (text.empty()) return kWeiss;
  // The first character stands in place of "#" whatever it is; in UTF-8 it
  // may take more than one byte.
  size_t pos = 0;
  nextCodePoint(text, pos);
  const std::string_view paare = text.substr(pos);
  if (paare.size() != 6) return kWeiss;
  uint32_t farbe = 0;
  for (size_t i = 0; i < 6; i += 2) {
    bool ok = false;
    const int v = HexPaarWert(paare.substr(i, 2), ok);
    if (!ok) return kWeiss;
    farbe = farbe << 8 | static_cast<uint32_t>(v);
  }
  return farbe;
}

}  // namespace mosaik
