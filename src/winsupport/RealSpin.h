#pragma once
// The decimal spin edit without a window: its value rules, key rules, the
// layout of its button pair and the auto-repeat of the buttons. The Qt
// widget (qt/RealSpinEdit) shows it.
#include <functional>
#include <string>

#include "winsupport/Decimal4.h"

namespace mosaik {

class TRealSpinEdit {
 public:
  Decimal4 MinValue;
  Decimal4 MaxValue;  // no bounds while equal to MinValue
  Decimal4 Increment = Decimal4::fromInt(1);
  bool EditorEnabled = true;
  bool ReadOnly = false;
  char Dezimaltrenner = ',';

  // The text changed (by typing or through Value).
  std::function<void()> OnChange;
  // The default system beep of a refused key or a step on a read-only edit.
  std::function<void()> Piepton;

  const std::string& Text() const { return text_; }
  void setText(const std::string& t);

  // The text as a number; a text that does not convert reads as MinValue.
  Decimal4 Value() const;
  // Shows CheckValue(v) in its shortest form.
  void setValue(Decimal4 v);
  Decimal4 CheckValue(Decimal4 v) const;

  void UpClick();
  void DownClick();
  // '+', ',', '-', '.', digits, the decimal separator and control
  // characters other than carriage return; without EditorEnabled only the
  // control characters other than backspace and carriage return.
  bool IsValidChar(char32_t c) const;
  // A typed character: false (and a beep) when it is swallowed.
  bool KeyPress(char32_t c);
  // Paste and cut reach the edit only while it may be typed into.
  bool EinfuegenErlaubt() const { return EditorEnabled && !ReadOnly; }
  // Leaving the field puts a number outside the bounds back to the nearer
  // bound; a text that does not convert stays as typed.
  void Exit();

 private:
  std::string text_ = "0";
};

// Layout of the edit and its button pair, in pixels.
struct Rechteck {
  int x = 0, y = 0, w = 0, h = 0;
  friend bool operator==(const Rechteck&, const Rechteck&) = default;
};
// The least height of the edit for its font: h + s div 4 + 4 x border + 2,
// h the font's character height, s the smaller of it and the system font's.
int RealSpinMindesthoehe(int schrifthoehe, int systemschrifthoehe, int randhoehe);
// Where the button pair sits in an edit of the given size.
Rechteck RealSpinKnopfpaar(int editBreite, int editHoehe, int knopfBreite, bool flach3D);
// The two buttons inside a pair of the given size (at least 15 wide); they
// overlap by one pixel.
void SpinKnoepfe(int w, int h, Rechteck& hoch, Rechteck& runter);

// A button that repeats its click while held: 400 ms after the press, then
// every 100 ms, and once more on release over the button.
class TTimerSpeedButton {
 public:
  static constexpr int kErsteVerzoegerung = 400;
  static constexpr int kWiederholung = 100;
  std::function<void()> Click;

  // Each returns the interval the timer is to run with, 0 = stopped.
  int MausRunter();
  int TimerTick(bool nochGedrueckt);
  int MausHoch(bool ueberDemKnopf);

 private:
  int intervall_ = 0;
};

}  // namespace mosaik
