#include "qt/EXIFDialog.h"

#include <algorithm>

#include <QAbstractTextDocumentLayout>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QVBoxLayout>

#include "qt/OptionBinder.h"

namespace mosaik {
namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

bool paar(const QString& s, qsizetype i) {
  return s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate();
}

QLabel* ueberschrift(const QString& text, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  QFont f = l->font();
  f.setBold(true);
  l->setFont(f);
  return l;
}

// The lines the memo shows, wrapped lines included.
int sichtbareZeilen(const QPlainTextEdit* me) {
  int n = 0;
  for (QTextBlock b = me->document()->begin(); b.isValid(); b = b.next())
    n += b.layout() && b.layout()->lineCount() > 0 ? b.layout()->lineCount() : 1;
  return n;
}

class Doppelklick : public QObject {
 public:
  Doppelklick(QObject* parent, std::function<void()> aktion) : QObject(parent), aktion_(std::move(aktion)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::MouseButtonDblClick) return false;
    // The dialog opens once the click has been dealt with.
    QTimer::singleShot(0, this, [this] { aktion_(); });
    return true;
  }

 private:
  std::function<void()> aktion_;
};

}  // namespace

int modellPosition(const QString& memo, int qtPos) {
  int m = 0;
  for (qsizetype i = 0; i < memo.size() && i < qtPos; ++i) {
    if (memo.at(i) == QLatin1Char('\n'))
      m += 2;
    else {
      if (paar(memo, i)) ++i;
      ++m;
    }
  }
  return m;
}

int qtPosition(const QString& memo, int modellPos) {
  int m = 0;
  qsizetype i = 0;
  while (i < memo.size() && m < modellPos) {
    if (memo.at(i) == QLatin1Char('\n')) {
      m += 2;
    } else {
      if (paar(memo, i)) ++i;
      ++m;
    }
    ++i;
  }
  return static_cast<int>(i);
}

void doppelklickAnbinden(QWidget* memo, std::function<void()> aktion) {
  auto* flaeche = qobject_cast<QAbstractScrollArea*>(memo);
  QWidget* ziel = flaeche ? flaeche->viewport() : memo;
  ziel->installEventFilter(new Doppelklick(ziel, std::move(aktion)));
}

KlickLabel::KlickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setTextFormat(Qt::PlainText);
  setCursor(Qt::PointingHandCursor);
}

void KlickLabel::mouseReleaseEvent(QMouseEvent* e) {
  QLabel::mouseReleaseEvent(e);
  if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit geklickt();
}

