#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "AlsNobody.h"
#include "DurchlaufTestbasis.h"
#include "generator/Generierung.h"
#include "generator/Namen.h"

namespace mosaik {
namespace {

using seitentest::schreiben;

struct LaufTest : test::MitOptionen {
  void SetUp() override {
    test::MitOptionen::SetUp();
    st.BilderOrdnerPfad = tmp.pfad();
  }
  std::string html() const { return tmp.pfad() + "html/"; }
};

TEST_F(LaufTest, ErsterLaufFragtNichtsZweiterFragtUndNeinSchreibtNichts) {
  EXPECT_TRUE(BitBStartClick(lauf));
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);  // only the completion question
  EXPECT_EQ(u.dialoge.meldungen[0].text, "Fertig! Möchten Sie das Ergebnis gleich ansehen?");
  EXPECT_EQ(u.dialoge.meldungen[0].caption, "Mosaikschauer: Information");
  EXPECT_EQ(u.dialoge.meldungen[0].buttons, MsgButtons::YesNo);
  // Yes opens the start page, as a file URL, which a browser named in
  // $BROWSER takes as well.
  EXPECT_EQ(u.shell.geoeffnet, std::vector<std::string>{"file://" + html() + "index.htm"});
  EXPECT_TRUE(m.enabled(Opt::BitBErgebnisAnsehen));
  // Without a browser that starts the button says so.
  u.shell.gelingt = false;
  BitBErgebnisAnsehenClick(k);
  ASSERT_EQ(u.dialoge.meldungen.size(), 2u);
  EXPECT_EQ(u.dialoge.meldungen[1].kind, MsgKind::Error);
  EXPECT_EQ(u.dialoge.meldungen[1].text, "Die Seite\nfile://" + html() +
                                             "index.htm\nkonnte nicht im Browser geöffnet werden: Es ist kein "
                                             "Browser eingerichtet, oder er lässt sich nicht starten.");
  u.shell.gelingt = true;

  schreiben(html() + "index.htm", "alt");
  u.dialoge.meldungen.clear();
  u.dialoge.antworten = {MsgResult::No};
  ansicht.begonnen = 0;
  EXPECT_FALSE(BitBStartClick(lauf));
  ASSERT_EQ(u.dialoge.meldungen.size(), 2u);
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Confirmation);
  EXPECT_EQ(u.dialoge.meldungen[0].text, "Achtung! Die Datei " + html() +
                                             "index.htm\r\nexistiert bereits!\r\nSoll sie (und alle weiteren) "
                                             "überschrieben werden?");
  EXPECT_EQ(u.dialoge.meldungen[1].kind, MsgKind::Error);
  EXPECT_EQ(u.dialoge.meldungen[1].text, "Datei soll nicht ersetzt werden.\r\nProgrammabbruch!");
  EXPECT_EQ(ansicht.begonnen, 0);

  // Unattended: overwritten without a question, and no completion message.
  st.Autostart = true;
  u.dialoge.meldungen.clear();
  EXPECT_TRUE(BitBStartClick(lauf));
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(LaufTest, UnbrauchbareOrdnerStoppenVorDemLauf) {
  if (test::AlsNobodyWiederholt()) return;
  // "datei" stands where a parent folder would have to be created;
  // "gesperrt" is a folder the user may not write.
  schreiben(tmp.pfad() + "datei", "x");
  fs::forceDirectories(tmp.pfad() + "gesperrt");
  ::chmod((tmp.pfad() + "gesperrt").c_str(), 0555);
  m.setChecked(Opt::RBNavUebGrafiklinks, true);  // standard graphics are the default choice
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  const struct {
    std::string html, gross, vor, nach;
    int navUeb;  // the large-image folder is checked after the graphics are made
  } faelle[] = {
      {"datei/html", "", "Kann das Verzeichnis ", "datei/html/ nicht erstellen!", 0},
      {"gesperrt", "", "Kann nicht im Verzeichnis ", "gesperrt/ speichern.", 0},
      {"", "datei/gross", "Kann das Verzeichnis ", "datei/gross/ nicht erstellen!", 1},
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.nach);
    st.HTMLOrdnerPfad = f.html.empty() ? "" : tmp.pfad() + f.html;
    st.GrosseBilderpfad = f.gross.empty() ? "" : tmp.pfad() + f.gross;
    ansicht.navUeb = 0;
    u.dialoge.meldungen.clear();
    EXPECT_FALSE(BitBStartClick(lauf));
    ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
    EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Error);
    EXPECT_EQ(u.dialoge.meldungen[0].text, f.vor + tmp.pfad() + f.nach + "\r\nProgrammabbruch!");
    EXPECT_EQ(ansicht.navUeb, f.navUeb);
    EXPECT_EQ(ansicht.navGross, 0);
    EXPECT_EQ(ansicht.begonnen, 0);
  }
  EXPECT_TRUE(std::filesystem::is_empty(tmp.pfad() + "gesperrt"));
}

