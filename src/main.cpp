// Mosaikschauer: program entry. With a display the windows open; without
// one an unattended run (-autostart) works on the headless model alone.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "start/Programm.h"
#include "platform/Dialogs.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#ifdef MOSAIK_WITH_QT
#include "qt/QtAnwendung.h"
#endif

namespace {

bool gesetzt(const char* variable) {
  const char* s = std::getenv(variable);
  return s && *s;
}

// Only a display the user can see counts: an error box on the offscreen or
// minimal platform would wait for an answer nobody can give. A platform
// named decides, as it does for the windows, also beside a display.
bool hatBildschirm() {
  if (!gesetzt("QT_QPA_PLATFORM")) return gesetzt("DISPLAY") || gesetzt("WAYLAND_DISPLAY");
  std::string plattform = std::getenv("QT_QPA_PLATFORM");
  // The first of a list of platforms, without its options.
  plattform = plattform.substr(0, plattform.find_first_of(";:"));
  return plattform != "offscreen" && plattform != "minimal";
}

int ohneBildschirm(std::vector<std::string> args) {
  // Without a run to do, the program refuses before it reads or writes a
  // settings file.
  const bool autostart = mosaik::Programm::autostartVerlangt(args);
  mosaik::ConsoleDialogService dialoge;
  mosaik::SystemShell shell;
  mosaik::Services sv;
  sv.dialogs = &dialoge;
  sv.shell = &shell;
  sv.locale = mosaik::systemLocaleFormats();
  mosaik::Programm p(sv, std::move(args));
  p.ohneFenster = true;
  p.start();
  if (autostart) p.FormActivate();
  if (p.beendet()) return std::max(p.exitStatus(), dialoge.errors() > 0 ? 1 : 0);
  std::fprintf(stderr,
               "Mosaikschauer: Kein Bildschirm gefunden. Ohne Bildschirm erstellt das Programm eine Galerie "
               "nur unbeaufsichtigt:\n  mosaikschauer -ini=<Einstellungsdatei> -autostart\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  (void)hatBildschirm;
  // An interrupted run leaves no half-written file behind, and a file-size
  // limit makes a write fail instead of killing the program.
  mosaik::fs::prepareSignals();
  std::vector<std::string> args(argv + 1, argv + argc);
#ifdef MOSAIK_WITH_QT
  if (hatBildschirm()) return mosaik::qtAnwendungAusfuehren(argc, argv, std::move(args));
#endif
  return ohneBildschirm(std::move(args));
}
