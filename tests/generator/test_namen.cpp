#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <tuple>
#include <utility>

#include "AlsNobody.h"
#include "DurchlaufTestbasis.h"
#include "generator/Namen.h"
#include "generator/Verzeichnis.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

using NamenTest = test::MitOptionen;

TEST_F(NamenTest, UebersichtsseitenImOrdnerbaumUndFlach) {
  // Form defaults: "meinebilder.htm", "(", "-", ")", index name on, folder
  // tree. The golden pages fix the names of folder and flat pages.
  EXPECT_EQ(UebersichtsseiteDateiname(k, "0", 1), "index.htm");
  EXPECT_EQ(UebersichtsseiteDateiname(k, "0", 2), "meinebilder(2).htm");
  m.setChecked(Opt::CBGrundnameistIndex, false);
  EXPECT_EQ(UebersichtsseiteDateiname(k, "0", 1), "meinebilder.htm");

  m.setChecked(Opt::RBStrukturflach, true);
  EXPECT_EQ(UebersichtsseiteDateiname(k, "0", 1), "meinebilder.htm");

  // Other brackets and a name without extension.
  m.setChecked(Opt::CBGrundnameistIndex, true);
  m.setText(Opt::EdKlammerAuf, "_");
  m.setText(Opt::EdBindestrich, "_");
  m.setText(Opt::EdKlammerZu, "");
  m.setText(Opt::EdNameHTML, "galerie");
  EXPECT_EQ(UebersichtsseiteDateiname(k, "0", 1), "index");
  EXPECT_EQ(UebersichtsseiteDateiname(k, "2", 3), "galerie_2_3");
  m.setChecked(Opt::RBStrukturOrdner, true);
  EXPECT_EQ(UebersichtsseiteDateiname(k, "2", 3), "galerie_3");

  // The extension keeps its case, the style sheet is lower case.
  m.setText(Opt::EdNameHTML, "Galerie.HTML");
  EXPECT_EQ(UebersichtsseiteDateiname(k, "0", 1), "index.HTML");
  EXPECT_EQ(HTMLGrundname(k), "galerie");
  EXPECT_EQ(CSSDateiname(k), "galerie.css");
  m.setText(Opt::EdNameHTML, "Über Äpfel.htm");
  EXPECT_EQ(CSSDateiname(k), "über äpfel.css");
}

TEST_F(NamenTest, BildseitenNamen) {
  TDateiArray l(5);
  l[0].Name = "urlaub.jpg";
  l[1].Name = "urlaub";
  l[2].Name = "Strand.am.Meer.JPEG";
  // Pages that would pass the 255 bytes of a file name: the picture's part
  // cut on a character boundary, marked with the FNV-1a sum of the full name.
  l[3].Name = std::string(250, 'a') + ".jpg";
  l[4].Name = "x";
  for (int i = 0; i < 120; ++i) l[4].Name += "\xc3\xa4";
  l[4].Name += ".jpg";
  std::string ae;
  for (int i = 0; i < 114; ++i) ae += "\xc3\xa4";
  for (auto [i, stopp, name] : {std::tuple<int, bool, std::string>{0, false, "meinebilder-urlaubjpg.htm"},
                                 {1, true, "meinebilder-urlaub-stopp.htm"},
                                 {2, false, "meinebilder-Strand.am.MeerJPEG.htm"},
                                 {3, false, "meinebilder-" + std::string(230, 'a') + "~dc15ddf0.htm"},
                                 {3, true, "meinebilder-" + std::string(224, 'a') + "~1d650251-stopp.htm"},
                                 {4, false, "meinebilder-x" + ae + "~0b810252.htm"}})
    EXPECT_EQ(EinzelbildHTMLName(k, "meinebilder.htm", l, i, stopp), name) << i << stopp;
  // An index page in any case leads to the base name of the option.
  for (const char* index : {"index.htm", "INDEX.HTM", "Index.Html", "index.xhtml", "index.php"})
    EXPECT_EQ(EinzelbildHTMLName(k, index, l, 0, false), "meinebilder-urlaubjpg.htm") << index;
  EXPECT_EQ(EinzelbildHTMLName(k, "index.shtml", l, 0, false), "index-urlaubjpg.shtml");
  m.setText(Opt::EdVerbindungszeichen, "__");
  EXPECT_EQ(EinzelbildHTMLName(k, "/irgendwo/galerie.html", l, 0, false), "galerie__urlaubjpg.html");
}

