#include "generator/Entities.h"

#include "platform/Win1252.h"

namespace mosaik {
namespace {

// Named entities of U+00A1..U+00FF; the three gaps have none.
constexpr const char* kLatin1[95] = {
    "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",   "ordf",
    "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",   "acute",
    "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34",
    "iquest", "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave",
    "Eacute", "Ecirc",  nullptr,  "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve",
    "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",
    "Yacute", "THORN",  "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",
    "ccedil", "egrave", "eacute", "ecirc",  nullptr,  "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave", "uacute",
    "ucirc",  "uuml",   nullptr,  "thorn",  "yuml"};

// The next character; a byte that starts no valid UTF-8 sequence is read
// as the Windows-1252 character it would be in an old file or name.
char32_t zeichen(std::string_view s, size_t& pos) {
  const size_t vor = pos;
  const char32_t cp = nextCodePoint(s, pos);
  if (cp == 0xFFFD && pos - vor == 1) {
    const char32_t alt = cp1252ToCodePoint(static_cast<unsigned char>(s[vor]));
    return alt != 0 ? alt : 0xFFFD;
  }
  return cp;
}

void zahlAnhaengen(std::string& out, char32_t cp) { out += std::to_string(static_cast<unsigned long>(cp)); }

void numerisch(std::string& out, char32_t cp) {
  out += "&#";
  zahlAnhaengen(out, cp);
  out += ';';
}

void prozent(std::string& out, unsigned char b) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[b >> 4];
  out += kHex[b & 0x0F];
}

// Only ASCII and the Latin-1 range stand as they are in a page declared as
// ISO-8859-1.
bool latin1Zeichen(char32_t cp) { return cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF); }

char asciiKlein(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

}  // namespace

std::string HTMLZeichenKodieren(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    const char32_t cp = zeichen(text, pos);
    if (cp == 0x20AC) {
      out += "&euro;";
    } else if (cp >= 0xA1 && cp <= 0xFF && kLatin1[cp - 0xA1] != nullptr) {
      out += '&';
      out += kLatin1[cp - 0xA1];
      out += ';';
    } else if (latin1Zeichen(cp)) {
      appendUtf8(out, cp);
    } else {
      // Typographic quotes and dashes of Windows-1252 included: as raw
      // bytes they would be control characters of the declared charset.
      numerisch(out, cp);
    }
  }
  return out;
}

std::string AttributKodieren(std::string_view text) {
  std::string out;
  for (const char c : HTMLZeichenKodieren(text)) {
    if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

std::string NameKodieren(std::string_view name) {
  std::string maskiert;
  maskiert.reserve(name.size());
  for (const char c : name) {
    switch (c) {
      case '&':
        maskiert += "&amp;";
        break;
      case '<':
        maskiert += "&lt;";
        break;
      case '>':
        maskiert += "&gt;";
        break;
      case '"':
        maskiert += "&quot;";
        break;
      default:
        maskiert += c;
    }
  }
  return HTMLZeichenKodieren(maskiert);
}

std::string URLKodieren(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (const char c : name) {
    const auto b = static_cast<unsigned char>(c);
    const bool sicher = b > 0x20 && b < 0x7F && c != '"' && c != '#' && c != '%' && c != '&' && c != '<' &&
                        c != '>' && c != '?' && c != '\\';
    if (sicher) {
      out += c;
    } else {
      prozent(out, b);
    }
  }
  return out;
}

std::string BenutzerURLKodieren(std::string_view adresse) {
  std::string out;
  out.reserve(adresse.size());
  for (const char c : adresse) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '&') {
      out += "&amp;";
    } else if (b <= 0x20 || b >= 0x7F || c == '"' || c == '<' || c == '>') {
      prozent(out, b);
    } else {
      out += c;
    }
  }
  return out;
}

std::string SeitenBytes(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t cp = zeichen(utf8, pos);
    if (latin1Zeichen(cp)) {
      out += static_cast<char>(cp);
    } else {
      numerisch(out, cp);
    }
  }
  return out;
}

std::string CSSBytes(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t cp = zeichen(utf8, pos);
    const int b = cp < 0x80 ? static_cast<int>(cp) : cp1252FromCodePoint(cp);
    if (b >= 0) {
      out += static_cast<char>(b);
      continue;
    }
    std::string hex;
    for (char32_t v = cp; v != 0; v >>= 4) hex.insert(hex.begin(), kHex[v & 0x0F]);
    out += '\\' + hex + ' ';
  }
  return out;
}

std::string ErsetzenOhneFall(std::string_view text, std::string_view such, std::string_view ersatz) {
  if (such.empty()) return std::string(text);
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    bool treffer = i + such.size() <= text.size();
    for (size_t j = 0; treffer && j < such.size(); ++j) treffer = asciiKlein(text[i + j]) == asciiKlein(such[j]);
    if (treffer) {
      out += ersatz;
      i += such.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

}  // namespace mosaik
