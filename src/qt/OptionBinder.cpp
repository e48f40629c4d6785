#include "qt/OptionBinder.h"

#include "qt/RealSpinEdit.h"
#include "ui/Tastatur.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStringDecoder>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextDocument>

namespace mosaik {

uint32_t farbeAusQt(const QColor& c) { return static_cast<uint32_t>(c.rgb()) & 0xFFFFFFu; }

QString memoNachQt(const std::string& s) {
  // A leading U+FEFF is part of the text (a comment may begin with one):
  // the plain UTF-8 conversion would take it for a byte-order mark and drop
  // it, and the text written back would lose it.
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
  QString q = utf8(QByteArrayView(s.data(), static_cast<qsizetype>(s.size())));
  q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return q;
}

std::string memoAusQt(const QString& s) {
  QString q = s;
  q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  q.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return q.toStdString();
}

namespace {

QString farbStil(uint32_t rgb) {
  return QStringLiteral("background-color: #%1; border: 1px solid #808080; min-width: 3em; min-height: 1.2em;")
      .arg(rgb, 6, 16, QLatin1Char('0'));
}

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The caption a control shows: its own text where the program changes it,
// else the one of the table.
QString beschriftung(const OptionModel& m, Opt o) {
  const std::string& t = m.text(o);
  return t.empty() ? qs(info(o).caption) : QString::fromStdString(t);
}

QTabWidget* seitenleiste(QWidget* seite) {
  QWidget* stapel = seite->parentWidget();
  if (!qobject_cast<QStackedWidget*>(stapel)) return nullptr;
  return qobject_cast<QTabWidget*>(stapel->parentWidget());
}

// A focus change caused by another window or a popup menu is no field
// entry or exit: the field keeps the focus of its window.
bool echterFokuswechsel(QEvent* e) {
  const Qt::FocusReason r = static_cast<QFocusEvent*>(e)->reason();
  return r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason;
}

// The control character that Ctrl and a letter produce on the keyboard.
char32_t steuerzeichen(const QKeyEvent* ke) {
  if (!(ke->modifiers() & Qt::ControlModifier)) return 0;
  if (ke->key() >= Qt::Key_A && ke->key() <= Qt::Key_Z) return static_cast<char32_t>(ke->key() - Qt::Key_A + 1);
  return 0;
}

// A key that Alt turns into a command: it either reaches a mnemonic or
// does nothing, and never types its letter. A mnemonic that is out of reach
// (a hidden page, a disabled control) leaves the key to the focused field,
// whose own handling would insert the letter or, in a drop-down list,
// choose an item by it. Ctrl with Alt is the AltGr of some keyboards and
// types its character.
bool altBefehl(const QKeyEvent* ke) {
  return (ke->modifiers() & Qt::AltModifier) && !(ke->modifiers() & Qt::ControlModifier) && !ke->text().isEmpty();
}

// Keeps a plain label's Enabled and Visible in step with its control.
class Begleiter : public QObject {
 public:
  Begleiter(QLabel* label, QWidget* buddy) : QObject(label), label_(label), buddy_(buddy) {
    buddy->installEventFilter(this);
    folgen();
  }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::EnabledChange || e->type() == QEvent::ShowToParent || e->type() == QEvent::HideToParent)
      folgen();
    return false;
  }

 private:
  void folgen() {
    label_->setEnabled(!buddy_->testAttribute(Qt::WA_ForceDisabled));
    label_->setHidden(buddy_->isHidden());
  }
  QLabel* label_;
  QWidget* buddy_;
};

}  // namespace

QAction* einfuegenAktion(QMenu* menu) {
  const QString kuerzel = QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
  for (QAction* a : menu->actions())
    if (a->objectName() == QStringLiteral("edit-paste") || (!kuerzel.isEmpty() && a->text().endsWith(kuerzel)))
      return a;
  return nullptr;
}

QLabel* begleitText(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  if (text.contains(QLatin1Char('&'))) l->setBuddy(buddy);
  new Begleiter(l, buddy);
  return l;
}

