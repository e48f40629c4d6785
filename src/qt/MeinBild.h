#pragma once
// The picture in the help tab's info group: it lights up when the mouse
// moves over it and goes back to rest 100 ms later.
#include <QLabel>
#include <QPixmap>
#include <QTimer>

namespace mosaik {

class MeinBild : public QLabel {
 public:
  explicit MeinBild(QWidget* parent);
  // Image i of the picture (0: at rest, 1: under the mouse), drawn here.
  static QPixmap bild(int i);
  QTimer* BilderRuecksetzTimer() const { return timer_; }

 protected:
  void mouseMoveEvent(QMouseEvent* e) override;

 private:
  void zeigen(int i) { setPixmap(bild(i)); }
  QTimer* timer_;
};

}  // namespace mosaik
