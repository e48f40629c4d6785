// Derived pictures: large images and thumbnails as files, with the
// original's metadata, the keep and replace rules, companions and failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <tuple>

#include "DurchlaufTestbasis.h"
#include "generator/test_seiten_basis.h"
#include "generator/Bildpipeline.h"
#include "generator/Vorschaubild.h"
#include "imaging/ExifOrientation.h"
#include "imaging/ExifTestData.h"
#include "imaging/ImgData.h"
#include "imaging/JpegCodec.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

namespace sfs = std::filesystem;
using imaging::testdata::Segment;
using imaging::testdata::TiffBuilder;

struct Farbe {
  uint8_t r, g, b;
};

imaging::RgbBitmap Flaeche(int w, int h, Farbe f) {
  imaging::RgbBitmap b(w, h);
  for (size_t i = 0; i < b.Pixels.size(); i += 3) b.Pixels[i] = f.r, b.Pixels[i + 1] = f.g, b.Pixels[i + 2] = f.b;
  return b;
}

imaging::RgbBitmap Muster(int w, int h) {
  imaging::RgbBitmap b(w, h);
  uint32_t s = 7;
  for (auto& p : b.Pixels) p = static_cast<uint8_t>((s = s * 1664525u + 1013904223u) >> 24);
  return b;
}

const std::string kIptc = std::string("Photoshop 3.0\0", 14) + "8BIM" + std::string("\x04\x04\0\0\0\0\0\x0C", 8) +
                          std::string("\x1C\x02\x78\x00\x07", 5) + "Caption" + std::string(1, '\0');

// A wide-gamut RGB profile in two chunks (only its header is read).
const std::string kProfil =
    Segment(0xE2, std::string("ICC_PROFILE\0\1\2", 14) + std::string(16, '\0') + "RGB XYZ " + std::string(60, 'p')) +
    Segment(0xE2, std::string("ICC_PROFILE\0\2\2", 14) + std::string(30, 'q'));
const std::string kEingebettet = "\xFF\xD8 eingebettetes Vorschaubild \xFF\xD9";

// An original as a camera writes it: a colour profile, EXIF (the
// Orientation, the stored size, a thumbnail), IPTC and a comment in front
// of the picture.
std::string Original(const imaging::RgbBitmap& bild, uint16_t orientierung = 1) {
  const std::string strom = imaging::EncodeJpeg(bild, 95, false);
  TiffBuilder t(false);
  t.Thumbnail(kEingebettet);
  t.Ascii(0, 0x010F, "Testkamera");
  t.Short(0, 0x0112, orientierung);
  const int exif = t.AddDir();
  t.Link(0, 0x8769, exif);
  t.Long(exif, 0xA002, static_cast<uint32_t>(bild.Width));
  t.Long(exif, 0xA003, static_cast<uint32_t>(bild.Height));
  // The encoder's stream: FF D8, its JFIF APP0 (18 bytes), the rest.
  return strom.substr(0, 2) + kProfil + t.App1() + Segment(0xED, kIptc) + Segment(0xFE, "Sommer am Meer") +
         strom.substr(20);
}

const auto Schreiben = seitentest::schreiben;

std::set<std::string> Dateien(const std::string& ordner) {
  std::set<std::string> s;
  for (const auto& e : sfs::directory_iterator(ordner)) s.insert(e.path().filename().string());
  return s;
}

struct Bildpipeline : test::MitOptionen {
  test::TempOrdner tmp;
  std::string q, z;
  std::string g;  // the name the last large image got

  void SetUp() override {
    test::MitOptionen::SetUp();
    q = tmp.pfad() + "quelle/";
    z = tmp.pfad() + "ziel/";
    sfs::create_directories(q);
    sfs::create_directories(z);
    m.setChecked(Opt::CBOriginaleVerkleinern, true);
  }

  bool Gross(const std::string& datei, int groesse, const std::string& zielname = "") {
    return GrossesBildErzeugen(lauf, q, z, datei, zielname.empty() ? datei : zielname, groesse, false, g);
  }
  imaging::JpegInfo Info(const std::string& name) { return imaging::ReadJpegInfo(*fs::readFile(z + name)); }

  imaging::RgbBitmap Lesen(const std::string& pfad) { return imaging::DecodeJpeg(*fs::readFile(pfad)); }
};

