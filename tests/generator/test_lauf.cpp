#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "AlsNobody.h"
#include "DurchlaufTestbasis.h"
#include "app/Grundeinstellungen.h"
#include "generator/Generierung.h"
#include "generator/Namen.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

struct ZaehlendeAnsicht : RunView {
  int begonnen = 0, beendet = 0, navUeb = 0, navGross = 0;
  void laufBeginnt() override { ++begonnen; }
  void laufEndet() override { ++beendet; }
  void aktuelleDatei(const std::string&) override {}
  bool navGelingt = true;
  bool StandardbilderUebErzeugen() override {
    ++navUeb;
    return navGelingt;
  }
  bool StandardbilderGrossErzeugen() override {
    ++navGross;
    return navGelingt;
  }
};

struct LaufTest : ::testing::Test {
  test::TestUmgebung u;
  test::TempOrdner quelle;
  OptionModel m;
  AppState st;
  Kontext k{m, st, u.sv};
  test::KeineEreignisse nichts;
  ZaehlendeAnsicht ansicht;
  Lauf lauf{k, ansicht};
  std::string altesArbeitsverzeichnis = fs::currentFolder();

  void SetUp() override {
    m.setEvents(&nichts);
    ASSERT_TRUE(fs::setCurrentFolder(quelle.pfad()));
    BGrundEinstellungenClick(k, false);
    u.dialoge.meldungen.clear();
  }
  void TearDown() override { fs::setCurrentFolder(altesArbeitsverzeichnis); }
  std::string html() const { return quelle.pfad() + "html/"; }
};

TEST_F(LaufTest, ErsterLaufFragtNichtsZweiterFragtUndNeinSchreibtNichts) {
  EXPECT_TRUE(BitBStartClick(lauf));
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);  // only the completion question
  EXPECT_EQ(u.dialoge.meldungen[0].text, "Fertig! Möchten Sie das Ergebnis gleich ansehen?");
  EXPECT_EQ(u.dialoge.meldungen[0].caption, "Mosaikschauer: Information");
  EXPECT_EQ(u.dialoge.meldungen[0].buttons, MsgButtons::YesNo);
  ASSERT_EQ(u.shell.geoeffnet.size(), 1u);  // Yes opens the start page
  EXPECT_EQ(u.shell.geoeffnet[0], html() + "index.htm");
  EXPECT_TRUE(m.enabled(Opt::BitBErgebnisAnsehen));

  std::ofstream(html() + "index.htm") << "alt";
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
}

TEST_F(LaufTest, AutostartUeberschreibtOhneFrageUndOhneSchlussmeldung) {
  fs::forceDirectories(html());
  std::ofstream(html() + "index.htm") << "alt";
  st.Autostart = true;
  EXPECT_TRUE(BitBStartClick(lauf));
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(LaufTest, NichtAnlegbarerHTMLOrdnerStopptVorAllem) {
  // A file stands where a parent folder would have to be created.
  std::ofstream(quelle.pfad() + "blockiert") << "x";
  st.HTMLOrdnerPfad = quelle.pfad() + "blockiert/html";
  m.setChecked(Opt::RBNavUebGrafiklinks, true);
  EXPECT_FALSE(BitBStartClick(lauf));
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Error);
  EXPECT_EQ(u.dialoge.meldungen[0].text,
            "Kann das Verzeichnis " + quelle.pfad() + "blockiert/html/ nicht erstellen!\r\nProgrammabbruch!");
  EXPECT_EQ(ansicht.navUeb, 0);
  EXPECT_EQ(ansicht.begonnen, 0);
}

TEST_F(LaufTest, NichtBeschreibbarerOrdnerMeldetUndHinterlaesstNichts) {
  if (test::AlsNobodyWiederholt()) return;
  const std::string ordner = html();
  fs::forceDirectories(ordner);
  ::chmod(ordner.c_str(), 0555);
  EXPECT_FALSE(BitBStartClick(lauf));
  ::chmod(ordner.c_str(), 0755);
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].text, "Kann nicht im Verzeichnis " + ordner + " speichern.\r\nProgrammabbruch!");
  EXPECT_EQ(ansicht.begonnen, 0);
  EXPECT_TRUE(std::filesystem::is_empty(ordner));
}

TEST_F(LaufTest, GrossbildordnerFehlerKommtNachDenNavigationsgrafiken) {
  m.setChecked(Opt::RBNavUebGrafiklinks, true);   // standard graphics are the default choice
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  std::ofstream(quelle.pfad() + "datei") << "x";
  st.GrosseBilderpfad = quelle.pfad() + "datei/gross";
  EXPECT_FALSE(BitBStartClick(lauf));
  EXPECT_EQ(ansicht.navUeb, 1);
  EXPECT_EQ(ansicht.navGross, 0);
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].text,
            "Kann das Verzeichnis " + quelle.pfad() + "datei/gross/ nicht erstellen!\r\nProgrammabbruch!");
  // A disabled choice counts as not chosen.
  m.setEnabled(Opt::RBNavUebGrafiklinks, false);
  st.GrosseBilderpfad.clear();
  u.dialoge.meldungen.clear();
  EXPECT_TRUE(BitBStartClick(lauf));
  EXPECT_EQ(ansicht.navUeb, 1);
}

TEST_F(LaufTest, FehlgeschlageneNavigationsgrafikBeendetDenLauf) {
  m.setChecked(Opt::RBNavGrGrafiklinks, true);
  ansicht.navGelingt = false;
  EXPECT_FALSE(BitBStartClick(lauf));
  EXPECT_EQ(ansicht.navGross, 1);
  EXPECT_EQ(ansicht.begonnen, 0);
  EXPECT_TRUE(u.dialoge.meldungen.empty());  // the graphics writer reports its own failure
}

TEST_F(LaufTest, AbbruchWirdEinmalGemeldetUndZaehltAlsFehlschlag) {
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  // The user presses "Abbrechen" while the run lets events through.
  u.sv.pump = [] { AbbruchFlag = 1; };
  EXPECT_FALSE(BitBStartClick(lauf));
  int abbruchMeldungen = 0;
  for (const auto& t : u.dialoge.texte()) abbruchMeldungen += t == "Programmabbruch durch den Benutzer!";
  EXPECT_EQ(abbruchMeldungen, 1);
  EXPECT_EQ(u.dialoge.meldungen.size(), 1u);  // no completion question
  EXPECT_FALSE(m.enabled(Opt::BitBErgebnisAnsehen));
  EXPECT_EQ(ansicht.begonnen, 1);
  EXPECT_EQ(ansicht.beendet, 1);
  EXPECT_TRUE(m.checked(Opt::CBCopyright));
  // The next run starts with the flag cleared and reports again.
  u.sv.pump = [] {};
  u.dialoge.meldungen.clear();
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
  EXPECT_EQ(fs::currentFolder(), quelle.pfad());
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
  std::ofstream(html() + "index.htm") << "x";
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
