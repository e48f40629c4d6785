#include "generator/Namen.h"

#include <cstdio>
#include <vector>

#include "generator/Verzeichnis.h"
#include "platform/CheckedFolders.h"
#include "platform/FileSystem.h"
#include "platform/Win1252.h"

namespace mosaik {
namespace {

const char* const kZeilenumbruch = "\r\n";

bool beginntMit(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

// Components of a folder path, split at '/'; an absolute path starts with
// an empty component, a trailing '/' adds none.
std::vector<std::string> teile(const std::string& ordner) {
  std::vector<std::string> t;
  size_t start = 0;
  while (start < ordner.size()) {
    const size_t s = ordner.find('/', start);
    if (s == std::string::npos) {
      t.push_back(ordner.substr(start));
      break;
    }
    t.push_back(ordner.substr(start, s - start));
    start = s + 1;
  }
  return t;
}

// The relative way from the folder basis to pfad, "../" for every level
// up; the file-name part of pfad is kept, a trailing '/' too.
std::string relativ(const std::string& basis, const std::string& pfad) {
  const std::string b = fs::absoluteName(fs::withTrailingSlash(basis));
  const std::string p = fs::absoluteName(pfad);
  if (b.empty() || p.empty() || (b[0] == '/') != (p[0] == '/')) return p;
  const auto s = p.rfind('/');
  const std::string pOrdner = s == std::string::npos ? std::string() : p.substr(0, s + 1);
  const std::string pDatei = s == std::string::npos ? p : p.substr(s + 1);
  const auto bt = teile(b), pt = teile(pOrdner);
  size_t i = 0;
  while (i < bt.size() && i < pt.size() && bt[i] == pt[i]) ++i;
  std::string r;
  for (size_t j = i; j < bt.size(); ++j) r += "../";
  for (size_t j = i; j < pt.size(); ++j) r += pt[j] + "/";
  return r + pDatei;
}

// Lower case for a file name of a style sheet: ASCII and the Latin-1
// capitals.
std::string kleinschrift(const std::string& s) {
  std::string out;
  size_t pos = 0;
  while (pos < s.size()) {
    const size_t vor = pos;
    char32_t cp = nextCodePoint(s, pos);
    if (cp >= 'A' && cp <= 'Z') {
      cp += 32;
    } else if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) {
      cp += 32;
    } else {
      out.append(s, vor, pos - vor);  // invalid bytes stay as they are
      continue;
    }
    appendUtf8(out, cp);
  }
  return out;
}

}  // namespace

// --- Folders -------------------------------------------------------------

std::string OrdnerNormalisieren(const std::string& pfad) {
  if (pfad.empty()) return pfad;
  return fs::withTrailingSlash(fs::absoluteName(pfad));
}

std::string standardOrdnerHTML(const Kontext& k) {
  // An empty picture folder gets no '/': never "/html" at the root.
  std::string p = k.st.BilderOrdnerPfad;
  ZeichenAnhaengen('/', p);
  return p + "html";
}

std::string HTMLOrdner(const Kontext& k) {
  return OrdnerNormalisieren(k.st.HTMLOrdnerPfad.empty() ? standardOrdnerHTML(k) : k.st.HTMLOrdnerPfad);
}

std::string standardOrdnerGrosseBilder(const Kontext& k) {
  std::string h = k.st.HTMLOrdnerPfad.empty() ? standardOrdnerHTML(k) : k.st.HTMLOrdnerPfad;
  ZeichenAnhaengen('/', h);
  return h + "_gross";
}

std::string standardOrdnerVorschaubilder(const Kontext& k) {
  std::string h = k.st.HTMLOrdnerPfad.empty() ? standardOrdnerHTML(k) : k.st.HTMLOrdnerPfad;
  ZeichenAnhaengen('/', h);
  return h + "_vorschau";
}

std::string GrosseBilderOrdner(const Kontext& k) {
  return OrdnerNormalisieren(k.st.GrosseBilderpfad.empty() ? standardOrdnerGrosseBilder(k) : k.st.GrosseBilderpfad);
}

std::string VorschauOrdner(const Kontext& k) {
  return OrdnerNormalisieren(k.st.Vorschaubilderpfad.empty() ? standardOrdnerVorschaubilder(k)
                                                             : k.st.Vorschaubilderpfad);
}

bool OrdnerBeschreibbar(const std::string& folder) {
  return fs::probeWritable(folder, "Mosaikschauer###tmp###");
}

bool AusgabeordnerVertraut(const Kontext& k, const std::string& folder, bool abbruch) {
  const auto link = fs::foreignLink(folder);
  if (!link) return true;
  k.fehler("Kann nicht im Verzeichnis " + folder + " speichern." + kZeilenumbruch + fs::foreignLinkText(*link) +
           (abbruch ? std::string(kZeilenumbruch) + "Programmabbruch!" : std::string()));
  return false;
}

std::string Lesefehler(const std::string& pfad, const std::string& grund) {
  return "Fehler beim Einlesen der Datei" + std::string(kZeilenumbruch) + pfad +
         (grund.empty() ? "" : kZeilenumbruch + grund);
}

bool AustauschGemeldet() {
  const fs::CheckedFolders* g = fs::checkedFolders();
  return g && !g->breach().empty();
}

bool OrdnerAnlegen(const Kontext& k, const std::string& folder, std::optional<uint32_t> datum) {
  if (!AusgabeordnerVertraut(k, folder, false)) return false;
  if (!fs::folderExists(folder) && !fs::forceDirectories(folder)) {
    if (!AustauschGemeldet()) k.fehler("Der Ordner " + folder + kZeilenumbruch + "kann nicht angelegt werden!");
    return false;
  }
  // Linux folders carry no archive or system attribute to reset.
  if (datum) fs::setDosDateTime(folder, *datum);
  return true;
}

// --- Names ---------------------------------------------------------------

std::string DateinamenTeil(const std::string& pfad) {
  const auto s = pfad.rfind('/');
  return s == std::string::npos ? pfad : pfad.substr(s + 1);
}

std::string Erweiterung(const std::string& name) {
  const std::string n = DateinamenTeil(name);
  const auto d = n.rfind('.');
  return d == std::string::npos ? std::string() : n.substr(d);
}

std::string OhneErweiterung(const std::string& name) {
  return name.substr(0, name.size() - Erweiterung(name).size());
}

std::string UebersichtsseiteDateiname(const Kontext& k, const std::string& f, int p) {
  const std::string n = DateinamenTeil(k.m.text(Opt::EdNameHTML));
  const std::string x = Erweiterung(n);
  const std::string b = n.substr(0, n.size() - x.size());
  const std::string& a = k.m.text(Opt::EdKlammerAuf);
  const std::string& h = k.m.text(Opt::EdBindestrich);
  const std::string& z = k.m.text(Opt::EdKlammerZu);
  const bool index = k.m.checked(Opt::CBGrundnameistIndex);
  const std::string ps = std::to_string(p);
  if (!k.m.checked(Opt::RBStrukturflach)) {
    if (p == 1) return index ? "index" + x : b + x;
    return b + a + ps + z + x;
  }
  if (p > 1) return b + a + f + h + ps + z + x;
  if (f == "0") return index ? "index" + x : n;
  return b + a + f + z + x;
}

std::string EinzelbildHTMLName(const Kontext& k, const std::string& uebersichtsseite, const TDateiArray& liste,
                               int index, bool stopp) {
  std::string p = DateinamenTeil(uebersichtsseite);
  const std::string klein = asciiLower(p);
  if (klein == "index.htm" || klein == "index.html" || klein == "index.xhtml" || klein == "index.php")
    p = k.m.text(Opt::EdNameHTML);
  const std::string& bild = liste.at(static_cast<size_t>(index)).Name;
  const std::string bildErw = Erweiterung(bild);
  const std::string vorn = OhneErweiterung(p) + k.m.text(Opt::EdVerbindungszeichen);
  std::string mitte = OhneErweiterung(bild) + (bildErw.empty() ? std::string() : bildErw.substr(1));
  const std::string hinten = (stopp ? "-stopp" : "") + Erweiterung(p);
  const std::string name = vorn + mitte + hinten;
  // A picture whose name nearly fills a file name would get a page no file
  // system can store, and its thumbnail would link nowhere: the picture's
  // part is cut (on a character boundary) and marked with a checksum of the
  // whole name, so that two long names stay two pages.
  constexpr size_t kNameMax = 255, kMarke = 9;
  if (name.size() <= kNameMax || vorn.size() + hinten.size() + kMarke >= kNameMax) return name;
  const size_t behalten = utf8Prefix(mitte, kNameMax - vorn.size() - hinten.size() - kMarke).size();
  uint32_t fnv = 2166136261u;
  for (const char c : name) fnv = (fnv ^ static_cast<unsigned char>(c)) * 16777619u;
  char marke[kMarke + 1];
  std::snprintf(marke, sizeof marke, "~%08x", fnv);
  mitte.resize(behalten);
  return vorn + mitte + marke + hinten;
}

std::string HTMLGrundname(const Kontext& k) { return kleinschrift(OhneErweiterung(k.m.text(Opt::EdNameHTML))); }

std::string CSSDateiname(const Kontext& k) { return HTMLGrundname(k) + ".css"; }

std::string GrossbildKennungEntfernen(const Kontext& k, const std::string& name) {
  const std::string& affix = k.m.text(Opt::EdErweiterungGrosseBilder);
  if (affix.empty()) return name;
  const auto q = name.find(affix);
  if (q == std::string::npos) return name;
  if (k.m.checked(Opt::RBVorneGrosseBilder) && q == 0) return name.substr(affix.size());
  if (k.m.checked(Opt::RBhintenGrosseBilder) && q >= 1) return name.substr(0, q) + name.substr(q + affix.size());
  return name;
}

std::string VorschaubildName(const Kontext& k, const std::string& name) {
  if (!k.m.checked(Opt::CBVorschaubilderErzeugen)) return name;
  const std::string n = GrossbildKennungEntfernen(k, DateinamenTeil(name));
  const std::string& affix = k.m.text(Opt::EdErweiterungVorschaubilder);
  if (k.m.checked(Opt::RBhinten)) return OhneErweiterung(n) + affix + Erweiterung(n);
  return affix + n;
}

std::string GrossbildName(const Kontext& k, const std::string& name) {
  if (!k.m.checked(Opt::CBOriginaleVerkleinern)) return name;
  const std::string n = DateinamenTeil(name);
  const std::string& affix = k.m.text(Opt::EdErweiterungGrosseBilder);
  if (k.m.checked(Opt::RBhintenGrosseBilder)) return OhneErweiterung(n) + affix + Erweiterung(n);
  return affix + n;
}

// --- Paths and links -----------------------------------------------------

std::string AnzeigeWurzel(const Kontext& k) {
  return k.m.checked(Opt::CBOriginaleVerkleinern) ? GrosseBilderOrdner(k) : OrdnerNormalisieren(k.st.BilderOrdnerPfad);
}

std::string AnzeigeUnterpfad(const Kontext& k, const std::string& ordner) {
  const std::string wurzel = AnzeigeWurzel(k);
  const std::string o = OrdnerNormalisieren(ordner);
  if (wurzel.empty() || !beginntMit(o, wurzel)) return {};
  std::string rest = o.substr(wurzel.size());
  ZeichenEntfernen('/', rest);
  return rest.empty() ? rest : "/" + rest;
}

std::string AnzeigePfad(const Kontext& k, const std::string& ordner, const std::string& startnameKodiert) {
  return startnameKodiert + AnzeigeUnterpfad(k, ordner);
}

std::string UnterordnerPfad(const Kontext& k, const std::string& ordner, bool) {
  const std::string u = AnzeigeUnterpfad(k, ordner);
  return u.empty() ? u : u.substr(1) + "/";
}

std::string PfadZurStartseite(const Kontext& k, const std::string& ordner, bool) {
  std::string r;
  for (int i = ZeichenZaehlen('/', AnzeigeUnterpfad(k, ordner)); i > 0; --i) r += "../";
  return r;
}

std::string RelativerPfad(const std::string& basis, const std::string& pfad) {
  std::string r = relativ(basis, pfad);
  ZeichenEntfernen('/', r);
  return r;
}

std::string RelativeURL(const std::string& basis, const std::string& pfad) {
  std::string r = RelativerPfad(basis, pfad);
  if (!r.empty() && r[0] == '/') r.erase(0, 1);
  ZeichenAnhaengen('/', r);
  return r;
}

std::string RelativerPfadZumHTMLOrdner(const Kontext& k, const std::string& pfad) {
  return RelativerPfad(HTMLOrdner(k), pfad);
}

std::string RelativeURLZumHTMLOrdner(const Kontext& k, const std::string& pfad) {
  return RelativeURL(HTMLOrdner(k), pfad);
}

bool IstAbsoluterPfad(const std::string& t) {
  if (t.empty()) return false;
  if (t[0] == '/' || t[0] == '\\') return true;
  // A web address of any scheme: letter, then letters, digits, '+', '-', '.'.
  const auto c = t.find("://");
  if (c == std::string::npos || c == 0) return false;
  if (!((t[0] >= 'A' && t[0] <= 'Z') || (t[0] >= 'a' && t[0] <= 'z'))) return false;
  for (size_t i = 1; i < c; ++i) {
    const char ch = t[i];
    const bool gut = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
                     ch == '+' || ch == '-' || ch == '.';
    if (!gut) return false;
  }
  return true;
}

void RelativenPfadAnpassen(const Kontext& k, std::string& text, Opt feld, const std::string& ordner) {
  if (k.m.checked(Opt::CBmitUnterverzeichnissen) && !IstAbsoluterPfad(k.m.text(feld)))
    text = PfadZurStartseite(k, ordner, false) + text;
}

std::string OriginalLinkPfad(const Kontext& k, const std::string& basis, const std::string& pfad) {
  std::string p = fs::absoluteName(pfad);
  if (k.m.checked(Opt::CBOriginaleVerkleinern)) {
    const std::string gross = GrosseBilderOrdner(k);
    const std::string bilder = OrdnerNormalisieren(k.st.BilderOrdnerPfad);
    if (!gross.empty() && beginntMit(fs::withTrailingSlash(p), gross)) {
      const std::string rest = fs::withTrailingSlash(p).substr(gross.size());
      p = bilder + rest;
      if (!pfad.empty() && pfad.back() != '/') ZeichenEntfernen('/', p);
    }
  }
  return relativ(basis, p);
}

std::string BasisPfadAbschneiden(const std::string& pfad, const std::string& basis) {
  const std::string p = fs::withTrailingSlash(fs::absoluteName(pfad));
  const std::string b = fs::withTrailingSlash(fs::absoluteName(basis));
  if (!b.empty() && beginntMit(p, b)) return p.substr(b.size());
  return p;
}

// --- Text routines -------------------------------------------------------

void ZeichenAnhaengen(char c, std::string& text) {
  if (!text.empty() && text.back() != c) text += c;
}

void ZeichenEntfernen(char c, std::string& text) {
  if (!text.empty() && text.back() == c) text.pop_back();
}

int ZeichenZaehlen(char c, const std::string& text) {
  int n = 0;
  for (char x : text) n += x == c;
  return n;
}

std::string TextErsetzen(const std::string& such, const std::string& ersatz, const std::string& text) {
  if (such.empty()) return text;
  std::string r = text;
  if (ersatz.find(such) != std::string::npos) {
    // Starting over from the front would never end: replace once, left to
    // right.
    std::string out;
    size_t pos = 0, f;
    while ((f = r.find(such, pos)) != std::string::npos) {
      out.append(r, pos, f - pos);
      out += ersatz;
      pos = f + such.size();
    }
    return out + r.substr(pos);
  }
  size_t f;
  while ((f = r.find(such)) != std::string::npos) r.replace(f, such.size(), ersatz);
  return r;
}

std::string GemeinsamesEndeAbschneiden(const std::string& pfadA, const std::string& pfadB) {
  std::string a = fs::withTrailingSlash(pfadA);
  std::string b = fs::withTrailingSlash(pfadB);
  for (;;) {
    std::string ka = a, kb = b;
    ZeichenEntfernen('/', ka);
    ZeichenEntfernen('/', kb);
    const auto sa = ka.rfind('/'), sb = kb.rfind('/');
    if (sa == std::string::npos || sb == std::string::npos) break;
    if (!asciiIEquals(ka.substr(sa + 1), kb.substr(sb + 1))) break;
    a = ka.substr(0, sa + 1);
    b = kb.substr(0, sb + 1);
  }
  return a;
}

std::string LetzterOrdnername(std::string path) {
  ZeichenEntfernen('/', path);
  const auto s = path.rfind('/');
  return s == std::string::npos ? path : path.substr(s + 1);
}

}  // namespace mosaik
