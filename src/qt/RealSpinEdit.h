#pragma once
// The decimal spin edit: a line edit with an up/down button pair at its
// right edge; the value rules live in TRealSpinEdit.
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include "winsupport/RealSpin.h"

namespace mosaik {

// One button of the pair: repeats its step while held.
class SpinKnopf : public QToolButton {
  Q_OBJECT
 public:
  SpinKnopf(bool hoch, QWidget* parent);
  TTimerSpeedButton& kern() { return kern_; }

 signals:
  void schritt();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  void ablauf(int intervall);
  TTimerSpeedButton kern_;
  QTimer timer_;
};

class RealSpinEdit : public QLineEdit {
  Q_OBJECT
 public:
  // separator: the decimal separator of the injected locale formats.
  explicit RealSpinEdit(char separator, QWidget* parent = nullptr);

  TRealSpinEdit& kern() { return kern_; }
  Decimal4 value() const { return kern_.Value(); }
  void setValue(Decimal4 v);
  void setBounds(Decimal4 min, Decimal4 max);
  void setIncrement(Decimal4 step) { kern_.Increment = step; }
  void setEditorEnabled(bool on) { kern_.EditorEnabled = on; }
  // The edit's own read-only state; the buttons then beep.
  void setSpinReadOnly(bool on);
  SpinKnopf* hochKnopf() const { return hoch_; }
  SpinKnopf* runterKnopf() const { return runter_; }

  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  void schritt(bool hoch);
  void anordnen();
  int mindesthoehe() const;

  TRealSpinEdit kern_;
  SpinKnopf* hoch_;
  SpinKnopf* runter_;
  bool synchron_ = false;  // the widget's text follows the core
};

}  // namespace mosaik
