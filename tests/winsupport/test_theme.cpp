// Visual styles: the two option sets, switching them, and the progress-bar
// parts the busy bar draws.
#include <gtest/gtest.h>

#include "winsupport/ThemeManager.h"

namespace mosaik {
namespace {

TEST(Theme, AusUndWiederEinSchaltenUndGleicheOptionenZeichnenNichtsNeu) {
  TThemeServices dienste;
  int dienstMeldungen = 0;
  dienste.OnThemeChange = [&] { ++dienstMeldungen; };
  TThemeManager mgr(dienste);
  int meldungen = 0;
  mgr.OnThemeChange = [&] {
    ++meldungen;
    // By the time the windows hear of it, the services know it too.
    EXPECT_EQ(dienste.ThemesEnabled(), mgr.Options() == kThemeVoll);
  };
  EXPECT_TRUE(mgr.istHauptmanager());
  EXPECT_EQ(mgr.Options(), kThemeVoll);
  EXPECT_TRUE(dienste.ThemesEnabled());

  mgr.setOptions(kThemeOhneRahmenUndControls);
  EXPECT_FALSE(dienste.ThemesEnabled());
  EXPECT_TRUE(dienste.ThemesAvailable());
  EXPECT_EQ(dienste.GetThemeAppProperties(), static_cast<uint32_t>(kErlaubtWebinhalt));
  EXPECT_EQ(mgr.Neuzeichnungen(), 1);

  mgr.setOptions(kThemeOhneRahmenUndControls);
  EXPECT_EQ(mgr.Neuzeichnungen(), 1);
  EXPECT_EQ(meldungen, 1);

  mgr.setOptions(kThemeVoll);
  EXPECT_TRUE(dienste.ThemesEnabled());
  EXPECT_EQ(dienste.GetThemeAppProperties(), static_cast<uint32_t>(kErlaubtRahmen | kErlaubtControls | kErlaubtWebinhalt));
  EXPECT_EQ(mgr.Neuzeichnungen(), 2);
  EXPECT_EQ(meldungen, 2);
  EXPECT_EQ(dienstMeldungen, 2);

  // Frames alone do not make the controls themed.
  mgr.setOptions(kThemeVoll.ohne(TThemeOption::toAllowControls));
  EXPECT_FALSE(dienste.ThemesEnabled());
}

TEST(Theme, OhneStileDerPlattformNieThemesEnabled) {
  TThemeServices dienste;
  int meldungen = 0;
  dienste.OnThemeChange = [&] { ++meldungen; };
  TThemeManager mgr(dienste);
  dienste.setPlattformHatStile(false);
  EXPECT_EQ(meldungen, 1);
  EXPECT_FALSE(dienste.ThemesAvailable());
  EXPECT_FALSE(dienste.ThemesEnabled());
  mgr.setOptions(kThemeOhneRahmenUndControls);
  mgr.setOptions(kThemeVoll);
  EXPECT_FALSE(dienste.ThemesEnabled());
  dienste.setPlattformHatStile(false);  // no change, no notice
  EXPECT_EQ(meldungen, 3);
  dienste.setPlattformHatStile(true);
  EXPECT_TRUE(dienste.ThemesEnabled());
}

TEST(Theme, TeileDesFortschrittsbalkens) {
  const TThemeServices dienste;
  using P = TThemedProgress;
  // The two parts the busy bar draws.
  const std::pair<P, TThemedElementDetails> teile[] = {{P::tpBar, {TThemedElement::teProgress, 1, 1}},
                                                       {P::tpChunk, {TThemedElement::teProgress, 3, 1}}};
  for (const auto& [teil, details] : teile) EXPECT_EQ(dienste.GetElementDetails(teil), details);
}

}  // namespace
}  // namespace mosaik