TEST_F(NamenTest, GrossUndVorschaubildNamen) {
  // Without reduction and without thumbnails the names stay as given.
  m.setChecked(Opt::CBVorschaubilderErzeugen, false);
  m.setText(Opt::EdErweiterungGrosseBilder, "-gross-");
  EXPECT_EQ(GrossbildName(k, "/a/bild.jpg"), "/a/bild.jpg");
  EXPECT_EQ(VorschaubildName(k, "/a/bild.jpg"), "/a/bild.jpg");

  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  m.setChecked(Opt::CBVorschaubilderErzeugen, true);
  EXPECT_EQ(GrossbildName(k, "/a/bild.jpg"), "-gross-bild.jpg");
  EXPECT_EQ(VorschaubildName(k, "-gross-bild.jpg"), "mini-bild.jpg");
  EXPECT_EQ(GrossbildKennungEntfernen(k, "bild-gross-.jpg"), "bild-gross-.jpg");  // not at the front
  m.setChecked(Opt::RBhintenGrosseBilder, true);
  EXPECT_EQ(GrossbildName(k, "bild.jpg"), "bild-gross-.jpg");
  EXPECT_EQ(GrossbildName(k, "bild"), "bild-gross-");
  EXPECT_EQ(GrossbildKennungEntfernen(k, "bild-gross-.jpg"), "bild.jpg");
  EXPECT_EQ(GrossbildKennungEntfernen(k, "-gross-bild.jpg"), "-gross-bild.jpg");  // at the front
  EXPECT_EQ(GrossbildKennungEntfernen(k, "a-gross-b-gross-.jpg"), "ab-gross-.jpg");  // first only
  m.setChecked(Opt::RBhinten, true);
  EXPECT_EQ(VorschaubildName(k, "/x/bild-gross-.jpg"), "bildmini-.jpg");
  m.setText(Opt::EdErweiterungGrosseBilder, "");
  EXPECT_EQ(GrossbildName(k, "bild.jpg"), "bild.jpg");
  EXPECT_EQ(GrossbildKennungEntfernen(k, "bild.jpg"), "bild.jpg");
}

TEST_F(NamenTest, StandardordnerUndNormalform) {
  st.BilderOrdnerPfad = "/fotos";
  EXPECT_EQ(standardOrdnerHTML(k), "/fotos/html");
  EXPECT_EQ(standardOrdnerGrosseBilder(k), "/fotos/html/_gross");
  EXPECT_EQ(standardOrdnerVorschaubilder(k), "/fotos/html/_vorschau");
  EXPECT_EQ(GrosseBilderOrdner(k), "/fotos/html/_gross/");
  st.BilderOrdnerPfad = "/fotos/";
  EXPECT_EQ(standardOrdnerHTML(k), "/fotos/html");
  st.BilderOrdnerPfad = "";
  EXPECT_EQ(standardOrdnerHTML(k), "html");
  EXPECT_EQ(HTMLOrdner(k), fs::currentFolder() + "html/");
  st.BilderOrdnerPfad = "/fotos/";
  st.HTMLOrdnerPfad = "/web//galerie/./neu/../";
  EXPECT_EQ(HTMLOrdner(k), "/web/galerie/");
  EXPECT_EQ(standardOrdnerGrosseBilder(k), "/web//galerie/./neu/../_gross");
  EXPECT_EQ(GrosseBilderOrdner(k), "/web/galerie/_gross/");
  st.GrosseBilderpfad = "/gross";
  st.Vorschaubilderpfad = "/klein/";
  EXPECT_EQ(GrosseBilderOrdner(k), "/gross/");
  EXPECT_EQ(VorschauOrdner(k), "/klein/");
  for (auto [rein, raus] : {std::pair<std::string, std::string>{"", ""}, {"//a///b", "/a/b/"}, {"/", "/"},
                            {"relativ/x", fs::currentFolder() + "relativ/x/"}})
    EXPECT_EQ(OrdnerNormalisieren(rein), raus) << rein;
}

