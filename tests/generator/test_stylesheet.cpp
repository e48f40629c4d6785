// The style sheet: the files of the built-in defaults and of two sets of
// changed options, byte for byte, and the options the files leave out.
#include "app/Einstellungen.h"
#include "generator/Namen.h"
#include "generator/StyleSheet.h"
#include "test_seiten_basis.h"

namespace mosaik::seitentest {
namespace {

struct StyleSheetTest : SeitenBasis {
  std::string css() { return StyleSheetErzeugen(k); }
  bool enthaelt(const std::string& block) { return css().find(block) != std::string::npos; }
  // The file as written, against the one written by hand.
  void vergleichen(const std::string& golden) {
    std::filesystem::create_directories(html());
    bool ok = true;
    CSSDateiSchreiben(k, html(), ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(u.dialoge.meldungen.empty());
    const std::string erwartet = lesen(std::string(MOSAIK_TEST_DATA) + "/seiten/" + golden);
    ASSERT_FALSE(erwartet.empty());
    EXPECT_EQ(lesen(html() + "meinebilder.css"), erwartet) << golden;
  }
};

TEST_F(StyleSheetTest, GrundeinstellungenErgebenDieErwarteteDatei) {
  vergleichen("standard.css");
  // The page head links exactly this name.
  EXPECT_EQ(CSSDateiname(k), "meinebilder.css");
}

TEST_F(StyleSheetTest, ZentrierungMitLayouttabellenOhneAbstaendeUndSchriften) {
  m.setText(Opt::SpEdAbstand1, "0");
  m.setText(Opt::SpEdAbstand2, "0");
  m.setChecked(Opt::CBZentrerirungstrick, true);
  m.setChecked(Opt::RBVorschauhintergrundFarbe, true);
  m.setColor(Opt::PZentrierungstrickFarbe, 0x12AB34);
  m.setText(Opt::SpEdGroesse, "95");
  m.setChecked(Opt::CBRestFesteSchrift, true);
  m.setText(Opt::CoBResttext, "Arial");
  m.setIndex(Opt::CoBRestWeicheSchriftart, 2);
  m.setIndex(Opt::CoBRestSchriftschnitt, 2);
  // A named font with an empty name is no named font.
  m.setChecked(Opt::CBUebFesteSchrift, true);
  m.setText(Opt::CoBUeberschrift, "");
  m.setIndex(Opt::CoBUebWeicheSchriftart, 5);
  m.setIndex(Opt::CoBUebSchriftschnitt, 1);
  m.setText(Opt::CoBUebGroesse, "large");
  vergleichen("zentriert-schriften.css");
  m.setIndex(Opt::CoBRestWeicheSchriftart, 0);
  EXPECT_TRUE(enthaelt("body,table,p  {\r\n   font-family:'Arial';\r\n"));
}

TEST_F(StyleSheetTest, RahmenFarbenAbstaendeFusszeileUndSchriften) {
  m.setChecked(Opt::CBHintergrundgrafik, true);
  EXPECT_FALSE(enthaelt("background-image"));  // no file named
  m.setText(Opt::EdHintergrundgrafik, "grund.png");
  m.setColor(Opt::PanelLinienFarbe, 0xA0B0C0);
  m.setChecked(Opt::CBTabellenrahmen, true);
  m.setText(Opt::SpEdAbstand1, "4");
  m.setText(Opt::SpEdOrdnerSpaltenabstand, "-1");
  m.setText(Opt::SpEdVertikalerAbstand, "3");
  m.setChecked(Opt::CBBilderCopyright, false);
  m.setChecked(Opt::RBBreite, true);
  m.setIndex(Opt::CoBRestSchriftschnitt, 4);
  m.setText(Opt::CoBRestGroesse, "12pt");
  m.setChecked(Opt::CBUebFesteSchrift, true);
  m.setText(Opt::CoBUeberschrift, "Times New Roman");
  m.setIndex(Opt::CoBUebSchriftschnitt, 3);
  m.setText(Opt::CoBUebGroesse, "large");
  // The sub-heading size as a settings file gives it.
  seitentest::schreiben(tmp.pfad() + "h2.ini", "[FarbenUndFonts]\r\nFont1Größe2=x-large\r\n");
  IniFileLesen(k, tmp.pfad() + "h2.ini");
  vergleichen("rahmen-schriften.css");
  m.setChecked(Opt::RBHoehe, true);
  EXPECT_TRUE(enthaelt("#vorschau td .bild {\r\n   height:120px;\r\n   background-color:transparent;\r\n"));
  m.setChecked(Opt::RBVorschauQuadratisch, true);
  m.setChecked(Opt::CBZentrerirungstrick, true);  // only with the longer side
  EXPECT_TRUE(enthaelt("#vorschau td .bild {\r\n   width:120px;\r\n   height:120px;\r\n"
                       "   background-color:transparent;\r\n   margin:auto;\r\n}\r\n"));
  m.setChecked(Opt::CBmitLinkNachOben, false);
  m.setChecked(Opt::CBCopyright, false);
  EXPECT_TRUE(enthaelt("   background-color:#FFFFFF;\r\n   margin-bottom:1.5em;\r\n}\r\n"));
  m.setChecked(Opt::CBBilderCopyright, true);
  EXPECT_FALSE(enthaelt("margin-bottom:1.5em"));
}

TEST_F(StyleSheetTest, EigenerTextUndFehlschlag) {
  std::filesystem::create_directories(html());
  m.setChecked(Opt::CBCSSDateiaendern, true);
  m.setText(Opt::MangepassteCSSDatei, "body { color: red; } /* Größe */\r\n");
  bool ok = true;
  CSSDateiSchreiben(k, html(), ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(lesen(html() + "meinebilder.css"), "body { color: red; } /* Gr\xF6\xDF" "e */\r\n");

  // A folder that cannot take the file: the message names the file and ok
  // is cleared.
  const std::string fehlt = tmp.pfad() + "fehlt/";
  CSSDateiSchreiben(k, fehlt, ok);
  EXPECT_FALSE(ok);
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Error);
  EXPECT_EQ(u.dialoge.meldungen[0].text.rfind("Speichern der StyleSheet-Datei " + fehlt +
                                                  "meinebilder.css\r\nfehlgeschlagen!\r\n",
                                              0),
            0u);
  EXPECT_FALSE(std::filesystem::exists(fehlt));
}

}  // namespace
}  // namespace mosaik::seitentest
