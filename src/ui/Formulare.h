#pragma once
// The dialogs as headless models. The Qt views mirror them.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/options/Kontext.h"

namespace mosaik {

// Base of every headless window: its own Visible flag and a change signal
// for the view.
class Formular {
 public:
  virtual ~Formular() = default;
  bool Visible = false;
  std::function<void()> geaendert;
  void melden() {
    if (geaendert) geaendert();
  }
};

// The progress dialog: shown without being modal while the main window is
// disabled; names the file in hand, animates a busy bar and offers
// "Abbrechen", which sets AbbruchFlag.
class TwartenForm : public Formular {
 public:
  // The paint box ImWarten that holds the bar.
  static constexpr int kBreite = 143;
  static constexpr int kHoehe = 17;

  std::string Caption = "Bitte warten...";
  std::string LAktuellerDateiname = "Verarbeitung läuft!";
  bool BAbbruchEnabled = true;
  bool TimerEnabled = false;  // 20 ms ticks while a run works

  // Whether visual styles are in force right now; the plain bar without.
  std::function<bool()> ThemesEnabled;
  // The system highlight and button-face colours (0xRRGGBB).
  uint32_t Hervorhebung = 0x3399FF;
  uint32_t Flaeche = 0xF0F0F0;

  // The paint box's pixels, kBreite x kHoehe, row by row (0xRRGGBB), as the
  // plain bar leaves them.
  std::vector<uint32_t> ImWarten;
  // What the themed bar's last step drew, in order.
  struct ThemenTeil {
    enum Art { Hintergrund, Chunk, Balken } art;
    int x1, y1, x2, y2;
    friend bool operator==(const ThemenTeil&, const ThemenTeil&) = default;
  };
  std::vector<ThemenTeil> ThemenTeile;

  // Animation state, set once at creation and carried on from run to run.
  int W = kBreite;
  int Schritt = 0;      // plain: pixels per tick
  int X = 0;            // plain: left end of the block
  bool NachRechts = true;
  int Chunkanzahl = 12, Blockgroesse = 3, Abstand = 0, Luecke = 3, Chunkbreite = 0;
  int P = 0;  // themed: first chunk of the block

  void FormCreate();
  // FormShow and showing the window: every show clears the cancel request
  // and the traces of a cancelled run.
  void Show();
  void Hide();
  void BAbbruchClick();
  void TimerTimer();
  void aktuelleDatei(const std::string& name);
  // New system colours: the box is painted in the face colour again.
  void Farben(uint32_t hervorhebung, uint32_t flaeche);
  uint32_t pixel(int x, int y) const { return ImWarten[static_cast<size_t>(y * kBreite + x)]; }

 private:
  void schlichterSchritt();
  void themenSchritt();
  void rechteck(int x1, int y1, int x2, int y2, uint32_t farbe);
};


}  // namespace mosaik
