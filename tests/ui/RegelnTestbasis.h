#pragma once
// The main window without a display: option model, rules and the pinned
// surroundings, with the built-in defaults applied in a private picture
// folder.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "TestUmgebung.h"
#include "app/Einstellungen.h"
#include "app/Grundeinstellungen.h"
#include "platform/FileSystem.h"
#include "ui/HauptForm.h"
#include "ui/NavigationForm.h"

namespace mosaik::test {

// What a rule row looks at.
enum class Merkmal { Aktiv, Sichtbar, Haken };

// A rule row: controls that share one expectation, and that expectation in
// each state of a test: '1' or '0', '.' where it is not looked at.
struct Regelzeile {
  std::vector<Opt> controls;
  Merkmal merkmal;
  std::string jeZustand;
};

// A caption or text a control shows in one state.
struct Textzeile {
  size_t zustand;
  Opt o;
  std::string text;
};

// One input of a state: a box or radio button ticked (wert 1) or not, a spin
// value or a list index (followed by its change event); a text; or an event
// alone; or anything else the test does.
struct Eingabe {
  Opt o = Opt::Count;
  int wert = 1;
  std::optional<std::string> text = {};
  std::optional<Ev> ereignis = {};
  std::function<void()> tat = {};
};

using Zustaende = std::vector<std::vector<Eingabe>>;
using Regeltabelle = std::vector<Regelzeile>;

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
  bool en(Opt o) const { return m.enabled(o); }
  bool sichtbar(Opt o) const { return m.visible(o); }
  // Every listed option enabled, disabled, shown or hidden; named on failure.
  void an(std::initializer_list<Opt> os) const { for (Opt o : os) EXPECT_TRUE(en(o)) << info(o).name; }
  void aus(std::initializer_list<Opt> os) const { for (Opt o : os) EXPECT_FALSE(en(o)) << info(o).name; }
  void gezeigt(std::initializer_list<Opt> os) const { for (Opt o : os) EXPECT_TRUE(sichtbar(o)) << info(o).name; }
  void verborgen(std::initializer_list<Opt> os) const { for (Opt o : os) EXPECT_FALSE(sichtbar(o)) << info(o).name; }

  void eingeben(const Eingabe& e) {
    if (e.tat) return e.tat();
    if (e.ereignis) return m.run(e.o, *e.ereignis);
    if (e.text) return m.setText(e.o, *e.text);
    if (info(e.o).kind == Kind::Spin) return m.setSpin(e.o, e.wert);
    if (info(e.o).kind != Kind::ListIndex) return m.setChecked(e.o, e.wert != 0);
    m.setIndex(e.o, e.wert);
    m.run(e.o, Ev::Change);
  }
  // Every row's expectation in state i.
  void zustand(const std::vector<Regelzeile>& tabelle, size_t i) const {
    for (const Regelzeile& z : tabelle) {
      const char soll = i < z.jeZustand.size() ? z.jeZustand[i] : '.';
      if (soll == '.') continue;
      for (Opt o : z.controls) {
        const bool ist = z.merkmal == Merkmal::Aktiv      ? en(o)
                         : z.merkmal == Merkmal::Sichtbar ? sichtbar(o)
                                                          : m.checked(o);
        EXPECT_EQ(ist, soll == '1') << info(o).name << " in Zustand " << i;
      }
    }
  }
  // Enters the states one after another and checks the rows after each.
  void verlauf(const std::vector<std::vector<Eingabe>>& zustaende, const std::vector<Regelzeile>& tabelle,
               const std::vector<Textzeile>& texte = {}) {
    for (size_t i = 0; i < zustaende.size(); ++i) {
      for (const Eingabe& e : zustaende[i]) eingeben(e);
      zustand(tabelle, i);
      for (const Textzeile& t : texte) {
        if (t.zustand != i) continue;
        EXPECT_EQ(m.text(t.o), t.text) << info(t.o).name << " in Zustand " << i;
      }
    }
  }
};

}  // namespace mosaik::test
