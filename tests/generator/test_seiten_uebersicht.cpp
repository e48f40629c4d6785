// The parts of an overview page: heading block and path of links, paging
// links, subfolder table, footer, and the size text. What the default
// settings write is fixed by the golden pages.
#include <tuple>

#include "generator/Uebersichtsseiten.h"
#include "platform/FileSystem.h"
#include "test_seiten_basis.h"

namespace mosaik::seitentest {
namespace {

// 2023-05-17 12:00:00 as a packed DOS date-time.
constexpr uint32_t kDatum = ((43u << 9 | 5u << 5 | 17u) << 16) | (12u << 11);

struct UebersichtTest : LaufBasis {
  std::string ueberschrift(const std::string& ordner, const std::string& kette, int p, int n) {
    HTMLSeite s;
    UeberschriftSchreiben(k, s, ordner, kette, p, n);
    return s.text();
  }
  std::string navigation(const std::string& ordner, int p, int index, int n, bool oben) {
    HTMLSeite s;
    SeitennavigationSchreiben(k, s, ordner, p, index, n, oben);
    return s.text();
  }
  std::string fusszeile(const std::string& ordner, int p) {
    HTMLSeite s;
    FusszeileSchreiben(k, s, ordner, p);
    return s.text();
  }
  std::string unterordner(const TVerzeichnisArray& liste, int start, const std::string& ordner = "") {
    HTMLSeite s;
    UnterordnerTabelleSchreiben(lauf, s, ordner.empty() ? bilder() : ordner, html() + "_vorschau/", liste, start);
    return s.text();
  }
  TVerzeichnisArray ordner(std::initializer_list<const char*> namen) {
    TVerzeichnisArray l;
    for (const char* n : namen) {
      schreiben(bilder() + n + "/" + n + ".jpg", testJpeg(40, 30, 1536));
      l.push_back({n, n, kDatum});
    }
    return l;
  }
};

TEST(Groessentext, EinheitenRundungUndTrennzeichen) {
  // Ties go to the even tenth: 1.25 KB (1280) and 1.75 KB (1792).
  for (auto [bytes, trenner, text] :
       {std::tuple<int64_t, char, const char*>{0, ',', "0 B"}, {1024, ',', "1024 B"}, {1025, ',', "1 KB"},
        {1536, ',', "1,5 KB"}, {1536, '.', "1.5 KB"}, {1331, ',', "1,3 KB"}, {1280, ',', "1,2 KB"},
        {1792, ',', "1,8 KB"}, {1048576, ',', "1024 KB"}, {1048577, ',', "1 MB"},
        {int64_t{2000} * 1048576, ',', "2000 MB"}, {int64_t{5} * 1024 * 1048576 + 1048576 / 2, ',', "5120,5 MB"}})
    EXPECT_EQ(GroesseText(bytes, trenner), text) << bytes;
}

TEST_F(UebersichtTest, UeberschriftUndPfadDerLinks) {
  const std::string tag = bilder() + "Urlaub/Tag 1/";
  std::filesystem::create_directories(tag);
  schreiben(bilder() + "Urlaub/DIRNAME.TXT", "Urlaub am Meer\r\nzweite Zeile\r\n");
  EXPECT_EQ(ueberschrift(tag, "-0-1-4", 1, 1),
            "\r\n<h1>Meine Fotos</h1>\r\n<h2>Tag 1</h2>\r\n<div id=\"ordnavi\"><a href=\"../../index.htm\">"
            "Startordner</a>/<a href=\"../index.htm\">Urlaub am Meer</a>/Tag 1</div>\r\n");
  // A flat gallery: every page in the HTML folder.
  m.setChecked(Opt::RBStrukturflach, true);
  EXPECT_NE(ueberschrift(tag, "-0-1-4", 1, 1)
                .find("<div id=\"ordnavi\"><a href=\"index.htm\">Startordner</a>/<a href=\"meinebilder(1).htm\">"
                      "Urlaub am Meer</a>/Tag 1</div>\r\n"),
            std::string::npos);
  m.setChecked(Opt::RBStrukturOrdner, true);
  // The own name file; an empty one names nothing.
  schreiben(tag + "dirname.txt", "Tag 1 – Ankunft & Strand\n");
  EXPECT_NE(ueberschrift(tag, "-0-1-4", 2, 3).find("<h2>Tag 1 &#8211; Ankunft &amp; Strand 2/3</h2>\r\n"),
            std::string::npos);
  schreiben(tag + "dirname.txt", "");
  EXPECT_NE(ueberschrift(tag, "-0-1-4", 1, 1).find("<h2>Tag 1</h2>\r\n"), std::string::npos);

  // The top folder: no path of links; the start name as the folder name.
  m.setText(Opt::EdStartordnerName, "Übersicht");
  m.setChecked(Opt::CBSeitenanzahlAnzeigen, false);
  EXPECT_EQ(ueberschrift(bilder(), "-0", 2, 3), "\r\n<h1>Meine Fotos</h1>\r\n<h2>&Uuml;bersicht</h2>\r\n");
  m.setText(Opt::EdUeberschrift, "");
  m.setChecked(Opt::CBmitUnterverzeichnissen, false);
  EXPECT_EQ(ueberschrift(bilder(), "-0", 1, 1), "\r\n");
}

TEST_F(UebersichtTest, OrdnerinfoUndExtratext) {
  schreiben(bilder() + "dirinfo.txt", "Sommer 2023\nam Meer: \xE4\xF6\xFC");  // Windows-1252
  m.setText(Opt::EdUeberschrift, "");
  m.setChecked(Opt::CBOrdnernameAnzeigen, false);
  m.setChecked(Opt::CBZTextUebOben, true);
  m.setText(Opt::MZTextUebOben, "Willkommen!");
  const std::string di = "<div id=\"di\">Sommer 2023\r\nam Meer: &auml;&ouml;&uuml;\r\n</div>\r\n";
  EXPECT_EQ(ueberschrift(bilder(), "-0", 1, 2), "\r\n" + di + "<div id=\"etueboben\">Willkommen!</div>\r\n");
  EXPECT_EQ(ueberschrift(bilder(), "-0", 2, 2), "\r\n" + di);
  // The same text saved as UTF-16 by a Windows editor.
  schreiben(bilder() + "dirinfo.txt", std::string("\xFF\xFES\0o\0m\0m\0e\0r\0 \0" "2\0" "0\0" "2\0" "3\0\n\0"
                                                  "a\0m\0 \0M\0e\0e\0r\0:\0 \0\xE4\0\xF6\0\xFC\0", 50));
  EXPECT_EQ(ueberschrift(bilder(), "-0", 2, 2), "\r\n" + di);
  m.setChecked(Opt::RBZTextUebObenAufJederSeite, true);
  EXPECT_EQ(ueberschrift(bilder(), "-0", 2, 2), "\r\n" + di + "<div id=\"etueboben\">Willkommen!</div>\r\n");
  m.setChecked(Opt::CBdirinfoeinbinden, false);
  m.setChecked(Opt::CBZTextUebOben, false);
  EXPECT_EQ(ueberschrift(bilder(), "-0", 1, 2), "\r\n");
}

TEST_F(UebersichtTest, BlaetternMitTextUndGrafik) {
  EXPECT_EQ(navigation(bilder(), 1, -1, 1, true), "");
  EXPECT_EQ(navigation(bilder(), 2, -1, 3, true), teil("blaettern-text.htm"));
  m.setChecked(Opt::RBNavUebGrafiklinks, true);
  doctype(2);
  const std::string tief = bilder() + "a/b/";
  EXPECT_EQ(navigation(tief, 2, 4, 2, true), teil("blaettern-grafik-xhtml.htm"));
  m.setChecked(Opt::CBNavgrafikenUebMitTitle, false);
  m.setChecked(Opt::RBUebGrafikIndividuell, true);
  m.setText(Opt::EdGrafikUebWeiter, "vor.gif");
  m.setChecked(Opt::RBStrukturflach, true);
  // An own graphic without a file gives no link at all.
  EXPECT_EQ(navigation(tief, 2, 4, 3, false), teil("blaettern-eigene-grafik-flach.htm"));
  // A '"' in the text would end the attribute; an entity typed stays one.
  m.setText(Opt::EdBlaetternVor, "&raquo; \"vor\"");
  EXPECT_NE(navigation(tief, 2, 4, 3, false).find("<img src=\"vor.gif\" alt=\"&raquo; &quot;vor&quot;\" title=\"\" />"),
            std::string::npos)
      << navigation(tief, 2, 4, 3, false);
}

TEST_F(UebersichtTest, UnterordnerSpaltenweiseUndZeilenweise) {
  m.setText(Opt::SpEdOrdnerSpalten, "2");
  const TVerzeichnisArray l = ordner({"a", "b", "c", "d", "e"});
  EXPECT_EQ(unterordner(l, 0), teil("unterordner-spaltenweise.htm"));
  m.setChecked(Opt::RBOrdnerZeilenweise, true);
  m.setText(Opt::SpEdOrdnerSpaltenabstand, "-1");
  m.setChecked(Opt::CBmitHR, false);
  EXPECT_EQ(unterordner(l, 0), teil("unterordner-zeilenweise.htm"));
  // Only this folder's run of the list; flat page names by list position.
  m.setChecked(Opt::RBStrukturflach, true);
  m.setText(Opt::SpEdOrdnerSpalten, "3");
  EXPECT_EQ(unterordner(l, 3), teil("unterordner-flach.htm"));
  // No subfolders and nothing to count: no table at all.
  EXPECT_EQ(unterordner(l, 5), "");
  m.setChecked(Opt::CBmitUnterverzeichnissen, false);
  EXPECT_EQ(unterordner(l, 0), "");
}

TEST_F(UebersichtTest, UnterordnerMitZahlenDatumUndDiesemOrdner) {
  schreiben(bilder() + "top.jpg", testJpeg(40, 30, 1536));
  TVerzeichnisArray l = ordner({"d", "e"});
  schreiben(bilder() + "e/x/x.jpg", testJpeg(40, 30, 1536));
  m.setChecked(Opt::CBUnterordnerMitAnzDateien, true);
  m.setChecked(Opt::CBAnzeigeUnterodnerMitDateigroesse, true);
  m.setChecked(Opt::CBAnzeigeUnterordnerMitAnzUnterordner, true);
  m.setChecked(Opt::CBUnterordnerMitDatum, true);
  // What the enabling rules do once the counts are switched on.
  for (Opt o : {Opt::CBUnterordnerMitAnzDateienRek, Opt::CBAnzeigeUnterodnerMitGroesseRek,
                Opt::CBAnzeigeUnterodnerMitUnterordnerRek})
    m.setEnabled(o, true);
  EXPECT_EQ(unterordner(l, 0), teil("unterordner-zahlen.htm"));
  // Without subfolders the counts of this folder alone.
  m.setChecked(Opt::CBmitUnterverzeichnissen, false);
  m.setEnabled(Opt::CBUnterordnerMitAnzDateienRek, false);
  m.setEnabled(Opt::CBAnzeigeUnterodnerMitGroesseRek, false);
  m.setEnabled(Opt::CBAnzeigeUnterodnerMitUnterordnerRek, false);
  EXPECT_EQ(unterordner(l, 0), teil("unterordner-dieser-ordner.htm"));
}

TEST_F(UebersichtTest, UnterordnerbildMitUndOhneVorschaubild) {
  TVerzeichnisArray l = ordner({"d"});
  schreiben(bilder() + "d/dirname.txt", "Dörfer");
  std::filesystem::create_directories(bilder() + "e");
  schreiben(bilder() + "e/E Bild.JPG", testJpeg(40, 30, 1536));
  l.push_back({"e", "e", kDatum});
  schreiben(html() + "_vorschau/d/mini-d.jpg", testJpeg(40, 30, 1536));
  m.setChecked(Opt::CBUnterordnerbildAnzeigen, true);
  m.setSpin(Opt::SpEdGroesse, 20);
  std::string t = unterordner(l, 0);
  // A kept thumbnail gives its own size.
  EXPECT_NE(t.find("    <td><a href=\"d/index.htm\"><img src=\"_vorschau/d/mini-d.jpg\" width=\"40\" height=\"30\" "
                   "alt=\"d.jpg\" title=\"D&ouml;rfer\"></a><a href=\"d/index.htm\">D&ouml;rfer</a></td>\r\n"),
            std::string::npos)
      << t;
  // Not entered by the walk yet: the name it will have, and the size it
  // will be made at.
  EXPECT_NE(t.find("<a href=\"e/index.htm\"><img src=\"_vorschau/e/mini-e_bild.jpg\" width=\"20\" height=\"15\" "
                   "alt=\"E Bild.JPG\" title=\"e\"></a>"),
            std::string::npos)
      << t;
  m.setChecked(Opt::CBVorschaubilderErsetzen, true);
  t = unterordner(l, 0);
  EXPECT_NE(t.find("<img src=\"_vorschau/d/mini-d.jpg\" width=\"20\" height=\"15\" "), std::string::npos) << t;
  m.setChecked(Opt::CBVorschaubilderErzeugen, false);
  m.setChecked(Opt::CBOrdnernamenAnzeigen, false);
  m.setChecked(Opt::CBDateinameAlsHint, false);
  EXPECT_NE(unterordner(l, 0).find("<td><a href=\"d/index.htm\"><img src=\"../d/d.jpg\" alt=\"d.jpg\" title=\"\">"
                                   "</a></td>"),
            std::string::npos);
}

TEST_F(UebersichtTest, FusszeileUndSeitenende) {
  doctype(2);
  m.setText(Opt::EdBilderCopyright, "© [autor] & [AUTOR]");
  m.setText(Opt::EdMetaAutor, "Jörg");
  m.setChecked(Opt::CBmitLinkNachOben, false);
  m.setChecked(Opt::CBLinkZurueckZurHomepage, true);
  m.setChecked(Opt::CBeigenenHeaderVerwenden, true);
  m.setText(Opt::MNeuerDateiabschluss, "<p><a href=\"[htmlpfad]impressum.htm\">Impressum</a></p>\n</body></html>");
  EXPECT_EQ(fusszeile(bilder() + "a/b/", 1), teil("fusszeile-xhtml-eigen.htm"));
  // The link back at the bottom, on the start page.
  EXPECT_EQ(fusszeile(bilder(), 1).rfind("<p><a href=\"../index.htm\">zur&uuml;ck</a></p>\r\n<hr />\r\n", 0), 0u);
}

TEST_F(UebersichtTest, NamensdateiWirdOhneLeereZeileGelesen) {
  EXPECT_FALSE(DirnameErsteZeile(bilder()).has_value());
  schreiben(bilder() + "DirName.Txt", "\r\nspäter");
  EXPECT_FALSE(DirnameErsteZeile(bilder()).has_value());
  schreiben(bilder() + "DirName.Txt", "\xEF\xBB\xBFK\xC3\xB6ln\r\n");
  EXPECT_EQ(DirnameErsteZeile(bilder()), std::optional<std::string>("Köln"));
  schreiben(bilder() + "DirName.Txt", "K\xF6ln");
  EXPECT_EQ(DirnameErsteZeile(bilder()), std::optional<std::string>("Köln"));
  const std::string utf16 = std::string("\xFF\xFEK\0\xF6\0l\0n\0\r\0\n\0", 14);
  schreiben(bilder() + "DirName.Txt", utf16);
  EXPECT_EQ(DirnameErsteZeile(bilder()), std::optional<std::string>("Köln"));
  schreiben(bilder() + "DirName.Txt", utf16 + "Bonn\n");  // a line appended in an 8-bit encoding
  EXPECT_FALSE(DirnameErsteZeile(bilder()).has_value());
}

struct OrdnerSeitenTest : LaufBasis {
  TDateiArray liste;
  void SetUp() override {
    LaufBasis::SetUp();
    m.setChecked(Opt::CBVorschaubilderErzeugen, false);
    m.setChecked(Opt::RBnichtverlinken, true);
    m.setText(Opt::MBeschreibung, "");
    for (const char* n : {"a.jpg", "b.jpg", "c.jpg"}) {
      schreiben(bilder() + n, testJpeg(40, 30, 1536));
      TDateieintrag e;
      e.Name = n;
      e.Breite = 40;
      e.Hoehe = 30;
      e.Groesse = 1536;
      liste.push_back(e);
    }
  }
  void schreibenIn(const std::string& ordner, int index) {
    TVerzeichnisArray keine;
    OrdnerSeitenSchreiben(lauf, ordner, "", index < 0 ? "-0" : "-0-1", keine, liste, 0, index);
  }
};

TEST_F(OrdnerSeitenTest, JedeSeiteEinzelnUndFehlschlaegeGemeldet) {
  m.setChecked(Opt::RBZeilenzahl, true);
  m.setText(Opt::SpEdSpaltenzahl, "1");
  m.setText(Opt::SpEdZeilenProSeitezahl, "1");
  // The second page cannot be written: the others are.
  std::filesystem::create_directories(html() + "meinebilder(2).htm");
  schreibenIn(bilder(), -1);
  EXPECT_NE(lesen(html() + "index.htm").find("<h2>Startordner 1/3</h2>"), std::string::npos);
  EXPECT_NE(lesen(html() + "meinebilder(3).htm").find("<h2>Startordner 3/3</h2>"), std::string::npos);
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Error);
  EXPECT_EQ(u.dialoge.meldungen[0].text, "Speichern der HTML-Datei " + html() +
                                             "meinebilder(2).htm\r\nfehlgeschlagen!\r\nDie Datei " + html() +
                                             "meinebilder(2).htm kann nicht geschrieben werden (dort steht keine "
                                             "gewöhnliche Datei).");

  // A target folder that cannot be made is reported once for the folder.
  u.dialoge.meldungen.clear();
  std::filesystem::create_directories(bilder() + "sub");
  schreiben(html() + "sub", "eine Datei, kein Ordner");
  schreibenIn(bilder() + "sub/", 0);
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].text, "Der Ordner " + html() + "sub/\r\nkann nicht angelegt werden!");
}

TEST_F(OrdnerSeitenTest, AbbruchLaesstDieAlteSeiteStehen) {
  schreiben(html() + "index.htm", "alte Seite");
  int pumpen = 0;
  u.sv.pump = [&] {
    if (++pumpen == 3) AbbruchFlag = 1;
  };
  schreibenIn(bilder(), -1);
  EXPECT_EQ(lesen(html() + "index.htm"), "alte Seite");
  EXPECT_TRUE(u.dialoge.meldungen.empty());  // the walk reports the cancel
  AbbruchFlag = 0;
  u.sv.pump = [] {};
  schreibenIn(bilder(), -1);
  EXPECT_NE(lesen(html() + "index.htm").find("<td>" "<img src=\"../c.jpg\""), std::string::npos);
}

}  // namespace
}  // namespace mosaik::seitentest
