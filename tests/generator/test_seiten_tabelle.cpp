// The division into overview pages and the thumbnail table.
#include <algorithm>
#include <sstream>

#include "generator/Vorschaubild.h"
#include "generator/Uebersichtsseiten.h"
#include "generator/Vorschautabelle.h"
#include "test_seiten_basis.h"

namespace mosaik::seitentest {
namespace {

TDateieintrag bild(const std::string& name, int breite = 40, int hoehe = 30, int64_t groesse = 2048) {
  TDateieintrag e;
  e.Name = name;
  e.Breite = breite;
  e.Hoehe = hoehe;
  e.Groesse = groesse;
  return e;
}

std::vector<int> seiten(const TDateiArray& l) {
  std::vector<int> s;
  for (const auto& e : l) s.push_back(e.Seite);
  return s;
}

struct TabellenTest : LaufBasis {
  void SetUp() override {
    LaufBasis::SetUp();
    m.setChecked(Opt::CBVorschaubilderErzeugen, false);
    m.setChecked(Opt::RBnichtverlinken, true);
    m.setText(Opt::MBeschreibung, "");
    m.setText(Opt::MZTextUebUnten, "");
  }
  std::string tabelle(TDateiArray liste, int seite = 1) {
    HTMLSeite s;
    VorschauTabelleSchreiben(lauf, s, liste, seite, "index.htm", "index.htm", -1, "", bilder());
    return s.text();
  }
};

TEST_F(TabellenTest, SeitenEinteilungMitPanoramen) {
  m.setChecked(Opt::RBZeilenzahl, true);
  m.setText(Opt::SpEdSpaltenzahl, "3");
  m.setText(Opt::SpEdZeilenProSeitezahl, "2");
  TDateiArray l;
  for (const char* n : {"a", "b", "c", "d", "e", "f", "g"}) l.push_back(bild(n));
  SeitenEinteilen(k, l);
  EXPECT_EQ(seiten(l), (std::vector<int>{1, 1, 1, 1, 1, 1, 2}));
  EXPECT_EQ(ErsterIndexAufSeite(l, 2), 6);
  EXPECT_EQ(LetzterIndexAufSeite(l, 1), 5);
  EXPECT_EQ(ErsterIndexAufSeite(l, 3), 7);
  EXPECT_EQ(LetzterIndexAufSeite(l, 0), -1);

  // A panorama over all columns as the third picture ends the first row and
  // fills the second.
  m.setChecked(Opt::CBPanoramaExtrabehandlung, true);
  l = {bild("a"), bild("b"), bild("p", 200, 50), bild("d")};
  SeitenEinteilen(k, l);
  EXPECT_EQ(seiten(l), (std::vector<int>{1, 1, 1, 2}));
  // A ratio of exactly 2 is no panorama.
  l = {bild("a"), bild("b"), bild("p", 200, 100), bild("d")};
  SeitenEinteilen(k, l);
  EXPECT_EQ(seiten(l), (std::vector<int>{1, 1, 1, 1}));
  // A span wider than the table counts as the whole row, also first on a
  // page.
  m.setChecked(Opt::RBPanoramaVorschauEinigeSpalten, true);
  m.setText(Opt::SpEdAnzPanoSpalten, "5");
  EXPECT_EQ(PanoramaSpalten(k), 3);
  l = {bild("p", 201, 100), bild("a"), bild("b"), bild("c"), bild("d")};
  SeitenEinteilen(k, l);
  EXPECT_EQ(seiten(l), (std::vector<int>{1, 1, 1, 1, 2}));
  l.clear();
  SeitenEinteilen(k, l);
  EXPECT_EQ(ErsterIndexAufSeite(l, 1), 0);
  EXPECT_EQ(LetzterIndexAufSeite(l, 1), -1);
}

// Each row: columns, panoramas over how many columns (0: all, -1: no
// panorama treatment), rows per page (0: one page), the pictures ("p" a
// 200 x 50 panorama), the page, the table written by hand.
TEST_F(TabellenTest, ZeilenLeereZellenPanoramenUndSeiten) {
  struct Fall {
    int spalten, panoSpalten, zeilenProSeite;
    const char* bilder;
    int seite;
    const char* tabelle;
  };
  const Fall faelle[] = {
      {3, -1, 0, "a b c d e", 1, "tabelle-zwei-zeilen.htm"},
      {3, 0, 0, "a p c", 1, "tabelle-panorama-alle-spalten.htm"},
      {3, 1, 0, "a p", 1, "tabelle-panorama-eine-spalte.htm"},
      {3, 2, 0, "a b p", 1, "tabelle-panorama-zwei-spalten.htm"},
      {2, -1, 1, "a b c d e", 2, "tabelle-seite-2.htm"},
  };
  for (const Fall& f : faelle) {
    m.setText(Opt::SpEdSpaltenzahl, std::to_string(f.spalten));
    m.setChecked(Opt::CBPanoramaExtrabehandlung, f.panoSpalten >= 0);
    m.setChecked(f.panoSpalten > 0 ? Opt::RBPanoramaVorschauEinigeSpalten : Opt::RBPanoramaVorschauAlleSpalten, true);
    m.setText(Opt::SpEdAnzPanoSpalten, std::to_string(f.panoSpalten));
    m.setChecked(f.zeilenProSeite > 0 ? Opt::RBZeilenzahl : Opt::RBganzerOrdner, true);
    m.setText(Opt::SpEdZeilenProSeitezahl, std::to_string(f.zeilenProSeite));
    TDateiArray l;
    std::istringstream in(f.bilder);
    for (std::string n; in >> n;) l.push_back(n == "p" ? bild("p.jpg", 200, 50) : bild(n + ".jpg"));
    EXPECT_EQ(tabelle(l, f.seite), teil(f.tabelle)) << f.tabelle;
  }
  EXPECT_EQ(tabelle({}), "Keine Bilder in diesem Ordner vorhanden. Bitte w&auml;hlen Sie einen Unterordner!\r\n");
  // Strict pages hold no bare text in the body.
  doctype(0);
  EXPECT_EQ(tabelle({}), "<p>Keine Bilder in diesem Ordner vorhanden. Bitte w&auml;hlen Sie einen Unterordner!</p>\r\n");
}

TEST_F(TabellenTest, LinksZielattributZellabstandUndHuellen) {
  st.cellspacingIE = true;
  m.setText(Opt::SpEdAbstand1, "2");
  m.setChecked(Opt::RBLinkAufBilddatei, true);
  m.setIndex(Opt::CoBFensterNavigation, 2);
  EXPECT_EQ(tabelle({bild("a.jpg")}), teil("tabelle-zellabstand-neues-fenster.htm"));
  m.setIndex(Opt::CoBFensterNavigation, 1);
  m.setChecked(Opt::CBZentrerirungstrick, true);
  EXPECT_EQ(tabelle({bild("a.jpg")}), teil("tabelle-zentriert-rahmenfenster.htm"));
  // Strict document types know neither attribute.
  doctype(0);
  EXPECT_EQ(tabelle({bild("a.jpg")}), teil("tabelle-strikt-zentriert.htm"));
  doctype(1);
  m.setText(Opt::SpEdAbstand1, "-1");
  EXPECT_EQ(tabelle({bild("a.jpg")}).find("cellspacing"), std::string::npos);
}

TEST_F(TabellenTest, HinweisGroesseUndVorschaubilder) {
  // 200 KB and 800 x 600: the hint from the list.
  TDateiArray l = {bild("gross.jpg", 800, 600, 200 * 1024)};
  EXPECT_EQ(tabelle(l), teil("tabelle-hinweis-aus-liste.htm"));
  m.setChecked(Opt::CBDateinameAlsHint, false);
  EXPECT_NE(tabelle(l).find("alt=\"gross.jpg\" title=\"\">"), std::string::npos);
  // With thumbnails: the size of the thumbnail file, which is kept as it
  // is while replacing is off.
  m.setChecked(Opt::CBVorschaubilderErzeugen, true);
  doctype(3);
  schreiben(bilder() + "gross.jpg", testJpeg(80, 60, 2000));
  schreiben(html() + "_vorschau/mini-gross.jpg", testJpeg(120, 90, 3000));
  HTMLSeite t;
  VorschauTabelleSchreiben(lauf, t, l, 1, "index.htm", "index.htm", -1, html() + "_vorschau/", bilder());
  EXPECT_EQ(t.text(), teil("tabelle-vorschaubild-xhtml.htm"));
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(TabellenTest, BegleitdateienUndTextUnterDenBildern) {
  schreiben(bilder() + "a.jpg", testJpeg(40, 30, 2048));
  schreiben(bilder() + "a.TXT", "Hallo");
  schreiben(bilder() + "a.mp3", std::string(3000, 'm'));
  schreiben(bilder() + "a.avi", "v");
  m.setChecked(Opt::CBLinkZuTextdatei, true);
  m.setChecked(Opt::CBLinkZuAudio, true);
  m.setText(Opt::EdAudiodatei, "Ton & Klang");
  // The video is not linked; the text file is given its web-safe name.
  EXPECT_EQ(tabelle({bild("a.jpg")}), teil("tabelle-begleitdateien.htm"));
  EXPECT_TRUE(std::filesystem::exists(bilder() + "a.txt"));

  m.setText(Opt::MZTextUebUnten, "Ende\nGrüße");
  const std::string unten = "<div id=\"etuebunten\">Ende\r\nGr&uuml;&szlig;e</div>\r\n";
  EXPECT_NE(tabelle({}).find(unten), std::string::npos);
  HTMLSeite s;  // not on the pages of a subfolder
  TDateiArray leer;
  VorschauTabelleSchreiben(lauf, s, leer, 1, "index.htm", "index.htm", 0, "", bilder() + "sub/");
  EXPECT_EQ(s.text().find("etuebunten"), std::string::npos);
  m.setChecked(Opt::RBZTextUebUntenAufJederSeite, true);
  HTMLSeite j;
  VorschauTabelleSchreiben(lauf, j, leer, 1, "index.htm", "index.htm", 0, "", bilder() + "sub/");
  EXPECT_NE(j.text().find(unten), std::string::npos);
}

TEST_F(TabellenTest, OrdnerLinksUndIhreErsetzung) {
  const std::string tag = bilder() + "Urlaub/Tag 1/";
  const std::string vorschau = html() + "_vorschau/urlaub/tag_1/";
  EXPECT_EQ(BildordnerLink(k, bilder()), "../");
  EXPECT_EQ(BildordnerLink(k, tag), "../../../Urlaub/Tag%201/");
  EXPECT_EQ(VorschauordnerLink(k, tag, vorschau), "../../_vorschau/urlaub/tag_1/");
  // The picture standing for a subfolder whose name keeps a blank and
  // umlauts (no renaming), thumbnails off.
  m.setChecked(Opt::CBUngueltigeNamenErsetzen, false);
  EXPECT_EQ(OrdnerbildTag(k, bilder(), html() + "_vorschau/", {"Grüße 1", "gruesse_1", 0}, "d.jpg"),
            "<img src=\"../Gr%C3%BC%C3%9Fe%201/d.jpg\" alt=\"d.jpg\" title=\"Gr&uuml;&szlig;e 1\">");
  m.setChecked(Opt::CBBilderPfadErsetzen, true);
  m.setText(Opt::EdPfadErsetzung, "https://cdn.example/fotos/");
  EXPECT_EQ(BildordnerLink(k, tag), "https://cdn.example/fotos/Urlaub/Tag%201/");
  m.setText(Opt::EdPfadErsetzung, "../originale/");
  EXPECT_EQ(BildordnerLink(k, tag), "../../../originale/Urlaub/Tag%201/");
  EXPECT_EQ(BildordnerLink(k, bilder()), "../originale/");
  m.setChecked(Opt::CBVorschaulinksErsetzen, true);
  m.setText(Opt::EdVorschaulinksErsetzen, "/mini/");
  EXPECT_EQ(VorschauordnerLink(k, tag, vorschau), "/mini/urlaub/tag_1/");
  m.setText(Opt::EdVorschaulinksErsetzen, "mini/");
  EXPECT_EQ(VorschauordnerLink(k, tag, vorschau), "../../mini/urlaub/tag_1/");
  // In a flat gallery every page lies in the HTML folder.
  m.setChecked(Opt::RBStrukturflach, true);
  EXPECT_EQ(VorschauordnerLink(k, tag, vorschau), "mini/urlaub/tag_1/");
  EXPECT_EQ(BildordnerLink(k, tag), "../originale/Urlaub/Tag%201/");
  m.setChecked(Opt::CBBilderPfadErsetzen, false);
  EXPECT_EQ(BildordnerLink(k, tag), "../Urlaub/Tag%201/");
}

TEST_F(TabellenTest, OhneVorschaubildKeineZelleAberEineMeldung) {
  m.setChecked(Opt::CBVorschaubilderErzeugen, true);
  m.setChecked(Opt::CBVorschaubilderErsetzen, true);
  const std::string vorschau = html() + "_vorschau/";
  std::filesystem::create_directories(vorschau);
  schreiben(bilder() + "a.jpg", testJpeg(40, 30, 1536));
  // By height with enlarging 72000 x 120: more than a JPEG file holds.
  schreiben(bilder() + "b.jpg", testJpeg(600, 1, 1536));
  schreiben(bilder() + "c.jpg", testJpeg(40, 30, 1536));
  m.setChecked(Opt::RBHoehe, true);
  m.setChecked(Opt::CBkleineBilderVergroessern, true);
  TDateiArray l = {bild("a.jpg"), bild("b.jpg"), bild("c.jpg")};
  // Left out before the pages are divided and linked, as an unreadable
  // picture is.
  EXPECT_TRUE(VorschaubilderErzeugen(lauf, l, bilder(), vorschau));
  ASSERT_EQ(l.size(), 2u);
  EXPECT_EQ(l[1].Name, "c.jpg");
  HTMLSeite s;
  VorschauTabelleSchreiben(lauf, s, l, 1, "index.htm", "index.htm", -1, vorschau, bilder());
  // A gap in the sequence, no empty cell.
  EXPECT_EQ(s.text(), teil("tabelle-ohne-vorschaubild.htm"));
  // Named once, with the reason.
  const auto texte = u.dialoge.texte();
  ASSERT_EQ(texte.size(), 1u);
  EXPECT_EQ(texte[0].rfind("Das Vorschaubild von " + bilder() + "b.jpg kann nicht erzeugt werden:\r\n", 0), 0u)
      << texte[0];
}

}  // namespace
}  // namespace mosaik::seitentest
