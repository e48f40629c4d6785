#pragma once
// The main window without a display: option model, rules and the pinned
// surroundings, with the built-in defaults applied in a private picture
// folder.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "TestUmgebung.h"
#include "app/Einstellungen.h"
#include "app/Grundeinstellungen.h"
#include "platform/FileSystem.h"
#include "ui/HauptForm.h"
#include "ui/NavigationForm.h"

namespace mosaik::test {

struct Hauptform : ::testing::Test {
  TestUmgebung u;
  TempOrdner bilder;
  OptionModel m;
  AppState st;
  Kontext k{m, st, u.sv};
  TNavigationForm nav{k};
  THauptForm haupt{k, nav};
  std::string alterOrdner;
  std::vector<Opt> fokusVerlauf;

  void SetUp() override {
    m.setEvents(&haupt);
    st.Font1Standard = "Arial";
    st.Font2Standard = "Verdana";
    haupt.fokusSetzen = [this](Opt o) { fokusVerlauf.push_back(o); };
    alterOrdner = fs::currentFolder();
    fs::setCurrentFolder(bilder.pfad());
    BGrundEinstellungenClick(k, false);
  }
  void TearDown() override { fs::setCurrentFolder(alterOrdner); }

  // Writes a settings file (UTF-8, only ASCII keys) and reads it in.
  void einstellungenLesen(const std::string& inhalt) {
    const std::string datei = bilder.pfad() + "test.ini";
    std::ofstream(datei, std::ios::binary) << inhalt;
    IniFileLesen(k, datei);
  }
  bool en(Opt o) const { return m.enabled(o); }
  bool sichtbar(Opt o) const { return m.visible(o); }
};

}  // namespace mosaik::test
