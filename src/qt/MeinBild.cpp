#include "qt/MeinBild.h"

#include <QPainter>

namespace mosaik {
namespace {

constexpr int kSeite = 48;
constexpr int kKachel = 14;

// A mosaic of three by three tiles: cool at rest, warm under the mouse.
constexpr QRgb kFarben[2][3] = {{0x4A6FA5, 0x7A93B8, 0xA9B9CF}, {0xE8692C, 0xF2A03D, 0xF7D35A}};

}  // namespace

MeinBild::MeinBild(QWidget* parent) : QLabel(parent), timer_(new QTimer(this)) {
  setObjectName(QStringLiteral("ImMeinBild"));
  setFixedSize(kSeite, kSeite);
  setMouseTracking(true);
  timer_->setObjectName(QStringLiteral("BilderRuecksetzTimer"));
  timer_->setInterval(100);
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, [this] { zeigen(0); });
  zeigen(0);
}

QPixmap MeinBild::bild(int i) {
  QPixmap p(kSeite, kSeite);
  p.fill(Qt::white);
  QPainter maler(&p);
  for (int zeile = 0; zeile < 3; ++zeile)
    for (int spalte = 0; spalte < 3; ++spalte)
      maler.fillRect(2 + spalte * (kKachel + 1), 2 + zeile * (kKachel + 1), kKachel, kKachel,
                     QColor(kFarben[i][(zeile + spalte) % 3]));
  return p;
}

// A running timer is not started again: under a moving mouse the picture
// still falls back every 100 ms and lights up at the next move.
void MeinBild::mouseMoveEvent(QMouseEvent* e) {
  zeigen(1);
  if (!timer_->isActive()) timer_->start();
  QLabel::mouseMoveEvent(e);
}

}  // namespace mosaik
