#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <map>

#include "TestUmgebung.h"
#include "platform/FileSystem.h"
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
  EXPECT_EQ(dialog.SpecialFolder, -1);
  EXPECT_FALSE(dialog.ReturnSpecialFolder);
  EXPECT_EQ(dialog.RootFolder, TSHFolders::foDesktopExpanded);
  EXPECT_EQ(TFolderDialog::Version, "8.20.00.00");
  TBrowseInfoFlags programm{F::ShowPath, F::ShowShared};
  EXPECT_EQ(programm.bits(), 0x8004u);
  programm.erase(F::ShowPath);
  EXPECT_EQ(programm.bits(), 0x8000u);

  const std::pair<TSHFolders, int> wurzeln[] = {
      {TSHFolders::foDesktop, 0},       {TSHFolders::foDesktopExpanded, -1},   {TSHFolders::foPrograms, 2},
      {TSHFolders::foControlPanel, 3},  {TSHFolders::foPrinters, 4},           {TSHFolders::foPersonal, 5},
      {TSHFolders::foFavorites, 6},     {TSHFolders::foStartup, 7},            {TSHFolders::foRecent, 8},
      {TSHFolders::foSendto, 9},        {TSHFolders::foRecycleBin, 0xA},       {TSHFolders::foStartMenu, 0xB},
      {TSHFolders::foDesktopFolder, 0x10}, {TSHFolders::foMyComputer, 0x11},   {TSHFolders::foNetwork, 0x12},
      {TSHFolders::foNetworkNeighborhood, 0x13}, {TSHFolders::foFonts, 0x14}, {TSHFolders::foTemplates, 0x15}};
  for (auto [r, csidl] : wurzeln) EXPECT_EQ(rootCsidl(r), csidl);
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

TEST(FolderDialog, NeuerOrdnerKnopfNachBildschirmaufloesung) {
  // 108 dpi: multiplied first, then divided.
  const std::pair<int, KnopfMasse> knoepfe[] = {{72, {12, 75, 23}},   {96, {12, 75, 23}},   {120, {15, 93, 28}},
                                                {144, {17, 112, 35}}, {192, {20, 150, 41}}, {108, {13, 84, 25}}};
  for (const auto& [dpi, masse] : knoepfe) EXPECT_EQ(neuerOrdnerKnopf(dpi), masse) << dpi;
  EXPECT_EQ(neuerOrdnerKnopfBreite(50, 96), 75);
  EXPECT_EQ(neuerOrdnerKnopfBreite(80, 96), 92);
  EXPECT_EQ(neuerOrdnerKnopfBreite(50, 72), 75);
  EXPECT_EQ(neuerOrdnerKnopfBreite(50, 192), 150);
  EXPECT_EQ(neuerOrdnerKnopfBreite(200, 192), 212);
}

struct Ordnerwahl : ::testing::Test {
  test::FakeDialoge d;
  test::TempOrdner heim;
  std::map<std::string, std::string> variablen;
  Umgebung env = [this](const char* n) -> std::optional<std::string> {
    auto it = variablen.find(n);
    if (it == variablen.end()) return std::nullopt;
    return it->second;
  };
  void SetUp() override {
    variablen["HOME"] = heim.pfad() + "ich";
    fs::forceDirectories(heim.pfad() + "ich/.config");
  }
  TFolderDialog dialog{d, "0407", env};
};

TEST_F(Ordnerwahl, WahlAbbruchUndEintragOhnePfad) {
  dialog.Flags = {F::ShowPath, F::ShowShared};
  dialog.Folder = "/start/ordner";
  d.ordnerAntworten.push_back(FolderChoice{"/gewaehlt/ordner", std::nullopt});
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Folder, "/gewaehlt/ordner");
  ASSERT_EQ(d.ordnerDialoge.size(), 1u);
  const FolderDialogOptions& o = d.ordnerDialoge[0];
  EXPECT_EQ(o.folder, "/start/ordner");
  EXPECT_EQ(o.label, "Ausgewählter Ordner:");
  EXPECT_EQ(o.title, "");
  EXPECT_EQ(o.root, "");
  EXPECT_EQ(o.flags, 0x8004u);
  ASSERT_TRUE(o.statusText);
  EXPECT_EQ(o.statusText("/home/benutzer/Bilder/Urlaub 2023/Mallorca/Strand/Tag 1"),
            "/.../Bilder/Urlaub 2023/Mallorca/Strand/Tag 1");

  // Cancel: false, Folder as the caller set it.
  dialog.Folder = "/vorher";
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Folder, "/vorher");

  // An item that is no file-system folder: chosen, but with an empty path.
  d.ordnerAntworten.push_back(FolderChoice{"", std::nullopt});
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Folder, "");

  // Without ShowPath there is no status line; a caption list gives the title.
  dialog.Flags = {F::OnlyFileSystem};
  dialog.Titles = {"Default=Browse", "0407=Ordner wählen"};
  dialog.Execute();
  EXPECT_FALSE(d.ordnerDialoge.back().statusText);
  EXPECT_EQ(d.ordnerDialoge.back().title, "Ordner wählen");
  EXPECT_EQ(d.ordnerDialoge.back().flags, 0x1u);
}

