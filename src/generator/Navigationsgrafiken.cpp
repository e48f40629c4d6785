#include "generator/Navigationsgrafiken.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <initializer_list>
#include <utility>
#include <vector>

#include "app/options/Kontext.h"
#include "generator/Namen.h"
#include "imaging/PngGraphic.h"
#include "platform/FileSystem.h"

namespace mosaik {

namespace {

// A tiny raster of our own with exactly the drawing rules the icons are
// designed for: a rectangle covers x1..x2-1 by y1..y2-1, a line covers its
// start pixel and not its end pixel, the flood fill spreads to the four
// neighbours up to the border colour (so it cannot slip through a diagonal
// line). Pen and brush always have the same colour here.
class Zeichenflaeche {
 public:
  explicit Zeichenflaeche(imaging::Bitmap& bmp) : bmp_(bmp) {}

  void Farbe(uint32_t rgb) { farbe_ = rgb; }

  void Rechteck(int x1, int y1, int x2, int y2) {
    for (int y = y1; y < y2; ++y)
      for (int x = x1; x < x2; ++x) Setze(x, y);
  }

  void MoveTo(int x, int y) { px_ = x, py_ = y; }

  void LineTo(int x, int y) {
    const int dx = x - px_, dy = y - py_;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int i = 0; i < steps; ++i)
      Setze(px_ + Gerundet(i * dx, steps), py_ + Gerundet(i * dy, steps));
    MoveTo(x, y);
  }

  // Fills the region of (x, y) bounded by pixels of the border colour.
  void FloodFill(int x, int y, uint32_t rand) {
    std::vector<bool> besucht(static_cast<size_t>(bmp_.width) * static_cast<size_t>(bmp_.height), false);
    std::vector<std::pair<int, int>> offen{{x, y}};
    while (!offen.empty()) {
      const auto [cx, cy] = offen.back();
      offen.pop_back();
      if (cx < 0 || cy < 0 || cx >= bmp_.width || cy >= bmp_.height) continue;
      const size_t i = static_cast<size_t>(cy) * static_cast<size_t>(bmp_.width) + static_cast<size_t>(cx);
      if (besucht[i] || Lies(cx, cy) == rand) continue;
      besucht[i] = true;
      Setze(cx, cy);
      offen.insert(offen.end(), {{cx + 1, cy}, {cx - 1, cy}, {cx, cy + 1}, {cx, cy - 1}});
    }
  }

 private:
  // n / d rounded to the nearest integer, halves upwards (d > 0).
  static int Gerundet(int n, int d) {
    const int z = 2 * n + d, nenner = 2 * d;
    return z >= 0 ? z / nenner : -((-z + nenner - 1) / nenner);
  }

  void Setze(int x, int y) {
    if (x < 0 || y < 0 || x >= bmp_.width || y >= bmp_.height) return;
    uint8_t* p = bmp_.row(y) + 3 * x;
    p[0] = static_cast<uint8_t>(farbe_);
    p[1] = static_cast<uint8_t>(farbe_ >> 8);
    p[2] = static_cast<uint8_t>(farbe_ >> 16);
  }

  uint32_t Lies(int x, int y) const {
    const uint8_t* p = bmp_.row(y) + 3 * x;
    return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
  }

