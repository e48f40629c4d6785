#include "winsupport/RealSpin.h"

#include <algorithm>

namespace mosaik {

void TRealSpinEdit::setText(const std::string& t) {
  if (t == text_) return;
  text_ = t;
  if (OnChange) OnChange();
}

Decimal4 TRealSpinEdit::Value() const { return Decimal4::parse(text_, Dezimaltrenner).value_or(MinValue); }

void TRealSpinEdit::setValue(Decimal4 v) { setText(CheckValue(v).toText(Dezimaltrenner)); }

Decimal4 TRealSpinEdit::CheckValue(Decimal4 v) const {
  if (MaxValue != MinValue) {
    if (v < MinValue) return MinValue;
    if (v > MaxValue) return MaxValue;
  }
  return v;
}

void TRealSpinEdit::UpClick() {
  if (ReadOnly) {
    if (Piepton) Piepton();
    return;
  }
  setValue(Value().plus(Increment));
}

void TRealSpinEdit::DownClick() {
  if (ReadOnly) {
    if (Piepton) Piepton();
    return;
  }
  setValue(Value().minus(Increment));
}

bool TRealSpinEdit::IsValidChar(char32_t c) const {
  const bool steuer = c < 32 && c != 13;
  bool gut = c == '+' || c == ',' || c == '-' || c == '.' || (c >= '0' && c <= '9') ||
             c == static_cast<unsigned char>(Dezimaltrenner) || steuer;
  if (!EditorEnabled) gut = gut && steuer && c != 8;
  return gut;
}

bool TRealSpinEdit::KeyPress(char32_t c) {
  if (IsValidChar(c)) return true;
  if (Piepton) Piepton();
  return false;
}

void TRealSpinEdit::Exit() {
  const Decimal4 v = Value();
  if (CheckValue(v) != v) setValue(v);
}

int RealSpinMindesthoehe(int schrifthoehe, int systemschrifthoehe, int randhoehe) {
  const int s = std::min(schrifthoehe, systemschrifthoehe);
  return schrifthoehe + s / 4 + 4 * randhoehe + 2;
}

Rechteck RealSpinKnopfpaar(int editBreite, int editHoehe, int knopfBreite, bool flach3D) {
  if (flach3D) return {editBreite - knopfBreite - 5, 0, knopfBreite, editHoehe - 5};
  return {editBreite - knopfBreite, 1, knopfBreite, editHoehe - 3};
}

void SpinKnoepfe(int w, int h, Rechteck& hoch, Rechteck& runter) {
  w = std::max(w, 15);
  hoch = {0, 0, w, h / 2};
  runter = {0, hoch.h - 1, w, h - hoch.h + 1};
}

int TTimerSpeedButton::MausRunter() {
  intervall_ = kErsteVerzoegerung;
  return intervall_;
}

int TTimerSpeedButton::TimerTick(bool nochGedrueckt) {
  if (intervall_ == 0) return 0;
  intervall_ = kWiederholung;
  if (nochGedrueckt && Click) {
    try {
      Click();
    } catch (...) {
      intervall_ = 0;
      throw;
    }
  }
  return intervall_;
}

int TTimerSpeedButton::MausHoch(bool ueberDemKnopf) {
  intervall_ = 0;
  if (ueberDemKnopf && Click) Click();
  return 0;
}

}  // namespace mosaik
