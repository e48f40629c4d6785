#include "qt/HilfeTaste.h"

#include <QApplication>
#include <QKeyEvent>

#include "app/options/Hersteller.h"
#include "ui/Hilfe.h"

namespace mosaik {

std::optional<Opt> controlVon(const QObject* w) {
  for (; w; w = w->parent()) {
    const QByteArray name = w->objectName().toUtf8();
    if (name.isEmpty()) continue;
    if (auto o = optByName(std::string_view(name.constData(), static_cast<size_t>(name.size())))) return o;
  }
  return std::nullopt;
}

HilfeTaste::HilfeTaste(QWidget& fenster, Kontext& k) : QObject(&fenster), fenster_(fenster), k_(k) {
  // Key events reach the focused widget first; only the application sees
  // them before it.
  qApp->installEventFilter(this);
}

bool HilfeTaste::eventFilter(QObject* obj, QEvent* e) {
  if (e->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(e)->key() != Qt::Key_F1) return false;
  auto* w = qobject_cast<QWidget*>(obj);
  if (!w || w->window() != &fenster_) return false;
  // The key goes to the focused control (or to the window when none has the
  // focus); F1 means nothing else to the controls.
  FormKeyDown(k_, controlVon(w), kTasteF1);
  return true;
}

void hilfeKnopfHinweise(QWidget& fenster) {
  if (auto* b = fenster.findChild<QWidget*>(QStringLiteral("BHomepage")))
    b->setToolTip(QString::fromUtf8(kHerstellerWebsite));
  if (auto* b = fenster.findChild<QWidget*>(QStringLiteral("BMail"))) b->setToolTip(QString::fromUtf8(kHerstellerMail));
}

}  // namespace mosaik
