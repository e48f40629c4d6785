#pragma once
// The settings file and its side files: where it lies, the write test,
// writing and reading, saving and loading under other names, and closing.
#include <string>

#include "app/EinstellungsKodierung.h"
#include "app/options/Kontext.h"
#include "platform/IniDatei.h"

namespace mosaik {

// The folder of the running program (with a trailing '/').
std::string programmOrdner(const Kontext& k);
// The user's application-data folder (with a trailing '/'); empty when the
// user has no home.
std::string anwendungsdatenOrdner(const Kontext& k);
// Application-data folder + "Mosaikschauer/"; empty without one, and so are
// the personal settings file and, while it is chosen, the current one.
std::string persoenlicherEinstellungsordner(const Kontext& k);
// Program folder + "Mosaikschauer.ini".
std::string standardEinstellungsdatei(const Kontext& k);
// Application-data folder + "Mosaikschauer/Mosaikschauer.ini".
std::string persoenlicheEinstellungsdatei(const Kontext& k);
// The same files chosen: their folders are opened the first time they are
// needed and held from then on (opened again only when that failed, when
// the folder has been removed since, or when its path is another now), so
// that every later read and save of the file and its side files goes to
// the folder found then.
Einstellungsort standardEinstellungsort(Kontext& k);
Einstellungsort persoenlicherEinstellungsort(Kontext& k, bool ordnerAnlegen);
// The personal settings file while CBIniDateiImAnwendungsordner is ticked,
// else the standard one; ordnerAnlegen creates the personal folder first.
Einstellungsort aktuellerEinstellungsort(Kontext& k, bool ordnerAnlegen);
// Why the personal location cannot be used; shown by the write test on it
// and when it is chosen.
inline constexpr const char* kKeinPersoenlicherOrdner =
    "Es gibt keinen persönlichen Anwendungsordner (kein Benutzerverzeichnis).\r\n"
    "Die Einstellungen können dort nicht gespeichert werden!";
void keinPersoenlicherOrdner(Kontext& k);

// Writes the whole option set into the file, then removes the keys of older
// versions. Nothing is changed when it fails: throws IniFehler (its text
// names the file).
void InifileSchreiben(Kontext& k, const Einstellungsort& datei);
// Reads a settings file into the option set; a missing file changes nothing.
// One that is there but cannot be read (or is not to be trusted) changes
// nothing either: false, after the message "Die Einstellungsdatei ... kann
// nicht gelesen werden!" with the reason; it is then never saved over.
bool IniFileLesen(Kontext& k, const Einstellungsort& datei);
// Notes a settings or side file that is there but cannot be read (or is not
// to be trusted): it is never saved over, and an unattended run does not
// begin. Returns the end of the message about it: in an unattended run
// "Programmabbruch!" on a line of its own, as its other refusals end.
std::string alsUngelesenVermerken(Kontext& k, const Einstellungsort& datei);

// Writes the two keys of the product's section into the file; a file that
// holds them already is not rewritten but proved writable. On failure:
// false, auto-save switched off when it is the current settings file, and
// with meldung the error message; text receives that message either way.
bool InifileSchreibtest(Kontext& k, const Einstellungsort& datei, bool meldung, std::string* text = nullptr);
// Records the settings location (and auto-save) in the standard file.
bool InifileEinstellungenSpeichern(Kontext& k, bool meldung);

// The side file of a settings file: art "header", "footer" or "css".
std::string zusatzdateiName(const std::string& einstellungsdatei, const std::string& art);
// Writes / reads the side files that are in use (own header and footer,
// edited style sheet); false after the first failure and its message. A
// side file that is there but cannot be read (or is not to be trusted) is
// named in the message and, like an unread settings file, never saved over.
// They are names in the settings file's held folder.
bool ZusatzdateienSpeichern(Kontext& k, const Einstellungsort& datei);
bool ZusatzdateienLaden(Kontext& k, const Einstellungsort& datei);

// The buttons "Einstellungen speichern unter..." and "Einstellungen laden...".
void BEinstellungenSpeichernClick(Kontext& k);
void BEinstellungenLadenClick(Kontext& k);

// The close query: false keeps the window open (after its message).
bool FormCloseQuery(Kontext& k);
// Closing: saves the settings when saving on close is on. Hiding the window
// and switching the visual styles are the window's part.
void FormClose(Kontext& k);

// Click handlers of the auto-save and settings-location boxes.
void CBEinstellungenAutomatischSpeichernClick(Kontext& k);
void CBIniDateiImAnwendungsordnerClick(Kontext& k);

// Events of the option set that belong to the settings file (the location
// and auto-save boxes); true when handled.
bool EinstellungsEreignis(Kontext& k, Opt o, Ev e);

}  // namespace mosaik
