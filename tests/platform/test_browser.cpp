// How URLs reach the browser: $BROWSER, the desktop's default program for
// HTML found through the MIME association lists, its program line, and
// starting a program detached.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>

#include "TestUmgebung.h"
#include "platform/Browser.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

namespace stdfs = std::filesystem;
using Befehl = std::vector<std::string>;

struct Zuordnung : ::testing::Test {
  test::TempOrdner t;
  std::string wurzel = t.pfad().substr(0, t.pfad().size() - 1);
  EnvLookup env = [this](const char* n) -> std::optional<std::string> {
    const auto it = werte.find(n);
    return it == werte.end() ? std::nullopt : std::optional<std::string>(it->second);
  };
  // A private home and private system folders: nothing of this machine.
  std::map<std::string, std::string> werte = {
      {"HOME", wurzel + "/heim"}, {"XDG_CONFIG_DIRS", wurzel + "/etc"}, {"XDG_DATA_DIRS", wurzel + "/usr"}};
  void datei(const std::string& pfad, const std::string& inhalt) {
    stdfs::create_directories(stdfs::path(wurzel + "/" + pfad).parent_path());
    std::ofstream(wurzel + "/" + pfad) << inhalt;
  }
  void eintrag(const std::string& pfad, const std::string& exec) {
    datei(pfad, "[Desktop Entry]\nType=Application\nName=B\nExec=" + exec + "\n[Desktop Action neu]\nExec=falsch\n");
  }
};

TEST_F(Zuordnung, StandardprogrammAusDenListenInIhrerReihenfolge) {
  EXPECT_FALSE(defaultDesktopEntry("text/html", env));
  eintrag("usr/applications/systembrowser.desktop", "systembrowser %u");
  datei("usr/applications/mimeinfo.cache", "[MIME Cache]\ntext/html=systembrowser.desktop;\n");
  EXPECT_EQ(defaultDesktopEntry("text/html", env), wurzel + "/usr/applications/systembrowser.desktop");

  // The user's list wins; an entry that is not installed is passed over.
  eintrag("heim/.local/share/applications/meiner.desktop", "meiner %U");
  datei("heim/.config/mimeapps.list",
        "[Added Associations]\ntext/html=systembrowser.desktop;\n"
        "[Default Applications]\ntext/plain=systembrowser.desktop\ntext/html=fehlt.desktop;meiner.desktop;\n");
  EXPECT_EQ(defaultDesktopEntry("text/html", env), wurzel + "/heim/.local/share/applications/meiner.desktop");

  // The current desktop's own list comes first; a '-' of the ID may be a
  // sub-folder.
  eintrag("usr/applications/kde4/konq.desktop", "konq");
  datei("heim/.config/xfce-mimeapps.list", "[Default Applications]\ntext/html=kde4-konq.desktop\n");
  werte["XDG_CURRENT_DESKTOP"] = "X-Cinnamon:XFCE";
  EXPECT_EQ(defaultDesktopEntry("text/html", env), wurzel + "/usr/applications/kde4/konq.desktop");
  EXPECT_FALSE(defaultDesktopEntry("image/png", env));
  // A pipe in a list's place is passed over, never waited on.
  ASSERT_EQ(::mkfifo((wurzel + "/heim/.config/x-cinnamon-mimeapps.list").c_str(), 0600), 0);
  EXPECT_EQ(defaultDesktopEntry("text/html", env), wurzel + "/usr/applications/kde4/konq.desktop");
}

TEST_F(Zuordnung, BefehleFuerSeitenWebadressenUndMail) {
  const std::string seite = "file:///opt/m%20s/hilfe/ordner.htm#Attribute";
  EXPECT_EQ(openCommands(seite, env), (std::vector<Befehl>{{"xdg-open", seite}}));

  eintrag("heim/.local/share/applications/meiner.desktop", "meiner --neu %u");
  eintrag("heim/.local/share/applications/web.desktop", "web %U");
  datei("heim/.config/mimeapps.list",
        "[Default Applications]\ntext/html=meiner.desktop\nx-scheme-handler/https=web.desktop\n");
  werte["BROWSER"] = "lynx:w3m -dump %s:";
  EXPECT_EQ(openCommands(seite, env),
            (std::vector<Befehl>{{"lynx", seite}, {"w3m", "-dump", seite}, {"meiner", "--neu", seite}, {"xdg-open", seite}}));
  const std::string web = "https://mosaikschauer.example/";
  EXPECT_EQ(openCommands(web, env),
            (std::vector<Befehl>{{"lynx", web}, {"w3m", "-dump", web}, {"web", web}, {"xdg-open", web}}));
  // Mail goes to the mail program, not to a browser.
  const std::string mail = "mailto:rueckmeldung@mosaikschauer.example?subject=x";
  EXPECT_EQ(openCommands(mail, env), (std::vector<Befehl>{{"xdg-open", mail}}));
}

