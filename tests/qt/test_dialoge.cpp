// The dialogs under an offscreen display: the picture description and
// comment editors, the navigation and colour dialogs, the folder displays
// and chooser, the progress dialog and the decimal spin edit.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QListView>
#include <QThread>
#include <QTranslator>
#include <QTreeView>
#include <QGuiApplication>
#include <QScreen>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>

#include "../ui/test_kommentar_basis.h"
#include "FensterTestbasis.h"
#include "qt/QtDialoge.h"
#include "qt/RealSpinEdit.h"
#include "qt/WartenDialog.h"
#include "winsupport/FolderDialog.h"

namespace mosaik::test {
namespace {

struct Editoren : Fensterprobe {
  void SetUp() override {
    Fensterprobe::SetUp();
    p->st.BilderOrdnerPfad = bilder.pfad();
  }
  // Runs schritt in the loop of the modal dialog that oeffnen shows, after
  // everything the show queued.
  void imDialog(const std::function<void()>& oeffnen, const std::function<void()>& schritt) {
    bool gelaufen = false;
    const auto lauf = [&] {
      gelaufen = true;
      schritt();
    };
    QTimer::singleShot(0, [&] { QTimer::singleShot(0, lauf); });
    oeffnen();
    EXPECT_TRUE(gelaufen);
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
  imDialog([&] { w<QPushButton>(Opt::BExifDaten)->click(); }, [&] {
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.MBeschreibung->toPlainText(), QStringLiteral("abc"));
    EXPECT_EQ(d.pos().y(), f->haupt.pos().y() + 20);
    // Shrunk as far as it goes, the focal-length group stays above the memo.
    d.resize(1, 1);
    QApplication::processEvents();
    auto* bw = d.findChild<QWidget*>(QStringLiteral("GrBBWUmrechnung"));
    EXPECT_LE(bw->mapTo(&d, QPoint(0, bw->height())).y(), d.MBeschreibung->mapTo(&d, QPoint()).y());
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
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(p->m.text(Opt::MBeschreibung), "a\\dn\\zu\\[bc\\]");
}

// The item by which a layout (or one nested in it) places w.
QLayoutItem* imLayout(QLayout* l, const QWidget* w) {
  for (int i = 0; l && i < l->count(); ++i) {
    QLayoutItem* e = l->itemAt(i);
    if (e->widget() == w) return e;
    if (QLayoutItem* innen = imLayout(e->layout(), w)) return innen;
  }
  return nullptr;
}

// Visible widgets that the window's layouts place (not the parts of a
// composite control) which lie over one another, neither inside the other,
// or are smaller than the minimum their layout grants them; as text for the
// message.
std::vector<std::string> schlechtGelegt(QWidget& fenster) {
  const auto gelegt = [&](const QWidget* w) {
    for (; w != &fenster; w = w->parentWidget())
      if (!imLayout(w->parentWidget()->layout(), w)) return false;
    return true;
  };
  std::vector<QWidget*> sichtbar;
  for (QWidget* w : fenster.findChildren<QWidget*>())
    if (!w->isWindow() && w->isVisibleTo(&fenster) && gelegt(w)) sichtbar.push_back(w);
  const auto name = [](const QWidget* w) {
    const auto* l = qobject_cast<const QLabel*>(w);
    return (w->objectName().isEmpty() ? QString::fromUtf8(w->metaObject()->className()) : w->objectName()).toStdString() +
           (l ? " \"" + l->text().left(20).toStdString() + "\"" : std::string());
  };
  const auto flaeche = [&](const QWidget* w) { return QRect(w->mapTo(&fenster, QPoint()), w->size()); };
  std::vector<std::string> fehler;
  for (size_t i = 0; i < sichtbar.size(); ++i) {
    QWidget* a = sichtbar[i];
    QLayoutItem* e = imLayout(a->parentWidget()->layout(), a);
    const int hoehe = e->hasHeightForWidth() ? e->heightForWidth(a->width()) : e->minimumSize().height();
    if (a->width() < e->minimumSize().width() || a->height() < hoehe)
      fehler.push_back(name(a) + " kleiner als sein Minimum");
    for (size_t j = i + 1; j < sichtbar.size(); ++j) {
      QWidget* b = sichtbar[j];
      if (a->isAncestorOf(b) || b->isAncestorOf(a)) continue;
      if (flaeche(a).intersects(flaeche(b))) fehler.push_back(name(a) + " liegt über " + name(b));
    }
  }
  return fehler;
}

// At the size it opens with and shrunk as far as it goes, at the display's
// scale (the test runs at 1 and, on a 1600 x 1200 screen, at 2).
TEST_F(Editoren, BeschreibungsdialogUeberdecktNichtsBeiJederSkalierung) {
  const int skala = qRound(QGuiApplication::primaryScreen()->devicePixelRatio());
  const QString ziel = bildschirmOrdner();
  EXIFDialog& d = f->exif;
  for (bool uebersicht : {true, false}) {
    imDialog([&] { p->EXIFForm.Zeigen(uebersicht); }, [&] {
      EXPECT_EQ(schlechtGelegt(d), std::vector<std::string>()) << "beim Öffnen, Skala " << skala;
      d.grab().save(ziel + (uebersicht ? QStringLiteral("/EXIFForm-uebersicht.png") : QStringLiteral("/EXIFForm-gross.png")));
      d.resize(1, 1);
      QApplication::processEvents();
      EXPECT_EQ(schlechtGelegt(d), std::vector<std::string>()) << "kleinstmöglich, Skala " << skala;
      d.BSchliessen->click();
    });
  }
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
  // A leading byte-order mark, a no-break space, a line and a paragraph
  // separator, which the memo drops or shows as a blank and line ends.
  const std::string besonders =
      "\xEF\xBB\xBFTurm\xC2\xA0" "A\xE2\x80\xA8" "zwei\xE2\x80\xA9" "drei\r\nvier";
  const std::string turm = bilder.pfad() + "2-turm.jpg";
  schreiben(turm, jpegBytes(300, 600, 160, 120, 60, besonders));
  KommentarDialog& d = f->kommentar;
  imDialog([&] { p->KommentarForm.Zeigen(); }, [&] {
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
    // A letter typed and taken back: the comment is unchanged, nothing is
    // written.
    const std::string vorher = lesen(turm);
    tippen(d.MKommentar, QStringLiteral("x"));
    taste(d.MKommentar, Qt::Key_Backspace);
    EXPECT_EQ(p->KommentarForm.MKommentar, besonders);
    d.BitBzurueck->click();
    EXPECT_EQ(lesen(turm), vorher);
    // A real change keeps every character the user did not touch.
    d.BitBWeiter->click();
    d.MKommentar->moveCursor(QTextCursor::End);
    tippen(d.MKommentar, QStringLiteral("!"));
    taste(d.MKommentar, Qt::Key_Return, {}, Qt::ShiftModifier);
    d.BitBWeiter->click();
    d.BSchliessen->click();
  });
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(kommentarVon(bilder.pfad() + "1-hafen.jpg"), "Abend am Hafen\r\nmit M\xC3\xB6wen");
  EXPECT_EQ(kommentarVon(turm), besonders + "!\r\n");
}

// A file name that looks like markup is shown as it is, in the editor's
// name label and in a message box naming it (with its line break). Before
// the first run the HTML folder is not there: a file picker opens in its
// nearest existing parent and proposes no name of its own.
TEST_F(Editoren, DateinamenSindKlartextUndDateiwahlBeginntImVorhandenenOrdner) {
  const std::string name = "\xC3\xBC<b>&amp;.jpg";
  schreiben(p->st.BilderOrdnerPfad + name, jpegBytes(40, 30));
  KommentarDialog& d = f->kommentar;
  imDialog([&] { p->KommentarForm.Zeigen(); }, [&] {
    EXPECT_EQ(d.LDateiname->text().toStdString(), name);
    EXPECT_EQ(d.LDateiname->textFormat(), Qt::PlainText);
    d.BSchliessen->click();
  });
  int gesehen = 0;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->text().toStdString(), "Die Datei " + name + "\nist schreibgeschützt!");
    ++gesehen;
    box->accept();
  });
  QtDialogService().message(MsgKind::Error, "Die Datei " + name + "\r\nist schreibgeschützt!", MsgButtons::Ok);
  FileDialogOptions o;
  o.folder = bilder.pfad() + "html/unten";
  QTimer::singleShot(0, [&] {
    auto* wahl = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(wahl, nullptr);
    EXPECT_EQ(QDir(wahl->directory()).absolutePath(), QDir(QString::fromStdString(bilder.pfad())).absolutePath());
    EXPECT_EQ(wahl->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(), QString());
    ++gesehen;
    wahl->reject();
  });
  EXPECT_EQ(QtDialogService().openFileName(o), std::nullopt);
  EXPECT_EQ(gesehen, 2);
}

// A name of 250 bytes and one that differs from it just before the
// extension: the editor's label keeps their ends apart (the whole name is
// its tool tip), and a message box naming one in its folder stays on the
// screen with every character, whatever the scale.
TEST_F(Editoren, LangeDateinamenBleibenUnterscheidbarUndAufDemSchirm) {
  std::string euro;
  for (int i = 0; i < 82; ++i) euro += "\xE2\x82\xAC";
  const std::vector<std::string> namen = {euro + ".jpg", euro + "ab.jpg"};
  for (const std::string& n : namen) schreiben(bilder.pfad() + n, jpegBytes(40, 30));
  KommentarDialog& d = f->kommentar;
  imDialog([&] { p->KommentarForm.Zeigen(); }, [&] {
    for (const std::string& n : namen) {
      const QString name = QString::fromStdString(n);
      EXPECT_EQ(d.LDateiname->toolTip(), name);
      EXPECT_LE(d.LDateiname->fontMetrics().horizontalAdvance(d.LDateiname->text()), d.LDateiname->width());
      EXPECT_TRUE(d.LDateiname->text().startsWith(QString::fromUtf8("\xE2\x82\xAC"))) << n;
      EXPECT_TRUE(d.LDateiname->text().endsWith(name.right(name.size() - 82 + 1))) << n;
      d.grab().save(bildschirmOrdner() + QStringLiteral("/KommentarForm-%1.png").arg(name.size()));
      d.BitBWeiter->click();
    }
    d.BSchliessen->click();
  });
  const std::string text = "Der Kommentar der Datei " + bilder.pfad() + namen[1] +
                           " wurde inzwischen von einem anderen Programm ge\xC3\xA4ndert.\r\nIhr Text war:\r\n" + euro;
  bool gesehen = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->screen()->availableGeometry().contains(box->frameGeometry()))
        << box->frameGeometry().width() << " x " << box->frameGeometry().height();
    EXPECT_EQ(box->text().remove(QLatin1Char('\n')), QString::fromStdString(text).remove(QStringLiteral("\r\n")));
    // Broken after the folder, and the name's end in one piece.
    EXPECT_TRUE(box->text().contains(QStringLiteral("/\n") + QString::fromUtf8("\xE2\x82\xAC")));
    EXPECT_TRUE(box->text().contains(QString::fromUtf8("\xE2\x82\xAC\xE2\x82\xAC" "ab.jpg wurde")));
    const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(label, nullptr);
    for (const QString& zeile : box->text().split(QLatin1Char('\n')))
      for (const QString& wort : zeile.split(QLatin1Char(' ')))
        EXPECT_LE(label->fontMetrics().horizontalAdvance(wort), label->width()) << wort.toStdString();
    box->grab().save(bildschirmOrdner() + QStringLiteral("/Meldung-langer-Name.png"));
    gesehen = true;
    box->accept();
  });
  QtDialogService().message(MsgKind::Error, text, MsgButtons::Ok);
  EXPECT_TRUE(gesehen);
}

