// The size rules of derived pictures, worked out by hand.
#include <gtest/gtest.h>

#include "DurchlaufTestbasis.h"
#include "generator/Bildgroessen.h"
#include "generator/Bildpipeline.h"
#include "generator/Vorschaubild.h"

namespace mosaik {
namespace {

using M = Groessenmodus;

TEST(Bildgroessen, TableOfSizes) {
  struct Fall {
    int64_t W, H;
    M modus;
    int64_t S;
    bool vergroessern;
    Masse bild, datei;
  };
  const Fall faelle[] = {
      // 3:2 and 4:3, landscape and portrait
      {6000, 4000, M::LaengereSeite, 600, false, {600, 400}, {600, 400}},
      {4000, 6000, M::LaengereSeite, 600, false, {400, 600}, {400, 600}},
      {4000, 3000, M::Hoehe, 120, false, {160, 120}, {160, 120}},
      {3000, 4000, M::Breite, 120, false, {120, 160}, {120, 160}},
      // truncated, never rounded: 39.96 and 299.9
      {1000, 333, M::Breite, 120, false, {120, 39}, {120, 39}},
      {2999, 1000, M::Hoehe, 100, false, {299, 100}, {299, 100}},
      // a square original: S x S under the longer side as in square mode
      {1000, 1000, M::LaengereSeite, 120, false, {120, 120}, {120, 120}},
      // square mode: the picture inside the canvas
      {4000, 3000, M::Quadrat, 120, false, {120, 90}, {120, 90}},
      {3000, 4000, M::Quadrat, 120, false, {90, 120}, {90, 120}},
      {80, 60, M::Quadrat, 120, false, {80, 60}, {80, 60}},
      {80, 60, M::Quadrat, 120, true, {120, 90}, {120, 90}},
      // no enlarging: the whole original size, whichever side was too large
      {100, 50, M::LaengereSeite, 120, false, {100, 50}, {100, 50}},
      {100, 50, M::LaengereSeite, 120, true, {120, 60}, {120, 60}},
      {200, 50, M::Hoehe, 120, false, {200, 50}, {200, 50}},
      {200, 50, M::Hoehe, 120, true, {480, 120}, {480, 120}},
      {100, 1, M::Breite, 120, false, {100, 1}, {100, 1}},
      {1, 100, M::Hoehe, 120, false, {1, 100}, {1, 100}},
      // one pixel thin: 0 is raised to 1 for files only
      {5000, 1, M::Breite, 120, false, {120, 0}, {120, 1}},
      {1, 5000, M::Hoehe, 120, false, {0, 120}, {1, 120}},
      {1, 1, M::LaengereSeite, 120, true, {120, 120}, {120, 120}},
      // original size is never changed by the enlarge flag
      {40, 30, M::Originalgroesse, 120, true, {40, 30}, {40, 30}},
      // a picture that could not be measured
      {0, 0, M::LaengereSeite, 120, true, {0, 0}, {1, 1}},
      {100, 0, M::Breite, 120, true, {0, 0}, {1, 1}},
  };
  for (const Fall& f : faelle) {
    const Masse m = Zielmasse(f.W, f.H, f.modus, f.S, f.vergroessern);
    EXPECT_EQ(m, f.bild) << f.W << "x" << f.H << " S " << f.S << " modus " << static_cast<int>(f.modus) << " -> "
                         << m.breite << "x" << m.hoehe;
    EXPECT_EQ(Dateimasse(m), f.datei) << f.W << "x" << f.H;
  }
  EXPECT_EQ(GroesseAttribut({120, 39}), "width=\"120\" height=\"39\"");
}

TEST(Bildgroessen, PanoramaRatioIsExact) {
  EXPECT_FALSE(PanoramaVerhaeltnis(2000, 1000, 20000));  // exactly 2: no panorama
  EXPECT_TRUE(PanoramaVerhaeltnis(2001, 1000, 20000));
  // 1.1 is not exact in binary; in ten-thousandths it is.
  EXPECT_FALSE(PanoramaVerhaeltnis(1100, 1000, 11000));
  EXPECT_TRUE(PanoramaVerhaeltnis(1101, 1000, 11000));
  EXPECT_FALSE(PanoramaVerhaeltnis(5000, 0, 11000));
}

struct BildgroessenOptionen : test::MitOptionen {};

enum class Routine { Vorschau, Liste, Grossbild, Anzeige };

// Each row first checks its option (the options stay as the rows before
// left them), then asks the routine about a W x H picture; thumbnails ask
// for 120 with enlarging, large images for 600 with enlarging.
TEST_F(BildgroessenOptionen, ModeChoicePerRoutine) {
  struct Fall {
    Opt an;
    Routine r;
    int64_t W, H;
    M modus;
    int64_t groesse;
    bool vergroessern;
  };
  const Fall faelle[] = {
      // Defaults: thumbnails and large images by the longer side, pictures
      // on their pages in original size; no panorama treatment.
      {Opt::RBLaengereSeite, Routine::Vorschau, 3000, 1000, M::LaengereSeite, 120, true},
      {Opt::RBLaengereSeite, Routine::Grossbild, 3000, 1000, M::LaengereSeite, 600, true},
      {Opt::RBLaengereSeite, Routine::Anzeige, 3000, 1000, M::Originalgroesse, 0, false},
      {Opt::RBHoehe, Routine::Vorschau, 40, 30, M::Hoehe, 120, true},
      {Opt::RBBreite, Routine::Vorschau, 40, 30, M::Breite, 120, true},
      {Opt::RBVorschauQuadratisch, Routine::Vorschau, 40, 30, M::Quadrat, 120, true},
      // Without a file there is no canvas: square counts as width.
      {Opt::RBVorschauQuadratisch, Routine::Liste, 40, 30, M::Breite, 120, false},
      {Opt::RBHoeheGrosseBilder, Routine::Grossbild, 40, 30, M::Hoehe, 600, true},
      {Opt::RBBreiteGrosseBilder, Routine::Grossbild, 40, 30, M::Breite, 600, true},
      {Opt::RBdummy1, Routine::Anzeige, 40, 30, M::LaengereSeite, 600, false},
      {Opt::RBGrosseBilderHoehe, Routine::Anzeige, 40, 30, M::Hoehe, 600, false},
      {Opt::RBGrosseBilderBreite, Routine::Anzeige, 40, 30, M::Breite, 600, false},
      {Opt::CBGrosseBilderVergroessern, Routine::Anzeige, 40, 30, M::Breite, 600, true},
      // Panoramas (ratio 2.0) take their own column: thumbnails by width 600,
      // large images and the display by height 400 (defaults).
      {Opt::CBPanoramaExtrabehandlung, Routine::Vorschau, 2001, 1000, M::Breite, 600, true},
      {Opt::RBPanoramaHoehe, Routine::Vorschau, 4000, 1000, M::Hoehe, 600, true},
      {Opt::CBPanoramaExtrabehandlung, Routine::Grossbild, 4000, 1000, M::Hoehe, 400, true},
      {Opt::RBPanoramaBreiteGrosseBilder, Routine::Grossbild, 4000, 1000, M::Breite, 400, true},
      {Opt::CBPanoramaExtrabehandlung, Routine::Anzeige, 4000, 1000, M::Originalgroesse, 0, true},
      {Opt::RBDummy2, Routine::Anzeige, 4000, 1000, M::Hoehe, 400, true},
      {Opt::RBGrossePanoramenBreite, Routine::Anzeige, 4000, 1000, M::Breite, 400, true},
  };
  for (const Fall& f : faelle) {
    m.setChecked(f.an, true);
    Groessenwahl w;
    if (f.r == Routine::Vorschau) w = VorschauWahl(m, f.W, f.H, 120, true);
    if (f.r == Routine::Liste) w = VorschauListenWahl(m, f.W, f.H);
    if (f.r == Routine::Grossbild) w = GrossbildWahl(m, f.W, f.H, 600, true);
    if (f.r == Routine::Anzeige) w = AnzeigeWahl(m, f.W, f.H);
    const std::string zeile = std::to_string(&f - faelle);
    EXPECT_EQ(w.modus, f.modus) << zeile;
    EXPECT_EQ(w.groesse, f.groesse) << zeile;
    EXPECT_EQ(w.vergroessern, f.vergroessern) << zeile;
  }
  m.setSpin(Opt::SpEdPanoramaVorschau, 150);
  EXPECT_EQ(VorschauWahl(m, 4000, 1000, 120, false).groesse, 150);
  // Off: no panoramas at all.
  m.setChecked(Opt::CBPanoramaExtrabehandlung, false);
  EXPECT_EQ(VorschauWahl(m, 4000, 1000, 120, false).modus, M::Quadrat);
}

TEST_F(BildgroessenOptionen, AttributesFromTheList) {
  TDateiArray liste(5);
  liste[0].Breite = 4000, liste[0].Hoehe = 3000;
  liste[1].Breite = 100, liste[1].Hoehe = 50;
  liste[2].Breite = 2001, liste[2].Hoehe = 1000;
  liste[3].Breite = 5000, liste[3].Hoehe = 20;
  EXPECT_EQ(VorschauGroesseAttributeAusListe(k, liste, 0), "width=\"120\" height=\"90\"");
  EXPECT_EQ(VorschauGroesseAttributeAusListe(k, liste, 1), "width=\"100\" height=\"50\"");
  EXPECT_EQ(VorschauGroesseAttributeAusListe(k, liste, 3), "width=\"120\" height=\"1\"");
  EXPECT_EQ(VorschauGroesseAttributeAusListe(k, liste, 4), "");  // size unknown
  EXPECT_EQ(VorschauGroesseAttributeAusListe(k, liste, 5), "");
  m.setChecked(Opt::CBkleineBilderVergroessern, true);
  EXPECT_EQ(VorschauGroesseAttributeAusListe(k, liste, 1), "width=\"120\" height=\"60\"");
  m.setChecked(Opt::RBHoehe, true);
  EXPECT_EQ(VorschauGroesseAttributeAusListe(k, liste, 0), "width=\"160\" height=\"120\"");
  EXPECT_FALSE(IstPanorama(k, liste, 2));
  m.setChecked(Opt::CBPanoramaExtrabehandlung, true);
  EXPECT_TRUE(IstPanorama(k, liste, 2));
  EXPECT_FALSE(IstPanorama(k, liste, 4));
  EXPECT_FALSE(IstPanorama(k, liste, -1));
  EXPECT_EQ(VorschauGroesseAttributeAusListe(k, liste, 2), "width=\"600\" height=\"299\"");
}

}  // namespace
}  // namespace mosaik