::testing::AssertionResult FarbeNahe(const imaging::RgbBitmap& b, int x, int y, Farbe f, int toleranz) {
  const uint8_t* p = b.Row(y) + x * 3;
  if (std::abs(p[0] - f.r) <= toleranz && std::abs(p[1] - f.g) <= toleranz && std::abs(p[2] - f.b) <= toleranz)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << int(p[0]) << "," << int(p[1]) << ","
                                       << int(p[2]);
}

TEST_F(Bildpipeline, LargeImageKeepsTheOriginalsMetadata) {
  const std::string original = Original(Muster(64, 48), 6);
  Schreiben(q + "Bild.jpg", original);
  ASSERT_TRUE(Gross("Bild.jpg", 40, "bild.jpg")) << u.dialoge.texte().size();
  EXPECT_TRUE(u.dialoge.meldungen.empty());
  EXPECT_EQ(g, "bild.jpg");
  EXPECT_EQ(ansicht.dateien.front(), q + "Bild.jpg");
  const std::string bytes = *fs::readFile(z + "bild.jpg");

  // Shown turned a quarter, 48 x 64: by the longer side 30 x 40. The
  // large-image slider (15) gives quality 86, whose luminance table starts
  // (16 x 28 + 50) / 100 = 4; progressive.
  const imaging::JpegInfo info = imaging::ReadJpegInfo(bytes);
  EXPECT_EQ(std::pair(info.Width, info.Height), std::pair(30, 40));
  EXPECT_TRUE(info.Progressive);
  EXPECT_EQ(info.LumaQuant[0], 4);

  imaging::TimgData md(255);
  ASSERT_TRUE(md.ReadJpegSections(bytes));
  ASSERT_TRUE(md.HasExif());
  EXPECT_EQ(md.ExifInfo->LookupTagValue("Make"), "Testkamera");
  EXPECT_EQ(std::pair(md.ExifInfo->Width, md.ExifInfo->Height), std::pair(30, 40));
  // The pixels stand upright; no browser may turn them again.
  EXPECT_EQ(imaging::ExifOrientation(md.Sections[static_cast<size_t>(md.ExifSegment - 1)].Data), 1);
  ASSERT_GT(md.IptcSegment, 0);
  EXPECT_EQ(md.Sections[static_cast<size_t>(md.IptcSegment - 1)].Data.substr(2), kIptc);
  EXPECT_EQ(md.GetCommentText(), "Sommer am Meer");
  // The section order of the file: EXIF, IPTC, comment, the colour profile
  // byte for byte, then the picture.
  EXPECT_EQ(bytes.substr(0, 4), "\xFF\xD8\xFF\xE1");
  EXPECT_NE(bytes.find(Segment(0xFE, "Sommer am Meer") + kProfil + "\xFF\xDB"), std::string::npos);
  // The turned picture keeps no thumbnail in the old orientation.
  EXPECT_EQ(bytes.find(kEingebettet), std::string::npos);
  EXPECT_EQ(md.ExifInfo->ThumbnailStart, 0);
  // The thumbnail file carries the same profile.
  ASSERT_TRUE(VorschaubildErzeugen(lauf, q, z, "Bild.jpg", false, 20));
  EXPECT_NE(fs::readFile(z + "mini-Bild.jpg")->find(Segment(0xFE, "Sommer am Meer") + kProfil + "\xFF\xDB"),
            std::string::npos);

  EXPECT_EQ(*fs::readFile(q + "Bild.jpg"), original);
  EXPECT_EQ(Dateien(z), (std::set<std::string>{"bild.jpg", "mini-Bild.jpg"}));
}