TEST_F(Editoren, KommentardialogOhneBilder) {
  const std::string lang = bilder.pfad() + "Reisen/2023/Urlaub am Meer/Tag 12 mit einem recht langen Namen/Abend/";
  p->st.BilderOrdnerPfad = lang;
  imDialog([&] { p->KommentarForm.Zeigen(); }, [&] {
    // A long folder shortened to the field, the whole one as tool tip.
    const QLineEdit* ed = f->kommentar.EdBilderPfad;
    EXPECT_EQ(ed->toolTip().toStdString(), lang);
    EXPECT_TRUE(ed->text().contains(QStringLiteral("...")));
    EXPECT_LE(ed->fontMetrics().horizontalAdvance(ed->text()), ed->width());
    EXPECT_FALSE(f->kommentar.Bild->isVisible());
    EXPECT_TRUE(f->kommentar.LHinterbild->isVisible());
    EXPECT_EQ(f->kommentar.LHinterbild->text(), QStringLiteral("kein (JPG-)Bild vorhanden"));
    f->kommentar.BSchliessen->click();
  });
}

struct Navigationsfenster : Fensterprobe {
  void aktivieren() {
    QEvent ev(QEvent::WindowActivate);
    QApplication::sendEvent(&f->navigation, &ev);
  }
};

