#include "qt/FarbDialog.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace mosaik {
namespace {

QString stil(uint32_t rgb) {
  return QStringLiteral("background-color: #%1; border: 1px solid #808080;").arg(rgb, 6, 16, QLatin1Char('0'));
}

bool linksKlick(QEvent* e) {
  return e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton;
}

class LabelKlick : public QObject {
 public:
  LabelKlick(QLabel* label, QWidget* panel) : QObject(label), panel_(panel) { label->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (linksKlick(e) && panel_->isEnabled() && !panel_->isHidden())
      if (auto* b = qobject_cast<QAbstractButton*>(panel_)) b->click();
    return false;
  }

 private:
  QWidget* panel_;
};

}  // namespace

void klickOeffnetFarbe(QLabel* label, QWidget* panel) { new LabelKlick(label, panel); }

FarbDialog::FarbDialog(TfarbForm& form, QWidget* parent) : QDialog(parent), form_(form) {
  setObjectName(QStringLiteral("farbForm"));
  setWindowTitle(QStringLiteral("Farbangaben"));
  setModal(true);

  Label5 = new QLabel(QStringLiteral("wählen"), this);
  Label5->setObjectName(QStringLiteral("Label5"));
  Label5->setAlignment(Qt::AlignHCenter);
  farbquadrat = new QFrame(this);
  farbquadrat->setObjectName(QStringLiteral("farbquadrat"));
  farbquadrat->setFixedSize(41, 41);
  farbquadrat->setCursor(Qt::PointingHandCursor);
  for (QWidget* w : {static_cast<QWidget*>(Label5), static_cast<QWidget*>(farbquadrat)}) w->installEventFilter(this);

  auto spin = [this](const char* name) {
    auto* s = new QSpinBox(this);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(0, 255);
    return s;
  };
  SpEdRot = spin("SpEdRot");
  SpEdGruen = spin("SpEdGruen");
  SpEdBlau = spin("SpEdBlau");
  Label4 = new QLabel(QStringLiteral("HTML-Farbcode"), this);
  Label4->setObjectName(QStringLiteral("Label4"));
  EdHTMLCode = new QLineEdit(this);
  EdHTMLCode->setObjectName(QStringLiteral("EdHTMLCode"));
  EdHTMLCode->setAcceptDrops(false);
  EdHTMLCode->installEventFilter(this);
  Label4->setBuddy(EdHTMLCode);
  Bschliessen = new QPushButton(QStringLiteral("&OK"), this);
  Bschliessen->setObjectName(QStringLiteral("Bschliessen"));
  Bschliessen->setDefault(true);
  BAbbruch = new QPushButton(QStringLiteral("&Abbrechen"), this);
  BAbbruch->setObjectName(QStringLiteral("BAbbruch"));

  auto* oben = new QHBoxLayout;
  auto* quadrat = new QVBoxLayout;
  quadrat->addWidget(Label5);
  quadrat->addWidget(farbquadrat, 0, Qt::AlignHCenter);
  quadrat->addStretch(1);
  oben->addLayout(quadrat);
  auto* werte = new QGridLayout;
  int zeile = 0;
  for (auto [s, text] : {std::pair{SpEdRot, "&rot"}, {SpEdGruen, "&grün"}, {SpEdBlau, "&blau"}}) {
    auto* l = new QLabel(QString::fromUtf8(text), this);
    l->setBuddy(s);
    werte->addWidget(l, zeile, 0);
    werte->addWidget(s, zeile, 1);
    ++zeile;
  }
  oben->addLayout(werte, 1);
  auto* v = new QVBoxLayout(this);
  v->addLayout(oben);
  v->addWidget(Label4);
  v->addWidget(EdHTMLCode);
  auto* knoepfe = new QHBoxLayout;
  knoepfe->addWidget(Bschliessen);
  knoepfe->addWidget(BAbbruch);
  v->addLayout(knoepfe);
  setFixedSize(sizeHint().expandedTo(QSize(164, 163)));

  const std::pair<QSpinBox*, TfarbForm::Kanal> kanaele[] = {
      {SpEdRot, TfarbForm::Rot}, {SpEdGruen, TfarbForm::Gruen}, {SpEdBlau, TfarbForm::Blau}};
  for (auto [s, k] : kanaele)
    connect(s, &QSpinBox::valueChanged, this, [this, k = k](int wert) { form_.setSpin(k, wert); });
  connect(EdHTMLCode, &QLineEdit::textEdited, this, [this](const QString& t) {
    form_.eingabe(t.toStdString(), EdHTMLCode->cursorPosition(), 0);
  });
  connect(Bschliessen, &QPushButton::clicked, this, [this] { form_.BschliessenClick(); });
  connect(BAbbruch, &QPushButton::clicked, this, [this] { form_.BAbbruchClick(); });

  form_.geaendert = [this] { aktualisieren(); };
  form_.modal = [this] { exec(); };
  // Closed by a button: the model knows the result; Escape and the close
  // box end the loop as cancelled.
  form_.schliessen = [this] { done(form_.ModalResult == TfarbForm::Ergebnis::OK ? Accepted : Rejected); };
  aktualisieren();
}

