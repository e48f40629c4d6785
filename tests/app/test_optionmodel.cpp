#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/options/OptionModel.h"

namespace mosaik {
namespace {

struct Zaehler : OptionEvents {
  std::vector<std::string> log;
  void optionEvent(Opt o, Ev e) override {
    static const char* kEv[] = {"Click", "Change", "Exit"};
    log.push_back(std::string(info(o).name) + kEv[static_cast<int>(e)]);
  }
  void procedure(Proc p) override { log.push_back(std::string(procName(p))); }
};

struct Modell : ::testing::Test {
  OptionModel m;
  Zaehler z;
  void SetUp() override { m.setEvents(&z); }
};

TEST_F(Modell, StartwerteDerFensteranlage) {
  // Not touched by the defaults: the layout's own start values.
  EXPECT_TRUE(m.checked(Opt::CBDateinameAlsHint));
  EXPECT_EQ(m.text(Opt::EdGrafikGrossZurueck), "");
  EXPECT_EQ(m.text(Opt::EdGrafikDiashowAus), "");
}

TEST_F(Modell, KontrollkaestchenFeuertNurBeiWechsel) {
  m.setChecked(Opt::CBDiashow, true);
  m.setChecked(Opt::CBDiashow, true);
  m.setChecked(Opt::CBDiashow, false);
  EXPECT_EQ(z.log, (std::vector<std::string>{"CBDiashowClick", "CBDiashowClick"}));
}

TEST_F(Modell, RadioFeuertNurBeimEinschaltenUndSchaltetDieGruppeUm) {
  m.setChecked(Opt::RBLaengereSeite, true);
  m.setChecked(Opt::RBHoehe, true);
  m.setChecked(Opt::RBHoehe, true);
  EXPECT_FALSE(m.checked(Opt::RBLaengereSeite));
  EXPECT_EQ(m.radioChoice(Opt::RBLaengereSeite), Opt::RBHoehe);
  // Another group on the same page is not touched.
  m.setChecked(Opt::RBPanoramaBreite, true);
  EXPECT_TRUE(m.checked(Opt::RBHoehe));
  m.setChecked(Opt::RBHoehe, false);  // switching off fires nothing
  EXPECT_EQ(z.log, (std::vector<std::string>{"RBLaengereSeiteClick", "RBHoeheClick", "RBPanoramaBreiteClick"}));
  EXPECT_EQ(m.radioChoice(Opt::RBLaengereSeite), Opt::Count);
}

TEST_F(Modell, TexteUndSpinsFeuernChangeNurBeiAenderung) {
  m.setText(Opt::EdSeitentitel, "a");
  m.setText(Opt::EdSeitentitel, "a");
  m.setSpin(Opt::SpEdGroesse, 120);
  m.setSpin(Opt::SpEdGroesse, 120);
  m.setPosition(Opt::TrBKomprimierung, 30);
  m.setPosition(Opt::TrBKomprimierung, 30);
  m.setIndex(Opt::CoBDoctype, 2);
  m.setColor(Opt::PanelTextFarbe, 0x123456);
  EXPECT_EQ(z.log, (std::vector<std::string>{"EdSeitentitelChange", "SpEdGroesseChange", "TrBKomprimierungChange"}));
}

TEST_F(Modell, SpinwerteKlemmenUndLesenUnzahlenAlsUntergrenze) {
  m.setSpin(Opt::SpEdGroesse, 5);
  EXPECT_EQ(m.spin(Opt::SpEdGroesse), 10);
  EXPECT_EQ(m.text(Opt::SpEdGroesse), "10");
  m.setSpin(Opt::SpEdGroesse, 1000000);
  EXPECT_EQ(m.spin(Opt::SpEdGroesse), 99999);
  m.setText(Opt::SpEdGroesse, "zwölf");
  EXPECT_EQ(m.spin(Opt::SpEdGroesse), 10);
  m.setText(Opt::SpEdGroesse, "");
  EXPECT_EQ(m.spin(Opt::SpEdGroesse), 10);
  m.setText(Opt::SpEdAbstand1, "-1");
  EXPECT_EQ(m.spin(Opt::SpEdAbstand1), -1);
  m.setText(Opt::SpEdAbstand1, "-7");
  EXPECT_EQ(m.spin(Opt::SpEdAbstand1), -1);
  // Equal bounds switch clamping off.
  m.setBounds(Opt::SpEdGroesse, 0, 0);
  m.setSpin(Opt::SpEdGroesse, 5);
  EXPECT_EQ(m.spin(Opt::SpEdGroesse), 5);
  m.setPosition(Opt::TrBKomprimierung, 0);
  EXPECT_EQ(m.position(Opt::TrBKomprimierung), 1);
}

TEST_F(Modell, DezimalwerteMitTrennzeichenUndGrenzen) {
  m.setDecimalSeparator(',');
  m.setDecimal(Opt::RSpEdVerhaeltnis, Decimal4::fromUnits(15000));
  EXPECT_EQ(m.text(Opt::RSpEdVerhaeltnis), "1,5");
  m.setDecimal(Opt::RSpEdVerhaeltnis, Decimal4::fromUnits(500));
  EXPECT_EQ(m.decimal(Opt::RSpEdVerhaeltnis).units(), 11000);
  m.setText(Opt::RSpEdVerhaeltnis, "kein Wert");
  EXPECT_EQ(m.decimal(Opt::RSpEdVerhaeltnis).units(), 11000);
  m.setText(Opt::RSpEdVerhaeltnis, "2,25");
  EXPECT_EQ(m.decimal(Opt::RSpEdVerhaeltnis).units(), 22500);
}

TEST_F(Modell, ListenUndGroessenlisten) {
  EXPECT_EQ(m.items(Opt::CoBDoctype).size(), 4u);
  m.setIndex(Opt::CoBDoctype, 3);
  m.setIndex(Opt::CoBDoctype, 7);  // no such item: ignored
  EXPECT_EQ(m.index(Opt::CoBDoctype), 3);
  m.setIndex(Opt::CoBRestGroesse, 0);
  EXPECT_EQ(m.text(Opt::CoBRestGroesse), "Standard (keine Angabe)");
  m.setIndex(Opt::CoBUebGroesse, 13);
  EXPECT_EQ(m.text(Opt::CoBUebGroesse), "10.5pt");
  EXPECT_EQ(m.items(Opt::CoBUebGroesse).size(), 33u);
  EXPECT_EQ(m.items(Opt::CoBUebGroesse).back(), "70pt");
}

TEST_F(Modell, TabelleKenntJedeOptionUndIhreArt) {
  EXPECT_EQ(optByName("CBTypJpg"), Opt::CBTypJpg);
  EXPECT_FALSE(optByName("GibtEsNicht").has_value());
  EXPECT_EQ(info(Opt::SpEdZeilenProSeitezahl).max, 1000);
  EXPECT_EQ(info(Opt::RSpEdVerhaeltnis).min, 11000);
  EXPECT_EQ(info(Opt::RBModusExperte).radioGroup, Opt::RBModusAnfaenger);
  EXPECT_TRUE(onNavigationWindow(Opt::EdGrafikDiashowAus));
  EXPECT_FALSE(onNavigationWindow(Opt::CBDateinameAlsHint));
  int optionen = 0;
  for (int i = 0; i < kOptCount; ++i) {
    const Kind k = info(static_cast<Opt>(i)).kind;
    if (k != Kind::Button && k != Kind::Label) ++optionen;
  }
  EXPECT_GE(optionen, 255);
}

}  // namespace
}  // namespace mosaik