TEST_F(Navigationsfenster, AktivierungZeigtDieBildseitenNurMitBildseiten) {
  QTabWidget* tabs = f->navigation.tabs;
  p->m.setChecked(Opt::RBLinkAufBilddatei, true);
  aktivieren();
  EXPECT_FALSE(tabs->isTabVisible(1) || tabs->widget(1)->isEnabled());
  p->m.setChecked(Opt::RBProBildEineHTMLDatei, true);
  aktivieren();
  EXPECT_TRUE(tabs->isTabVisible(1) && tabs->widget(1)->isEnabled());
  for (Opt o : {Opt::BitBWaehlenGrafikUebZurueck, Opt::BitBWaehlenGrafikGrossDiashowAus})
    EXPECT_EQ(w(o)->toolTip(), QStringLiteral("Pfad für Grafikdatei wählen"));
  f->navigation.show();
  ASSERT_TRUE(f->navigation.isVisible());
  f->navigation.BSchliessen->click();
  EXPECT_FALSE(f->navigation.isVisible());
}

// The dialog opens inside the screen's free area; far smaller than its
// pages, they scroll instead of pressing their controls together.
TEST_F(Navigationsfenster, PasstAufDenBildschirmUndRollt) {
  NavigationDialog& d = f->navigation;
  p->m.setChecked(Opt::RBProBildEineHTMLDatei, true);
  d.show();
  QApplication::processEvents();
  EXPECT_TRUE(d.screen()->availableGeometry().contains(d.frameGeometry()));
  for (int seite = 0; seite < d.tabs->count(); ++seite) {
    d.tabs->setCurrentIndex(seite);
    d.resize(360, 260);
    QApplication::processEvents();
    EXPECT_EQ(d.size(), QSize(360, 260)) << seite;
    EXPECT_EQ(schlechtGelegt(d), std::vector<std::string>()) << seite;
    auto* rolle = d.tabs->currentWidget()->findChild<QScrollArea*>();
    ASSERT_NE(rolle, nullptr) << seite;
    EXPECT_TRUE(rolle->verticalScrollBar()->isVisible()) << seite;
  }
  d.adjustSize();
  d.grab().save(bildschirmOrdner() + QStringLiteral("/NavigationForm.png"));
  d.hide();
}

