// The option pages under an offscreen display: user input reaches the model
// and runs its rule once, model changes reach the widgets, the widgets'
// own inherited states never feed back into the rules, and every page fits.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>

#include "FensterTestbasis.h"

namespace mosaik::test {
namespace {

struct Optionsseiten : Fensterprobe {
  bool tabSichtbar(QTabWidget* leiste, Opt seite) { return leiste->isTabVisible(leiste->indexOf(w(seite))); }
};

TEST_F(Optionsseiten, KlickErreichtDasModellUndDieRegelLaeuftEinmal) {
  u.dialoge.antworten = {MsgResult::No};
  auto* copyright = w<QCheckBox>(Opt::CBCopyright);
  ASSERT_NE(copyright, nullptr);
  copyright->click();
  EXPECT_EQ(u.dialoge.meldungen.size(), 1u);  // the question came once
  EXPECT_FALSE(p->m.checked(Opt::CBCopyright));
  EXPECT_FALSE(copyright->isChecked());

  w<QCheckBox>(Opt::CBHintergrundgrafik)->click();
  EXPECT_TRUE(p->m.checked(Opt::CBHintergrundgrafik));
  EXPECT_TRUE(p->m.enabled(Opt::EdHintergrundgrafik));
  EXPECT_TRUE(w(Opt::EdHintergrundgrafik)->isEnabled());

  // A radio button clicked twice stays chosen.
  auto* experte = w<QRadioButton>(Opt::RBModusExperte);
  experte->click();
  experte->click();
  EXPECT_TRUE(experte->isChecked());
  EXPECT_TRUE(p->m.checked(Opt::RBModusExperte));
  EXPECT_TRUE(tabSichtbar(f->haupt.PageControl, Opt::TabSExperten));
  w<QRadioButton>(Opt::RBModusAnfaenger)->click();
  EXPECT_FALSE(tabSichtbar(f->haupt.PageControl, Opt::TabSExperten));
  EXPECT_FALSE(w(Opt::GrBPfade)->isVisibleTo(&f->haupt));

  // A user's choice in a list runs its change handler.
  auto* doctype = w<QComboBox>(Opt::CoBDoctype);
  doctype->setCurrentIndex(2);
  emit doctype->activated(2);
  EXPECT_TRUE(p->st.DoctypeXHTML);
  EXPECT_TRUE(w<QLabel>(Opt::LDoctypeAchtung)->isVisibleTo(&f->haupt) || !w(Opt::TabSExperten)->isVisible());
  EXPECT_TRUE(p->m.visible(Opt::LDoctypeAchtung));
}

TEST_F(Optionsseiten, ModellaenderungErreichtDasWidgetOhneZweitenLauf) {
  p->m.setChecked(Opt::CBAndereCSSDatei, true);
  EXPECT_EQ(u.dialoge.meldungen.size(), 1u);  // one warning: the widget's update ran no handler
  EXPECT_TRUE(w<QCheckBox>(Opt::CBAndereCSSDatei)->isChecked());
  EXPECT_FALSE(f->haupt.PageControlExperten->isTabVisible(f->haupt.PageControlExperten->indexOf(w(Opt::TabSCSSDatei))));

  p->m.setIndex(Opt::CoBFensterNavigation, 2);
  p->m.run(Opt::CoBFensterNavigation, Ev::Change);
  EXPECT_EQ(w<QComboBox>(Opt::CoBFensterNavigation)->currentIndex(), 2);
  EXPECT_EQ(w<QLabel>(Opt::LBlaetternUebersichtGross)->text(), QStringLiteral("Fenster schließen"));
  EXPECT_EQ(w<QLineEdit>(Opt::EdnavGrossUebersicht)->text(), QStringLiteral("[Fenster schließen]"));

  // Captions the rules change.
  p->m.setChecked(Opt::CBVorschaubilderErzeugen, false);
  EXPECT_EQ(w<QGroupBox>(Opt::GrBGroesse)->title(), QStringLiteral(" Anzeige&größe der großen Bilder in der Übersicht "));
  p->m.setText(Opt::EdNameHTML, "galerie.php");
  p->m.run(Opt::EdNameHTML, Ev::Exit);
  EXPECT_EQ(w<QCheckBox>(Opt::CBGrundnameistIndex)->text(), QStringLiteral("Startseite heißt inde&x.php"));
  EXPECT_EQ(w<QLabel>(Opt::LHTMLEndung)->text(), QStringLiteral(".php"));
}

TEST_F(Optionsseiten, EinGesperrtesFensterAendertNichtWasDieRegelnSehen) {
  f->haupt.show();
  p->runView.laufBeginnt();
  EXPECT_FALSE(f->haupt.isEnabled());
  EXPECT_FALSE(w(Opt::CBHintergrundgrafik)->isEnabled());
  // Rules run while the window is disabled read and write the model only.
  p->m.setChecked(Opt::CBHintergrundgrafik, true);
  EXPECT_TRUE(p->m.enabled(Opt::EdHintergrundgrafik));
  p->m.setChecked(Opt::CBUebFesteSchrift, false);
  EXPECT_FALSE(p->m.enabled(Opt::CoBUeberschrift));
  p->m.run(Proc::RBModusAnfaengerClick);
  EXPECT_TRUE(p->m.visible(Opt::CBTypJpg));
  EXPECT_TRUE(p->m.enabled(Opt::CBTypJpg));
  p->runView.laufEndet();
  EXPECT_TRUE(w(Opt::EdHintergrundgrafik)->isEnabled());
  EXPECT_FALSE(w(Opt::CoBUeberschrift)->isEnabled());
  f->haupt.hide();
  // Nor does a hidden window: the model keeps its own flags.
  EXPECT_FALSE(w(Opt::CBTypJpg)->isVisible());
  p->m.setChecked(Opt::CBOriginaleVerkleinern, true);
  EXPECT_TRUE(p->m.enabled(Opt::EdgrosseBilderPfadname));
  EXPECT_TRUE(p->m.visible(Opt::RBVorneGrosseBilder));
}

TEST_F(Optionsseiten, TastenfilterUndFeldausgangImFenster) {
  auto* name = w<QLineEdit>(Opt::EdNameHTML);
  name->setText(QString());
  p->m.setText(Opt::EdNameHTML, "");
  tippen(name, QStringLiteral("w!\\x"));
  EXPECT_EQ(name->text(), QStringLiteral("w/x"));
  EXPECT_EQ(p->m.text(Opt::EdNameHTML), "w/x");
  taste(name, Qt::Key_Backspace, QString(QChar(8)));
  EXPECT_EQ(p->m.text(Opt::EdNameHTML), "w/");

  // Ctrl+V pastes, filtered; the next key is filtered again.
  auto* grafik = w<QLineEdit>(Opt::EdHintergrundgrafik);
  QApplication::clipboard()->setText(QStringLiteral("Bilder\\Hinter grund.PNG"));
  taste(grafik, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
  EXPECT_EQ(grafik->text(), QStringLiteral("Bilder/Hintergrund.PNG"));
  EXPECT_EQ(p->m.text(Opt::EdHintergrundgrafik), "Bilder/Hintergrund.PNG");
  EXPECT_FALSE(p->st.TastenfilterAussetzen);
  taste(grafik, Qt::Key_Space, QStringLiteral(" "));
  EXPECT_EQ(grafik->text(), QStringLiteral("Bilder/Hintergrund.PNG"));
  // The quality fields refuse the clipboard shortcuts.
  auto* qualitaet = w<QLineEdit>(Opt::EdKomprimierung);
  QApplication::clipboard()->setText(QStringLiteral("77"));
  taste(qualitaet, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
  EXPECT_EQ(qualitaet->text(), QStringLiteral("25"));

  // The context menu's paste is the one the filter takes over.
  std::unique_ptr<QMenu> menu(grafik->createStandardContextMenu());
  ASSERT_NE(einfuegenAktion(menu.get()), nullptr);
  EXPECT_EQ(einfuegenAktion(menu.get())->text().remove(QLatin1Char('&')).left(5), QStringLiteral("Paste"));
  f->binder.einfuegen(Opt::EdFavicon, QStringLiteral("ab c\\d"));
  EXPECT_EQ(p->m.text(Opt::EdFavicon), "https://mosaikschauer.example/favicon.icoabc/d");

  // Leaving a field repairs it; losing the window's activation does not.
  auto* klammer = w<QLineEdit>(Opt::EdKlammerAuf);
  p->m.setText(Opt::EdKlammerAuf, "");
  verlassen(klammer, Qt::ActiveWindowFocusReason);
  EXPECT_EQ(p->m.text(Opt::EdKlammerAuf), "");
  verlassen(klammer, Qt::PopupFocusReason);
  EXPECT_EQ(p->m.text(Opt::EdKlammerAuf), "");
  verlassen(klammer, Qt::TabFocusReason);
  EXPECT_EQ(p->m.text(Opt::EdKlammerAuf), "(");
  EXPECT_EQ(klammer->text(), QStringLiteral("("));

  verlassen(name, Qt::MouseFocusReason);
  EXPECT_EQ(name->text(), QStringLiteral("meinebilder.htm"));  // "w/": no name left

  // Entering the panorama column count bounds it by the table's columns.
  p->m.setSpin(Opt::SpEdSpaltenzahl, 4);
  QFocusEvent rein(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(w(Opt::SpEdAnzPanoSpalten), &rein);
  EXPECT_EQ(p->m.maxValue(Opt::SpEdAnzPanoSpalten), 4);
}

// Every page in every program mode, written to PNG for a person to look at;
// no page needs more room than the window gives it.
TEST_F(Optionsseiten, JedeSeiteInJedemModusPasst) {
  const QString ziel = QStringLiteral(MOSAIK_BINARY_DIR "/bildschirm-regeln");
  QDir().mkpath(ziel);
  f->haupt.show();
  QApplication::processEvents();
  const QSize fenster = f->haupt.frameGeometry().size();
  EXPECT_LE(fenster.width(), 1280);
  EXPECT_LE(fenster.height(), 800 - 40);  // room for a panel
  const std::pair<Opt, const char*> modi[] = {
      {Opt::RBModusAnfaenger, "anfaenger"}, {Opt::RBModusFortgeschrittener, "fortgeschritten"}, {Opt::RBModusExperte, "experte"}};
  for (const auto& [modus, name] : modi) {
    w<QRadioButton>(modus)->click();
    for (int i = 0; i < f->haupt.PageControl->count(); ++i) {
      if (!f->haupt.PageControl->isTabVisible(i)) continue;
      f->haupt.PageControl->setCurrentIndex(i);
      QApplication::processEvents();
      QWidget* seite = f->haupt.PageControl->widget(i);
      EXPECT_LE(seite->minimumSizeHint().height(), seite->height()) << seite->objectName().toStdString();
      EXPECT_LE(seite->minimumSizeHint().width(), seite->width()) << seite->objectName().toStdString();
      const QString datei = QStringLiteral("%1/%2-%3-%4.png").arg(ziel, QString::fromLatin1(name)).arg(i).arg(seite->objectName());
      EXPECT_TRUE(f->haupt.grab().save(datei));
      if (seite == w(Opt::TabSExperten)) {
        for (int j = 0; j < f->haupt.PageControlExperten->count(); ++j) {
          f->haupt.PageControlExperten->setCurrentIndex(j);
          QApplication::processEvents();
          QWidget* innen = f->haupt.PageControlExperten->widget(j);
          EXPECT_LE(innen->minimumSizeHint().height(), innen->height()) << innen->objectName().toStdString();
          EXPECT_TRUE(f->haupt.grab().save(
              QStringLiteral("%1/%2-%3-%4.png").arg(ziel, QString::fromLatin1(name)).arg(i).arg(innen->objectName())));
        }
      }
    }
  }
  // The navigation dialog with graphic links on both pages.
  for (Opt o : {Opt::RBProBildEineHTMLDatei, Opt::RBZeilenzahl, Opt::RBNavUebGrafiklinks, Opt::RBNavGrGrafiklinks})
    p->m.setChecked(o, true);
  f->navigation.show();
  QEvent aktiv(QEvent::WindowActivate);
  QApplication::sendEvent(&f->navigation, &aktiv);
  for (int i = 0; i < f->navigation.tabs->count(); ++i) {
    f->navigation.tabs->setCurrentIndex(i);
    QApplication::processEvents();
    EXPECT_TRUE(f->navigation.grab().save(QStringLiteral("%1/navigation-%2.png").arg(ziel).arg(i)));
  }
  f->navigation.hide();
  f->haupt.hide();
}

}  // namespace
}  // namespace mosaik::test