QLabel* klartextLabel(QWidget* parent) {
  auto* l = new QLabel(parent);
  l->setTextFormat(Qt::PlainText);
  return l;
}

void seiteZeigen(QTabWidget* leiste, int i, bool sichtbar, bool aktiv) {
  // The page control disables the page's widget with its tab, and so every
  // control on it; the page keys and the tab bar pass over a disabled tab.
  leiste->setTabEnabled(i, sichtbar && aktiv);
  leiste->setTabVisible(i, sichtbar);
}

void klartextHinweis(QWidget* w, const QString& text) {
  w->setToolTip(Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap) : text);
}

OptionBinder::OptionBinder(OptionModel& m, Tastenfilter filter, QObject* parent)
    : QObject(parent), m_(m), filter_(std::move(filter)) {
  m_.addListener([this](Opt o) {
    if (widget(o)) aktualisieren(o);
  });
}

QWidget* OptionBinder::erzeugen(Opt o, QWidget* parent) {
  const OptInfo& inf = info(o);
  QWidget* w = nullptr;
  bool fokusEreignisse = false;
  switch (inf.kind) {
    case Kind::CheckBox: {
      auto* cb = new QCheckBox(parent);
      connect(cb, &QCheckBox::clicked, this, [this, o](bool on) { m_.setChecked(o, on); });
      w = cb;
      break;
    }
    case Kind::Radio: {
      auto* rb = new QRadioButton(parent);
      // The model keeps a group exclusive; Qt's own grouping by parent would
      // mix groups that share a page.
      rb->setAutoExclusive(false);
      rb->installEventFilter(this);
      connect(rb, &QRadioButton::clicked, this, [this, o](bool) {
        m_.setChecked(o, true);
        aktualisieren(o);  // a second click must not clear it
      });
      w = rb;
      break;
    }
    case Kind::Text:
    case Kind::Decimal: {
      QLineEdit* ed = nullptr;
      if (inf.kind == Kind::Decimal) {
        auto* rs = new RealSpinEdit(m_.decimalSeparator(), parent);
        rs->setBounds(Decimal4::fromUnits(inf.min), Decimal4::fromUnits(inf.max));
        rs->setIncrement(Decimal4::fromUnits(1000));  // 0.1
        ed = rs;
      } else {
        ed = new QLineEdit(parent);
      }
      connect(ed, &QLineEdit::textEdited, this, [this, o](const QString& t) { m_.setText(o, t.toStdString()); });
      if (filter_.gefiltert && filter_.gefiltert(o)) {
        ed->setAcceptDrops(false);
        ed->setContextMenuPolicy(Qt::DefaultContextMenu);
      }
      fokusEreignisse = true;
      w = ed;
      break;
    }
    case Kind::Memo: {
      auto* me = new QPlainTextEdit(parent);
      me->setTabChangesFocus(true);
      connect(me, &QPlainTextEdit::textChanged, this,
              [this, o, me] { m_.setText(o, memoAusQt(me->toPlainText())); });
      fokusEreignisse = true;
      w = me;
      break;
    }
    case Kind::Spin: {
      auto* sp = new QSpinBox(parent);
      sp->setRange(static_cast<int>(inf.min), static_cast<int>(inf.max));
      connect(sp, &QSpinBox::valueChanged, this, [this, o](int v) { m_.setSpin(o, v); });
      fokusEreignisse = true;
      w = sp;
      break;
    }
    case Kind::ListIndex: {
      auto* co = new QComboBox(parent);
      // Only a user's choice fires the change, as with the original lists.
      connect(co, &QComboBox::activated, this, [this, o](int i) {
        m_.setIndex(o, i);
        m_.run(o, Ev::Change);
      });
      co->installEventFilter(this);  // for its keys
      w = co;
      break;
    }
    case Kind::SizeText:
    case Kind::FontName: {
      auto* co = new QComboBox(parent);
      co->setEditable(true);
      co->setInsertPolicy(QComboBox::NoInsert);
      connect(co, &QComboBox::currentTextChanged, this, [this, o](const QString& t) { m_.setText(o, t.toStdString()); });
      fokusEreignisse = true;
      w = co;
      break;
    }
    case Kind::Colour: {
      // A colour panel: its click is the window's (the colour dialog). It
      // takes the focus from the keyboard only, as a panel does.
      auto* pb = new QPushButton(parent);
      pb->setFocusPolicy(Qt::TabFocus);
      connect(pb, &QPushButton::clicked, this, [this, o] { m_.run(o, Ev::Click); });
      fokusEreignisse = true;
      w = pb;
      break;
    }
    case Kind::Slider: {
      auto* sl = new QSlider(Qt::Horizontal, parent);
      sl->setRange(static_cast<int>(inf.min), static_cast<int>(inf.max));
      connect(sl, &QSlider::valueChanged, this, [this, o](int v) { m_.setPosition(o, v); });
      w = sl;
      break;
    }
    case Kind::Label:
      w = klartextLabel(parent);
      break;
    case Kind::Button: {
      auto* pb = new QPushButton(parent);
      connect(pb, &QPushButton::clicked, this, [this, o] {
        m_.run(o, Ev::Click);
        if (knopf_) knopf_(o);
      });
      w = pb;
      break;
    }
    case Kind::Group:
      if (inf.caption.empty()) {
        auto* fr = new QFrame(parent);
        fr->setFrameShape(QFrame::NoFrame);
        w = fr;
      } else {
        w = new QGroupBox(parent);
      }
      break;
    case Kind::Tab:
      w = new QWidget(parent);
      break;
  }
  w->setObjectName(qs(inf.name));
  widgets_[static_cast<size_t>(o)] = w;
  if (fokusEreignisse || (filter_.gefiltert && filter_.gefiltert(o))) w->installEventFilter(this);
  aktualisieren(o);
  return w;
}

