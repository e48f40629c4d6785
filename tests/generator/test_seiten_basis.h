#pragma once
// Common ground of the page tests: the built-in defaults, a picture folder
// in a private temporary folder, pinned clock, locale and login name, and
// small JPEG files of a fixed size.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "DurchlaufTestbasis.h"
#include "TestUmgebung.h"
#include "app/Grundeinstellungen.h"
#include "app/options/Kontext.h"
#include "generator/Lauf.h"
#include "imaging/JpegCodec.h"
#include "platform/FileSystem.h"

namespace mosaik::seitentest {

using test::KeineEreignisse;

// The windows of a run: nothing to show in a test.
struct StilleAnsicht : RunView {
  void laufBeginnt() override {}
  void laufEndet() override {}
  void aktuelleDatei(const std::string&) override {}
  bool StandardbilderUebErzeugen() override { return true; }
  bool StandardbilderGrossErzeugen() override { return true; }
};

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

inline std::string lesen(const std::string& pfad) {
  std::ifstream f(pfad, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

// A page fragment written by hand, from tests/data/seiten/teile.
inline std::string teil(const std::string& name) {
  const std::string text = lesen(std::string(MOSAIK_TEST_DATA) + "/seiten/teile/" + name);
  EXPECT_FALSE(text.empty()) << name;
  return text;
}

struct SeitenBasis : ::testing::Test {
  test::TestUmgebung u;
  test::TempOrdner tmp;
  OptionModel m;
  AppState st;
  Kontext k{m, st, u.sv};
  KeineEreignisse keine;

  void SetUp() override {
    m.setEvents(&keine);
    BGrundEinstellungenClick(k, false);
    st.BilderOrdnerPfad = bilder();
    std::filesystem::create_directories(bilder());
    // The window layout has the hint on; the reset leaves it as it is.
    m.setChecked(Opt::CBDateinameAlsHint, true);
    u.dialoge.meldungen.clear();
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

// With a run: the walks' and page writers' state, no cancel pending, the
// output folders' names skipped as a run skips them.
struct LaufBasis : SeitenBasis {
  StilleAnsicht ansicht;
  Lauf lauf{k, ansicht};
  void SetUp() override {
    SeitenBasis::SetUp();
    AbbruchFlag = 0;
    lauf.HTMLOrdnername = "html";
    lauf.VorschauOrdnername = "_vorschau";
  }
  void TearDown() override { AbbruchFlag = 0; }
};

}  // namespace mosaik::seitentest
