#include "generator/Durchlauf.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <exception>
#include <map>
#include <set>
#include <utility>

#include "generator/Ableitungsbuch.h"
#include "generator/Bildpipeline.h"
#include "generator/Listen.h"
#include "generator/Namen.h"
#include "generator/Uebersichtsseiten.h"
#include "generator/Umbenennen.h"
#include "platform/FileSystem.h"
#include "platform/Win1252.h"

namespace mosaik {
namespace {

const char* const kZeilenumbruch = "\r\n";

bool abgebrochen() { return AbbruchFlag.load() != 0; }

// Counts pictures below a folder, stopping once grenze is reached (the
// walks only ask whether there is any).
int bilderZaehlen(Lauf& lauf, const std::string& ordner, bool& ok, int grenze) {
  const std::string dir = fs::withTrailingSlash(ordner);
  int n = 0;
  std::vector<std::string> unter;
  for (const fs::Entry& e : OrdnerLesen(lauf, dir)) {
    if (lauf.pumpUndAbbruch()) break;
    if (e.folder)
      unter.push_back(e.name);
    else if (IstBilddatei(lauf.k, e.name))
      ++n;
  }
  if (abgebrochen()) ok = false;
  for (const std::string& u : unter) {
    if (!ok || abgebrochen() || n >= grenze) break;
    const int c = bilderZaehlen(lauf, dir + u + "/", ok, grenze - n);
    if (ok) n += c;
  }
  if (abgebrochen()) {
    ok = false;
    return 0;
  }
  return n;
}

// The name a subfolder (or, in walk 1, a large image) gets on the other side
// of a walk.
std::string ordnerZielname(const Kontext& k, const std::string& name, const std::string& zweiterOrdner) {
  const bool ersetzen = k.m.checked(Opt::CBUngueltigeNamenErsetzen) && k.m.enabled(Opt::CBUngueltigeNamenErsetzen);
  if (!ersetzen) return name;
  if (fs::isReadOnly(zweiterOrdner) && !k.m.checked(Opt::CBSchreibschutzdateienUmbenennen)) return name;
  bool geaendert = false;
  return WebsichererDateiname(k, name, geaendert);
}

std::string mitZaehler(const std::string& name, long n) {
  return OhneErweiterung(name) + "-" + std::to_string(n) + Erweiterung(name);
}

std::pair<dev_t, ino_t> kennung(const std::string& pfad) {
  struct stat st {};
  if (!fs::fileStatus(pfad, st, true)) return {0, 0};
  return {st.st_dev, st.st_ino};
}

TDateieintrag bildeintrag(const fs::Entry& e) {
  TDateieintrag b;
  b.Name = e.name;
  b.Groesse = e.size;
  b.Datum = e.dosTime;
  return b;
}

bool istTextdatei(const std::string& name) {
  const std::string g = asciiUpper(name);
  return g == "DIRINFO.TXT" || g == "DIRNAME.TXT";
}

// A folder the walk writes into, made when missing; false after the
// message. A folder found swapped is named once, where the run ends.
bool ZielordnerAnlegen(const Kontext& k, const std::string& pfad) {
  if (fs::folderExists(pfad) || fs::forceDirectories(pfad)) return true;
  if (!AustauschGemeldet())
    k.fehler("Kann das Verzeichnis " + pfad + " nicht erstellen." + kZeilenumbruch + "Programmabbruch!");
  return false;
}

// The walks never follow a link to a folder (nor one swapped in for a
// folder during the run): what it leads to is missing from the gallery,
// and the user learns which.
void verknuepfungenMelden(const Kontext& k, const std::string& ordner, const std::vector<std::string>& namen) {
  for (const std::string& n : namen)
    k.fehler("Der Ordner " + ordner + n + " fehlt in der Galerie: Er ist eine symbolische Verknüpfung, und " +
             "Verknüpfungen zu Ordnern folgt Mosaikschauer nicht.");
}

// A folder the walk listed that is gone when it counts its pictures, and
// one it goes into because it held pictures when its parent was listed but
// holds none now, were swapped, renamed or emptied meanwhile: without a
// word they would be missing from the gallery. One found swapped for a link
// is named where the run ends.
void verschwundenMelden(const Kontext& k, const std::string& ordner) {
  if (!abgebrochen() && !AustauschGemeldet() && !fs::folderExists(ordner))
    k.fehler("Der Ordner " + ordner + " ist nicht mehr da: Er wurde während des Laufs umbenannt oder entfernt und " +
             "fehlt in der Galerie.");
}
void leerGewordenMelden(const Kontext& k, const std::string& ordner) {
  if (!abgebrochen() && !AustauschGemeldet())
    k.fehler("Der Ordner " + ordner + " enthält keine Bilder mehr: Er wurde während des Laufs ausgetauscht oder " +
             "geleert und fehlt in der Galerie.");
}

}  // namespace

std::set<std::string> Ausgabeordnernamen(const Lauf& lauf) {
  std::set<std::string> n;
  for (const std::string* s : {&lauf.HTMLOrdnername, &lauf.GrosseBilderOrdnername, &lauf.VorschauOrdnername})
    if (!s->empty()) n.insert(*s);
  return n;
}

bool SeitendateiLesbar(const Kontext& k, const std::string& pfad) {
  if (!fs::fileExists(pfad)) return false;
  std::string grund;
  if (readUserTextFile(pfad, &grund)) return true;
  k.fehler(Lesefehler(pfad, grund));
  return false;
}

void OrdnerzeitMerken(Lauf& lauf, const std::string& ordner) {
  if (const auto t = fs::modTime(ordner)) lauf.Ordnerzeiten.emplace_back(ordner, *t);
}

void OrdnerzeitenZuruecksetzen(Lauf& lauf) {
  // Last remembered first: a folder remembered twice gets the earlier time.
  for (auto it = lauf.Ordnerzeiten.rbegin(); it != lauf.Ordnerzeiten.rend(); ++it)
    fs::setModTime(it->first, it->second);
  lauf.Ordnerzeiten.clear();
}

bool IstBilddatei(const Kontext& k, const std::string& name) {
  const std::string e = asciiUpper(Erweiterung(name));
  return (e == ".JPG" && k.m.checked(Opt::CBTypJpg)) || (e == ".JPEG" && k.m.checked(Opt::CBTypJpeg));
}

std::vector<fs::Entry> OrdnerLesen(const Lauf& lauf, const std::string& ordner,
                                   std::vector<std::string>* verknuepfungen) {
  const OptionModel& m = lauf.k.m;
  const auto zugelassen = [&](const fs::Entry& e) {
    // Hidden entries are not even listed unless asked for; Linux knows no
    // system files, and every entry counts as archived.
    if (e.hidden && !m.checked(Opt::CBAttrVersteckt)) return false;
    if (e.readOnly && !m.checked(Opt::CBAttrSchreibschutz)) return false;
    return !(e.folder && ((!lauf.HTMLOrdnername.empty() && e.name == lauf.HTMLOrdnername) ||
                          (!lauf.GrosseBilderOrdnername.empty() && e.name == lauf.GrosseBilderOrdnername) ||
                          (!lauf.VorschauOrdnername.empty() && e.name == lauf.VorschauOrdnername)));
  };
  std::vector<fs::Entry> links;
  std::vector<fs::Entry> out = fs::listFolder(fs::withTrailingSlash(ordner), verknuepfungen ? &links : nullptr);
  std::erase_if(out, [&](const fs::Entry& e) { return !zugelassen(e); });
  for (const fs::Entry& e : links)
    if (zugelassen(e)) verknuepfungen->push_back(e.name);
  return out;
}

int BilderZaehlen(Lauf& lauf, const std::string& ordner, bool& ok) { return bilderZaehlen(lauf, ordner, ok, INT_MAX); }

void OrdnerStatistik(Lauf& lauf, const std::string& ordner, int& anzahl, int64_t& bytes, bool& ok,
                     std::string& erstesBild, int& unterordner) {
  const Kontext& k = lauf.k;
  const std::string dir = fs::withTrailingSlash(ordner);
  anzahl = 0;
  bytes = 0;
  unterordner = 0;
  erstesBild.clear();
  TDateiArray bilder;
  std::vector<std::string> unter;
  for (const fs::Entry& e : OrdnerLesen(lauf, dir)) {
    if (lauf.pumpUndAbbruch()) break;
    if (!e.folder) {
      if (!IstBilddatei(k, e.name)) continue;
      ++anzahl;
      bytes += e.size;
      bilder.push_back(bildeintrag(e));
    } else if (bilderZaehlen(lauf, dir + e.name + "/", ok, 1) > 0 && ok) {
      ++unterordner;
      unter.push_back(e.name);
    }
  }
  if (abgebrochen()) ok = false;
  DateilisteNachOptionenSortieren(k, bilder);
  // Walk 2 leaves out a picture it cannot read, and one whose thumbnail
  // cannot be made: neither has a thumbnail to stand for the folder. Only a
  // thumbnail shown here is worth decoding a picture for.
  const bool vorschau = k.m.checked(Opt::CBUnterordnerbildAnzeigen) && k.m.checked(Opt::CBVorschaubilderErzeugen);
  for (const TDateieintrag& b : bilder)
    if (vorschau ? AbleitungMoeglich(dir + b.Name, VorschaubildArt(k.m, k.m.spin(Opt::SpEdGroesse),
                                                                   k.m.checked(Opt::CBkleineBilderVergroessern)))
                 : AnzeigeGroesseLesen(dir + b.Name).has_value()) {
      erstesBild = b.Name;
      break;
    }

  const auto an = [&k](Opt o) { return k.m.enabled(o) && k.m.checked(o); };
  const bool rekAnzahl = an(Opt::CBUnterordnerMitAnzDateienRek);
  const bool rekBytes = an(Opt::CBAnzeigeUnterodnerMitGroesseRek);
  const bool rekUnter = an(Opt::CBAnzeigeUnterodnerMitUnterordnerRek);
  if (!ok || !(rekAnzahl || rekBytes || rekUnter)) return;
  for (const std::string& u : unter) {
    if (!ok) break;
    int a = 0, uo = 0;
    int64_t b = 0;
    std::string verworfen;
    OrdnerStatistik(lauf, dir + u + "/", a, b, ok, verworfen, uo);
    if (rekAnzahl) anzahl += a;
    if (rekBytes) bytes += b;
    if (rekUnter) unterordner += uo;
  }
}

bool DateiattributeErlaubt(const Kontext& k, const std::string& pfad) {
  const auto s = pfad.rfind('/');
  const std::string ordner = s == std::string::npos ? std::string() : pfad.substr(0, s + 1);
  const std::string name = s == std::string::npos ? pfad : pfad.substr(s + 1);
  const std::string gefunden = fs::pathNoCase(ordner.empty() ? "./" : ordner, name);
  const auto e = fs::entryInfo(gefunden);
  if (!e || e->folder || !fs::linkTrusted(gefunden)) return false;
  if (e->readOnly && !k.m.checked(Opt::CBAttrSchreibschutz)) return false;
  if (e->hidden && !k.m.checked(Opt::CBAttrVersteckt)) return false;
  return true;
}

std::string DateigroesseText(const std::string& pfad) {
  const auto s = pfad.rfind('/');
  const std::string ordner = s == std::string::npos ? std::string("./") : pfad.substr(0, s + 1);
  int64_t n = fs::fileSize(fs::pathNoCase(ordner, s == std::string::npos ? pfad : pfad.substr(s + 1)));
  if (n < 0) n = 0;
  if (n < 1025) return std::to_string(n) + " Bytes";
  return std::to_string(n / 1024) + " KB";
}

bool DateiDatumSetzen(const std::string& pfad, uint32_t dosDatum) { return fs::setDosDateTime(pfad, dosDatum); }

// --- Walk 1 --------------------------------------------------------------

void OriginaleVerkleinernDurchlauf(Lauf& lauf, const std::string& quelleIn, const std::string& zielIn,
                                   bool mitUnterordnern, const std::string& ordnerNummer, int ordnerIndex,
                                   bool& ok) {
  const fs::ListingScope listings;  // each folder read once per walk
  Kontext& k = lauf.k;
  const OptionModel& m = k.m;
  if (abgebrochen()) {
    BenutzerAbbruch(k, ok);
    return;
  }
  const int erster = static_cast<int>(lauf.Ordnerliste.size());
  const std::string quelle = fs::withTrailingSlash(quelleIn);
  const std::string ziel = fs::withTrailingSlash(zielIn);
  if (fs::sameFile(quelle, ziel)) {
    // The reduced pictures would be written over the originals.
    ok = false;
    k.fehler("Der Ordner für die großen Bilder " + ziel + " ist der Bilderordner selbst." + kZeilenumbruch +
             "Die Originale würden überschrieben." + kZeilenumbruch + "Programmabbruch!");
    return;
  }

  fs::sweepStaleTemps(ziel);
  // Pictures and folders with pictures, in listing order.
  std::vector<fs::Entry> eintraege;
  std::vector<std::string> verknuepfungen;
  for (const fs::Entry& e : OrdnerLesen(lauf, quelle, mitUnterordnern ? &verknuepfungen : nullptr)) {
    if (lauf.pumpUndAbbruch() || !ok) break;
    if (!e.folder) {
      const bool text = asciiUpper(e.name) == "DIRNAME.TXT" ||
                        (asciiUpper(e.name) == "DIRINFO.TXT" && m.checked(Opt::CBdirinfoeinbinden));
      if (IstBilddatei(k, e.name) || text) {
        lauf.Bildliste.push_back(bildeintrag(e));
        if (!text) eintraege.push_back(e);
      }
      continue;
    }
    ok = true;
    if (bilderZaehlen(lauf, quelle + e.name + "/", ok, 1) > 0 && ok)
      eintraege.push_back(e);
    else if (ok && mitUnterordnern)
      verschwundenMelden(k, quelle + e.name);
  }
  verknuepfungenMelden(k, quelle, verknuepfungen);
  if (ordnerIndex >= 0 && eintraege.empty() && ok) leerGewordenMelden(k, quelle);

  // Target names: the web-safe ones, chosen here once, so that two sources
  // never share a target ("Urlaub" beside "urlaub") and a second run finds
  // what the first one made. Names that stay as they are keep them; the
  // others take the counter in listing order, as the renaming in place does.
  std::set<std::string> vergeben = Ausgabeordnernamen(lauf);
  vergeben.insert({"dirinfo.txt", "dirname.txt"});
  std::map<std::string, std::string> zielnamen;
  for (const fs::Entry& e : eintraege) {
    const std::string z = ordnerZielname(k, e.name, ziel);
    if (z == e.name) vergeben.insert(z);
    zielnamen[e.name] = z;
  }
  for (const fs::Entry& e : eintraege) {
    std::string& z = zielnamen[e.name];
    if (z == e.name) continue;
    const std::string basis = z;
    for (long n = 1; vergeben.count(z); ++n) z = mitZaehler(basis, n);
    vergeben.insert(z);
  }

  std::set<std::pair<dev_t, ino_t>> vergebeneOrdner;
  const bool anlegen = mitUnterordnern && m.checked(Opt::CBOriginaleVerkleinern);
  for (const fs::Entry& e : eintraege) {
    if (!ok) break;
    if (!e.folder) continue;
    std::string zielname = zielnamen[e.name];
    const std::string basis = zielname;
    long n = 0;
    while (anlegen) {
      const std::string pfad = ziel + zielname + "/";
      if (!AusgabeordnerVertraut(k, pfad, true)) {
        ok = false;
        break;
      }
      if (!ZielordnerAnlegen(k, pfad)) {
        ok = false;
        break;
      }
      // On a file system that ignores letter case "urlaub" may be the
      // folder an earlier sibling already uses.
      if (vergebeneOrdner.insert(kennung(pfad)).second) break;
      do zielname = mitZaehler(basis, ++n);
      while (vergeben.count(zielname));
      vergeben.insert(zielname);
    }
    if (!ok) break;
    TVerzeichniseintrag v;
    v.Name = e.name;
    v.Zielname = zielname;
    v.Datum = e.dosTime;
    lauf.Ordnerliste.push_back(std::move(v));
    lauf.OrdnerlisteHigh = static_cast<int>(lauf.Ordnerliste.size()) - 1;
    // Only into a folder of this run; one of an earlier run with subfolders
    // stays as it is. Without it the gallery shows the folder under its
    // web-safe name: the user learns which file failed and why.
    std::string warum;
    if (anlegen && !DirnameTxtSchreiben(k, ziel + zielname, e.name, &warum, lauf.GrossbilderVerzeichnen))
      k.fehler(warum);
  }

  OrdnerlisteDoppelteEntfernen(lauf.Ordnerliste, lauf.OrdnerlisteHigh, erster);
  DateilisteDoppelteEntfernen(lauf.Bildliste);
  if (abgebrochen()) BenutzerAbbruch(k, ok);
  if (!ok || abgebrochen()) {
    lauf.Bildliste.clear();
    return;
  }

  // Which existing large image is whose, when names differ only in case.
  std::vector<std::string> grossNamen;
  for (const TDateieintrag& b : lauf.Bildliste)
    if (!istTextdatei(b.Name)) grossNamen.push_back(GrossbildName(k, zielnamen[b.Name]));
  for (const TDateieintrag& b : lauf.Bildliste) {
    lauf.view.aktuelleDatei(quelle + b.Name);
    // A cancel stops after the picture in hand, not at the end of the
    // folder.
    if (lauf.pumpUndAbbruch()) break;
    if (!ok) continue;
    if (istTextdatei(b.Name)) {
      // One that cannot be read is left out, as an unreadable picture is.
      if (!SeitendateiLesbar(k, quelle + b.Name)) continue;
      const std::string nach = fs::pathNoCase(ziel, b.Name);
      std::string warum;
      if (!BeilageKopieren(quelle + b.Name, nach, lauf.GrossbilderVerzeichnen, warum)) {
        ok = false;
        k.fehler(warum + kZeilenumbruch + "Programmabbruch!");
      }
      continue;
    }
    try {
      std::string grossName = b.Name;
      // An original that cannot be read has been reported and gets no large
      // image, so walk 2 never lists it; the others still get theirs, with
      // their original's date.
      GrossesBildErzeugen(lauf, quelle, ziel, b.Name, zielnamen[b.Name], m.spin(Opt::SpEdGroesseGrosseBilder),
                          m.checked(Opt::CBkleineBilderVergroessernGrosseBilder), grossName, grossNamen);
    } catch (const std::exception& ex) {
      k.fehler("Fehler beim Verkleinern des Originalbildes " + b.Name + ":" + kZeilenumbruch + ex.what());
    }
  }
  lauf.Bildliste.clear();

  if (mitUnterordnern && !abgebrochen()) {
    const int letzter = static_cast<int>(lauf.Ordnerliste.size()) - 1;
    const std::string nummer = ordnerNummer + "-" + std::to_string(ordnerIndex + 1);
    for (int i = erster; i <= letzter; ++i) {
      if (lauf.pumpUndAbbruch() || !ok) break;
      const TVerzeichniseintrag v = lauf.Ordnerliste[static_cast<size_t>(i)];
      OriginaleVerkleinernDurchlauf(lauf, quelle + v.Name + "/", ziel + v.Zielname + "/", mitUnterordnern, nummer,
                                    i, ok);
      // Written last, so that walk 2 finds the source folder's date on the
      // large-image folder.
      if (m.checked(Opt::CBOriginaleVerkleinern)) fs::setDosDateTime(ziel + v.Zielname, v.Datum);
    }
  }
  if (abgebrochen()) BenutzerAbbruch(k, ok);
}

// --- Walk 2 --------------------------------------------------------------

void GalerieDurchlauf(Lauf& lauf, const std::string& vonIn, const std::string& vorschauIn, bool mitUnterordnern,
                      const std::string& ordnerNummer, int ordnerIndex, bool& ok) {
  const fs::ListingScope listings;  // each folder read once per walk
  Kontext& k = lauf.k;
  const OptionModel& m = k.m;
  if (abgebrochen()) {
    BenutzerAbbruch(k, ok);
    return;
  }
  const int erster = static_cast<int>(lauf.Ordnerliste.size());
  const std::string von = fs::withTrailingSlash(vonIn);
  const std::string vorschau = fs::withTrailingSlash(vorschauIn);
  if (ordnerIndex < 0) OrdnerzeitMerken(lauf, von);
  if (!vorschau.empty()) fs::sweepStaleTemps(vorschau);
  for (const char* seite : {"dirname.txt", "dirinfo.txt"}) {
    if (std::string(seite) == "dirinfo.txt" && !m.checked(Opt::CBdirinfoeinbinden)) continue;
    if (const auto n = fs::findNoCase(von, seite)) SeitendateiLesbar(k, von + *n);
  }
  const std::set<std::string> ausgabe = Ausgabeordnernamen(lauf);

  std::vector<std::string> verknuepfungen;
  const std::vector<fs::Entry> eintraege = OrdnerLesen(lauf, von, mitUnterordnern ? &verknuepfungen : nullptr);
  verknuepfungenMelden(k, von, verknuepfungen);
  bool bilderDa = false;
  for (const fs::Entry& e : eintraege) {
    if (lauf.pumpUndAbbruch() || !ok) break;
    std::string name = e.name;
    if (e.folder) {
      // A gallery of the top folder alone shows no subfolder: none is
      // renamed or given a name file.
      if (!mitUnterordnern) continue;
      const std::string zielname = ordnerZielname(k, e.name, vorschau);
      ok = true;
      if (!(bilderZaehlen(lauf, von + e.name + "/", ok, 1) > 0 && ok)) {
        if (ok) verschwundenMelden(k, von + e.name);
        continue;
      }
      bilderDa = true;
      // The folder's date as it was before its name file and its renamed
      // entries change it: the next run sorts by the same date.
      const auto zeit = fs::modTime(von + e.name);
      ok = DateiWebsicherUmbenennen(k, von, name, ausgabe);
      if (ok && zeit) lauf.Ordnerzeiten.emplace_back(von + name, *zeit);
      if (!ok) {
        k.fehler("Kann das Verzeichnis " + von + e.name + "/ nicht umbenennen zu " + name + "." + kZeilenumbruch +
                 "Wenn dies ein erneuter Durchlauf des Programms ist, hilft es vermutlich, das Zielverzeichnis zu "
                 "löschen." +
                 kZeilenumbruch + kZeilenumbruch + "Programmabbruch!");
        break;
      }
      // Without a thumbnail folder the path would be taken relative to the
      // working folder.
      if (mitUnterordnern && m.checked(Opt::CBVorschaubilderErzeugen) && !vorschau.empty()) {
        const std::string pfad = vorschau + name + "/";
        if (!AusgabeordnerVertraut(k, pfad, true)) {
          ok = false;
          break;
        }
        if (!ZielordnerAnlegen(k, pfad)) {
          ok = false;
          break;
        }
      }
      // With reduction, walk 1 stamped the large-image folder with its
      // source folder's date, so the entry's own date is the right one.
      TVerzeichniseintrag v;
      v.Name = name;
      v.Zielname = zielname;
      v.Datum = e.dosTime;
      lauf.Ordnerliste.push_back(std::move(v));
      lauf.OrdnerlisteHigh = static_cast<int>(lauf.Ordnerliste.size()) - 1;
      continue;
    }
    if (!IstBilddatei(k, e.name)) continue;
    bilderDa = true;
    ok = DateiWebsicherUmbenennen(k, von, name);
    if (!ok) {
      k.fehler("Kann den Dateinamen " + von + e.name + " nicht ersetzen." + kZeilenumbruch + "Programmabbruch!");
      break;
    }
    lauf.view.aktuelleDatei(von + name);
    TDateieintrag b = bildeintrag(e);
    b.Name = name;
    try {
      BildGroesseLesen(k, von + name, b.Breite, b.Hoehe);
    } catch (const std::exception&) {
      b.Breite = 0;
      b.Hoehe = 0;
      k.fehler(Lesefehler(von + name));
    }
    // A picture that cannot be read (reported above) gets no cell, no page
    // and no link, so that its neighbours do not point at a missing page.
    if (b.Breite <= 0 || b.Hoehe <= 0) continue;
    lauf.Bildliste.push_back(std::move(b));
    // Said once here; the pages leave out a companion behind another
    // user's link.
    VorhandeneBegleitdateien(k, von, name);
  }

  if (ordnerIndex >= 0 && !bilderDa && ok) leerGewordenMelden(k, von);

  // The directory order is that of the names as they are now, as the next
  // run lists them: equal dates then sort alike in both runs.
  const auto nachName = [](const auto& a, const auto& b) { return fs::nameLess(a.Name, b.Name); };
  std::stable_sort(lauf.Ordnerliste.begin() + erster, lauf.Ordnerliste.end(), nachName);
  std::stable_sort(lauf.Bildliste.begin(), lauf.Bildliste.end(), nachName);

  if (ok) {
    OrdnerlisteDoppelteEntfernen(lauf.Ordnerliste, lauf.OrdnerlisteHigh, erster);
    DateilisteDoppelteEntfernen(lauf.Bildliste);
    if (abgebrochen()) BenutzerAbbruch(k, ok);
  }

  if (ok) {
    const int letzter = static_cast<int>(lauf.Ordnerliste.size()) - 1;
    if (mitUnterordnern) {
      if (m.checked(Opt::CBOrdnerSortieren)) {
        if (m.checked(Opt::RBOrdnerSortierenNachName))
          OrdnerlisteNachNameSortieren(lauf.Ordnerliste, erster, letzter);
        else
          OrdnerlisteNachDatumSortieren(lauf.Ordnerliste, erster, letzter);
      }
      if (m.checked(Opt::CBOSortRueckwaerts)) OrdnerlisteUmkehren(lauf.Ordnerliste, erster, letzter);
    }
    if (m.checked(Opt::CBDateienSortieren) && !abgebrochen()) {
      const int hi = static_cast<int>(lauf.Bildliste.size()) - 1;
      if (m.checked(Opt::RBDateienSortierenNachName))
        DateilisteNachNameSortieren(0, hi, lauf.Bildliste);
      else
        DateilisteNachZahlSortieren(m.checked(Opt::RBDateienSortierenNachDatum), 0, hi, lauf.Bildliste);
      if (m.checked(Opt::CBDSortRueckwaerts) && !abgebrochen()) DateilisteUmkehren(lauf.Bildliste);
    }
  }

  const std::string nummer = ordnerNummer + "-" + std::to_string(ordnerIndex + 1);
  if (abgebrochen()) {
    BenutzerAbbruch(k, ok);
    lauf.Bildliste.clear();
    return;
  }
  // After a reported failure no page is written for a half-read folder.
  if (ok) OrdnerSeitenSchreiben(lauf, von, vorschau, nummer, lauf.Ordnerliste, lauf.Bildliste, erster, ordnerIndex);
  lauf.Bildliste.clear();
  if (abgebrochen()) {
    BenutzerAbbruch(k, ok);
    return;
  }

  if (mitUnterordnern) {
    const int letzter = static_cast<int>(lauf.Ordnerliste.size()) - 1;
    for (int i = erster; i <= letzter; ++i) {
      if (lauf.pumpUndAbbruch() || !ok) break;
      const std::string n = lauf.Ordnerliste[static_cast<size_t>(i)].Name;
      GalerieDurchlauf(lauf, von + n + "/", vorschau.empty() ? std::string() : vorschau + n + "/", mitUnterordnern,
                       nummer, i, ok);
    }
  }
  if (abgebrochen()) BenutzerAbbruch(k, ok);
}

}  // namespace mosaik
