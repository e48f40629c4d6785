#pragma once
// The progress dialog's window: a view of TwartenForm. Shown without being
// modal and without a parent, so that it stays usable while the main
// window is disabled.
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
  explicit WartenDialog(TwartenForm& form);
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