  imaging::Bitmap& bmp_;
  uint32_t farbe_ = 0;
  int px_ = 0, py_ = 0;
};

struct Strecke {
  int x1, y1, x2, y2;
};

// The slideshow screen under its bar: stand, screen edges and feet.
constexpr Strecke kDiashow[] = {
    {1, 3, 1, 11},    {2, 3, 2, 11},    {13, 3, 13, 11}, {14, 3, 14, 11}, {3, 9, 13, 9},
    {3, 10, 13, 10},  {5, 11, 11, 11},  {7, 12, 9, 12},  {5, 13, 11, 13}, {4, 14, 6, 14},
    {7, 14, 8, 14},   {10, 14, 12, 14}, {3, 15, 5, 15},  {8, 15, 9, 15},  {11, 15, 13, 15},
};

// The struck-through screen.
constexpr Strecke kDiashowStopp[] = {
    {2, 12, 2, 15},  {3, 3, 3, 5},    {3, 11, 3, 15},   {4, 2, 4, 6},     {4, 10, 4, 14},
    {5, 4, 5, 7},    {5, 8, 5, 13},   {6, 5, 6, 11},    {7, 6, 7, 11},    {8, 5, 8, 12},
    {9, 4, 9, 13},   {10, 3, 10, 6},  {10, 9, 10, 14},  {11, 2, 11, 5},   {11, 10, 11, 14},
    {12, 1, 12, 4},  {12, 11, 12, 13}, {13, 2, 13, 3},  {0, 0, 12, 0},    {14, 0, 16, 0},
    {0, 1, 3, 1},    {5, 1, 11, 1},   {14, 1, 16, 1},   {0, 2, 2, 2},     {6, 2, 10, 2},
    {15, 2, 16, 2},  {1, 3, 1, 11},   {2, 5, 2, 11},    {3, 9, 3, 10},    {12, 9, 12, 10},
    {13, 4, 13, 11}, {14, 3, 14, 11}, {4, 15, 4, 16},   {5, 14, 5, 15},   {6, 13, 6, 14},
    {7, 12, 7, 15},  {8, 13, 8, 14},  {8, 15, 8, 16},   {11, 15, 13, 15},
};

template <size_t N>
void Strecken(Zeichenflaeche& z, const Strecke (&s)[N]) {
  for (const Strecke& st : s) {
    z.MoveTo(st.x1, st.y1);
    z.LineTo(st.x2, st.y2);
  }
}

// MoveTo the first point, then LineTo each further one.
void Umriss(Zeichenflaeche& z, std::initializer_list<std::pair<int, int>> punkte) {
  const auto* p = punkte.begin();
  z.MoveTo(p->first, p->second);
  for (++p; p != punkte.end(); ++p) z.LineTo(p->first, p->second);
}

struct Datei {
  Navigationsbild bild;
  const char* name;
};

bool Erzeugen(const std::string& htmlOrdner, uint32_t symbolfarbe, uint32_t seitenhintergrund,
              const std::vector<Datei>& dateien, DialogService& dialoge,
              const std::function<void()>& pump) {
  const std::string ordner = fs::withTrailingSlash(htmlOrdner);
  bool vorhanden = false;
  try {
    vorhanden = fs::folderExists(ordner) || fs::forceDirectories(ordner);
  } catch (const std::exception&) {
    vorhanden = false;
  }
  if (!vorhanden) {
    dialoge.message(MsgKind::Error, "Der Ordner " + ordner + "\r\nkann nicht angelegt werden!",
                    MsgButtons::Ok);
    return false;
  }
  if (pump) pump();

  const uint32_t hintergrund = Symbolhintergrund(symbolfarbe, seitenhintergrund);
  imaging::TPngGraphic png;
  for (const Datei& d : dateien) {
    const std::string pfad = ordner + d.name;
    bool geschrieben = false;
    std::string warum;
    try {
      png.Assign(NavigationsbildZeichnen(d.bild, symbolfarbe, hintergrund));
      const uint8_t typ = png.GetHeaderChunk().ColorType;
      if (typ == 0 || typ == 2) png.AddAlphaChannel();
      const imaging::TChunkIHDR& kopf = png.GetHeaderChunk();
      if (kopf.ColorType == 4 || kopf.ColorType == 6) {
        for (uint32_t y = 0; y < kopf.Height; ++y) {
          uint8_t* alpha = png.GetAlphaRow(y);
          for (uint32_t x = 0; x < kopf.Width; ++x)
            if (png.GetPixel(static_cast<int>(x), static_cast<int>(y)) == hintergrund) alpha[x] = 0;
        }
      }
      png.SetCompressionLevel(0);
      geschrieben = png.SaveToFile(pfad, &warum);
    } catch (const std::exception& e) {
      geschrieben = false;
      warum = e.what();
    }
    if (!geschrieben) {
      dialoge.message(MsgKind::Error,
                      "Die Navigationsgrafik " + pfad + "\r\nkann nicht gespeichert werden!\r\n" + warum +
                          "\r\nProgrammabbruch!",
                      MsgButtons::Ok);
      return false;
    }
  }
  return true;
}

}  // namespace