TEST_F(NamenTest, AnzeigepfadUnterordnerUndWegZurueck) {
  st.BilderOrdnerPfad = "/fotos";
  EXPECT_EQ(AnzeigePfad(k, "/fotos/", "Startordner"), "Startordner");
  EXPECT_EQ(AnzeigePfad(k, "/fotos/Urlaub/Tag 1/", "Startordner"), "Startordner/Urlaub/Tag 1");
  EXPECT_EQ(UnterordnerPfad(k, "/fotos/", false), "");
  EXPECT_EQ(UnterordnerPfad(k, "/fotos/Urlaub/Tag 1/", false), "Urlaub/Tag 1/");
  // A root written with doubled or missing separators measures the same.
  st.BilderOrdnerPfad = "/fotos//";
  EXPECT_EQ(AnzeigePfad(k, "/fotos/Urlaub", "S"), "S/Urlaub");
  // A name with a backslash is one level, not two.
  EXPECT_EQ(PfadZurStartseite(k, "/fotos/a\\b/", false), "../");
  // A folder beside the root is not below it.
  EXPECT_EQ(AnzeigePfad(k, "/fotosammlung/x/", "S"), "S");

  // With reduction the large-image folder is the root.
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  EXPECT_EQ(AnzeigePfad(k, "/fotos/html/_gross/", "S"), "S");
  EXPECT_EQ(AnzeigePfad(k, "/fotos/html/_gross/urlaub/", "S"), "S/urlaub");
  st.GrosseBilderpfad = "/gross";
  EXPECT_EQ(UnterordnerPfad(k, "/gross/a/b/c/", false), "a/b/c/");
  EXPECT_EQ(PfadZurStartseite(k, "/gross/a/b/c/", false), "../../../");
}

TEST_F(NamenTest, RelativePfadeUndURLs) {
  // Base, target, path, URL; Linux names differ in case.
  for (auto [basis, ziel, pfad, url] : {std::tuple{"/a/html/", "/a/bilder/x/", "../bilder/x", "../bilder/x/"},
                                        {"/a/html", "/a/bilder/x/", "../bilder/x", "../bilder/x/"},
                                        {"/a/html/", "/a/html/", "", ""},
                                        {"/a/html/", "/a/html/sub/", "sub", "sub/"},
                                        {"/a/html/sub/tief/", "/a/html/", "../..", "../../"},
                                        {"/", "/a/b/", "a/b", "a/b/"},
                                        {"/a/Html/", "/a/html/x/", "../html/x", "../html/x/"}}) {
    EXPECT_EQ(RelativerPfad(basis, ziel), pfad) << basis << " " << ziel;
    EXPECT_EQ(RelativeURL(basis, ziel), url) << basis << " " << ziel;
  }

  st.BilderOrdnerPfad = "/fotos";
  EXPECT_EQ(RelativerPfadZumHTMLOrdner(k, "/fotos/html/_vorschau/Urlaub/"), "_vorschau/Urlaub");
  EXPECT_EQ(RelativeURLZumHTMLOrdner(k, "/fotos/Urlaub/"), "../Urlaub/");
  EXPECT_EQ(RelativeURLZumHTMLOrdner(k, "/fotos/html/"), "");

  // The link to an original replaces the large-image root by the picture
  // folder; the folder keeps its trailing '/'.
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  EXPECT_EQ(OriginalLinkPfad(k, "/fotos/html/", "/fotos/html/_gross/Urlaub/"), "../Urlaub/");
  EXPECT_EQ(OriginalLinkPfad(k, "/fotos/html/Urlaub/", "/fotos/html/_gross/Urlaub/"), "../../Urlaub/");
  m.setChecked(Opt::CBOriginaleVerkleinern, false);
  EXPECT_EQ(OriginalLinkPfad(k, "/fotos/html/", "/fotos/Urlaub/"), "../Urlaub/");
  EXPECT_EQ(OriginalLinkPfad(k, "/fotos/html/", "/fotos/html/_gross/Urlaub/"), "_gross/Urlaub/");

  for (auto [pfad, rest] : {std::pair{"/fotos/Urlaub/Tag 1", "Urlaub/Tag 1/"}, {"/fotos/", ""},
                            {"/fotosammlung/a", "/fotosammlung/a/"}})
    EXPECT_EQ(BasisPfadAbschneiden(pfad, "/fotos"), rest) << pfad;
}