EXIFDialog::EXIFDialog(TEXIFForm& form, QWidget* haupt, char dezimaltrenner)
    : QDialog(nullptr), form_(form), haupt_(haupt) {
  setObjectName(QStringLiteral("EXIFForm"));
  setWindowTitle(QStringLiteral("Bildbeschreibungen"));
  setModal(true);
  // Never smaller than its content at the width it opens with (see
  // mindestgroesseSetzen): the wrapped labels would run into the memo.
  auto* v = new QVBoxLayout(this);
  v->addWidget(ueberschrift(QStringLiteral("Bildbeschreibungen - Verwenden Sie die folgenden Platzhalter:"), this));

  // The reference card: one column per group; a code's second label stands
  // beside it, a bracket's explanation below it.
  const QFont fest = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  QVBoxLayout* spalte[3];
  auto* spalten = new QHBoxLayout;
  for (int g = 0; g < 3; ++g) {
    spalte[g] = new QVBoxLayout;
    spalte[g]->setSpacing(2);
    spalten->addLayout(spalte[g], 1);
  }
  spalte[0]->addWidget(ueberschrift(QStringLiteral("Datei-Daten"), this));
  spalte[1]->addWidget(ueberschrift(QStringLiteral("EXIF-Daten"), this));
  auto* nurExif = new QLabel(QStringLiteral("(Anzeige nur, wenn EXIF-Informationen vorhanden sind)"), this);
  nurExif->setWordWrap(true);
  spalte[1]->addWidget(nurExif);
  spalte[2]->addWidget(ueberschrift(QStringLiteral("Sonstiges"), this));
  QHBoxLayout* letzteZeile = nullptr;
  for (const TEXIFForm::Etikett& e : TEXIFForm::Etiketten()) {
    auto* l = new KlickLabel(qs(e.text), this);
    l->setObjectName(qs(e.name));
    if (e.text.starts_with('\\')) l->setFont(fest);
    const std::string name(e.name);
    connect(l, &KlickLabel::geklickt, this, [this, name] {
      auswahlNachModell();
      form_.EtikettKlick(name);
      MBeschreibung->setFocus(Qt::OtherFocusReason);
    });
    QVBoxLayout* s = spalte[static_cast<int>(e.gruppe)];
    const bool daneben = e.name == "Label28" || e.name == "Label32";
    const bool darunter = e.name == "Label34" || e.name == "Label35";
    if (daneben && letzteZeile) {
      // In the code's column, where the other labels' texts begin: two
      // blanks of the fixed font after the code.
      auto* code = static_cast<QLabel*>(letzteZeile->itemAt(0)->widget());
      code->setFixedWidth(QFontMetrics(fest).horizontalAdvance(code->text() + QStringLiteral("  ")));
      letzteZeile->setSpacing(0);
      l->setFont(fest);
      letzteZeile->insertWidget(letzteZeile->count() - 1, l);
    } else if (darunter) {
      l->setWordWrap(true);
      l->setContentsMargins(24, 0, 0, 4);
      s->addWidget(l);
    } else {
      letzteZeile = new QHBoxLayout;
      letzteZeile->setSpacing(6);
      letzteZeile->addWidget(l);
      letzteZeile->addStretch(1);
      s->addLayout(letzteZeile);
    }
  }

  auto* bw = new QGroupBox(QStringLiteral("BW-Umrechnung"), this);
  bw->setObjectName(QStringLiteral("GrBBWUmrechnung"));
  auto* bwl = new QFormLayout(bw);
  RSpEdRealBW = new RealSpinEdit(dezimaltrenner, bw);
  RSpEdRealBW->setObjectName(QStringLiteral("RSpEdRealBW"));
  RSpEdAequivalenteBW = new RealSpinEdit(dezimaltrenner, bw);
  RSpEdAequivalenteBW->setObjectName(QStringLiteral("RSpEdAequivalenteBW"));
  for (const auto& paar : {std::pair{RSpEdRealBW, &form_.RSpEdRealBW}, std::pair{RSpEdAequivalenteBW, &form_.RSpEdAequivalenteBW}}) {
    auto* w = paar.first;
    auto* kern = paar.second;
    w->setBounds(kern->MinValue, kern->MaxValue);
    w->setIncrement(kern->Increment);
    w->setText(QString::fromStdString(kern->Text()));
    w->setMaximumWidth(110);
    connect(w, &QLineEdit::textChanged, this, [this, kern](const QString& t) {
      if (!spiegeln_) kern->setText(t.toStdString());
      vorschauZeigen();
    });
  }
  bwl->addRow(QStringLiteral("real (in mm)"), RSpEdRealBW);
  bwl->addRow(QStringLiteral("entspricht (in mm)"), RSpEdAequivalenteBW);
  // Beside the focal-length codes it converts.
  bw->setMinimumHeight(bw->sizeHint().height());
  spalte[1]->addSpacing(8);
  spalte[1]->addWidget(bw, 0, Qt::AlignLeft);
  for (auto* s : spalte) s->addStretch(1);
  v->addLayout(spalten);

  MBeschreibung = new QPlainTextEdit(this);
  MBeschreibung->setObjectName(QStringLiteral("MBeschreibung"));
  MBeschreibung->setTabChangesFocus(true);
  MBeschreibung->setFixedHeight(QFontMetrics(MBeschreibung->font()).lineSpacing() * 2 + 14);
  MBeschreibung->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  MBeschreibung->installEventFilter(this);
  connect(MBeschreibung, &QPlainTextEdit::textChanged, this, [this] {
    if (!spiegeln_) memoGeaendert();
  });
  connect(MBeschreibung, &QPlainTextEdit::cursorPositionChanged, this, [this] {
    if (!spiegeln_) auswahlNachModell();
  });
  connect(MBeschreibung, &QPlainTextEdit::selectionChanged, this, [this] {
    if (!spiegeln_) auswahlNachModell();
  });
  v->addWidget(MBeschreibung);

  LVorschau = klartextLabel(this);
  LVorschau->setObjectName(QStringLiteral("LVorschau"));
  v->addWidget(LVorschau);
  Vorschau = new QLabel(this);
  Vorschau->setObjectName(QStringLiteral("Vorschau"));
  Vorschau->setTextFormat(Qt::RichText);
  Vorschau->setWordWrap(true);
  Vorschau->setFrameShape(QFrame::StyledPanel);
  Vorschau->setMinimumHeight(QFontMetrics(Vorschau->font()).lineSpacing() * 3 + 8);
  Vorschau->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Vorschau->setAutoFillBackground(true);
  Vorschau->setBackgroundRole(QPalette::Base);
  v->addWidget(Vorschau);

  auto* knoepfe = new QHBoxLayout;
  BitBKommentare = new QPushButton(QStringLiteral("Bilder jetzt kommentieren..."), this);
  BitBKommentare->setObjectName(QStringLiteral("BitBKommentare"));
  BStandard = new QPushButton(QStringLiteral("Stan&dard"), this);
  BStandard->setObjectName(QStringLiteral("BStandard"));
  BRueckgaengig = new QPushButton(QStringLiteral("Rückgängig"), this);
  BRueckgaengig->setObjectName(QStringLiteral("BRueckgaengig"));
  BSchliessen = new QPushButton(QStringLiteral("&Schließen"), this);
  BSchliessen->setObjectName(QStringLiteral("BSchliessen"));
  BSchliessen->setDefault(true);
  knoepfe->addWidget(BitBKommentare);
  knoepfe->addStretch(1);
  knoepfe->addWidget(BStandard);
  knoepfe->addWidget(BRueckgaengig);
  knoepfe->addWidget(BSchliessen);
  v->addLayout(knoepfe);
  for (QPushButton* b : {BitBKommentare, BStandard, BRueckgaengig, BSchliessen}) b->setAutoDefault(false);
  BSchliessen->setAutoDefault(true);

  connect(BSchliessen, &QPushButton::clicked, this, [this] { form_.BSchliessenClick(); });
  connect(BStandard, &QPushButton::clicked, this, [this] { form_.BStandardClick(); });
  connect(BRueckgaengig, &QPushButton::clicked, this, [this] { form_.BRueckgaengigClick(); });
  connect(BitBKommentare, &QPushButton::clicked, this, [this] {
    form_.MBeschreibungExit();
    form_.BitBKommentareClick();
    vorschauZeigen();
  });

  form_.geaendert = [this] { aktualisieren(); };
  form_.schliessen = [this] { accept(); };
  form_.modalAnzeigen = [this] {
    aktualisieren();
    const QScreen* s = haupt_ && haupt_->screen() ? haupt_->screen() : screen();
    const QRect schirm = s ? s->geometry() : QRect(0, 0, 1280, 800);
    mindestgroesseSetzen(s ? s->availableGeometry().width() : schirm.width());
    const QPoint oben = haupt_ ? haupt_->pos() : QPoint(0, 0);
    const auto [links, hoch] = EXIFFensterposition(oben.x(), oben.y(), frameGeometry().width(), schirm.x() + schirm.width());
    move(links, hoch);
    MBeschreibung->setFocus(Qt::OtherFocusReason);
    exec();
  };
  aktualisieren();
}

