#pragma once
// Values of the main window that do not live in a control, and the one
// process-wide flag that the progress dialog's cancel button sets.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/IniDatei.h"

namespace mosaik {

// Cancel request of a running generation: set by "Abbrechen", read after
// every entry by the walks, the folder scans, the thumbnail writer and the
// redirect writer.
extern std::atomic<uint8_t> AbbruchFlag;

struct AppState {
  // Folders (empty = the standard folder, except the picture folder).
  std::string BilderOrdnerPfad;
  std::string HTMLOrdnerPfad;
  std::string GrosseBilderpfad;
  std::string Vorschaubilderpfad;
  // The picture folder a settings file named when it did not exist (the
  // working folder stands in for it); empty otherwise.
  std::string FehlenderBilderOrdner;
  // Focal-length conversion of the captions.
  double BWreal = 5.0;
  double BWumgerechnet = 35.0;
  bool cellspacingIE = false;
  bool dirnametxt = false;

  // Guards of click handlers whose side effects must not run while options
  // are set by program.
  bool CSSKlickAktiv = true;
  bool IniOrtKlickAktiv = true;
  bool AutoSpeichernKlickAktiv = true;

  bool DoctypeStrict = false;
  bool DoctypeXHTML = false;
  bool TastenfilterAussetzen = false;

  bool ErstaktivierungErledigt = false;
  // Known from the arguments before the first settings file is read.
  bool Autostart = false;
  // Why the current settings file cannot be saved (the write test's message
  // with its reason), when the last reading switched saving on close off
  // although the user wants it saved.
  std::string EinstellungenNichtSpeicherbar;
  // Settings and side files that were there but could not be read (or were
  // not to be trusted): nothing is saved over them while the program runs,
  // and an unattended run does not begin.
  std::vector<Einstellungsort> UngeleseneDateien;
  // The standard and the personal settings file, their folders held from
  // the first time they were needed (see Einstellungen.h).
  Einstellungsort StandardEinstellungsort, PersoenlicherEinstellungsort;
  bool AbbruchGemeldet = false;

  std::string EinstellungsDialogOrdner;
  std::string EinstellungsDateiname;
  std::string LetzteKopfdatei, LetzteFussdatei, LetzteCSSDatei, LetzteCSSLadedatei,
      LetzteLinkZurueckDatei, LetzteLinkZurueckGrafik;
  std::string LetzteGrafikdatei;
  std::string LetzteFavicondatei;

  std::string Font1Standard;
  std::string Font2Standard;

  // The window: disabled with the hourglass while a run works.
  bool HauptFormEnabled = true;
  bool Sanduhr = false;
  // Pages the page controls show.
  std::string AktiveSeite = "TabSheetHilfe";
  std::string AktiveExpertenSeite = "TabSheetSpezielles";
  // Set when the main window is to close (the program then ends).
  bool SchliessenAngefordert = false;
};

}  // namespace mosaik
