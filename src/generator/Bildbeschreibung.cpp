#include "generator/Bildbeschreibung.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "generator/Bildpipeline.h"
#include "generator/Entities.h"
#include "imaging/ImgData.h"
#include "imaging/NumberFormat.h"
#include "platform/Win1252.h"

namespace mosaik {
namespace {

// --- Dates -----------------------------------------------------------------

int tageImMonat(int jahr, int monat) {
  static const int kTage[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool schalt = (jahr % 4 == 0 && jahr % 100 != 0) || jahr % 400 == 0;
  return kTage[monat - 1] + (monat == 2 && schalt ? 1 : 0);
}

std::string zweistellig(int v) {
  std::string s = std::to_string(v);
  return s.size() < 2 ? "0" + s : s;
}

const char* const kMonateKurz[12] = {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun",
                                     "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
const char* const kMonateLang[12] = {"Januar", "Februar", "März",     "April",   "Mai",      "Juni",
                                     "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
const char* const kTageKurz[7] = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
const char* const kTageLang[7] = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};

int wochentag(const DatumZeit& dz) {  // 0 = Sunday
  static const int kVersatz[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  const int y = dz.jahr - (dz.monat < 3 ? 1 : 0);
  return (y + y / 4 - y / 100 + y / 400 + kVersatz[dz.monat - 1] + dz.tag) % 7;
}

bool gleichOhneFall(std::string_view text, size_t pos, std::string_view wort) {
  return text.size() - pos >= wort.size() && asciiIEquals(text.substr(pos, wort.size()), wort);
}

// --- Template tokens ---------------------------------------------------------

struct Stueck {
  enum Art { Text, Backslash, Code, Auf, Zu } art;
  std::string text;  // Text: the text; Code: the two characters, ASCII letters lowered
  char gruppe = 0;   // Auf/Zu: '(' or '['
  std::string quelle = {};  // as written in the template
};

// With gruppen false the group signs are codes like any other (of no
// meaning, so they vanish with the character after them).
std::vector<Stueck> zerlegen(const std::string& eingabe, bool gruppen = true) {
  // A template that is no UTF-8 comes from an old Windows-1252 settings file.
  const std::string vorlage = isValidUtf8(eingabe) ? eingabe : cp1252ToUtf8(eingabe);
  std::vector<Stueck> out;
  std::string text;
  auto textAbschliessen = [&] {
    if (!text.empty()) out.push_back({Stueck::Text, text, 0, text});
    text.clear();
  };
  size_t i = 0;
  while (i < vorlage.size()) {
    if (vorlage[i] != '\\') {
      text += vorlage[i++];
      continue;
    }
    textAbschliessen();
    const size_t anfang = i++;
    if (i >= vorlage.size()) break;  // a lone backslash at the end vanishes
    const char c = vorlage[i];
    if (c == '\\') {
      out.push_back({Stueck::Backslash, {}, 0});
      ++i;
    } else if (gruppen && (c == '(' || c == '[')) {
      out.push_back({Stueck::Auf, {}, c});
      ++i;
    } else if (gruppen && (c == ')' || c == ']')) {
      out.push_back({Stueck::Zu, {}, c == ')' ? '(' : '['});
      ++i;
    } else {
      const size_t start = i;
      nextCodePoint(vorlage, i);
      if (i >= vorlage.size()) break;  // only one character left: vanishes
      nextCodePoint(vorlage, i);
      out.push_back({Stueck::Code, asciiLower(std::string_view(vorlage).substr(start, i - start)), 0});
    }
    out.back().quelle = vorlage.substr(anfang, i - anfang);
  }
  textAbschliessen();
  return out;
}

// Keeps or drops the groups of one kind; kept, only their signs go. A
// dropped group runs from its opening sign to the first closing sign after
// it (groups do not nest), or to the end when it is never closed. A closing
// sign outside a dropped group stays, to be read as a code, and an opening
// sign after it drops everything to the end. Templates saved over the years
// rely on these rules.
void gruppenAnwenden(std::vector<Stueck>& s, char gruppe, bool behalten) {
  const auto ist = [gruppe](const Stueck& t, Stueck::Art art) { return t.art == art && t.gruppe == gruppe; };
  std::vector<Stueck> out;
  out.reserve(s.size());
  bool zuDavor = false;
  for (size_t i = 0; i < s.size(); ++i) {
    if (behalten && (ist(s[i], Stueck::Auf) || ist(s[i], Stueck::Zu))) continue;
    if (!ist(s[i], Stueck::Auf)) {
      zuDavor = zuDavor || ist(s[i], Stueck::Zu);
      out.push_back(std::move(s[i]));
      continue;
    }
    if (zuDavor) break;
    while (i + 1 < s.size() && !ist(s[i + 1], Stueck::Zu)) ++i;
    ++i;  // the closing sign
  }
  s = std::move(out);
}

// The template as it stands after the groups, read again: a closing sign
// left over is now a code, which takes the character after it along.
std::vector<Stueck> ohneGruppenZerlegen(const std::vector<Stueck>& s) {
  std::string vorlage;
  for (const Stueck& t : s) vorlage += t.quelle;
  return zerlegen(vorlage, false);
}

std::string alleErsetzen(std::string text, std::string_view such, std::string_view ersatz) {
  size_t p = 0;
  while ((p = text.find(such, p)) != std::string::npos) {
    text.replace(p, such.size(), ersatz);
    p += ersatz.size();
  }
  return text;
}

const char* const kKleinAuf = "<span class=\"kl\">";

}  // namespace

// --- Dates -----------------------------------------------------------------

std::optional<DatumZeit> DosDatumZerlegen(uint32_t dos) {
  DatumZeit dz;
  dz.jahr = 1980 + static_cast<int>((dos >> 25) & 0x7F);
  dz.monat = static_cast<int>((dos >> 21) & 0x0F);
  dz.tag = static_cast<int>((dos >> 16) & 0x1F);
  dz.stunde = static_cast<int>((dos >> 11) & 0x1F);
  dz.minute = static_cast<int>((dos >> 5) & 0x3F);
  dz.sekunde = static_cast<int>(dos & 0x1F) * 2;
  if (dz.monat < 1 || dz.monat > 12 || dz.tag < 1 || dz.tag > tageImMonat(dz.jahr, dz.monat)) return std::nullopt;
  if (dz.stunde > 23 || dz.minute > 59 || dz.sekunde > 59) return std::nullopt;
  return dz;
}

std::optional<DatumZeit> TageZerlegen(double tage) {
  const imaging::DateTimeParts t = imaging::DecodeDateTime(tage);
  if (t.Year < 1 || t.Year > 9999) return std::nullopt;
  return DatumZeit{t.Year, t.Month, t.Day, t.Hour, t.Minute, t.Second};
}

std::string DatumZeitText(const std::string& muster, const DatumZeit& dz) {
  bool zwoelf = false;
  for (const char* m : {"ampm", "am/pm", "a/p"})
    for (size_t i = 0; i < muster.size(); ++i)
      if (gleichOhneFall(muster, i, m)) zwoelf = true;
  std::string out;
  bool nachStunde = false;  // an m right after an hour means minutes
  size_t i = 0;
  while (i < muster.size()) {
    const char c = muster[i];
    const char lc = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (c == '\'' || c == '"') {
      const size_t ende = muster.find(c, i + 1);
      out += muster.substr(i + 1, (ende == std::string::npos ? muster.size() : ende) - i - 1);
      i = ende == std::string::npos ? muster.size() : ende + 1;
      continue;
    }
    if (lc == 'a') {
      const bool pm = dz.stunde >= 12;
      if (gleichOhneFall(muster, i, "ampm")) {
        out += pm ? "PM" : "AM";
        i += 4;
        continue;
      }
      if (gleichOhneFall(muster, i, "am/pm")) {
        const bool klein = muster[i] == 'a';
        out += pm ? (klein ? "pm" : "PM") : (klein ? "am" : "AM");
        i += 5;
        continue;
      }
      if (gleichOhneFall(muster, i, "a/p")) {
        const bool klein = muster[i] == 'a';
        out += pm ? (klein ? "p" : "P") : (klein ? "a" : "A");
        i += 3;
        continue;
      }
    }
    size_t n = 1;
    if (lc == 'd' || lc == 'm' || lc == 'y' || lc == 'h' || lc == 'n' || lc == 's') {
      while (i + n < muster.size() && (muster[i + n] | 0x20) == lc) ++n;
    } else {
      out += c;
      ++i;
      continue;
    }
    switch (lc) {
      case 'd':
        if (n == 1) out += std::to_string(dz.tag);
        else if (n == 2) out += zweistellig(dz.tag);
        else out += (n == 3 ? kTageKurz : kTageLang)[wochentag(dz)];
        break;
      case 'm':
        if (nachStunde) {
          out += n == 1 ? std::to_string(dz.minute) : zweistellig(dz.minute);
        } else if (n == 1) {
          out += std::to_string(dz.monat);
        } else if (n == 2) {
          out += zweistellig(dz.monat);
        } else {
          out += (n == 3 ? kMonateKurz : kMonateLang)[dz.monat - 1];
        }
        break;
      case 'y': {
        if (n <= 2) {
          out += zweistellig(dz.jahr % 100);
        } else {
          std::string j = std::to_string(dz.jahr);
          out += std::string(j.size() < 4 ? 4 - j.size() : 0, '0') + j;
        }
        break;
      }
      case 'h': {
        int h = dz.stunde;
        if (zwoelf) {
          h %= 12;
          if (h == 0) h = 12;
        }
        out += n == 1 ? std::to_string(h) : zweistellig(h);
        break;
      }
      case 'n':
        out += n == 1 ? std::to_string(dz.minute) : zweistellig(dz.minute);
        break;
      case 's':
        out += n == 1 ? std::to_string(dz.sekunde) : zweistellig(dz.sekunde);
        break;
    }
    nachStunde = lc == 'h';
    i += n;
  }
  return out;
}

// --- Texts -------------------------------------------------------------------

std::string Zeilenumbruch(const Kontext& k) { return k.st.DoctypeXHTML ? "<br />" : "<br>"; }

// --- Metadata ----------------------------------------------------------------

Bildmetadaten::Bildmetadaten(std::string pfad) : pfad_(std::move(pfad)) {}
Bildmetadaten::~Bildmetadaten() = default;

imaging::TimgData& Bildmetadaten::daten() {
  if (!daten_) {
    daten_ = std::make_unique<imaging::TimgData>(255);
    daten_->ProcessFile(pfad_);
  }
  return *daten_;
}

bool Bildmetadaten::HatEXIFDaten() { return daten().HasExif(); }
bool Bildmetadaten::HatJpgKommentar() { return daten().HasComment(); }
std::string Bildmetadaten::Kommentar() { return HatJpgKommentar() ? daten().GetCommentText() : std::string(); }

std::string Bildmetadaten::Tag(std::string_view name) {
  if (!HatEXIFDaten() || !daten().ExifInfo) return {};
  return daten().ExifInfo->LookupTagValue(name);
}

double Bildmetadaten::Aufnahmezeit() {
  if (!HatEXIFDaten() || !daten().ExifInfo) return 0;
  return daten().ExifInfo->GetImgDateTime();
}

bool HatEXIFDaten(const std::string& pfad) { return Bildmetadaten(pfad).HatEXIFDaten(); }
bool HatJpgKommentar(const std::string& pfad) { return Bildmetadaten(pfad).HatJpgKommentar(); }

std::string JpgKommentarLesen(const Kontext& k, Bildmetadaten& bild) {
  // The comment is the picture's text, never markup of the page.
  std::string t = NameKodieren(bild.Kommentar());
  const std::string br = Zeilenumbruch(k);
  t = alleErsetzen(std::move(t), "\r\n", br);
  t = alleErsetzen(std::move(t), "\r", br);
  return alleErsetzen(std::move(t), "\n", br);
}

namespace {
std::string aufnahmeText(Bildmetadaten& bild, const std::string& muster) {
  if (!bild.HatEXIFDaten()) return {};
  const double t = bild.Aufnahmezeit();
  if (t == 0) return {};
  const auto dz = TageZerlegen(t);
  return dz ? DatumZeitText(muster, *dz) : std::string();
}
}  // namespace

std::string EXIFAufnahmeDatumLesen(const Kontext& k, Bildmetadaten& bild) {
  return aufnahmeText(bild, k.sv.locale.shortDate);
}

std::string EXIFAufnahmeZeitLesen(const Kontext& k, Bildmetadaten& bild) {
  return aufnahmeText(bild, k.sv.locale.longTime);
}

std::string EXIFBrennweiteAequivalentLesen(const Kontext& k, Bildmetadaten& bild) {
  if (!bild.HatEXIFDaten()) return {};
  return BrennweiteAequivalent(bild.Tag("FocalLength"), k.st.BWreal, k.st.BWumgerechnet,
                               imaging::DecimalSeparator());
}

// --- Numbers -----------------------------------------------------------------

bool DezimalzahlLesen(std::string_view text, char dezimaltrenner, double& wert) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  // Only the separator of the setting counts: "7.80" is no number where a
  // comma is the separator, just as the display texts were printed.
  std::string s;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) s += text[i++];
  size_t ziffern = 0;
  bool trenner = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      s += c;
      ++ziffern;
    } else if (c == dezimaltrenner && !trenner) {
      s += '.';
      trenner = true;
    } else {
      break;
    }
  }
  if (ziffern == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    s += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) s += text[i++];
    size_t exp = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++exp) s += text[i];
    if (exp == 0) return false;
  }
  if (i != text.size()) return false;
  const char* anfang = s.data();
  if (*anfang == '+') ++anfang;
  double v = 0;
  const auto r = std::from_chars(anfang, s.data() + s.size(), v);
  if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return false;
  wert = v;
  return true;
}