void EXIFDialog::mindestgroesseSetzen(int verfuegbareBreite) {
  // From the layout itself, in the screen's own units: adjustSize() cuts a
  // window to two thirds of the screen, and on a small screen (or a large
  // one at 200 %) that minimum let the focal-length group slide under the
  // memo. The wrapped labels take their height at the width the dialog
  // opens with, its comfortable width where the screen has room for it.
  QLayout* l = layout();
  setMinimumSize(0, 0);
  l->invalidate();
  l->activate();
  const QSize kleinst = l->totalMinimumSize();
  // Before the window system has framed the window its frame is unknown.
  const int rahmen = std::max(16, frameGeometry().width() - width());
  const int breite = std::max(kleinst.width(), std::min(l->totalSizeHint().width(), verfuegbareBreite - rahmen));
  const int hoehe =
      l->hasHeightForWidth() ? std::max(kleinst.height(), l->totalMinimumHeightForWidth(breite)) : kleinst.height();
  setMinimumSize(breite, hoehe);
  resize(minimumSize());
}

void EXIFDialog::auswahlNachModell() {
  const QTextCursor c = MBeschreibung->textCursor();
  const QString t = MBeschreibung->toPlainText();
  const int a = modellPosition(t, c.selectionStart());
  form_.SelStart = a;
  form_.SelLength = modellPosition(t, c.selectionEnd()) - a;
}

