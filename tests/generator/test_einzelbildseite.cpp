#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "TestUmgebung.h"
#include "generator/test_seiten_basis.h"
#include "app/Grundeinstellungen.h"
#include "generator/Einzelbildseite.h"
#include "generator/Namen.h"
#include "imaging/NumberFormat.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

const std::string kBilder = std::string(MOSAIK_TEST_DATA) + "/captions/";
const std::string kGolden = std::string(MOSAIK_TEST_DATA) + "/einzelbild/";

using seitentest::lesen;
using seitentest::schreiben;

// A folder "reise" below the picture folder with three pictures:
//   eins.jpg  80 x 60, EXIF and a two-line comment; companion eins.txt (12 bytes)
//   zwei.jpg  40 x 30; companions zwei.wav (2000 bytes) and zwei.mp3 (100 bytes)
//   drei.jpg  40 x 30, no companion
// The pages go below <picture folder>/html/.
struct Einzelbild : seitentest::LaufBasis {
  std::string reise;
  TDateiArray liste;

  void SetUp() override {
    LaufBasis::SetUp();
    imaging::SetDecimalSeparator(',');
    reise = bilder() + "reise/";
    std::filesystem::create_directory(reise);
    std::filesystem::copy_file(kBilder + "urlaub.jpg", reise + "eins.jpg");
    std::filesystem::copy_file(kBilder + "leer.jpg", reise + "zwei.jpg");
    std::filesystem::copy_file(kBilder + "nurexif.jpg", reise + "drei.jpg");
    schreiben(reise + "eins.txt", "Hallo Welt\r\n");
    schreiben(reise + "zwei.wav", std::string(2000, 'w'));
    schreiben(reise + "zwei.mp3", std::string(100, 'm'));
    liste = {eintrag("eins.jpg", 718, 80, 60), eintrag("zwei.jpg", 2100, 40, 30), eintrag("drei.jpg", 597, 40, 30)};

    m.setText(Opt::EdNameHTML, "galerie.htm");
    m.setText(Opt::EdSeitentitel, "Meine Bilder");
    m.setChecked(Opt::CBDiashow, true);
    m.setChecked(Opt::CBKleineDateinamen, false);
    m.setChecked(Opt::CBZTextGrossOben, true);
    m.setText(Opt::MZTextGrossOben, "Oben & <b>fett</b> Grüße");
    m.setChecked(Opt::CBZTextGrossUnten, true);
    m.setText(Opt::MZTextGrossUnten, "Unten");
    m.setText(Opt::EdnavGrossZurueck, "  zurück ");
    m.setChecked(Opt::CBNavgrafikenGrossMitTitle, false);
    m.setText(Opt::MBeschreibungGross, "\\dn\\[\\zu\\ko\\]");
    m.setChecked(Opt::CBGrossBildLinkText, true);
    m.setChecked(Opt::CBGrossBildLinkAudio, true);
    m.setChecked(Opt::CBGrossBildLinkVideo, true);
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

  // The line of the page that starts with the given text ("" when none).
  std::string zeile(const std::string& anfang, const std::string& datei = "reise/galerie-einsjpg.htm") {
    const std::string text = lesen(html() + datei);
    const size_t p = text.find("\r\n" + anfang);
    if (p == std::string::npos) return {};
    return text.substr(p + 2, text.find("\r\n", p + 2) - p - 2);
  }
  // Writes the page of picture i and returns its name.
  std::string seite(int i, bool gestoppt, const std::string& uebersicht = "galerie.htm") {
    std::string name = "unverändert";
    EinzelbildSeiteSchreiben(lauf, uebersicht, uebersicht, reise, liste, i, name, gestoppt);
    return name;
  }
};

// First picture with a running endless slideshow, the middle one stopped
// (two audio companions), the last one without endless navigation.
TEST_F(Einzelbild, TextlinksErstesMittleresUndLetztesBild) {
  EXPECT_EQ(seite(0, false), "galerie-einsjpg.htm");
  EXPECT_EQ(lesen(html() + "reise/galerie-einsjpg.htm"), lesen(kGolden + "text-endlos-erstes.htm"));
  EXPECT_EQ(seite(1, true), "galerie-zweijpg-stopp.htm");
  EXPECT_EQ(lesen(html() + "reise/galerie-zweijpg-stopp.htm"), lesen(kGolden + "text-endlos-mitte-gestoppt.htm"));
  m.setChecked(Opt::CBNavigationEndlos, false);
  EXPECT_EQ(seite(2, false), "galerie-dreijpg.htm");
  EXPECT_EQ(lesen(html() + "reise/galerie-dreijpg.htm"), lesen(kGolden + "text-stoppend-letztes.htm"));
  // A single picture does not link itself, even with endless navigation.
  m.setChecked(Opt::CBNavigationEndlos, true);
  liste.resize(1);
  EXPECT_EQ(seite(0, false), "galerie-einsjpg.htm");
  EXPECT_EQ(lesen(html() + "reise/galerie-einsjpg.htm"), lesen(kGolden + "text-einzelnes-bild.htm"));
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(Einzelbild, XHTMLStrengMitStandardgrafikenNeuemFensterUndOriginal) {
  doctype(2);
  m.setChecked(Opt::CBmitXMLDeklaration, true);
  m.setChecked(Opt::CBDiashow, false);
  m.setChecked(Opt::CBNavigationEndlos, false);
  m.setChecked(Opt::RBNavGrGrafiklinks, true);
  m.setChecked(Opt::RBGrossGrafikStandard, true);
  m.setIndex(Opt::CoBFensterNavigation, 2);
  m.setChecked(Opt::CBOriginaleVerlinken, true);
  m.setChecked(Opt::CBZTextGrossOben, false);
  EXPECT_EQ(seite(0, false), "galerie-einsjpg.htm");
  EXPECT_EQ(lesen(html() + "reise/galerie-einsjpg.htm"), lesen(kGolden + "xhtml-grafik-erstes.htm"));
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

TEST_F(Einzelbild, OrdnerFehlerWirdEinmalGemeldet) {
  // A file where the HTML folder should be: no folder can be made below it.
  schreiben(bilder() + "datei", "x");
  st.HTMLOrdnerPfad = bilder() + "datei";
  EXPECT_EQ(seite(0, false), "galerie-einsjpg.htm");
  seite(1, false);
  seite(2, true);
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Error);
  EXPECT_EQ(u.dialoge.meldungen[0].text,
            "Der Ordner " + bilder() + "datei/reise/\r\nkann nicht angelegt werden!");
}

TEST_F(Einzelbild, SchreibfehlerWirdGemeldetUndDasNaechsteBildFolgt) {
  std::filesystem::create_directories(html() + "reise/galerie-einsjpg.htm");
  seite(0, false);
  seite(1, false);
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  const std::string& t = u.dialoge.meldungen[0].text;
  EXPECT_EQ(t.rfind("Speichern der HTML-Datei " + html() + "reise/galerie-einsjpg.htm\r\nfehlgeschlagen!\r\n", 0), 0u)
      << t;
  EXPECT_TRUE(fs::fileExists(html() + "reise/galerie-zweijpg.htm"));
}

TEST_F(Einzelbild, NavigationstexteAusLeerzeichenUndFensterSchliessen) {
  m.setText(Opt::EdnavGrossZurueck, "   ");
  m.setText(Opt::EdnavGrossWeiter, "");  // empty: no link
  m.setIndex(Opt::CoBFensterNavigation, 1);
  m.setEnabled(Opt::CoBFensterNavigation, false);  // a disabled choice does not count
  seite(1, false);
  EXPECT_EQ(zeile("<div id=\"navieinzelbild\">", "reise/galerie-zweijpg.htm"),
            "<div id=\"navieinzelbild\">&nbsp;&nbsp;&nbsp;<a href=\"galerie.htm\">&Uuml;bersicht</a>"
            "<a href=\"galerie-zweijpg-stopp.htm\">Stopp</a></div>");
  m.setEnabled(Opt::CoBFensterNavigation, true);
  m.setChecked(Opt::CBNavigationGrosseBilder, false);
  seite(0, false);
  EXPECT_EQ(zeile("<div id=\"navi"), "");
}

// The navigation texts go into alt and title as they go between tags on the
// overview pages: an entity the user typed stays one, letters get theirs;
// only '"' is escaped, since it would end the value.
TEST_F(Einzelbild, NavigationstexteInAltUndTitle) {
  m.setChecked(Opt::RBNavGrGrafiklinks, true);
  m.setChecked(Opt::RBGrossGrafikStandard, true);
  m.setChecked(Opt::CBNavgrafikenGrossMitTitle, true);
  const struct {
    const char* text;
    const char* kodiert;
  } faelle[] = {
      {"&laquo; zurück", "&laquo; zur&uuml;ck"},
      {"Tom & \"Jörg\"", "Tom & &quot;J&ouml;rg&quot;"},
      {"&quot;Ä&quot; &#8592;", "&quot;&Auml;&quot; &#8592;"},
      {"€ – ←", "&euro; &#8211; &#8592;"},
  };
  for (const auto& f : faelle) {
    m.setText(Opt::EdnavGrossZurueck, f.text);
    seite(1, false);
    const std::string k = f.kodiert;
    EXPECT_NE(zeile("<div id=\"navieinzelbild\">", "reise/galerie-zweijpg.htm")
                  .find("<div id=\"navieinzelbild\"><a href=\"galerie-einsjpg.htm\"><img "
                        "src=\"../navgrosszurueck.png\" width=\"16\" height=\"16\" alt=\"" +
                        k + "\" title=\"" + k + "\"></a>"),
              std::string::npos)
        << zeile("<div id=\"navieinzelbild\">", "reise/galerie-zweijpg.htm");
  }
}

// Names that need encoding in links, attributes and the refresh target;
// without caption and companions the side-file line stays, empty.
TEST_F(Einzelbild, NamenInLinksUndAttributen) {
  std::filesystem::copy_file(kBilder + "leer.jpg", reise + "Tom & Jörg.jpg");
  liste = {eintrag("Tom & Jörg.jpg", 339, 40, 30), eintrag("zwei.jpg", 2100, 40, 30)};
  m.setText(Opt::MBeschreibungGross, "");
  m.setChecked(Opt::CBGrossBildHint, false);
  EXPECT_EQ(seite(0, false, "übersicht.htm"), "übersicht-Tom & Jörgjpg.htm");
  EXPECT_EQ(lesen(html() + "reise/übersicht-Tom & Jörgjpg.htm"), lesen(kGolden + "text-namen-kodiert.htm"));
}

TEST_F(Einzelbild, BegleitdateienInAndererSchreibweise) {
  std::filesystem::rename(reise + "eins.txt", reise + "EINS.TXT");
  schreiben(reise + "eins.AVI", std::string(1025, 'a'));
  seite(0, false);
  EXPECT_EQ(lesen(html() + "reise/galerie-einsjpg.htm"), lesen(kGolden + "text-begleiter-grossschrift.htm"));
  // With lower-case names the companions get their web-safe names first.
  m.setChecked(Opt::CBUngueltigeNamenErsetzen, true);
  m.setChecked(Opt::CBKleineDateinamen, true);
  seite(0, false);
  EXPECT_EQ(lesen(html() + "reise/galerie-einsjpg.htm"), lesen(kGolden + "text-begleiter-kleinschrift.htm"));
  EXPECT_TRUE(fs::fileExists(reise + "eins.txt"));
  EXPECT_TRUE(fs::fileExists(reise + "eins.avi"));
  // A companion the attribute options exclude is not linked.
  m.setChecked(Opt::CBKleineDateinamen, false);
  ::chmod((reise + "eins.txt").c_str(), 0444);
  m.setChecked(Opt::CBAttrSchreibschutz, false);
  seite(0, false);
  EXPECT_EQ(lesen(html() + "reise/galerie-einsjpg.htm"), lesen(kGolden + "text-begleiter-schreibgeschuetzt.htm"));
}

TEST_F(Einzelbild, LinksZuOriginalenUndErsetztePfade) {
  m.setChecked(Opt::CBOriginaleVerlinken, true);
  m.setChecked(Opt::CBPfadOriginaleErsetzen, true);
  m.setText(Opt::EdOriginalePfadErsetzung, "originale/");
  seite(0, false);
  EXPECT_EQ(lesen(html() + "reise/galerie-einsjpg.htm"), lesen(kGolden + "text-original-ersetzt.htm"));
  m.setText(Opt::EdOriginalePfadErsetzung, "https://fotos.example/o/");
  seite(0, false);
  EXPECT_EQ(zeile("    <a").substr(0, 53), "    <a href=\"https://fotos.example/o/reise/eins.jpg\">");

  // Pictures shown from reduced large images link to the original, whose
  // name lacks the large-image affix.
  m.setChecked(Opt::CBPfadOriginaleErsetzen, false);
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  m.setText(Opt::EdErweiterungGrosseBilder, "-gross-");
  m.setChecked(Opt::RBVorneGrosseBilder, true);
  const std::string gross = html() + "_gross/reise/";
  std::filesystem::create_directories(gross);
  std::filesystem::copy_file(kBilder + "urlaub.jpg", gross + "-gross-eins.jpg");
  liste = {eintrag("-gross-eins.jpg", 718, 80, 60)};
  std::string name;
  EinzelbildSeiteSchreiben(lauf, "galerie.htm", "galerie.htm", gross, liste, 0, name, false);
  EXPECT_EQ(name, "galerie--gross-einsjpg.htm");
  EXPECT_EQ(zeile("    <a", "reise/" + name),
            "    <a href=\"../../reise/eins.jpg\"><img src=\"../_gross/reise/-gross-eins.jpg\" width=\"80\" "
            "height=\"60\" alt=\"-gross-eins.jpg\" title=\"-gross-eins.jpg  80x60  0 KB\"></a>");
}

TEST_F(Einzelbild, EigenerDateiabschlussMitWegZurueck) {
  m.setChecked(Opt::CBeigenenHeaderVerwenden, true);
  m.setChecked(Opt::RBNeuerHeaderAlleSeiten, true);
  m.setText(Opt::MNeuerHeader, "<html><body [BODYID]>");
  m.setText(Opt::MNeuerDateiabschluss, "<p><a href=\"[htmlpfad]index.htm\">Start</a></p>\n</body></html>");
  seite(0, false);
  EXPECT_EQ(lesen(html() + "reise/galerie-einsjpg.htm"), lesen(kGolden + "text-eigener-rahmen.htm"));
}

TEST_F(Einzelbild, AnzeigegroesseNachDenOptionenUndUnlesbaresBild) {
  m.setChecked(Opt::RBdummy1, true);  // not the original size, but:
  m.setChecked(Opt::RBGrosseBilderLaengereSeite, true);
  m.setSpin(Opt::SpEdGrosseBilder, 40);
  seite(0, false);
  // 80 x 60 shown on its longer side of 40; the hint keeps the picture's own size.
  EXPECT_EQ(lesen(html() + "reise/galerie-einsjpg.htm"), lesen(kGolden + "text-anzeige-laengere-seite.htm"));
  // A picture that cannot be read: the reader says so, the page leaves the
  // size out.
  schreiben(reise + "eins.jpg", "kein JPEG");
  liste[0].Breite = liste[0].Hoehe = 0;
  m.setText(Opt::MBeschreibungGross, "");
  seite(0, false);
  EXPECT_EQ(zeile("    <img"), "    <img src=\"../../reise/eins.jpg\" alt=\"eins.jpg\" title=\"eins.jpg  0x0  0 KB\">");
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].text.rfind("Fehler beim Einlesen der Datei\r\n", 0), 0u);
}

}  // namespace
}  // namespace mosaik