// The colour dialog from a colour panel and from the panel's label: the
// dialog's widgets in both directions, its ways out, the system chooser.
TEST_F(Navigationsfenster, FarbpanelUndBeschriftungOeffnenDenFarbdialog) {
  FarbDialog& d = f->farb;
  p->farbForm.modal = [&] {
    EXPECT_EQ(d.SpEdBlau->value(), 255);
    d.EdHTMLCode->selectAll();
    tippen(d.EdHTMLCode, QStringLiteral("ff8g000"));  // the model's filter refuses the 'g'
    EXPECT_EQ(d.EdHTMLCode->text(), QStringLiteral("ff8000"));
    verlassen(d.EdHTMLCode);
    EXPECT_EQ(d.SpEdGruen->value(), 128);
    EXPECT_TRUE(d.farbquadrat->styleSheet().contains(QStringLiteral("#ff8000")));
    d.SpEdBlau->setValue(0x40);
    EXPECT_EQ(d.EdHTMLCode->text(), QStringLiteral("#FF8040"));
    d.Bschliessen->click();
  };
  w<QPushButton>(Opt::PanelUebQuadratFarbe)->click();
  EXPECT_EQ(p->m.color(Opt::PanelUebQuadratFarbe), 0xFF8040u);
  EXPECT_TRUE(w(Opt::PanelUebQuadratFarbe)->styleSheet().contains(QStringLiteral("#ff8040")));

  // Escape or the close box: the colour stays as it was (the cancel button
  // is the model's).
  p->farbForm.modal = [&] {
    d.SpEdRot->setValue(0);
    d.reject();
  };
  w<QPushButton>(Opt::PanelUebQuadratFarbe)->click();
  EXPECT_EQ(p->m.color(Opt::PanelUebQuadratFarbe), 0xFF8040u);

  // The swatch and its label open the system colour chooser.
  p->farbForm.modal = [&] {
    u.dialoge.farbAntworten.push_back(0x00AA00);
    klicken(d.farbquadrat);
    klicken(d.Label5);
    d.Bschliessen->click();
  };
  w<QPushButton>(Opt::PanelUebQuadratFarbe)->click();
  EXPECT_EQ(u.dialoge.farbDialoge, (std::vector<uint32_t>{0xFF8040, 0x00AA00}));
  EXPECT_EQ(p->m.color(Opt::PanelUebQuadratFarbe), 0x00AA00u);

  // The panels' labels open it too, as long as their panel is there; the
  // graphic path beside it takes typed text through its filter.
  int gezeigt = 0;
  p->farbForm.modal = [&] {
    ++gezeigt;
    d.Bschliessen->click();
  };
  p->m.setChecked(Opt::RBZeilenzahl, true);
  p->m.setChecked(Opt::RBNavUebGrafiklinks, true);
  klicken(w(Opt::LUebFarbe));
  EXPECT_EQ(gezeigt, 1);
  p->m.setChecked(Opt::RBUebGrafikIndividuell, true);
  klicken(w(Opt::LUebFarbe));
  EXPECT_EQ(gezeigt, 1);
  p->m.setChecked(Opt::RBNavGrGrafiklinks, true);
  p->m.setChecked(Opt::RBVorschauQuadratisch, true);
  klicken(f->navigation.findChild<QLabel*>(QStringLiteral("LFarbe")));
  klicken(w(Opt::LFarbe));  // the thumbnails' fill colour
  EXPECT_EQ(gezeigt, 3);
  tippen(w(Opt::EdGrafikUebZurueck), QStringLiteral("Bilder\\Zurück 1?.PNG"));
  EXPECT_EQ(p->m.text(Opt::EdGrafikUebZurueck), "Bilder/Zurück1.PNG");
  // A colour panel takes the focus from the keyboard only.
  EXPECT_EQ(w(Opt::PanelLinkFarbe)->focusPolicy(), Qt::TabFocus);
}

