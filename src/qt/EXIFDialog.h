#pragma once
// The caption template editor's window, a view of TEXIFForm: the reference
// card of clickable code labels, the template memo, the two focal lengths
// and a preview of the caption for a picture of the picture folder.
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>

#include "ui/EXIFForm.h"
#include "qt/RealSpinEdit.h"

namespace mosaik {

// A label that reports a click of the left mouse button.
class KlickLabel : public QLabel {
  Q_OBJECT
 public:
  KlickLabel(const QString& text, QWidget* parent);
 signals:
  void geklickt();

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override;
};

class EXIFDialog : public QDialog {
  Q_OBJECT
 public:
  // haupt: the main window, beside which the dialog opens.
  EXIFDialog(TEXIFForm& form, QWidget* haupt, char dezimaltrenner);
  void aktualisieren();

  QPlainTextEdit* MBeschreibung;
  RealSpinEdit* RSpEdRealBW;
  RealSpinEdit* RSpEdAequivalenteBW;
  QLabel* Vorschau;
  QLabel* LVorschau;
  QPushButton* BSchliessen;
  QPushButton* BRueckgaengig;
  QPushButton* BStandard;
  QPushButton* BitBKommentare;

 protected:
  bool eventFilter(QObject* obj, QEvent* e) override;

 private:
  // The smallest size at which nothing overlaps, for a screen with this
  // much room across; the dialog opens at it.
  void mindestgroesseSetzen(int verfuegbareBreite);
  void auswahlNachModell();
  void memoGeaendert();
  void vorschauZeigen();
  TEXIFForm& form_;
  QWidget* haupt_;
  bool spiegeln_ = false;  // the widgets follow the model
};

// Character positions: the model counts characters of its text with line
// breaks as CR LF; the memo counts UTF-16 units with "\n".
int modellPosition(const QString& memo, int qtPosition);
int qtPosition(const QString& memo, int modellPosition);

// A double click on the memo (its viewport) runs aktion.
void doppelklickAnbinden(QWidget* memo, std::function<void()> aktion);

}  // namespace mosaik
