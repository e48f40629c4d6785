#pragma once
// Program start: the six windows in their order, the first activation and
// the command line.
#include <functional>
#include <string>
#include <vector>

#include "app/options/AppState.h"
#include "app/options/Kontext.h"
#include "app/options/OptionModel.h"
#include "generator/Lauf.h"
#include "ui/EXIFForm.h"
#include "ui/Farbdialog.h"
#include "ui/Formulare.h"
#include "ui/HauptForm.h"
#include "ui/KommentarForm.h"
#include "ui/NavigationForm.h"

namespace mosaik {

class Programm {
 public:
  Programm(Services& sv, std::vector<std::string> argumente);

  // Creates the windows in order: main window (prepared by FormCreate),
  // caption editor, progress dialog, navigation dialog, colour dialog,
  // comment editor.
  void start();
  // Every activation of the main window; the first one does the once-only
  // work (defaults, settings files, program mode, command line).
  void FormActivate();
  void kommandozeilenparameterausfuehren();

  // The start button; true after a successful run.
  bool BitBStartClick();
  // The exit button: closes the main window unless the close query refuses.
  void BitBBeendenClick();
  void BGrundEinstellungenClick();

  bool beendet() const { return beendet_; }
  // Whether the arguments ask for an unattended run.
  static bool autostartVerlangt(const std::vector<std::string>& argumente);
  // 0 after a successful unattended run (or none), 1 after a failed one,
  // 2 when the unattended run was refused before it began.
  int exitStatus() const { return exitStatus_; }
  // True from the start of a run to its end: the main window stays open.
  bool laeuft() const { return laeuft_; }
  // Without a display nobody can answer a refused close.
  bool ohneFenster = false;
  // The program's own source tree when it is started from there (the
  // environment variable MOSAIKSCHAUER_ARBEITSKOPIE): a run would rename
  // its files and write pages into it, so none starts on a picture folder
  // that is, lies in or holds it. Empty: no such tree.
  std::string arbeitskopie;
  // A copy of the demo photos inside that tree (the environment variable
  // MOSAIKSCHAUER_DEMOKOPIE), made to be worked on: a picture folder in it
  // is no part of the source tree.
  std::string demokopie;
  // Reads a settings file and its side files; replaceable in tests.
  std::function<void(const Einstellungsort&)> einstellungsdateiLesen;
  std::function<void(const Einstellungsort&)> zusatzdateienLesen;

  // Order in which the windows were created (names), for checks.
  std::vector<std::string> erstellteFenster;

  Services& sv;
  OptionModel m;
  AppState st;
  Kontext k;
  TNavigationForm NavigationForm;
  THauptForm HauptForm;
  TEXIFForm EXIFForm;
  TwartenForm wartenForm;
  TfarbForm farbForm;
  TKommentarForm KommentarForm;
  FensterRunView runView;
  Lauf lauf;

 private:
  void FormCreate();
  void VerknuepfungenPruefen();
  // Hides the main window and ends, without saving.
  void fensterSchliessen();
  // A settings file, then (after the program mode, when asked for) its side
  // files, unless the settings file is there but could not be read.
  void einstellungenLesen(const Einstellungsort& datei, bool modus);
  // Refuses, with a message, a run that would work inside arbeitskopie.
  bool arbeitskopieGeschuetzt();

  std::vector<std::string> argumente_;
  // The working folder at start (with a trailing '/'), as Services has it.
  std::string startOrdner_;
  bool inErstaktivierung_ = false;
  bool beendet_ = false;
  bool laeuft_ = false;
  int exitStatus_ = 0;
};

}  // namespace mosaik
