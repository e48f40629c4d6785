#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <tuple>

#include <gtest/gtest.h>

#include "TestUmgebung.h"
#include "generator/Verzeichnis.h"
#include "platform/CheckedFolders.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

std::string namen(const std::vector<fs::Entry>& l) {
  std::string s;
  for (const auto& e : l) s += (s.empty() ? "" : " ") + e.name + (e.folder ? "/" : "");
  return s;
}

// While checked folders are in force every write below them starts from the
// folder held open: a folder swapped for a link, a link below a checked
// folder and a path outside them all are refused, and what lies behind the
// links stays as it was; the folder itself, renamed away, is still the one
// written.
TEST(Verzeichnis, GepruefteOrdnerLeitenJedeSchreibungDurchIhrenDeskriptor) {
  test::TempOrdner t;
  const std::string f = t.pfad() + "F/", r = t.pfad() + "R/";
  std::filesystem::create_directories(f + "sub");
  std::filesystem::create_directories(r);
  const std::string geheim = t.ablegen("R/geheim.jpg", "ROOT");
  ::symlink(r.c_str(), (f + "link").c_str());
  fs::CheckedFolders geprueft;
  std::string warum;
  ASSERT_TRUE(geprueft.add(f, false, warum)) << warum;
  int verletzt = 0;
  geprueft.onBreach([&] { ++verletzt; });

  EXPECT_TRUE(fs::forceDirectories(f + "neu/tief"));
  EXPECT_TRUE(fs::writeFileAtomic(f + "neu/tief/a.htm", "A", false));
  EXPECT_EQ(fs::renameNoReplace(f + "neu/tief/a.htm", f + "sub/b.htm"), fs::RenameResult::Done);
  EXPECT_TRUE(fs::copyFile(geheim, f + "sub/kopie.jpg"));  // reading is no write
  EXPECT_TRUE(geprueft.breach().empty());

  struct Fall {
    const char* was;
    std::function<bool()> schreiben;
  };
  const std::vector<Fall> faelle = {
      {"Datei hinter einer Verknüpfung", [&] { return fs::writeFileAtomic(f + "link/geheim.jpg", "X", false); }},
      {"Ordner hinter einer Verknüpfung", [&] { return fs::forceDirectories(f + "link/neu"); }},
      {"Kopie hinter eine Verknüpfung", [&] { return fs::copyFile(f + "sub/b.htm", f + "link/geheim.jpg"); }},
      {"Umbenennen hinter eine Verknüpfung",
       [&] { return fs::renameNoReplace(f + "sub/b.htm", f + "link/b.htm") == fs::RenameResult::Done; }},
      {"Original hinter einer Verknüpfung", [&] { return fs::rewriteOriginal(f + "link/geheim.jpg", "X").written; }},
      {"außerhalb", [&] { return fs::writeFileAtomic(t.pfad() + "draussen.htm", "X", false); }},
  };
  for (const Fall& fall : faelle) EXPECT_FALSE(fall.schreiben()) << fall.was;
  EXPECT_EQ(verletzt, 1);
  EXPECT_EQ(geprueft.breach(), f + "link ist eine symbolische Verknüpfung, wo ein Ordner war oder sein soll: "
                                   "Mosaikschauer schreibt nicht durch Verknüpfungen in den Ordnern, die es zu "
                                   "Beginn geprüft hat.");
  EXPECT_FALSE(fs::exists(t.pfad() + "draussen.htm"));

  // The checked folder renamed away and a link put in its place.
  std::filesystem::rename(t.pfad() + "F", t.pfad() + "F.alt");
  ::symlink(r.c_str(), (t.pfad() + "F").c_str());
  EXPECT_FALSE(fs::writeFileAtomic(f + "geheim.jpg", "X", false, &warum));
  EXPECT_EQ(warum, "Die Datei " + f + "geheim.jpg kann nicht geschrieben werden (ihr Ordner wurde ausgetauscht).");
  EXPECT_TRUE(fs::listFolder(f).empty());
  EXPECT_EQ(*fs::readFile(geheim), "ROOT");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(r), {}), 1);
}

