// Where the settings file lies, the write test, the side files, saving and
// loading under other names, and saving on close.
#include "app/Einstellungen.h"

#include <algorithm>

#include "app/options/Hersteller.h"
#include "platform/FileSystem.h"
#include "platform/IniDatei.h"
#include "platform/Win1252.h"
#include "winsupport/SpecialFolders.h"

namespace mosaik {
namespace {

std::string ordnerVon(const std::string& datei) {
  const size_t s = datei.rfind('/');
  return s == std::string::npos ? fs::currentFolder() : datei.substr(0, s + 1);
}

std::string nameVon(const std::string& datei) {
  const size_t s = datei.rfind('/');
  return s == std::string::npos ? datei : datei.substr(s + 1);
}

bool hatErweiterung(const std::string& datei) {
  const std::string n = nameVon(datei);
  const size_t punkt = n.rfind('.');
  return punkt != std::string::npos && punkt > 0;
}

void maschineSchreiben(IniDatei& ini) {
  ini.schreiben(kProduktname, "Autor", einstellungen::textWert(kAutor));
  ini.schreiben(kProduktname, "Homepage", einstellungen::textWert(kHerstellerWebsite));
}

// Writes the settings and their side files after a passed write test; a
// failure of the writer itself is shown with the file's name.
void speichern(Kontext& k, const Einstellungsort& datei) {
  try {
    InifileSchreiben(k, datei);
  } catch (const IniFehler& e) {
    k.fehler(e.what());
    return;
  }
  ZusatzdateienSpeichern(k, datei);
}

// The side files in use, in their order, until the first failure.
template <class Aktion>
bool zusatzdateienDurchgehen(const Kontext& k, Aktion aktion) {
  if (k.m.checked(Opt::CBeigenenHeaderVerwenden) &&
      !(aktion(Opt::MNeuerHeader, "header") && aktion(Opt::MNeuerDateiabschluss, "footer")))
    return false;
  return !k.m.checked(Opt::CBCSSDateiaendern) || aktion(Opt::MangepassteCSSDatei, "css");
}

FileDialogOptions dialog(const Kontext& k, const char* titel, const char* art) {
  FileDialogOptions o;
  o.title = titel;
  o.filter = std::string(art) + " (*.ini)|*.ini|Alle Dateien (*.*)|*.*";
  o.defaultExt = ".ini";
  o.folder = k.st.EinstellungsDialogOrdner;
  o.fileName = k.st.EinstellungsDateiname;
  return o;
}

}  // namespace

std::string programmOrdner(const Kontext& k) {
  return k.sv.programFolder.empty() ? fs::programFolder() : fs::withTrailingSlash(k.sv.programFolder);
}

std::string anwendungsdatenOrdner(const Kontext& k) {
  if (!k.sv.appDataFolder.empty()) return fs::withTrailingSlash(k.sv.appDataFolder);
  // Without a home there is none: a shared folder such as /tmp would let
  // anyone read the settings or plant a link where they are written.
  const std::string& a = SpecialFolders().AppData();
  return a.empty() ? std::string() : fs::withTrailingSlash(a);
}

std::string persoenlicherEinstellungsordner(const Kontext& k) {
  const std::string a = anwendungsdatenOrdner(k);
  return a.empty() ? a : a + kProduktname + "/";
}

std::string standardEinstellungsdatei(const Kontext& k) { return programmOrdner(k) + kEinstellungsdatei; }

std::string persoenlicheEinstellungsdatei(const Kontext& k) {
  const std::string ordner = persoenlicherEinstellungsordner(k);
  return ordner.empty() ? ordner : ordner + kEinstellungsdatei;
}

namespace {

// The file of this path, chosen again only where the one held has no
// folder to offer (or belongs to another path).
Einstellungsort gehalten(Einstellungsort& gemerkt, const std::string& pfad, bool ordnerAnlegen) {
  if (gemerkt.pfad() != pfad || !gemerkt.gehalten()) gemerkt = Einstellungsort(pfad, ordnerAnlegen && !pfad.empty());
  return gemerkt;
}

}  // namespace

Einstellungsort standardEinstellungsort(Kontext& k) {
  return gehalten(k.st.StandardEinstellungsort, standardEinstellungsdatei(k), false);
}

Einstellungsort persoenlicherEinstellungsort(Kontext& k, bool ordnerAnlegen) {
  return gehalten(k.st.PersoenlicherEinstellungsort, persoenlicheEinstellungsdatei(k), ordnerAnlegen);
}

Einstellungsort aktuellerEinstellungsort(Kontext& k, bool ordnerAnlegen) {
  if (!k.m.checked(Opt::CBIniDateiImAnwendungsordner)) return standardEinstellungsort(k);
  return persoenlicherEinstellungsort(k, ordnerAnlegen);
}

void keinPersoenlicherOrdner(Kontext& k) { k.fehler(kKeinPersoenlicherOrdner); }

namespace {

// Whether the file is one that was there but could not be read.
bool ungelesen(const Kontext& k, const Einstellungsort& datei) {
  const auto& u = k.st.UngeleseneDateien;
  return std::any_of(u.begin(), u.end(), [&](const Einstellungsort& d) { return d.gleich(datei); });
}

// The same folder for the dialogs, however it was written down.
bool gleicherOrdner(const std::string& a, const std::string& b) {
  return fs::withTrailingSlash(a) == fs::withTrailingSlash(b);
}

// grund: as IniFehler::grund gives it.
std::string schreibtestMeldung(const std::string& datei, const std::string& grund) {
  // A system's reason in brackets closes the sentence, a sentence of its
  // own follows it.
  const bool klammer = grund.starts_with(" (");
  return "Die Datei " + datei + " mit den\r\nProgrammeinstellungen kann nicht gespeichert werden" +
         (klammer ? grund : "") + "!" + (klammer ? "" : grund);
}

}  // namespace

bool InifileSchreibtest(Kontext& k, const Einstellungsort& datei, bool meldung, std::string* text) {
  if (datei.pfad().empty()) {
    // The personal location, without a home to hold it.
    k.m.setChecked(Opt::CBEinstellungenAutomatischSpeichern, false);
    if (text) *text = kKeinPersoenlicherOrdner;
    if (meldung) keinPersoenlicherOrdner(k);
    return false;
  }
  // What could not be read would be lost under the settings saved over it.
  std::string grund = std::string("\r\n") + kUngelesenNichtUeberschrieben;
  try {
    if (!ungelesen(k, datei)) {
      IniDatei ini(datei);
      maschineSchreiben(ini);
      ini.speichern();
      return true;
    }
  } catch (const IniFehler& e) {
    grund = e.grund();
  }
  if (datei.gleich(aktuellerEinstellungsort(k, false)))
    k.m.setChecked(Opt::CBEinstellungenAutomatischSpeichern, false);
  const std::string warum = schreibtestMeldung(datei.pfad(), grund);
  if (text) *text = warum;
  if (meldung) k.fehler(warum);
  return false;
}

bool InifileEinstellungenSpeichern(Kontext& k, bool meldung) {
  const Einstellungsort datei = standardEinstellungsort(k);
  const bool imAnwendungsordner = k.m.checked(Opt::CBIniDateiImAnwendungsordner);
  try {
    if (ungelesen(k, datei)) throw IniFehler(datei.pfad());
    IniDatei ini(datei);
    maschineSchreiben(ini);
    ini.schreiben("Programm", "EinstAutoSpeichern", k.m.checked(Opt::CBEinstellungenAutomatischSpeichern) ? "1" : "0");
    ini.schreiben("Programm", "EinstImAppOrdner", imAnwendungsordner ? "1" : "0");
    ini.speichern();
    return true;
  } catch (const IniFehler&) {
  }
  if (meldung) {
    std::string text = "Der Versuch, die Datei " + datei.pfad() + " zu speichern, schlug fehl!\r\n\r\n";
    if (imAnwendungsordner)
      text +=
          "Die Einstellung, dass die sonstigen Optionen im Anwendungsordner gespeichert werden sollen, muss\r\n"
          "aber im Programmpfad erfolgen. Da dort nicht gespeichert werden kann, kann sich Mosaikschauer\r\n"
          "den Anwendungsordner als Speicherort nicht merken!";
    else
      text +=
          "Die Einstellung, dass die sonstigen Optionen nicht im Anwendungsordner gespeichert werden sollen,\r\n"
          "muss aber im Programmpfad erfolgen. Da dort nicht gespeichert werden kann, kann sich Mosaikschauer\r\n"
          "den Programmpfad als Speicherort nicht merken!";
    k.fehler(text);
  }
  return false;
}

std::string zusatzdateiName(const std::string& einstellungsdatei, const std::string& art) {
  const size_t schraeg = einstellungsdatei.rfind('/');
  const size_t punkt = einstellungsdatei.rfind('.');
  const bool mitErweiterung = punkt != std::string::npos && (schraeg == std::string::npos || punkt > schraeg);
  return (mitErweiterung ? einstellungsdatei.substr(0, punkt) : einstellungsdatei) + "-" + art + ".txt";
}

namespace {
Einstellungsort zusatzdatei(const Einstellungsort& datei, const char* art) {
  return datei.nebenan(zusatzdateiName(datei.name(), art));
}
}  // namespace

bool ZusatzdateienSpeichern(Kontext& k, const Einstellungsort& datei) {
  std::string warum;
  const bool ok = zusatzdateienDurchgehen(k, [&](Opt memo, const char* art) {
    const Einstellungsort name = zusatzdatei(datei, art);
    std::string grund;
    if (ungelesen(k, name))
      grund = std::string("\r\n") + kUngelesenNichtUeberschrieben;
    else if (const Einstellungsinhalt bisher = einstellungsdateiLesen(name);
             dateiErsetzen(name, textdateiAusMemo(k.m.text(memo), bisher.gelesen ? std::optional(bisher.bytes)
                                                                                   : std::nullopt),
                           &grund))
      return true;
    warum = "\r\n" + std::string(IniFehler(name.pfad(), grund).what());
    return false;
  });
  if (!ok)
    k.fehler("Speichern der Textdateien mit Header, Dateiabschluss\r\nund/oder CSS-Datei fehlgeschlagen!" + warum);
  return ok;
}

std::string alsUngelesenVermerken(Kontext& k, const Einstellungsort& datei) {
  k.st.UngeleseneDateien.push_back(datei);
  return k.st.Autostart ? "\r\nProgrammabbruch!" : "";
}

bool ZusatzdateienLaden(Kontext& k, const Einstellungsort& datei) {
  std::string warum;
  const bool ok = zusatzdateienDurchgehen(k, [&](Opt memo, const char* art) {
    const Einstellungsort name = zusatzdatei(datei, art);
    const Einstellungsinhalt e = einstellungsdateiLesen(name);
    const std::optional<std::string> text = e.gelesen ? memoAusTextdatei(e.bytes) : std::nullopt;
    if (text) {
      k.m.setText(memo, *text);
    } else if (e.vorhanden) {
      warum = "\r\nDie Datei " + name.pfad() + " kann nicht gelesen werden!\r\n" +
              (e.gelesen ? notUnicodeThroughout(e.bytes) : e.grund) +
              alsUngelesenVermerken(k, name);
    }
    return text.has_value();
  });
  if (!ok) k.fehler("Öffnen der Textdateien mit Header, Dateiabschluss\r\nund/oder CSS-Datei fehlgeschlagen!" + warum);
  return ok;
}

void BEinstellungenSpeichernClick(Kontext& k) {
  const FileDialogOptions o = dialog(k, "Einstellungen speichern unter...", "Einstellungen");
  const auto gewaehlt = k.sv.dialogs->saveFileName(o);
  if (!gewaehlt || gewaehlt->empty()) return;
  std::string datei = *gewaehlt;
  if (!hatErweiterung(datei)) datei += o.defaultExt;
  // Chosen now: the question, the write test and the writes all go to the
  // folder found now.
  const Einstellungsort ort(datei);
  const bool schreiben =
      ort.stand() != Einstellungsort::Stand::Datei ||
      k.meldung(MsgKind::Warning, "Soll die bestehende Datei überschrieben werden?", MsgButtons::YesNo) ==
          MsgResult::Yes;
  if (schreiben && InifileSchreibtest(k, ort, true)) speichern(k, ort);
  k.st.EinstellungsDialogOrdner = ordnerVon(datei);
  k.st.EinstellungsDateiname = nameVon(datei);
}

void BEinstellungenLadenClick(Kontext& k) {
  const FileDialogOptions o = dialog(k, "Einstellungsdatei wählen", "Einstellungsdateien");
  const auto gewaehlt = k.sv.dialogs->openFileName(o);
  if (!gewaehlt || gewaehlt->empty()) return;
  const std::string& datei = *gewaehlt;
  const Einstellungsort ort(datei);
  if (ort.stand() == Einstellungsort::Stand::Fehlt) {
    k.fehler("Die Datei " + datei + "\r\nexistiert nicht!");
    return;
  }
  if (IniFileLesen(k, ort)) {
    k.m.run(Proc::RBModusAnfaengerClick);
    ZusatzdateienLaden(k, ort);
  }
  k.st.EinstellungsDateiname = nameVon(datei);
  k.st.EinstellungsDialogOrdner = ordnerVon(datei);
}

bool FormCloseQuery(Kontext& k) {
  const Einstellungsort datei = aktuellerEinstellungsort(k, true);
  return !k.m.checked(Opt::CBEinstellungenAutomatischSpeichern) || InifileSchreibtest(k, datei, true);
}

void FormClose(Kontext& k) {
  if (!k.m.checked(Opt::CBEinstellungenAutomatischSpeichern)) return;
  const Einstellungsort datei = aktuellerEinstellungsort(k, true);
  if (InifileSchreibtest(k, datei, false)) speichern(k, datei);
}

void CBEinstellungenAutomatischSpeichernClick(Kontext& k) {
  if (!k.st.AutoSpeichernKlickAktiv) return;
  const Einstellungsort datei = aktuellerEinstellungsort(k, true);
  if (k.m.checked(Opt::CBEinstellungenAutomatischSpeichern)) InifileSchreibtest(k, datei, true);
}

void CBIniDateiImAnwendungsordnerClick(Kontext& k) {
  if (!k.st.IniOrtKlickAktiv) return;
  AppState& st = k.st;
  if (k.m.checked(Opt::CBIniDateiImAnwendungsordner) && persoenlicherEinstellungsordner(k).empty()) {
    keinPersoenlicherOrdner(k);
    st.IniOrtKlickAktiv = false;
    k.m.setChecked(Opt::CBIniDateiImAnwendungsordner, false);
    st.IniOrtKlickAktiv = true;
    return;
  }
  const bool ok = InifileEinstellungenSpeichern(k, true);
  if (ok && k.m.checked(Opt::CBIniDateiImAnwendungsordner)) {
    if (gleicherOrdner(st.EinstellungsDialogOrdner, programmOrdner(k)))
      st.EinstellungsDialogOrdner = persoenlicherEinstellungsordner(k);
  } else if (gleicherOrdner(st.EinstellungsDialogOrdner, persoenlicherEinstellungsordner(k))) {
    st.EinstellungsDialogOrdner = programmOrdner(k);
  }
}

bool EinstellungsEreignis(Kontext& k, Opt o, Ev e) {
  if (e != Ev::Click) return false;
  if (o == Opt::CBEinstellungenAutomatischSpeichern) {
    CBEinstellungenAutomatischSpeichernClick(k);
    return true;
  }
  if (o == Opt::CBIniDateiImAnwendungsordner) {
    CBIniDateiImAnwendungsordnerClick(k);
    return true;
  }
  return false;
}

}  // namespace mosaik
