#include "platform/Win1252.h"

#include <algorithm>

#include "platform/FileSystem.h"

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

bool cp1252Unassigned(unsigned char b) { return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D; }

// The letters of Windows-1252 among the bytes 0x80..0x9F: ƒ Š Œ Ž š œ ž Ÿ.
bool cp1252LetterBelowA0(unsigned char b) {
  return b == 0x83 || b == 0x8A || b == 0x8C || b == 0x8E || b == 0x9A || b == 0x9C || b == 0x9E || b == 0x9F;
}

// The signs of Windows-1252 that people put right after a word: … ‘ ’ “ ”
// – — ™ ‹ › « » and the non-breaking space.
bool cp1252SignAfterWord(unsigned char b) {
  switch (b) {
    case 0x85: case 0x8B: case 0x91: case 0x92: case 0x93: case 0x94: case 0x96:
    case 0x97: case 0x99: case 0x9B: case 0xA0: case 0xAB: case 0xBB:
      return true;
    default:
      return false;
  }
}

bool asciiUpperLetter(char32_t c) { return c >= 'A' && c <= 'Z'; }
bool asciiLowerLetter(char32_t c) { return c >= 'a' && c <= 'z'; }
bool asciiLetter(char32_t c) { return asciiUpperLetter(c) || asciiLowerLetter(c); }

// The Latin letters beyond Latin-1 that living alphabets hold, by case:
// Latin Extended-A (upper and lower case alternate, shifted by one from
// "Ĺ" to "ň" and from "Ź" to "ž"; "ĸ", "ŉ" and "ſ" are small); of Latin
// Extended-B and the IPA block the letters of African alphabets (ɓ ɗ ɖ ɛ ǝ
// ɔ ɣ ɨ ʉ ʋ ƙ ƴ ɲ), Azerbaijani "ə", Vietnamese "ơ" and "ư", Sami "ǧ",
// "ǩ", "ǯ", "ʒ", Romanian "ș" and "ț", Lakota "ȟ", "ǹ"; and the small tone
// letters of pinyin ("ǎ" to "ǜ"), whose capitals begin a sentence or a
// name but end no word in capitals, as "Ç" and a sign do ("AKAÇ—"). Ewe's
// "ƒ" is left out: it begins syllables only, while "Æ‘" and "Æ’" end
// Danish and Icelandic words in capitals.
enum class LatinCase { None, Capital, Small };
LatinCase livingLatin(char32_t cp) {
  struct CasePair {
    char32_t capital, small;
  };
  static constexpr CasePair kBeyondExtendedA[] = {
      {0x181, 0x253}, {0x186, 0x254}, {0x189, 0x256}, {0x18A, 0x257}, {0x18E, 0x1DD}, {0x18F, 0x259},
      {0x190, 0x25B}, {0x194, 0x263}, {0x197, 0x268}, {0x198, 0x199}, {0x19D, 0x272}, {0x1A0, 0x1A1},
      {0x1AF, 0x1B0}, {0x1B2, 0x28B}, {0x1B3, 0x1B4}, {0x1B7, 0x292}, {0x1E6, 0x1E7}, {0x1E8, 0x1E9},
      {0x1EE, 0x1EF}, {0x1F8, 0x1F9}, {0x218, 0x219}, {0x21A, 0x21B}, {0x21E, 0x21F}, {0x244, 0x289}};
  if (cp >= 0x100 && cp < 0x180) {
    if (cp == 0x138 || cp == 0x149 || cp == 0x17F) return LatinCase::Small;
    const bool shifted = (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E);
    return (cp % 2 == 1) != shifted ? LatinCase::Small : LatinCase::Capital;
  }
  if (cp >= 0x1CE && cp <= 0x1DC && cp % 2 == 0) return LatinCase::Small;  // pinyin
  for (const CasePair& p : kBeyondExtendedA) {
    if (p.capital == cp) return LatinCase::Capital;
    if (p.small == cp) return LatinCase::Small;
  }
  return LatinCase::None;
}

// The letters of European alphabets among them: Latin Extended-A and "ș",
// "ț". In the code page their bytes begin with "Ä", "Å" or "È", those of
// the other living letters with "Æ", "Ç", "É" or "Ê".
bool european(char32_t cp) { return cp < 0x180 || (cp >= 0x218 && cp < 0x21C); }

