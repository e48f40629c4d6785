#include <gtest/gtest.h>

#include <array>

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

// The labels of the card insert their code at the caret. A
// selection is not replaced but stays after the code; the brackets enclose
// it and stay selected. The caret counts characters, not bytes.
TEST_F(Beschreibungseditor, EtikettFuegtDenCodeAnDerSchreibmarkeEin) {
  struct Fall {
    const char* etikett;
    const char* text;
    int start, laenge;
    const char* danach;
    int marke, auswahl;
  };
  const Fall faelle[] = {
      {"Label5", "abc", 0, 0, "\\dnabc", 3, 0},
      {"Label20", "1xyz2", 1, 3, "1\\zuxyz2", 4, 0},
      {"Label21", "ab", 1, 0, "a\\\\b", 3, 0},
      {"LabelBAe", "äx", 1, 0, "ä\\bäx", 4, 0},
      {"Label32", "x€😀", 9, 0, "x€😀\\bä", 6, 0},  // past the end: at the end
      // The code and its caption both insert the comment (the other labels'
      // codes are the map's data).
      {"Label28", "", 0, 0, "\\ko", 3, 0},
      {"LabelKO", "", 0, 0, "\\ko", 3, 0},
      {"LabelRundeKlammer", "1xyz2", 1, 3, "1\\(xyz\\)2", 1, 7},
      {"Label35", "😀öü", 1, 1, "😀\\[ö\\]ü", 1, 5},
      {"LabelEckigeKlammer", "ab", 2, 0, "ab\\[\\]", 2, 4},  // empty pair selected
      {"Label34", "ab", 1, 0, "a\\(\\)b", 1, 4},
  };
  for (const Fall& fall : faelle) {
    text(fall.text, fall.start, fall.laenge);
    EXPECT_TRUE(f.EtikettKlick(fall.etikett));
    EXPECT_EQ(f.MBeschreibung, fall.danach) << fall.etikett;
    EXPECT_EQ(f.SelStart, fall.marke) << fall.etikett;
    EXPECT_EQ(f.SelLength, fall.auswahl) << fall.etikett;
  }
  EXPECT_FALSE(f.EtikettKlick("Label99"));
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
  for (auto [wert, einheiten] : {std::pair{0.03125, 312}, {0.09375, 938}, {-0.03125, -312}})
    EXPECT_EQ(VierStellen(wert).units(), einheiten) << wert;
  EXPECT_EQ(VierStellen(1e300), Decimal4::max());
}

TEST_F(Beschreibungseditor, FensterNebenDemHauptfenster) {
  for (auto [links, oben, x, y] : {std::array{100, 50, 572, 70}, {300, 50, 670, 70}, {208, 0, 680, 20}, {209, 0, 670, 20}})
    EXPECT_EQ(EXIFFensterposition(links, oben, 600, 1280), std::pair(x, y)) << links;
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

}  // namespace
}  // namespace mosaik::test
