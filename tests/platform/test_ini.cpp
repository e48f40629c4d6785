// The profile-file layer under the settings file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "AlsNobody.h"
#include "TestUmgebung.h"
#include "platform/IniDatei.h"

namespace mosaik {
namespace {

namespace stdfs = std::filesystem;
using test::dateiAblegen;
using test::dateiInhalt;

struct IniTest : ::testing::Test {
  test::TempOrdner t;
  std::string pfad(const std::string& name) const { return t.pfad() + name; }
};

TEST_F(IniTest, ReadsNamesWithoutCaseAndValuesTrimmedAndUnquoted) {
  const std::string lang(5000, 'x');
  // Windows-1252 bytes: "Größe" as 47 72 F6 DF 65, "Ü" as DC.
  dateiAblegen(pfad("a.ini"),
          "; Kommentar\r\n"
          "[Layout]\r\n"
          "  Titel  =   Meine Fotos  \r\n"
          "Gr\xF6\xDF" "e=120\r\n"
          "Zitat=\" Bild \"\r\n"
          "Einfach='x'\r\n"
          "Halb=\"x\r\n"
          "Gemischt=\"x'\r\n"
          "Doppelt=\"\"x\"\"\r\n"
          "Leer=\r\n"
          "Lang=" + lang + "\r\n"
          "Titel=zweiter\r\n"
          ";Auskommentiert=1\r\n"
          "OhneGleich\r\n"
          "[\xDC" "bersicht]\n"  // LF only
          "a=b=c\n"
          "[layout]\r\n"
          "Nur=zweite Sektion\r\n");
  IniDatei ini(pfad("a.ini"));
  EXPECT_EQ(ini.lesen("layout", "TITEL"), "Meine Fotos");  // first occurrence wins
  EXPECT_EQ(ini.lesen("Layout", "GRÖSSE"), std::nullopt);   // ß has no capital here
  EXPECT_EQ(ini.lesen("LAYOUT", "GRÖßE"), "120");
  EXPECT_EQ(ini.lesen("Layout", "Zitat"), " Bild ");
  EXPECT_EQ(ini.lesen("Layout", "Einfach"), "x");
  EXPECT_EQ(ini.lesen("Layout", "Halb"), "\"x");
  EXPECT_EQ(ini.lesen("Layout", "Gemischt"), "\"x'");
  EXPECT_EQ(ini.lesen("Layout", "Doppelt"), "\"x\"");
  EXPECT_EQ(ini.lesen("Layout", "Leer"), "");
  EXPECT_EQ(ini.lesen("Layout", "Lang"), lang);  // no length limit
  EXPECT_EQ(ini.lesen("Layout", "Auskommentiert"), std::nullopt);
  EXPECT_EQ(ini.lesen("Layout", "OhneGleich"), std::nullopt);
  EXPECT_EQ(ini.lesen("übersicht", "A"), "b=c");
  EXPECT_EQ(ini.lesen("Layout", "Nur"), std::nullopt);  // only the first section of a name counts
  EXPECT_EQ(ini.lesen("Fehlt", "x", "vorgabe"), "vorgabe");
  EXPECT_EQ(ini.lesen("Layout", "Fehlt", "vorgabe"), "vorgabe");

  dateiAblegen(pfad("u.ini"), "\xEF\xBB\xBF[S]\r\nk=\xE2\x86\x92 \xC3\xA4\r\n");
  EXPECT_EQ(IniDatei(pfad("u.ini")).lesen("s", "K"), "→ ä");
  EXPECT_EQ(IniDatei(pfad("fehlt.ini")).lesen("S", "k"), std::nullopt);
}

TEST_F(IniTest, WritesNewFileSectionByBlankLineInCodePage) {
  IniDatei ini(pfad("neu.ini"));
  ini.schreiben("Mosaikschauer", "Version", "2.6.1");
  ini.schreiben("Vorschaubilder", "Größe", "120");
  ini.schreiben("Mosaikschauer", "Autor", "A");
  ini.schreiben("Vorschaubilder", "Text", "a\r\nb\nc");
  ini.speichern();
  EXPECT_EQ(dateiInhalt(pfad("neu.ini")),
            "[Mosaikschauer]\r\nVersion=2.6.1\r\nAutor=A\r\n\r\n"
            "[Vorschaubilder]\r\nGr\xF6\xDF" "e=120\r\nText=a#$0D#$0Ab#$0Ac\r\n");

  // A character outside the code page turns the whole file into UTF-8 with a mark.
  ini.schreiben("Vorschaubilder", "Pfeil", "→");
  ini.speichern();
  EXPECT_EQ(dateiInhalt(pfad("neu.ini")),
            "\xEF\xBB\xBF[Mosaikschauer]\r\nVersion=2.6.1\r\nAutor=A\r\n\r\n"
            "[Vorschaubilder]\r\nGröße=120\r\nText=a#$0D#$0Ab#$0Ac\r\nPfeil=→\r\n");
  EXPECT_EQ(IniDatei(pfad("neu.ini")).lesen("vorschaubilder", "pfeil"), "→");
}

TEST_F(IniTest, UpdatesInPlaceKeepsForeignLinesAndDeletes) {
  dateiAblegen(pfad("alt.ini"),
          "; von Hand\r\n"
          "[Layout]\r\n"
          "titel=alt\r\n"
          "Fremd=bleibt\r\n"
          "\r\n"
          "[Texte]\r\n"
          "Von=weg\r\n"
          "\r\n");
  IniDatei ini(pfad("alt.ini"));
  ini.schreiben("LAYOUT", "Titel", "neu");
  ini.schreiben("Layout", "Neu", "1");
  ini.loeschen("Texte", "von");
  ini.loeschen("Texte", "GibtEsNicht");
  ini.loeschen("Fehlt", "x");
  ini.schreiben("Programm", "XPDesign", "1");
  ini.speichern();
  EXPECT_EQ(dateiInhalt(pfad("alt.ini")),
            "; von Hand\r\n[Layout]\r\nTitel=neu\r\nFremd=bleibt\r\nNeu=1\r\n\r\n"
            "[Texte]\r\n\r\n[Programm]\r\nXPDesign=1\r\n");
}

TEST_F(IniTest, FailedWriteLeavesTheOldFileAndNamesIt) {
  if (test::AlsNobodyWiederholt()) return;
  const std::string alt = "[A]\r\nx=1\r\n";
  const std::string p = pfad("schreibgeschuetzt.ini");
  dateiAblegen(p, alt);
  ::chmod(p.c_str(), 0444);
  IniDatei ini(p);
  ini.schreiben("A", "x", "2");
  try {
    ini.speichern();
    FAIL() << "read-only file written";
  } catch (const IniFehler& e) {
    EXPECT_EQ(std::string(e.what()), "nach " + p + " kann nicht geschrieben werden");
    EXPECT_EQ(e.datei(), p);
  }
  EXPECT_EQ(dateiInhalt(p), alt);
  const auto rest = stdfs::directory_iterator(t.pfad());
  EXPECT_EQ(std::distance(stdfs::begin(rest), stdfs::end(rest)), 1) << "temporary file left behind";

  // A missing folder, a folder in place of the file.
  IniDatei ohneOrdner(pfad("gibtsnicht/x.ini"));
  ohneOrdner.schreiben("A", "x", "1");
  EXPECT_THROW(ohneOrdner.speichern(), IniFehler);
  stdfs::create_directory(pfad("ordner.ini"));
  IniDatei ordner(pfad("ordner.ini"));
  ordner.schreiben("A", "x", "1");
  EXPECT_THROW(ordner.speichern(), IniFehler);
}

TEST_F(IniTest, ReadOnlyFolderRefusesNewFilesButKeepsWritableOnes) {
  if (test::AlsNobodyWiederholt()) return;
  const std::string vorhanden = pfad("vorhanden.ini");
  dateiAblegen(vorhanden, "[A]\r\nx=1\r\n");
  ::chmod(t.pfad().c_str(), 0555);
  IniDatei neu(pfad("neu.ini"));
  neu.schreiben("A", "x", "1");
  EXPECT_THROW(neu.speichern(), IniFehler);
  EXPECT_FALSE(stdfs::exists(pfad("neu.ini")));
  IniDatei alt(vorhanden);
  alt.schreiben("A", "x", "2");
  EXPECT_NO_THROW(alt.speichern());
  ::chmod(t.pfad().c_str(), 0755);
  EXPECT_EQ(dateiInhalt(vorhanden), "[A]\r\nx=2\r\n");
}

TEST_F(IniTest, FollowsSymbolicLinkAndKeepsPermissions) {
  stdfs::create_directory(pfad("echt"));
  const std::string ziel = pfad("echt/e.ini");
  dateiAblegen(ziel, "[A]\r\n");
  ::chmod(ziel.c_str(), 0600);
  stdfs::create_symlink(ziel, pfad("link.ini"));
  IniDatei ini(pfad("link.ini"));
  ini.schreiben("A", "x", "1");
  ini.speichern();
  EXPECT_TRUE(stdfs::is_symlink(pfad("link.ini")));
  EXPECT_EQ(dateiInhalt(ziel), "[A]\r\nx=1\r\n");
  struct stat st {};
  ::stat(ziel.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(IniNamen, CompareWithoutCase) {
  EXPECT_TRUE(iniNamenGleich("ÜbNavOben", "übnavoben"));
  EXPECT_TRUE(iniNamenGleich("GroßeBilderSeite", "GROßEBILDERSEITE"));
  EXPECT_FALSE(iniNamenGleich("Größe", "Grosse"));
  EXPECT_FALSE(iniNamenGleich("ab", "abc"));
}

}  // namespace
}  // namespace mosaik