// Two-byte UTF-8 characters by whether typed text holds them alone amid
// Latin letters. Latin ones: the letters of living alphabets above ("İ",
// "Ż", "Š", "ș", "ə", "ɛ", "Ơ", "ǔ"). Other ones: the rest of Latin
// Extended-B up to "ǿ" ("ƅ", "ǻ"), modifier letters ("ʻ"), the combining
// marks of decomposed letters (an "O" and U+0308 for "Ö"), Greek and
// Cyrillic letters ("Ω", "λ", "Я"), Armenian, Hebrew, Arabic. Never: rare
// Latin, the rest of IPA, rare marks, Syriac, Thaana, NKo, which is what
// "È’", "É ", "ÉŠ", "Í…", "Ü“" and "ß…" of Windows-1252 make.
enum class Alone { Never, Latin, Other };
Alone standsAlone(char32_t cp) {
  if (livingLatin(cp) != LatinCase::None) return Alone::Latin;
  const bool other = (cp >= 0x180 && cp < 0x200) || (cp >= 0x2B0 && cp < 0x340) || (cp >= 0x380 && cp < 0x500) ||
                     (cp >= 0x530 && cp < 0x700);
  return other ? Alone::Other : Alone::Never;
}

// Windows-1252 as people write it: a capital ends a word in capitals and a
// sign follows it, or a dash or apostrophe joins it to the next word in
// capitals ("CAFÉ–BAR", "HANUNÓ’O").
bool cp1252WordEnd(unsigned char sign, char32_t before, char32_t after) {
  const bool joins = sign == 0x92 || sign == 0x96 || sign == 0x97;
  return (asciiUpperLetter(before) || before == '\'') && cp1252SignAfterWord(sign) &&
         (!asciiLetter(after) || (joins && asciiUpperLetter(after)));
}

// Whether the Latin letter of a living alphabet at `at` is rather
// Windows-1252. Both readings fit only where its two bytes end a word in
// capitals (cp1252WordEnd); there the letter's case and place decide.
// - A small letter ends no word in capitals ("LAXÅ«", "PSYCHÈ™" are no
//   "LAXū", "PSYCHș") but follows the capital that begins a word ("Są",
//   "Mɛ", "Wǔ"), save where that capital and the code page's letter make a
//   word of two letters too: "NÉ”", "AÇ–" ("Ç" does after a vowel only, and
//   "‹" "›" close a quotation the other one opened, whose byte after a
//   blank is no UTF-8); of the European letters "Œ", "Ŗ" and "ŗ", which end
//   no word, and "œ", which is no word's second ("PÅ“").
// - A capital ends a word in capitals ("ATELJĒ", "THƠ", "NAANƗ"), save a
//   European one that "Ä" or "Å", which end many German and Scandinavian
//   words, make with … “ ” ("NIVÅ…"); no Scandinavian word ends in "iå",
//   where Latvian diminutives end in "iņ" ("DRUSCIŅ").
// Elsewhere a small letter beyond the European ones that stands between no
// letters is rather a word of one capital and a sign ("É–").
bool latinReadsAsCp1252(std::string_view s, size_t at, char32_t cp, char32_t before, char32_t after) {
  const auto sign = static_cast<unsigned char>(s[at + 1]);
  const bool small = livingLatin(cp) == LatinCase::Small;
  if (!cp1252WordEnd(sign, before, after))
    return small && !european(cp) && !asciiLetter(before) && !asciiLetter(after) && cp1252SignAfterWord(sign);
  const bool endsNoWord = cp == 0x152 || cp == 0x156 || cp == 0x157;  // Œ Ŗ ŗ: "NIVÅ’", "NIVÅ–"
  if (small) {
    const bool wordStart = at < 2 || (static_cast<unsigned char>(s[at - 2]) < 0x80 && !asciiLetter(s[at - 2]));
    if (!wordStart || !asciiUpperLetter(before)) return true;
    if (european(cp)) return endsNoWord || cp == 0x153;
    const bool cedilla = cp >= 0x1C0 && cp < 0x200;
    const bool vowel = before == 'A' || before == 'E' || before == 'I' || before == 'O' || before == 'U';
    return (!cedilla || vowel) && sign != 0x8B && sign != 0x9B;
  }
  const bool quoteOrEllipsis = sign == 0x85 || sign == 0x93 || sign == 0x94;
  return european(cp) && (endsNoWord || (quoteOrEllipsis && !(cp == 0x145 && before == 'I')));
}