uint32_t Symbolhintergrund(uint32_t symbolfarbe, uint32_t seitenhintergrund) {
  symbolfarbe &= 0xFFFFFF;
  seitenhintergrund &= 0xFFFFFF;
  if (symbolfarbe != seitenhintergrund) return seitenhintergrund;
  return seitenhintergrund == 0xFFFFFF ? 0x000000 : 0xFFFFFF;
}

imaging::Bitmap NavigationsbildZeichnen(Navigationsbild bild, uint32_t farbe, uint32_t hintergrund) {
  imaging::Bitmap bmp(16, 16, imaging::PixelFormat::Bit24);
  Zeichenflaeche z(bmp);
  z.Farbe(hintergrund);
  z.Rechteck(0, 0, 16, 16);
  z.Farbe(farbe);
  switch (bild) {
    case Navigationsbild::Zurueck:
      Umriss(z, {{14, 1}, {14, 14}, {1, 8}, {1, 7}, {14, 1}});
      z.FloodFill(10, 8, farbe);
      break;
    case Navigationsbild::Weiter:
      Umriss(z, {{1, 1}, {14, 7}, {14, 8}, {1, 14}, {1, 1}});
      z.FloodFill(6, 8, farbe);
      break;
    case Navigationsbild::Uebersicht:
      z.Rechteck(0, 0, 16, 2);
      for (int y : {4, 8, 12})
        for (int x : {1, 6, 11}) z.Rechteck(x, y, x + 4, y + 3);
      break;
    case Navigationsbild::Diashow:
      Umriss(z, {{0, 0}, {15, 0}, {15, 2}, {0, 2}, {0, 0}});  // filled: the bar over rows 0 to 2
      z.FloodFill(1, 1, farbe);
      Strecken(z, kDiashow);
      break;
    case Navigationsbild::DiashowStopp:
      Strecken(z, kDiashowStopp);
      break;
  }
  return bmp;
}

bool StandardbilderUebErzeugen(const std::string& htmlOrdner, uint32_t uebQuadratFarbe,
                               uint32_t seitenhintergrund, DialogService& dialoge,
                               const std::function<void()>& pump) {
  return Erzeugen(htmlOrdner, uebQuadratFarbe, seitenhintergrund,
                  {{Navigationsbild::Zurueck, "navuebzurueck.png"}, {Navigationsbild::Weiter, "navuebweiter.png"}},
                  dialoge, pump);
}

bool StandardbilderGrossErzeugen(const std::string& htmlOrdner, uint32_t grossQuadratFarbe,
                                 uint32_t seitenhintergrund, bool diashowAbschaltbar,
                                 DialogService& dialoge, const std::function<void()>& pump) {
  std::vector<Datei> dateien = {{Navigationsbild::Zurueck, "navgrosszurueck.png"},
                                {Navigationsbild::Uebersicht, "navgrossuebersicht.png"},
                                {Navigationsbild::Weiter, "navgrossweiter.png"}};
  if (diashowAbschaltbar) {
    dateien.push_back({Navigationsbild::Diashow, "diashow.png"});
    dateien.push_back({Navigationsbild::DiashowStopp, "diashowstopp.png"});
  }
  return Erzeugen(htmlOrdner, grossQuadratFarbe, seitenhintergrund, dateien, dialoge, pump);
}

bool StandardbilderUebErzeugen(const Kontext& k) {
  return StandardbilderUebErzeugen(HTMLOrdner(k), k.m.color(Opt::PanelUebQuadratFarbe),
                                   k.m.color(Opt::PanelHintergrundFarbe), *k.sv.dialogs, k.sv.pump);
}

bool StandardbilderGrossErzeugen(const Kontext& k) {
  return StandardbilderGrossErzeugen(
      HTMLOrdner(k), k.m.color(Opt::GrossPanelquadratFarbe), k.m.color(Opt::PanelHintergrundFarbe),
      k.m.checked(Opt::CBDiashow) && k.m.checked(Opt::CBDiashowAbschaltbar), *k.sv.dialogs, k.sv.pump);
}

}  // namespace mosaik
