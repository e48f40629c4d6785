#include <fstream>

#include "RegelnTestbasis.h"
#include "generator/Namen.h"

namespace mosaik::test {
namespace {

using O = Opt;

struct Navigation : Hauptform {
  // The controls of rule O and of rule P/G, for "all off" checks.
  static constexpr O kRegelO[] = {O::EdBlaetternZurueck,       O::EdBlaetternVor,         O::LBlaetternZurueck,
                                  O::LBlaetternVor,            O::RBUebGrafikStandard,    O::RBUebGrafikIndividuell,
                                  O::CBNavgrafikenUebMitTitle, O::LNavgrafikenUebMitTitleErlaeuterung,
                                  O::LUebIndividuellZurueck,   O::EdGrafikUebZurueck,     O::BitBWaehlenGrafikUebZurueck,
                                  O::LUebWeiter,               O::EdGrafikUebWeiter,      O::BitBWaehlenGrafikUebWeiter};
  static constexpr O kEigeneGross[] = {O::LIndividuellZurueck, O::EdGrafikGrossZurueck,
                                       O::BitBWaehlenGrafikGrossZurueck, O::LUebersicht,
                                       O::EdGrafikGrossUebersicht, O::BitBWaehlenGrafikGrossUebersicht,
                                       O::LWeiter,     O::EdGrafikGrossWeiter, O::BitBWaehlenGrafikGrossWeiter};
  static constexpr O kDiashowGrafik[] = {O::LGrafikDiashowEin, O::EdGrafikDiashowEin,
                                         O::BitBWaehlenGrafikGrossDiashowEin, O::LGrafikDiashowAus,
                                         O::EdGrafikDiashowAus, O::BitBWaehlenGrafikGrossDiashowAus};
  static constexpr O kTextGross[] = {O::LBlaetternzurueckGross, O::EdnavGrossZurueck, O::LBlaetternUebersichtGross,
                                     O::EdnavGrossUebersicht,   O::LBlaetternWeiterGross, O::EdnavGrossWeiter};
  static constexpr O kDiashowText[] = {O::EdnavGrossDiashowEin, O::LnavGrossDiashowEin, O::LnavGrossDiashowAus,
                                       O::EdnavGrossDiashowAus};

