#pragma once
// Options at their defaults, scripted dialogs and a run view that records
// what the progress dialog would show.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "TestUmgebung.h"
#include "app/Grundeinstellungen.h"
#include "app/options/Kontext.h"
#include "generator/Lauf.h"

namespace mosaik::test {

struct ProtokollAnsicht : RunView {
  std::vector<std::string> dateien;
  int begonnen = 0, beendet = 0;
  std::function<void(const std::string&)> beiDatei;  // e.g. to fail in the middle of a walk
  void laufBeginnt() override { ++begonnen; }
  void laufEndet() override { ++beendet; }
  void aktuelleDatei(const std::string& name) override {
    dateien.push_back(name);
    if (beiDatei) beiDatei(name);
  }
  bool StandardbilderUebErzeugen() override { return true; }
  bool StandardbilderGrossErzeugen() override { return true; }
};

struct KeineEreignisse : OptionEvents {
  void optionEvent(Opt, Ev) override {}
  void procedure(Proc) override {}
};

struct MitOptionen : ::testing::Test {
  TestUmgebung u;
  OptionModel m;
  AppState st;
  Kontext k{m, st, u.sv};
  KeineEreignisse keine;
  ProtokollAnsicht ansicht;
  Lauf lauf{k, ansicht};

  void SetUp() override {
    m.setEvents(&keine);
    BGrundEinstellungenClick(k, false);
    u.dialoge.meldungen.clear();
    AbbruchFlag = 0;
  }
  void TearDown() override { AbbruchFlag = 0; }
};

}  // namespace mosaik::test
