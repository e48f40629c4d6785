#pragma once
// Builds the widget of each control from the option table and binds it to
// the model: user input goes to the model's setters (which run the
// handlers); model changes come back with the widget's signals blocked, so
// no handler runs twice. Enabled, Visible and captions are the model's own
// flags, mirrored; the view never reads them back.
#include <QColor>
#include <QObject>
#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "app/options/OptionModel.h"

class QAction;
class QLabel;
class QTabWidget;
class QMenu;
class QLineEdit;
class QKeyEvent;

namespace mosaik {

// The key filter of the headless window, for the fields that have one.
struct Tastenfilter {
  std::function<bool(Opt)> gefiltert;
  std::function<void(Opt, int taste, bool strg)> keyDown;
  std::function<char32_t(Opt, char32_t)> keyPress;  // 0 = swallowed
  std::function<std::string(Opt, const std::string&)> einfuegen;
};

class OptionBinder : public QObject {
  Q_OBJECT
 public:
  explicit OptionBinder(OptionModel& m, Tastenfilter filter = {}, QObject* parent = nullptr);

  // Creates the widget of a control (check box, edit, spin box, group box,
  // page, ...), named after it. Buttons run their Click event and call
  // `knopf` when clicked.
  QWidget* erzeugen(Opt o, QWidget* parent);
  QWidget* widget(Opt o) const { return widgets_[static_cast<size_t>(o)]; }
  void setKnopfAktion(std::function<void(Opt)> f) { knopf_ = std::move(f); }
  // Mirrors the model's state of every created widget.
  void alleAktualisieren();
  void aktualisieren(Opt o);
  // A text field that shows its model text in another form (a path
  // shortened to the field's width); the model keeps the full text.
  void setAnzeige(Opt o, std::function<QString(const QString&)> f) { anzeige_[static_cast<size_t>(o)] = std::move(f); }

  // Inserts text into a filtered field as if pasted.
  void einfuegen(Opt o, const QString& text);
  // While a control's Enter event runs: whether it was reached with
  // Shift+Tab.
  bool rueckwaertsBetreten() const { return rueckwaerts_; }

 protected:
  bool eventFilter(QObject* obj, QEvent* e) override;

 private:
  bool tasteFiltern(Opt o, QLineEdit* ed, QKeyEvent* ke);
  bool radioPfeil(Opt o, const QKeyEvent* ke);
  Opt zuWidget(QObject* obj) const;
  OptionModel& m_;
  std::array<QWidget*, kOptCount> widgets_{};
  std::function<void(Opt)> knopf_;
  std::array<std::function<QString(const QString&)>, kOptCount> anzeige_;
  Tastenfilter filter_;
  bool rueckwaerts_ = false;
};

// Memo texts: CR LF in the model, LF in the widget; every other character
// as it is, a leading U+FEFF included.
QString memoNachQt(const std::string& s);
// A colour as the models keep it: 0xRRGGBB.
uint32_t farbeAusQt(const QColor& c);
std::string memoAusQt(const QString& s);

// The paste entry of a line edit's standard context menu.
QAction* einfuegenAktion(QMenu* menu);

// A plain label that greys out and hides with the control it describes.
QLabel* begleitText(const QString& text, QWidget* buddy, QWidget* parent);

// Shows or hides page i of a page control. A hidden tab alone would keep
// its page within reach of the page keys (Ctrl+Tab, Ctrl+Shift+Tab) and
// its mnemonic, and with it the focus and F1: a hidden page is disabled
// as well.
void seiteZeigen(QTabWidget* leiste, int i, bool sichtbar, bool aktiv = true);

// A label for texts that are not the program's own (file and folder names,
// the user's texts): shown as written, never read as markup, so that a
// picture named "<b>x.jpg" keeps its name and a line break stays one.
QLabel* klartextLabel(QWidget* parent);
// A tool tip with such a text; Qt would read it as markup whenever it
// looks like some.
void klartextHinweis(QWidget* w, const QString& text);

}  // namespace mosaik