TEST(Verzeichnis, SchnappschussNurOrdnerUndRegulaereDateienSortiert) {
  test::TempOrdner t;
  const std::string d = t.pfad();
  for (const char* n : {"b.jpg", "B.jpg", "a.jpg", "Ä.jpg", "_x.jpg", ".versteckt.jpg"}) std::ofstream(d + n) << n;
  std::ofstream(d + "gross.bin") << std::string(3000, 'x');
  fs::forceDirectories(d + "Urlaub");
  fs::forceDirectories(d + "urlaub");
  ASSERT_EQ(::mkfifo((d + "x.jpg").c_str(), 0644), 0);
  ASSERT_EQ(::symlink(d.c_str(), (d + "schleife").c_str()), 0);         // a link to a folder
  ASSERT_EQ(::symlink((d + "a.jpg").c_str(), (d + "link.jpg").c_str()), 0);  // a link to a file
  ASSERT_EQ(::symlink((d + "fehlt").c_str(), (d + "tot.jpg").c_str()), 0);
  const auto l = fs::listFolder(d);
  // ASCII letters folded to lower case, ties by bytes ('B' before 'b');
  // '_' (0x5F) before the folded letters, non-ASCII bytes after them.
  EXPECT_EQ(namen(l), ".versteckt.jpg _x.jpg a.jpg B.jpg b.jpg gross.bin link.jpg Urlaub/ urlaub/ Ä.jpg");
  for (const auto& e : l) {
    EXPECT_EQ(e.hidden, e.name == ".versteckt.jpg") << e.name;
    EXPECT_FALSE(e.readOnly) << e.name;
    if (e.name == "gross.bin") { EXPECT_EQ(e.size, 3000); }
    if (e.name == "link.jpg") { EXPECT_EQ(e.size, 5); }
  }
  EXPECT_TRUE(fs::listFolder(d + "gibtsnicht").empty());
  EXPECT_FALSE(fs::entryInfo(d + "x.jpg"));
  EXPECT_FALSE(fs::entryInfo(d + "schleife"));
  EXPECT_TRUE(fs::entryInfo(d + "Urlaub/")->folder);

  ::chmod((d + "a.jpg").c_str(), 0444);
  EXPECT_TRUE(fs::entryInfo(d + "a.jpg")->readOnly);
  EXPECT_TRUE(fs::isReadOnly(d + "a.jpg"));
  EXPECT_TRUE(fs::isReadOnly(d + "fehlt"));
  EXPECT_FALSE(fs::isReadOnly(d + "b.jpg"));
}

TEST(Verzeichnis, DosDatumHinUndZurueck) {
  // 2023-05-17 13:45:30 local time.
  const uint32_t dos = (uint32_t{43} << 9 | 5u << 5 | 17u) << 16 | (13u << 11 | 45u << 5 | 15u);
  const std::time_t t = fs::fromDosDateTime(dos);
  struct tm tm {};
  ::localtime_r(&t, &tm);
  EXPECT_EQ(std::tuple(tm.tm_year, tm.tm_mon, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec),
            std::tuple(123, 4, 17, 13, 45, 30));
  EXPECT_EQ(fs::toDosDateTime(t), dos);
  EXPECT_EQ(fs::toDosDateTime(t + 1), dos);  // two-second steps
  EXPECT_EQ(fs::toDosDateTime(0), 0x00210000u);  // before 1980

  test::TempOrdner o;
  std::ofstream(o.pfad() + "f") << "x";
  ASSERT_TRUE(fs::setDosDateTime(o.pfad() + "f", dos));
  EXPECT_EQ(fs::entryInfo(o.pfad() + "f")->dosTime, dos);
  fs::forceDirectories(o.pfad() + "d");
  ASSERT_TRUE(fs::setDosDateTime(o.pfad() + "d", dos));
  EXPECT_EQ(fs::entryInfo(o.pfad() + "d")->dosTime, dos);
  EXPECT_FALSE(fs::setDosDateTime(o.pfad() + "fehlt", dos));
}

