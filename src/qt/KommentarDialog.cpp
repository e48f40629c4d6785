#include "qt/KommentarDialog.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTextDocument>
#include <QSignalBlocker>
#include <QTimer>

#include "ui/Auswahl.h"
#include "qt/OptionBinder.h"

namespace mosaik {
namespace {

QPushButton* knopf(const QString& text, const char* name, const QString& hinweis, int x, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setToolTip(hinweis);
  b->setGeometry(x, 270, 75, 25);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

Bildfenster::Bildfenster(TKommentarForm& form, QWidget* parent) : QWidget(parent), form_(form) {
  setObjectName(QStringLiteral("Bildfenster"));
  setFixedSize(TKommentarForm::kSeite, TKommentarForm::kSeite);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void Bildfenster::paintEvent(QPaintEvent*) {
  const imaging::Bitmap& b = form_.Bildfenster;
  QPainter p(this);
  QImage bild(b.width, b.height, QImage::Format_RGB32);
  for (int y = 0; y < b.height; ++y) {
    const uint8_t* s = b.row(y);
    auto* z = reinterpret_cast<QRgb*>(bild.scanLine(y));
    for (int x = 0; x < b.width; ++x) z[x] = qRgb(s[x * 3 + 2], s[x * 3 + 1], s[x * 3]);
  }
  p.drawImage(0, 0, bild);
}

KommentarDialog::KommentarDialog(TKommentarForm& form) : QDialog(nullptr), form_(form) {
  setObjectName(QStringLiteral("KommentarForm"));
  setWindowTitle(QString::fromStdString(form_.Caption));
  setModal(true);
  setFixedSize(616, 304);

  auto* label1 = new QLabel(QStringLiteral("Pfad"), this);
  label1->setObjectName(QStringLiteral("Label1"));
  label1->setGeometry(12, 10, 80, 17);
  EdBilderPfad = new QLineEdit(this);
  EdBilderPfad->setObjectName(QStringLiteral("EdBilderPfad"));
  EdBilderPfad->setGeometry(102, 6, 469, 21);
  EdBilderPfad->setReadOnly(true);
  // Display only: the focus goes on to the folder button.
  EdBilderPfad->setFocusPolicy(Qt::NoFocus);
  EdBilderPfad->setBackgroundRole(QPalette::Button);
  QPalette pal = EdBilderPfad->palette();
  pal.setColor(QPalette::Base, pal.color(QPalette::Button));
  EdBilderPfad->setPalette(pal);
  BitBBilderPfadWahl = new QPushButton(QStringLiteral("..."), this);
  BitBBilderPfadWahl->setObjectName(QStringLiteral("BitBBilderPfadWahl"));
  BitBBilderPfadWahl->setGeometry(582, 6, 25, 21);
  BitBBilderPfadWahl->setAutoDefault(false);

  LBildNr = klartextLabel(this);
  LBildNr->setObjectName(QStringLiteral("LBildNr"));
  LBildNr->setGeometry(12, 36, 200, 17);
  auto* label2 = new QLabel(QStringLiteral("Unterpfade bitte manuell auswählen!"), this);
  label2->setObjectName(QStringLiteral("Label2"));
  label2->setGeometry(360, 36, 253, 17);
  label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  LHinterbild = klartextLabel(this);
  LHinterbild->setObjectName(QStringLiteral("LHinterbild"));
  LHinterbild->setGeometry(12, 130, 220, 30);
  LHinterbild->setAlignment(Qt::AlignCenter);
  Bild = new Bildfenster(form_, this);
  Bild->move(12, 60);

  MKommentar = new QPlainTextEdit(this);
  MKommentar->setObjectName(QStringLiteral("MKommentar"));
  MKommentar->setGeometry(246, 60, 367, 193);
  MKommentar->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  MKommentar->setTabChangesFocus(true);
  connect(MKommentar, &QPlainTextEdit::textChanged, this, [this] {
    if (!spiegeln_) form_.MKommentar = memoText();
  });

  LDateiname = klartextLabel(this);
  LDateiname->setObjectName(QStringLiteral("LDateiname"));
  LDateiname->setGeometry(12, 284, 228, 17);

  BitBzurueck = knopf(QStringLiteral("&Zurück"), "BitBzurueck",
                      QStringLiteral("Speichert den Kommentar und geht ein Bild zurück"), 246, this);
  BitBWeiter = knopf(QStringLiteral("&Weiter"), "BitBWeiter",
                     QStringLiteral("Speichert den Kommentar und geht ein Bild weiter"), 326, this);
  BitBWeiter->setDefault(true);
  BitBAbbruch = knopf(QStringLiteral("&Abbruch"), "BitBAbbruch", QStringLiteral("Kehrt zum alten Kommentar zurück"),
                      406, this);
  BSchliessen = knopf(QStringLiteral("&Schließen"), "BSchliessen", QStringLiteral("Schließt dieses Fenster"), 538, this);

  connect(BitBBilderPfadWahl, &QPushButton::clicked, this, [this] { form_.BitBBilderPfadWahlClick(); });
  connect(BitBzurueck, &QPushButton::clicked, this, [this] { form_.BitBzurueckClick(); });
  connect(BitBWeiter, &QPushButton::clicked, this, [this] { form_.BitBWeiterClick(); });
  connect(BitBAbbruch, &QPushButton::clicked, this, [this] { form_.BitBAbbruchClick(); });
  connect(BSchliessen, &QPushButton::clicked, this, [this] { form_.BSchliessenClick(); });

  form_.Flaeche = farbeAusQt(palette().color(QPalette::Button));
  form_.geaendert = [this] { aktualisieren(); };
  form_.schliessen = [this] { accept(); };
  form_.modalAnzeigen = [this] { exec(); };
  aktualisieren();
}

void KommentarDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (const QScreen* s = QGuiApplication::primaryScreen()) {
    const QRect r = s->availableGeometry();
    move(r.center() - QPoint(width() / 2, height() / 2));
  }
  // The folder is read once the window stands, so that it shows at once.
  QTimer::singleShot(0, this, [this] { form_.FormActivate(); });
}

void KommentarDialog::aktualisieren() {
  spiegeln_ = true;
  const QString voll = QString::fromStdString(form_.EdBilderPfad);
  // The folder shortened to the edit's width, its middle folders given up
  // first.
  const QFontMetrics fm = EdBilderPfad->fontMetrics();
  EdBilderPfad->setText(QString::fromStdString(
      pfadKuerzen(form_.EdBilderPfad, EdBilderPfad->width() - 10,
                  [&fm](const std::string& t) { return fm.horizontalAdvance(QString::fromStdString(t)); })));
  klartextHinweis(EdBilderPfad, voll);
  LBildNr->setText(QString::fromStdString(form_.LBildNr));
  // A long name keeps its end in view, so that names that differ only just
  // before the extension stay apart; the whole name is the tool tip.
  const QString name = QString::fromStdString(form_.LDateiname);
  LDateiname->setText(LDateiname->fontMetrics().elidedText(name, Qt::ElideMiddle, LDateiname->width()));
  klartextHinweis(LDateiname, LDateiname->text() == name ? QString() : name);
  LHinterbild->setText(QString::fromStdString(form_.LHinterbild));
  LHinterbild->setVisible(form_.LHinterbildVisible);
  Bild->setVisible(form_.BildfensterVisible);
  Bild->update();
  if (memoText() != form_.MKommentar) {
    MKommentar->setPlainText(memoNachQt(form_.MKommentar));
    gezeigt_ = form_.MKommentar;
    roh_ = MKommentar->document()->toRawText();
  }
  spiegeln_ = false;
}

// The memo shows a no-break space as a blank and U+2028 and U+2029 as line
// ends, and its plain text gives them back so. Its raw text keeps every
// character but a line end: what the user left as it was is taken from the
// text shown, only the stretch typed over from the memo, so that a comment
// is never changed by being shown or by an edit elsewhere in it.
std::string KommentarDialog::memoText() const {
  const QString roh = MKommentar->document()->toRawText();
  if (roh == roh_) return gezeigt_;
  const QString alt = memoNachQt(gezeigt_);
  // Typed (Return, Shift+Return), a line end is one.
  const auto zeilen = [](QString t) {
    return t.replace(QChar::ParagraphSeparator, QLatin1Char('\n')).replace(QChar::LineSeparator, QLatin1Char('\n'));
  };
  if (alt.size() != roh_.size()) return memoAusQt(zeilen(roh));
  qsizetype vorn = 0, hinten = 0;
  while (vorn < roh.size() && vorn < roh_.size() && roh[vorn] == roh_[vorn]) ++vorn;
  while (hinten < roh.size() - vorn && hinten < roh_.size() - vorn &&
         roh[roh.size() - 1 - hinten] == roh_[roh_.size() - 1 - hinten])
    ++hinten;
  return memoAusQt(alt.left(vorn) + zeilen(roh.mid(vorn, roh.size() - vorn - hinten)) + alt.right(hinten));
}

}  // namespace mosaik