TEST_F(Navigationsfenster, OrdneranzeigenGekuerztUndKlickbar) {
  f->haupt.show();
  QApplication::processEvents();
  auto* ed = w<QLineEdit>(Opt::EdBilderPfad);
  const std::string lang = "/home/benutzer/Bilder/Sehr lange Ordnernamen sind hier/Urlaub im Sommer 2023/"
                           "Mallorca und Menorca/Strand am Abend/Sonnenuntergang";
  p->st.BilderOrdnerPfad = lang;
  p->m.setText(Opt::EdBilderPfad, lang);
  EXPECT_EQ(p->m.text(Opt::EdBilderPfad), lang);
  EXPECT_TRUE(ed->text().contains(QStringLiteral("...")));
  EXPECT_LT(ed->fontMetrics().horizontalAdvance(ed->text()), ed->width());
  EXPECT_EQ(ed->toolTip(), QString::fromStdString(lang));
  // Wide enough again: the whole path.
  f->haupt.resize(f->haupt.width() + 2000, f->haupt.height());
  QApplication::processEvents();
  EXPECT_EQ(ed->text(), QString::fromStdString(lang));

  // A click on the picture or HTML display opens the chooser.
  klicken(ed);
  klicken(w(Opt::EdHTMLPfadname));
  klicken(w(Opt::EdVorschauPfadname));
  ASSERT_EQ(u.dialoge.ordnerDialoge.size(), 2u);
  EXPECT_EQ(u.dialoge.ordnerDialoge[0].folder, lang);
  EXPECT_EQ(u.dialoge.ordnerDialoge[1].folder, lang + "/html");
  f->haupt.hide();
}