TEST(Verzeichnis, SucheOhneGrossKleinUndUmbenennenOhneErsetzen) {
  test::TempOrdner t;
  const std::string d = t.pfad();
  std::ofstream(d + "Bild 1.TXT") << "1";
  std::ofstream(d + "DIRNAME.txt") << "a";
  std::ofstream(d + "dirname.TXT") << "b";
  std::ofstream(d + "Dirinfo.txt") << "c";
  // The exact spelling first, else the first in byte order.
  for (auto [name, gefunden] : {std::pair<const char*, std::optional<std::string>>{"Bild 1.txt", "Bild 1.TXT"},
                                {"dirname.txt", "DIRNAME.txt"}, {"dirname.TXT", "dirname.TXT"},
                                {"bild_1.txt", std::nullopt}, {"../x", std::nullopt}})
    EXPECT_EQ(fs::findNoCase(d, name), gefunden) << name;
  EXPECT_EQ(fs::pathNoCase(d, "DIRINFO.TXT"), d + "Dirinfo.txt");
  EXPECT_EQ(fs::pathNoCase(d, "neu.txt"), d + "neu.txt");

  EXPECT_EQ(fs::renameNoReplace(d + "Bild 1.TXT", d + "Dirinfo.txt"), fs::RenameResult::TargetTaken);
  EXPECT_EQ(*fs::readFile(d + "Dirinfo.txt"), "c");
  EXPECT_EQ(fs::renameNoReplace(d + "fehlt", d + "neu"), fs::RenameResult::Failed);
  EXPECT_EQ(fs::renameNoReplace(d + "Bild 1.TXT", d + "bild_1.txt"), fs::RenameResult::Done);
  EXPECT_EQ(*fs::readFile(d + "bild_1.txt"), "1");
  {
    // A walk reads the listing once; a listed name that is gone since is
    // not given out.
    const fs::ListingScope walk;
    EXPECT_EQ(fs::findNoCase(d, "DIRINFO.TXT"), "Dirinfo.txt");
    ASSERT_EQ(fs::renameNoReplace(d + "Dirinfo.txt", d + "info.txt"), fs::RenameResult::Done);
    EXPECT_EQ(fs::findNoCase(d, "DIRINFO.TXT"), std::nullopt);
    EXPECT_EQ(fs::findNoCase(d, "INFO.txt"), "info.txt");
    // A walk inside a walk: its end keeps the listings of the outer one. A
    // file made behind the program's back, in another case, is not seen
    // before the outermost walk ends; then it is.
    { const fs::ListingScope innen; }
    std::ofstream(d + "Neu.TXT") << "n";
    EXPECT_EQ(fs::findNoCase(d, "neu.txt"), std::nullopt);
  }
  EXPECT_EQ(fs::findNoCase(d, "neu.txt"), "Neu.TXT");
  std::filesystem::remove(d + "Neu.TXT");
  fs::forceDirectories(d + "A");
  fs::forceDirectories(d + "a");
  EXPECT_EQ(fs::renameNoReplace(d + "A", d + "a"), fs::RenameResult::TargetTaken);
  EXPECT_TRUE(fs::sameFile(d + "a", d + "a/"));
  EXPECT_FALSE(fs::sameFile(d + "a", d + "A"));
}

TEST(Verzeichnis, KopierenUeberTemporaereDatei) {
  test::TempOrdner t;
  const std::string d = t.pfad();
  std::ofstream(d + "quelle") << "neu";
  std::ofstream(d + "ziel") << "alt und laenger";
  const uint32_t dos = (uint32_t{30} << 9 | 1u << 5 | 2u) << 16;
  ASSERT_TRUE(fs::setDosDateTime(d + "quelle", dos));
  EXPECT_TRUE(fs::copyFile(d + "quelle", d + "ziel"));
  EXPECT_EQ(*fs::readFile(d + "ziel"), "neu");
  EXPECT_EQ(fs::entryInfo(d + "ziel")->dosTime, dos);
  EXPECT_TRUE(fs::copyFile(d + "quelle", d + "quelle"));  // onto itself: left alone
  EXPECT_EQ(*fs::readFile(d + "quelle"), "neu");
  // Onto a copy of an earlier run: the file and its folder stay as they are
  // (only its time follows the source); a file of the same size but other
  // bytes is replaced.
  struct stat vorher {};
  ASSERT_EQ(::stat((d + "ziel").c_str(), &vorher), 0);
  const uint32_t spaeter = dos + (1u << 16);
  ASSERT_TRUE(fs::setDosDateTime(d + "quelle", spaeter));
  ASSERT_TRUE(fs::setModTime(d, {1000000000, 7}));
  EXPECT_TRUE(fs::copyFile(d + "quelle", d + "ziel"));
  struct stat nachher {};
  ASSERT_EQ(::stat((d + "ziel").c_str(), &nachher), 0);
  EXPECT_EQ(nachher.st_ino, vorher.st_ino);
  EXPECT_EQ(fs::entryInfo(d + "ziel")->dosTime, spaeter);
  EXPECT_EQ(fs::modTime(d)->tv_nsec, 7);
  std::ofstream(d + "ziel") << "alt";
  EXPECT_TRUE(fs::copyFile(d + "quelle", d + "ziel"));
  EXPECT_EQ(*fs::readFile(d + "ziel"), "neu");
  ASSERT_EQ(::stat((d + "ziel").c_str(), &nachher), 0);
  EXPECT_NE(nachher.st_ino, vorher.st_ino);
  EXPECT_FALSE(fs::copyFile(d + "fehlt", d + "x"));
  EXPECT_FALSE(fs::exists(d + "x"));
  EXPECT_FALSE(fs::copyFile(d + "quelle", d + "kein/ordner"));
  // Nothing but the two files is left behind.
  int n = 0;
  for (const auto& e : std::filesystem::directory_iterator(d)) n += e.is_regular_file();
  EXPECT_EQ(n, 2);
  EXPECT_EQ(fs::fileSize(d + "quelle"), 3);
  EXPECT_EQ(fs::fileSize(d + "fehlt"), -1);
}

}  // namespace
}  // namespace mosaik
