#pragma once
// The started program with its Qt windows under the offscreen display, in a
// private picture folder and without a home for shortcuts; and the input
// events the tests send to the widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <memory>

#include "TestUmgebung.h"
#include "start/Programm.h"
#include "platform/FileSystem.h"
#include "qt/Fenster.h"

namespace mosaik::test {

// The one QApplication of the Qt test program.
inline QApplication& qtAnwendung() {
  static int argc = 1;
  static char name[] = "test_qt";
  static char* argv[] = {name, nullptr};
  static QApplication* app = qApp ? qApp : new QApplication(argc, argv);
  return *app;
}

// Where the tests leave their screenshots for a person to look at: one
// folder per display scale, since the scales are tested side by side.
inline QString bildschirmOrdner() {
  const qreal skala = QGuiApplication::primaryScreen()->devicePixelRatio();
  QString ordner = QStringLiteral(MOSAIK_BINARY_DIR "/bildschirm-regeln");
  if (skala != 1.0) ordner += QStringLiteral("-skala%1").arg(skala);
  QDir().mkpath(ordner);
  return ordner;
}

inline QString qn(Opt o) { return QString::fromUtf8(info(o).name.data(), static_cast<qsizetype>(info(o).name.size())); }

// A key pressed and released.
inline void taste(QWidget* w, int key, const QString& text = {}, Qt::KeyboardModifiers mod = Qt::NoModifier) {
  QKeyEvent druck(QEvent::KeyPress, key, mod, text);
  QApplication::sendEvent(w, &druck);
  QKeyEvent los(QEvent::KeyRelease, key, mod, text);
  QApplication::sendEvent(w, &los);
}
// Characters typed one by one (the key code plays no part in the filters).
inline void tippen(QWidget* w, const QString& text) {
  for (QChar c : text) taste(w, 0, QString(c));
}
inline void verlassen(QWidget* w, Qt::FocusReason grund = Qt::TabFocusReason) {
  QFocusEvent aus(QEvent::FocusOut, grund);
  QApplication::sendEvent(w, &aus);
}
// A left click in the middle: pressed and released.
inline void klicken(QWidget* w) {
  const QPointF mitte(w->width() / 2.0, w->height() / 2.0);
  QMouseEvent druck(QEvent::MouseButtonPress, mitte, w->mapToGlobal(mitte), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(w, &druck);
  QMouseEvent los(QEvent::MouseButtonRelease, mitte, w->mapToGlobal(mitte), Qt::LeftButton, Qt::NoButton,
                  Qt::NoModifier);
  QApplication::sendEvent(w, &los);
}

struct Fensterprobe : ::testing::Test {
  TestUmgebung u;
  TempOrdner bilder;
  std::unique_ptr<Programm> p;
  std::unique_ptr<Fenster> f;
  std::string alterOrdner;
  void SetUp() override {
    qtAnwendung();
    alterOrdner = fs::currentFolder();
    fs::setCurrentFolder(bilder.pfad());
    p = std::make_unique<Programm>(u.sv, std::vector<std::string>{});
    p->HauptForm.verknuepfungen.umgebung = [](const char*) { return std::optional<std::string>(); };
    p->start();
    f = std::make_unique<Fenster>(*p);
    p->FormActivate();
  }
  void TearDown() override {
    f.reset();
    p.reset();
    fs::setCurrentFolder(alterOrdner);
  }
  // The widget of an option, in whichever window it lives.
  template <class T = QWidget>
  T* w(Opt o) {
    QWidget* fenster = onNavigationWindow(o) ? static_cast<QWidget*>(&f->navigation) : &f->haupt;
    return fenster->findChild<T*>(qn(o));
  }
};

}  // namespace mosaik::test
