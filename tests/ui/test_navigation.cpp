#include <fstream>

#include "RegelnTestbasis.h"
#include "generator/Namen.h"

namespace mosaik::test {
namespace {

using O = Opt;

using enum Merkmal;

// The controls of rule P and G in their groups.
const std::vector<O> kEigeneGross = {
    O::LIndividuellZurueck, O::EdGrafikGrossZurueck,    O::BitBWaehlenGrafikGrossZurueck,
    O::LUebersicht,         O::EdGrafikGrossUebersicht, O::BitBWaehlenGrafikGrossUebersicht,
    O::LWeiter,             O::EdGrafikGrossWeiter,     O::BitBWaehlenGrafikGrossWeiter};
const std::vector<O> kDiashowGrafik = {O::LGrafikDiashowEin, O::EdGrafikDiashowEin,
                                       O::BitBWaehlenGrafikGrossDiashowEin, O::LGrafikDiashowAus,
                                       O::EdGrafikDiashowAus, O::BitBWaehlenGrafikGrossDiashowAus};
const std::vector<O> kTextGross = {O::LBlaetternzurueckGross, O::EdnavGrossZurueck, O::LBlaetternUebersichtGross,
                                   O::EdnavGrossUebersicht,   O::LBlaetternWeiterGross, O::EdnavGrossWeiter};
const std::vector<O> kDiashowText = {O::EdnavGrossDiashowEin, O::LnavGrossDiashowEin, O::LnavGrossDiashowAus,
                                     O::EdnavGrossDiashowAus};

struct Navigation : Hauptform {
  // Picture pages with navigation and a slideshow that can be switched off.
  void bildseiten(bool diashow, bool abschaltbar) {
    m.setChecked(O::RBProBildEineHTMLDatei, true);
    m.setChecked(O::CBDiashow, diashow);
    m.setChecked(O::CBDiashowAbschaltbar, abschaltbar);
    m.setChecked(O::CBNavigationGrosseBilder, true);
    nav.FormActivate();
  }
  Eingabe bildseitenMit(bool diashow, bool abschaltbar) {
    return {.tat = [this, diashow, abschaltbar] { bildseiten(diashow, abschaltbar); }};
  }
  Eingabe aufruf(void (TNavigationForm::*handler)()) {
    return {.tat = [this, handler] { (nav.*handler)(); }};
  }
};

TEST_F(Navigation, ObenOderUntenBleibtAn) {
  // "unten" off while "oben" is off: "oben" comes back.
  const Zustaende zustaende = {{}, {{O::CBNavigationOben, 0}}, {{O::CBNavigationUnten, 0}}, {{O::CBNavigationOben, 0}}};
  verlauf(zustaende, {{{O::CBNavigationOben}, Haken, "1.10"}, {{O::CBNavigationUnten}, Haken, "1101"}});
}

TEST_F(Navigation, RegelOUebersichtsseiten) {
  // The whole folder on one page: everything off, whatever the link choice.
  const Eingabe regelO = aufruf(&TNavigationForm::RBNavUebTextlinksClick);
  const Zustaende zustaende = {
      {{O::RBganzerOrdner}, {O::RBNavUebTextlinks}, {O::RBUebGrafikStandard}, regelO},
      {{O::RBUebGrafikIndividuell}, regelO},
      {{O::RBNavUebGrafiklinks}, {O::RBUebGrafikStandard}, regelO},
      {{O::RBUebGrafikIndividuell}, regelO},
      // Its click runs the rule.
      {{O::RBZeilenzahl}, {O::RBNavUebTextlinks}},
      {{O::RBNavUebGrafiklinks}, {O::RBUebGrafikStandard}},
      {{O::RBUebGrafikIndividuell}},
  };
  const Regeltabelle tabelle = {
      {{O::EdBlaetternZurueck}, Aktiv, "0000100"},
      {{O::EdBlaetternVor, O::LBlaetternZurueck, O::LBlaetternVor}, Aktiv, "00001"},
      {{O::RBUebGrafikStandard, O::RBUebGrafikIndividuell, O::CBNavgrafikenUebMitTitle,
        O::LNavgrafikenUebMitTitleErlaeuterung}, Aktiv, "0000011"},
      {{O::LUebIndividuellZurueck, O::EdGrafikUebZurueck, O::BitBWaehlenGrafikUebZurueck, O::LUebWeiter,
        O::EdGrafikUebWeiter, O::BitBWaehlenGrafikUebWeiter}, Aktiv, "0000001"},
      {{O::PanelUebQuadratFarbe, O::LUebFarbe}, Sichtbar, "0000010"},
  };
  verlauf(zustaende, tabelle);
}

TEST_F(Navigation, RegelnPUndGBildseiten) {
  const Zustaende zustaende = {
      {bildseitenMit(true, true)},
      {bildseitenMit(true, false)},
      // Not one page per picture: the text controls are off too.
      {{O::RBnichtverlinken}, aufruf(&TNavigationForm::FormActivate)},
      {bildseitenMit(true, false), {O::RBNavGrGrafiklinks}},
      // Own graphics with a slideshow that cannot be switched off: the
      // slideshow graphics stay off.
      {{O::RBGrossGrafikIndividuell}},
      {bildseitenMit(true, false)},
      {bildseitenMit(true, true)},
      // Rule G alone agrees.
      {aufruf(&TNavigationForm::RBGrossGrafikStandardClick)},
      {{O::RBGrossGrafikStandard}},
      // The graphic links of the picture pages do not ask for one page per
      // picture.
      {{O::RBLinkAufBilddatei}, {O::RBGrossGrafikIndividuell}, aufruf(&TNavigationForm::FormActivate)},
      // Standard graphics chosen while text links are: no colour.
      {{O::RBNavGrTextlinks}, {O::RBGrossGrafikStandard}},
  };
  const Regeltabelle tabelle = {
      {{O::RBNavGrTextlinks}, Haken, "1"},
      {kTextGross, Aktiv, "1100"},
      {kDiashowText, Aktiv, "1000"},
      {{O::RBGrossGrafikStandard, O::RBGrossGrafikIndividuell, O::CBNavgrafikenGrossMitTitle}, Aktiv, "0..1"},
      {{O::LNavgrafikenGrossMitTitleErlaeuterung}, Aktiv, "...1"},
      {{O::GrossPanelquadratFarbe}, Sichtbar, "0..10...1.0"},
      {kEigeneGross, Aktiv, "0..011..01"},
      {kDiashowGrafik, Aktiv, "0...00110"},
  };
  verlauf(zustaende, tabelle);
  EXPECT_FALSE(nav.TabSheetGrosseBilderVisible);
}

TEST_F(Navigation, RegelNSchaltetDieBildnavigationAbUndBehaeltDieWahl) {
  const auto ohneNavigation = [this](O wahl) {
    return std::vector<Eingabe>{bildseitenMit(true, true), {O::RBGrossGrafikIndividuell}, {wahl},
                                {O::CBNavigationGrosseBilder, 0}};
  };
  const Zustaende zustaende = {ohneNavigation(O::RBNavGrTextlinks), {{O::CBNavigationGrosseBilder}},
                               ohneNavigation(O::RBNavGrGrafiklinks), {{O::CBNavigationGrosseBilder}}};
  const Regeltabelle tabelle = {
      {{O::RBNavGrTextlinks}, Haken, "11"},
      {{O::RBNavGrGrafiklinks}, Haken, "..11"},
      {{O::RBNavGrTextlinks, O::RBNavGrGrafiklinks}, Aktiv, "0101"},
      {kTextGross, Aktiv, "0.0"},
      {kDiashowText, Aktiv, "0.0"},
      {kEigeneGross, Aktiv, "0.0"},
      {kDiashowGrafik, Aktiv, "0.0"},
      {{O::RBGrossGrafikIndividuell, O::CBNavgrafikenGrossMitTitle}, Aktiv, "0.0"},
      {{O::GrossPanelquadratFarbe}, Sichtbar, "0.0"},
      {{O::EdnavGrossZurueck}, Aktiv, ".1.0"},
      {{O::EdGrafikGrossZurueck}, Aktiv, ".0.1"},
  };
  verlauf(zustaende, tabelle);
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
  for (O o : kDiashowText) EXPECT_FALSE(en(o)) << info(o).name;
  // The slideshow switched on in the main window shows at the next
  // activation.
  m.setChecked(O::CBDiashow, true);
  nav.FormActivate();
  for (O o : kDiashowText) EXPECT_TRUE(en(o)) << info(o).name;

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
