#include "generator/Umbenennen.h"

#include <unistd.h>

#include <cstdio>

#include "generator/Namen.h"
#include "generator/Verzeichnis.h"
#include "platform/FileSystem.h"
#include "platform/Win1252.h"

namespace mosaik {
namespace {

constexpr char32_t kTrema = 0x0308;  // combining diaeresis of decomposed umlauts
constexpr char32_t kUngueltig = 0x110000;

// A name as a sequence of characters; bytes that are no UTF-8 stay what they
// are (a Linux name is any byte string).
struct Zeichen {
  char32_t cp;
  std::string roh;
};

std::vector<Zeichen> zerlegen(const std::string& s) {
  std::vector<Zeichen> z;
  size_t pos = 0;
  while (pos < s.size()) {
    const size_t vor = pos;
    char32_t cp = nextCodePoint(s, pos);
    std::string roh = s.substr(vor, pos - vor);
    if (cp == 0xFFFD && roh != "\xEF\xBF\xBD") cp = kUngueltig;
    z.push_back({cp, std::move(roh)});
  }
  return z;
}

Zeichen zeichen(char32_t cp) {
  std::string r;
  appendUtf8(r, cp);
  return {cp, r};
}

bool aktiv(const Kontext& k, Opt o) { return k.m.checked(o) && k.m.enabled(o); }

// Renames from to to. When both are one file (a case-insensitive file
// system, or two links of one file) a plain rename cannot lose anything;
// otherwise an existing target is never replaced.
fs::RenameResult umbenennen(const std::string& von, const std::string& nach) {
  if (fs::sameFile(von, nach)) return std::rename(von.c_str(), nach.c_str()) == 0 ? fs::RenameResult::Done
                                                                                   : fs::RenameResult::Failed;
  return fs::renameNoReplace(von, nach);
}

}  // namespace

std::string WebsichererDateiname(const Kontext& k, const std::string& name, bool& geaendert) {
  geaendert = false;
  // A name that is no UTF-8 was written by an older system in its code
  // page; read that way its umlauts get their spelled-out form like any
  // other. Renaming is what makes the name readable at all.
  if (!isValidUtf8(name)) {
    const std::string neu = WebsichererDateiname(k, cp1252ToUtf8(name), geaendert);
    geaendert = true;
    return neu;
  }
  std::vector<Zeichen> z = zerlegen(name);

  if (k.m.checked(Opt::CBKleineDateinamen)) {
    for (auto& c : z) {
      if (c.cp >= 'A' && c.cp <= 'Z')
        c = zeichen(c.cp + 32);
      else if (c.cp == 0xC4 || c.cp == 0xD6 || c.cp == 0xDC)
        c = zeichen(c.cp + 32);
    }
  }

  if (k.m.checked(Opt::CBUmlauteErsetzen)) {
    std::vector<Zeichen> n;
    for (size_t i = 0; i < z.size(); ++i) {
      const char32_t c = z[i].cp;
      const char* ersatz = nullptr;
      switch (c) {
        case 0xC4: ersatz = "AE"; break;
        case 0xE4: ersatz = "ae"; break;
        case 0xD6: ersatz = "OE"; break;
        case 0xF6: ersatz = "oe"; break;
        case 0xDC: ersatz = "UE"; break;
        case 0xFC: ersatz = "ue"; break;
        case 0xDF: ersatz = "ss"; break;
        default: break;
      }
      // Names written on some systems spell an umlaut as the vowel followed
      // by a combining diaeresis.
      const bool zerlegt = i + 1 < z.size() && z[i + 1].cp == kTrema &&
                           (c == 'A' || c == 'a' || c == 'O' || c == 'o' || c == 'U' || c == 'u');
      if (zerlegt) {
        n.push_back(z[i]);
        n.push_back(zeichen(c < 'a' ? 'E' : 'e'));
        ++i;
        geaendert = true;
      } else if (ersatz) {
        for (const char* p = ersatz; *p; ++p) n.push_back(zeichen(static_cast<char32_t>(*p)));
        geaendert = true;
      } else {
        n.push_back(z[i]);
      }
    }
    z = std::move(n);
  }

  if (k.m.checked(Opt::CBLeerzeichenErsetzen)) {
    for (auto& c : z) {
      if (c.cp == ' ') {
        c = zeichen('_');
        geaendert = true;
      }
    }
  }

  if (k.m.checked(Opt::CBAndereZeichen)) {
    std::vector<char32_t> liste;
    for (const auto& c : zerlegen(k.m.text(Opt::EdAndereZeichen)))
      if (c.cp != kUngueltig) liste.push_back(c.cp);
    for (auto& c : z) {
      for (char32_t l : liste) {
        if (c.cp == l) {
          c = zeichen('_');
          geaendert = true;
          break;
        }
      }
    }
  }

  std::string out;
  for (const auto& c : z) out += c.roh;
  return out;
}

bool DateiWebsicherUmbenennen(const Kontext& k, const std::string& ordner, std::string& name) {
  const std::string dir = fs::withTrailingSlash(ordner);
  if (const auto echt = fs::findNoCase(dir, name)) name = *echt;
  const bool schreibgeschuetzt = fs::isReadOnly(dir + name);
  const bool auchSchreibgeschuetzte = k.m.checked(Opt::CBSchreibschutzdateienUmbenennen);
  if (!aktiv(k, Opt::CBUngueltigeNamenErsetzen) || (schreibgeschuetzt && !auchSchreibgeschuetzte)) return true;
  // Renaming changes the folder, not the entry: in a folder the user may
  // not write, the picture, its side files and subfolders keep their names
  // whatever the option for read-only entries says.
  if (::access(dir.c_str(), W_OK) != 0) return true;

  const auto eintrag = fs::entryInfo(dir + name);
  if (eintrag && eintrag->folder) DirnameTxtSchreiben(k, dir + name, name);

  bool geaendert = false;
  const std::string neu = WebsichererDateiname(k, name, geaendert);
  if (neu == name) return true;

  const std::string alt = name;
  std::string ziel = neu;
  fs::RenameResult r = fs::RenameResult::TargetTaken;
  if (!fs::exists(dir + neu) || fs::sameFile(dir + alt, dir + neu)) r = umbenennen(dir + alt, dir + neu);
  // A taken name, also one that differs only in case, gets the counter.
  for (long n = 1; r == fs::RenameResult::TargetTaken && n < 1000000; ++n) {
    ziel = OhneErweiterung(neu) + "-" + std::to_string(n) + Erweiterung(neu);
    if (!fs::exists(dir + ziel)) r = fs::renameNoReplace(dir + alt, dir + ziel);
  }
  name = ziel;
  bool ok = r == fs::RenameResult::Done;

  const std::string altBasis = OhneErweiterung(alt);
  const std::string neuBasis = OhneErweiterung(ziel);
  for (const std::string& erw : Begleiterweiterungen(k)) {
    const auto seite = fs::findNoCase(dir, altBasis + erw);
    if (!seite || *seite == neuBasis + erw) continue;
    if (fs::isReadOnly(dir + *seite) && !auchSchreibgeschuetzte) continue;
    if (!ok) break;
    ok = umbenennen(dir + *seite, dir + neuBasis + erw) == fs::RenameResult::Done;
  }
  return ok;
}

void DirnameTxtSchreiben(const Kontext& k, const std::string& ordner, const std::string& alterName) {
  const std::string dir = fs::withTrailingSlash(ordner);
  // The option first: the write test leaves a probe file in the folder for
  // a moment, which the user's folders should not see needlessly.
  if (!k.st.dirnametxt || fs::findNoCase(dir, "dirname.txt") || !OrdnerBeschreibbar(dir)) return;
  // Windows-1252 where it can hold the name; otherwise the name's own bytes,
  // which readers take as UTF-8 when they are.
  const std::string inhalt = isValidUtf8(alterName) && fitsCp1252(alterName) ? utf8ToCp1252(alterName) : alterName;
  fs::writeFileAtomic(dir + "dirname.txt", inhalt + "\r\n");
}

std::vector<std::string> Begleiterweiterungen(const Kontext& k) {
  std::vector<std::string> e;
  if (k.m.checked(Opt::CBLinkZuVideo) || k.m.checked(Opt::CBGrossBildLinkVideo)) e.insert(e.end(), {".mov", ".avi"});
  if (k.m.checked(Opt::CBLinkZuAudio) || k.m.checked(Opt::CBGrossBildLinkAudio)) e.insert(e.end(), {".wav", ".mp3"});
  if (k.m.checked(Opt::CBLinkZuTextdatei) || k.m.checked(Opt::CBGrossBildLinkText)) e.push_back(".txt");
  return e;
}

bool BegleitdateienKopieren(const Kontext& k, const std::string& quelle, const std::string& ziel,
                            const std::string& bildname, const std::string& neuerBildname) {
  const std::string q = fs::withTrailingSlash(quelle);
  const std::string z = fs::withTrailingSlash(ziel);
  const std::string altBasis = OhneErweiterung(bildname);
  const std::string neuBasis = OhneErweiterung(neuerBildname);
  for (const std::string& erw : Begleiterweiterungen(k)) {
    const auto seite = fs::findNoCase(q, altBasis + erw);
    if (!seite) continue;
    if (!fs::copyFile(q + *seite, z + neuBasis + erw)) return false;
  }
  return true;
}

}  // namespace mosaik