// Whether the character of a valid UTF-8 unit at [at, end) is rather
// Windows-1252 that happens to form UTF-8; `before` is the character
// before it (0 at the start).
bool cp1252Shaped(std::string_view s, size_t at, size_t end, char32_t cp, char32_t before) {
  // The letters of a Greek or Cyrillic word stand side by side.
  if (before >= 0x80) return false;
  if (cp >= 0x80 && cp <= 0x9F) return true;  // a C1 control: no editor types one
  // "ü" and "Ä" in UTF-8 are "Ã¼" and "Ã„" in the code page: UTF-8 always.
  if (cp < 0x100) return false;
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const char32_t after = end < s.size() ? byte(end) : 0;
  const bool afterCapital = asciiUpperLetter(before) || before == '\'';
  if (end - at == 2) {
    // A letter and a sign or letter; 0xD7 is ×.
    const unsigned char letter = byte(at), sign = byte(at + 1);
    if (letter == 0xD7 || cp1252Unassigned(sign)) return false;
    switch (standsAlone(cp)) {
      case Alone::Never:  // capitals follow no lower-case letter; "ß" does
        return letter == 0xDF || !asciiLowerLetter(before);
      case Alone::Latin:
        return latinReadsAsCp1252(s, at, cp, before, after);
      case Alone::Other:  // "SCHÖN…", "NIÑO»", "COSÌ…", "BÚŠ", "DÓŽE", not "10 Ω", "Я", "HŽ" decomposed
        if (cp >= 0x380 && (sign == 0x8A || sign == 0x8C || sign == 0x8E || sign == 0x9F))
          return afterCapital && !asciiLowerLetter(after);
        return cp1252WordEnd(sign, before, after);
    }
  }
  // A lower-case letter and two signs ("Perché…”"), the letters "š" or "ž"
  // and a sign ("Almáš…"), or a non-breaking space before a dash, "€" or
  // "»" ("Café – Sommer"); but punctuation and symbols (U+2000 to U+2FFF,
  // "â" and two signs) are typed glued to a word: "Erledigt✅", "Top✓",
  // "Kapitel①", "Teil⅓".
  if (end - at != 3 || (cp >= 0x2000 && cp < 0x3000)) return false;
  const unsigned char second = byte(at + 1), third = byte(at + 2);
  const bool signOrLetter = (cp1252SignAfterWord(second) && second < 0xA0) || cp1252LetterBelowA0(second);
  const bool boundSign = second == 0xA0 && (third == 0x80 || third == 0x96 || third == 0x97 || third == 0xBB);
  return ((signOrLetter && cp1252SignAfterWord(third)) || boundSign) && asciiLetter(before) && !asciiLetter(after);
}

// A valid UTF-8 unit that is Windows-1252 nonetheless: each character
// beyond ASCII is one a Windows-1252 writer makes (cp1252Shaped), and never
// right after another (the letters of a Greek or Cyrillic word stand side
// by side).
bool readsAsCp1252(std::string_view s) {
  bool beyondAscii = false;
  char32_t before = 0;
  size_t pos = 0;
  while (pos < s.size()) {
    const size_t at = pos;
    const char32_t cp = nextCodePoint(s, pos);
    if (cp >= 0x80) {
      if (!cp1252Shaped(s, at, pos, cp, before)) return false;
      beyondAscii = true;
    }
    before = cp;
  }
  return beyondAscii;
}

std::string decodeUnit(std::string_view unit, bool utf8Marked) {
  if (isValidUtf8(unit) && (utf8Marked || !readsAsCp1252(unit))) return std::string(unit);
  return cp1252ToUtf8(unit);
}

