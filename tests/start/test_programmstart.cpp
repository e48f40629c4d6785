#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/EinstellungsSitzung.h"
#include "start/Programm.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

using test::dateiAblegen;

// A program whose settings reading is recorded instead of done; the gallery
// goes into a temporary folder with no pictures.
struct Start : test::ImArbeitsordner {
  std::vector<std::string> gelesen;

  std::unique_ptr<Programm> programm(std::vector<std::string> args) {
    auto p = std::make_unique<Programm>(u.sv, std::move(args));
    p->einstellungsdateiLesen = [this](const Einstellungsort& d) {
      if (d.stand() == Einstellungsort::Stand::Datei) gelesen.push_back("ini " + d.pfad());
    };
    p->zusatzdateienLesen = [this](const Einstellungsort& d) {
      if (d.stand() == Einstellungsort::Stand::Datei) gelesen.push_back("zusatz " + d.pfad());
    };
    p->start();
    return p;
  }
};

TEST_F(Start, FensterInIhrerReihenfolgeUndVorbereiteteHauptform) {
  EXPECT_EQ(programm({})->m.text(Opt::MLiesmich), "");  // no read-me: empty
  dateiAblegen(u.programmOrdner.pfad() + "liesmich.txt", "Lies mich \xe4");  // Windows-1252 ä
  auto p = programm({});
  EXPECT_EQ(p->erstellteFenster,
            (std::vector<std::string>{"HauptForm", "EXIFForm", "wartenForm", "NavigationForm", "farbForm",
                                      "KommentarForm"}));
  EXPECT_EQ(p->m.text(Opt::LProgginame), "Mosaikschauer V2.6.1.1");
  EXPECT_EQ(p->m.text(Opt::LProgrammname), "Mosaikschauer Version 2.6.1.1");
  EXPECT_EQ(p->m.text(Opt::LHauptIniFilename), "(Mosaikschauer.ini)");
  EXPECT_EQ(p->m.text(Opt::LAnwendungsordner), u.datenOrdner.pfad());
  EXPECT_EQ(p->m.text(Opt::MLiesmich), "Lies mich ä");
  EXPECT_EQ(p->st.Font1Standard, "Arial");
  EXPECT_EQ(p->st.EinstellungsDialogOrdner, u.programmOrdner.pfad());
  EXPECT_FALSE(p->st.ErstaktivierungErledigt);
  EXPECT_EQ(p->st.AktiveSeite, "TabSheetHilfe");
  EXPECT_TRUE(u.dialoge.meldungen.empty());
  // UTF-16, as Windows editors save "Unicode" text.
  dateiAblegen(u.programmOrdner.pfad() + "liesmich.txt", std::string("\xFF\xFEL\0\xE4\0\r\0\n\0", 10));
  EXPECT_EQ(programm({})->m.text(Opt::MLiesmich), "Lä\r\n");
}

TEST_F(Start, ErstaktivierungLiestStandarddateiUndSchaltetSeitenUm) {
  dateiAblegen(u.programmOrdner.pfad() + "Mosaikschauer.ini", "[Programm]\r\n");
  auto p = programm({});
  p->FormActivate();
  EXPECT_TRUE(p->st.ErstaktivierungErledigt);
  EXPECT_TRUE(p->st.dirnametxt);
  EXPECT_EQ(gelesen, (std::vector<std::string>{"ini " + u.programmOrdner.pfad() + "Mosaikschauer.ini",
                                               "zusatz " + u.programmOrdner.pfad() + "Mosaikschauer.ini"}));
  EXPECT_EQ(p->st.AktiveSeite, "TabSheetOrdner");
  EXPECT_EQ(p->st.AktiveExpertenSeite, "TabSheetSpezielles");
  EXPECT_FALSE(p->beendet());
  // A second activation does nothing more.
  p->m.setText(Opt::EdSeitentitel, "geaendert");
  p->FormActivate();
  EXPECT_EQ(p->m.text(Opt::EdSeitentitel), "geaendert");
  EXPECT_EQ(gelesen.size(), 2u);
}

