#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "TestUmgebung.h"
#include "winsupport/FolderDialog.h"

namespace mosaik {
namespace {

using F = TBrowseInfoFlag;

// An environment variable set for a while; unset when the value is empty.
struct Umgebung {
  std::string name;
  std::optional<std::string> alt;
  Umgebung(const char* n, const char* wert) : name(n) {
    if (const char* a = std::getenv(n)) alt = a;
    if (*wert)
      ::setenv(n, wert, 1);
    else
      ::unsetenv(n);
  }
  ~Umgebung() {
    if (alt)
      ::setenv(name.c_str(), alt->c_str(), 1);
    else
      ::unsetenv(name.c_str());
  }
};

TEST(FolderDialog, TexteNachDerSpracheDesBenutzers) {
  test::FakeDialoge d;
  // The texts themselves are the table's data; an entry, and none: the
  // "Default" text.
  const std::map<std::string, std::string> erwartet = {
      {"0407", "Ausgewählter Ordner:"}, {"040C", "Dossier Courant:"}, {"0419", "Current folder:"}, {"", "Current folder:"}};
  for (const auto& [sprache, text] : erwartet) {
    EXPECT_EQ(TFolderDialog(d, sprache).labelText(), text) << sprache;
  }
  // A service whose dialogs speak one language whatever the user's: its
  // texts, also where the user's locale names another or none.
  for (const char* lang : {"fr_FR.UTF-8", "C", ""}) {
    const Umgebung l("LANG", lang), a("LC_ALL", ""), m("LC_MESSAGES", "");
    EXPECT_EQ(TFolderDialog(d).labelText(), std::string(*lang == 'f' ? "Dossier Courant:" : "Current folder:")) << lang;
    d.sprache = "de_DE";
    EXPECT_EQ(TFolderDialog(d).labelText(), "Ausgewählter Ordner:") << lang;
    d.sprache.clear();
  }
  // Without a "Default" the first entry counts; empty is empty; the key is
  // matched whole.
  EXPECT_EQ(beschriftungSuchen({"0409=Folder:", "040C=Dossier :"}, "0407"), "Folder:");
  EXPECT_EQ(beschriftungSuchen({"0409=Folder:", "0407=Ordner:"}, "0407"), "Ordner:");
  EXPECT_EQ(beschriftungSuchen({}, "0407"), "");
  EXPECT_EQ(beschriftungSuchen({"04070=falsch", "0407=richtig"}, "0407"), "richtig");
  EXPECT_EQ(beschriftungSuchen({"Default=Standard", "0407=Deutsch"}, "0409"), "Standard");

  // A territory without own texts gets the language's first.
  for (const auto& [locale, schluessel] : std::map<std::string, std::string>{
           {"de_DE.UTF-8", "0407"}, {"de_AT.UTF-8@euro", "0C07"}, {"de_CH", "0807"}, {"de_BE.UTF-8", "0407"},
           {"fr_CA", "0C0C"}, {"en_ZA.UTF-8", "1C09"}, {"pt_PT", "0816"}, {"C.UTF-8", ""}, {"POSIX", ""},
           {"ru_RU.UTF-8", ""}, {"", ""}, {"deu", ""}})
    EXPECT_EQ(sprachschluessel(locale), schluessel) << locale;
}

TEST(FolderDialog, StatuszeileKuerztLangePfadeAufFuenfzigZeichen) {
  const std::string fuenfzig = "/ä/" + std::string(47, 'b');
  struct Fall {
    std::string pfad;
    int m;
    std::string zeile;
  };
  const Fall faelle[] = {
      // The start up to the root separator, "...", and the last folders that fit.
      {"/home/benutzer/Bilder/Urlaub 2023/Mallorca/Strand/Tag 1", 50, "/.../Bilder/Urlaub 2023/Mallorca/Strand/Tag 1"},
      {"//server/freigabe/Bilder/Urlaub 2023/Mallorca/Strand", 50, "//server/.../Bilder/Urlaub 2023/Mallorca/Strand"},
      // The two slashes in front of a network path are no separators.
      {"//server/" + std::string(50, 'x'), 50, "//server/" + std::string(41, 'x')},
      // Characters, not bytes.
      {"/home/jürgen/Übersicht/Größere Bilder/Sommerfest/Tag 1", 50, "/.../Übersicht/Größere Bilder/Sommerfest/Tag 1"},
      {fuenfzig, 50, fuenfzig},
      // A last folder longer than the line: cut, with "..." at the end.
      {"/a/" + std::string(60, 'x'), 50, "/.../" + std::string(42, 'x') + "..."},
      // Short texts, texts with fewer than two separators, tiny widths: the
      // first m characters.
      {"/home/a", 50, "/home/a"},
      {std::string(60, 'x'), 50, std::string(50, 'x')},
      {"/" + std::string(59, 'x'), 50, "/" + std::string(49, 'x')},
      {"/home/benutzer/Bilder", 5, "/home"},
      {"/home/benutzer/Bilder", 12, "/.../Bilder"},
      {"", 50, ""},
  };
  for (const Fall& f : faelle) {
    EXPECT_EQ(statusTextKuerzen(f.pfad, f.m), f.zeile) << f.pfad;
  }
}

TEST(FolderDialog, WahlAbbruchUndEintragOhnePfad) {
  test::FakeDialoge d;
  TFolderDialog dialog(d, "0407");
  dialog.Flags = {F::ShowPath, F::ShowShared};
  dialog.Folder = "/start/ordner";
  d.ordnerAntworten.push_back(FolderChoice{"/gewaehlt/ordner"});
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Folder, "/gewaehlt/ordner");
  ASSERT_EQ(d.ordnerDialoge.size(), 1u);
  const FolderDialogOptions& o = d.ordnerDialoge[0];
  EXPECT_EQ(o.folder, "/start/ordner");
  EXPECT_EQ(o.label, "Ausgewählter Ordner:");
  // ShowPath and ShowShared.
  EXPECT_EQ(o.flags, 0x8004u);
  ASSERT_TRUE(o.statusText);
  EXPECT_EQ(o.statusText("/a/" + std::string(60, 'x')), "/.../" + std::string(42, 'x') + "...");

  // Cancel: false, Folder as the caller set it.
  dialog.Folder = "/vorher";
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Folder, "/vorher");

  // An item that is no file-system folder: chosen, but with an empty path.
  d.ordnerAntworten.push_back(FolderChoice{""});
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Folder, "");

  // Without ShowPath there is no status line.
  dialog.Flags = {F::OnlyFileSystem};
  dialog.Execute();
  EXPECT_FALSE(d.ordnerDialoge.back().statusText);
  EXPECT_EQ(d.ordnerDialoge.back().flags, 0x1u);
}

}  // namespace
}  // namespace mosaik
