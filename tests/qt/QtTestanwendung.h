#pragma once
// The one QApplication of the Qt test program.
#include <QApplication>

namespace mosaik::test {

inline QApplication& qtAnwendung() {
  static int argc = 1;
  static char name[] = "test_qt";
  static char* argv[] = {name, nullptr};
  static QApplication* app = qApp ? qApp : new QApplication(argc, argv);
  return *app;
}

}  // namespace mosaik::test