TEST_F(Start, PersoenlicherOrtWirdNachDerStandarddateiGelesen) {
  dateiAblegen(u.programmOrdner.pfad() + "Mosaikschauer.ini", "x");
  auto p = programm({});
  // Stands in for the standard file choosing the personal location.
  p->einstellungsdateiLesen = [&](const Einstellungsort& d) {
    gelesen.push_back("ini " + d.pfad());
    if (d.pfad() == u.programmOrdner.pfad() + "Mosaikschauer.ini")
      p->m.setChecked(Opt::CBIniDateiImAnwendungsordner, true);
  };
  p->FormActivate();
  ASSERT_EQ(gelesen.size(), 3u);
  EXPECT_EQ(gelesen[2], "ini " + u.datenOrdner.pfad() + "Mosaikschauer/Mosaikschauer.ini");
  EXPECT_EQ(p->st.EinstellungsDialogOrdner, u.datenOrdner.pfad() + "Mosaikschauer/");
  EXPECT_FALSE(fs::folderExists(u.datenOrdner.pfad() + "Mosaikschauer"));  // not created here
}

TEST_F(Start, KommandozeileSchalter) {
  struct Fall {
    std::vector<std::string> args;
    bool autostart;
    bool cellspacing;
  };
  const std::vector<Fall> faelle = {
      {{}, false, false},
      {{"-AutoStart"}, true, false},
      {{"/AUTOSTART"}, true, false},
      {{"--autostart"}, false, false},
      {{"autostart"}, false, false},
      {{"-autostartx"}, false, false},
      {{"-CellSpacingIE"}, false, true},
      {{"/cellspacingie", "-autostart"}, true, true},
      {{"cellspacingie"}, false, false},
  };
  for (const Fall& f : faelle) {
    auto p = programm(f.args);
    p->st.cellspacingIE = true;  // as if a settings file had set it: the command line clears it first
    p->kommandozeilenparameterausfuehren();
    EXPECT_EQ(p->st.Autostart, f.autostart) << (f.args.empty() ? "" : f.args[0]);
    EXPECT_EQ(p->st.cellspacingIE, f.cellspacing) << (f.args.empty() ? "" : f.args[0]);
    EXPECT_EQ(p->beendet(), f.autostart);
    EXPECT_EQ(Programm::autostartVerlangt(f.args), f.autostart);
  }
}

TEST_F(Start, IniArgumentSuchtErstWieGetipptDannImProgrammordner) {
  dateiAblegen(u.programmOrdner.pfad() + "Nur.ini", "p");
  dateiAblegen(u.programmOrdner.pfad() + "Beide.ini", "p");
  dateiAblegen(arbeit.pfad() + "Beide.ini", "a");
  dateiAblegen(arbeit.pfad() + "Gross.INI", "a");
  auto p = programm({"-ini=Nur.ini", "xini=Beide.ini", "äINI=Gross.INI", "-ini=fehlt.ini", "-ini=", "ini=Nur.ini",
                     "-ini=gross.ini"});
  // A name as typed counts from the working folder at start, wherever reading has moved it since.
  ASSERT_TRUE(fs::setCurrentFolder(u.programmOrdner.pfad()));
  p->kommandozeilenparameterausfuehren();
  EXPECT_EQ(gelesen, (std::vector<std::string>{
                         "ini " + u.programmOrdner.pfad() + "Nur.ini", "zusatz " + u.programmOrdner.pfad() + "Nur.ini",
                         "ini " + arbeit.pfad() + "Beide.ini", "zusatz " + arbeit.pfad() + "Beide.ini",
                         "ini " + arbeit.pfad() + "Gross.INI", "zusatz " + arbeit.pfad() + "Gross.INI"}));
  EXPECT_TRUE(u.dialoge.meldungen.empty());

  // Unattended, a named file that is in neither place stops the run before
  // anything is written or saved, and so does an empty name (a script's
  // variable that was not set).
  const std::string absolut = arbeit.pfad() + "weg/fehlt.ini";
  auto q = programm({"-ini=Nur.ini", "-ini=fehlt.ini", "/INI=", "-ini=" + absolut, "-autostart"});
  q->kommandozeilenparameterausfuehren();
  EXPECT_TRUE(q->beendet());
  EXPECT_EQ(q->exitStatus(), 1);
  const std::string schluss = " ist nicht vorhanden.\r\nProgrammabbruch!";
  EXPECT_EQ(u.dialoge.texte(), (std::vector<std::string>{"Die Einstellungsdatei " + arbeit.pfad() +
                                                             "fehlt.ini (auch nicht im Programmordner " +
                                                             u.programmOrdner.pfad() + ")" + schluss,
                                                         "Das Argument /INI= nennt keine Einstellungsdatei.\r\n"
                                                         "Programmabbruch!",
                                                         "Die Einstellungsdatei " + absolut + schluss}));
  EXPECT_FALSE(std::filesystem::exists(arbeit.pfad() + "html"));
  EXPECT_FALSE(std::filesystem::exists(u.programmOrdner.pfad() + "Mosaikschauer.ini"));
}