TEST_F(Bildpipeline, QualityAndProgressiveFromTheirOptions) {
  EXPECT_EQ(QualitaetAusRegler(25), 76);
  EXPECT_EQ(QualitaetAusRegler(1), 100);
  EXPECT_EQ(QualitaetAusRegler(100), 1);
  Schreiben(q + "a.jpg", Original(Muster(30, 20)));
  // Thumbnails: slider 25 (quality 76: (16 x 48 + 50) / 100 = 8),
  // progressive by default.
  ASSERT_TRUE(VorschaubildErzeugen(lauf, q, z, "a.jpg", false, 20));
  imaging::JpegInfo info = Info("mini-a.jpg");
  EXPECT_EQ(info.LumaQuant[0], 8);
  EXPECT_TRUE(info.Progressive);
  m.setChecked(Opt::CBVorschaubilderProgressiv, false);
  m.setChecked(Opt::CBVorschaubilderErsetzen, true);
  m.setPosition(Opt::TrBKomprimierung, 90);  // quality 11: 5000 / 11 = 454, (16 x 454 + 50) / 100 = 73
  ASSERT_TRUE(VorschaubildErzeugen(lauf, q, z, "a.jpg", false, 20));
  info = Info("mini-a.jpg");
  EXPECT_EQ(info.LumaQuant[0], 73);
  EXPECT_FALSE(info.Progressive);

  m.setChecked(Opt::CBGrosseBilderProgressiv, false);
  m.setPosition(Opt::TrBKomprimierungGrosseBilder, 1);  // quality 100: every entry 1
  ASSERT_TRUE(Gross("a.jpg", 600));
  info = Info("a.jpg");
  EXPECT_NE(fs::readFile(z + "a.jpg")->find(kEingebettet), std::string::npos);  // not turned: its thumbnail stays
  EXPECT_EQ(info.LumaQuant[0], 1);
  EXPECT_FALSE(info.Progressive);
  EXPECT_EQ(info.Width, 30);  // never enlarged
  // Shown on its page enlarged when that box says so: by the longer side 600.
  m.setChecked(Opt::RBdummy1, true);
  m.setChecked(Opt::CBGrosseBilderVergroessern, true);
  EXPECT_EQ(GrossbildGroesseAttribute(k, q + "a.jpg"), "width=\"600\" height=\"400\"");
}

