#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "TestUmgebung.h"
#include "app/Grundeinstellungen.h"
#include "generator/Einzelbildseite.h"
#include "generator/Namen.h"
#include "imaging/NumberFormat.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

const std::string kBilder = std::string(MOSAIK_TEST_DATA) + "/captions/";
const std::string kGolden = std::string(MOSAIK_TEST_DATA) + "/einzelbild/";

std::string lesen(const std::string& pfad) { return fs::readFile(pfad).value_or("<fehlt: " + pfad + ">"); }

void schreibe(const std::string& pfad, const std::string& inhalt) { std::ofstream(pfad, std::ios::binary) << inhalt; }

struct StilleAnsicht : RunView {
  void laufBeginnt() override {}
  void laufEndet() override {}
  void aktuelleDatei(const std::string&) override {}
  bool StandardbilderUebErzeugen() override { return true; }
  bool StandardbilderGrossErzeugen() override { return true; }
};

struct Nichts : OptionEvents {
  void optionEvent(Opt, Ev) override {}
  void procedure(Proc) override {}
};

// A folder "reise" below the picture folder with three pictures:
//   eins.jpg  80 x 60, EXIF and a two-line comment; companion eins.txt (12 bytes)
//   zwei.jpg  40 x 30; companions zwei.wav (2000 bytes) and zwei.mp3 (100 bytes)
//   drei.jpg  40 x 30, no companion
// The pages go below <picture folder>/html/.
struct Einzelbild : ::testing::Test {
  test::TestUmgebung u;
  test::TempOrdner quelle;
  OptionModel m;
  AppState st;
  Kontext k{m, st, u.sv};
  Nichts nichts;
  StilleAnsicht ansicht;
  Lauf lauf{k, ansicht};
  std::string reise;
  TDateiArray liste;

  void SetUp() override {
    imaging::SetDecimalSeparator(',');
    m.setEvents(&nichts);
    BGrundEinstellungenClick(k, false);
    st.BilderOrdnerPfad = quelle.pfad();
    st.HTMLOrdnerPfad.clear();
    u.dialoge.meldungen.clear();

    reise = quelle.pfad() + "reise/";
    std::filesystem::create_directory(reise);
    std::filesystem::copy_file(kBilder + "urlaub.jpg", reise + "eins.jpg");
    std::filesystem::copy_file(kBilder + "leer.jpg", reise + "zwei.jpg");
    std::filesystem::copy_file(kBilder + "nurexif.jpg", reise + "drei.jpg");
    schreibe(reise + "eins.txt", "Hallo Welt\r\n");
    schreibe(reise + "zwei.wav", std::string(2000, 'w'));
    schreibe(reise + "zwei.mp3", std::string(100, 'm'));
    liste = {eintrag("eins.jpg", 718, 80, 60), eintrag("zwei.jpg", 2100, 40, 30), eintrag("drei.jpg", 597, 40, 30)};

    m.setText(Opt::EdNameHTML, "galerie.htm");
    m.setText(Opt::EdSeitentitel, "Meine Bilder");
    m.setIndex(Opt::CoBDoctype, 1);
    m.setChecked(Opt::CBmitXMLDeklaration, false);
    st.DoctypeXHTML = false;
    st.DoctypeStrict = false;
    m.setChecked(Opt::RBStrukturOrdner, true);
    m.setChecked(Opt::RBProBildEineHTMLDatei, true);
    m.setChecked(Opt::CBDiashow, true);
    m.setChecked(Opt::CBDiashowAbschaltbar, true);
    m.setSpin(Opt::SpEdDiashow, 5);
    m.setChecked(Opt::CBKleineDateinamen, false);
    m.setChecked(Opt::CBZTextGrossOben, true);
    m.setText(Opt::MZTextGrossOben, "Oben & <b>fett</b> Grüße");
    m.setChecked(Opt::CBZTextGrossUnten, true);
    m.setText(Opt::MZTextGrossUnten, "Unten");
    m.setChecked(Opt::CBNavigationGrosseBilder, true);
    m.setChecked(Opt::CBNavigationEndlos, true);
    m.setChecked(Opt::RBNavGrTextlinks, true);
    m.setText(Opt::EdnavGrossZurueck, "  zurück ");
    m.setText(Opt::EdnavGrossUebersicht, "Übersicht");
    m.setText(Opt::EdnavGrossDiashowEin, "Diashow");
    m.setText(Opt::EdnavGrossDiashowAus, "Stopp");
    m.setText(Opt::EdnavGrossWeiter, "weiter");
    m.setChecked(Opt::CBNavgrafikenGrossMitTitle, false);
    m.setIndex(Opt::CoBFensterNavigation, 0);
    m.setText(Opt::MBeschreibungGross, "\\dn\\[\\zu\\ko\\]");
    m.setChecked(Opt::CBGrossBildHint, true);
    m.setChecked(Opt::CBGrossBildLinkText, true);
    m.setChecked(Opt::CBGrossBildLinkAudio, true);
    m.setChecked(Opt::CBGrossBildLinkVideo, true);
    m.setText(Opt::EdTextdatei, "Textdatei");
    m.setText(Opt::EdAudiodatei, "Audiodatei");
    m.setText(Opt::EdVideodatei, "Videodatei");
    m.setChecked(Opt::CBBilderPfadErsetzen, false);
    m.setChecked(Opt::CBOriginaleVerlinken, false);
    m.setChecked(Opt::CBeigenenHeaderVerwenden, false);
  }

