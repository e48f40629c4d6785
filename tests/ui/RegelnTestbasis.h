#pragma once
// The main window without a display: option model, rules and the pinned
// surroundings, with the built-in defaults applied in a private picture
// folder.
#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
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
  // Types a text into a field and leaves it: what the field holds then.
  std::string verlassen(Opt f, const std::string& text) {
    m.setText(f, text);
    m.run(f, Ev::Exit);
    return m.text(f);
  }
  // n messages so far, the last of this kind and text.
  void meldung(size_t n, MsgKind kind, const std::string& text) const {
    ASSERT_EQ(u.dialoge.meldungen.size(), n);
    EXPECT_EQ(u.dialoge.meldungen.back().kind, kind);
    EXPECT_EQ(u.dialoge.meldungen.back().text, text);
  }
  // The i-th file dialog's title, default extension and filter.
  void dateiDialog(size_t i, const std::string& titel, const std::string& endung, const std::string& filter) const {
    ASSERT_LT(i, u.dialoge.dateiDialoge.size());
    const FileDialogOptions& o = u.dialoge.dateiDialoge[i].optionen;
    EXPECT_EQ(o.title, titel);
    EXPECT_EQ(o.defaultExt, endung);
    EXPECT_EQ(o.filter, filter);
  }
  bool en(Opt o) const { return m.enabled(o); }
  bool sichtbar(Opt o) const { return m.visible(o); }
  // Every listed option enabled, disabled, shown or hidden; named on failure.
  void an(std::initializer_list<Opt> os) const { for (Opt o : os) EXPECT_TRUE(en(o)) << info(o).name; }
  void aus(std::initializer_list<Opt> os) const { for (Opt o : os) EXPECT_FALSE(en(o)) << info(o).name; }
  void gezeigt(std::initializer_list<Opt> os) const { for (Opt o : os) EXPECT_TRUE(sichtbar(o)) << info(o).name; }
  void verborgen(std::initializer_list<Opt> os) const { for (Opt o : os) EXPECT_FALSE(sichtbar(o)) << info(o).name; }
};

}  // namespace mosaik::test
