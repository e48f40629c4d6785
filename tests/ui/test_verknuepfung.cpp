// Desktop and menu shortcuts: desktop entries in a private home, never in
// the real one. Also the program's start and end around them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "TestUmgebung.h"
#include "start/Programm.h"
#include "platform/FileSystem.h"
#include "ui/HauptForm.h"
#include "ui/Verknuepfungen.h"

namespace mosaik {
namespace {

namespace stdfs = std::filesystem;

std::string inhalt(const std::string& datei) { return fs::readFile(datei).value_or("<fehlt>"); }

constexpr const char* kFehler = "Fehler beim Erstellen oder Löschen der Verknüpfung!";
constexpr const char* kEintrag =
    "[Desktop Entry]\n"
    "Type=Application\n"
    "Version=1.0\n"
    "Name=Mosaikschauer 2.6.1\n"
    "Comment=Mosaikschauer 2.6.1\n"
    "Exec=\"/opt/mosaik/mosaikschauer\"\n"
    "Terminal=false\n"
    "Categories=Graphics;\n";

struct Verknuepfung : ::testing::Test {
  test::TestUmgebung u;
  test::TempOrdner heimOrdner;
  std::string heim = heimOrdner.pfad();  // with '/'
  OptionModel m;
  AppState st;
  Kontext k{m, st, u.sv};
  TNavigationForm nav{k};
  THauptForm haupt{k, nav};
  // Only HOME is set: the XDG folders take their defaults below it.
  std::map<std::string, std::string> env{{"HOME", heim.substr(0, heim.size() - 1)}};

