// The standard navigation graphics: hand-drawn golden masks of every icon,
// the files written, their transparency, the background-colour rule and the
// failure paths.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <tuple>

#include "DurchlaufTestbasis.h"
#include "generator/Navigationsgrafiken.h"
#include "imaging/test_png_reader.h"

using namespace mosaik;
namespace stdfs = std::filesystem;

namespace {

using Maske = std::vector<std::string>;

// '#' is a pixel of the icon colour, '.' the background. Worked out on
// squared paper from the drawing tables.
const Maske kZurueck = {
    "................", ".............##.", "...........####.", ".........######.",
    ".......########.", ".....##########.", "...############.", ".##############.",
    ".##############.", "...############.", ".....##########.", ".......########.",
    ".........######.", "...........####.", ".............##.", "................",
};
const Maske kWeiter = {
    "................", ".##.............", ".####...........", ".######.........",
    ".########.......", ".##########.....", ".############...", ".##############.",
    ".##############.", ".############...", ".##########.....", ".########.......",
    ".######.........", ".####...........", ".##.............", "................",
};
const Maske kUebersicht = {
    "################", "################", "................", "................",
    ".####.####.####.", ".####.####.####.", ".####.####.####.", "................",
    ".####.####.####.", ".####.####.####.", ".####.####.####.", "................",
    ".####.####.####.", ".####.####.####.", ".####.####.####.", "................",
};
const Maske kDiashow = {
    "################", "################", "################", ".##..........##.",
    ".##..........##.", ".##..........##.", ".##..........##.", ".##..........##.",
    ".##..........##.", ".##############.", ".##############.", ".....######.....",
    ".......##.......", ".....######.....", "....##.#..##....", "...##...#..##...",
};
const Maske kDiashowStopp = {
    "############..##", "###..######.#.##", "##..#.####.###.#", ".#.##.....###.#.",
    ".#.###...###.##.", ".##.###.###..##.", ".##..#####...##.", ".##...####...##.",
    ".##..#####...##.", ".###.######.###.", ".##.########.##.", "...###..#####...",
    "..####.#.####...", "..###.###.##....", "..##.#.#........", "....#...#..##...",
};

// Decodes one written icon and compares it with its mask: icon colour and
// opaque at '#', background colour and fully transparent at '.'.
void PruefeDatei(const stdfs::path& datei, const Maske& m, uint32_t farbe, uint32_t hintergrund) {
  SCOPED_TRACE(datei.filename().string());
  if (pngtest::HavePngcheck()) {
    std::string ausgabe;
    EXPECT_EQ(pngtest::Pngcheck(datei, &ausgabe), 0) << ausgabe;
  }
  const auto d = pngtest::Decode(mosaik::test::dateiInhalt(datei));
  ASSERT_EQ(d.error, "");
  EXPECT_EQ(d.Types(), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  for (const auto& c : d.chunks) EXPECT_TRUE(c.crcOk);
  EXPECT_EQ(std::pair(d.width, d.height), std::pair(16u, 16u));
  // Stored without compression: zlib header 78 01, first block stored.
  const auto& idat = d.Find("IDAT")->data;
  ASSERT_GE(idat.size(), 3u);
  EXPECT_EQ(std::tuple(idat[0], idat[1], idat[2] & 0x06), std::tuple(0x78, 0x01, 0));
  auto rgba = [](uint32_t c, unsigned a) {
    return std::vector<unsigned>{(c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF, a};
  };
  for (uint32_t y = 0; y < 16; ++y)
    for (uint32_t x = 0; x < 16; ++x) {
      const bool symbol = m[y][x] == '#';
      EXPECT_EQ(d.At(x, y), symbol ? rgba(farbe, 255) : rgba(hintergrund, 0)) << x << "," << y;
    }
}

std::vector<std::string> Dateien(const stdfs::path& ordner) {
  std::vector<std::string> n;
  for (const auto& e : stdfs::directory_iterator(ordner)) n.push_back(e.path().filename().string());
  std::sort(n.begin(), n.end());
  return n;
}

}  // namespace

TEST(Navigationsgrafiken, BackgroundColourRule) {
  const uint32_t faelle[][3] = {
      // icon, page, background
      {0x0000FF, 0xFFFFFF, 0xFFFFFF},  // the page background
      {0x0000FF, 0x336699, 0x336699},
      {0xFFFFFF, 0xFFFFFF, 0x000000},  // white on white: black
      {0x336699, 0x336699, 0xFFFFFF},  // any other: white
      {0x000000, 0x000000, 0xFFFFFF},
      {0xFFFFFE, 0xFFFFFE, 0xFFFFFF},
  };
  for (const auto& f : faelle) EXPECT_EQ(Symbolhintergrund(f[0], f[1]), f[2]) << std::hex << f[0] << " " << f[1];

  test::TempOrdner tmp;
  test::FakeDialoge dlg;
  // White icons on a white page stay visible: black background, transparent.
  ASSERT_TRUE(StandardbilderUebErzeugen(tmp.pfad(), 0xFFFFFF, 0xFFFFFF, dlg));
  PruefeDatei(tmp.pfad() + "navuebzurueck.png", kZurueck, 0xFFFFFF, 0x000000);
  PruefeDatei(tmp.pfad() + "navuebweiter.png", kWeiter, 0xFFFFFF, 0x000000);
  // Black icons on a black page: white background.
  ASSERT_TRUE(StandardbilderUebErzeugen(tmp.pfad(), 0x000000, 0x000000, dlg));
  PruefeDatei(tmp.pfad() + "navuebweiter.png", kWeiter, 0x000000, 0xFFFFFF);
  // Differing colours: the page background becomes transparent.
  ASSERT_TRUE(StandardbilderUebErzeugen(tmp.pfad(), 0xFFFFFF, 0x000000, dlg));
  PruefeDatei(tmp.pfad() + "navuebzurueck.png", kZurueck, 0xFFFFFF, 0x000000);
  EXPECT_TRUE(dlg.meldungen.empty());
}

TEST(Navigationsgrafiken, WritesOnlyTheFilesAsked) {
  test::TempOrdner tmp;
  test::FakeDialoge dlg;
  const stdfs::path html = tmp.pfad() + "Galerie/html";  // created with its parent
  ASSERT_TRUE(StandardbilderUebErzeugen(html.string(), 0xFF0000, 0xFFFFFF, dlg));
  EXPECT_EQ(Dateien(html), (std::vector<std::string>{"navuebweiter.png", "navuebzurueck.png"}));

  // Slideshow not switchable: three icons, old slideshow files untouched.
  mosaik::test::dateiAblegen(html / "diashow.png", "alt");
  ASSERT_TRUE(StandardbilderGrossErzeugen(html.string() + "/", 0x00AA00, 0xFFFFFF, false, dlg));
  EXPECT_EQ(Dateien(html), (std::vector<std::string>{"diashow.png", "navgrossuebersicht.png", "navgrossweiter.png",
                                                     "navgrosszurueck.png", "navuebweiter.png", "navuebzurueck.png"}));
  EXPECT_EQ(mosaik::test::dateiInhalt(html / "diashow.png"), "alt");
  PruefeDatei(html / "navgrosszurueck.png", kZurueck, 0x00AA00, 0xFFFFFF);
  PruefeDatei(html / "navgrossuebersicht.png", kUebersicht, 0x00AA00, 0xFFFFFF);
  PruefeDatei(html / "navgrossweiter.png", kWeiter, 0x00AA00, 0xFFFFFF);

  // Switchable: all five, the old file replaced. Colours of any kind, the
  // background darker than the icon.
  ASSERT_TRUE(StandardbilderGrossErzeugen(html.string(), 0xFEDCBA, 0x010203, true, dlg));
  EXPECT_EQ(Dateien(html).size(), 7u);
  PruefeDatei(html / "diashow.png", kDiashow, 0xFEDCBA, 0x010203);
  PruefeDatei(html / "diashowstopp.png", kDiashowStopp, 0xFEDCBA, 0x010203);
  EXPECT_TRUE(dlg.meldungen.empty());
}

TEST(Navigationsgrafiken, FailuresAreReportedAndWriteNothing) {
  test::TempOrdner tmp;
  test::FakeDialoge dlg;
  // A file where a parent folder would have to be.
  mosaik::test::dateiAblegen(tmp.pfad() + "datei", "x");
  const std::string ordner = tmp.pfad() + "datei/html/";
  EXPECT_FALSE(StandardbilderUebErzeugen(ordner, 0xFF0000, 0xFFFFFF, dlg));
  EXPECT_FALSE(StandardbilderGrossErzeugen(ordner, 0xFF0000, 0xFFFFFF, true, dlg));
  ASSERT_EQ(dlg.meldungen.size(), 2u);
  for (const auto& m : dlg.meldungen) {
    EXPECT_EQ(m.kind, MsgKind::Error);
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
    EXPECT_EQ(m.text, "Der Ordner " + ordner + "\r\nkann nicht angelegt werden!");
  }
  EXPECT_EQ(Dateien(tmp.pfad()), std::vector<std::string>{"datei"});

  // A file that cannot be written: a folder stands in its place.
  dlg.meldungen.clear();
  stdfs::create_directory(tmp.pfad() + "navuebweiter.png");
  EXPECT_FALSE(StandardbilderUebErzeugen(tmp.pfad(), 0xFF0000, 0xFFFFFF, dlg));
  ASSERT_EQ(dlg.meldungen.size(), 1u);
  EXPECT_EQ(dlg.meldungen[0].text, "Die Navigationsgrafik " + tmp.pfad() +
                                       "navuebweiter.png\r\nkann nicht gespeichert werden!\r\nDie Datei " +
                                       tmp.pfad() + "navuebweiter.png kann nicht geschrieben werden (dort steht "
                                       "keine gewöhnliche Datei).\r\nProgrammabbruch!");
  EXPECT_TRUE(stdfs::is_directory(tmp.pfad() + "navuebweiter.png"));
  EXPECT_EQ(Dateien(tmp.pfad()), (std::vector<std::string>{"datei", "navuebweiter.png", "navuebzurueck.png"}));
}

using NavigationsgrafikenOptionen = test::MitOptionen;

TEST_F(NavigationsgrafikenOptionen, OptionsChooseFolderColoursAndSlideshow) {
  test::TempOrdner tmp;
  int pumped = 0;
  u.sv.pump = [&] { ++pumped; };
  st.BilderOrdnerPfad = tmp.pfad().substr(0, tmp.pfad().size() - 1);  // no trailing '/'
  m.setColor(Opt::PanelUebQuadratFarbe, 0x112233);
  m.setColor(Opt::GrossPanelquadratFarbe, 0x445566);
  m.setColor(Opt::PanelHintergrundFarbe, 0x445566);  // same as the picture-page icons
  m.setChecked(Opt::CBDiashow, true);
  m.setChecked(Opt::CBDiashowAbschaltbar, false);

  // Empty HTMLOrdnerPfad: the standard folder "html" in the picture folder.
  ASSERT_TRUE(StandardbilderUebErzeugen(k));
  ASSERT_TRUE(StandardbilderGrossErzeugen(k));
  EXPECT_EQ(pumped, 2);
  const stdfs::path html = tmp.pfad() + "html";
  EXPECT_EQ(Dateien(html).size(), 5u);
  PruefeDatei(html / "navuebzurueck.png", kZurueck, 0x112233, 0x445566);
  PruefeDatei(html / "navgrossweiter.png", kWeiter, 0x445566, 0xFFFFFF);

  m.setChecked(Opt::CBDiashowAbschaltbar, true);
  st.HTMLOrdnerPfad = tmp.pfad() + "eigen";
  ASSERT_TRUE(StandardbilderGrossErzeugen(k));
  EXPECT_EQ(Dateien(tmp.pfad() + "eigen").size(), 5u);
  PruefeDatei(tmp.pfad() + "eigen/diashowstopp.png", kDiashowStopp, 0x445566, 0xFFFFFF);
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}
