// Help pages: the F1 map, the way a page reference becomes a browser call,
// the messages on failure, and the pages the program ships.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "TestUmgebung.h"
#include "platform/FileSystem.h"
#include "ui/Hilfe.h"

namespace mosaik {
namespace {

class SchaltbareShell : public Shell {
 public:
  std::vector<std::string> geoeffnet;
  bool gelingt = true;
  bool open(const std::string& t) override {
    geoeffnet.push_back(t);
    return gelingt;
  }
};

struct Hilfe : ::testing::Test {
  test::TestUmgebung u;
  SchaltbareShell shell;
  OptionModel m;
  AppState st;
  Kontext k{m, st, u.sv};
  std::string programm;  // a program folder with a blank and a '#' in its name

  void SetUp() override {
    u.sv.shell = &shell;
    programm = u.programmOrdner.pfad() + "Mein Programm #1/";
    std::filesystem::create_directories(programm + "hilfe");
    u.sv.programFolder = programm;
  }
  void seite(const std::string& name) { std::ofstream(programm + "hilfe/" + name) << "<html></html>"; }
  // The URL of a page of the test's help folder, written out by hand.
  std::string url(const std::string& rest) const {
    return "file://" + u.programmOrdner.pfad() + "Mein%20Programm%20%231/hilfe/" + rest;
  }
};

TEST_F(Hilfe, F1OeffnetDieSeiteDesFokussiertenControlsAmAnker) {
  // Which page and anchor each control has is the map's data (its pages and
  // anchors are checked below); here, how a reference becomes the call.
  for (const char* s : {"ordner.htm", "programm.htm", "texte.htm", "fb.htm"}) seite(s);
  const std::vector<std::pair<Opt, std::string>> faelle = {
      {Opt::EdBilderPfad, "ordner.htm#PfadzudenBildern"},
      {Opt::CBTheming, "programm.htm#xpdesign"},
      // The video text joins the other output texts.
      {Opt::EdVideodatei, "texte.htm#ausgabetexte"},
      // The questionnaire page has no anchor.
      {Opt::BFragebogen, "fb.htm"},
  };
  for (const auto& [o, erwartet] : faelle) {
    shell.geoeffnet.clear();
    EXPECT_TRUE(FormKeyDown(k, o, kTasteF1));
    ASSERT_EQ(shell.geoeffnet.size(), 1u) << info(o).name;
    EXPECT_EQ(shell.geoeffnet[0], url(erwartet)) << info(o).name;
  }
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(Hilfe, F1OhneEintragTutNichtsUndAndereTastenGehenVorbei) {
  for (const char* s : {"index.htm", "ordner.htm", "experten.htm"}) seite(s);
  // A label, a page, a group, the read-me memo, a button without help, a
  // button the map leaves out, and no focus at all.
  for (std::optional<Opt> o : std::initializer_list<std::optional<Opt>>{
           Opt::LPanoVerhaeltnis, Opt::TabSheetOrdner, Opt::GrBPfadeUndDateien, Opt::MLiesmich, Opt::BitBStart,
           Opt::BgeaenderteCSSLaden, Opt::BHilfe, std::nullopt})
    EXPECT_TRUE(FormKeyDown(k, o, kTasteF1));
  EXPECT_FALSE(FormKeyDown(k, Opt::EdBilderPfad, 113));  // F2
  EXPECT_FALSE(FormKeyDown(k, Opt::EdBilderPfad, 'P'));
  EXPECT_TRUE(shell.geoeffnet.empty());
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(Hilfe, KnoepfeOeffnenIndexFragebogenHomepageUndMail) {
  seite("index.htm");
  seite("fb.htm");
  BHilfeClick(k);
  BFragebogenClick(k);
  BHomepageClick(k);
  BMailClick(k);
  EXPECT_EQ(shell.geoeffnet,
            (std::vector<std::string>{
                url("index.htm"), url("fb.htm"), "https://mosaikschauer.example/",
                "mailto:rueckmeldung@mosaikschauer.example?subject=Rueckmeldung_zu_Mosaikschauer_V2.6.1.1"}));
  EXPECT_TRUE(u.dialoge.meldungen.empty());
  shell.gelingt = false;
  BMailClick(k);
  EXPECT_EQ(u.dialoge.texte(),
            std::vector<std::string>{
                "Die Adresse mailto:rueckmeldung@mosaikschauer.example?subject=Rueckmeldung_zu_Mosaikschauer_V2.6.1.1\n"
                "konnte nicht geöffnet werden: Es ist kein Programm dafür eingerichtet."});
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Error);
}

TEST_F(Hilfe, FehlendeSeiteWarntMitDemVollenPfadOhneAnker) {
  // The questionnaire page is missing: the warning names the whole path.
  BFragebogenClick(k);
  FormKeyDown(k, Opt::CBDiashow, kTasteF1);
  EXPECT_TRUE(shell.geoeffnet.empty());
  const std::string fehlt = "\nexistiert nicht und kann darum nicht angezeigt werden!";
  EXPECT_EQ(u.dialoge.texte(), (std::vector<std::string>{"Die Hilfeseite " + programm + "hilfe/fb.htm" + fehlt,
                                                         "Die Hilfeseite " + programm + "hilfe/sonstiges.htm" + fehlt}));
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Warning);
  EXPECT_EQ(u.dialoge.meldungen[0].buttons, MsgButtons::Ok);
  // A folder of that name is no page.
  std::filesystem::create_directories(programm + "hilfe/index.htm");
  BHilfeClick(k);
  EXPECT_TRUE(shell.geoeffnet.empty());
  EXPECT_EQ(u.dialoge.meldungen.size(), 3u);
}

TEST_F(Hilfe, BrowserDerNichtStartetGibtEineFehlermeldung) {
  seite("layout1.htm");
  shell.gelingt = false;
  FormKeyDown(k, Opt::EdSeitentitel, kTasteF1);
  EXPECT_EQ(shell.geoeffnet, std::vector<std::string>{url("layout1.htm#Seitentitel")});
  EXPECT_EQ(u.dialoge.texte(),
            std::vector<std::string>{"Die Seite\n" + url("layout1.htm#Seitentitel") +
                                     "\nkonnte nicht im Browser geöffnet werden: Es ist kein Browser eingerichtet, "
                                     "oder er lässt sich nicht starten."});
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Error);
  // Without any shell it is the same failure, not a crash.
  u.sv.shell = nullptr;
  EXPECT_FALSE(HTMLSeiteImBrowserOeffnen(k, programm + "hilfe/layout1.htm"));
  EXPECT_EQ(u.dialoge.meldungen.size(), 2u);
}

TEST(HilfeURL, LokalePfadeWerdenZuDateiURLs) {
  EXPECT_EQ(DateiPfadAlsURL("/opt/Mosaik schauer/hilfe/index.htm"), "file:///opt/Mosaik%20schauer/hilfe/index.htm");
  // Bytes of UTF-8 names, and what would end or confuse the path, are
  // encoded; a backslash is part of a Linux name.
  EXPECT_EQ(DateiPfadAlsURL("/h\xC3\xA4user/a#b?c%d\"e\\f.htm"),
            "file:///h%C3%A4user/a%23b%3Fc%25d%22e%5Cf.htm");
  EXPECT_EQ(DateiPfadAlsURL("/a\tb<c>[d]{e}|f^g`h"), "file:///a%09b%3Cc%3E%5Bd%5D%7Be%7D%7Cf%5Eg%60h");
  EXPECT_EQ(DateiPfadAlsURL("/~x/y-z_1.2/(a)+b,c;d=e&f!g$h'i*j:k@l"), "file:///~x/y-z_1.2/(a)+b,c;d=e&f!g$h'i*j:k@l");
  EXPECT_EQ(DateiPfadAlsURL("relativ/x y.htm"), "file:///relativ/x%20y.htm");
}

TEST_F(Hilfe, AnkerBleibtUnveraendertHinterDemPfad) {
  EXPECT_TRUE(HTMLSeiteImBrowserOeffnen(k, "/a b/c#1.htm", "Teil 2#x"));
  EXPECT_TRUE(HTMLSeiteImBrowserOeffnen(k, "/a b/c.htm"));
  EXPECT_EQ(shell.geoeffnet, (std::vector<std::string>{"file:///a%20b/c%231.htm#Teil 2#x", "file:///a%20b/c.htm"}));
}

// Every page and anchor of the map is in the help folder the program ships;
// every control of the main window that takes input has one, but these; no
// control of the navigation dialog has a page of its own.
TEST(HilfeSeiten, JederVerweisFindetSeiteUndAnker) {
  const std::set<Opt> ohneSeite = {
      Opt::RBVerklMethKleinEinfach, Opt::RBVerklMethKleinResample, Opt::RBVerklMethGrossEinfach,
      Opt::RBVerklMethGrossResample, Opt::BitBStart, Opt::BitBBeenden, Opt::BitBErgebnisAnsehen, Opt::BHomepage,
      Opt::BMail, Opt::MLiesmich, Opt::EdHTMLPfadname, Opt::EdgrosseBilderPfadname, Opt::EdVorschauPfadname,
      Opt::BitBJPGKommentare, Opt::BitBgrosseBilderSpeicherortWaehlen, Opt::BitBgrosseBilderOrdnerLoeschen,
      Opt::BitBVorschaubilderSpeicherortWaehlen, Opt::BitBVorschaubilderordnerLoeschen, Opt::SpBspaltenweise,
      Opt::SpBZeilenweise, Opt::BStandard, Opt::BitBLinkZurueckGrafik, Opt::BitBCSSDatei, Opt::BitBFavicon,
      Opt::BgeaenderteCSSLaden, Opt::BHilfe};
  const std::string ordner = std::string(MOSAIK_TEST_DATA) + "/../../hilfe/";
  for (const char* s : {"index.htm", "fb.htm"}) EXPECT_TRUE(fs::fileExists(ordner + s)) << s;
  for (int i = 0; i < kOptCount; ++i) {
    const Opt o = static_cast<Opt>(i);
    const Kind art = info(o).kind;
    const bool eingabe = art != Kind::Label && art != Kind::Group && art != Kind::Tab && !onNavigationWindow(o);
    const auto v = hilfeVerweis(o);
    EXPECT_EQ(v.has_value(), eingabe && !ohneSeite.contains(o)) << info(o).name;
    if (!v) continue;
    const auto inhalt = fs::readFile(ordner + std::string(v->seite));
    ASSERT_TRUE(inhalt) << v->seite;
    if (!v->anker.empty()) {
      EXPECT_NE(inhalt->find("id=\"" + std::string(v->anker) + "\""), std::string::npos) << v->text();
    }
  }
}

}  // namespace
}  // namespace mosaik