  void SetUp() override {
    m.setEvents(&haupt);
    haupt.verknuepfungen.umgebung = [this](const char* n) -> std::optional<std::string> {
      const auto it = env.find(n);
      return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
    haupt.verknuepfungen.programmDatei = "/opt/mosaik/mosaikschauer";
  }
  std::string desktop() const { return heim + "Desktop/Mosaikschauer 2.6.1.desktop"; }
  std::string menueOrdner() const { return heim + ".local/share/applications/Drevanstal/"; }
  std::string menue() const { return menueOrdner() + "Mosaikschauer 2.6.1.desktop"; }
};

TEST_F(Verknuepfung, DesktopVerknuepfungAnlegenUndLoeschen) {
  // The desktop folder is made when it is missing.
  m.setChecked(Opt::CBDesktopVerknuepfung, true);
  EXPECT_EQ(inhalt(desktop()), kEintrag);
  // Launchers on the desktop must be allowed to run.
  struct stat s {};
  ASSERT_EQ(::stat(desktop().c_str(), &s), 0);
  EXPECT_NE(s.st_mode & S_IXUSR, 0u);
  // Nothing else is left in the folder (no temporary file).
  EXPECT_EQ(std::distance(stdfs::directory_iterator(heim + "Desktop"), stdfs::directory_iterator()), 1);

  m.setChecked(Opt::CBDesktopVerknuepfung, false);
  EXPECT_FALSE(stdfs::exists(desktop()));
  EXPECT_TRUE(stdfs::is_directory(heim + "Desktop"));
  // Already gone: unticking again does nothing and says nothing.
  m.setChecked(Opt::CBDesktopVerknuepfung, true);
  stdfs::remove(desktop());
  m.setChecked(Opt::CBDesktopVerknuepfung, false);
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(Verknuepfung, DesktopOrdnerAusUserDirsUndVorhandeneDateiBleibt) {
  stdfs::create_directories(heim + ".config");
  std::ofstream(heim + ".config/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
  const std::string datei = heim + "Schreibtisch/Mosaikschauer 2.6.1.desktop";
  m.setChecked(Opt::CBDesktopVerknuepfung, true);
  EXPECT_EQ(inhalt(datei), kEintrag);
  m.setChecked(Opt::CBDesktopVerknuepfung, false);
  EXPECT_FALSE(stdfs::exists(heim + "Desktop"));
  std::ofstream(datei) << "eigene";
  // Ticking a box whose shortcut exists leaves the file as it is.
  m.setChecked(Opt::CBDesktopVerknuepfung, true);
  EXPECT_EQ(inhalt(datei), "eigene");
  EXPECT_TRUE(u.dialoge.meldungen.empty());
  m.setChecked(Opt::CBDesktopVerknuepfung, false);
  EXPECT_FALSE(stdfs::exists(datei));
}

TEST_F(Verknuepfung, FehlerBeimAnlegenMeldenUndKaestchenBleibt) {
  // The desktop folder cannot be made: a file stands where it belongs.
  std::ofstream(heim + "Desktop") << "";
  m.setChecked(Opt::CBDesktopVerknuepfung, true);
  ASSERT_EQ(u.dialoge.texte(), std::vector<std::string>{kFehler});
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Error);
  EXPECT_TRUE(m.checked(Opt::CBDesktopVerknuepfung));
  EXPECT_TRUE(stdfs::is_regular_file(heim + "Desktop"));
  // The menu folder cannot be made: a file stands where a folder belongs.
  stdfs::create_directories(heim + ".local/share");
  std::ofstream(heim + ".local/share/applications") << "";
  m.setChecked(Opt::CBStartmenueVerknuepfung, true);
  EXPECT_EQ(u.dialoge.meldungen.size(), 2u);
  EXPECT_TRUE(m.checked(Opt::CBStartmenueVerknuepfung));
  // Without any home there is no place for a shortcut, and not the current
  // folder either.
  env.clear();
  m.setChecked(Opt::CBDesktopVerknuepfung, false);
  EXPECT_EQ(u.dialoge.meldungen.size(), 2u);
  m.setChecked(Opt::CBDesktopVerknuepfung, true);
  EXPECT_EQ(u.dialoge.meldungen.size(), 3u);
  EXPECT_FALSE(stdfs::exists(fs::currentFolder() + "Mosaikschauer 2.6.1.desktop"));
}

TEST_F(Verknuepfung, StartmenueImHerstellerordner) {
  env["XDG_DATA_HOME"] = heim + "daten";
  m.setChecked(Opt::CBStartmenueVerknuepfung, true);
  const std::string ordner = heim + "daten/applications/Drevanstal/";
  EXPECT_EQ(inhalt(ordner + "Mosaikschauer 2.6.1.desktop"), kEintrag);
  // Unticking removes the shortcut and the folder it leaves empty.
  m.setChecked(Opt::CBStartmenueVerknuepfung, false);
  EXPECT_FALSE(stdfs::exists(ordner));
  EXPECT_TRUE(stdfs::is_directory(heim + "daten/applications"));

  // Another shortcut of the maker keeps the folder.
  m.setChecked(Opt::CBStartmenueVerknuepfung, true);
  std::ofstream(ordner + "Mosaikschauer 2.5.0.desktop") << "alt";
  m.setChecked(Opt::CBStartmenueVerknuepfung, false);
  EXPECT_FALSE(stdfs::exists(ordner + "Mosaikschauer 2.6.1.desktop"));
  EXPECT_EQ(inhalt(ordner + "Mosaikschauer 2.5.0.desktop"), "alt");
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(Verknuepfung, BeimStartAngekreuztNurFuerDieseVersion) {
  stdfs::create_directories(heim + "Desktop");
  stdfs::create_directories(menueOrdner());
  std::ofstream(heim + "Desktop/Mosaikschauer 2.5.0.desktop") << "alt";
  std::ofstream(menue()) << "da";
  VerknuepfungenPruefen(m, haupt.verknuepfungen);
  EXPECT_FALSE(m.checked(Opt::CBDesktopVerknuepfung));
  EXPECT_TRUE(m.checked(Opt::CBStartmenueVerknuepfung));
  EXPECT_EQ(inhalt(menue()), "da");
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

// The deletion is refused (a folder the user may not change): the message
// comes, and the folder stays with the shortcut in it. Run as an ordinary
// user in a child process, since root may delete anything.
TEST_F(Verknuepfung, LoeschenVerweigertLaesstOrdnerUndMeldet) {
  stdfs::create_directories(menueOrdner());
  std::ofstream(menue()) << "da";
  for (const std::string& o : {heim, heim + ".local", heim + ".local/share", heim + ".local/share/applications"})
    ::chmod(o.c_str(), 0777);
  ::chmod(menueOrdner().c_str(), 0555);
  m.setChecked(Opt::CBStartmenueVerknuepfung, true);
  const pid_t kind = ::fork();
  ASSERT_GE(kind, 0);
  if (kind == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    m.setChecked(Opt::CBStartmenueVerknuepfung, false);
    ::_exit(u.dialoge.texte() == std::vector<std::string>{kFehler} ? 0 : 1);
  }
  int status = 0;
  ::waitpid(kind, &status, 0);
  ::chmod(menueOrdner().c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(inhalt(menue()), "da");
}

TEST(DesktopEintrag, ExecZeileMitSonderzeichen) {
  // Quoted; '"', '`', '$' and '\' escaped inside the quotes, '%' doubled;
  // then the backslashes escaped once more as in every string value.
  EXPECT_EQ(desktopEintrag("/opt/Mosaik schauer/a\"b`c$d%e\\f", "Mosaikschauer 2.6.1", " Beschreibung\tmit\\"),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Version=1.0\n"
            "Name=Mosaikschauer 2.6.1\n"
            "Comment=\\sBeschreibung\\tmit\\\\\n"
            "Exec=\"/opt/Mosaik schauer/a\\\\\"b\\\\`c\\\\$d%%e\\\\\\\\f\"\n"
            "Terminal=false\n"
            "Categories=Graphics;\n");
}

TEST(DesktopEintrag, AnlegenErsetztNieUndOrdnerIstLeer) {
  test::TempOrdner t;
  const std::string datei = t.pfad() + "x.desktop";
  EXPECT_TRUE(OrdnerIstLeer(t.pfad()));
  EXPECT_TRUE(VerknuepfungAnlegen("/bin/true", datei, "b"));
  EXPECT_FALSE(OrdnerIstLeer(t.pfad()));
  EXPECT_NE(inhalt(datei).find("Name=x\n"), std::string::npos);
  std::ofstream(datei) << "eigen";
  EXPECT_FALSE(VerknuepfungAnlegen("/bin/true", datei, "b"));
  EXPECT_EQ(inhalt(datei), "eigen");
  // Without a program there is nothing to start.
  EXPECT_FALSE(VerknuepfungAnlegen("", t.pfad() + "y.desktop", "b"));
  EXPECT_FALSE(stdfs::exists(t.pfad() + "y.desktop"));
  // A hidden entry counts; a folder that is not there is not empty.
  stdfs::remove(datei);
  std::ofstream(t.pfad() + ".versteckt") << "";
  EXPECT_FALSE(OrdnerIstLeer(t.pfad()));
  EXPECT_FALSE(OrdnerIstLeer(t.pfad() + "fehlt"));
  // Only an empty folder is removed; one that holds something, a link to an
  // empty one and one that is not there are left as they are, without fault.
  stdfs::create_directory(t.pfad() + "leer");
  stdfs::create_directory_symlink("leer", t.pfad() + "verweis");
  for (const char* o : {"", "verweis", "verweis/", "fehlt"}) EXPECT_TRUE(LeerenOrdnerEntfernen(t.pfad() + o)) << o;
  EXPECT_TRUE(stdfs::exists(t.pfad() + ".versteckt"));
  EXPECT_TRUE(stdfs::is_symlink(t.pfad() + "verweis"));
  EXPECT_TRUE(LeerenOrdnerEntfernen(t.pfad() + "leer/"));
  EXPECT_FALSE(stdfs::exists(t.pfad() + "leer"));
}

TEST(DesktopEintrag, SpezialOrdnerMitSchraegstrich) {
  const Umgebung env = [](const char* n) -> std::optional<std::string> {
    if (std::string(n) == "HOME") return std::string("/home/anna");
    return std::nullopt;
  };
  std::string pfad = "unverändert";
  SpezialOrdnerPfad(SpecialFolder::Programs, pfad, env);
  EXPECT_EQ(pfad, "/home/anna/.local/share/applications/");
  pfad = "unverändert";
  SpezialOrdnerPfad(SpecialFolder::Cookies, pfad, env);  // unknown here
  EXPECT_EQ(pfad, "unverändert");
  EXPECT_EQ(laufendesProgramm().substr(laufendesProgramm().rfind('/') + 1), "test_ui");
}

// At start the shortcuts found tick their boxes; the busy bar follows the
// theming box, and closing leaves the styles switched on.
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
