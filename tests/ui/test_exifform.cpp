#include <gtest/gtest.h>

#include "../ui/RegelnTestbasis.h"
#include "test_kommentar_basis.h"
#include "ui/EXIFForm.h"

namespace mosaik::test {
namespace {

struct Beschreibungseditor : Hauptform {
  TEXIFForm f{k};
  void text(const std::string& t, int start, int laenge = 0) {
    f.MBeschreibung = t;
    f.SelStart = start;
    f.SelLength = laenge;
  }
};

TEST_F(Beschreibungseditor, EtikettFuegtDenCodeAnDerSchreibmarkeEin) {
  text("abc", 0);
  f.Label5Click();
  EXPECT_EQ(f.MBeschreibung, "\\dnabc");
  EXPECT_EQ(f.SelStart, 3);
  EXPECT_EQ(f.SelLength, 0);
  // A selection is not replaced: it stays after the code.
  text("1xyz2", 1, 3);
  f.Label20Click();
  EXPECT_EQ(f.MBeschreibung, "1\\zuxyz2");
  EXPECT_EQ(f.SelStart, 4);
  EXPECT_EQ(f.SelLength, 0);
  // The backslash code moves the caret by two; \bä is three characters.
  text("ab", 1);
  f.Label21Click();
  EXPECT_EQ(f.MBeschreibung, "a\\\\b");
  EXPECT_EQ(f.SelStart, 3);
  text("\xC3\xA4x", 1);
  f.LabelBAeClick();
  EXPECT_EQ(f.MBeschreibung, "\xC3\xA4\\b\xC3\xA4x");
  EXPECT_EQ(f.SelStart, 4);
  f.Label32Click();
  EXPECT_EQ(f.MBeschreibung, "\xC3\xA4\\b\xC3\xA4\\b\xC3\xA4x");
  // Caret past the end: at the end.
  text("a", 9);
  f.Label28Click();
  EXPECT_EQ(f.MBeschreibung, "a\\ko");

  // Every code of the card, each through its label.
  const std::pair<const char*, const char*> karte[] = {
      {"Label5", "\\dn"},  {"Label6", "\\de"},  {"Label3", "\\dd"},  {"Label4", "\\dz"},   {"Label7", "\\dg"},
      {"Label23", "\\bb"}, {"Label26", "\\bh"}, {"LabelKO", "\\ko"}, {"Label28", "\\ko"},  {"Label24", "\\ma"},
      {"Label25", "\\mo"}, {"Label12", "\\ad"}, {"Label13", "\\az"}, {"Label14", "\\bl"},  {"Label15", "\\bz"},
      {"Label16", "\\bw"}, {"LabelBAe", "\\b\xC3\xA4"}, {"Label32", "\\b\xC3\xA4"}, {"Label18", "\\kl"},
      {"Label19", "\\gr"}, {"Label20", "\\zu"}, {"Label21", "\\\\"}};
  for (const auto& [name, code] : karte) {
    text("", 0);
    EXPECT_TRUE(f.EtikettKlick(name));
    EXPECT_EQ(f.MBeschreibung, code) << name;
  }
  EXPECT_FALSE(f.EtikettKlick("Label99"));
  EXPECT_EQ(TEXIFForm::Etiketten().size(), 26u);
}

TEST_F(Beschreibungseditor, KlammernUmschliessenDieAuswahl) {
  text("1xyz2", 1, 3);
  f.LabelRundeKlammerClick();
  EXPECT_EQ(f.MBeschreibung, "1\\(xyz\\)2");
  EXPECT_EQ(f.SelStart, 1);
  EXPECT_EQ(f.SelLength, 7);
  text("\xC3\xA4\xC3\xB6\xC3\xBC", 1, 1);
  f.Label35Click();
  EXPECT_EQ(f.MBeschreibung, "\xC3\xA4\\[\xC3\xB6\\]\xC3\xBC");
  EXPECT_EQ(f.SelLength, 5);
  // Without a selection the empty pair is inserted and selected.
  text("ab", 2);
  f.LabelEckigeKlammerClick();
  EXPECT_EQ(f.MBeschreibung, "ab\\[\\]");
  EXPECT_EQ(f.SelStart, 2);
  EXPECT_EQ(f.SelLength, 4);
  text("ab", 1);
  f.Label34Click();
  EXPECT_EQ(f.MBeschreibung, "a\\(\\)b");
}

TEST_F(Beschreibungseditor, ZeilenumbruecheWerdenZuCodes) {
  text("ab", 1);
  EXPECT_FALSE(f.MBeschreibungKeyPress(U'\r'));
  EXPECT_EQ(f.MBeschreibung, "a\\zub");
  EXPECT_EQ(f.SelStart, 4);
  EXPECT_TRUE(f.MBeschreibungKeyPress(U'x'));
  EXPECT_EQ(f.MBeschreibung, "a\\zub");

  text("erste\r\nzweite\r\ndritte", 20);
  f.MBeschreibungExit();
  EXPECT_EQ(f.MBeschreibung, "erste\\zuzweite\\zudritte");

  f.MBeschreibungChange(2);
  EXPECT_FALSE(f.ScrollBalken);
  f.MBeschreibungChange(3);
  EXPECT_TRUE(f.ScrollBalken);
}

TEST_F(Beschreibungseditor, ZeigenKopiertDieVorlageHinUndZurueck) {
  m.setText(Opt::MBeschreibung, "\\dn uebersicht");
  m.setText(Opt::MBeschreibungGross, "\\de gross");
  std::string gesehen;
  f.modalAnzeigen = [&] {
    gesehen = f.MBeschreibung;
    f.BStandardClick();
  };
  f.Zeigen(true);
  EXPECT_EQ(gesehen, "\\dn uebersicht");
  EXPECT_EQ(m.text(Opt::MBeschreibung), "\\dn\\[\\zu\\ko\\]");
  EXPECT_EQ(m.text(Opt::MBeschreibungGross), "\\de gross");

  f.modalAnzeigen = [&] {
    gesehen = f.MBeschreibung;
    f.BStandardClick();
  };
  f.Zeigen(false);
  EXPECT_EQ(gesehen, "\\de gross");
  EXPECT_EQ(m.text(Opt::MBeschreibungGross), "\\[\\ko\\zu\\]\\dn\\zu\\kl\\dg\\( \\ad \\bz \\bl \\bw\\)\\gr");

  // Standard, then Rückgängig: the template as the dialog opened with it.
  m.setText(Opt::MBeschreibung, "eigene");
  f.modalAnzeigen = [&] {
    f.BStandardClick();
    f.BRueckgaengigClick();
    f.MBeschreibung += "\r\nmehr";  // pasted, never left
    f.BSchliessenClick();
  };
  int geschlossen = 0;
  f.schliessen = [&] { ++geschlossen; };
  f.Zeigen(true);
  EXPECT_EQ(geschlossen, 1);
  EXPECT_EQ(m.text(Opt::MBeschreibung), "eigene\\zumehr");
  EXPECT_FALSE(f.Visible);

  int kommentare = 0;
  f.kommentareOeffnen = [&] { ++kommentare; };
  f.BitBKommentareClick();
  EXPECT_EQ(kommentare, 1);
}

TEST_F(Beschreibungseditor, BrennweitenWerdenBeimZeigenGerundetUndGespeichert) {
  EXPECT_EQ(f.RSpEdRealBW.Text(), "5");
  EXPECT_EQ(f.RSpEdAequivalenteBW.Text(), "35");
  st.BWreal = 4.56789;
  st.BWumgerechnet = 2000;
  f.FormShow();
  EXPECT_EQ(f.RSpEdRealBW.Text(), "4,5679");
  EXPECT_EQ(st.BWreal, 4.5679);
  EXPECT_EQ(f.RSpEdAequivalenteBW.Text(), "1000");
  EXPECT_EQ(st.BWumgerechnet, 1000.0);

  f.RSpEdRealBW.setText("7,8");
  EXPECT_EQ(st.BWreal, 7.8);
  f.RSpEdRealBW.UpClick();
  EXPECT_EQ(f.RSpEdRealBW.Text(), "7,9");
  EXPECT_EQ(st.BWreal, 7.9);
  // A text that is no number leaves the setting as it was.
  f.RSpEdRealBW.setText("");
  f.RSpEdRealBW.setText("abc");
  EXPECT_EQ(st.BWreal, 7.9);
  f.RSpEdAequivalenteBW.setText("52,5");
  EXPECT_EQ(st.BWumgerechnet, 52.5);

  // Four places, halves to even (exact binary halves).
  EXPECT_EQ(VierStellen(0.03125).units(), 312);
  EXPECT_EQ(VierStellen(0.09375).units(), 938);
  EXPECT_EQ(VierStellen(-0.03125).units(), -312);
  EXPECT_EQ(VierStellen(1e300), Decimal4::max());
}

TEST_F(Beschreibungseditor, FensterNebenDemHauptfenster) {
  EXPECT_EQ(EXIFFensterposition(100, 50, 600, 1280), std::pair(572, 70));
  EXPECT_EQ(EXIFFensterposition(300, 50, 600, 1280), std::pair(670, 70));
  EXPECT_EQ(EXIFFensterposition(208, 0, 600, 1280), std::pair(680, 20));
  EXPECT_EQ(EXIFFensterposition(209, 0, 600, 1280), std::pair(670, 20));
}

TEST_F(Beschreibungseditor, VorschauZeigtDieBeschreibungEinesBildesAusDemBilderordner) {
  TempOrdner ordner;
  schreiben(ordner.pfad() + "a-kaputt.jpg", "kein JPEG");
  schreiben(ordner.pfad() + "urlaub.jpg", jpegBytes(800, 600, 10, 20, 30, "Sonne\r\nund Meer"));
  st.BilderOrdnerPfad = ordner.pfad();
  m.setText(Opt::MBeschreibung, "\\dn (\\bbx\\bh)\\[\\zu\\ko\\]");
  f.BeschreibungUebersicht = true;
  f.FormShow();
  EXPECT_EQ(f.Vorschaubild(), "urlaub.jpg");
  EXPECT_EQ(f.Vorschau(),
            "<div class=\"beschr\"><span class=\"gr\">urlaub (800x600)<br>Sonne<br>und Meer</span></div>");
  f.MBeschreibung = "\\[\\ko\\]";
  f.MBeschreibung += "\r\n\\de";
  EXPECT_EQ(f.Vorschau(), "<div class=\"beschr\"><span class=\"gr\">Sonne<br>und Meer<br>urlaub.jpg</span></div>");
  EXPECT_TRUE(u.dialoge.meldungen.empty());

  st.BilderOrdnerPfad = ordner.pfad() + "leer/";
  f.FormShow();
  EXPECT_EQ(f.Vorschaubild(), "");
  EXPECT_EQ(f.Vorschau(), "");
}

TEST(Zeichenpositionen, ZaehlenZeichenNichtBytes) {
  EXPECT_EQ(ZeichenAnzahl("a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"), 4);
  EXPECT_EQ(ZeichenOffset("a\xC3\xA4\xE2\x82\xAC", 2), 3u);
  EXPECT_EQ(ZeichenOffset("a\xC3\xA4\xE2\x82\xAC", 3), 6u);
  EXPECT_EQ(ZeichenOffset("ab", 7), 2u);
}

}  // namespace
}  // namespace mosaik::test
