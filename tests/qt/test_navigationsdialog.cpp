// The navigation dialog, the colour dialog and the folder displays under an
// offscreen display: activation and pages, key filter and exit of the
// graphic paths, colour panels opening the colour dialog, the colour
// dialog's widgets in both directions, the shortened folder displays and
// the folder chooser as it is prepared.
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "FensterTestbasis.h"
#include "ui/qt/QtDialoge.h"
#include "winsupport/FolderDialog.h"

namespace mosaik::test {
namespace {

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
  EXPECT_FALSE(tabs->isTabVisible(1));
  p->m.setChecked(Opt::RBProBildEineHTMLDatei, true);
  aktivieren();
  EXPECT_TRUE(tabs->isTabVisible(1));
  for (Opt o : {Opt::BitBWaehlenGrafikUebZurueck, Opt::BitBWaehlenGrafikGrossDiashowAus})
    EXPECT_EQ(w(o)->toolTip(), QStringLiteral("Pfad für Grafikdatei wählen"));
  f->navigation.show();
  ASSERT_TRUE(f->navigation.isVisible());
  f->navigation.BSchliessen->click();
  EXPECT_FALSE(f->navigation.isVisible());
}

TEST_F(Navigationsfenster, GrafikpfadTippen) {
  auto* ed = w<QLineEdit>(Opt::EdGrafikUebZurueck);
  p->m.setChecked(Opt::RBZeilenzahl, true);
  p->m.setChecked(Opt::RBNavUebGrafiklinks, true);
  p->m.setChecked(Opt::RBUebGrafikIndividuell, true);
  ASSERT_TRUE(ed->isEnabled());
  tippen(ed, QStringLiteral("Bilder\\Zurück 1?.PNG"));
  EXPECT_EQ(p->m.text(Opt::EdGrafikUebZurueck), "Bilder/Zurück1.PNG");
}

TEST_F(Navigationsfenster, FarbpanelUndBeschriftungOeffnenDenFarbdialog) {
  int gezeigt = 0;
  p->farbForm.modal = [&] {
    FarbDialog& d = f->farb;
    if (++gezeigt == 1) {
      EXPECT_EQ(d.SpEdBlau->value(), 255);
      d.SpEdGruen->setValue(0x80);
      EXPECT_EQ(d.EdHTMLCode->text(), QStringLiteral("#0080FF"));
    }
    d.Bschliessen->click();
  };
  w<QPushButton>(Opt::PanelUebQuadratFarbe)->click();
  EXPECT_EQ(p->m.color(Opt::PanelUebQuadratFarbe), 0x0080FFu);
  EXPECT_TRUE(w(Opt::PanelUebQuadratFarbe)->styleSheet().contains(QStringLiteral("#0080ff")));
  // The label opens it too, as long as its panel is there.
  p->m.setChecked(Opt::RBZeilenzahl, true);
  p->m.setChecked(Opt::RBNavUebGrafiklinks, true);
  klicken(w(Opt::LUebFarbe));
  EXPECT_EQ(gezeigt, 2);
  p->m.setChecked(Opt::RBUebGrafikIndividuell, true);
  klicken(w(Opt::LUebFarbe));
  EXPECT_EQ(gezeigt, 2);
  // A colour panel takes the focus from the keyboard only.
  EXPECT_EQ(w(Opt::PanelLinkFarbe)->focusPolicy(), Qt::TabFocus);
}

TEST_F(Navigationsfenster, FarbdialogWidgets) {
  FarbDialog& d = f->farb;
  p->m.setColor(Opt::PanelTextFarbe, 0x102030);
  p->farbForm.modal = [&] {
    d.EdHTMLCode->selectAll();
    tippen(d.EdHTMLCode, QStringLiteral("ff8g000"));  // 'g' is refused
    EXPECT_EQ(d.EdHTMLCode->text(), QStringLiteral("ff8000"));
    verlassen(d.EdHTMLCode);
    EXPECT_EQ(d.EdHTMLCode->text(), QStringLiteral("#FF8000"));
    EXPECT_EQ(d.SpEdGruen->value(), 128);
    EXPECT_TRUE(d.farbquadrat->styleSheet().contains(QStringLiteral("#ff8000")));
    d.Bschliessen->click();
  };
  w<QPushButton>(Opt::PanelTextFarbe)->click();
  EXPECT_EQ(p->m.color(Opt::PanelTextFarbe), 0xFF8000u);

  // Escape, the close box or the cancel button: the colour stays as it was.
  for (const auto& abbruch : std::vector<std::function<void()>>{[&] { d.reject(); }, [&] { d.BAbbruch->click(); }}) {
    p->farbForm.modal = [&] {
      d.SpEdRot->setValue(0);
      abbruch();
    };
    w<QPushButton>(Opt::PanelTextFarbe)->click();
    EXPECT_EQ(p->m.color(Opt::PanelTextFarbe), 0xFF8000u);
  }

  // The swatch and its label open the system colour chooser.
  p->farbForm.modal = [&] {
    u.dialoge.farbAntworten.push_back(0x00AA00);
    klicken(d.farbquadrat);
    klicken(d.Label5);
    d.Bschliessen->click();
  };
  w<QPushButton>(Opt::PanelTextFarbe)->click();
  EXPECT_EQ(u.dialoge.farbDialoge, (std::vector<uint32_t>{0xFF8000, 0x00AA00}));
  EXPECT_EQ(p->m.color(Opt::PanelTextFarbe), 0x00AA00u);
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
  EXPECT_TRUE(ed->text().endsWith(QStringLiteral("/Sonnenuntergang")));
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

TEST(Ordnerdialog, WirdAlsOrdnerwahlEingerichtet) {
  qtAnwendung();
  TempOrdner t;
  fs::forceDirectories(t.pfad() + "a/b");
  EXPECT_EQ(vorhandenerOrdner(QString::fromStdString(t.pfad() + "a/b/fehlt/auch")),
            QString::fromStdString(t.pfad() + "a/b"));
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

  o.flags |= browseInfoBit(TBrowseInfoFlag::HideNewFolderButton);
  o.statusText = nullptr;
  QFileDialog ohne;
  ordnerDialogEinrichten(ohne, o);
  EXPECT_TRUE(ohne.testOption(QFileDialog::ReadOnly));
  EXPECT_EQ(ohne.findChild<QLabel*>(QStringLiteral("Statuszeile")), nullptr);
}

}  // namespace
}  // namespace mosaik::test