TEST_F(Bildpipeline, SquareThumbnailOnItsCanvas) {
  const Farbe gruen{0, 200, 0}, rot{255, 0, 0};
  Schreiben(q + "quer.jpg", Original(Flaeche(64, 48, gruen)));
  Schreiben(q + "klein.jpg", Original(Flaeche(8, 6, gruen)));
  m.setChecked(Opt::RBVorschauQuadratisch, true);
  m.setColor(Opt::PanelquadratFarbe, 0xFF0000);
  m.setPosition(Opt::TrBKomprimierung, 1);
  m.setChecked(Opt::CBVorschaubilderErsetzen, true);
  for (bool resample : {true, false}) {
    m.setChecked(resample ? Opt::RBVerklMethKleinResample : Opt::RBVerklMethKleinEinfach, true);
    // 64 x 48 in 20 x 20: the picture 20 x 15 at (0, 2), canvas above and
    // below. (Colour is stored for 2 x 2 pixels and spread when decoded:
    // only rows two away from the edge are pure.)
    ASSERT_TRUE(VorschaubildErzeugen(lauf, q, z, "quer.jpg", false, 20));
    imaging::RgbBitmap b = Lesen(z + "mini-quer.jpg");
    ASSERT_EQ(std::pair(b.Width, b.Height), std::pair(20, 20));
    for (int x : {0, 10, 19})
      for (auto [y, f] : {std::pair{0, rot}, {5, gruen}, {14, gruen}, {19, rot}})
        EXPECT_TRUE(FarbeNahe(b, x, y, f, 12)) << resample;
    imaging::TimgData md(255);
    ASSERT_TRUE(md.ReadJpegSections(*fs::readFile(z + "mini-quer.jpg")));
    EXPECT_EQ(std::pair(md.ExifInfo->Width, md.ExifInfo->Height), std::pair(20, 20));
    EXPECT_EQ(VorschauGroesseAttribute(k, z + "mini-quer.jpg"), "width=\"20\" height=\"20\"");

    // 8 x 6 is not enlarged: the picture stays 8 x 6 at (6, 7).
    ASSERT_TRUE(VorschaubildErzeugen(lauf, q, z, "klein.jpg", false, 20));
    b = Lesen(z + "mini-klein.jpg");
    ASSERT_EQ(std::pair(b.Width, b.Height), std::pair(20, 20));
    for (auto [x, y] : {std::pair{0, 0}, {19, 19}, {2, 10}, {10, 4}, {10, 16}}) EXPECT_TRUE(FarbeNahe(b, x, y, rot, 12));
    for (int xy : {9, 10}) EXPECT_TRUE(FarbeNahe(b, xy, xy, gruen, 12));
  }
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(Bildpipeline, ThinPicturesAndPanoramas) {
  Schreiben(q + "strich.jpg", Original(Muster(200, 2)));
  m.setChecked(Opt::RBBreite, true);
  ASSERT_TRUE(VorschaubildErzeugen(lauf, q, z, "strich.jpg", false, 20));
  imaging::JpegInfo info = Info("mini-strich.jpg");
  EXPECT_EQ(std::pair(info.Width, info.Height), std::pair(20, 1));  // 20 x 2 / 200 = 0.2, raised to 1
  // By height 656 with enlarging it would be 65600 wide: a side beyond
  // 65500 is refused before anything is allocated, as is a square canvas
  // of 99999; that picture's failure, with its message.
  m.setChecked(Opt::RBHoehe, true);
  m.setChecked(Opt::CBVorschaubilderErsetzen, true);
  EXPECT_FALSE(VorschaubildErzeugen(lauf, q, z, "strich.jpg", true, 656));
  m.setChecked(Opt::RBVorschauQuadratisch, true);
  EXPECT_FALSE(VorschaubildErzeugen(lauf, q, z, "strich.jpg", false, 99999));
  ASSERT_EQ(u.dialoge.meldungen.size(), 2u);
  EXPECT_EQ(u.dialoge.meldungen[0].text,
            "Das Vorschaubild von " + q + "strich.jpg kann nicht erzeugt werden:\r\nDas Bild würde mit 65600 × 656 "
            "Pixeln größer, als eine JPEG-Datei fassen kann (höchstens 65500 Pixel je Seite).");
  EXPECT_NE(u.dialoge.meldungen[1].text.find("99999 × 99999 Pixeln"), std::string::npos);
  EXPECT_EQ(Dateien(z), (std::set<std::string>{"mini-strich.jpg"}));
  m.setChecked(Opt::RBHoeheGrosseBilder, true);
  EXPECT_THROW(GrossesBildErzeugen(lauf, q, z, "strich.jpg", "strich.jpg", 656, true, g), std::length_error);
  // The height alone at the limit: 1 x 6550 by width 10 is 10 x 65500, as
  // much as a JPEG file holds; one row more in the original is refused.
  Schreiben(q + "hoch.jpg", Original(Muster(1, 6550)));
  Schreiben(q + "hoeher.jpg", Original(Muster(1, 6551)));
  m.setChecked(Opt::RBBreite, true);
  u.dialoge.meldungen.clear();
  ASSERT_TRUE(VorschaubildErzeugen(lauf, q, z, "hoch.jpg", true, 10));
  info = Info("mini-hoch.jpg");
  EXPECT_EQ(std::pair(info.Width, info.Height), std::pair(10, 65500));
  EXPECT_FALSE(VorschaubildErzeugen(lauf, q, z, "hoeher.jpg", true, 10));
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].text,
            "Das Vorschaubild von " + q + "hoeher.jpg kann nicht erzeugt werden:\r\nDas Bild würde mit 10 × 65510 "
            "Pixeln größer, als eine JPEG-Datei fassen kann (höchstens 65500 Pixel je Seite).");
  EXPECT_FALSE(fs::fileExists(z + "mini-hoeher.jpg"));
  m.setChecked(Opt::RBBreiteGrosseBilder, true);
  EXPECT_THROW(GrossesBildErzeugen(lauf, q, z, "hoeher.jpg", "hoeher.jpg", 10, true, g), std::length_error);
  ASSERT_TRUE(GrossesBildErzeugen(lauf, q, z, "hoch.jpg", "hoch.jpg", 10, true, g));
  info = Info(g);
  EXPECT_EQ(std::pair(info.Width, info.Height), std::pair(10, 65500));

  // A panorama by its own height: 2001 x 1000 at 100 gives 200 x 100 (200.1
  // truncated). The thumbnail's own ratio is exactly 2, no panorama any
  // more; its attributes still give its own size.
  m.setChecked(Opt::CBPanoramaExtrabehandlung, true);
  m.setChecked(Opt::RBPanoramaHoehe, true);
  m.setSpin(Opt::SpEdPanoramaVorschau, 100);
  Schreiben(q + "pano.jpg", imaging::EncodeJpeg(Muster(2001, 1000), 80, false));
  ASSERT_TRUE(VorschaubildErzeugen(lauf, q, z, "pano.jpg", false, 20));
  EXPECT_EQ(VorschauGroesseAttribute(k, z + "mini-pano.jpg"), "width=\"200\" height=\"100\"");
}

