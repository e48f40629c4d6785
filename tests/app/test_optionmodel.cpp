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

// Boxes fire on every change, radios only when switched on (and switch their
// group alone), values only when they differ; lists and colours never.
TEST_F(Modell, EreignisseNurBeiWechsel) {
  m.setChecked(Opt::CBDiashow, true);
  m.setChecked(Opt::CBDiashow, true);
  m.setChecked(Opt::CBDiashow, false);
  m.setChecked(Opt::RBLaengereSeite, true);
  m.setChecked(Opt::RBHoehe, true);
  m.setChecked(Opt::RBHoehe, true);
  EXPECT_FALSE(m.checked(Opt::RBLaengereSeite));
  EXPECT_EQ(m.radioChoice(Opt::RBLaengereSeite), Opt::RBHoehe);
  m.setChecked(Opt::RBPanoramaBreite, true);  // another group on the same page
  EXPECT_TRUE(m.checked(Opt::RBHoehe));
  m.setChecked(Opt::RBHoehe, false);  // switching off fires nothing
  EXPECT_EQ(m.radioChoice(Opt::RBLaengereSeite), Opt::Count);
  m.setText(Opt::EdSeitentitel, "a");
  m.setText(Opt::EdSeitentitel, "a");
  m.setSpin(Opt::SpEdGroesse, 120);
  m.setSpin(Opt::SpEdGroesse, 120);
  m.setPosition(Opt::TrBKomprimierung, 30);
  m.setPosition(Opt::TrBKomprimierung, 30);
  m.setIndex(Opt::CoBDoctype, 2);
  m.setColor(Opt::PanelTextFarbe, 0x123456);
  EXPECT_EQ(z.log, (std::vector<std::string>{"CBDiashowClick", "CBDiashowClick", "RBLaengereSeiteClick",
                                             "RBHoeheClick", "RBPanoramaBreiteClick", "EdSeitentitelChange",
                                             "SpEdGroesseChange", "TrBKomprimierungChange"}));
}

TEST_F(Modell, WerteKlemmenUndUnzahlenLesenAlsUntergrenze) {
  m.setSpin(Opt::SpEdGroesse, 5);
  EXPECT_EQ(m.spin(Opt::SpEdGroesse), 10);
  EXPECT_EQ(m.text(Opt::SpEdGroesse), "10");
  m.setSpin(Opt::SpEdGroesse, 1000000);
  EXPECT_EQ(m.spin(Opt::SpEdGroesse), 99999);
  for (const char* unzahl : {"zwölf", ""}) {
    m.setText(Opt::SpEdGroesse, unzahl);
    EXPECT_EQ(m.spin(Opt::SpEdGroesse), 10) << unzahl;
  }
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

  m.setDecimalSeparator(',');
  m.setDecimal(Opt::RSpEdVerhaeltnis, Decimal4::fromUnits(15000));
  EXPECT_EQ(m.text(Opt::RSpEdVerhaeltnis), "1,5");
  m.setDecimal(Opt::RSpEdVerhaeltnis, Decimal4::fromUnits(500));
  EXPECT_EQ(m.decimal(Opt::RSpEdVerhaeltnis).units(), 11000);
  m.setText(Opt::RSpEdVerhaeltnis, "kein Wert");
  EXPECT_EQ(m.decimal(Opt::RSpEdVerhaeltnis).units(), 11000);
  m.setText(Opt::RSpEdVerhaeltnis, "2,25");
  EXPECT_EQ(m.decimal(Opt::RSpEdVerhaeltnis).units(), 22500);

  m.setIndex(Opt::CoBDoctype, 3);
  m.setIndex(Opt::CoBDoctype, 7);  // no such item: ignored
  EXPECT_EQ(m.index(Opt::CoBDoctype), 3);
  m.setIndex(Opt::CoBRestGroesse, 0);
  EXPECT_EQ(m.text(Opt::CoBRestGroesse), "Standard (keine Angabe)");
  m.setIndex(Opt::CoBUebGroesse, 13);
  EXPECT_EQ(m.text(Opt::CoBUebGroesse), "10.5pt");
}

}  // namespace
}  // namespace mosaik