TEST(Programmzeile, FeldcodesZitateUndMaskierungen) {
  const std::string url = "file:///a%20b/c%C3%A4.htm#Teil";
  EXPECT_EQ(execCommand("firefox-esr %u", url), (Befehl{"firefox-esr", url}));
  EXPECT_EQ(execCommand(R"("/opt/Mein Browser/bin" --neues-fenster %U)", url),
            (Befehl{"/opt/Mein Browser/bin", "--neues-fenster", url}));
  // %f is the local path: percent-decoded, without the anchor.
  EXPECT_EQ(execCommand("betrachter %f", url), (Befehl{"betrachter", "/a b/c\xC3\xA4.htm"}));
  EXPECT_EQ(execCommand("betrachter %F", "https://x.example/"), (Befehl{"betrachter"}));
  // No URL code: the URL comes last.
  EXPECT_EQ(execCommand("schlicht", url), (Befehl{"schlicht", url}));
  // %i, %c, %k vanish; %% is a percent sign; a code inside a word is
  // replaced there.
  EXPECT_EQ(execCommand("b %i %c %k 100%% --url=%u", url), (Befehl{"b", "100%", "--url=" + url}));
  // The string escapes of the file, then the quoting: \\$ in the file is \$
  // in the line, a literal $ inside the quotes.
  EXPECT_EQ(execCommand(R"(sh -c "echo \\$HOME \\"x\\"" %u)", url), (Befehl{"sh", "-c", "echo $HOME \"x\"", url}));
  EXPECT_EQ(execCommand(R"(zwei\sWorte %u)", url), (Befehl{"zwei", "Worte", url}));
  // Malformed: an open quote, or nothing at all.
  EXPECT_EQ(execCommand(R"("offen %u)", url), Befehl{});
  EXPECT_EQ(execCommand("   ", url), Befehl{});
}

TEST(Programmstart, NurEinGestartetesProgrammZaehlt) {
  EXPECT_TRUE(startDetached({"true"}));
  EXPECT_FALSE(startDetached({"/gibt/es/nicht/mosaik-browser"}));
  EXPECT_FALSE(startDetached({"mosaik-kein-solches-programm-auf-dem-pfad"}));
  EXPECT_FALSE(startDetached({}));
  // A launcher that finds no browser fails or is killed: nothing was opened.
  // One still running at the deadline has taken the page over; the caller's
  // wait hook runs meanwhile and changes no verdict.
  EXPECT_FALSE(startDetached({"sh", "-c", "kill -9 $$"}));
  int gewartet = 0;
  const auto warten = [&gewartet] { ++gewartet; };
  EXPECT_TRUE(startDetached({"sh", "-c", "exec sleep 3 </dev/null >/dev/null 2>&1"}, std::chrono::milliseconds(200),
                            warten));
  EXPECT_GT(gewartet, 0);
  EXPECT_FALSE(startDetached({"sh", "-c", "sleep 0.3; exit 3"}, std::chrono::milliseconds(2000), warten));
  EXPECT_TRUE(startDetached({"sh", "-c", "sleep 0.3"}, std::chrono::milliseconds(2000), warten));
}

// The program ignores the file-size signal for its own writes; a browser it
// starts gets the disposition the program was started with.
TEST(Programmstart, GestartetesProgrammErbtDasDateigroessenSignalWieBeimStart) {
  test::TempOrdner t;
  const std::string rohr = t.pfad() + "rohr";
  ASSERT_EQ(::mkfifo(rohr.c_str(), 0600), 0);
  for (const bool beimStartIgnoriert : {false, true}) {
    const pid_t kind = ::fork();
    if (kind == 0) {
      ::signal(SIGXFSZ, beimStartIgnoriert ? SIG_IGN : SIG_DFL);
      fs::prepareSignals();
      struct sigaction jetzt {};
      ::sigaction(SIGXFSZ, nullptr, &jetzt);
      if (jetzt.sa_handler != SIG_IGN) _exit(2);
      // The writer waits for the reader below: it counts as running.
      if (!startDetached({"sh", "-c", "grep '^SigIgn:' /proc/self/status > '" + rohr + "'"},
                         std::chrono::milliseconds(50)))
        _exit(3);
      std::ifstream ein(rohr);
      std::string zeile;
      std::getline(ein, zeile);
      const unsigned long long maske = std::stoull(zeile.substr(zeile.find_first_not_of(" \t", 7)), nullptr, 16);
      _exit((maske >> (SIGXFSZ - 1) & 1) == (beimStartIgnoriert ? 1u : 0u) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(kind, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << beimStartIgnoriert << " " << status;
  }
}

}  // namespace
}  // namespace mosaik
