#include "ui/Feldfilter.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "platform/Win1252.h"

namespace mosaik {
namespace {

constexpr char32_t kRueckschritt = 8;

bool asciiBuchstabe(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool ziffer(char32_t c) { return c >= '0' && c <= '9'; }
bool umlaut(char32_t c) {
  return c == U'Ä' || c == U'Ö' || c == U'Ü' || c == U'ß' || c == U'ä' || c == U'ö' || c == U'ü';
}
bool haeltCp1252(char32_t c) { return cp1252FromCodePoint(c) >= 0; }

bool imStartseitensatz(char32_t c) { return imNamenssatz(c) || c == ' ' || c == ':' || c == '/'; }
bool nichtAndereZeichen(char32_t c) { return haeltCp1252(c) && c != '.' && !ziffer(c) && !asciiBuchstabe(c); }

std::string kleinAscii(const std::string& s) { return asciiLower(s); }

bool endetMit(const std::string& s, const std::string& ende) {
  return s.size() >= ende.size() && s.compare(s.size() - ende.size(), ende.size(), ende) == 0;
}

}  // namespace

bool imNamenssatz(char32_t c) {
  return c == '(' || c == ')' || c == '-' || c == '.' || c == '_' || ziffer(c) || asciiBuchstabe(c);
}

bool imUrlSatz(char32_t c) {
  switch (c) {
    case '&': case '(': case ')': case ',': case '-': case '.': case '/': case ':': case ';': case '=': case '_':
    case '~':
      return true;
    default:
      return ziffer(c) || asciiBuchstabe(c) || umlaut(c);
  }
}

bool trennzeichenVerweigert(char32_t c) { return c == '*' || c == ',' || c == '/' || c == '?' || c == '\\'; }

Feldfilter feldfilter(Opt feld) {
  switch (feld) {
    case Opt::EdErweiterungVorschaubilder:
    case Opt::EdErweiterungGrosseBilder:
      return Feldfilter::Namenszusatz;
    case Opt::EdNameHTML:
      return Feldfilter::Startseite;
    case Opt::EdPfadErsetzung:
    case Opt::EdVorschaulinksErsetzen:
    case Opt::EdOriginalePfadErsetzung:
    case Opt::EdHintergrundgrafik:
    case Opt::EdAndereCSSDatei:
    case Opt::EdFavicon:
    case Opt::EdLinkZurueckGrafik:
    case Opt::EdLinkZuruekVerlinkteDatei:
      return Feldfilter::Pfad;
    case Opt::EdAndereZeichen:
      return Feldfilter::AndereZeichen;
    case Opt::EdKlammerAuf:
    case Opt::EdBindestrich:
    case Opt::EdKlammerZu:
    case Opt::EdVerbindungszeichen:
      return Feldfilter::Trennzeichen;
    case Opt::EdKomprimierung:
    case Opt::EdKomprimierungGrosseBilder:
      return Feldfilter::Ziffern;
    case Opt::RSpEdVerhaeltnis:
      return Feldfilter::Dezimal;
    case Opt::MLiesmich:
      return Feldfilter::Gesperrt;
    default:
      return Feldfilter::Keiner;
  }
}

bool hatKopierausnahme(Opt feld) {
  switch (feldfilter(feld)) {
    case Feldfilter::Namenszusatz:
    case Feldfilter::Startseite:
    case Feldfilter::Pfad:
    case Feldfilter::AndereZeichen:
    case Feldfilter::Trennzeichen:
      return true;
    default:
      return false;
  }
}

char32_t tasteErsetzen(Opt feld, char32_t c, char dezimaltrenner) {
  switch (feldfilter(feld)) {
    // Typed paths use the separator of this system.
    case Feldfilter::Startseite:
    case Feldfilter::Pfad:
      return c == '\\' ? U'/' : c;
    case Feldfilter::Dezimal:
      return (c == '.' || c == ',') ? static_cast<char32_t>(dezimaltrenner) : c;
    default:
      return c;
  }
}

bool tasteErlaubt(Opt feld, char32_t c, char dezimaltrenner) {
  if (!haeltCp1252(c)) return false;
  switch (feldfilter(feld)) {
    case Feldfilter::Keiner:
      return true;
    case Feldfilter::Namenszusatz:
      return c == kRueckschritt || imNamenssatz(c);
    case Feldfilter::Startseite:
      return c == kRueckschritt || imStartseitensatz(c);
    case Feldfilter::Pfad:
      return c == kRueckschritt || imUrlSatz(c);
    case Feldfilter::AndereZeichen:
      return c != '.' && !ziffer(c) && !asciiBuchstabe(c);
    case Feldfilter::Trennzeichen:
      return !trennzeichenVerweigert(c);
    case Feldfilter::Ziffern:
      return c == kRueckschritt || ziffer(c);
    case Feldfilter::Dezimal:
      // The decimal spin edit's own rule.
      return c == '+' || c == ',' || c == '-' || c == '.' || ziffer(c) ||
             c == static_cast<char32_t>(dezimaltrenner) || (c < 32 && c != 13);
    case Feldfilter::Gesperrt:
      return false;
  }
  return false;
}

std::string zeichenBehalten(const std::string& text, bool (*keep)(char32_t)) {
  std::string out;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t anfang = pos;
    const char32_t c = nextCodePoint(text, pos);
    if (keep(c)) out.append(text, anfang, pos - anfang);
  }
  return out;
}

std::string alsUrlPfad(const std::string& text) {
  std::string t = text;
  std::replace(t.begin(), t.end(), '\\', '/');
  return zeichenBehalten(t, imUrlSatz);
}

std::string ersatzpfadBereinigt(const std::string& text) {
  std::string t = alsUrlPfad(text);
  if (!t.empty() && t.back() != '/') t += '/';
  return t;
}

std::string andereZeichenBereinigt(const std::string& text) { return zeichenBehalten(text, nichtAndereZeichen); }

bool trennzeichenUngueltig(const std::string& text, bool leerErsetzen) {
  if (text.empty()) return leerErsetzen;
  size_t pos = 0;
  const char32_t erstes = nextCodePoint(text, pos);
  return erstes == ' ' || trennzeichenVerweigert(erstes) || !haeltCp1252(erstes);
}

std::string startseitenNameBereinigt(const std::string& name) {
  std::string t = zeichenBehalten(name, imNamenssatz);
  const std::string klein = kleinAscii(t);
  static const char* const kEndungen[] = {".htm", ".html", ".xhtml", ".php"};
  bool endungOk = false;
  for (const char* e : kEndungen) endungOk = endungOk || endetMit(klein, e);
  if (!endungOk) t += ".htm";
  const std::string klein2 = kleinAscii(t);
  for (const char* e : kEndungen)
    if (klein2 == e) return "meinebilder.htm";
  return t;
}

bool ganzeZahl(const std::string& text, int64_t& wert) {
  const char* b = text.data();
  const char* e = text.data() + text.size();
  if (b != e && *b == '+') ++b;
  if (b == e) return false;
  auto [p, ec] = std::from_chars(b, e, wert);
  return ec == std::errc() && p == e;
}

int qualitaetAusText(const std::string& text, int min, int max, int standard) {
  int64_t v = 0;
  if (!ganzeZahl(text, v)) return standard;
  return static_cast<int>(std::clamp<int64_t>(v, min, max));
}

}  // namespace mosaik
