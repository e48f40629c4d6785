// The settings files as the program start reads them.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include <tuple>

#include "app/EinstellungsSitzung.h"
#include "start/Programm.h"
#include "platform/FileSystem.h"
#include "platform/IniDatei.h"

namespace mosaik {
namespace {

using test::dateiAblegen;

using StartMitEinstellungen = test::ImArbeitsordner;

TEST_F(StartMitEinstellungen, StandarddateiVerweistAufDiePersoenliche) {
  dateiAblegen(u.programmOrdner.pfad() + "Mosaikschauer.ini",
               "[Layout]\r\nTitel=aus dem Programmordner\r\ncellspacingIE=1\r\n"
               "[Programm]\r\nEinstImAppOrdner=1\r\n");
  ASSERT_TRUE(fs::forceDirectories(u.datenOrdner.pfad() + "Mosaikschauer"));
  dateiAblegen(u.datenOrdner.pfad() + "Mosaikschauer/Mosaikschauer.ini",
               "[Layout]\r\nÜberschrift=persönlich\r\n[Experten]\r\neigenenHeaderVerwenden=1\r\n");
  dateiAblegen(u.datenOrdner.pfad() + "Mosaikschauer/Mosaikschauer-header.txt", "<h1>\r\n");
  dateiAblegen(u.datenOrdner.pfad() + "Mosaikschauer/Mosaikschauer-footer.txt", "</h1>\r\n");
  Programm p(u.sv, {});
  p.start();
  p.FormActivate();
  EXPECT_EQ(p.m.text(Opt::EdSeitentitel), "aus dem Programmordner");
  EXPECT_EQ(p.m.text(Opt::EdUeberschrift), "persönlich");
  EXPECT_EQ(p.m.text(Opt::MNeuerHeader), "<h1>");
  EXPECT_EQ(p.m.text(Opt::MNeuerDateiabschluss), "</h1>");
  EXPECT_EQ(p.st.EinstellungsDialogOrdner, u.datenOrdner.pfad() + "Mosaikschauer/");
  EXPECT_FALSE(p.st.cellspacingIE);  // the command line clears it after the files
  EXPECT_TRUE(u.dialoge.meldungen.empty());

  // Closing saves into the personal file.
  p.m.setText(Opt::EdSeitentitel, "neu");
  p.BitBBeendenClick();
  EXPECT_TRUE(p.beendet());
  EXPECT_EQ(IniDatei(u.datenOrdner.pfad() + "Mosaikschauer/Mosaikschauer.ini").lesen("Layout", "Titel"), "neu");
  EXPECT_EQ(IniDatei(u.programmOrdner.pfad() + "Mosaikschauer.ini").lesen("Layout", "Titel"),
            "aus dem Programmordner");

  // A start that changes nothing rewrites neither file: its write tests and
  // its save find the bytes there already.
  const auto stand = [&] {
    std::vector<std::tuple<ino_t, int64_t, int64_t>> s;
    for (const std::string& d : {u.programmOrdner.pfad() + "Mosaikschauer.ini",
                                u.datenOrdner.pfad() + "Mosaikschauer/Mosaikschauer.ini"}) {
      struct stat st {};
      ::stat(d.c_str(), &st);
      s.emplace_back(st.st_ino, st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    }
    return s;
  };
  const auto vorher = stand();
  Programm zweiter(u.sv, {});
  zweiter.start();
  zweiter.FormActivate();
  zweiter.BitBBeendenClick();
  EXPECT_TRUE(zweiter.beendet());
  EXPECT_EQ(stand(), vorher);
}

TEST_F(StartMitEinstellungen, BefehlszeileLiestDieGenannteDateiUndDerNaechsteStartFindetDieSitzung) {
  // Both files name a picture folder elsewhere, which becomes the working
  // folder as soon as it is read; the named file also picks the personal
  // location and codes no member has.
  const std::string bilder = u.datenOrdner.pfad() + "bilder";
  ASSERT_TRUE(fs::forceDirectories(bilder));
  const std::string standard = u.programmOrdner.pfad() + "Mosaikschauer.ini";
  dateiAblegen(standard, "[OrdnerUndDateien]\r\nOrdner=" + bilder + "\r\n[Layout]\r\nTitel=ALT\r\n"
                         "[Programm]\r\nEinstImAppOrdner=0\r\n");
  dateiAblegen(arbeit.pfad() + "galerie.ini",
               "[OrdnerUndDateien]\r\nOrdner=" + bilder + "\r\n[Layout]\r\nTitel=NEU\r\ncellspacingIE=1\r\n"
               "Verlinkung=9\r\n[Experten]\r\nindividuelleCSSDateiVerwenden=1\r\neigeneHeaderSeiten=5\r\n"
               "[Programm]\r\nEinstImAppOrdner=1\r\n");
  dateiAblegen(arbeit.pfad() + "galerie-css.txt", "body { color: red }\r\n");
  Programm p(u.sv, {"-ini=galerie.ini", "-autostart"});
  p.start();
  p.FormActivate();
  EXPECT_EQ(p.m.text(Opt::MangepassteCSSDatei), "body { color: red }");
  EXPECT_TRUE(p.st.cellspacingIE);
  EXPECT_TRUE(p.beendet());
  EXPECT_TRUE(u.dialoge.meldungen.empty());
  // Saved on closing where the next start looks, with the members the codes select.
  IniDatei gespeichert(standard);
  EXPECT_EQ(gespeichert.lesen("Layout", "Verlinkung"), "0");
  EXPECT_EQ(gespeichert.lesen("Experten", "eigeneHeaderSeiten"), "2");
  EXPECT_EQ(gespeichert.lesen("Programm", "EinstImAppOrdner"), "0");
  EXPECT_FALSE(fs::fileExists(u.datenOrdner.pfad() + "Mosaikschauer/Mosaikschauer.ini"));

  Programm zweiter(u.sv, {});
  zweiter.start();
  zweiter.FormActivate();
  EXPECT_EQ(zweiter.m.text(Opt::EdSeitentitel), "NEU");
}

// A settings file that is there but cannot be read, the standard one or one
// named on the command line: the unattended run says so and ends with status
// 1 before anything is written or saved.
TEST_F(StartMitEinstellungen, UnlesbareEinstellungsdateiBeendetDenUnbeaufsichtigtenLauf) {
  const std::string standard = u.programmOrdner.pfad() + "Mosaikschauer.ini";
  const std::string genannt = arbeit.pfad() + "x.ini";
  int halter = -1;
  const std::vector<std::pair<std::string, std::function<void()>>> faelle = {
      {standard,
       [&] {
         ::mkfifo(standard.c_str(), 0644);
         dateiAblegen(genannt, "[Layout]\r\n");  // a named file that is missing stops the run too
       }},
      {genannt, [&] { ::mkfifo(genannt.c_str(), 0644); }},
      {genannt, [&] { fs::forceDirectories(genannt); }},
      {genannt,
       [&] {
         dateiAblegen(genannt, "[Layout]\r\nTitel=gesperrt\r\n[Programm]\r\nEinstAutoSpeichern=0\r\n");
         halter = ::open(genannt.c_str(), O_RDONLY | O_CLOEXEC);
         ::flock(halter, LOCK_EX);
         testhaken::sperrVersuche = 2;
       }},
  };
  for (const auto& [datei, anlegen] : faelle) {
    SCOPED_TRACE(datei);
    u.dialoge.meldungen.clear();
    anlegen();
    Programm p(u.sv, {"-ini=x.ini", "-autostart"});
    p.ohneFenster = true;
    p.start();
    p.FormActivate();
    ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
    const std::string& text = u.dialoge.meldungen[0].text;
    EXPECT_EQ(text.rfind("Die Einstellungsdatei " + datei + " kann nicht gelesen werden!\r\n", 0), 0u) << text;
    EXPECT_TRUE(text.ends_with(".\r\nProgrammabbruch!")) << text;
    EXPECT_TRUE(p.beendet());
    EXPECT_EQ(p.exitStatus(), 1);
    EXPECT_FALSE(fs::folderExists(arbeit.pfad() + "html"));
    EXPECT_EQ(std::filesystem::exists(standard), datei == standard);
    if (halter >= 0) {
      ::close(halter);
      halter = -1;
      testhaken::sperrVersuche = 400;
      EXPECT_EQ(IniDatei(genannt).lesen("Layout", "Titel"), "gesperrt");
    }
    std::error_code ec;
    std::filesystem::remove_all(datei, ec);
    std::filesystem::remove_all(genannt, ec);
  }
}

}  // namespace
}  // namespace mosaik
