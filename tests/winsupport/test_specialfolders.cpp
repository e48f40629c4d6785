// Special folders answered by their freedesktop equivalents.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "TempOrdner.h"
#include "winsupport/SpecialFolders.h"

namespace mosaik {
namespace {

Umgebung umgebung(std::map<std::string, std::string> werte) {
  return [werte](const char* name) -> std::optional<std::string> {
    const auto it = werte.find(name);
    if (it == werte.end()) return std::nullopt;
    return it->second;
  };
}

TEST(SpecialFolders, ApplicationDataFollowsXdgConfigHome) {
  EXPECT_EQ(TSpecialFolders(umgebung({{"HOME", "/home/anna"}})).AppData(), "/home/anna/.config");
  EXPECT_EQ(TSpecialFolders(umgebung({{"HOME", "/home/anna/"}, {"XDG_CONFIG_HOME", "/k/conf/"}})).AppData(),
            "/k/conf");
  // A relative XDG variable is ignored, as the base-directory rules demand.
  EXPECT_EQ(TSpecialFolders(umgebung({{"HOME", "/home/anna"}, {"XDG_CONFIG_HOME", "conf"}})).AppData(),
            "/home/anna/.config");
  // Without any home the folder is unknown: empty, and the object is still made.
  const TSpecialFolders leer(umgebung({}));
  EXPECT_EQ(leer.AppData(), "");
  EXPECT_EQ(leer.Desktop(), "");
  EXPECT_EQ(leer.CommonAppData(), "/etc/xdg");
}

TEST(SpecialFolders, UserDirsAndDataFolders) {
  const mosaik::test::TempOrdner heim;
  const std::filesystem::path home = heim.pfad() + "anna";
  std::filesystem::create_directories(home / ".config");
  {
    std::ofstream f(home / ".config/user-dirs.dirs");
    f << "# written by xdg-user-dirs-update\n"
         "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
         "XDG_PICTURES_DIR=\"/daten/Bilder/\"\n"
         "XDG_DOCUMENTS_DIR=\"relativ/ungültig\"\n";
  }
  const std::string h = home.string();
  const TSpecialFolders sf(umgebung({{"HOME", h}}));
  EXPECT_EQ(sf.Desktop(), h + "/Schreibtisch");
  EXPECT_EQ(sf.DesktopDirectory(), h + "/Schreibtisch");
  EXPECT_EQ(sf.MyPictures(), "/daten/Bilder");
  EXPECT_EQ(sf.Personal(), h);  // an invalid entry falls back like xdg-user-dir
  EXPECT_EQ(sf.Programs(), h + "/.local/share/applications");
  EXPECT_EQ(sf.LocalAppData(), h + "/.local/share");
  EXPECT_EQ(sf.Profile(), h);

  const TSpecialFolders ohneDatei(umgebung({{"HOME", "/home/anna"}, {"XDG_DATA_HOME", "/d"}}));
  EXPECT_EQ(ohneDatei.Desktop(), "/home/anna/Desktop");
  EXPECT_EQ(ohneDatei.Programs(), "/d/applications");

  std::string unveraendert = "vorher";
  GetSpecialFolderPath(SpecialFolder::Network, unveraendert, umgebung({{"HOME", "/h"}}));
  EXPECT_EQ(unveraendert, "vorher");
  GetSpecialFolderPath(SpecialFolder::AppData, unveraendert, umgebung({{"HOME", "/h"}}));
  EXPECT_EQ(unveraendert, "/h/.config");
}

}  // namespace
}  // namespace mosaik