// Folders are sorted by their times, so runs leave them as they were: the
// picture folder itself (in which the first run makes the HTML folder) and
// its subfolders get their times back, and what would not change is not
// written anew, so that a folder of another user, whose time the run may
// not set, keeps the time it has once the gallery is there.
TEST_F(LaufTest, LaeufeLassenOrdnerzeitenStehen) {
  // Root makes a folder of its own with the sticky bit, as /tmp has it, in
  // which anybody may write; the test then runs as nobody on that tree.
  static const char* const kBaum = "MOSAIK_TEST_FREMDER_BAUM";
  const std::string bild = seitentest::testJpeg(8, 6, 700);
  if (::geteuid() == 0) {
    const test::TempOrdner t;
    const std::string b = t.pfad() + "bilder/";
    schreiben(b + "eigen/e.jpg", bild);
    schreiben(b + "fremd/f.jpg", bild);
    ::chmod(t.pfad().c_str(), 0755);
    for (const char* eigen : {"", "eigen", "eigen/e.jpg", "fremd/f.jpg"})
      ASSERT_EQ(::chown((b + eigen).c_str(), 65534, 65534), 0) << eigen;
    ::chmod((b + "fremd").c_str(), 01777);
    ::setenv(kBaum, b.c_str(), 1);
    test::AlsNobodyWiederholt();
    ::unsetenv(kBaum);
    return;
  }
  const char* baum = ::getenv(kBaum);
  const std::string b = baum ? baum : tmp.pfad() + "bilder/";
  if (!baum) {
    schreiben(b + "eigen/e.jpg", bild);
    schreiben(b + "fremd/f.jpg", bild);
  }
  const auto zeit = [](const std::string& ordner) {
    const auto t = fs::modTime(ordner);
    return t ? std::pair(t->tv_sec, t->tv_nsec) : std::pair<time_t, long>(-1, -1);
  };
  st.BilderOrdnerPfad = b;
  st.Autostart = true;
  m.setChecked(Opt::RBOrdnerSortierenNachDatum, true);
  const struct timespec alt = {1000000000, 0};
  const std::pair<time_t, long> altePaar(alt.tv_sec, 0);
  for (const bool verkleinern : {false, true}) {
    SCOPED_TRACE(verkleinern);
    m.setChecked(Opt::CBOriginaleVerkleinern, verkleinern);
    for (const char* o : {"", "eigen"}) ASSERT_TRUE(fs::setModTime(b + o, alt));
    std::pair<time_t, long> fremd;
    std::string startseite;
    for (int n = 1; n <= 3; ++n) {
      ASSERT_TRUE(BitBStartClick(lauf)) << ::testing::PrintToString(u.dialoge.texte());
      EXPECT_EQ(zeit(b), altePaar) << n;
      EXPECT_EQ(zeit(b + "eigen"), altePaar) << n;
      // The first run without reduction writes the name file and the
      // redirect page into the folder of another user.
      if (n > 1) {
        EXPECT_EQ(zeit(b + "fremd"), fremd) << n;
      }
      fremd = zeit(b + "fremd");
      const std::string seite = seitentest::lesen(b + "html/index.htm");
      if (n > 2) {
        EXPECT_EQ(seite, startseite);
      }
      startseite = seite;
    }
    EXPECT_TRUE(fs::fileExists(b + (verkleinern ? "html/_gross/fremd/index.html" : "fremd/index.html")));
  }
}

// The folder listings a walk reads are forgotten when the outermost walk
// ends: a second run in the same process sees what changed in between, here
// a text file whose name differs from its picture's in case only.
TEST_F(LaufTest, ZweiterLaufSiehtGeaenderteOrdner) {
  schreiben(tmp.pfad() + "b.jpg", seitentest::testJpeg(8, 6, 700));
  m.setChecked(Opt::RBProBildEineHTMLDatei, true);
  m.setChecked(Opt::CBGrossBildLinkText, true);
  st.Autostart = true;
  const std::string seite = html() + "meinebilder-bjpg.htm";
  ASSERT_TRUE(BitBStartClick(lauf));
  EXPECT_EQ(seitentest::lesen(seite).find("<div class=\"aviwavtxt\">"), std::string::npos);
  schreiben(tmp.pfad() + "B.TXT", "Text");
  ASSERT_TRUE(BitBStartClick(lauf));
  const std::string link = "<div class=\"aviwavtxt\"><a href=\"../b.txt\">Textdatei</a> (.txt, 4 Bytes)";
  EXPECT_NE(seitentest::lesen(seite).find(link), std::string::npos)
      << seitentest::lesen(seite);
}