TEST_F(Bildpipeline, KeptFilesAreNeitherReadNorRewritten) {
  // With replacing off an existing thumbnail is kept; the original is not
  // even read (here it does not exist).
  Schreiben(z + "mini-weg.jpg", "alt");
  EXPECT_TRUE(VorschaubildErzeugen(lauf, q, z, "weg.jpg", false, 20));
  EXPECT_EQ(*fs::readFile(z + "mini-weg.jpg"), "alt");
  EXPECT_TRUE(u.dialoge.meldungen.empty());

  // A kept thumbnail that differs in case takes the name the page links,
  // also without lower-case names (the large images check the renaming to
  // lower case they share).
  Schreiben(q + "foto.jpg", Original(Muster(30, 20)));
  Schreiben(z + "MINI-Foto.JPG", "alt");
  m.setChecked(Opt::CBKleineDateinamen, false);
  EXPECT_TRUE(VorschaubildErzeugen(lauf, q, z, "foto.jpg", false, 20));
  EXPECT_EQ(Dateien(z), (std::set<std::string>{"mini-weg.jpg", "mini-foto.jpg"}));
  EXPECT_EQ(*fs::readFile(z + "mini-foto.jpg"), "alt");

  // Replacing on: made anew.
  m.setChecked(Opt::CBVorschaubilderErsetzen, true);
  EXPECT_TRUE(VorschaubildErzeugen(lauf, q, z, "foto.jpg", false, 20));
  EXPECT_EQ(Info("mini-foto.jpg").Width, 20);
  // Never over the original itself, whatever the folders and the affix.
  const std::string original = *fs::readFile(q + "foto.jpg");
  m.setText(Opt::EdErweiterungVorschaubilder, "");
  EXPECT_FALSE(VorschaubildErzeugen(lauf, q, q, "foto.jpg", false, 20));
  EXPECT_EQ(*fs::readFile(q + "foto.jpg"), original);
  m.setText(Opt::EdErweiterungVorschaubilder, "mini-");

  // Thumbnails off: nothing at all.
  m.setChecked(Opt::CBVorschaubilderErzeugen, false);
  sfs::remove(z + "mini-foto.jpg");
  EXPECT_TRUE(VorschaubildErzeugen(lauf, q, z, "foto.jpg", false, 20));
  EXPECT_FALSE(fs::fileExists(z + "mini-foto.jpg"));
}

TEST_F(Bildpipeline, DerivedFileSpelledOtherwiseBelongsToOnePictureOnly) {
  // An existing derived file in another case is an earlier run's only when
  // no picture's derived name is spelled like it, and the first picture
  // spelled like it in another case takes it.
  Schreiben(z + "Foto.jpg", "1");
  Schreiben(z + "BILD.jpg", "2");
  const std::vector<std::string> fotos = {"Foto.jpg", "foto.jpg"}, bilder = {"bild.jpg", "Bild.jpg"};
  const struct {
    std::string name;
    std::vector<std::string> namen;
    std::optional<std::string> datei;
  } faelle[] = {
      {"Foto.jpg", fotos, "Foto.jpg"},        {"foto.jpg", fotos, std::nullopt},
      {"foto.jpg", {"foto.jpg"}, "Foto.jpg"}, {"bild.jpg", bilder, "BILD.jpg"}, {"Bild.jpg", bilder, std::nullopt},
  };
  for (const auto& f : faelle) EXPECT_EQ(AbgeleiteteDatei(z, f.name, f.namen), f.datei) << f.name;

  // The size of a subfolder's first thumbnail before it is made: of the
  // file spelled exactly so, never of another picture's.
  Schreiben(q + "foto.jpg", Original(Muster(30, 40)));
  Schreiben(z + "mini-Foto.jpg", Original(Muster(40, 30)));
  EXPECT_EQ(VorschauGroesseAttributeVorab(k, q + "foto.jpg", z, "mini-foto.jpg"), "width=\"30\" height=\"40\"");
  EXPECT_EQ(VorschauGroesseAttributeVorab(k, q + "foto.jpg", z, "mini-Foto.jpg"), "width=\"40\" height=\"30\"");
}

