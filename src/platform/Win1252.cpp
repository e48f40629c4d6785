#include "platform/Win1252.h"

#include <algorithm>

namespace mosaik {
namespace {
// 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes.
constexpr char32_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

char32_t nextCodePoint(std::string_view s, size_t& pos) {
  const auto b0 = static_cast<unsigned char>(s[pos]);
  if (b0 < 0x80) {
    ++pos;
    return b0;
  }
  int len = 0;
  char32_t cp = 0;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4;
    cp = b0 & 0x07;
  } else {
    ++pos;
    return 0xFFFD;
  }
  if (pos + len > s.size()) {
    ++pos;
    return 0xFFFD;
  }
  for (int i = 1; i < len; ++i) {
    const auto b = static_cast<unsigned char>(s[pos + i]);
    if ((b & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and values beyond Unicode are invalid.
  static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return 0xFFFD;
  }
  pos += len;
  return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::u32string toCodePoints(std::string_view s) {
  std::u32string out;
  size_t pos = 0;
  while (pos < s.size()) out += nextCodePoint(s, pos);
  return out;
}

std::string fromCodePoints(std::u32string_view s) {
  std::string out;
  for (char32_t c : s) appendUtf8(out, c);
  return out;
}

bool isValidUtf8(std::string_view s) {
  size_t pos = 0;
  while (pos < s.size()) {
    const size_t before = pos;
    const char32_t cp = nextCodePoint(s, pos);
    if (cp == 0xFFFD) {
      // A literal U+FFFD is three bytes; a decoding error advances by one.
      if (pos - before != 3) return false;
    }
  }
  return true;
}

std::string_view utf8Prefix(std::string_view s, size_t maxBytes) {
  if (s.size() <= maxBytes) return s;
  size_t cut = maxBytes;
  // A character has at most three bytes after its first; bytes that are no
  // UTF-8 are not followed further back.
  for (int back = 0; back < 3 && cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80; ++back) --cut;
  return s.substr(0, cut);
}

int cp1252FromCodePoint(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] != 0 && kHigh[i] == cp) return 0x80 + i;
  return -1;
}

char32_t cp1252ToCodePoint(unsigned char b) {
  if (b >= 0x80 && b <= 0x9F) {
    const char32_t cp = kHigh[b - 0x80];
    // Unassigned bytes map to the C1 control of the same value, so that
    // decoding and encoding stay a round trip.
    return cp != 0 ? cp : static_cast<char32_t>(b);
  }
  return b;
}

std::string cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (const char c : bytes) appendUtf8(out, cp1252ToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::string utf8ToCp1252(std::string_view utf8, bool* lossless) {
  std::string out;
  out.reserve(utf8.size());
  bool ok = true;
  size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t cp = nextCodePoint(utf8, pos);
    int b = cp1252FromCodePoint(cp);
    if (b < 0 && cp >= 0x80 && cp <= 0x9F) b = static_cast<int>(cp);  // round trip of C1
    if (b < 0) {
      ok = false;
      out += '?';
    } else {
      out += static_cast<char>(b);
    }
  }
  if (lossless) *lossless = ok;
  return out;
}

bool fitsCp1252(std::string_view utf8) {
  bool ok = true;
  utf8ToCp1252(utf8, &ok);
  return ok;
}

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Bytes 0x80..0xBF that Windows-1252 gives a letter (or nothing): they
// follow no letter in ordinary text.
bool cp1252LetterOrUnassigned(unsigned char b) {
  switch (b) {
    case 0x81: case 0x8D: case 0x8F: case 0x90: case 0x9D:                       // unassigned
    case 0x83: case 0x8A: case 0x8C: case 0x8E: case 0x9A: case 0x9C: case 0x9E:  // ƒ Š Œ Ž š œ ž
    case 0x9F: case 0xAA: case 0xB5: case 0xBA:                                  // Ÿ ª µ º
      return true;
    default:
      return false;
  }
}

// A valid UTF-8 unit that is Windows-1252 nonetheless: each character beyond
// ASCII is two bytes, the first a letter and the second no letter of the
// code page, a character the code page does not hold, never right after
// another character beyond ASCII (the letters of a Greek or Cyrillic word
// stand side by side), and, unless it begins with "ß", not right after a
// lower-case ASCII letter (the capitals of the code page do not follow one;
// the "ń" of "Gdańsk" typed in UTF-8 does).
bool readsAsCp1252Pairs(std::string_view s) {
  if (!isValidUtf8(s)) return true;
  bool beyondAscii = false;
  char32_t before = 0;
  size_t pos = 0;
  while (pos < s.size()) {
    const size_t at = pos;
    const char32_t cp = nextCodePoint(s, pos);
    if (cp >= 0x80) {
      const auto first = static_cast<unsigned char>(s[at]);
      const auto second = static_cast<unsigned char>(s[at + 1]);
      // Valid two-byte forms begin with 0xC2..0xDF, all letters but 0xD7 (×).
      const bool pair = pos - at == 2 && first != 0xD7 && !cp1252LetterOrUnassigned(second);
      const bool afterLower = before >= 'a' && before <= 'z' && first != 0xDF;
      if (!pair || cp1252FromCodePoint(cp) >= 0 || before >= 0x80 || afterLower) return false;
      beyondAscii = true;
    }
    before = cp;
  }
  return beyondAscii;
}

std::string decodeUnit(std::string_view unit, bool utf8Marked) {
  if (isValidUtf8(unit) && (utf8Marked || !readsAsCp1252Pairs(unit))) return std::string(unit);
  return cp1252ToUtf8(unit);
}

}  // namespace

std::string decodeText(std::string_view bytes, TextUnit unit) {
  const bool marked = bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom;
  if (marked) bytes.remove_prefix(kUtf8Bom.size());
  if (unit == TextUnit::File) return decodeUnit(bytes, marked);
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  size_t start = 0;
  while (start <= bytes.size()) {
    const size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
    out += decodeUnit(bytes.substr(start, end - start), marked);
    if (end < bytes.size()) out += bytes[end];
    start = end + 1;
  }
  return out;
}

std::string decodeUserText(std::string_view bytes) { return decodeText(bytes, TextUnit::File); }

std::string encodeText(std::string_view utf8, TextUnit unit) {
  bool lossless = true;
  std::string cp = utf8ToCp1252(utf8, &lossless);
  if (lossless && decodeText(cp, unit) == utf8) return cp;
  return std::string(kUtf8Bom) + std::string(utf8);
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  const auto einheit = [&](size_t i) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  std::string out;
  out.reserve(bytes.size());
  size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    char32_t c = einheit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size() && einheit(i + 2) >= 0xDC00 && einheit(i + 2) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (einheit(i + 2) - 0xDC00);
      i += 2;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    appendUtf8(out, c);
  }
  if (i < bytes.size()) appendUtf8(out, 0xFFFD);
  return out;
}

std::string asciiUpper(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

std::string asciiLower(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

bool asciiIEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string ZeilenendenCRLF(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace mosaik
