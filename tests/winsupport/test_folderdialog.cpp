#include <gtest/gtest.h>

#include <map>

#include "TestUmgebung.h"
#include "winsupport/FolderDialog.h"

namespace mosaik {
namespace {

using F = TBrowseInfoFlag;

TEST(FolderDialog, FlagsGebenDieBitsDerOrdnerwahl) {
  const std::pair<F, uint32_t> tabelle[] = {
      {F::OnlyComputers, 0x1000}, {F::OnlyPrinters, 0x2000}, {F::OnlyDomains, 0x2},   {F::OnlyAncestors, 0x8},
      {F::OnlyFileSystem, 0x1},   {F::ShowPath, 0x4},        {F::EditBox, 0x10},      {F::Includefiles, 0x4000},
      {F::IncludeURLs, 0x80},     {F::NewDialogStyle, 0x40}, {F::UsageHint, 0x100},   {F::HideNewFolderButton, 0x200},
      {F::ShowShared, 0x8000},    {F::Validate, 0x20}};
  TBrowseInfoFlags alle;
  for (auto [f, bit] : tabelle) {
    EXPECT_EQ(browseInfoBit(f), bit);
    EXPECT_EQ(TBrowseInfoFlags{f}.bits(), bit);
    alle.insert(f);
  }
  EXPECT_EQ(alle.bits(), 0xF3FFu);
  test::FakeDialoge d;
  TFolderDialog dialog(d, "0407");
  EXPECT_EQ(dialog.Flags.bits(), 0x8044u);  // ShowPath, NewDialogStyle, ShowShared
  EXPECT_EQ(TFolderDialog::Version, "8.20.00.00");
  TBrowseInfoFlags programm{F::ShowPath, F::ShowShared};
  EXPECT_EQ(programm.bits(), 0x8004u);
  programm.erase(F::ShowPath);
  EXPECT_EQ(programm.bits(), 0x8000u);
}

TEST(FolderDialog, TexteNachDerSpracheDesBenutzers) {
  test::FakeDialoge d;
  const std::map<std::string, std::pair<std::string, std::string>> erwartet = {
      {"0407", {"Ausgewählter Ordner:", "Neuer Ordner"}},
      {"0C07", {"Ausgewählter Ordner:", "Neuer Ordner"}},
      {"2009", {"Current folder:", "New folder"}},
      {"040C", {"Dossier Courant:", "Nouveau Dossier"}},
      {"0810", {"Cartella selezionata:", "Nuova Cartella"}},
      {"0406", {"Valgt mappe:", "Ny mappe"}},
      {"0413", {"Huidige map:", "Nieuwe map"}},
      {"0416", {"Pasta Atual:", "Nova Pasta"}},
      {"0415", {"Wybrany folder:", "Nowy folder"}},
      {"0419", {"Current folder:", "New folder"}},  // no entry: the "Default" texts
      {"", {"Current folder:", "New folder"}},
  };
  for (const auto& [sprache, texte] : erwartet) {
    TFolderDialog dialog(d, sprache);
    EXPECT_EQ(dialog.labelText(), texte.first) << sprache;
    EXPECT_EQ(dialog.newFolderText(), texte.second) << sprache;
  }
  // Own lists: without a "Default" the first entry counts; empty is empty;
  // a changed list is looked up again.
  TFolderDialog dialog(d, "0407");
  dialog.setLabelCaptions({"0409=Folder:", "040C=Dossier :"});
  EXPECT_EQ(dialog.labelText(), "Folder:");
  dialog.setLabelCaptions({"0409=Folder:", "0407=Ordner:"});
  EXPECT_EQ(dialog.labelText(), "Ordner:");
  dialog.setNewFolderCaptions({});
  EXPECT_EQ(dialog.newFolderText(), "");
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
  // The start up to the root separator, "...", and the last folders that fit.
  EXPECT_EQ(statusTextKuerzen("/home/benutzer/Bilder/Urlaub 2023/Mallorca/Strand/Tag 1"),
            "/.../Bilder/Urlaub 2023/Mallorca/Strand/Tag 1");
  EXPECT_EQ(statusTextKuerzen("//server/freigabe/Bilder/Urlaub 2023/Mallorca/Strand"),
            "//server/.../Bilder/Urlaub 2023/Mallorca/Strand");
  // The two slashes in front of a network path are no separators.
  EXPECT_EQ(statusTextKuerzen("//server/" + std::string(50, 'x')), "//server/" + std::string(41, 'x'));
  // Characters, not bytes.
  EXPECT_EQ(statusTextKuerzen("/home/jürgen/Übersicht/Größere Bilder/Sommerfest/Tag 1"),
            "/.../Übersicht/Größere Bilder/Sommerfest/Tag 1");
  const std::string fuenfzig = "/ä/" + std::string(47, 'b');
  EXPECT_EQ(statusTextKuerzen(fuenfzig), fuenfzig);
  // A last folder longer than the line: cut, with "..." at the end.
  EXPECT_EQ(statusTextKuerzen("/a/" + std::string(60, 'x')), "/.../" + std::string(42, 'x') + "...");
  // Short texts, texts with fewer than two separators, tiny widths: the
  // first m characters.
  EXPECT_EQ(statusTextKuerzen("/home/a"), "/home/a");
  EXPECT_EQ(statusTextKuerzen(std::string(60, 'x')), std::string(50, 'x'));
  EXPECT_EQ(statusTextKuerzen("/" + std::string(59, 'x')), "/" + std::string(49, 'x'));
  EXPECT_EQ(statusTextKuerzen("/home/benutzer/Bilder", 5), "/home");
  EXPECT_EQ(statusTextKuerzen("/home/benutzer/Bilder", 12), "/.../Bilder");
  EXPECT_EQ(statusTextKuerzen(""), "");
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
  EXPECT_EQ(o.flags, 0x8004u);
  ASSERT_TRUE(o.statusText);
  EXPECT_EQ(o.statusText("/home/benutzer/Bilder/Urlaub 2023/Mallorca/Strand/Tag 1"),
            "/.../Bilder/Urlaub 2023/Mallorca/Strand/Tag 1");

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