void EXIFDialog::memoGeaendert() {
  form_.MBeschreibung = memoAusQt(MBeschreibung->toPlainText());
  auswahlNachModell();
  form_.MBeschreibungChange(sichtbareZeilen(MBeschreibung));
  MBeschreibung->setVerticalScrollBarPolicy(form_.ScrollBalken ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  vorschauZeigen();
}

void EXIFDialog::vorschauZeigen() {
  if (form_.Vorschaubild().empty()) {
    LVorschau->setText(QStringLiteral("Vorschau: kein lesbares JPG-Bild im Bilderordner"));
    Vorschau->clear();
    return;
  }
  LVorschau->setText(QStringLiteral("Vorschau für %1:").arg(QString::fromStdString(form_.Vorschaubild())));
  // The page's small print, roughly as the style sheet shows it.
  Vorschau->setText(QStringLiteral("<style>.kl { font-size: small; }</style>") +
                    QString::fromStdString(form_.Vorschau()));
}

void EXIFDialog::aktualisieren() {
  spiegeln_ = true;
  const QString text = memoNachQt(form_.MBeschreibung);
  if (MBeschreibung->toPlainText() != text) MBeschreibung->setPlainText(text);
  QTextCursor c = MBeschreibung->textCursor();
  const int a = qtPosition(text, form_.SelStart);
  const int e = qtPosition(text, form_.SelStart + form_.SelLength);
  if (c.selectionStart() != a || c.selectionEnd() != e) {
    c.setPosition(a);
    c.setPosition(e, QTextCursor::KeepAnchor);
    MBeschreibung->setTextCursor(c);
  }
  form_.MBeschreibungChange(sichtbareZeilen(MBeschreibung));
  MBeschreibung->setVerticalScrollBarPolicy(form_.ScrollBalken ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  for (auto [w, kern] : {std::pair{RSpEdRealBW, &form_.RSpEdRealBW}, std::pair{RSpEdAequivalenteBW, &form_.RSpEdAequivalenteBW}}) {
    const QString t = QString::fromStdString(kern->Text());
    if (w->text() != t) w->setText(t);
  }
  spiegeln_ = false;
  vorschauZeigen();
}

bool EXIFDialog::eventFilter(QObject* obj, QEvent* e) {
  if (obj == MBeschreibung) {
    if (e->type() == QEvent::KeyPress) {
      const auto* ke = static_cast<QKeyEvent*>(e);
      if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
        auswahlNachModell();
        if (!form_.MBeschreibungKeyPress(U'\r')) return true;
      }
    } else if (e->type() == QEvent::FocusOut) {
      const Qt::FocusReason r = static_cast<QFocusEvent*>(e)->reason();
      if (r != Qt::PopupFocusReason) form_.MBeschreibungExit();
    }
  }
  return QDialog::eventFilter(obj, e);
}

}  // namespace mosaik
