#include "ui/qt/OptionBinder.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

namespace mosaik {

QString memoNachQt(const std::string& s) {
  QString q = QString::fromStdString(s);
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
  return QStringLiteral("background-color: #%1; min-width: 3em;").arg(rgb, 6, 16, QLatin1Char('0'));
}
}  // namespace

OptionBinder::OptionBinder(OptionModel& m, QObject* parent) : QObject(parent), m_(m) {
  m_.addListener([this](Opt o) {
    if (widget(o)) aktualisieren(o);
  });
}

QWidget* OptionBinder::erzeugen(Opt o, QWidget* parent) {
  const OptInfo& inf = info(o);
  const QString caption = QString::fromUtf8(inf.caption.data(), static_cast<qsizetype>(inf.caption.size()));
  QWidget* w = nullptr;
  switch (inf.kind) {
    case Kind::CheckBox: {
      auto* cb = new QCheckBox(caption, parent);
      connect(cb, &QCheckBox::clicked, this, [this, o](bool on) { m_.setChecked(o, on); });
      w = cb;
      break;
    }
    case Kind::Radio: {
      auto* rb = new QRadioButton(caption, parent);
      // The model keeps a group exclusive; Qt's own grouping by parent would
      // mix groups that share a page.
      rb->setAutoExclusive(false);
      connect(rb, &QRadioButton::clicked, this, [this, o, rb](bool) {
        m_.setChecked(o, true);
        aktualisieren(o);
        (void)rb;
      });
      w = rb;
      break;
    }
    case Kind::Text:
    case Kind::Decimal: {
      auto* ed = new QLineEdit(parent);
      connect(ed, &QLineEdit::textEdited, this, [this, o](const QString& t) { m_.setText(o, t.toStdString()); });
      connect(ed, &QLineEdit::editingFinished, this, [this, o] { m_.run(o, Ev::Exit); });
      w = ed;
      break;
    }
    case Kind::Memo: {
      auto* me = new QPlainTextEdit(parent);
      connect(me, &QPlainTextEdit::textChanged, this,
              [this, o, me] { m_.setText(o, memoAusQt(me->toPlainText())); });
      w = me;
      break;
    }
    case Kind::Spin: {
      auto* sp = new QSpinBox(parent);
      sp->setRange(static_cast<int>(inf.min), static_cast<int>(inf.max));
      connect(sp, &QSpinBox::valueChanged, this, [this, o](int v) { m_.setSpin(o, v); });
      w = sp;
      break;
    }
    case Kind::ListIndex: {
      auto* co = new QComboBox(parent);
      connect(co, &QComboBox::currentIndexChanged, this, [this, o](int i) { m_.setIndex(o, i); });
      w = co;
      break;
    }
    case Kind::SizeText:
    case Kind::FontName: {
      auto* co = new QComboBox(parent);
      co->setEditable(true);
      connect(co, &QComboBox::currentTextChanged, this, [this, o](const QString& t) { m_.setText(o, t.toStdString()); });
      w = co;
      break;
    }
    case Kind::Colour: {
      auto* pb = new QPushButton(parent);
      connect(pb, &QPushButton::clicked, this, [this, o, pb] {
        const uint32_t c = m_.color(o);
        const QColor neu = QColorDialog::getColor(QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF), pb);
        if (neu.isValid())
          m_.setColor(o, (static_cast<uint32_t>(neu.red()) << 16) | (static_cast<uint32_t>(neu.green()) << 8) |
                             static_cast<uint32_t>(neu.blue()));
      });
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
    case Kind::Label: {
      auto* la = new QLabel(parent);
      la->setWordWrap(true);
      w = la;
      break;
    }
    case Kind::Group:
    case Kind::Tab:
      w = new QWidget(parent);
      break;
    case Kind::Button: {
      auto* pb = new QPushButton(caption, parent);
      connect(pb, &QPushButton::clicked, this, [this, o] {
        if (knopf_) knopf_(o);
      });
      w = pb;
      break;
    }
  }
  w->setObjectName(QString::fromUtf8(inf.name.data(), static_cast<qsizetype>(inf.name.size())));
  widgets_[static_cast<size_t>(o)] = w;
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
    case Kind::Radio:
      static_cast<QAbstractButton*>(w)->setChecked(m_.checked(o));
      break;
    case Kind::Text:
    case Kind::Decimal: {
      auto* ed = static_cast<QLineEdit*>(w);
      if (ed->text() != text) ed->setText(text);
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
    case Kind::Tab:
      break;
  }
  w->setEnabled(m_.enabled(o));
  // A control that is not hidden is shown together with its parent.
  w->setHidden(!m_.visible(o));
}

}  // namespace mosaik
