// The program's start and end around the shortcut boxes and the visual
// styles: shortcuts found at start tick their boxes, the busy bar follows the
// theming box, and closing leaves the styles switched on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestUmgebung.h"
#include "app/Programm.h"

namespace mosaik {
namespace {

TEST(ProgrammStart, VorhandeneVerknuepfungenKreuzenIhreKaestchenAn) {
  test::TestUmgebung u;
  test::TempOrdner heim;
  std::filesystem::create_directories(heim.pfad() + "Desktop");
  std::ofstream(heim.pfad() + "Desktop/Mosaikschauer 2.6.1.desktop") << "eigene";
  Programm p(u.sv, {});
  p.HauptForm.verknuepfungen.umgebung = [&](const char* n) -> std::optional<std::string> {
    if (std::string(n) == "HOME") return heim.pfad();
    return std::nullopt;
  };
  p.start();
  EXPECT_TRUE(p.m.checked(Opt::CBDesktopVerknuepfung));
  EXPECT_FALSE(p.m.checked(Opt::CBStartmenueVerknuepfung));
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST(ProgrammStart, FortschrittsbalkenFolgtDemThemingUndBeendenSchaltetEsWiederEin) {
  test::TestUmgebung u;
  Programm p(u.sv, {});
  p.HauptForm.verknuepfungen.umgebung = [](const char*) { return std::optional<std::string>(); };
  p.start();
  p.FormActivate();
  ASSERT_TRUE(p.wartenForm.ThemesEnabled);
  EXPECT_TRUE(p.m.checked(Opt::CBTheming));
  EXPECT_TRUE(p.wartenForm.ThemesEnabled());
  p.m.setChecked(Opt::CBTheming, false);
  EXPECT_FALSE(p.wartenForm.ThemesEnabled());
  // The busy bar takes the plain step now, without losing its place.
  const int x = p.wartenForm.X;
  p.wartenForm.TimerTimer();
  EXPECT_EQ(p.wartenForm.X, x + p.wartenForm.Schritt);
  p.BitBBeendenClick();
  ASSERT_TRUE(p.beendet());
  EXPECT_EQ(p.HauptForm.ThemeManager.Options(), kThemeVoll);
  EXPECT_TRUE(ThemeServices().ThemesEnabled());
}

}  // namespace
}  // namespace mosaik