void OptionBinder::alleAktualisieren() {
  for (int i = 0; i < kOptCount; ++i)
    if (widgets_[static_cast<size_t>(i)]) aktualisieren(static_cast<Opt>(i));
}

void OptionBinder::aktualisieren(Opt o) {
  QWidget* w = widget(o);
  const QSignalBlocker block(w);
  const QString text = QString::fromStdString(m_.text(o));
  switch (info(o).kind) {
    case Kind::CheckBox:
    case Kind::Radio: {
      auto* b = static_cast<QAbstractButton*>(w);
      b->setChecked(m_.checked(o));
      const QString cap = beschriftung(m_, o);
      if (b->text() != cap) b->setText(cap);
      break;
    }
    case Kind::Text:
    case Kind::Decimal: {
      auto* ed = static_cast<QLineEdit*>(w);
      const auto& anzeige = anzeige_[static_cast<size_t>(o)];
      const QString gezeigt = anzeige ? anzeige(text) : text;
      if (ed->text() != gezeigt) ed->setText(gezeigt);
      break;
    }
    case Kind::Memo: {
      auto* me = static_cast<QPlainTextEdit*>(w);
      const QString q = memoNachQt(m_.text(o));
      if (me->toPlainText() != q) me->setPlainText(q);
      break;
    }
    case Kind::Spin: {
      auto* sp = static_cast<QSpinBox*>(w);
      if (m_.maxValue(o) != m_.minValue(o))
        sp->setRange(static_cast<int>(m_.minValue(o)), static_cast<int>(m_.maxValue(o)));
      sp->setValue(m_.spin(o));
      break;
    }
    case Kind::ListIndex:
    case Kind::SizeText:
    case Kind::FontName: {
      auto* co = static_cast<QComboBox*>(w);
      QStringList items;
      for (const auto& s : m_.items(o)) items << QString::fromStdString(s);
      QStringList vorhanden;
      for (int i = 0; i < co->count(); ++i) vorhanden << co->itemText(i);
      if (vorhanden != items) {
        co->clear();
        co->addItems(items);
      }
      if (info(o).kind == Kind::ListIndex)
        co->setCurrentIndex(m_.index(o));
      else if (co->currentText() != text)
        co->setCurrentText(text);
      break;
    }
    case Kind::Colour:
      w->setStyleSheet(farbStil(m_.color(o)));
      break;
    case Kind::Slider:
      static_cast<QSlider*>(w)->setValue(m_.position(o));
      break;
    case Kind::Label:
      static_cast<QLabel*>(w)->setText(text);
      break;
    case Kind::Button:
      static_cast<QPushButton*>(w)->setText(text);
      break;
    case Kind::Group:
      // The blanks around a caption kept it off the frame line of the
      // original's group boxes; here the title stands above the frame, and
      // with them one title would stand out of line with its neighbours.
      if (auto* gb = qobject_cast<QGroupBox*>(w)) gb->setTitle(text.trimmed());
      break;
    case Kind::Tab:
      // A page shows and hides as a tab of its page control.
      if (QTabWidget* leiste = seitenleiste(w)) {
        const int i = leiste->indexOf(w);
        leiste->setTabText(i, text);
        seiteZeigen(leiste, i, m_.visible(o), m_.enabled(o));
      }
      return;
  }
  w->setEnabled(m_.enabled(o));
  // A control that is not hidden is shown together with its parent.
  w->setHidden(!m_.visible(o));
}