TEST_F(Ordnerwahl, NeuerOrdnerOeffnetDenDialogMitIhmErneut) {
  const std::string basis = heim.pfad() + "basis";
  fs::forceDirectories(basis);
  dialog.Folder = "/vorher";
  d.ordnerAntworten.push_back(FolderChoice{basis, "Neuer Ordner"});
  d.ordnerAntworten.push_back(std::nullopt);  // then cancelled
  EXPECT_FALSE(dialog.Execute());
  EXPECT_TRUE(fs::folderExists(basis + "/Neuer Ordner"));
  ASSERT_EQ(d.ordnerDialoge.size(), 2u);
  EXPECT_EQ(d.ordnerDialoge[1].folder, basis + "/Neuer Ordner");
  EXPECT_EQ(dialog.Folder, "/vorher");

  // With missing parents, and then chosen.
  d.ordnerAntworten.push_back(FolderChoice{basis + "/", "a/b"});
  d.ordnerAntworten.push_back(FolderChoice{basis + "/a/b", std::nullopt});
  EXPECT_TRUE(dialog.Execute());
  EXPECT_TRUE(fs::folderExists(basis + "/a/b"));
  EXPECT_EQ(d.ordnerDialoge[3].folder, basis + "/a/b");
  EXPECT_EQ(dialog.Folder, basis + "/a/b");

  // An empty name creates nothing; the selection stays.
  d.ordnerAntworten.push_back(FolderChoice{basis, ""});
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(d.ordnerDialoge.back().folder, basis);
  EXPECT_TRUE(d.meldungen.empty());

  // A folder that cannot be made: a German error, the chooser again at the
  // old selection.
  std::ofstream(basis + "/datei") << "x";
  d.ordnerAntworten.push_back(FolderChoice{basis + "/datei", "unmoeglich"});
  EXPECT_FALSE(dialog.Execute());
  ASSERT_EQ(d.meldungen.size(), 1u);
  EXPECT_EQ(d.meldungen[0].kind, MsgKind::Error);
  EXPECT_EQ(d.meldungen[0].text, "Der Ordner " + basis + "/datei/unmoeglich\r\nkann nicht angelegt werden!");
  EXPECT_EQ(d.ordnerDialoge.back().folder, basis + "/datei");
}

TEST_F(Ordnerwahl, SonderordnerAlsStartWurzelUndAntwort) {
  const std::string konfig = heim.pfad() + "ich/.config";
  // Start at a special folder that exists; the root from its constant.
  dialog.SpecialFolder = 0x1A;
  dialog.Folder = "/anderswo";
  dialog.RootFolder = TSHFolders::foPersonal;
  dialog.Execute();
  EXPECT_EQ(d.ordnerDialoge.back().folder, konfig);
  EXPECT_EQ(d.ordnerDialoge.back().root, heim.pfad() + "ich");
  // A special folder that does not exist: Folder is the start.
  dialog.SpecialFolder = 0x14;  // fonts, not made here
  dialog.Execute();
  EXPECT_EQ(d.ordnerDialoge.back().folder, "/anderswo");

  dialog.ReturnSpecialFolder = true;
  d.ordnerAntworten.push_back(FolderChoice{konfig + "/", std::nullopt});
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.SpecialFolder, 0x1A);
  d.ordnerAntworten.push_back(FolderChoice{heim.pfad(), std::nullopt});
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.SpecialFolder, -1);
  d.ordnerAntworten.push_back(FolderChoice{"", std::nullopt});
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.SpecialFolder, -1);

  EXPECT_EQ(csidlPfad(0x28, env), heim.pfad() + "ich");
  EXPECT_EQ(csidlPfad(0x1A, env), konfig);
  EXPECT_EQ(csidlPfad(0x11, env), std::nullopt);  // "my computer": no folder here
  EXPECT_EQ(csidlPfad(0xFF, env), std::nullopt);
}

}  // namespace
}  // namespace mosaik
