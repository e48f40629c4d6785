#include "qt/WartenDialog.h"

#include <algorithm>

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>

#include "qt/OptionBinder.h"
#include "qt/ThemenMaler.h"

namespace mosaik {
WartenBalken::WartenBalken(TwartenForm& form, QWidget* parent) : QWidget(parent), form_(form) {
  setObjectName(QStringLiteral("ImWarten"));
  setFixedSize(TwartenForm::kBreite, TwartenForm::kHoehe);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void WartenBalken::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (form_.ThemesEnabled && form_.ThemesEnabled() && !form_.ThemenTeile.empty()) {
    p.fillRect(rect(), palette().color(QPalette::Button));
    fortschrittsteileZeichnen(p, this, form_.ThemenTeile);
    return;
  }
  if (form_.ImWarten.size() != static_cast<size_t>(TwartenForm::kBreite * TwartenForm::kHoehe)) {
    p.fillRect(rect(), palette().color(QPalette::Button));
    return;
  }
  QImage bild(TwartenForm::kBreite, TwartenForm::kHoehe, QImage::Format_RGB32);
  for (int y = 0; y < TwartenForm::kHoehe; ++y) {
    auto* zeile = reinterpret_cast<QRgb*>(bild.scanLine(y));
    for (int x = 0; x < TwartenForm::kBreite; ++x) zeile[x] = 0xFF000000u | form_.pixel(x, y);
  }
  p.drawImage(0, 0, bild);
}

WartenDialog::WartenDialog(TwartenForm& form, QWidget* haupt) : QDialog(haupt), form_(form) {
  setObjectName(QStringLiteral("wartenForm"));
  // A dialog border with its caption and no border icons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  // Shown without exec(): the run goes on in the caller while the dialog
  // blocks the main window only.
  setWindowModality(Qt::WindowModal);
  setWindowTitle(QString::fromStdString(form_.Caption));
  setCursor(Qt::WaitCursor);

  // The form's layout (client area 146 x 75); a font taller than the
  // label's 13 pixels moves what lies below it down. The window is wider
  // where its caption needs it: a window system puts its own icons into the
  // title bar, and "Bitte warten..." must still be readable beside them.
  const int mehr = std::max(0, fontMetrics().height() - 13);
  QFont titel = font();
  titel.setBold(true);
  const int breite = std::max(146, QFontMetrics(titel).horizontalAdvance(QStringLiteral("Bitte warten...")) + 120);
  const int x = (breite - 146) / 2;
  LAktuellerDateiname = klartextLabel(this);
  LAktuellerDateiname->setObjectName(QStringLiteral("LAktuellerDateiname"));
  LAktuellerDateiname->setGeometry(6, 6, breite - 7, 13 + mehr);
  LAktuellerDateiname->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Panel = new QFrame(this);
  Panel->setObjectName(QStringLiteral("Panel"));
  Panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel->setLineWidth(1);
  Panel->setGeometry(x, 30 + mehr, 145, 19);
  ImWarten = new WartenBalken(form_, Panel);
  ImWarten->move(1, 1);
  BAbbruch = new QPushButton(QStringLiteral("Abbrechen"), this);
  BAbbruch->setObjectName(QStringLiteral("BAbbruch"));
  BAbbruch->setCursor(Qt::ArrowCursor);
  BAbbruch->setGeometry(x + 38, 48 + mehr, 75, 25);
  setFixedSize(breite, 75 + mehr);

  Timer = new QTimer(this);
  Timer->setObjectName(QStringLiteral("Timer"));
  Timer->setInterval(20);
  connect(Timer, &QTimer::timeout, this, [this] { form_.TimerTimer(); });
  connect(BAbbruch, &QPushButton::clicked, this, [this] { form_.BAbbruchClick(); });
  farbenUebernehmen();
  form_.geaendert = [this] { aktualisieren(); };
  aktualisieren();
}

void WartenDialog::farbenUebernehmen() {
  form_.Farben(farbeAusQt(palette().color(QPalette::Highlight)), farbeAusQt(palette().color(QPalette::Button)));
}

void WartenDialog::aktualisieren() {
  const QString titel = QString::fromStdString(form_.Caption);
  if (windowTitle() != titel) setWindowTitle(titel);
  // The path shortened to the label's width, its middle given up first.
  if (form_.LAktuellerDateiname != gezeigterName_) {
    gezeigterName_ = form_.LAktuellerDateiname;
    const QString voll = QString::fromStdString(gezeigterName_);
    LAktuellerDateiname->setText(
        LAktuellerDateiname->fontMetrics().elidedText(voll, Qt::ElideMiddle, LAktuellerDateiname->width()));
    klartextHinweis(LAktuellerDateiname, voll);
  }
  BAbbruch->setEnabled(form_.BAbbruchEnabled);
  if (form_.TimerEnabled != Timer->isActive()) {
    if (form_.TimerEnabled)
      Timer->start();
    else
      Timer->stop();
  }
  if (form_.Visible != isVisible()) setVisible(form_.Visible);
  ImWarten->update();
}

void WartenDialog::closeEvent(QCloseEvent* e) { e->ignore(); }

void WartenDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (const QScreen* s = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen()) {
    const QRect r = s->availableGeometry();
    move(r.center() - QPoint(width() / 2, height() / 2));
  }
}

}  // namespace mosaik
