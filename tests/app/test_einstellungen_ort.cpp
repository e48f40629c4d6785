// Where the settings live, the write test, closing, side files, saving and
// loading under other names.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>
#include <tuple>

#include "AlsNobody.h"
#include "EinstellungsSitzung.h"
#include "platform/FileSystem.h"
#include "platform/IniDatei.h"

namespace mosaik {
namespace {

using test::dateiAblegen;
using test::dateiInhalt;

const char* const kStandardKopf = "[Mosaikschauer]\r\nAutor=Tesvaldo\r\nHomepage=https://mosaikschauer.example/\r\n";

struct Ort : ::testing::Test {
  test::TestUmgebung u;
  test::Sitzung s{u.sv};
  std::string prog() const { return u.programmOrdner.pfad(); }
  std::string daten() const { return u.datenOrdner.pfad(); }
  std::string persoenlich() const { return daten() + "Mosaikschauer/"; }
  void schreibschutz(const std::string& pfad, bool an) { ::chmod(pfad.c_str(), an ? 0555 : 0755); }
  std::vector<std::string> meldungen() const { return u.dialoge.texte(); }
};

TEST_F(Ort, SchreibgeschuetzterProgrammordnerVerweigertDasSchliessenEinmal) {
  if (test::AlsNobodyWiederholt()) return;
  schreibschutz(prog(), true);
  EXPECT_FALSE(FormCloseQuery(s.k));
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Error);
  EXPECT_EQ(u.dialoge.meldungen[0].text, "Die Datei " + prog() +
                                             "Mosaikschauer.ini mit den\r\nProgrammeinstellungen kann nicht "
                                             "gespeichert werden (keine Berechtigung)!");
  EXPECT_FALSE(s.m.checked(Opt::CBEinstellungenAutomatischSpeichern));
  // The next attempt closes, without saving and without a message.
  EXPECT_TRUE(FormCloseQuery(s.k));
  FormClose(s.k);
  EXPECT_EQ(u.dialoge.meldungen.size(), 1u);
  schreibschutz(prog(), false);
  EXPECT_FALSE(fs::fileExists(prog() + "Mosaikschauer.ini"));
}

TEST_F(Ort, SchliessenSpeichertDieAktuelleDateiMitIhrenZusatzdateien) {
  s.m.setText(Opt::EdSeitentitel, "Urlaub");
  s.m.setChecked(Opt::CBeigenenHeaderVerwenden, true);
  s.m.setText(Opt::MNeuerHeader, "<div>");
  s.m.setText(Opt::MNeuerDateiabschluss, "</div>");
  ASSERT_TRUE(FormCloseQuery(s.k));
  FormClose(s.k);
  EXPECT_EQ(IniDatei(prog() + "Mosaikschauer.ini").lesen("Layout", "Titel"), "Urlaub");
  EXPECT_EQ(dateiInhalt(prog() + "Mosaikschauer-header.txt"), "<div>\r\n");
  EXPECT_EQ(dateiInhalt(prog() + "Mosaikschauer-footer.txt"), "</div>\r\n");
  EXPECT_FALSE(fs::fileExists(prog() + "Mosaikschauer-css.txt"));

  // Without auto-save nothing is written.
  s.m.setText(Opt::EdSeitentitel, "anders");
  s.m.setChecked(Opt::CBEinstellungenAutomatischSpeichern, false);
  ASSERT_TRUE(FormCloseQuery(s.k));
  FormClose(s.k);
  EXPECT_EQ(IniDatei(prog() + "Mosaikschauer.ini").lesen("Layout", "Titel"), "Urlaub");
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(Ort, PersoenlicherOrtWirdImProgrammordnerVermerktUndDortGelesen) {
  ASSERT_EQ(s.st.EinstellungsDialogOrdner, prog());
  s.m.setChecked(Opt::CBIniDateiImAnwendungsordner, true);
  EXPECT_EQ(dateiInhalt(prog() + "Mosaikschauer.ini"),
            std::string(kStandardKopf) + "\r\n[Programm]\r\nEinstAutoSpeichern=1\r\nEinstImAppOrdner=1\r\n");
  EXPECT_EQ(s.st.EinstellungsDialogOrdner, persoenlich());
  EXPECT_EQ(aktuellerEinstellungsort(s.k, false).pfad(), persoenlich() + "Mosaikschauer.ini");

  // Closing saves there and the next start reads it there: the program start's tests.

  // Back to the program folder: recorded, and the dialogs' folder follows.
  s.m.setChecked(Opt::CBIniDateiImAnwendungsordner, false);
  EXPECT_EQ(IniDatei(prog() + "Mosaikschauer.ini").lesen("Programm", "EinstImAppOrdner"), "0");
  EXPECT_EQ(s.st.EinstellungsDialogOrdner, prog());
  // A dialog folder of the user's own choice stays where it is.
  s.st.EinstellungsDialogOrdner = daten();
  s.m.setChecked(Opt::CBIniDateiImAnwendungsordner, true);
  EXPECT_EQ(s.st.EinstellungsDialogOrdner, daten());
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(Ort, OrtKannNichtVermerktWerden) {
  const std::string datei = prog() + "Mosaikschauer.ini";
  s.st.EinstellungsDialogOrdner = persoenlich();
  schreibschutz(prog(), true);
  s.m.setChecked(Opt::CBIniDateiImAnwendungsordner, true);
  EXPECT_TRUE(s.m.checked(Opt::CBIniDateiImAnwendungsordner));
  EXPECT_EQ(s.st.EinstellungsDialogOrdner, prog());
  s.m.setChecked(Opt::CBIniDateiImAnwendungsordner, false);
  schreibschutz(prog(), false);
  EXPECT_EQ(meldungen(),
            (std::vector<std::string>{
                "Der Versuch, die Datei " + datei +
                    " zu speichern, schlug fehl!\r\n\r\n"
                    "Die Einstellung, dass die sonstigen Optionen im Anwendungsordner gespeichert werden sollen, "
                    "muss\r\naber im Programmpfad erfolgen. Da dort nicht gespeichert werden kann, kann sich "
                    "Mosaikschauer\r\nden Anwendungsordner als Speicherort nicht merken!",
                "Der Versuch, die Datei " + datei +
                    " zu speichern, schlug fehl!\r\n\r\n"
                    "Die Einstellung, dass die sonstigen Optionen nicht im Anwendungsordner gespeichert werden "
                    "sollen,\r\nmuss aber im Programmpfad erfolgen. Da dort nicht gespeichert werden kann, kann "
                    "sich Mosaikschauer\r\nden Programmpfad als Speicherort nicht merken!"}));
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Error);

  // An account the user database does not know, without HOME (a relative
  // XDG_CONFIG_HOME does not count): no personal folder, and the box does
  // not stay ticked.
  EXPECT_EXIT(
      {
        ::unsetenv("HOME");
        ::setenv("XDG_CONFIG_HOME", "conf", 1);
        if (::setresgid(54321, 54321, 54321) != 0 || ::setresuid(54321, 54321, 54321) != 0) std::_Exit(2);
        u.sv.appDataFolder.clear();
        u.dialoge.meldungen.clear();
        s.m.setChecked(Opt::CBIniDateiImAnwendungsordner, true);
        const bool abgelehnt = !s.m.checked(Opt::CBIniDateiImAnwendungsordner) &&
                               meldungen() == std::vector<std::string>{kKeinPersoenlicherOrdner};
        std::_Exit(abgelehnt ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(Ort, AutoSpeichernEinschaltenTestetDieDatei) {
  if (test::AlsNobodyWiederholt()) return;
  s.m.setChecked(Opt::CBEinstellungenAutomatischSpeichern, false);
  EXPECT_TRUE(u.dialoge.meldungen.empty());
  s.m.setChecked(Opt::CBEinstellungenAutomatischSpeichern, true);
  EXPECT_EQ(dateiInhalt(prog() + "Mosaikschauer.ini"), kStandardKopf);  // the test's two keys, nothing more
  EXPECT_TRUE(u.dialoge.meldungen.empty());

  ::chmod((prog() + "Mosaikschauer.ini").c_str(), 0444);
  s.m.setChecked(Opt::CBEinstellungenAutomatischSpeichern, false);
  s.m.setChecked(Opt::CBEinstellungenAutomatischSpeichern, true);
  EXPECT_FALSE(s.m.checked(Opt::CBEinstellungenAutomatischSpeichern));
  EXPECT_EQ(u.dialoge.meldungen.size(), 1u);

  // With the guard off (defaults, reading) the box tests nothing.
  s.st.AutoSpeichernKlickAktiv = false;
  s.m.setChecked(Opt::CBEinstellungenAutomatischSpeichern, true);
  EXPECT_TRUE(s.m.checked(Opt::CBEinstellungenAutomatischSpeichern));
  EXPECT_EQ(u.dialoge.meldungen.size(), 1u);
}

TEST_F(Ort, SpeichernUnterMitZusatzdateienUndLaden) {
  s.m.setText(Opt::EdSeitentitel, "Galerie");
  s.m.setChecked(Opt::CBeigenenHeaderVerwenden, true);
  s.m.setText(Opt::MNeuerHeader, "<div>\r\nKopf ä</div>");
  s.m.setText(Opt::MNeuerDateiabschluss, "Fuß\n");
  s.m.setText(Opt::MangepassteCSSDatei, "body {}");
  dateiAblegen(daten() + "galerie.alt-css.txt", "alt");
  u.dialoge.dateiAntworten.push_back(daten() + "galerie.alt.ini");
  BEinstellungenSpeichernClick(s.k);
  ASSERT_EQ(u.dialoge.dateiDialoge.size(), 1u);
  const auto& o = u.dialoge.dateiDialoge[0];
  EXPECT_EQ(std::tuple(o.speichern, o.optionen.folder, o.optionen.fileName), std::tuple(true, prog(), std::string()));
  EXPECT_TRUE(u.dialoge.meldungen.empty());
  EXPECT_EQ(IniDatei(daten() + "galerie.alt.ini").lesen("Layout", "Titel"), "Galerie");
  EXPECT_EQ(dateiInhalt(daten() + "galerie.alt-header.txt"), "<div>\r\nKopf \xE4</div>\r\n");
  EXPECT_EQ(dateiInhalt(daten() + "galerie.alt-footer.txt"), "Fu\xDF\r\n\r\n");
  EXPECT_EQ(dateiInhalt(daten() + "galerie.alt-css.txt"), "alt");  // its option is off
  EXPECT_EQ(s.st.EinstellungsDialogOrdner, daten());
  EXPECT_EQ(s.st.EinstellungsDateiname, "galerie.alt.ini");

  test::Sitzung neu(u.sv);
  u.dialoge.dateiAntworten.push_back(daten() + "galerie.alt.ini");
  BEinstellungenLadenClick(neu.k);
  EXPECT_FALSE(u.dialoge.dateiDialoge.back().speichern);
  EXPECT_EQ((std::vector<std::string>{neu.m.text(Opt::EdSeitentitel), neu.m.text(Opt::MNeuerHeader),
                                      neu.m.text(Opt::MNeuerDateiabschluss), neu.m.text(Opt::MangepassteCSSDatei)}),
            (std::vector<std::string>{"Galerie", "<div>\r\nKopf ä</div>", "Fuß\r\n", ""}));
  EXPECT_EQ(neu.st.EinstellungsDateiname, "galerie.alt.ini");
  EXPECT_EQ(neu.st.EinstellungsDialogOrdner, daten());
  // The program mode is applied after reading, before the side files.
  const auto& e = neu.protokoll.ereignisse;
  const auto modus = std::find(e.begin(), e.end(), "RBModusAnfaengerClick");
  ASSERT_NE(modus, e.end());
  EXPECT_NE(std::find(e.begin(), modus, "RBNavGrTextlinksClick"), modus);
  EXPECT_NE(std::find(modus, e.end(), "MNeuerHeaderChange"), e.end());
  // Loading does not write the values into the current settings file (its
  // write tests leave only their two keys there).
  EXPECT_EQ(dateiInhalt(prog() + "Mosaikschauer.ini"), kStandardKopf);
  EXPECT_TRUE(u.dialoge.meldungen.empty());

  // A header file that is missing: the message, the settings are read all the same.
  std::remove((daten() + "galerie.alt-header.txt").c_str());
  test::Sitzung dritte(u.sv);
  u.dialoge.dateiAntworten.push_back(daten() + "galerie.alt.ini");
  BEinstellungenLadenClick(dritte.k);
  EXPECT_EQ(meldungen(), (std::vector<std::string>{"Öffnen der Textdateien mit Header, Dateiabschluss\r\n"
                                                   "und/oder CSS-Datei fehlgeschlagen!"}));
  EXPECT_EQ(dritte.m.text(Opt::EdSeitentitel), "Galerie");
  EXPECT_EQ(dritte.m.text(Opt::MNeuerDateiabschluss), "");  // the first failure ends the loading
}

TEST_F(Ort, SpeichernUnterFragtVorDemUeberschreiben) {
  if (test::AlsNobodyWiederholt()) return;
  const std::string d = daten() + "da.ini";
  dateiAblegen(d, "[Layout]\r\nTitel=alt\r\n");
  u.dialoge.antworten.push_back(MsgResult::No);
  u.dialoge.dateiAntworten.push_back(d);
  BEinstellungenSpeichernClick(s.k);
  EXPECT_EQ(meldungen(), (std::vector<std::string>{"Soll die bestehende Datei überschrieben werden?"}));
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Warning);
  EXPECT_EQ(u.dialoge.meldungen[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(dateiInhalt(d), "[Layout]\r\nTitel=alt\r\n");
  EXPECT_EQ(s.st.EinstellungsDialogOrdner, daten());
  EXPECT_EQ(s.st.EinstellungsDateiname, "da.ini");

  // Yes on a read-only file: the write test says so, and the file stays as it was.
  ::chmod(d.c_str(), 0444);
  u.dialoge.antworten.push_back(MsgResult::Yes);
  u.dialoge.dateiAntworten.push_back(d);
  BEinstellungenSpeichernClick(s.k);
  EXPECT_EQ(u.dialoge.dateiDialoge.back().optionen.folder, daten());
  EXPECT_EQ(u.dialoge.dateiDialoge.back().optionen.fileName, "da.ini");
  ASSERT_EQ(u.dialoge.meldungen.size(), 3u);
  EXPECT_EQ(u.dialoge.meldungen[2].text,
            "Die Datei " + d + " mit den\r\nProgrammeinstellungen kann nicht gespeichert werden!\r\n"
            "Sie ist schreibgeschützt.");
  EXPECT_EQ(dateiInhalt(d), "[Layout]\r\nTitel=alt\r\n");
  EXPECT_TRUE(s.m.checked(Opt::CBEinstellungenAutomatischSpeichern));  // not the current settings file

  // A name typed without an extension gets ".ini"; cancelling does nothing.
  u.dialoge.dateiAntworten.push_back(daten() + "ohne");
  BEinstellungenSpeichernClick(s.k);
  EXPECT_TRUE(fs::fileExists(daten() + "ohne.ini"));
  EXPECT_EQ(s.st.EinstellungsDateiname, "ohne.ini");
  BEinstellungenSpeichernClick(s.k);
  BEinstellungenLadenClick(s.k);
  EXPECT_EQ(s.st.EinstellungsDateiname, "ohne.ini");
  EXPECT_EQ(u.dialoge.meldungen.size(), 3u);
}

// "Speichern unter" over a file in a folder of another user's, who holds a
// shared lock on it (the save tries again 25 ms later) and, at the save's
// first attempt, exchanges the folder with a link of theirs to root's
// private folder R: the settings land in the folder chosen, R and its file
// stay as they were, and no temporary file is left anywhere.
TEST_F(Ort, SpeichernUnterBleibtImGewaehltenOrdner) {
  if (::geteuid() != 0) GTEST_SKIP() << "Ordner und Verknüpfungen eines anderen Benutzers kann nur root anlegen.";
  namespace sf = std::filesystem;
  const std::string fremd = daten() + "u/", gewaehlt = fremd + "d", link = fremd + "l", r = daten() + "R";
  const std::string datei = gewaehlt + "/s.ini";
  sf::create_directories(gewaehlt);
  sf::create_directory(r);
  ::chmod(r.c_str(), 0700);
  dateiAblegen(r + "/s.ini", "[Geheim]\r\nx=1\r\n");
  ::chmod((r + "/s.ini").c_str(), 0600);
  dateiAblegen(datei, "[Layout]\r\nTitel=alt\r\n");
  ASSERT_EQ(::symlink(r.c_str(), link.c_str()), 0);
  for (const std::string& p : {fremd, gewaehlt, link}) ASSERT_EQ(::lchown(p.c_str(), 65534, 65534), 0);
  const std::string rVorher = dateiInhalt(r + "/s.ini");

  const int sperre = ::open(datei.c_str(), O_RDONLY | O_CLOEXEC);
  const int wache = ::inotify_init1(IN_CLOEXEC);
  ASSERT_EQ(::flock(sperre, LOCK_SH), 0);
  ASSERT_GE(::inotify_add_watch(wache, gewaehlt.c_str(), IN_CLOSE_WRITE | IN_ONLYDIR), 0);
  bool getauscht = false;
  std::thread anderer([&] {
    alignas(inotify_event) char puffer[4096];
    for (pollfd p{wache, POLLIN, 0}; !getauscht && ::poll(&p, 1, 10000) == 1;) {
      const ssize_t n = ::read(wache, puffer, sizeof puffer);
      for (ssize_t i = 0; i < n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(puffer + i);
        getauscht = getauscht || (e->len && std::strcmp(e->name, "s.ini") == 0);
        i += static_cast<ssize_t>(sizeof *e + e->len);
      }
    }
    if (getauscht) getauscht = ::renameat2(AT_FDCWD, gewaehlt.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE) == 0;
    ::close(sperre);
  });
  s.m.setText(Opt::EdSeitentitel, "neu");
  u.dialoge.dateiAntworten.push_back(datei);
  BEinstellungenSpeichernClick(s.k);
  anderer.join();
  ::close(wache);
  ASSERT_TRUE(getauscht);
  ASSERT_EQ(::renameat2(AT_FDCWD, gewaehlt.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE), 0);

  EXPECT_EQ(meldungen(), (std::vector<std::string>{"Soll die bestehende Datei überschrieben werden?"}));
  struct stat st {};
  ::stat((r + "/s.ini").c_str(), &st);
  EXPECT_EQ(std::tuple(dateiInhalt(r + "/s.ini"), st.st_mode & 07777), std::tuple(rVorher, 0600u));
  EXPECT_EQ(std::distance(sf::directory_iterator(r), sf::directory_iterator()), 1);
  EXPECT_EQ(IniDatei(datei).lesen("Layout", "Titel"), "neu");
  EXPECT_EQ(std::distance(sf::directory_iterator(gewaehlt), sf::directory_iterator()), 1);
}

TEST_F(Ort, LadenEinerFehlendenDatei) {
  u.dialoge.dateiAntworten.push_back(daten() + "fehlt.ini");
  BEinstellungenLadenClick(s.k);
  EXPECT_EQ(meldungen(), (std::vector<std::string>{"Die Datei " + daten() + "fehlt.ini\r\nexistiert nicht!"}));
  EXPECT_EQ(s.st.EinstellungsDateiname, "");
  EXPECT_EQ(s.st.EinstellungsDialogOrdner, prog());
  EXPECT_TRUE(s.protokoll.ereignisse.empty());
}

TEST_F(Ort, ZusatzdateiScheitertBeimSpeichern) {
  if (test::AlsNobodyWiederholt()) return;
  s.m.setChecked(Opt::CBeigenenHeaderVerwenden, true);
  s.m.setChecked(Opt::CBCSSDateiaendern, true);
  s.m.setText(Opt::MNeuerHeader, "neu");
  const std::string kopf = daten() + "x-header.txt";
  dateiAblegen(kopf, "alt");
  ::chmod(kopf.c_str(), 0444);
  EXPECT_FALSE(ZusatzdateienSpeichern(s.k, daten() + "x.ini"));
  EXPECT_EQ(meldungen(), (std::vector<std::string>{"Speichern der Textdateien mit Header, Dateiabschluss\r\n"
                                                   "und/oder CSS-Datei fehlgeschlagen!\r\nnach " +
                                                   kopf + " kann nicht geschrieben werden\r\nSie ist schreibgeschützt."}));
  EXPECT_EQ(dateiInhalt(kopf), "alt");
  EXPECT_FALSE(fs::fileExists(daten() + "x-footer.txt"));
  EXPECT_FALSE(fs::fileExists(daten() + "x-css.txt"));
}

// Texts whose Windows-1252 bytes would also be valid UTF-8 come back as they
// were saved in the side files; one that the reader would take for
// Windows-1252 is saved as UTF-8 with a mark.
TEST_F(Ort, TexteKommenZurueckWieGespeichert) {
  s.m.setChecked(Opt::CBeigenenHeaderVerwenden, true);
  s.m.setText(Opt::MNeuerHeader, "Gruß“\r\nCAFÉ–BAR");
  s.m.setText(Opt::MNeuerDateiabschluss, "Spa\u07C5");
  u.dialoge.dateiAntworten.push_back(daten() + "g.ini");
  BEinstellungenSpeichernClick(s.k);
  EXPECT_TRUE(u.dialoge.meldungen.empty());
  EXPECT_EQ(dateiInhalt(daten() + "g-header.txt"), "Gru\xDF\x93\r\nCAF\xC9\x96" "BAR\r\n");
  EXPECT_EQ(dateiInhalt(daten() + "g-footer.txt"), "\xEF\xBB\xBFSpa\u07C5\r\n");
  test::Sitzung neu(u.sv);
  u.dialoge.dateiAntworten.push_back(daten() + "g.ini");
  BEinstellungenLadenClick(neu.k);
  EXPECT_EQ(neu.m.text(Opt::MNeuerHeader), "Gruß“\r\nCAFÉ–BAR");
  EXPECT_EQ(neu.m.text(Opt::MNeuerDateiabschluss), "Spa\u07C5");

  // Side files a Windows editor saved as UTF-16 (either byte order) read as
  // their text; saved with that text they keep their bytes, line ends
  // included; a changed text is written anew.
  const std::string kopf = std::string("\xFF\xFE<\0p\0>\0\xFC\0\r\0\n\0", 14);
  const std::string fuss = std::string("\xFE\xFF\0F\0\xDF\0\n", 8);
  dateiAblegen(daten() + "u-header.txt", kopf);
  dateiAblegen(daten() + "u-footer.txt", fuss);
  test::Sitzung u16(u.sv);
  u16.m.setChecked(Opt::CBeigenenHeaderVerwenden, true);
  EXPECT_TRUE(ZusatzdateienLaden(u16.k, daten() + "u.ini"));
  EXPECT_EQ(u16.m.text(Opt::MNeuerHeader), "<p>ü");
  EXPECT_EQ(u16.m.text(Opt::MNeuerDateiabschluss), "Fß");
  EXPECT_TRUE(ZusatzdateienSpeichern(u16.k, daten() + "u.ini"));
  EXPECT_EQ(dateiInhalt(daten() + "u-header.txt"), kopf);
  EXPECT_EQ(dateiInhalt(daten() + "u-footer.txt"), fuss);
  u16.m.setText(Opt::MNeuerDateiabschluss, "Fuß");
  EXPECT_TRUE(ZusatzdateienSpeichern(u16.k, daten() + "u.ini"));
  EXPECT_EQ(dateiInhalt(daten() + "u-footer.txt"), "Fu\xDF\r\n");
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

// A side file that is there but cannot be read, or that another user put in
// a shared folder (a link, or a file of their own), is named in the message,
// not read and not saved over. The settings of a run made from it would
// carry, say, a file only root may read into every page.
TEST_F(Ort, ZusatzdateiUnlesbarOderFremd) {
  const std::string ordner = daten() + "geteilt/";
  ASSERT_TRUE(fs::forceDirectories(ordner));
  ::chmod(ordner.c_str(), 01777);
  const std::string einst = ordner + "x.ini", kopf = ordner + "x-header.txt", geheim = daten() + "geheim";
  dateiAblegen(geheim, "GEHEIM\r\n");
  ::chmod(geheim.c_str(), 0600);
  struct Fall {
    const char* name;
    std::function<void()> anlegen;
    std::string grund;
  };
  std::vector<Fall> faelle = {
      {"Rohr", [&] { ::mkfifo(kopf.c_str(), 0666); }, "Sie ist keine gewöhnliche Datei."},
      {"riesig",
       [&] {
         dateiAblegen(kopf, "<head>");
         ASSERT_EQ(::truncate(kopf.c_str(), int64_t{3} << 30), 0);
       },
       "Sie ist mit 3221225472 Bytes zu groß für eine Textdatei (höchstens 64 MiB)."},
      {"UTF-16 mit angehängter Zeile",
       [&] { dateiAblegen(kopf, std::string("\xFF\xFEk\0\r\0\n\0", 8) + "<p>Zeile</p>\n"); },
       "Sie ist als UTF-16 gespeichert, enthält aber auch Bytes, die kein UTF-16 sind (etwa eine angehängte Zeile in "
       "einer anderen Kodierung)."}};
  // Files of another owner need root to make (CI is root).
  if (::geteuid() == 0) {
    faelle.push_back({"fremde Verknüpfung",
                      [&] {
                        ::symlink(geheim.c_str(), kopf.c_str());
                        ::lchown(kopf.c_str(), 65534, 65534);
                      },
                      "Sie ist eine symbolische Verknüpfung, die ein anderer Benutzer angelegt hat."});
    faelle.push_back({"fremde Datei",
                      [&] {
                        dateiAblegen(kopf, "<fremd>\r\n");
                        ::chown(kopf.c_str(), 65534, 65534);
                      },
                      "Sie gehört einem anderen Benutzer und liegt in einem Ordner, in den auch andere schreiben "
                      "dürfen."});
  }
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    test::Sitzung t(u.sv);
    u.dialoge.meldungen.clear();
    f.anlegen();
    dateiAblegen(ordner + "x-footer.txt", "fuss\r\n");
    t.m.setChecked(Opt::CBeigenenHeaderVerwenden, true);
    t.m.setText(Opt::MNeuerHeader, "eigener Kopf");
    EXPECT_FALSE(ZusatzdateienLaden(t.k, einst));
    EXPECT_EQ(u.dialoge.texte(), std::vector<std::string>{"Öffnen der Textdateien mit Header, Dateiabschluss\r\n"
                                                          "und/oder CSS-Datei fehlgeschlagen!\r\nDie Datei " +
                                                          kopf + " kann nicht gelesen werden!\r\n" + f.grund});
    EXPECT_EQ(t.m.text(Opt::MNeuerHeader), "eigener Kopf");
    ASSERT_EQ(t.st.UngeleseneDateien.size(), 1u);
    EXPECT_EQ(t.st.UngeleseneDateien[0].pfad(), kopf);
    EXPECT_FALSE(ZusatzdateienSpeichern(t.k, einst));
    EXPECT_EQ(dateiInhalt(geheim), "GEHEIM\r\n");
    EXPECT_EQ(dateiInhalt(ordner + "x-footer.txt"), "fuss\r\n");
    std::filesystem::remove(kopf);
  }
}

TEST_F(Ort, SchreibtestUndNamen) {
  if (test::AlsNobodyWiederholt()) return;
  EXPECT_TRUE(InifileSchreibtest(s.k, daten() + "test.ini", true));
  EXPECT_EQ(dateiInhalt(daten() + "test.ini"), kStandardKopf);
  EXPECT_FALSE(InifileSchreibtest(s.k, daten() + "fehlt/test.ini", false));
  EXPECT_TRUE(u.dialoge.meldungen.empty());
  EXPECT_TRUE(s.m.checked(Opt::CBEinstellungenAutomatischSpeichern));
  // Another spelling of the current settings file is the current settings file.
  ::chmod(prog().c_str(), 0555);
  EXPECT_FALSE(InifileSchreibtest(s.k, prog() + "./Mosaikschauer.ini", false));
  ::chmod(prog().c_str(), 0755);
  EXPECT_FALSE(s.m.checked(Opt::CBEinstellungenAutomatischSpeichern));

  for (auto [ini, art, datei] : {std::tuple{"/a/b/galerie.alt.ini", "header", "/a/b/galerie.alt-header.txt"},
                                 {"/a.b/datei", "css", "/a.b/datei-css.txt"}})
    EXPECT_EQ(zusatzdateiName(ini, art), datei);
  std::filesystem::create_directory(prog() + "x");
  EXPECT_TRUE(Einstellungsort(prog() + "x/../Mosaikschauer.ini").gleich(prog() + "Mosaikschauer.ini"));
  EXPECT_FALSE(Einstellungsort(prog() + "mosaikschauer.ini").gleich(prog() + "Mosaikschauer.ini"));
}

}  // namespace
}  // namespace mosaik
