#pragma once
// F1 in the main window: the window sees the key before any of its controls
// (as a window that previews keys) and opens the help of the focused one.
#include <QObject>
#include <QWidget>
#include <optional>

#include "app/options/Kontext.h"

namespace mosaik {

// The control a widget belongs to: the widget itself or its nearest parent
// named after a control; nullopt when there is none.
std::optional<Opt> controlVon(const QObject* w);

class HilfeTaste : public QObject {
  Q_OBJECT
 public:
  // Watches the key presses of every widget of fenster; made a child of it.
  HilfeTaste(QWidget& fenster, Kontext& k);

 protected:
  bool eventFilter(QObject* obj, QEvent* e) override;

 private:
  QWidget& fenster_;
  Kontext& k_;
};

// The hints of the web-site and mail buttons name their addresses.
void hilfeKnopfHinweise(QWidget& fenster);

}  // namespace mosaik