TEST(Dialoge, OrdnerwahlUndDateifilterWerdenEingerichtet) {
  qtAnwendung();
  // Each pattern shows once; the patterns that filter are those behind the bar.
  for (auto [filter, qt] : {std::pair{"Textdateien (*.txt)|*.txt", "Textdateien (*.txt)"},
                            {"Web-Bilder (*.gif; *.jpg; *.png)|*.gif; *.jpg; *.jpeg; *.png|Alle Dateien (*.*)|*.*",
                             "Web-Bilder (*.gif *.jpg *.jpeg *.png);;Alle Dateien (*)"},
                            {"Einstellungen|*.ini", "Einstellungen (*.ini)"}})
    EXPECT_EQ(qtFilter(filter), QString::fromUtf8(qt));

  TempOrdner t;
  fs::forceDirectories(t.pfad() + "a/b");
  EXPECT_EQ(vorhandenerOrdner(QStringLiteral("relativ/fehlt")), QString());

  FolderDialogOptions o;
  o.label = "Ausgewählter Ordner:";
  o.folder = t.pfad() + "a/b/noch nicht da";
  o.flags = TBrowseInfoFlags{TBrowseInfoFlag::ShowPath, TBrowseInfoFlag::ShowShared}.bits();
  o.statusText = [](const std::string& pfad) { return "Status " + pfad; };
  QFileDialog d;
  ordnerDialogEinrichten(d, o);
  EXPECT_EQ(d.fileMode(), QFileDialog::Directory);
  EXPECT_TRUE(d.testOption(QFileDialog::ShowDirsOnly));
  EXPECT_FALSE(d.testOption(QFileDialog::ReadOnly));
  EXPECT_EQ(d.labelText(QFileDialog::LookIn), QStringLiteral("Ausgewählter Ordner:"));
  EXPECT_EQ(QDir(d.directory()).absolutePath(), QDir(QString::fromStdString(t.pfad() + "a/b")).absolutePath());
  auto* status = d.findChild<QLabel*>(QStringLiteral("Statuszeile"));
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status->text(), QString::fromStdString("Status " + t.pfad() + "a/b"));
  auto* modell = d.findChild<QFileSystemModel*>();
  ASSERT_NE(modell, nullptr);
  emit modell->fileRenamed(QString::fromStdString(t.pfad() + "a/b"), QStringLiteral("Neuer Ordner"), QStringLiteral("Urlaub"));
  EXPECT_EQ(status->text(), QString::fromStdString("Status " + t.pfad() + "a/b/Urlaub"));

  o.flags |= browseInfoBit(TBrowseInfoFlag::HideNewFolderButton);
  o.statusText = nullptr;
  QFileDialog ohne;
  ordnerDialogEinrichten(ohne, o);
  EXPECT_TRUE(ohne.testOption(QFileDialog::ReadOnly));
  EXPECT_EQ(ohne.findChild<QLabel*>(QStringLiteral("Statuszeile")), nullptr);
}

