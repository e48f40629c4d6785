#pragma once
// The Qt windows of the program, views of the headless models in Programm.
#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTabWidget>

#include "start/Programm.h"
#include "qt/EXIFDialog.h"
#include "qt/FarbDialog.h"
#include "qt/KommentarDialog.h"
#include "qt/NavigationDialog.h"
#include "qt/OptionBinder.h"
#include "qt/WartenDialog.h"

namespace mosaik {

// The key filters of the free-text fields of the main window and of the
// navigation dialog's graphic paths, for the binder.
Tastenfilter tastenfilter(THauptForm& haupt, TNavigationForm& nav);

class Hauptfenster : public QMainWindow {
  Q_OBJECT
 public:
  Hauptfenster(Programm& p, OptionBinder& binder, NavigationDialog& nav);
  void aktualisieren();
  QTabWidget* PageControl;
  QTabWidget* PageControlExperten;
  // Opens the navigation dialog on one of its pages.
  void navigationZeigen(int seite);

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void knopf(Opt o);
  // The focus to a control the program chooses, shown.
  void fokusGeben(QWidget* w);
  // A focus move asked for while the focus is changing, made once the
  // change is done.
  void fokusDanach(std::function<void()> bewegen);
  bool eingepasst_ = false;
  Programm& p_;
  OptionBinder& binder_;
  NavigationDialog& nav_;
  bool cursorGesetzt_ = false;
};

// All windows, created in the program's order.
struct Fenster {
  explicit Fenster(Programm& p);
  Programm& p;
  OptionBinder binder;
  NavigationDialog navigation;  // built first: the main window's button opens it
  Hauptfenster haupt;
  EXIFDialog exif;
  WartenDialog warten;
  FarbDialog farb;
  KommentarDialog kommentar;
};

}  // namespace mosaik
