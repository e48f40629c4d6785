#include <gtest/gtest.h>

#include "ui/Formulare.h"

namespace mosaik {
namespace {

constexpr uint32_t kFlaeche = 0xF0F0F0;  // (240, 240, 240)
constexpr uint32_t kHell = 0x3399FF;     // (51, 153, 255)

struct Warten : ::testing::Test {
  TwartenForm f;
  int meldungen = 0;
  void SetUp() override {
    f.geaendert = [this] { ++meldungen; };
    f.Hervorhebung = kHell;
    f.Flaeche = kFlaeche;
    AbbruchFlag = 1;
    f.FormCreate();
  }
  void TearDown() override { AbbruchFlag = 0; }
};

TEST_F(Warten, ErzeugenZeigenUndAbbrechen) {
  EXPECT_EQ(AbbruchFlag.load(), 0);
  f.Show();
  EXPECT_TRUE(f.Visible);
  f.aktuelleDatei("/fotos/urlaub/strand.jpg");
  EXPECT_EQ(f.LAktuellerDateiname, "/fotos/urlaub/strand.jpg");

  f.BAbbruchClick();
  EXPECT_EQ(AbbruchFlag.load(), 1);
  EXPECT_EQ(f.Caption, "ABBRUCH");
  EXPECT_EQ(f.LAktuellerDateiname, "...noch einen Moment!");
  EXPECT_FALSE(f.BAbbruchEnabled);
  AbbruchFlag = 0;
  f.BAbbruchClick();  // a disabled button cannot be pressed again
  EXPECT_EQ(AbbruchFlag.load(), 0);

  // The next show leaves no trace of the cancel (and shows the texts every
  // show starts with).
  AbbruchFlag = 1;
  f.Hide();
  EXPECT_FALSE(f.Visible);
  f.Show();
  EXPECT_EQ(AbbruchFlag.load(), 0);
  EXPECT_EQ(f.Caption, "Bitte warten...");
  EXPECT_EQ(f.LAktuellerDateiname, "Verarbeitung läuft!");
  EXPECT_TRUE(f.BAbbruchEnabled);
  EXPECT_GE(meldungen, 5);
}

TEST_F(Warten, SchlichterBalkenWandertWendetUndBleibtImKasten) {
  constexpr int B = TwartenForm::kBreite, H = TwartenForm::kHoehe;
  std::vector<int> wenden;
  for (int tick = 0; tick < 40; ++tick) {
    const int x1 = f.X, x2 = f.X + B;
    const bool rechts = f.NachRechts;
    f.TimerTimer();
    EXPECT_EQ(f.X, x1 + (rechts ? 17 : -17));
    if (f.NachRechts != rechts) wenden.push_back(f.X);
    // Outside the block, and on the top and bottom rows, the face colour.
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < B; ++x) {
        if (y == 0 || y == H - 1 || x < x1 || x >= x2) {
          ASSERT_EQ(f.pixel(x, y), kFlaeche) << tick << ": " << x << "," << y;
        }
      }
    if (tick == 1) {
      EXPECT_NE(f.pixel(16, 8), kFlaeche);  // the block from 0 to 17
    }
  }
  // It turns once it is wholly outside, on either side.
  EXPECT_EQ(wenden, (std::vector<int>{146, -160}));
}

TEST_F(Warten, ThemenBalkenWandertWendetUndBleibtImKasten) {
  f.ThemesEnabled = [] { return true; };
  std::vector<int> positionen;
  for (int i = 0; i < 35; ++i) {
    positionen.push_back(f.P);
    f.TimerTimer();
    for (const auto& t : f.ThemenTeile) {
      EXPECT_TRUE(t.x1 >= 0 && t.x1 < t.x2 && t.x2 <= TwartenForm::kBreite) << i << ": " << t.x1 << ".." << t.x2;
      EXPECT_TRUE(t.y1 == 2 && t.y2 == TwartenForm::kHoehe - 2) << i;
    }
  }
  EXPECT_EQ(positionen, (std::vector<int>{-3, -2, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 12, 11, 10,
                                          9,  8,  7,  6, 5, 4, 3, 2, 1, 0, -1, -2, -3, -3, -2}));
}

}  // namespace
}  // namespace mosaik