TEST_F(LaufTest, FehlgeschlageneNavigationsgrafikBeendetDenLauf) {
  m.setChecked(Opt::RBNavUebGrafiklinks, true);
  m.setEnabled(Opt::RBNavUebGrafiklinks, false);  // a disabled choice counts as not chosen
  m.setChecked(Opt::RBNavGrGrafiklinks, true);
  ansicht.navGelingt = false;
  EXPECT_FALSE(BitBStartClick(lauf));
  EXPECT_EQ(ansicht.navUeb, 0);
  EXPECT_EQ(ansicht.navGross, 1);
  EXPECT_EQ(ansicht.begonnen, 0);
  EXPECT_TRUE(u.dialoge.meldungen.empty());  // the graphics writer reports its own failure
}

TEST_F(LaufTest, AbbruchWirdEinmalGemeldetUndZaehltAlsFehlschlag) {
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  // The user presses "Abbrechen" while the run lets events through.
  u.sv.pump = [] { AbbruchFlag = 1; };
  EXPECT_FALSE(BitBStartClick(lauf));
  EXPECT_EQ(u.dialoge.texte(), std::vector<std::string>{"Programmabbruch durch den Benutzer!"});
  EXPECT_FALSE(m.enabled(Opt::BitBErgebnisAnsehen));
  EXPECT_EQ(ansicht.begonnen, 1);
  EXPECT_EQ(ansicht.beendet, 1);
  // The next run starts with the flag cleared.
  u.sv.pump = [] {};
  AbbruchFlag = 1;
  u.dialoge.antworten = {MsgResult::No};
  EXPECT_TRUE(BitBStartClick(lauf));
}

TEST_F(LaufTest, PfadersetzungEndetMitHinweisUndGesperrtemAnsichtsknopf) {
  m.setChecked(Opt::CBBilderPfadErsetzen, true);
  m.setChecked(Opt::CBCopyright, false);
  EXPECT_TRUE(BitBStartClick(lauf));
  EXPECT_FALSE(m.enabled(Opt::BitBErgebnisAnsehen));
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].buttons, MsgButtons::Ok);
  EXPECT_EQ(u.dialoge.meldungen[0].text,
            "Fertig!\r\n\r\nDas Ergebnis kann nicht sofort angezeigt werden, weil Sie\r\nangegeben haben, dass Sie "
            "Dateien verschieben wollen.\r\nDie Pfade wurden Ihren Angaben entsprechend angepasst.");
  EXPECT_TRUE(m.checked(Opt::CBCopyright));
  EXPECT_EQ(fs::currentFolder(), tmp.pfad());
}

TEST_F(LaufTest, OrdnerDerLaufdatenUndStandardordner) {
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  EXPECT_TRUE(BitBStartClick(lauf));
  EXPECT_EQ(lauf.HTMLOrdnername, "html");
  EXPECT_EQ(lauf.GrosseBilderOrdnername, "_gross");
  EXPECT_EQ(lauf.VorschauOrdnername, "_vorschau");
  EXPECT_TRUE(fs::folderExists(html() + "_gross"));
  EXPECT_TRUE(fs::folderExists(html() + "_vorschau"));
  EXPECT_EQ(lauf.OrdnerlisteHigh, -1);

  m.setChecked(Opt::CBOriginaleVerkleinern, false);
  m.setChecked(Opt::CBVorschaubilderErzeugen, false);
  u.dialoge.antworten = {MsgResult::Yes, MsgResult::No};
  EXPECT_TRUE(BitBStartClick(lauf));
  EXPECT_EQ(lauf.GrosseBilderOrdnername, "");
  EXPECT_EQ(lauf.VorschauOrdnername, "");
}

TEST(Namen, LetzterOrdnernameUndZeichenroutinen) {
  EXPECT_EQ(LetzterOrdnername("/home/a/Bilder/html/"), "html");
  EXPECT_EQ(LetzterOrdnername("/home/a/Bilder/html"), "html");
  EXPECT_EQ(LetzterOrdnername("html"), "html");
  std::string t;
  ZeichenAnhaengen('/', t);
  EXPECT_EQ(t, "");
  t = "a/";
  ZeichenAnhaengen('/', t);
  EXPECT_EQ(t, "a/");
  EXPECT_TRUE(gleicherOrdner("/tmp", "/tmp/"));
  EXPECT_TRUE(gleicherOrdner("/tmp/./", "/tmp"));
  EXPECT_FALSE(gleicherOrdner("/gibt/es/nicht/a", "/gibt/es/nicht/b"));
}

}  // namespace
}  // namespace mosaik