// UTF-16 as Windows editors save it, or nullopt for bytes that are not
// UTF-16 throughout, as a line appended in an 8-bit encoding leaves them
// (read as UTF-16 it would turn into CJK characters): an odd length, the
// bytes 0D 0A of an 8-bit line end, or a last byte 0A (as `echo` leaves
// it). Letters of Indic scripts make the same bytes, so these count only
// where the text cannot be such a letter: 0D 0A is a Malayalam or Sinhala
// letter before a line end (xx 0D 0A 00) or, big-endian, "ഊ" before an
// ASCII or Malayalam character; a last 0A is the end of a Gurmukhi or
// Gujarati word (little-endian, a letter, blank or danda before it) or,
// big-endian, a letter below U+2000 ("Њ", "Ċ").
std::optional<std::string> utf16Text(std::string_view bytes) {
  const bool bigEndian = bytes[0] == '\xFE';
  bytes.remove_prefix(2);
  const size_t n = bytes.size();
  if (n % 2 != 0) return std::nullopt;
  const auto byte = [&](size_t i) { return i < n ? static_cast<unsigned char>(bytes[i]) : 0x100u; };
  for (size_t i = bytes.find("\r\n"); i != std::string_view::npos; i = bytes.find("\r\n", i + 1)) {
    const bool letterBeforeLineEnd = !bigEndian && i % 2 == 1 && byte(i + 2) == 0;
    const bool uuBeforeLetter = bigEndian && i % 2 == 0 && (byte(i + 2) == 0 || byte(i + 2) == 0x0D);
    if (!letterBeforeLineEnd && !uuBeforeLetter) return std::nullopt;
  }
  if (n >= 2 && bytes.back() == '\n' && bytes[n - 2] != '\0') {
    const bool indicWordEnd = !bigEndian && (n < 4 || byte(n - 3) == 0 || byte(n - 3) == 0x09 || byte(n - 3) == 0x0A);
    const bool letterBelow2000 = bigEndian && byte(n - 2) < 0x20;
    if (!indicWordEnd && !letterBelow2000) return std::nullopt;
  }
  return utf16ToUtf8(bytes, bigEndian);
}

constexpr std::string_view kUtf32LeMark("\xFF\xFE\0\0", 4), kUtf32BeMark("\0\0\xFE\xFF", 4);

bool isUtf32(std::string_view bytes) { return bytes.substr(0, 4) == kUtf32LeMark || bytes.substr(0, 4) == kUtf32BeMark; }

// UTF-32 with its mark, as a few editors save it; nullopt when its length
// is no multiple of four or a unit is no code point, as 8-bit bytes
// appended make them. (Read as UTF-16 it would put NUL into every page.)
std::optional<std::string> utf32Text(std::string_view bytes) {
  const bool bigEndian = bytes[0] == '\0';
  bytes.remove_prefix(4);
  if (bytes.size() % 4 != 0) return std::nullopt;
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); i += 4) {
    char32_t c = 0;
    for (size_t k = 0; k < 4; ++k)
      c |= static_cast<char32_t>(static_cast<unsigned char>(bytes[i + (bigEndian ? 3 - k : k)])) << (8 * k);
    if (c > 0x10FFFF) return std::nullopt;
    appendUtf8(out, c >= 0xD800 && c <= 0xDFFF ? 0xFFFD : c);
  }
  return out;
}

}  // namespace

bool hasUnicodeMark(std::string_view bytes) {
  return bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF" || bytes.substr(0, 4) == kUtf32BeMark;
}

std::optional<std::string> decodeText(std::string_view bytes, TextUnit unit) {
  if (isUtf32(bytes)) return utf32Text(bytes);
  if (hasUnicodeMark(bytes)) return utf16Text(bytes);
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

std::string notUnicodeThroughout(std::string_view bytes) {
  const char* form = isUtf32(bytes) ? "UTF-32" : "UTF-16";
  return std::string("Sie ist als ") + form + " gespeichert, enthält aber auch Bytes, die kein " + form +
         " sind (etwa eine angehängte Zeile in einer anderen Kodierung).";
}

std::optional<std::string> decodeUserText(std::string_view bytes) { return decodeText(bytes, TextUnit::File); }

std::optional<std::string> readUserTextFile(const std::string& path, std::string* why) {
  const auto bytes = fs::readTextFile(path, why);
  if (!bytes) return std::nullopt;
  auto text = decodeUserText(*bytes);
  if (!text && why) *why = notUnicodeThroughout(*bytes);
  return text;
}

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

std::string percentEncoded(std::string_view s, bool (*keep)(unsigned char)) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (keep(c)) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

namespace {
int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

std::string percentDecoded(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    const int high = s[i] == '%' && i + 2 < s.size() ? hexValue(s[i + 1]) : -1;
    const int low = high >= 0 ? hexValue(s[i + 2]) : -1;
    if (low < 0) {
      out += s[i];
      continue;
    }
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
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