  static TDateieintrag eintrag(const std::string& name, int64_t groesse, int breite, int hoehe) {
    TDateieintrag e;
    e.Name = name;
    e.Groesse = groesse;
    e.Datum = (44u << 25) | (3u << 21) | (7u << 16);
    e.Breite = breite;
    e.Hoehe = hoehe;
    return e;
  }

  // Writes the page of picture i and returns its name.
  std::string seite(int i, bool gestoppt, const std::string& uebersicht = "galerie.htm") {
    std::string name = "unverändert";
    EinzelbildSeiteSchreiben(lauf, uebersicht, uebersicht, reise, liste, i, name, gestoppt);
    return name;
  }
  std::string html() const { return quelle.pfad() + "html/"; }
};

TEST_F(Einzelbild, ErstesBildEndlosLaufendeDiashowMitTextlinks) {
  EXPECT_EQ(seite(0, false), "galerie-einsjpg.htm");
  EXPECT_EQ(lesen(html() + "reise/galerie-einsjpg.htm"), lesen(kGolden + "text-endlos-erstes.htm"));
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(Einzelbild, MittleresBildGestoppteVarianteMitZweiAudiodateien) {
  EXPECT_EQ(seite(1, true), "galerie-zweijpg-stopp.htm");
  EXPECT_EQ(lesen(html() + "reise/galerie-zweijpg-stopp.htm"), lesen(kGolden + "text-endlos-mitte-gestoppt.htm"));
}

TEST_F(Einzelbild, LetztesBildOhneEndlosHatKeinWeiterKeinenSchalterUndKeinenWechsel) {
  m.setChecked(Opt::CBNavigationEndlos, false);
  EXPECT_EQ(seite(2, false), "galerie-dreijpg.htm");
  EXPECT_EQ(lesen(html() + "reise/galerie-dreijpg.htm"), lesen(kGolden + "text-stoppend-letztes.htm"));
}

TEST_F(Einzelbild, XHTMLStrengMitStandardgrafikenNeuemFensterUndOriginal) {
  m.setIndex(Opt::CoBDoctype, 2);
  m.setChecked(Opt::CBmitXMLDeklaration, true);
  st.DoctypeXHTML = true;
  st.DoctypeStrict = true;
  m.setChecked(Opt::CBDiashow, false);
  m.setChecked(Opt::CBNavigationEndlos, false);
  m.setChecked(Opt::RBNavGrGrafiklinks, true);
  m.setChecked(Opt::RBGrossGrafikStandard, true);
  m.setEnabled(Opt::CoBFensterNavigation, true);
  m.setIndex(Opt::CoBFensterNavigation, 2);
  m.setEnabled(Opt::CBOriginaleVerlinken, true);
  m.setChecked(Opt::CBOriginaleVerlinken, true);
  m.setChecked(Opt::CBZTextGrossOben, false);
  EXPECT_EQ(seite(0, false), "galerie-einsjpg.htm");
  EXPECT_EQ(lesen(html() + "reise/galerie-einsjpg.htm"), lesen(kGolden + "xhtml-grafik-erstes.htm"));
}

TEST_F(Einzelbild, EinzigesBildVerweistNichtAufSichSelbst) {
  liste.resize(1);
  EXPECT_EQ(seite(0, false), "galerie-einsjpg.htm");
  EXPECT_EQ(lesen(html() + "reise/galerie-einsjpg.htm"), lesen(kGolden + "text-einzelnes-bild.htm"));
}

TEST_F(Einzelbild, FlacheGalerieMitEigenenGrafikenMitHinweistext) {
  m.setChecked(Opt::RBStrukturflach, true);
  m.setChecked(Opt::RBNavGrGrafiklinks, true);
  m.setChecked(Opt::RBGrossGrafikIndividuell, true);
  m.setChecked(Opt::CBNavgrafikenGrossMitTitle, true);
  m.setText(Opt::EdGrafikGrossZurueck, "bilder/zurueck.png");
  m.setText(Opt::EdGrafikGrossUebersicht, "");  // no graphic: no link
  m.setText(Opt::EdGrafikDiashowEin, "http://example.org/an.png");
  m.setText(Opt::EdGrafikGrossWeiter, "bilder/weiter.png");
  std::filesystem::create_directory(html());  // the run has made it
  EXPECT_EQ(seite(1, true, "galerie(1).htm"), "galerie(1)-zweijpg-stopp.htm");
  EXPECT_EQ(lesen(html() + "galerie(1)-zweijpg-stopp.htm"), lesen(kGolden + "flach-eigene-grafik-gestoppt.htm"));
}

}  // namespace
}  // namespace mosaik
