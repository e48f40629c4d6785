#pragma once
// The progress dialog's window: a view of TwartenForm. It is the main
// window's own dialog, modal to it: the window system keeps it above the
// main window for the whole run, so "Abbrechen" stays in reach whatever the
// user clicks, and the main window takes no input meanwhile.
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "ui/Formulare.h"

namespace mosaik {

// The paint box ImWarten: shows the bar the model paints.
class WartenBalken : public QWidget {
 public:
  WartenBalken(TwartenForm& form, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  TwartenForm& form_;
};

class WartenDialog : public QDialog {
  Q_OBJECT
 public:
  // haupt: the main window the dialog belongs to.
  WartenDialog(TwartenForm& form, QWidget* haupt);
  void aktualisieren();
  QLabel* LAktuellerDateiname;
  QFrame* Panel;
  WartenBalken* ImWarten;
  QPushButton* BAbbruch;
  QTimer* Timer;
  // No close box and no Escape: only "Abbrechen" ends a run early.
  void reject() override {}

 protected:
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void farbenUebernehmen();
  TwartenForm& form_;
  std::string gezeigterName_;
};

}  // namespace mosaik