TEST_F(Bildpipeline, NameAffixesNeverLeadOutOfTheFolder) {
  // Whatever reaches the affixes (a hand-edited settings file, a program
  // setting them unchecked), a derived picture is made in its own folder or
  // not at all: neither written over nor renamed is anything beside it.
  const std::string fremd = tmp.pfad() + "andere/";
  Schreiben(q + "foto.jpg", Original(Muster(30, 20)));
  Schreiben(fremd + "Foto.jpg", "fremdes Original");
  sfs::create_directories(z + "foto");
  const struct {
    std::string affix;
    bool vorne;
    std::string name;
  } faelle[] = {
      {"../andere/", true, "../andere/foto.jpg"},
      {"/../../andere/foto", false, "foto/../../andere/foto.jpg"},
      {"/", true, "/foto.jpg"},
  };
  for (const auto& f : faelle) {
    for (const bool ersetzen : {true, false}) {
      SCOPED_TRACE(f.affix + (ersetzen ? " ersetzen" : " behalten"));
      m.setChecked(Opt::CBGrosseBilderErsetzen, ersetzen);
      m.setChecked(Opt::CBVorschaubilderErsetzen, ersetzen);
      const std::string heraus = "Der Dateiname " + f.name + " führt aus dem Ordner " + z + " heraus.";
      m.setText(Opt::EdErweiterungGrosseBilder, f.affix);
      m.setChecked(f.vorne ? Opt::RBVorneGrosseBilder : Opt::RBhintenGrosseBilder, true);
      try {
        Gross("foto.jpg", 20);
        ADD_FAILURE() << "made " << g;
      } catch (const std::runtime_error& e) {
        EXPECT_EQ(e.what(), heraus);
      }
      m.setText(Opt::EdErweiterungGrosseBilder, "");
      m.setText(Opt::EdErweiterungVorschaubilder, f.affix);
      m.setChecked(f.vorne ? Opt::RBVorne : Opt::RBhinten, true);
      u.dialoge.meldungen.clear();
      EXPECT_FALSE(VorschaubildErzeugen(lauf, q, z, "foto.jpg", false, 20));
      EXPECT_EQ(u.dialoge.texte(), std::vector<std::string>{"Das Vorschaubild von " + q +
                                                            "foto.jpg kann nicht erzeugt werden:\r\n" + heraus});
      EXPECT_EQ(Dateien(fremd), std::set<std::string>{"Foto.jpg"});
      EXPECT_EQ(*fs::readFile(fremd + "Foto.jpg"), "fremdes Original");
      EXPECT_EQ(Dateien(z), std::set<std::string>{"foto"});
    }
  }
  // Dots alone are part of a name.
  m.setText(Opt::EdErweiterungVorschaubilder, "..");
  EXPECT_TRUE(VorschaubildErzeugen(lauf, q, z, "foto.jpg", false, 20));
  EXPECT_EQ(Dateien(z), (std::set<std::string>{"foto", "..foto.jpg"}));
}

TEST_F(Bildpipeline, LargeImagesKeptRenamedAndCompanions) {
  m.setChecked(Opt::CBLinkZuTextdatei, true);
  m.setText(Opt::EdErweiterungGrosseBilder, "gross-");
  Schreiben(q + "Bild 1.jpg", Original(Muster(30, 20)));
  Schreiben(q + "Bild 1.TXT", "Beschreibung");
  ASSERT_TRUE(Gross("Bild 1.jpg", 600, "bild_1.jpg"));
  EXPECT_EQ(g, "gross-bild_1.jpg");
  EXPECT_EQ(Dateien(z), (std::set<std::string>{"gross-bild_1.jpg", "gross-bild_1.txt"}));
  EXPECT_EQ(*fs::readFile(z + "gross-bild_1.txt"), "Beschreibung");

  // Kept (replacing off), in another case: renamed to its lower-case name,
  // the name handed back, no companions copied.
  sfs::remove_all(z);
  sfs::create_directories(z);
  Schreiben(z + "GROSS-Bild_1.JPG", "alt");
  g.clear();
  ASSERT_TRUE(Gross("Bild 1.jpg", 600, "bild_1.jpg"));
  EXPECT_EQ(g, "gross-bild_1.jpg");
  EXPECT_EQ(Dateien(z), (std::set<std::string>{"gross-bild_1.jpg"}));
  EXPECT_EQ(*fs::readFile(z + "gross-bild_1.jpg"), "alt");
  // Without lower-case names the kept file's own name comes back.
  m.setChecked(Opt::CBKleineDateinamen, false);
  sfs::rename(z + "gross-bild_1.jpg", z + "GROSS-Bild_1.JPG");
  ASSERT_TRUE(Gross("Bild 1.jpg", 600, "bild_1.jpg"));
  EXPECT_EQ(g, "GROSS-Bild_1.JPG");

  // Reducing off: nothing happens, true.
  m.setChecked(Opt::CBOriginaleVerkleinern, false);
  sfs::remove(z + "GROSS-Bild_1.JPG");
  EXPECT_TRUE(Gross("Bild 1.jpg", 600, "bild_1.jpg"));
  EXPECT_TRUE(Dateien(z).empty());
}

