#pragma once
// An option set after the built-in defaults, with the settings boxes routed
// to the settings code as the main window routes them, and every handler run
// recorded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestUmgebung.h"
#include "app/Einstellungen.h"
#include "app/Grundeinstellungen.h"
#include "app/options/Kontext.h"
#include "platform/FileSystem.h"

namespace mosaik::test {

struct Protokoll : OptionEvents {
  Kontext* k = nullptr;
  std::vector<std::string> ereignisse;
  std::vector<bool> cssGuardBeiKlick;
  void optionEvent(Opt o, Ev e) override {
    static const char* kEv[] = {"Click", "Change", "Exit"};
    ereignisse.push_back(std::string(info(o).name) + kEv[static_cast<int>(e)]);
    if (o == Opt::CBAndereCSSDatei && e == Ev::Click) cssGuardBeiKlick.push_back(k->st.CSSKlickAktiv);
    EinstellungsEreignis(*k, o, e);
  }
  void procedure(Proc p) override { ereignisse.push_back(std::string(procName(p))); }
};

struct Sitzung {
  OptionModel m;
  AppState st;
  Kontext k;
  Protokoll protokoll;

  explicit Sitzung(Services& sv) : k{m, st, sv} {
    protokoll.k = &k;
    m.setEvents(&protokoll);
    m.setDecimalSeparator(sv.locale.decimalSeparator);
    st.Font1Standard = "Arial";
    st.Font2Standard = "Verdana";
    st.EinstellungsDialogOrdner = programmOrdner(k);
    BGrundEinstellungenClick(k, false);
    // Start value of the window layout, which the defaults do not touch.
    m.setChecked(Opt::CBDateinameAlsHint, true);
    protokoll.ereignisse.clear();
    protokoll.cssGuardBeiKlick.clear();
  }
};

// A test that works in a fresh current folder (the reader falls back to it).
struct ImArbeitsordner : ::testing::Test {
  TestUmgebung u;
  TempOrdner arbeit;
  std::string altesArbeitsverzeichnis = fs::currentFolder();
  void SetUp() override { ASSERT_TRUE(fs::setCurrentFolder(arbeit.pfad())); }
  void TearDown() override { fs::setCurrentFolder(altesArbeitsverzeichnis); }
};

inline std::string testdaten(const std::string& name) { return std::string(MOSAIK_TEST_DATA) + "/ini/" + name; }

}  // namespace mosaik::test
