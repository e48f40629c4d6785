#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "../ui/test_kommentar_basis.h"
#include "FensterTestbasis.h"

namespace mosaik::test {
namespace {

struct Editoren : Fensterprobe {
  void SetUp() override {
    Fensterprobe::SetUp();
    p->st.BilderOrdnerPfad = bilder.pfad();
  }
  // Runs schritt once the modal dialog's loop runs, then a second step
  // after everything the show queued.
  void imDialog(std::function<void()> schritt) {
    QTimer::singleShot(0, [schritt] { QTimer::singleShot(0, schritt); });
  }
};

TEST(Positionen, ModellZaehltZeichenMitCRLF) {
  const QString t = QStringLiteral("a\nb") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("c");
  for (auto [qt, modell] : {std::pair{1, 1}, {2, 3}, {3, 4}, {5, 5}, {6, 6}}) EXPECT_EQ(modellPosition(t, qt), modell) << qt;
  for (auto [modell, qt] : {std::pair{3, 2}, {5, 5}, {6, 6}, {99, 6}}) EXPECT_EQ(qtPosition(t, modell), qt) << modell;
}

TEST_F(Editoren, BeschreibungsdialogFuegtEinUndGibtDieVorlageZurueck) {
  schreiben(bilder.pfad() + "hafen.jpg", jpegBytes(640, 480, 20, 60, 120, "Abend am Hafen"));
  p->m.setText(Opt::MBeschreibung, "abc");
  EXIFDialog& d = f->exif;
  for (const auto& e : TEXIFForm::Etiketten())
    EXPECT_NE(d.findChild<KlickLabel*>(QString::fromUtf8(e.name.data(), static_cast<qsizetype>(e.name.size()))),
              nullptr);
  bool gelaufen = false;
  imDialog([&] {
    gelaufen = true;
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.MBeschreibung->toPlainText(), QStringLiteral("abc"));
    EXPECT_EQ(d.pos().y(), f->haupt.pos().y() + 20);
    // Caret after "a", then the label of \dn.
    QTextCursor c = d.MBeschreibung->textCursor();
    c.setPosition(1);
    d.MBeschreibung->setTextCursor(c);
    klicken(d.findChild<KlickLabel*>(QStringLiteral("Label5")));
    EXPECT_EQ(d.MBeschreibung->toPlainText(), QStringLiteral("a\\dnbc"));
    EXPECT_EQ(d.MBeschreibung->textCursor().position(), 4);
    // A selection wrapped in brackets.
    c = d.MBeschreibung->textCursor();
    c.setPosition(4);
    c.setPosition(6, QTextCursor::KeepAnchor);
    d.MBeschreibung->setTextCursor(c);
    klicken(d.findChild<KlickLabel*>(QStringLiteral("LabelEckigeKlammer")));
    EXPECT_EQ(d.MBeschreibung->toPlainText(), QStringLiteral("a\\dn\\[bc\\]"));
    EXPECT_EQ(d.MBeschreibung->textCursor().selectedText(), QStringLiteral("\\[bc\\]"));
    // Enter gives the break code.
    c.setPosition(4);
    d.MBeschreibung->setTextCursor(c);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(d.MBeschreibung, &enter);
    EXPECT_EQ(d.MBeschreibung->toPlainText(), QStringLiteral("a\\dn\\zu\\[bc\\]"));
    // Typed focal lengths reach the setting at once.
    d.RSpEdRealBW->setText(QStringLiteral("7,5"));
    EXPECT_EQ(p->st.BWreal, 7.5);
    EXPECT_TRUE(d.Vorschau->text().contains(QStringLiteral(">ahafen<br>bc<")));
    d.BSchliessen->click();
  });
  static_cast<QPushButton*>(f->binder.widget(Opt::BExifDaten))->click();
  EXPECT_TRUE(gelaufen);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(p->m.text(Opt::MBeschreibung), "a\\dn\\zu\\[bc\\]");
}

TEST_F(Editoren, KnoepfeUndDoppelklickOeffnenDieEditoren) {
  std::vector<std::string> geoeffnet;
  p->EXIFForm.modalAnzeigen = [&] {
    geoeffnet.push_back(p->EXIFForm.BeschreibungUebersicht ? "uebersicht" : "gross");
  };
  p->KommentarForm.modalAnzeigen = [&] { geoeffnet.push_back("kommentare"); };
  static_cast<QPushButton*>(f->binder.widget(Opt::BGrossExifDaten))->click();
  static_cast<QPushButton*>(f->binder.widget(Opt::BitBJPGKommentare))->click();
  auto* memo = static_cast<QPlainTextEdit*>(f->binder.widget(Opt::MBeschreibungGross));
  QMouseEvent doppel(QEvent::MouseButtonDblClick, QPointF(5, 5), memo->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(memo->viewport(), &doppel);
  QApplication::processEvents();
  f->exif.BitBKommentare->click();
  EXPECT_EQ(geoeffnet, (std::vector<std::string>{"gross", "kommentare", "gross", "kommentare"}));
}

TEST_F(Editoren, KommentardialogZeigtBildUndSchreibtDenKommentar) {
  schreiben(bilder.pfad() + "1-hafen.jpg", jpegBytes(640, 480, 20, 60, 120, "Abend am Hafen"));
  schreiben(bilder.pfad() + "2-turm.jpg", jpegBytes(300, 600, 160, 120, 60));
  KommentarDialog& d = f->kommentar;
  bool gelaufen = false;
  imDialog([&] {
    gelaufen = true;
    EXPECT_EQ(d.LBildNr->text(), QStringLiteral("1/2"));
    EXPECT_EQ(d.LDateiname->text(), QStringLiteral("1-hafen.jpg"));
    EXPECT_EQ(d.MKommentar->toPlainText(), QStringLiteral("Abend am Hafen"));
    EXPECT_TRUE(d.Bild->isVisible());
    EXPECT_FALSE(d.LHinterbild->isVisible());
    // The picture as the model drew it: 220 x 165, centred.
    const QImage bild = d.Bild->grab().toImage();
    EXPECT_EQ(bild.pixel(110, 20) & 0xFFFFFFu, p->KommentarForm.Flaeche);
    const QColor mitte = bild.pixelColor(110, 110);
    EXPECT_NEAR(mitte.blue(), 120, 6);
    d.MKommentar->setPlainText(QStringLiteral("Abend am Hafen\nmit Möwen"));
    d.BitBWeiter->click();
    EXPECT_EQ(d.LBildNr->text(), QStringLiteral("2/2"));
    d.BSchliessen->click();
  });
  p->KommentarForm.Zeigen();
  EXPECT_TRUE(gelaufen);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(kommentarVon(bilder.pfad() + "1-hafen.jpg"), "Abend am Hafen\r\nmit M\xC3\xB6wen");
}

TEST_F(Editoren, KommentardialogOhneBilder) {
  const std::string lang = bilder.pfad() + "Reisen/2023/Urlaub am Meer/Tag 12 mit einem recht langen Namen/Abend/";
  p->st.BilderOrdnerPfad = lang;
  bool gelaufen = false;
  imDialog([&] {
    gelaufen = true;
    // A long folder shortened to the field, the whole one as tool tip.
    const QLineEdit* ed = f->kommentar.EdBilderPfad;
    EXPECT_EQ(ed->toolTip().toStdString(), lang);
    EXPECT_TRUE(ed->text().contains(QStringLiteral("...")));
    EXPECT_TRUE(ed->text().endsWith(QStringLiteral("Abend/")));
    EXPECT_LE(ed->fontMetrics().horizontalAdvance(ed->text()), ed->width());
    EXPECT_FALSE(f->kommentar.Bild->isVisible());
    EXPECT_TRUE(f->kommentar.LHinterbild->isVisible());
    f->kommentar.BSchliessen->click();
  });
  p->KommentarForm.Zeigen();
  EXPECT_TRUE(gelaufen);
}

}  // namespace
}  // namespace mosaik::test