TEST_F(Bildpipeline, UnreadableOriginalsLeaveNothingBehind) {
  m.setChecked(Opt::CBLinkZuTextdatei, true);
  m.setChecked(Opt::CBGrosseBilderErsetzen, true);
  m.setChecked(Opt::CBVorschaubilderErsetzen, true);
  const std::string gut = Original(Muster(64, 48));
  const std::string halb = gut.substr(0, gut.size() / 2);
  Schreiben(q + "halb.jpg", halb);
  Schreiben(q + "halb.txt", "Text");
  Schreiben(q + "text.jpg", "kein Bild");
  // Every row is out, yet data are left before the end marker: the decoder lost step.
  Schreiben(q + "takt.jpg", gut.substr(0, gut.size() - 2) + std::string(16, '\x5A') + "\xFF\xD9");
  // An old large image of the same name survives a failed new one.
  Schreiben(z + "halb.jpg", "alt");
  EXPECT_FALSE(Gross("halb.jpg", 20));
  const std::string unvollstaendig = "\r\nDie JPEG-Datei ist unvollständig (vorzeitiges Dateiende).";
  EXPECT_EQ(u.dialoge.texte(),
            std::vector<std::string>{"Fehler beim Einlesen der Datei\r\n" + q + "halb.jpg" + unvollstaendig});
  // The companion is copied all the same.
  EXPECT_EQ(Dateien(z), (std::set<std::string>{"halb.jpg", "halb.txt"}));
  EXPECT_EQ(*fs::readFile(z + "halb.jpg"), "alt");
  EXPECT_EQ(*fs::readFile(q + "halb.jpg"), halb);

  u.dialoge.meldungen.clear();
  EXPECT_FALSE(VorschaubildErzeugen(lauf, q, z, "text.jpg", false, 20));
  EXPECT_FALSE(VorschaubildErzeugen(lauf, q, z, "fehlt.jpg", false, 20));
  EXPECT_FALSE(VorschaubildErzeugen(lauf, q, z, "halb.jpg", false, 20));
  EXPECT_FALSE(VorschaubildErzeugen(lauf, q, z, "takt.jpg", false, 20));
  // The decoder's reason on a line of its own, where there is one.
  EXPECT_EQ(u.dialoge.texte(),
            (std::vector<std::string>{
                "Fehler beim Einlesen der Datei\r\n" + q + "text.jpg\r\nDie Daten sind kein JPEG-Bild.",
                "Fehler beim Einlesen der Datei\r\n" + q + "fehlt.jpg\r\nSie kann nicht geöffnet werden (nicht vorhanden).",
                "Fehler beim Einlesen der Datei\r\n" + q + "halb.jpg" + unvollstaendig,
                "Fehler beim Einlesen der Datei\r\n" + q +
                    "takt.jpg\r\nDie JPEG-Daten sind beschädigt (die Bilddaten geraten aus dem Takt, vor der Marke "
                    "0xD9 bleiben Bytes übrig)."}));
  EXPECT_EQ(Dateien(z), (std::set<std::string>{"halb.jpg", "halb.txt"}));

  int b = 7, h = 7;
  u.dialoge.meldungen.clear();
  BildGroesseLesen(k, q + "text.jpg", b, h);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(u.dialoge.meldungen.size(), 1u);

  // A folder that cannot be written: that thumbnail's failure, with the
  // file named.
  Schreiben(q + "gut.jpg", gut);
  u.dialoge.meldungen.clear();
  EXPECT_FALSE(VorschaubildErzeugen(lauf, q, tmp.pfad() + "fehlt/", "gut.jpg", false, 20));
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_NE(u.dialoge.meldungen[0].text.find("mini-gut.jpg"), std::string::npos) << u.dialoge.meldungen[0].text;
  EXPECT_EQ(*fs::readFile(q + "gut.jpg"), gut);
}

TEST_F(Bildpipeline, GrayAndCmykOriginalsBecomeRgb) {
  // Mean colour of the 16 x 12 patterns the files were made from: grey
  // (13x + 7y) mod 256 averages 130.7; CMYK shows red 16x (120), green 20y
  // (110) and blue 128. Reducing keeps the mean.
  const std::tuple<const char*, double, double, double> faelle[] = {
      {"gray.jpg", 130.7, 130.7, 130.7},
      {"cmyk.jpg", 120, 110, 128},
  };
  for (const auto& [name, rot, gruen, blau] : faelle) {
    sfs::copy_file(std::string(MOSAIK_TEST_DATA) + "/jpeg/" + name, q + name);
    ASSERT_TRUE(Gross(name, 10)) << name;
    const std::string bytes = *fs::readFile(z + name);
    EXPECT_EQ(imaging::ReadJpegInfo(bytes).Components, 3) << name;
    const imaging::RgbBitmap got = imaging::DecodeJpeg(bytes);
    EXPECT_EQ(got.Width, 10) << name;
    double summe[3] = {0, 0, 0};
    for (int y = 0; y < got.Height; ++y)
      for (int x = 0; x < got.Width; ++x)
        for (int c = 0; c < 3; ++c)
          summe[c] += got.Row(y)[x * 3 + c];
    const double n = got.Width * got.Height;
    EXPECT_NEAR(summe[0] / n, rot, 4) << name;
    EXPECT_NEAR(summe[1] / n, gruen, 4) << name;
    EXPECT_NEAR(summe[2] / n, blau, 4) << name;
  }
}