// Arrow keys move among the members of a radio group and choose the one
// they reach, as in every desktop dialog. Qt's own arrows would wander over
// every button of the page and choose nothing: the groups are the model's.
bool OptionBinder::radioPfeil(Opt o, const QKeyEvent* ke) {
  bool vorwaerts = true;
  switch (ke->key()) {
    case Qt::Key_Down:
    case Qt::Key_Right: break;
    case Qt::Key_Up:
    case Qt::Key_Left: vorwaerts = false; break;
    default: return false;
  }
  const Opt n = radioNachbar(o, vorwaerts, [this](Opt m) {
    const QWidget* w = widget(m);
    return w && w->isVisible() && w->isEnabled();
  });
  if (n == o) return true;
  m_.setChecked(n, true);
  aktualisieren(n);
  if (QWidget* w = widget(n); w->isVisible() && w->isEnabled()) w->setFocus(Qt::OtherFocusReason);
  return true;
}

Opt OptionBinder::zuWidget(QObject* obj) const {
  for (int i = 0; i < kOptCount; ++i)
    if (widgets_[static_cast<size_t>(i)] == obj) return static_cast<Opt>(i);
  return Opt::Count;
}

void OptionBinder::einfuegen(Opt o, const QString& text) {
  auto* ed = qobject_cast<QLineEdit*>(widget(o));
  if (!ed || ed->isReadOnly()) return;
  const QString gefiltert =
      filter_.einfuegen ? QString::fromStdString(filter_.einfuegen(o, text.toStdString())) : text;
  ed->insert(gefiltert);
  m_.setText(o, ed->text().toStdString());
}

