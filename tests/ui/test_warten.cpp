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
  // The bar's geometry shows in the drawing tests.
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

TEST_F(Warten, SchlichterBalkenVerlaufUndWende) {
  f.TimerTimer();  // block from -143 to 0
  EXPECT_EQ(f.X, -126);
  f.TimerTimer();  // block from -126 to 17
  // Worked by hand: start + ((end - start) * (c + 126)) div 143, truncated
  // toward zero, face colour to highlight.
  EXPECT_EQ(f.pixel(0, 1), 0x4AA4FDu);   // (74, 164, 253)
  EXPECT_EQ(f.pixel(0, 15), 0x4AA4FDu);
  EXPECT_EQ(f.pixel(16, 8), 0x359AFEu);  // (53, 154, 254)
  EXPECT_EQ(f.pixel(17, 8), kFlaeche);   // the block's right end is erased
  EXPECT_EQ(f.pixel(0, 0), kFlaeche);    // the top row inside the block stays
  EXPECT_EQ(f.pixel(0, 16), kFlaeche);   // the bottom row is never painted
  EXPECT_EQ(f.pixel(100, 8), kFlaeche);
  EXPECT_EQ(f.X, -109);

  // The block runs out at the right, turns once wholly outside.
  for (int i = 2; i < 17; ++i) f.TimerTimer();
  EXPECT_EQ(f.X, 146);
  EXPECT_FALSE(f.NachRechts);
  f.TimerTimer();  // drawn at 146: nothing inside the box
  EXPECT_EQ(f.X, 129);
  f.TimerTimer();  // block 129..272 moving left: the highlight end leads
  EXPECT_EQ(f.pixel(129, 8), kHell);
  EXPECT_EQ(f.pixel(128, 8), kFlaeche);
  // c = 142: (51 + 2457 div 143, 153 + 1131 div 143, 255 + (-195) div 143)
  EXPECT_EQ(f.pixel(142, 8), 0x44A0FEu);
}

TEST_F(Warten, ThemenBalkenInDreierbloecken) {
  bool themen = true;
  f.ThemesEnabled = [&] { return themen; };
  using T = TwartenForm::ThemenTeil;
  std::vector<int> positionen;
  for (int i = 0; i < 4; ++i) {
    positionen.push_back(f.P);
    f.TimerTimer();
  }
  // p = 0 was drawn last: background, then chunk and gap for 0, 1, 2.
  EXPECT_EQ(f.ThemenTeile, (std::vector<T>{{T::Hintergrund, 0, 2, 143, 15},
                                           {T::Chunk, 0, 2, 8, 15},
                                           {T::Balken, 8, 2, 11, 15},
                                           {T::Chunk, 11, 2, 19, 15},
                                           {T::Balken, 19, 2, 22, 15},
                                           {T::Chunk, 22, 2, 30, 15},
                                           {T::Balken, 30, 2, 33, 15}}));
  for (int i = 0; i < 12; ++i) {
    positionen.push_back(f.P);
    f.TimerTimer();
  }
  // p = 12: chunks 13 and 14 lie beyond the box and are clipped away.
  EXPECT_EQ(f.ThemenTeile.size(), 3u);
  EXPECT_EQ(f.ThemenTeile.back(), (T{T::Balken, 140, 2, 143, 15}));
  for (int i = 0; i < 19; ++i) {
    positionen.push_back(f.P);
    f.TimerTimer();
  }
  EXPECT_EQ(positionen, (std::vector<int>{-3, -2, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 12, 11, 10,
                                          9,  8,  7,  6, 5, 4, 3, 2, 1, 0, -1, -2, -3, -3, -2}));
  // Moving left the gap comes before each chunk.
  f.NachRechts = false;
  f.P = 0;
  f.TimerTimer();
  EXPECT_EQ(f.ThemenTeile[1], (T{T::Balken, 0, 2, 3, 15}));
  EXPECT_EQ(f.ThemenTeile[2], (T{T::Chunk, 3, 2, 11, 15}));

  // Switching the styles off changes the variant at the next tick, without
  // resetting any position.
  themen = false;
  ASSERT_EQ(f.X, -143);
  f.TimerTimer();
  EXPECT_EQ(f.X, -160);  // moving left, then turned
  EXPECT_TRUE(f.NachRechts);
  EXPECT_EQ(f.P, -1);
}

}  // namespace
}  // namespace mosaik