// The mean of each block of n x n pixels.
imaging::RgbBitmap Bloecke(const imaging::RgbBitmap& b, int n) {
  imaging::RgbBitmap out(b.Width / n, b.Height / n);
  for (int y = 0; y < out.Height; ++y)
    for (int x = 0; x < out.Width; ++x)
      for (int c = 0; c < 3; ++c) {
        int summe = 0;
        for (int i = 0; i < n * n; ++i) summe += b.Row(y * n + i / n)[(x * n + i % n) * 3 + c];
        out.Row(y)[x * 3 + c] = static_cast<uint8_t>((summe + n * n / 2) / (n * n));
      }
  return out;
}

TEST_F(Bildpipeline, TaggedPhotosComeOutUpright) {
  // 400 x 300 stored, tagged 6 (a quarter turn) and 3 (a half turn); the
  // references are ImageMagick's -auto-orient of the same files in blocks
  // of 10 x 10 (tests/data/orient/make-inputs.sh).
  const std::string daten = std::string(MOSAIK_TEST_DATA) + "/orient/";
  m.setPosition(Opt::TrBKomprimierung, 1);
  m.setPosition(Opt::TrBKomprimierungGrosseBilder, 1);
  m.setChecked(Opt::RBLaengereSeiteGrosseBilder, true);
  m.setChecked(Opt::RBLaengereSeite, true);
  struct Fall {
    std::string name, attribute;
  };
  for (const Fall& f : {Fall{"o6", "width=\"300\" height=\"400\""}, Fall{"o3", "width=\"400\" height=\"300\""}}) {
    sfs::copy_file(daten + f.name + ".jpg", q + f.name + ".jpg");
    EXPECT_EQ(GrossbildGroesseAttribute(k, q + f.name + ".jpg"), f.attribute) << f.name;
    ASSERT_TRUE(Gross(f.name + ".jpg", 400));
    ASSERT_TRUE(VorschaubildErzeugen(lauf, q, z, f.name + ".jpg", false, 120));
    EXPECT_EQ(GrossbildGroesseAttribute(k, z + g), f.attribute) << f.name;
    const std::string mini = *fs::readFile(z + "mini-" + f.name + ".jpg");
    EXPECT_EQ(imaging::JpegExifOrientation(mini), 1);
    const std::string ppm = *fs::readFile(daten + f.name + "-aufrecht.ppm");
    imaging::RgbBitmap ref(f.name == "o6" ? 30 : 40, f.name == "o6" ? 40 : 30);
    ref.Pixels.assign(ppm.end() - static_cast<ptrdiff_t>(ref.Pixels.size()), ppm.end());
    // The large image block for block, the thumbnail (filtered otherwise
    // than by blocks) over blocks of 20 x 20.
    const imaging::RgbBitmap vergleiche[][2] = {{Bloecke(Lesen(z + g), 10), ref},
                                                {Bloecke(imaging::DecodeJpeg(mini), 6), Bloecke(ref, 2)}};
    for (const auto& [bild, soll] : vergleiche) {
      ASSERT_EQ(bild.Width, soll.Width) << f.name;
      ASSERT_EQ(bild.Height, soll.Height) << f.name;
      for (int y = 0; y < soll.Height; ++y)
        for (int x = 0; x < soll.Width; ++x) {
          const uint8_t* r = soll.Row(y) + x * 3;
          ASSERT_TRUE(FarbeNahe(bild, x, y, {r[0], r[1], r[2]}, 2)) << f.name << " " << bild.Width;
        }
    }
    EXPECT_EQ(*fs::readFile(q + f.name + ".jpg"), *fs::readFile(daten + f.name + ".jpg"));
  }
  EXPECT_EQ(VorschauGroesseAttribute(k, z + "mini-o6.jpg"), "width=\"90\" height=\"120\"");
  // A kept thumbnail still tagged (an earlier version's, another tool's) is
  // measured as it is displayed.
  EXPECT_EQ(VorschauGroesseAttribute(k, daten + "o6.jpg"), "width=\"300\" height=\"400\"");
}

}  // namespace
}  // namespace mosaik
