#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestUmgebung.h"
#include "app/Grundeinstellungen.h"
#include "app/options/Kontext.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

// Records every handler that runs, with the guard flags at that moment.
struct Protokoll : OptionEvents {
  AppState* st = nullptr;
  std::vector<std::string> ereignisse;
  bool cssGuardBeiKlick = true, iniGuardBeiKlick = true, autoGuardBeiKlick = true;
  void optionEvent(Opt o, Ev e) override {
    static const char* kEv[] = {"Click", "Change", "Exit"};
    ereignisse.push_back(std::string(info(o).name) + kEv[static_cast<int>(e)]);
    if (o == Opt::CBAndereCSSDatei && e == Ev::Click) cssGuardBeiKlick = st->CSSKlickAktiv;
    if (o == Opt::CBIniDateiImAnwendungsordner) iniGuardBeiKlick = st->IniOrtKlickAktiv;
    if (o == Opt::CBEinstellungenAutomatischSpeichern) autoGuardBeiKlick = st->AutoSpeichernKlickAktiv;
  }
  void procedure(Proc p) override { ereignisse.push_back(std::string(procName(p))); }
};

struct Grundeinstellungen : ::testing::Test {
  test::TestUmgebung u;
  OptionModel m;
  AppState st;
  Kontext k{m, st, u.sv};
  Protokoll log;
  void SetUp() override {
    log.st = &st;
    m.setEvents(&log);
    st.Font1Standard = "Arial";
    st.Font2Standard = "Verdana";
  }
};

TEST_F(Grundeinstellungen, SetztJedeArtVonOptionAufIhrenStandard) {
  // The layout's own start values, which the reset leaves alone: every
  // saved settings file records them.
  EXPECT_TRUE(m.checked(Opt::CBDateinameAlsHint));
  EXPECT_EQ(m.text(Opt::EdGrafikDiashowAus), "");
  // The guarded boxes start from the opposite states, so that the reset
  // really changes them.
  m.setChecked(Opt::CBAndereCSSDatei, true);
  m.setChecked(Opt::CBIniDateiImAnwendungsordner, true);
  m.setChecked(Opt::CBEinstellungenAutomatischSpeichern, false);
  st.cellspacingIE = true;
  st.dirnametxt = true;
  st.HTMLOrdnerPfad = "/irgendwo/html";
  st.GrosseBilderpfad = "/irgendwo/gross";
  st.Vorschaubilderpfad = "/irgendwo/vorschau";
  BGrundEinstellungenClick(k, false);
  EXPECT_TRUE(u.dialoge.meldungen.empty());

  // The values the settings file records are fixed by the handwritten
  // standard file; here the ranges and what that file does not hold.
  EXPECT_EQ(m.text(Opt::EdKomprimierung), "25");
  EXPECT_EQ(m.text(Opt::EdKomprimierungGrosseBilder), "15");
  EXPECT_EQ(m.text(Opt::LBlaetternUebersichtGross), "Übersichtsseite");
  EXPECT_EQ(m.text(Opt::RSpEdVerhaeltnis), "2");
  EXPECT_EQ(m.minValue(Opt::SpEdAbstand2), -1);
  EXPECT_EQ(m.maxValue(Opt::SpEdZeilenProSeitezahl), 1000);
  EXPECT_EQ(m.maxValue(Opt::SpEdAnzPanoSpalten), 20);
  // Values outside the controls.
  EXPECT_EQ(st.BilderOrdnerPfad + "/", fs::currentFolder());
  EXPECT_EQ(m.text(Opt::EdBilderPfad), st.BilderOrdnerPfad);
  EXPECT_TRUE(st.HTMLOrdnerPfad.empty());
  EXPECT_TRUE(st.GrosseBilderpfad.empty());
  EXPECT_TRUE(st.Vorschaubilderpfad.empty());
  EXPECT_TRUE(st.cellspacingIE);  // never reset
  EXPECT_TRUE(st.dirnametxt);
  // The guards are off around their own lines only (the handlers ran, so
  // the guarded boxes changed).
  EXPECT_FALSE(log.cssGuardBeiKlick);
  EXPECT_FALSE(log.iniGuardBeiKlick);
  EXPECT_FALSE(log.autoGuardBeiKlick);
  EXPECT_TRUE(st.CSSKlickAktiv);
  EXPECT_TRUE(st.IniOrtKlickAktiv);
  EXPECT_TRUE(st.AutoSpeichernKlickAktiv);
}

// Which member is on is fixed by the standard file; a group left with none
// on would write the same code as its fallback member.
TEST_F(Grundeinstellungen, JedeRadiogruppeHatGenauEinenMember) {
  BGrundEinstellungenClick(k, false);
  for (int i = 0; i < kOptCount; ++i) {
    const Opt o = static_cast<Opt>(i);
    if (info(o).kind != Kind::Radio || info(o).radioGroup != o) continue;
    int an = 0;
    for (int j = 0; j < kOptCount; ++j) {
      const Opt q = static_cast<Opt>(j);
      if (info(q).kind == Kind::Radio && info(q).radioGroup == o && m.checked(q)) ++an;
    }
    EXPECT_EQ(an, 1) << info(o).name;
  }
}

TEST_F(Grundeinstellungen, KnopfFragtUndNeinAendertNichts) {
  BGrundEinstellungenClick(k, false);
  m.setText(Opt::EdSeitentitel, "Urlaub");
  st.HTMLOrdnerPfad = "/anders";
  log.ereignisse.clear();
  u.dialoge.antworten.push_back(MsgResult::No);
  BGrundEinstellungenClick(k, true);
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Warning);
  EXPECT_EQ(u.dialoge.meldungen[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(u.dialoge.meldungen[0].text, "Achtung! Alle vorhandenen Einstellungen gehen verloren.\r\nMöchten Sie das?");
  EXPECT_EQ(m.text(Opt::EdSeitentitel), "Urlaub");
  EXPECT_EQ(st.HTMLOrdnerPfad, "/anders");
  EXPECT_TRUE(log.ereignisse.empty());

  // Yes resets; without a login name the author stays empty.
  u.sv.loginName = [] { return std::string(); };
  u.dialoge.antworten.push_back(MsgResult::Yes);
  BGrundEinstellungenClick(k, true);
  EXPECT_EQ(m.text(Opt::EdSeitentitel), "Mosaikschauer");
  EXPECT_TRUE(st.HTMLOrdnerPfad.empty());
  EXPECT_EQ(m.text(Opt::EdMetaAutor), "");
}

}  // namespace
}  // namespace mosaik