std::string BrennweiteAequivalent(const std::string& brennweite, double real, double umgerechnet, char dezimaltrenner) {
  if (real == 0) return {};
  std::string t = brennweite;
  if (const auto p = t.find(" mm"); p != std::string::npos) t.erase(p, 3);
  if (const auto p = t.find("mm"); p != std::string::npos) t.erase(p, 2);
  double zahl = 0;
  if (!DezimalzahlLesen(t, dezimaltrenner, zahl)) zahl = 0;
  const double w = zahl * umgerechnet / real;
  if (!std::isfinite(w) || std::fabs(w) >= 9.0e15) return {};
  return std::to_string(imaging::RoundHalfEven(w)) + " mm";
}

int64_t GGT(int64_t a, int64_t b) {
  // In unsigned arithmetic so that the smallest 64-bit value has an
  // absolute value too.
  const auto betrag = [](int64_t v) { return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v); };
  uint64_t x = betrag(a), y = betrag(b);
  if (x < y) std::swap(x, y);
  while (y > 0) {
    const uint64_t r = x % y;
    x = y;
    y = r;
  }
  return static_cast<int64_t>(x);
}

std::string BruchKuerzen(const std::string& text) {
  const auto p = text.find('/');
  if (p == std::string::npos) return text;
  // The numerator as an integer: blanks before it and a sign are allowed.
  // Both numbers are 32-bit integers, as EXIF rationals are.
  std::string_view z(text.data(), p);
  while (!z.empty() && z.front() == ' ') z.remove_prefix(1);
  if (!z.empty() && z.front() == '+') z.remove_prefix(1);
  int32_t zaehler32 = 0;
  if (z.empty()) return text;
  auto r = std::from_chars(z.data(), z.data() + z.size(), zaehler32);
  if (r.ec != std::errc() || r.ptr != z.data() + z.size()) return text;
  size_t e = p + 1;
  while (e < text.size() && text[e] >= '0' && text[e] <= '9') ++e;
  int32_t nenner32 = 0;
  r = std::from_chars(text.data() + p + 1, text.data() + e, nenner32);
  if (e == p + 1 || r.ec != std::errc()) return text;
  int64_t zaehler = zaehler32, nenner = nenner32;
  const int64_t g = GGT(zaehler, nenner);
  if (g == 0) return text;
  zaehler /= g;
  nenner /= g;
  const std::string rest = text.substr(e);
  if (nenner == 1) return std::to_string(zaehler) + rest;
  return std::to_string(zaehler) + "/" + std::to_string(nenner) + rest;
}