TEST_F(Start, AutostartLaeuftNachAllenArgumentenEinmalUndBeendet) {
  auto p = programm({"-autostart", "-ini=a.ini"});
  dateiAblegen(arbeit.pfad() + "a.ini", "x");
  std::vector<bool> gelesenVorLauf;
  p->einstellungsdateiLesen = [&](const Einstellungsort&) { gelesenVorLauf.push_back(p->st.HauptFormEnabled); };
  int aktivierungenImLauf = 0;
  int schliessenImLauf = 0;
  u.sv.pump = [&] {
    ++aktivierungenImLauf;
    p->FormActivate();  // the window system re-activates the main window during the run
    if (!p->laeuft()) return;
    p->BitBBeendenClick();  // the user closes it: refused while the run goes on
    EXPECT_FALSE(p->beendet());
    ++schliessenImLauf;
  };
  p->FormActivate();
  // The standard file and the named one, both before the run, once.
  EXPECT_EQ(gelesenVorLauf, (std::vector<bool>{true, true}));
  EXPECT_GT(aktivierungenImLauf, 0);
  EXPECT_GT(schliessenImLauf, 0);
  EXPECT_TRUE(p->beendet());
  EXPECT_EQ(p->exitStatus(), 0);
  EXPECT_TRUE(fs::folderExists(arbeit.pfad() + "html"));
  EXPECT_TRUE(u.dialoge.meldungen.empty());  // no question, no completion message
}

// The program's own source tree is never a picture folder: neither the tree,
// nor a folder inside it, nor one that holds it, whatever the subfolder
// option says. The unattended run then ends with status 2 before it writes. The
// demo copy made inside the tree to be worked on is no part of it.
TEST_F(Start, AutostartVerweigertDenQuelltextDesProgramms) {
  namespace sf = std::filesystem;
  const std::string bilder = arbeit.pfad().substr(0, arbeit.pfad().size() - 1);
  const std::string oben = sf::path(bilder).parent_path().string();
  struct Fall {
    std::string arbeitskopie;
    bool unterordner;
    int status;
    std::string demokopie = {};
  };
  const std::vector<Fall> faelle = {
      {"", true, 0},
      {bilder, true, 2},
      {bilder + "/", false, 2},
      {oben, false, 2},
      {bilder + "/quelltext", true, 2},
      {bilder + "/quelltext", false, 2},  // whatever the subfolder option says
      {bilder + "-daneben", true, 0},
      {oben, false, 0, bilder},
      {oben, false, 0, bilder + "/"},
      {oben, false, 2, bilder + "/fotos"},
      {oben, false, 2, bilder + "-daneben"},
      {bilder + "/quelltext", true, 2, bilder + "/quelltext"},
  };
  for (const Fall& f : faelle) {
    auto p = programm({"-autostart"});
    p->arbeitskopie = f.arbeitskopie;
    p->demokopie = f.demokopie;
    p->einstellungsdateiLesen = [&](const Einstellungsort&) { p->m.setChecked(Opt::CBmitUnterverzeichnissen, f.unterordner); };
    u.dialoge.meldungen.clear();
    p->FormActivate();
    EXPECT_TRUE(p->beendet()) << f.arbeitskopie;
    EXPECT_EQ(p->exitStatus(), f.status) << f.arbeitskopie;
    EXPECT_EQ(fs::folderExists(arbeit.pfad() + "html"), f.status == 0) << f.arbeitskopie;
    EXPECT_EQ(u.dialoge.meldungen.size(), f.status == 0 ? 0u : 1u) << f.arbeitskopie;
    // A refused start keeps the settings as they were.
    EXPECT_EQ(sf::remove(u.programmOrdner.pfad() + "Mosaikschauer.ini"), f.status == 0) << f.arbeitskopie;
    sf::remove_all(arbeit.pfad() + "html");
  }
}

}  // namespace
}  // namespace mosaik
