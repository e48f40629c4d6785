#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

#include "winsupport/Decimal4.h"
#include "winsupport/RealSpin.h"

namespace mosaik {
namespace {

std::optional<int64_t> units(const char* t, char sep = ',') {
  const auto d = Decimal4::parse(t, sep);
  return d ? std::optional<int64_t>(d->units()) : std::nullopt;
}

TEST(Decimal4, LesenRundenUndBereich) {
  const std::pair<const char*, std::optional<int64_t>> faelle[] = {
      {"1,1", 11000}, {" -2 ", -20000}, {"+3,", 30000}, {",5", 5000},
      // Places beyond the fourth round to the nearest, ties to even.
      {"1,23456", 12346}, {"1,23454", 12345}, {"0,00005", 0}, {"0,00015", 2}, {"0,000050001", 1},
      {"-0,00025", -2}, {"-0,00035", -4},
      // The range of 64 bits of ten-thousandths.
      {"922337203685477,5807", INT64_MAX}, {"922337203685477,5808", std::nullopt},
      {"-922337203685477,5808", INT64_MIN}, {"-922337203685477,58085", INT64_MIN},
      {"922337203685477,58075", std::nullopt}, {"99999999999999999999999", std::nullopt}};
  for (const auto& [text, erwartet] : faelle) EXPECT_EQ(units(text), erwartet) << text;
  EXPECT_EQ(units("1.5", '.'), 15000);
  for (const char* falsch : {"", " ", ",", "-", "1.5", "1,2,3", "1e3", "1 000", "0x10", "abc", "--1", "1-"})
    EXPECT_EQ(units(falsch), std::nullopt) << falsch;

  for (auto [einheiten, trenner, text] : {std::tuple<int64_t, char, const char*>{11000, ',', "1,1"}, {20000, ',', "2"},
                                          {-1, '.', "-0.0001"}, {1234567, ',', "123,4567"}})
    EXPECT_EQ(Decimal4::fromUnits(einheiten).toText(trenner), text);
  EXPECT_EQ(Decimal4::min().toText(','), "-922337203685477,5808");
  EXPECT_EQ(Decimal4::max().toText(','), "922337203685477,5807");

  EXPECT_EQ(Decimal4::max().plus(Decimal4::fromInt(1)), Decimal4::max());
  EXPECT_EQ(Decimal4::min().minus(Decimal4::fromInt(1)), Decimal4::min());
  EXPECT_EQ(Decimal4::min().plus(Decimal4::fromUnits(-1)), Decimal4::min());
  EXPECT_EQ(Decimal4::fromInt(1).minus(Decimal4::fromUnits(1)).units(), 9999);
  EXPECT_EQ(Decimal4::fromDouble(1e300), Decimal4::max());
  EXPECT_EQ(Decimal4::fromDouble(0.00005).units(), 1);
}

struct Spin : ::testing::Test {
  TRealSpinEdit e;
  int aenderungen = 0, pieptoene = 0;
  void SetUp() override {
    e.OnChange = [this] { ++aenderungen; };
    e.Piepton = [this] { ++pieptoene; };
  }
  static Decimal4 d(const char* t) { return *Decimal4::parse(t, ','); }
};

TEST_F(Spin, WertGrenzenUndSchritte) {
  EXPECT_EQ(e.Text(), "0");
  // Equal bounds (both 0 in a new edit): nothing is clamped.
  e.setValue(d("12"));
  EXPECT_EQ(e.Text(), "12");
  e.setValue(d("-3,5"));
  EXPECT_EQ(e.Text(), "-3,5");
  EXPECT_EQ(aenderungen, 2);
  e.setValue(d("-3,5"));
  EXPECT_EQ(aenderungen, 2);  // the same text is no change

  e.MinValue = d("1,1");
  e.MaxValue = d("10");
  e.Increment = d("0,1");
  e.setValue(d("12"));
  EXPECT_EQ(e.Text(), "10");
  e.setValue(d("0,5"));
  EXPECT_EQ(e.Text(), "1,1");
  e.setValue(d("1,15"));
  e.DownClick();
  EXPECT_EQ(e.Text(), "1,1");

  // Exact steps: ten times 0.1 from 1 is 2.
  e.MinValue = e.MaxValue = Decimal4();
  e.setValue(d("1"));
  for (int i = 0; i < 10; ++i) e.UpClick();
  EXPECT_EQ(e.Text(), "2");
  EXPECT_EQ(e.Value(), d("2"));

  // A text that does not convert reads as MinValue and stays when left.
  e.MinValue = d("1,1");
  e.MaxValue = d("10");
  e.setText("1.5");  // a point where the locale has a comma
  EXPECT_EQ(e.Value(), d("1,1"));
  e.Exit();
  EXPECT_EQ(e.Text(), "1.5");
  e.UpClick();  // steps from MinValue
  EXPECT_EQ(e.Text(), "1,2");
  e.setText("7,00");
  e.Exit();
  EXPECT_EQ(e.Text(), "7,00");  // inside the bounds: left as typed

  e.ReadOnly = true;
  e.UpClick();
  e.DownClick();
  EXPECT_EQ(e.Text(), "7,00");
  EXPECT_EQ(pieptoene, 2);
  EXPECT_FALSE(e.EinfuegenErlaubt());
}

TEST_F(Spin, Tastenregeln) {
  for (char32_t c : {U'0', U'9', U'+', U'-', U',', U'.', char32_t{8}, char32_t{9}, char32_t{22}, char32_t{27}})
    EXPECT_TRUE(e.KeyPress(c)) << static_cast<int>(c);
  for (char32_t c : {U'a', U'E', U' ', char32_t{13}, char32_t{127}, U'€', U'/'})
    EXPECT_FALSE(e.KeyPress(c)) << static_cast<int>(c);
  EXPECT_EQ(pieptoene, 7);
  e.Dezimaltrenner = '\'';
  EXPECT_TRUE(e.IsValidChar(U'\''));

  // Without the editor only the arrows and buttons change the value.
  e.EditorEnabled = false;
  for (char32_t c : {U'0', U'+', U',', char32_t{8}, char32_t{13}}) EXPECT_FALSE(e.IsValidChar(c)) << static_cast<int>(c);
  EXPECT_TRUE(e.IsValidChar(char32_t{3}));  // Ctrl+C
}

TEST(RealSpinLayout, HoeheUndKnoepfe) {
  EXPECT_EQ(RealSpinMindesthoehe(13, 16, 1), 22);
  EXPECT_EQ(RealSpinMindesthoehe(16, 13, 1), 25);
  EXPECT_EQ(RealSpinKnopfpaar(121, 21, 15, true), (Rechteck{101, 0, 15, 16}));
  EXPECT_EQ(RealSpinKnopfpaar(121, 21, 15, false), (Rechteck{106, 1, 15, 18}));
  Rechteck hoch, runter;
  SpinKnoepfe(15, 17, hoch, runter);
  EXPECT_EQ(hoch, (Rechteck{0, 0, 15, 8}));
  EXPECT_EQ(runter, (Rechteck{0, 7, 15, 10}));
  SpinKnoepfe(10, 16, hoch, runter);  // at least 15 wide
  EXPECT_EQ(hoch, (Rechteck{0, 0, 15, 8}));
  EXPECT_EQ(runter, (Rechteck{0, 7, 15, 9}));
}

TEST(RealSpinWiederholung, VierhundertDannHundertUndBeimLoslassen) {
  TTimerSpeedButton b;
  int klicks = 0;
  b.Click = [&] { ++klicks; };
  // A short click steps once, on release over the button.
  EXPECT_EQ(b.MausRunter(), 400);
  EXPECT_EQ(b.MausHoch(true), 0);
  EXPECT_EQ(klicks, 1);
  EXPECT_EQ(b.TimerTick(true), 0);  // the timer is off
  EXPECT_EQ(klicks, 1);
  // Held: a step at 400 ms, then every 100 ms, and one more on release.
  b.MausRunter();
  EXPECT_EQ(b.TimerTick(true), 100);
  EXPECT_EQ(b.TimerTick(true), 100);
  EXPECT_EQ(b.TimerTick(false), 100);  // dragged off the button: no step
  EXPECT_EQ(klicks, 3);
  b.MausHoch(false);  // released elsewhere
  EXPECT_EQ(klicks, 3);
  // A failing click stops the timer and passes on.
  b.Click = [] { throw std::runtime_error("x"); };
  b.MausRunter();
  EXPECT_THROW(b.TimerTick(true), std::runtime_error);
  EXPECT_EQ(b.TimerTick(true), 0);
}

}  // namespace
}  // namespace mosaik
