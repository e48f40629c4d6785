#pragma once
// Common ground of the generator tests: the built-in defaults, a private
// temporary folder, pinned clock, locale and login name, scripted dialogs,
// a run view that records what the progress dialog would show, and small
// JPEG files of a fixed size.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "TestUmgebung.h"
#include "app/Grundeinstellungen.h"
#include "app/options/Kontext.h"
#include "generator/Lauf.h"
#include "imaging/JpegCodec.h"
#include "platform/FileSystem.h"

namespace mosaik::test {

struct ProtokollAnsicht : RunView {
  std::vector<std::string> dateien;
  int begonnen = 0, beendet = 0, navUeb = 0, navGross = 0;
  bool navGelingt = true;
  std::function<void(const std::string&)> beiDatei;  // e.g. to fail in the middle of a walk
  void laufBeginnt() override { ++begonnen; }
  void laufEndet() override { ++beendet; }
  void aktuelleDatei(const std::string& name) override {
    dateien.push_back(name);
    if (beiDatei) beiDatei(name);
  }
  bool StandardbilderUebErzeugen() override {
    ++navUeb;
    return navGelingt;
  }
  bool StandardbilderGrossErzeugen() override {
    ++navGross;
    return navGelingt;
  }
};

// Every regular file below a folder (links not followed) with its bytes.
inline std::map<std::string, std::string> inhalte(const std::string& wurzel) {
  std::map<std::string, std::string> m;
  namespace sfs = std::filesystem;
  for (auto it = sfs::recursive_directory_iterator(wurzel); it != sfs::recursive_directory_iterator(); ++it) {
    if (it->is_symlink() || !it->is_regular_file()) continue;
    m[sfs::relative(it->path(), wurzel).string()] = *fs::readFile(it->path().string());
  }
  return m;
}

struct KeineEreignisse : OptionEvents {
  void optionEvent(Opt, Ev) override {}
  void procedure(Proc) override {}
};

// Defaults set, no cancel pending; the working folder is put back.
struct Grundstellung : ::testing::Test {
  TestUmgebung u;
  TempOrdner tmp;
  OptionModel m;
  AppState st;
  Kontext k{m, st, u.sv};
  KeineEreignisse keine;
  std::string altesArbeitsverzeichnis = fs::currentFolder();

  void SetUp() override {
    m.setEvents(&keine);
    BGrundEinstellungenClick(k, false);
    u.dialoge.meldungen.clear();
    AbbruchFlag = 0;
  }
  void TearDown() override {
    AbbruchFlag = 0;
    fs::setCurrentFolder(altesArbeitsverzeichnis);
  }
};

struct MitOptionen : Grundstellung {
  ProtokollAnsicht ansicht;
  Lauf lauf{k, ansicht};
};

}  // namespace mosaik::test

namespace mosaik::seitentest {

using test::KeineEreignisse;
using StilleAnsicht = test::ProtokollAnsicht;

// A real JPEG picture of w x h pixels, padded with a comment segment to
// exactly groesse bytes, so that sizes on the pages do not depend on the
// encoder.
inline std::string testJpeg(int w, int h, size_t groesse) {
  imaging::RgbBitmap bmp(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = bmp.Row(y) + 3 * x;
      p[0] = static_cast<uint8_t>(x * 255 / w);
      p[1] = static_cast<uint8_t>(y * 255 / h);
      p[2] = 128;
    }
  const std::string jpeg = imaging::EncodeJpeg(bmp, 75, false);
  if (groesse < jpeg.size() + 4 || groesse > jpeg.size() + 65537) {
    ADD_FAILURE() << "a JPEG of " << w << "x" << h << " takes " << jpeg.size() << " bytes";
    return jpeg;
  }
  const size_t fuell = groesse - jpeg.size();  // the comment marker, its length and the filling
  std::string segment = "\xFF\xFE";
  segment += static_cast<char>((fuell - 2) >> 8);
  segment += static_cast<char>((fuell - 2) & 0xFF);
  segment += std::string(fuell - 4, 'x');
  return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}

inline void schreiben(const std::string& pfad, const std::string& inhalt) {
  std::filesystem::create_directories(std::filesystem::path(pfad).parent_path());
  std::ofstream(pfad, std::ios::binary) << inhalt;
}

inline std::string lesen(const std::string& pfad) { return test::dateiInhalt(pfad); }

// A page fragment written by hand, from tests/data/seiten/teile.
inline std::string teil(const std::string& name) {
  const std::string text = lesen(std::string(MOSAIK_TEST_DATA) + "/seiten/teile/" + name);
  EXPECT_FALSE(text.empty()) << name;
  return text;
}

// A picture folder in the temporary folder, with the hint on as the window
// layout has it (the reset leaves it as it is).
struct SeitenBasis : test::Grundstellung {
  void SetUp() override {
    test::Grundstellung::SetUp();
    st.BilderOrdnerPfad = bilder();
    std::filesystem::create_directories(bilder());
    m.setChecked(Opt::CBDateinameAlsHint, true);
  }
  std::string bilder() const { return tmp.pfad() + "bilder/"; }
  std::string html() const { return tmp.pfad() + "bilder/html/"; }
  // What the doctype switch does to the flags.
  void doctype(int index) {
    m.setIndex(Opt::CoBDoctype, index);
    st.DoctypeStrict = index == 0 || index == 2;
    st.DoctypeXHTML = index == 2 || index == 3;
  }
};

// With a run: the output folders' names skipped as a run skips them.
struct LaufBasis : SeitenBasis {
  StilleAnsicht ansicht;
  Lauf lauf{k, ansicht};
  void SetUp() override {
    SeitenBasis::SetUp();
    lauf.HTMLOrdnername = "html";
    lauf.VorschauOrdnername = "_vorschau";
  }
};

}  // namespace mosaik::seitentest
