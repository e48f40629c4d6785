#include <algorithm>

#include "ui/Formulare.h"

namespace mosaik {
namespace {

int kanal(uint32_t farbe, int verschiebung) { return static_cast<int>((farbe >> verschiebung) & 0xFF); }

}  // namespace

void TwartenForm::FormCreate() {
  AbbruchFlag = 0;
  W = kBreite;
  Schritt = W / 8;
  X = -W;
  Blockgroesse = 3;
  Chunkanzahl = 12;
  Abstand = W / 12;
  Luecke = 3;
  Chunkbreite = Abstand - Luecke;
  P = -3;
  NachRechts = true;
  ImWarten.assign(static_cast<size_t>(kBreite * kHoehe), Flaeche);
}

void TwartenForm::Farben(uint32_t hervorhebung, uint32_t flaeche) {
  Hervorhebung = hervorhebung;
  Flaeche = flaeche;
  ImWarten.assign(static_cast<size_t>(kBreite * kHoehe), Flaeche);
  melden();
}

void TwartenForm::Show() {
  Caption = "Bitte warten...";
  AbbruchFlag = 0;
  LAktuellerDateiname = "Verarbeitung läuft!";
  BAbbruchEnabled = true;
  Visible = true;
  melden();
}

void TwartenForm::Hide() {
  Visible = false;
  melden();
}

void TwartenForm::BAbbruchClick() {
  if (!BAbbruchEnabled) return;
  AbbruchFlag = 1;
  Caption = "ABBRUCH";
  LAktuellerDateiname = "...noch einen Moment!";
  BAbbruchEnabled = false;
  melden();
}

void TwartenForm::aktuelleDatei(const std::string& name) {
  LAktuellerDateiname = name;
  melden();
}

void TwartenForm::TimerTimer() {
  if (ImWarten.size() != static_cast<size_t>(kBreite * kHoehe)) ImWarten.assign(static_cast<size_t>(kBreite * kHoehe), Flaeche);
  if (ThemesEnabled && ThemesEnabled())
    themenSchritt();
  else
    schlichterSchritt();
  melden();
}

// A filled rectangle as the pen-and-brush rectangle of the original: the
// right and bottom edges are outside; clipped to the paint box.
void TwartenForm::rechteck(int x1, int y1, int x2, int y2, uint32_t farbe) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  for (int y = std::max(y1, 0); y < std::min(y2, kHoehe); ++y)
    for (int x = std::max(x1, 0); x < std::min(x2, kBreite); ++x) ImWarten[static_cast<size_t>(y * kBreite + x)] = farbe;
}

void TwartenForm::schlichterSchritt() {
  const int h = kHoehe;
  const int x1 = X, x2 = X + W;
  // The highlight end always leads.
  const uint32_t anfang = NachRechts ? Flaeche : Hervorhebung;
  const uint32_t ende = NachRechts ? Hervorhebung : Flaeche;
  for (int c = std::max(x1, 0); c <= std::min(x2, W); ++c) {
    uint32_t farbe = 0;
    for (int v : {16, 8, 0}) {
      const int a = kanal(anfang, v), e = kanal(ende, v);
      farbe |= static_cast<uint32_t>(a + ((e - a) * (c - x1)) / (x2 - x1)) << v;
    }
    if (c >= kBreite) continue;
    for (int y = h - 2; y > 0; --y) ImWarten[static_cast<size_t>(y * kBreite + c)] = farbe;
  }
  rechteck(0, h - 1, x1, 0, Flaeche);
  rechteck(x2, h - 1, W, 0, Flaeche);
  X += NachRechts ? Schritt : -Schritt;
  if (X > W || X < -W) NachRechts = !NachRechts;
}

void TwartenForm::themenSchritt() {
  const int h = kHoehe;
  ThemenTeile.clear();
  const auto teil = [&](ThemenTeil::Art art, int x1, int x2) {
    x2 = std::min(x2, W);
    if (x1 < x2) ThemenTeile.push_back({art, x1, 2, x2, h - 2});
  };
  teil(ThemenTeil::Hintergrund, 0, W);
  for (int k = std::max(P, 0); k < P + Blockgroesse; ++k) {
    const int x = k * Abstand;
    if (NachRechts) {
      teil(ThemenTeil::Chunk, x, x + Chunkbreite);
      teil(ThemenTeil::Balken, x + Chunkbreite, x + Chunkbreite + Luecke);
    } else {
      teil(ThemenTeil::Balken, x, x + Luecke);
      teil(ThemenTeil::Chunk, x + Luecke, x + Luecke + Chunkbreite);
    }
  }
  if (NachRechts) {
    if (++P > Chunkanzahl + 1) {
      P = Chunkanzahl;
      NachRechts = false;
    }
  } else if (--P < -Blockgroesse) {
    P = -Blockgroesse;
    NachRechts = true;
  }
}

}  // namespace mosaik
