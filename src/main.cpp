// Mosaikschauer: program entry. With a display the windows open; without
// one an unattended run (-autostart) works on the headless model alone.
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

bool hatBildschirm() {
  for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* s = std::getenv(v);
    if (s && *s) return true;
  }
  return false;
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
  if (p.beendet()) return dialoge.errors() > 0 ? 1 : p.exitStatus();
  std::fprintf(stderr,
               "Mosaikschauer: Kein Bildschirm gefunden. Ohne Bildschirm erstellt das Programm eine Galerie "
               "nur unbeaufsichtigt:\n  mosaikschauer -ini=<Einstellungsdatei> -autostart\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  (void)hatBildschirm;
  // An interrupted run leaves no half-written file behind.
  mosaik::fs::removeTempsOnSignals();
  std::vector<std::string> args(argv + 1, argv + argc);
#ifdef MOSAIK_WITH_QT
  if (hatBildschirm()) return mosaik::qtAnwendungAusfuehren(argc, argv, std::move(args));
#endif
  return ohneBildschirm(std::move(args));
}