void FarbDialog::aktualisieren() {
  farbquadrat->setStyleSheet(stil(form_.farbquadrat()));
  const std::pair<QSpinBox*, TfarbForm::Kanal> kanaele[] = {
      {SpEdRot, TfarbForm::Rot}, {SpEdGruen, TfarbForm::Gruen}, {SpEdBlau, TfarbForm::Blau}};
  for (auto [s, k] : kanaele) {
    const QSignalBlocker block(s);
    if (s->value() != form_.spin(k)) s->setValue(form_.spin(k));
  }
  const QString code = QString::fromStdString(form_.EdHTMLCode());
  if (EdHTMLCode->text() != code) {
    const QSignalBlocker block(EdHTMLCode);
    EdHTMLCode->setText(code);
    if (form_.SelLength() > 0)
      EdHTMLCode->setSelection(form_.SelStart(), form_.SelLength());
    else
      EdHTMLCode->setCursorPosition(form_.SelStart());
  }
}

void FarbDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  // Centred on the desktop.
  if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

// Clipboard shortcuts pass the filter once and then do their work
// unfiltered; typed characters go through the model's filter.
bool FarbDialog::codeTaste(QKeyEvent* ke) {
  const bool strg = ke->modifiers() & Qt::ControlModifier;
  form_.EdHTMLCodeKeyDown(ke->key() >= Qt::Key_A && ke->key() <= Qt::Key_Z ? ke->key() : 0, strg);
  const int start = EdHTMLCode->hasSelectedText() ? EdHTMLCode->selectionStart() : EdHTMLCode->cursorPosition();
  form_.setAuswahl(start, static_cast<int>(EdHTMLCode->selectedText().size()));
  const bool einfuegen = ke->matches(QKeySequence::Paste);
  if (einfuegen || ke->matches(QKeySequence::Copy) || ke->matches(QKeySequence::Cut)) {
    const char32_t steuer = einfuegen ? 22 : ke->matches(QKeySequence::Copy) ? 3 : 24;
    return form_.EdHTMLCodeKeyPress(steuer) == 0;
  }
  if (ke->key() == Qt::Key_Backspace) return form_.EdHTMLCodeKeyPress(8) == 0;
  const QString t = ke->text();
  if (t.isEmpty() || t.at(0).unicode() < 32 || t.at(0).unicode() == 127) return false;
  if (strg && !(ke->modifiers() & Qt::AltModifier)) return false;
  for (char32_t c : t.toUcs4())
    if (form_.EdHTMLCodeKeyPress(c) == 0) return true;
  return false;
}

bool FarbDialog::eventFilter(QObject* obj, QEvent* e) {
  if ((obj == farbquadrat || obj == Label5) && linksKlick(e)) {
    form_.farbquadratClick();
    return true;
  }
  if (obj == EdHTMLCode) {
    if (e->type() == QEvent::KeyPress) return codeTaste(static_cast<QKeyEvent*>(e));
    if (e->type() == QEvent::FocusOut) {
      // Leaving the edit for another control; not the dialog closing.
      const Qt::FocusReason r = static_cast<QFocusEvent*>(e)->reason();
      if (r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason) form_.EdHTMLCodeExit();
    }
  }
  return QDialog::eventFilter(obj, e);
}

}  // namespace mosaik