// Qt's own dialogs in German whatever LANG says, its sizes and dates in
// German formats, and wide enough on a small screen (the offscreen one is
// 800 x 600, smaller than 1024 x 768) for every column to show whole.
TEST(Dialoge, DateidialogeSprechenDeutschUndZeigenJedeSpalte) {
  qtAnwendung();
  struct Zurueck {
    QLocale vorher;
    QTranslator qtDeutsch;
    ~Zurueck() {
      QCoreApplication::removeTranslator(&qtDeutsch);
      QLocale::setDefault(vorher);
    }
  } z;
  ASSERT_TRUE(qtDeutschEinrichten(z.qtDeutsch));
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Suchen in:"));

  TempOrdner t;
  fs::forceDirectories(t.pfad() + "Urlaub am Meer");
  const QString notiz = QString::fromStdString(t.pfad() + "notiz.txt");
  QFile f(notiz);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray(1536, 'x'));
  f.close();
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2021, 3, 5), QTime(14, 7)), QFileDevice::FileModificationTime));
  f.close();

  QFileDialog d(nullptr, QStringLiteral("Datei wählen"), QString::fromStdString(t.pfad()));
  dateidialogEinrichten(d);
  d.show();
  auto* liste = d.findChild<QTreeView*>(QStringLiteral("treeView"));
  ASSERT_NE(liste, nullptr);
  const QAbstractItemModel* m = liste->model();
  const auto zeile = [&](const QString& name) {
    const QModelIndexList i = m->match(m->index(0, 0, liste->rootIndex()), Qt::DisplayRole, name, 1, Qt::MatchExactly);
    return i.isEmpty() ? -1 : i.first().row();
  };
  const auto text = [&](int z, int spalte) { return m->index(z, spalte, liste->rootIndex()).data().toString().toStdString(); };
  // The list fills in the background; this only waits for it.
  for (int i = 0; i < 3000 && (zeile(QStringLiteral("notiz.txt")) < 0 || text(zeile(QStringLiteral("notiz.txt")), 2).empty()); ++i) {
    QApplication::processEvents();
    QThread::msleep(10);
  }
  const int n = zeile(QStringLiteral("notiz.txt"));
  ASSERT_GE(n, 0);
  const int o = zeile(QStringLiteral("Urlaub am Meer"));
  ASSERT_GE(o, 0);
  EXPECT_EQ(text(n, 1), "1,50 KiB");
  EXPECT_EQ(text(n, 2), "Einfaches Textdokument");
  EXPECT_EQ(text(n, 3), "05.03.21 14:07");
  EXPECT_EQ(text(o, 1), "");
  EXPECT_EQ(text(o, 2), "Verzeichnis");
  QApplication::processEvents();

  // The dialog fits the screen; size, type and date show whole beside a
  // name column with room, all without scrolling; the places' names whole.
  EXPECT_TRUE(d.screen()->availableGeometry().size().expandedTo(d.size()) == d.screen()->availableGeometry().size());
  QHeaderView* kopf = liste->header();
  for (int spalte = 1; spalte < 4; ++spalte) {
    EXPECT_GE(kopf->sectionSize(spalte), static_cast<QAbstractItemView*>(liste)->sizeHintForColumn(spalte)) << spalte;
    EXPECT_GE(kopf->sectionSize(spalte), kopf->sectionSizeHint(spalte)) << spalte;
  }
  EXPECT_GE(kopf->sectionSize(0), 200);
  EXPECT_LE(kopf->length(), liste->viewport()->width());
  auto* orte = d.findChild<QListView*>(QStringLiteral("sidebar"));
  ASSERT_NE(orte, nullptr);
  EXPECT_GE(orte->viewport()->width(), orte->sizeHintForColumn(0));
  d.grab().save(bildschirmOrdner() + QStringLiteral("/Dateidialog.png"));
  d.hide();
}