// --- The caption -------------------------------------------------------------

std::string BildbeschreibungErzeugen(const Kontext& k, const std::string& vorlage, const std::string& ordner,
                                     const std::string& dateiname, int64_t groesse, uint32_t datum) {
  const std::string pfad = ordner + dateiname;
  Bildmetadaten bild(pfad);
  const std::string br = Zeilenumbruch(k);

  std::vector<Stueck> stuecke = zerlegen(vorlage);
  bool gruppen = false;
  for (const Stueck& s : stuecke) gruppen = gruppen || s.art == Stueck::Auf || s.art == Stueck::Zu;
  if (gruppen) {
    gruppenAnwenden(stuecke, '(', bild.HatEXIFDaten());
    gruppenAnwenden(stuecke, '[', bild.HatJpgKommentar() && !JpgKommentarLesen(k, bild).empty());
    stuecke = ohneGruppenZerlegen(stuecke);
  }

  std::string text;
  bool kleinOffen = false;
  bool groesseGelesen = false;
  int breite = 0, hoehe = 0;
  const auto bildgroesse = [&] {
    if (!groesseGelesen) BildGroesseLesen(k, pfad, breite, hoehe);
    groesseGelesen = true;
  };

  for (const Stueck& s : stuecke) {
    if (s.art == Stueck::Text) {
      text += s.text;
      continue;
    }
    if (s.art == Stueck::Backslash) {
      text += '\\';
      continue;
    }
    if (s.art != Stueck::Code) continue;
    const std::string& c = s.text;
    if (c == "dn") {
      const auto punkt = dateiname.rfind('.');
      text += NameKodieren(punkt == std::string::npos ? dateiname : dateiname.substr(0, punkt));
    } else if (c == "de") {
      text += NameKodieren(dateiname);
    } else if (c == "dg") {
      text += std::to_string(groesse / 1024) + "&nbsp;KB";
    } else if (c == "dd" || c == "dz") {
      if (const auto dz = DosDatumZerlegen(datum))
        text += DatumZeitText(c == "dd" ? k.sv.locale.shortDate : k.sv.locale.longTime, *dz);
    } else if (c == "bb") {
      bildgroesse();
      text += std::to_string(breite);
    } else if (c == "bh") {
      bildgroesse();
      text += std::to_string(hoehe);
    } else if (c == "ko") {
      text += JpgKommentarLesen(k, bild);
    } else if (c == "ma") {
      text += NameKodieren(bild.Tag("Make"));
    } else if (c == "mo") {
      text += NameKodieren(bild.Tag("Model"));
    } else if (c == "ad") {
      text += EXIFAufnahmeDatumLesen(k, bild);
    } else if (c == "az") {
      text += EXIFAufnahmeZeitLesen(k, bild);
    } else if (c == "bl") {
      text += NameKodieren(bild.Tag("FNumber"));
    } else if (c == "bz") {
      text += NameKodieren(BruchKuerzen(bild.Tag("ExposureTime")));
    } else if (c == "bw") {
      text += NameKodieren(bild.Tag("FocalLength"));
    } else if (c == "b\xC3\xA4") {  // "bä"
      text += EXIFBrennweiteAequivalentLesen(k, bild);
    } else if (c == "kl") {
      if (!kleinOffen) text += kKleinAuf;
      kleinOffen = true;
    } else if (c == "gr") {
      if (kleinOffen) text += "</span>";
      kleinOffen = false;
    } else if (c == "zu") {
      text += br;
    }
  }

  text = ErsetzenOhneFall(text, "<br><br>", "<br>");
  text = ErsetzenOhneFall(text, "<br /><br />", "<br />");
  text = ErsetzenOhneFall(text, "  ", " ");
  if (kleinOffen) text += "</span>";
  text = alleErsetzen(std::move(text), std::string(kKleinAuf) + "</span>", "");
  if (text.empty()) return {};
  return "<div class=\"beschr\"><span class=\"gr\">" + HTMLZeichenKodieren(text) + "</span></div>";
}

}  // namespace mosaik