// Clipboard shortcuts go through the key-down and key-press handlers as on
// the system the filters were made for: the shortcut's control character
// passes once and the paste itself is filtered; a typed character that the
// filter replaces is inserted in its replaced form.
bool OptionBinder::tasteFiltern(Opt o, QLineEdit* ed, QKeyEvent* ke) {
  const bool strg = ke->modifiers() & Qt::ControlModifier;
  if (filter_.keyDown) filter_.keyDown(o, ke->key() >= Qt::Key_A && ke->key() <= Qt::Key_Z ? ke->key() : 0, strg);
  const bool einfuegenTaste = ke->matches(QKeySequence::Paste);
  if (einfuegenTaste || ke->matches(QKeySequence::Copy) || ke->matches(QKeySequence::Cut)) {
    if (const char32_t cc = steuerzeichen(ke); cc && filter_.keyPress && filter_.keyPress(o, cc) == 0) return true;
    if (!einfuegenTaste) return false;
    einfuegen(o, QApplication::clipboard()->text());
    return true;
  }
  if (ke->key() == Qt::Key_Backspace) return filter_.keyPress && filter_.keyPress(o, 8) == 0;
  const QString t = ke->text();
  if (t.isEmpty() || t.at(0).unicode() < 32 || t.at(0).unicode() == 127) return false;
  if (strg && !(ke->modifiers() & Qt::AltModifier)) return false;  // other shortcuts
  QString durch;
  bool anders = false;
  for (char32_t c : t.toUcs4()) {
    const char32_t r = filter_.keyPress ? filter_.keyPress(o, c) : c;
    if (r != c) anders = true;
    if (r != 0) durch += QString::fromUcs4(&r, 1);
  }
  if (!anders) return false;
  if (!durch.isEmpty()) {
    ed->insert(durch);
    m_.setText(o, ed->text().toStdString());
  }
  return true;
}

bool OptionBinder::eventFilter(QObject* obj, QEvent* e) {
  switch (e->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::KeyPress:
    case QEvent::ContextMenu:
    case QEvent::MouseButtonRelease:
      break;
    default:
      return false;
  }
  const Opt o = zuWidget(obj);
  if (o == Opt::Count) return false;
  if (e->type() == QEvent::KeyPress && altBefehl(static_cast<QKeyEvent*>(e))) return true;
  if (info(o).kind == Kind::Radio) return e->type() == QEvent::KeyPress && radioPfeil(o, static_cast<QKeyEvent*>(e));
  if (info(o).kind == Kind::ListIndex) return false;
  switch (e->type()) {
    case QEvent::FocusIn:
      if (!echterFokuswechsel(e)) break;
      if (info(o).kind == Kind::Colour) {
        // Entering a colour panel from the keyboard opens its dialog, once
        // the focus change is done.
        const Qt::FocusReason r = static_cast<QFocusEvent*>(e)->reason();
        if (r == Qt::TabFocusReason || r == Qt::BacktabFocusReason)
          QMetaObject::invokeMethod(this, [this, o] { m_.run(o, Ev::Enter); }, Qt::QueuedConnection);
        break;
      }
      rueckwaerts_ = static_cast<QFocusEvent*>(e)->reason() == Qt::BacktabFocusReason;
      m_.run(o, Ev::Enter);
      rueckwaerts_ = false;
      break;
    case QEvent::FocusOut:
      if (echterFokuswechsel(e)) m_.run(o, Ev::Exit);
      break;
    case QEvent::KeyPress:
      if (auto* ed = qobject_cast<QLineEdit*>(obj); ed && filter_.gefiltert && filter_.gefiltert(o))
        return tasteFiltern(o, ed, static_cast<QKeyEvent*>(e));
      break;
    case QEvent::ContextMenu:
      if (auto* ed = qobject_cast<QLineEdit*>(obj); ed && filter_.gefiltert && filter_.gefiltert(o)) {
        QMenu* menu = ed->createStandardContextMenu();
        if (QAction* a = einfuegenAktion(menu)) {
          a->disconnect();
          connect(a, &QAction::triggered, this, [this, o] { einfuegen(o, QApplication::clipboard()->text()); });
        }
        menu->exec(static_cast<QContextMenuEvent*>(e)->globalPos());
        delete menu;
        return true;
      }
      break;
    case QEvent::MouseButtonRelease:
      // The selection paste of the middle button, filtered too.
      if (auto* ed = qobject_cast<QLineEdit*>(obj); ed && filter_.gefiltert && filter_.gefiltert(o) &&
                                                     static_cast<QMouseEvent*>(e)->button() == Qt::MiddleButton) {
        if (QApplication::clipboard()->supportsSelection())
          einfuegen(o, QApplication::clipboard()->text(QClipboard::Selection));
        return true;
      }
      break;
    default:
      break;
  }
  return false;
}

}  // namespace mosaik
