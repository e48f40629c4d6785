#include "qt/QtAnwendung.h"

#include <QApplication>
#include <QStyleFactory>
#include <QTimer>
#include <QTranslator>

#include "start/Programm.h"
#include "platform/Environment.h"
#include "qt/Fenster.h"
#include "qt/QtDialoge.h"

namespace mosaik {

int qtAnwendungAusfuehren(int argc, char** argv, std::vector<std::string> args) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Mosaikschauer"));
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QTranslator qtDeutsch;
  qtDeutschEinrichten(qtDeutsch);

  QtDialogService dialoge;
  SystemShell shell;
  Services sv;
  sv.dialogs = &dialoge;
  sv.shell = &shell;
  sv.locale = systemLocaleFormats();
  sv.pump = [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 50); };
  // A browser that keeps running is watched for its whole grace time: the
  // windows go on meanwhile instead of standing still on every help click.
  shell.warten = sv.pump;

  Programm p(sv, std::move(args));
  p.start();
  Fenster fenster(p);
  fenster.haupt.show();
  // Some window systems report no activation (offscreen, some Wayland
  // compositors): the first activation's work must run anyway.
  QTimer::singleShot(0, &fenster.haupt, [&p] { p.FormActivate(); });
  QApplication::setQuitOnLastWindowClosed(true);
  const int rc = p.beendet() ? 0 : app.exec();
  (void)rc;
  return p.exitStatus();
}

}  // namespace mosaik
