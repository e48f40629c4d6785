// Visual styles: the two option sets, switching them, the main manager and
// the progress-bar parts.
#include <gtest/gtest.h>

#include <memory>

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

TEST(Theme, SpaeterenManagerLeitetAnDenHauptmanagerWeiter) {
  TThemeServices dienste;
  auto erster = std::make_unique<TThemeManager>(dienste);
  erster->setOptions(kThemeOhneRahmenUndControls);
  TThemeManager zweiter(dienste);
  EXPECT_FALSE(zweiter.istHauptmanager());
  // A later manager starts with the main manager's options.
  EXPECT_EQ(zweiter.Options(), kThemeOhneRahmenUndControls);

  zweiter.setOptions(kThemeVoll);
  EXPECT_EQ(erster->Options(), kThemeVoll);
  EXPECT_EQ(zweiter.Options(), kThemeVoll);
  EXPECT_EQ(erster->Neuzeichnungen(), 2);
  EXPECT_EQ(zweiter.Neuzeichnungen(), 0);
  EXPECT_TRUE(dienste.ThemesEnabled());

  // When the main manager ends, the later one takes over with the options
  // in force: setting them again changes nothing.
  erster.reset();
  EXPECT_TRUE(zweiter.istHauptmanager());
  zweiter.setOptions(kThemeVoll);
  EXPECT_EQ(zweiter.Neuzeichnungen(), 0);
  zweiter.setOptions(kThemeOhneRahmenUndControls);
  EXPECT_EQ(zweiter.Neuzeichnungen(), 1);
  EXPECT_FALSE(dienste.ThemesEnabled());
}

TEST(Theme, TeileDesFortschrittsbalkens) {
  const TThemeServices dienste;
  using P = TThemedProgress;
  const std::pair<P, TThemedElementDetails> teile[] = {
      {P::tpBar, {TThemedElement::teProgress, 1, 1}},         {P::tpBarVert, {TThemedElement::teProgress, 2, 1}},
      {P::tpChunk, {TThemedElement::teProgress, 3, 1}},       {P::tpChunkVert, {TThemedElement::teProgress, 4, 1}},
      {P::tpProgressDontCare, {TThemedElement::teProgress, 0, 0}},
      {P::tpProgressRoot, {TThemedElement::teProgress, 0, 0}}};
  for (const auto& [teil, details] : teile) EXPECT_EQ(dienste.GetElementDetails(teil), details);
}

}  // namespace
}  // namespace mosaik
