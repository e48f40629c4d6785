#include "qt/RealSpinEdit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace mosaik {
namespace {

constexpr int kKnopfBreite = 15;

// The 9 x 6 glyph: a filled triangle of rows 1, 3, 5 and 7 pixels.
QIcon glyphe(bool hoch, const QColor& farbe) {
  QImage bild(9, 6, QImage::Format_ARGB32);
  bild.fill(Qt::transparent);
  for (int r = 0; r < 4; ++r) {
    const int y = hoch ? 1 + r : 4 - r;
    for (int x = 4 - r; x <= 4 + r; ++x) bild.setPixelColor(x, y, farbe);
  }
  return QIcon(QPixmap::fromImage(bild));
}

}  // namespace

SpinKnopf::SpinKnopf(bool hoch, QWidget* parent) : QToolButton(parent) {
  setObjectName(hoch ? QStringLiteral("SpinUp") : QStringLiteral("SpinDown"));
  setFocusPolicy(Qt::NoFocus);
  setIcon(glyphe(hoch, palette().color(QPalette::ButtonText)));
  setIconSize(QSize(9, 6));
  setCursor(Qt::ArrowCursor);
  timer_.setSingleShot(false);
  kern_.Click = [this] { emit schritt(); };
  connect(&timer_, &QTimer::timeout, this, [this] { ablauf(kern_.TimerTick(isDown())); });
}

void SpinKnopf::ablauf(int intervall) {
  if (intervall == 0) {
    timer_.stop();
  } else {
    timer_.start(intervall);
  }
}

void SpinKnopf::mousePressEvent(QMouseEvent* e) {
  QToolButton::mousePressEvent(e);
  if (e->button() != Qt::LeftButton) return;
  // The edit takes the focus, as its buttons never do.
  if (QWidget* edit = parentWidget(); edit && !edit->hasFocus()) edit->setFocus(Qt::MouseFocusReason);
  ablauf(kern_.MausRunter());
}

void SpinKnopf::mouseReleaseEvent(QMouseEvent* e) {
  const bool ueber = e->button() == Qt::LeftButton && isDown() && hitButton(e->position().toPoint());
  QToolButton::mouseReleaseEvent(e);
  if (e->button() == Qt::LeftButton) ablauf(kern_.MausHoch(ueber));
}

RealSpinEdit::RealSpinEdit(char separator, QWidget* parent) : QLineEdit(parent) {
  kern_.Dezimaltrenner = separator;
  kern_.Piepton = [] { QApplication::beep(); };
  kern_.OnChange = [this] {
    const QString t = QString::fromStdString(kern_.Text());
    if (t == text()) return;
    synchron_ = true;
    setText(t);
    synchron_ = false;
    // Steps and corrections reach whoever follows the user's edits.
    emit textEdited(t);
  };
  connect(this, &QLineEdit::textChanged, this, [this](const QString& t) {
    if (!synchron_) kern_.setText(t.toStdString());
  });
  setText(QStringLiteral("0"));
  setAcceptDrops(false);
  hoch_ = new SpinKnopf(true, this);
  runter_ = new SpinKnopf(false, this);
  connect(hoch_, &SpinKnopf::schritt, this, [this] { schritt(true); });
  connect(runter_, &SpinKnopf::schritt, this, [this] { schritt(false); });
  setTextMargins(0, 0, kKnopfBreite + 2, 0);
  setMinimumHeight(mindesthoehe());
  anordnen();
}

void RealSpinEdit::setValue(Decimal4 v) { kern_.setValue(v); }

void RealSpinEdit::setBounds(Decimal4 min, Decimal4 max) {
  kern_.MinValue = min;
  kern_.MaxValue = max;
}

void RealSpinEdit::setSpinReadOnly(bool on) {
  kern_.ReadOnly = on;
  setReadOnly(on);
}

void RealSpinEdit::schritt(bool hoch) {
  kern_.setText(text().toStdString());
  if (hoch)
    kern_.UpClick();
  else
    kern_.DownClick();
}

int RealSpinEdit::mindesthoehe() const {
  return RealSpinMindesthoehe(fontMetrics().height(), QFontMetrics(QApplication::font()).height(), 1);
}

QSize RealSpinEdit::minimumSizeHint() const {
  QSize s = QLineEdit::minimumSizeHint();
  s.setHeight(std::max(s.height(), mindesthoehe()));
  s.setWidth(s.width() + kKnopfBreite + 2);
  return s;
}

QSize RealSpinEdit::sizeHint() const {
  QSize s = QLineEdit::sizeHint();
  s.setHeight(std::max(s.height(), mindesthoehe()));
  return s;
}

void RealSpinEdit::anordnen() {
  const Rechteck paar = RealSpinKnopfpaar(width(), height(), kKnopfBreite, true);
  Rechteck h, r;
  SpinKnoepfe(paar.w, paar.h, h, r);
  // The pair sits inside the frame; its own rectangle is shifted right by
  // the frame that the original drew around the client area.
  const int x = paar.x + 3, y = paar.y + 2;
  hoch_->setGeometry(x + h.x, y + h.y, h.w, h.h);
  runter_->setGeometry(x + r.x, y + r.y, r.w, r.h);
}

void RealSpinEdit::resizeEvent(QResizeEvent* e) {
  QLineEdit::resizeEvent(e);
  anordnen();
}

void RealSpinEdit::changeEvent(QEvent* e) {
  QLineEdit::changeEvent(e);
  if (e->type() == QEvent::FontChange) setMinimumHeight(mindesthoehe());
  if (e->type() == QEvent::EnabledChange) {
    hoch_->setEnabled(isEnabled());
    runter_->setEnabled(isEnabled());
  }
}

void RealSpinEdit::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down) {
    schritt(e->key() == Qt::Key_Up);
    QLineEdit::keyPressEvent(e);
    e->accept();
    return;
  }
  if (e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut)) {
    if (kern_.EinfuegenErlaubt()) QLineEdit::keyPressEvent(e);
    return;  // dropped silently
  }
  // Enter belongs to the dialog (its default button), as it does beside
  // every other edit.
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    e->ignore();
    return;
  }
  const QString t = e->text();
  for (const QChar c : t) {
    if (c.unicode() == 0x7F) continue;  // the Delete key edits, it types nothing
    if (!kern_.KeyPress(c.unicode())) {
      e->accept();
      return;
    }
  }
  QLineEdit::keyPressEvent(e);
}

void RealSpinEdit::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  if (e->reason() != Qt::MouseFocusReason || !(QApplication::mouseButtons() & Qt::LeftButton)) selectAll();
}

void RealSpinEdit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  kern_.setText(text().toStdString());
  kern_.Exit();
}

void RealSpinEdit::contextMenuEvent(QContextMenuEvent* e) {
  QMenu* menu = createStandardContextMenu();
  if (!kern_.EinfuegenErlaubt()) {
    for (QAction* a : menu->actions()) {
      if (a->objectName() == QLatin1String("edit-paste") || a->objectName() == QLatin1String("edit-cut"))
        a->setEnabled(false);
    }
  }
  menu->exec(e->globalPos());
  delete menu;
}

}  // namespace mosaik