TEST(WartenDialog, ZeigtDasModellUndBleibtOffenBisZumEnde) {
  qtAnwendung();
  TwartenForm f;
  f.FormCreate();
  QWidget haupt;
  WartenDialog d(f, &haupt);
  EXPECT_EQ(d.parentWidget(), &haupt);
  EXPECT_TRUE(d.isWindow());
  EXPECT_EQ(d.windowModality(), Qt::WindowModal);
  // A caption and no border icons.
  EXPECT_EQ(d.windowFlags() & (Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint),
            Qt::WindowFlags());
  EXPECT_TRUE(d.windowFlags() & Qt::WindowTitleHint);
  f.TimerEnabled = true;
  f.Show();
  EXPECT_TRUE(d.isVisible());
  EXPECT_TRUE(d.Timer->isActive());

  // A long path is shortened to the label, the whole one is its tool tip.
  const std::string lang = "/home/fotograf/Bilder/Reisen/2023/Urlaub am Meer/Tag 12/Strand mit Möwen.jpg";
  f.aktuelleDatei(lang);
  EXPECT_NE(d.LAktuellerDateiname->text().toStdString(), lang);
  EXPECT_LE(d.LAktuellerDateiname->fontMetrics().horizontalAdvance(d.LAktuellerDateiname->text()),
            d.LAktuellerDateiname->width());
  EXPECT_EQ(d.LAktuellerDateiname->toolTip().toStdString(), lang);

  // The bar shows the model's pixels.
  f.TimerTimer();
  f.TimerTimer();
  const QImage bild = d.ImWarten->grab().toImage();
  EXPECT_EQ(bild.pixel(0, 8) & 0xFFFFFFu, f.pixel(0, 8));
  EXPECT_EQ(bild.pixel(60, 8) & 0xFFFFFFu, f.pixel(60, 8));
  EXPECT_NE(f.pixel(0, 8), f.pixel(60, 8));

  // Closing and Escape do nothing; only the button cancels.
  d.close();
  d.reject();
  EXPECT_TRUE(d.isVisible());
  d.BAbbruch->click();
  EXPECT_EQ(d.windowTitle(), QStringLiteral("ABBRUCH"));
  EXPECT_FALSE(d.BAbbruch->isEnabled());

  f.Hide();
  f.TimerEnabled = false;
  f.TimerTimer();
  EXPECT_FALSE(d.isVisible());
  EXPECT_FALSE(d.Timer->isActive());
  f.TimerEnabled = true;
  f.Show();
  EXPECT_EQ(d.windowTitle(), QStringLiteral("Bitte warten..."));
  f.Hide();
}

// Letters and digits with key codes of their own.
void tasten(QWidget* w, const QString& s) {
  for (const QChar c : s) taste(w, c.unicode() >= 'a' ? Qt::Key_A + (c.unicode() - 'a') : Qt::Key_0, QString(c));
}

Decimal4 d(const char* t) { return *Decimal4::parse(t, ','); }

TEST(RealSpinEdit, PfeileKnoepfeTastenUndVerlassen) {
  qtAnwendung();
  RealSpinEdit e(',');
  int bearbeitet = 0;
  QObject::connect(&e, &QLineEdit::textEdited, [&](const QString&) { ++bearbeitet; });
  e.setBounds(d("1,1"), d("10"));
  e.setIncrement(d("0,1"));
  e.setValue(d("9,95"));
  EXPECT_EQ(e.text(), QStringLiteral("9,95"));
  bearbeitet = 0;
  taste(&e, Qt::Key_Up);
  EXPECT_EQ(e.text(), QStringLiteral("10"));
  EXPECT_EQ(bearbeitet, 1);  // the model behind the edit hears of the step
  klicken(e.runterKnopf());
  EXPECT_EQ(e.text(), QStringLiteral("9,9"));
  klicken(e.hochKnopf());
  EXPECT_EQ(e.text(), QStringLiteral("10"));

  // Typing: a refused character changes nothing; leaving puts the number
  // back into the bounds.
  e.setText(QString());
  tasten(&e, QStringLiteral("2a5"));
  EXPECT_EQ(e.text(), QStringLiteral("25"));
  EXPECT_EQ(e.value(), d("25"));
  verlassen(&e);
  EXPECT_EQ(e.text(), QStringLiteral("10"));
}

TEST(RealSpinEdit, KnopfpaarAmRechtenRand) {
  qtAnwendung();
  RealSpinEdit e('.');
  e.resize(121, 24);
  e.show();
  const QRect h = e.hochKnopf()->geometry();
  const QRect r = e.runterKnopf()->geometry();
  EXPECT_LE(r.bottom(), e.height());
  EXPECT_LE(h.right(), e.width());
  e.setValue(d("2,25"));
  EXPECT_EQ(e.text(), QStringLiteral("2.25"));
}

}  // namespace
}  // namespace mosaik::test