TEST_F(NamenTest, RelativeBenutzerpfadeBekommenDenWegZurueck) {
  st.BilderOrdnerPfad = "/fotos";
  const std::string ordner = "/fotos/a/b/";
  struct Fall {
    const char* feld;
    bool absolut;
  };
  for (const Fall f : {Fall{"http://x.example/", true}, Fall{"https://x.example/", true}, Fall{"ftp://x/", true},
                       Fall{"/bilder/", true}, Fall{"\\\\server\\bilder", true}, Fall{"bilder/", false},
                       Fall{"", false}, Fall{"HTTP:/x", false}, Fall{"a/b://c", false}, Fall{"://x", false}}) {
    m.setText(Opt::EdPfadErsetzung, f.feld);
    std::string text = "bilder/";
    RelativenPfadAnpassen(k, text, Opt::EdPfadErsetzung, ordner);
    EXPECT_EQ(text, f.absolut ? "bilder/" : "../../bilder/") << f.feld;
    EXPECT_EQ(IstAbsoluterPfad(f.feld), f.absolut) << f.feld;
  }
  m.setText(Opt::EdPfadErsetzung, "bilder/");
  m.setChecked(Opt::CBmitUnterverzeichnissen, false);
  std::string text = "bilder/";
  RelativenPfadAnpassen(k, text, Opt::EdPfadErsetzung, ordner);
  EXPECT_EQ(text, "bilder/");
}

TEST(NamenText, ZaehlenErsetzenUndGemeinsamesEnde) {
  EXPECT_EQ(ZeichenZaehlen('/', "a/b/c"), 2);
  EXPECT_EQ(TextErsetzen("/", "\\", "a/b/c"), "a\\b\\c");
  EXPECT_EQ(TextErsetzen("ab", "b", "aaab"), "b");  // starts over from the front each time
  EXPECT_EQ(TextErsetzen("a", "aa", "xay"), "xaay");  // would never end otherwise
  EXPECT_EQ(TextErsetzen("", "x", "abc"), "abc");
  std::string t = "x//";
  ZeichenEntfernen('/', t);
  EXPECT_EQ(t, "x/");

  for (auto [a, b, rest] : {std::tuple{"/c/Bilder/Urlaub", "/d/Netz/URLAUB", "/c/Bilder/"}, {"/a/b/", "/a/b/", "/"},
                            {"/x/Bilder/Urlaub/Tag 1/", "Startordner/Urlaub/Tag 1", "/x/Bilder/"},
                            {"/x/Bilder/a/", "Startordner/b", "/x/Bilder/a/"}, {"Bilder", "Bilder", "Bilder/"}})
    EXPECT_EQ(GemeinsamesEndeAbschneiden(a, b), rest) << a << " " << b;
}