  template <size_t N>
  void alleEn(const O (&os)[N], bool an, const char* wo) {
    for (O o : os) EXPECT_EQ(en(o), an) << info(o).name << " (" << wo << ")";
  }
  // Picture pages with navigation and a slideshow that can be switched off.
  void bildseiten(bool diashow, bool abschaltbar) {
    m.setChecked(O::RBProBildEineHTMLDatei, true);
    m.setChecked(O::CBDiashow, diashow);
    m.setChecked(O::CBDiashowAbschaltbar, abschaltbar);
    m.setChecked(O::CBNavigationGrosseBilder, true);
    nav.FormActivate();
  }
};

TEST_F(Navigation, ObenOderUntenBleibtAn) {
  ASSERT_TRUE(m.checked(O::CBNavigationOben));
  ASSERT_TRUE(m.checked(O::CBNavigationUnten));
  m.setChecked(O::CBNavigationOben, false);
  EXPECT_TRUE(m.checked(O::CBNavigationUnten));
  m.setChecked(O::CBNavigationUnten, false);  // "unten" off while "oben" is off: "oben" comes back
  EXPECT_TRUE(m.checked(O::CBNavigationOben));
  EXPECT_FALSE(m.checked(O::CBNavigationUnten));
  m.setChecked(O::CBNavigationOben, false);
  EXPECT_TRUE(m.checked(O::CBNavigationUnten));
  EXPECT_FALSE(m.checked(O::CBNavigationOben));
}

TEST_F(Navigation, RegelOUebersichtsseiten) {
  // The whole folder on one page: everything off, whatever the link choice.
  m.setChecked(O::RBganzerOrdner, true);
  for (O wahl : {O::RBNavUebTextlinks, O::RBNavUebGrafiklinks}) {
    m.setChecked(wahl, true);
    for (O art : {O::RBUebGrafikStandard, O::RBUebGrafikIndividuell}) {
      m.setChecked(art, true);
      nav.RBNavUebTextlinksClick();
      alleEn(kRegelO, false, "ein Ordner, eine Seite");
      verborgen({O::PanelUebQuadratFarbe, O::LUebFarbe});
    }
  }

  m.setChecked(O::RBZeilenzahl, true);
  m.setChecked(O::RBNavUebTextlinks, true);  // its click runs the rule
  for (O o : {O::EdBlaetternZurueck, O::EdBlaetternVor, O::LBlaetternZurueck, O::LBlaetternVor}) EXPECT_TRUE(en(o));
  aus({O::RBUebGrafikStandard, O::RBUebGrafikIndividuell, O::CBNavgrafikenUebMitTitle, O::EdGrafikUebZurueck});
  EXPECT_FALSE(sichtbar(O::PanelUebQuadratFarbe));

  m.setChecked(O::RBNavUebGrafiklinks, true);
  m.setChecked(O::RBUebGrafikStandard, true);
  aus({O::EdBlaetternZurueck, O::LUebIndividuellZurueck, O::EdGrafikUebZurueck, O::BitBWaehlenGrafikUebZurueck,
       O::LUebWeiter, O::EdGrafikUebWeiter, O::BitBWaehlenGrafikUebWeiter});
  an({O::RBUebGrafikStandard, O::RBUebGrafikIndividuell, O::CBNavgrafikenUebMitTitle,
      O::LNavgrafikenUebMitTitleErlaeuterung});
  gezeigt({O::PanelUebQuadratFarbe, O::LUebFarbe});
  m.setChecked(O::RBUebGrafikIndividuell, true);
  EXPECT_FALSE(sichtbar(O::PanelUebQuadratFarbe));
  an({O::LUebIndividuellZurueck, O::EdGrafikUebZurueck, O::BitBWaehlenGrafikUebZurueck, O::LUebWeiter,
      O::EdGrafikUebWeiter, O::BitBWaehlenGrafikUebWeiter});
}

TEST_F(Navigation, RegelPBildseitenTextlinks) {
  bildseiten(true, true);
  ASSERT_TRUE(m.checked(O::RBNavGrTextlinks));
  alleEn(kTextGross, true, "Text-Links");
  alleEn(kDiashowText, true, "Diashow abschaltbar");
  aus({O::RBGrossGrafikStandard, O::RBGrossGrafikIndividuell});
  EXPECT_FALSE(sichtbar(O::GrossPanelquadratFarbe));
  alleEn(kEigeneGross, false, "Text-Links");
  alleEn(kDiashowGrafik, false, "Text-Links");
  EXPECT_FALSE(en(O::CBNavgrafikenGrossMitTitle));

  bildseiten(true, false);
  alleEn(kTextGross, true, "Text-Links");
  alleEn(kDiashowText, false, "Diashow nicht abschaltbar");

  // Not one page per picture: the text controls are off too.
  m.setChecked(O::RBnichtverlinken, true);
  nav.FormActivate();
  alleEn(kTextGross, false, "keine Bildseiten");
  EXPECT_FALSE(nav.TabSheetGrosseBilderVisible);
}

TEST_F(Navigation, RegelnPUndGBildseitenGrafiklinks) {
  bildseiten(true, false);
  m.setChecked(O::RBNavGrGrafiklinks, true);
  alleEn(kTextGross, false, "Grafik-Links");
  alleEn(kDiashowText, false, "Grafik-Links");
  an({O::RBGrossGrafikStandard, O::RBGrossGrafikIndividuell, O::CBNavgrafikenGrossMitTitle,
      O::LNavgrafikenGrossMitTitleErlaeuterung});
  EXPECT_TRUE(sichtbar(O::GrossPanelquadratFarbe));
  alleEn(kEigeneGross, false, "Standardbilder");

  // Own graphics with a slideshow that cannot be switched off: the
  // slideshow graphics stay off.
  m.setChecked(O::RBGrossGrafikIndividuell, true);
  EXPECT_FALSE(sichtbar(O::GrossPanelquadratFarbe));
  alleEn(kEigeneGross, true, "eigene Bilder");
  alleEn(kDiashowGrafik, false, "Diashow nicht abschaltbar");

  bildseiten(true, true);
  alleEn(kDiashowGrafik, true, "Diashow abschaltbar");
  nav.RBGrossGrafikStandardClick();  // rule G alone agrees
  alleEn(kDiashowGrafik, true, "Regel G");

  m.setChecked(O::RBGrossGrafikStandard, true);
  alleEn(kEigeneGross, false, "Regel G, Standardbilder");
  alleEn(kDiashowGrafik, false, "Regel G, Standardbilder");
  EXPECT_TRUE(sichtbar(O::GrossPanelquadratFarbe));

  // The graphic links of the picture pages do not ask for one page per
  // picture.
  m.setChecked(O::RBLinkAufBilddatei, true);
  m.setChecked(O::RBGrossGrafikIndividuell, true);
  nav.FormActivate();
  alleEn(kEigeneGross, true, "Grafik-Links ohne Bildseiten");
}

TEST_F(Navigation, RegelNSchaltetDieBildnavigationAbUndBehaeltDieWahl) {
  for (O wahl : {O::RBNavGrTextlinks, O::RBNavGrGrafiklinks}) {
    bildseiten(true, true);
    m.setChecked(O::RBGrossGrafikIndividuell, true);
    m.setChecked(wahl, true);
    m.setChecked(O::CBNavigationGrosseBilder, false);
    EXPECT_TRUE(m.checked(wahl)) << info(wahl).name;
    aus({O::RBNavGrTextlinks, O::RBNavGrGrafiklinks});
    alleEn(kTextGross, false, "ohne Navigation");
    alleEn(kDiashowText, false, "ohne Navigation");
    alleEn(kEigeneGross, false, "ohne Navigation");
    alleEn(kDiashowGrafik, false, "ohne Navigation");
    aus({O::RBGrossGrafikIndividuell, O::CBNavgrafikenGrossMitTitle});
    EXPECT_FALSE(sichtbar(O::GrossPanelquadratFarbe));

    m.setChecked(O::CBNavigationGrosseBilder, true);
    EXPECT_TRUE(m.checked(wahl));
    an({O::RBNavGrTextlinks, O::RBNavGrGrafiklinks});
    EXPECT_EQ(en(O::EdnavGrossZurueck), wahl == O::RBNavGrTextlinks);
    EXPECT_EQ(en(O::EdGrafikGrossZurueck), wahl == O::RBNavGrGrafiklinks);
  }
}

TEST_F(Navigation, AktivierungZeigtDieSeiteDerBildseitenUndFolgtDemHauptfenster) {
  int meldungen = 0;
  nav.geaendert = [&] { ++meldungen; };
  m.setChecked(O::RBLinkAufBilddatei, true);
  nav.FormActivate();
  EXPECT_FALSE(nav.TabSheetGrosseBilderVisible);
  EXPECT_EQ(meldungen, 1);
  bildseiten(false, true);
  EXPECT_TRUE(nav.TabSheetGrosseBilderVisible);
  alleEn(kDiashowText, false, "ohne Diashow");
  // The slideshow switched on in the main window shows at the next
  // activation.
  m.setChecked(O::CBDiashow, true);
  nav.FormActivate();
  alleEn(kDiashowText, true, "mit Diashow");

  int geschlossen = 0;
  nav.schliessen = [&] { ++geschlossen; };
  nav.BSchliessenClick();
  EXPECT_EQ(geschlossen, 1);
}

// The seven graphic paths: typed, pasted and left. The character set is the
// main window's web-path set, tested there.
TEST_F(Navigation, GrafikpfadeFiltern) {
  for (O feld : {O::EdGrafikUebZurueck, O::EdGrafikUebWeiter, O::EdGrafikGrossZurueck, O::EdGrafikGrossUebersicht,
                 O::EdGrafikGrossWeiter, O::EdGrafikDiashowEin, O::EdGrafikDiashowAus}) {
    EXPECT_EQ(nav.KeyPress(feld, U'\\'), U'/') << info(feld).name;
    // Backspace and the clipboard shortcuts pass; a paste is filtered.
    for (char32_t c : {U'ä', char32_t{8}, char32_t{3}, char32_t{22}, char32_t{24}}) EXPECT_EQ(nav.KeyPress(feld, c), c);
    for (char32_t c : {U' ', char32_t{9}, char32_t{13}}) EXPECT_EQ(nav.KeyPress(feld, c), 0u);
    EXPECT_EQ(nav.einfuegen(feld, "C:\\Bilder\\Pfeil links.png\r\n"), "C:/Bilder/Pfeillinks.png");
    // Backslashes become '/', the blank and other characters outside the
    // set go; the letter case stays.
    EXPECT_EQ(verlassen(feld, "..\\Meine Grafiken\\Zurück #1?.PNG"), "../MeineGrafiken/Zurück1.PNG") << info(feld).name;
    EXPECT_EQ(verlassen(feld, "a\tb\x01" "c~(d),e;f=g&h:i_j"), "abc~(d),e;f=g&h:i_j");
    EXPECT_EQ(verlassen(feld, "€ "), "");
  }
  // Other fields pass unfiltered.
  EXPECT_EQ(nav.KeyPress(O::EdBlaetternZurueck, U' '), U' ');
  EXPECT_EQ(nav.einfuegen(O::EdBlaetternZurueck, "a b"), "a b");
}

TEST_F(Navigation, GrafikdateiWaehlen) {
  const std::string html = standardOrdnerHTML(k);
  fs::forceDirectories(html + "/bilder");
  fs::forceDirectories(bilder.pfad() + "Grafiken");
  std::ofstream(html + "/bilder/Pfeil Links.PNG") << "png";
  std::ofstream(bilder.pfad() + "Grafiken/weiter.gif") << "gif";

  // A file in a sub-folder of the HTML folder.
  u.dialoge.dateiAntworten.push_back(html + "/bilder/Pfeil Links.PNG");
  m.run(O::BitBWaehlenGrafikUebZurueck, Ev::Click);
  EXPECT_EQ(m.text(O::EdGrafikUebZurueck), "bilder/PfeilLinks.PNG");
  EXPECT_EQ(st.LetzteGrafikdatei, "Pfeil Links.PNG");
  // The main window's graphic chooser.
  ASSERT_EQ(u.dialoge.dateiDialoge.size(), 1u);
  EXPECT_EQ(u.dialoge.dateiDialoge[0].optionen.title, "Grafikdatei wählen");

  // Outside the HTML folder: "../" steps; the next dialog proposes the last
  // name, shared with the main window's graphic pickers.
  u.dialoge.dateiAntworten.push_back(bilder.pfad() + "Grafiken/weiter.gif");
  m.run(O::BitBWaehlenGrafikGrossDiashowAus, Ev::Click);
  EXPECT_EQ(m.text(O::EdGrafikDiashowAus), "../Grafiken/weiter.gif");
  EXPECT_EQ(u.dialoge.dateiDialoge[1].optionen.fileName, "Pfeil Links.PNG");
  EXPECT_EQ(st.LetzteGrafikdatei, "weiter.gif");

  // Cancelled, or a file that is not there: nothing changes.
  m.run(O::BitBWaehlenGrafikUebZurueck, Ev::Click);
  u.dialoge.dateiAntworten.push_back(bilder.pfad() + "fehlt.png");
  m.run(O::BitBWaehlenGrafikUebZurueck, Ev::Click);
  EXPECT_EQ(u.dialoge.dateiDialoge.size(), 4u);
  EXPECT_EQ(m.text(O::EdGrafikUebZurueck), "bilder/PfeilLinks.PNG");
  EXPECT_EQ(st.LetzteGrafikdatei, "weiter.gif");

  // Each button fills its own field.
  const std::pair<O, O> knoepfe[] = {{O::BitBWaehlenGrafikUebWeiter, O::EdGrafikUebWeiter},
                                     {O::BitBWaehlenGrafikGrossZurueck, O::EdGrafikGrossZurueck},
                                     {O::BitBWaehlenGrafikGrossUebersicht, O::EdGrafikGrossUebersicht},
                                     {O::BitBWaehlenGrafikGrossWeiter, O::EdGrafikGrossWeiter},
                                     {O::BitBWaehlenGrafikGrossDiashowEin, O::EdGrafikDiashowEin}};
  for (auto [knopf, feld] : knoepfe) {
    u.dialoge.dateiAntworten.push_back(bilder.pfad() + "Grafiken/weiter.gif");
    m.run(knopf, Ev::Click);
    EXPECT_EQ(m.text(feld), "../Grafiken/weiter.gif") << info(feld).name;
  }
}

}  // namespace
}  // namespace mosaik::test
