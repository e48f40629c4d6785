#pragma once
// The colour dialog's window "Farbangaben", a view of TfarbForm: the swatch
// with its label "wählen", the red, green and blue spin edits, the HTML
// code and the buttons OK and Abbrechen.
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <functional>

#include "ui/Farbdialog.h"

namespace mosaik {

class FarbDialog : public QDialog {
  Q_OBJECT
 public:
  explicit FarbDialog(TfarbForm& form, QWidget* parent = nullptr);
  void aktualisieren();

  QLabel* Label5;
  QFrame* farbquadrat;
  QSpinBox* SpEdRot;
  QSpinBox* SpEdGruen;
  QSpinBox* SpEdBlau;
  QLabel* Label4;
  QLineEdit* EdHTMLCode;
  QPushButton* Bschliessen;
  QPushButton* BAbbruch;

 protected:
  bool eventFilter(QObject* obj, QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  bool codeTaste(QKeyEvent* ke);
  TfarbForm& form_;
};

// A click on the label acts as a click on the colour panel it names.
void klickOeffnetFarbe(QLabel* label, QWidget* panel);

}  // namespace mosaik