TEST_F(NamenTest, SchreibtestUndOrdnerAnlegen) {
  if (test::AlsNobodyWiederholt()) return;
  test::TempOrdner t;
  // The probe leaves the folder as it was, its time included.
  ASSERT_TRUE(fs::setModTime(t.pfad(), {1000000000, 5}));
  EXPECT_TRUE(OrdnerBeschreibbar(t.pfad()));
  EXPECT_TRUE(std::filesystem::is_empty(t.pfad()));
  EXPECT_EQ(fs::modTime(t.pfad())->tv_sec, 1000000000);
  EXPECT_EQ(fs::modTime(t.pfad())->tv_nsec, 5);
  EXPECT_FALSE(OrdnerBeschreibbar(t.pfad() + "fehlt"));
  EXPECT_FALSE(fs::exists(t.pfad() + "fehlt"));
  // A probe file left by a crashed run neither blocks the test nor goes.
  std::ofstream(t.pfad() + "Mosaikschauer###tmp###.tmp") << "fremd";
  EXPECT_TRUE(OrdnerBeschreibbar(t.pfad()));
  EXPECT_EQ(*fs::readFile(t.pfad() + "Mosaikschauer###tmp###.tmp"), "fremd");
  fs::forceDirectories(t.pfad() + "nurlesen");
  ::chmod((t.pfad() + "nurlesen").c_str(), 0555);
  EXPECT_FALSE(OrdnerBeschreibbar(t.pfad() + "nurlesen"));
  ::chmod((t.pfad() + "nurlesen").c_str(), 0755);
  EXPECT_TRUE(std::filesystem::is_empty(t.pfad() + "nurlesen"));

  EXPECT_TRUE(OrdnerAnlegen(k, t.pfad() + "a/b/c/"));
  EXPECT_TRUE(fs::folderExists(t.pfad() + "a/b/c"));
  EXPECT_TRUE(OrdnerAnlegen(k, t.pfad() + "a/b/c/"));
  EXPECT_TRUE(u.dialoge.meldungen.empty());
  std::ofstream(t.pfad() + "datei") << "x";
  EXPECT_FALSE(OrdnerAnlegen(k, t.pfad() + "datei/unter/"));
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Error);
  EXPECT_EQ(u.dialoge.meldungen[0].text, "Der Ordner " + t.pfad() + "datei/unter/\r\nkann nicht angelegt werden!");
}

// In a folder of another user the probe could not give the folder its time
// back, so it writes nothing there: a shared folder with the sticky bit is
// writable and keeps its time, root's own folder is not writable.
TEST_F(NamenTest, SchreibtestInFremdenOrdnernOhneProbedatei) {
  static const char* const kOrdner = "MOSAIK_TEST_FREMDE_ORDNER";
  const struct timespec alt = {1000000000, 0};
  if (::geteuid() == 0) {
    const test::TempOrdner t;
    ::chmod(t.pfad().c_str(), 0755);
    for (const auto& [name, modus] : {std::pair{"geteilt", 01777}, {"gesperrt", 0755}}) {
      fs::forceDirectories(t.pfad() + name);
      ::chmod((t.pfad() + name).c_str(), static_cast<mode_t>(modus));
      ASSERT_TRUE(fs::setModTime(t.pfad() + name, alt));
    }
    ::setenv(kOrdner, t.pfad().c_str(), 1);
    test::AlsNobodyWiederholt();
    ::unsetenv(kOrdner);
    EXPECT_TRUE(std::filesystem::is_empty(t.pfad() + "geteilt"));
    EXPECT_EQ(fs::modTime(t.pfad() + "geteilt")->tv_sec, alt.tv_sec);
    return;
  }
  EXPECT_FALSE(OrdnerBeschreibbar("/"));
  const char* ordner = ::getenv(kOrdner);
  if (!ordner) return;
  const std::string o = ordner;
  EXPECT_TRUE(OrdnerBeschreibbar(o + "geteilt/"));
  EXPECT_FALSE(OrdnerBeschreibbar(o + "gesperrt/"));
  EXPECT_FALSE(OrdnerBeschreibbar(o + "fehlt/"));
  for (const char* name : {"geteilt", "gesperrt"}) {
    EXPECT_EQ(fs::modTime(o + name)->tv_sec, alt.tv_sec) << name;
    EXPECT_EQ(fs::modTime(o + name)->tv_nsec, 0) << name;
  }
}

}  // namespace
}  // namespace mosaik
