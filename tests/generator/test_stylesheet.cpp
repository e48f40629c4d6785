// The style sheet: the file of the built-in defaults, byte for byte, and
// each option that changes it.
#include "app/Einstellungen.h"
#include "generator/Namen.h"
#include "generator/StyleSheet.h"
#include "test_seiten_basis.h"

namespace mosaik::seitentest {
namespace {

struct StyleSheetTest : SeitenBasis {
  std::string css() { return StyleSheetErzeugen(k); }
  bool enthaelt(const std::string& block) { return css().find(block) != std::string::npos; }
};

TEST_F(StyleSheetTest, GrundeinstellungenErgebenDieErwarteteDatei) {
  const std::string erwartet = lesen(std::string(MOSAIK_TEST_DATA) + "/seiten/standard.css");
  ASSERT_FALSE(erwartet.empty());
  std::filesystem::create_directories(html());
  bool ok = true;
  CSSDateiSchreiben(k, html(), ok);
  EXPECT_TRUE(ok);
  EXPECT_TRUE(u.dialoge.meldungen.empty());
  EXPECT_EQ(lesen(html() + "meinebilder.css"), erwartet);
  // The page head links exactly this name.
  EXPECT_EQ(CSSDateiname(k), "meinebilder.css");
}

TEST_F(StyleSheetTest, AbstaendeNullUndZentrierungMitLayouttabellen) {
  m.setText(Opt::SpEdAbstand1, "0");
  m.setText(Opt::SpEdAbstand2, "0");
  m.setChecked(Opt::CBZentrerirungstrick, true);
  const std::string c = css();
  EXPECT_NE(c.find("body,table,p  {\r\n}\r\n"), std::string::npos);
  EXPECT_NE(c.find("#ordner td.abst {\r\n   padding-right:1em;\r\n}\r\n"), std::string::npos);
  EXPECT_NE(c.find("   margin-right:auto;\r\n   border-spacing:0px;\r\n}\r\n"), std::string::npos);
  EXPECT_NE(c.find("   vertical-align:top;\r\n   padding:0px;\r\n}\r\n"
                   "#vorschau td .bildzentr {\r\n   border:0;\r\n   border-spacing:0;\r\n   padding:0;\r\n"
                   "   margin:auto;\r\n   background-color:transparent;\r\n   width:120px;\r\n   height:120px;\r\n}\r\n"
                   "#vorschau td .bildzentr td {\r\n   margin:0;\r\n   padding:0;\r\n   border:0;\r\n"
                   "   border-spacing:0;\r\n   vertical-align:middle;\r\n}\r\n#vorschau td .pano {\r\n"),
            std::string::npos);
  m.setChecked(Opt::RBVorschauhintergrundFarbe, true);
  m.setColor(Opt::PZentrierungstrickFarbe, 0x12AB34);
  m.setText(Opt::SpEdGroesse, "95");
  EXPECT_TRUE(enthaelt("   margin:auto;\r\n   background-color:#12AB34;\r\n   width:95px;\r\n   height:95px;\r\n}"));
}

TEST_F(StyleSheetTest, SchriftenSchnitteUndGroessen) {
  m.setChecked(Opt::CBRestFesteSchrift, true);
  m.setText(Opt::CoBResttext, "Arial");
  EXPECT_TRUE(enthaelt("body,table,p  {\r\n   font-family:'Arial';\r\n}\r\n"));
  m.setIndex(Opt::CoBRestWeicheSchriftart, 2);
  EXPECT_TRUE(enthaelt("body,table,p  {\r\n   font-family:'Arial',sans-serif;\r\n}\r\n"));
  m.setChecked(Opt::CBRestFesteSchrift, false);
  m.setIndex(Opt::CoBRestSchriftschnitt, 4);
  m.setText(Opt::CoBRestGroesse, "12pt");
  EXPECT_TRUE(enthaelt("body,table,p  {\r\n   font-family:sans-serif;\r\n   font-weight:bold;\r\n"
                       "   font-style:italic;\r\n   font-size:12pt;\r\n}\r\n"));
  // A named font with an empty name is no named font.
  m.setChecked(Opt::CBUebFesteSchrift, true);
  m.setText(Opt::CoBUeberschrift, "");
  m.setIndex(Opt::CoBUebWeicheSchriftart, 5);
  m.setIndex(Opt::CoBUebSchriftschnitt, 1);
  m.setText(Opt::CoBUebGroesse, "large");
  EXPECT_TRUE(enthaelt("h1,h2 {\r\n   font-family:monospace;\r\n   font-weight:normal;\r\n   font-style:normal;\r\n"
                       "   text-align:center;\r\n}\r\nh1 {\r\n   font-size:large;\r\n}\r\n\r\n/**** "));
  m.setText(Opt::CoBUeberschrift, "Times New Roman");
  m.setIndex(Opt::CoBUebWeicheSchriftart, 0);
  m.setIndex(Opt::CoBUebSchriftschnitt, 3);
  // The sub-heading size as a settings file gives it.
  seitentest::schreiben(tmp.pfad() + "h2.ini", "[FarbenUndFonts]\r\nFont1Größe2=x-large\r\n");
  IniFileLesen(k, tmp.pfad() + "h2.ini");
  EXPECT_TRUE(enthaelt("h1,h2 {\r\n   font-family:'Times New Roman';\r\n   font-style:italic;\r\n"
                       "   text-align:center;\r\n}\r\nh1 {\r\n   font-size:large;\r\n}\r\n\r\n\r\n"
                       "/* Unterüberschrift: Ordnername */\r\nh2 {\r\n   font-size:x-large;\r\n}\r\n\r\n/**** "));
  m.setIndex(Opt::CoBRestSchriftschnitt, 2);
  EXPECT_TRUE(enthaelt("   font-family:sans-serif;\r\n   font-weight:bold;\r\n   font-size:12pt;\r\n}"));
}

TEST_F(StyleSheetTest, FarbenRahmenAbstaendeUndFusszeile) {
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
  const std::string c = css();
  EXPECT_NE(c.find("body {\r\n   color:#000000;\r\n   background-image:url(\"grund.png\");\r\n"
                   "   background-color:#FFFFFF;\r\n}\r\n"),
            std::string::npos);
  EXPECT_NE(c.find("   background-color:#A0B0C0;\r\n   color:#A0B0C0;\r\n"), std::string::npos);
  EXPECT_NE(c.find("   border-spacing:4px;\r\n   border:1px solid #A0B0C0;\r\n}\r\n"), std::string::npos);
  EXPECT_NE(c.find("   vertical-align:top;\r\n   border:1px solid #A0B0C0;\r\n}\r\n"
                   "#vorschau td .bild {\r\n   width:120px;\r\n   background-color:transparent;\r\n"),
            std::string::npos);
  EXPECT_NE(c.find("#ordner td.abst {\r\n\r\n}\r\n"), std::string::npos);
  EXPECT_NE(c.find("#navieinzelbild {\r\n   margin-bottom:3ex;\r\n}\r\n"), std::string::npos);
  EXPECT_NE(c.find("   font-size:70%;\r\n}\r\n#fusszeilenachoben  {\r\n   float:left;\r\n   text-align:left;\r\n"
                   "   margin:0;\r\n}\r\n#fusszeileproghinweis {\r\n"),
            std::string::npos);
  EXPECT_EQ(c.find("fusszeilecopyright"), std::string::npos);
  EXPECT_EQ(c.find("margin-bottom:1.5em"), std::string::npos);
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
