#include "generator/Umbenennen.h"

#include <cerrno>
#include <cstdio>

#include "generator/Ableitungsbuch.h"
#include "generator/Durchlauf.h"
#include "generator/Namen.h"
#include "generator/Verzeichnis.h"
#include "platform/CheckedFolders.h"
#include "platform/FileSystem.h"
#include "platform/Win1252.h"

namespace mosaik {
namespace {

const char* const kZeilenumbruch = "\r\n";
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
  if (fs::sameFile(von, nach)) return fs::renameSameFile(von, nach);
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

std::optional<std::string> Begleitdatei(const Kontext& k, const std::string& ordner, const std::string& bild,
                                        const std::string& erweiterung) {
  const std::string dir = fs::withTrailingSlash(ordner);
  const std::string stamm = OhneErweiterung(bild);
  const auto name = fs::findNoCase(dir, stamm + erweiterung);
  // A folder, a pipe or a device spelled like a companion is none.
  if (!name || !fs::fileExists(dir + *name)) return std::nullopt;
  const std::string seitenStamm = OhneErweiterung(*name);
  if (seitenStamm == stamm) return name;
  // Spelled otherwise: it belongs to the picture spelled exactly like it,
  // else to the first picture in listing order spelled like it in another
  // case, and never to two.
  std::optional<std::string> erster;
  for (const fs::Entry& e : fs::listFolder(dir)) {
    if (e.folder || !IstBilddatei(k, e.name) || asciiLower(OhneErweiterung(e.name)) != asciiLower(stamm)) continue;
    if (OhneErweiterung(e.name) == seitenStamm) return std::nullopt;
    if (!erster) erster = e.name;
  }
  return erster == bild ? name : std::nullopt;
}

void BegleitdateiMitbenennen(const Kontext& k, const std::string& ordner, const std::string& bild, std::string& name) {
  bool geaendert = false;
  // A companion never takes a name that parts it from its picture (a
  // read-only picture keeps its own).
  if (OhneErweiterung(WebsichererDateiname(k, name, geaendert)) != OhneErweiterung(bild)) return;
  std::string neu = name;
  if (DateiWebsicherUmbenennen(k, ordner, neu)) name = neu;
}

bool DateiWebsicherUmbenennen(const Kontext& k, const std::string& ordner, std::string& name,
                              const std::set<std::string>& belegt) {
  const std::string dir = fs::withTrailingSlash(ordner);
  if (const auto echt = fs::findNoCase(dir, name)) name = *echt;
  const bool auchSchreibgeschuetzte = k.m.checked(Opt::CBSchreibschutzdateienUmbenennen);
  const auto unveraenderlich = [&](const std::string& pfad) {
    // An entry the user may not rename (a shared sticky folder) keeps its
    // name whatever the option for read-only entries says.
    return fs::isReadOnly(pfad) && (!auchSchreibgeschuetzte || !fs::mayRename(pfad));
  };
  if (!aktiv(k, Opt::CBUngueltigeNamenErsetzen) || unveraenderlich(dir + name)) return true;
  // Renaming changes the folder, not the entry: in a folder the user may
  // not write, the picture, its side files and subfolders keep their names
  // whatever the option for read-only entries says.
  if (!fs::mayChangeIn(dir)) return true;

  const auto eintrag = fs::entryInfo(dir + name);
  const bool istOrdner = eintrag && eintrag->folder;
  // A folder that holds one the run writes into (a folder for derived
  // pictures chosen inside the picture tree) keeps its name: renamed, it
  // would take that folder away from where the settings put it.
  if (istOrdner && fs::checkedFolders() && fs::checkedFolders()->holdsInside(dir + name)) return true;
  // A folder's former name lives on only in its "dirname.txt": without it
  // the folder keeps the name.
  std::string warum;
  if (istOrdner && !DirnameTxtSchreiben(k, dir + name, name, &warum)) {
    k.fehler(warum + kZeilenumbruch + "Der Ordner " + dir + name + " behält seinen Namen.");
    return true;
  }

  bool geaendert = false;
  const std::string neu = WebsichererDateiname(k, name, geaendert);
  if (neu == name && !belegt.count(neu)) return true;

  // A picture and its companions are renamed together or not at all.
  const std::string alt = name;
  std::vector<std::pair<std::string, std::string>> begleiter;  // name on disk, extension
  if (!istOrdner) {
    for (const std::string& erw : Begleiterweiterungen(k)) {
      const auto seite = Begleitdatei(k, dir, alt, erw);
      if (!seite || *seite == alt) continue;  // a companion renamed itself
      if (unveraenderlich(dir + *seite)) return true;
      begleiter.emplace_back(*seite, erw);
    }
  }
  // Free when nothing else bears the name, nor the companions' names; the
  // output folders' names are taken at every depth.
  const auto frei = [&](const std::string& ziel) {
    if (belegt.count(ziel) || (fs::exists(dir + ziel) && !fs::sameFile(dir + alt, dir + ziel))) return false;
    for (const auto& [seite, erw] : begleiter) {
      const std::string z = OhneErweiterung(ziel) + erw;
      if (fs::exists(dir + z) && !fs::sameFile(dir + seite, dir + z)) return false;
    }
    return true;
  };
  std::string ziel = neu;
  fs::RenameResult r = fs::RenameResult::TargetTaken;
  // A taken name, also one that differs only in case, gets the counter.
  for (long n = 0; r == fs::RenameResult::TargetTaken && n < 1000000; ++n) {
    ziel = n == 0 ? neu : OhneErweiterung(neu) + "-" + std::to_string(n) + Erweiterung(neu);
    if (frei(ziel)) r = umbenennen(dir + alt, dir + ziel);
  }
  name = ziel;
  if (r != fs::RenameResult::Done) return false;
  for (const auto& [seite, erw] : begleiter) {
    const std::string z = OhneErweiterung(ziel) + erw;
    if (seite != z && umbenennen(dir + seite, dir + z) != fs::RenameResult::Done) return false;
  }
  return true;
}

bool DirnameTxtSchreiben(const Kontext& k, const std::string& ordner, const std::string& alterName,
                         std::string* warum, Ableitungsbuecher* verzeichnen) {
  const std::string dir = fs::withTrailingSlash(ordner);
  if (!k.st.dirnametxt) return true;
  // Stored so that it reads back as the name (a name that is no UTF-8 as
  // Windows-1252, as the walk takes it): in Windows-1252 where that does;
  // else in the name's own bytes where they do, as earlier versions wrote
  // them; else as UTF-8 with a byte-order mark.
  const std::string zeile = alterName + "\r\n";
  const std::string text = isValidUtf8(zeile) ? zeile : cp1252ToUtf8(zeile);
  std::string inhalt = encodeText(text, TextUnit::File);
  if (inhalt.rfind("\xEF\xBB\xBF", 0) == 0 && decodeUserText(zeile) == text) inhalt = zeile;
  // One there already (a second run) keeps the name from the first; a
  // folder or pipe of that name keeps nothing. In a folder that keeps a
  // record, one the user put there stays, and the run says so.
  if (const auto da = fs::findNoCase(dir, "dirname.txt")) {
    const std::string p = dir + *da;
    if (!fs::fileExists(p)) {
      if (warum) *warum = fs::writeFailureText(p, EISDIR);
      return false;
    }
    if (!verzeichnen || !UnverzeichnetDa(p, *verzeichnen) || fs::readFile(p) == inhalt) return true;
    if (warum)
      *warum = BleibtText(p, "Der frühere Name " + alterName + " des Ordners wird daher nicht dorthin geschrieben.");
    return false;
  }
  const std::string pfad = dir + "dirname.txt";
  std::string grund;
  const Verzeichnung verzeichnung(pfad, verzeichnen, grund);
  if (fs::writeFileAtomic(pfad, inhalt, true, warum, verzeichnung.vorher())) {
    verzeichnung.nachher();
    return true;
  }
  if (warum && !grund.empty()) *warum = grund;
  return false;
}

std::vector<std::string> Begleiterweiterungen(const Kontext& k) {
  std::vector<std::string> e;
  if (k.m.checked(Opt::CBLinkZuVideo) || k.m.checked(Opt::CBGrossBildLinkVideo)) e.insert(e.end(), {".mov", ".avi"});
  if (k.m.checked(Opt::CBLinkZuAudio) || k.m.checked(Opt::CBGrossBildLinkAudio)) e.insert(e.end(), {".wav", ".mp3"});
  if (k.m.checked(Opt::CBLinkZuTextdatei) || k.m.checked(Opt::CBGrossBildLinkText)) e.push_back(".txt");
  return e;
}

bool BegleitdateienKopieren(const Kontext& k, const std::string& quelle, const std::string& ziel,
                            const std::string& bildname, const std::string& neuerBildname,
                            Ableitungsbuecher* verzeichnen) {
  const std::string q = fs::withTrailingSlash(quelle);
  const std::string z = fs::withTrailingSlash(ziel);
  const std::string neuBasis = OhneErweiterung(neuerBildname);
  for (const auto& [seite, erw] : VorhandeneBegleitdateien(k, q, bildname)) {
    std::string warum;
    if (!BeilageKopieren(q + seite, z + neuBasis + erw, verzeichnen, warum)) {
      k.fehler(warum);
      return false;
    }
  }
  return true;
}

std::vector<std::pair<std::string, std::string>> VorhandeneBegleitdateien(const Kontext& k, const std::string& ordner,
                                                                          const std::string& bild) {
  const std::string o = fs::withTrailingSlash(ordner);
  std::vector<std::pair<std::string, std::string>> da;
  for (const std::string& erw : Begleiterweiterungen(k)) {
    const auto seite = Begleitdatei(k, o, bild, erw);
    if (!seite) continue;
    if (const auto link = fs::foreignLink(o + *seite)) {
      k.fehler(Lesefehler(o + *seite, fs::foreignLinkText(*link, o + *seite)));
      continue;
    }
    da.emplace_back(*seite, erw);
  }
  return da;
}

}  // namespace mosaik
