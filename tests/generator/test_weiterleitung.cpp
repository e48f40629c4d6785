// Redirect pages: their text, the folders that get one, and the files they
// must never replace.
#include <sys/stat.h>

#include "generator/Weiterleitung.h"
#include "test_seiten_basis.h"

namespace mosaik::seitentest {
namespace {

struct WeiterleitungTest : LaufBasis {
  std::string vorschau() const { return html() + "_vorschau/"; }
};

TEST_F(WeiterleitungTest, SeiteUnterDemHTMLOrdner) {
  std::filesystem::create_directories(vorschau());
  WeiterleitungsIndexSchreiben(k, vorschau());
  std::string golden = lesen(std::string(MOSAIK_TEST_DATA) + "/seiten/weiterleitung-vorschau.html");
  EXPECT_EQ(lesen(vorschau() + "index.html"), golden);
  // The same page again is not written: the file and the folder's time stay
  // (the folder may be another user's, whose time the run cannot set back).
  struct stat vorher {}, nachher {};
  ASSERT_EQ(::stat((vorschau() + "index.html").c_str(), &vorher), 0);
  ASSERT_TRUE(fs::setModTime(vorschau(), {1000000000, 9}));
  WeiterleitungsIndexSchreiben(k, vorschau());
  ASSERT_EQ(::stat((vorschau() + "index.html").c_str(), &nachher), 0);
  EXPECT_EQ(nachher.st_ino, vorher.st_ino);
  EXPECT_EQ(fs::modTime(vorschau())->tv_nsec, 9);

  // The start page's own name, in all three places, while the redirect file
  // keeps its name.
  m.setChecked(Opt::CBGrundnameistIndex, false);
  WeiterleitungsIndexSchreiben(k, vorschau());
  for (size_t p; (p = golden.find("../index.htm")) != std::string::npos;) golden.replace(p, 12, "../meinebilder.htm");
  EXPECT_EQ(lesen(vorschau() + "index.html"), golden);
  m.setChecked(Opt::CBGrundnameistIndex, true);
  m.setText(Opt::EdNameHTML, "Galerie.HTML");
  WeiterleitungsIndexSchreiben(k, vorschau());
  EXPECT_NE(lesen(vorschau() + "index.html").find("URL=../index.HTML\">"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(vorschau() + "index.HTML"));
}

TEST_F(WeiterleitungTest, NurOrdnerMitBildernDarunterUndJeweilsDerRichtigeWeg) {
  const std::string jpeg = testJpeg(8, 6, 1000);
  schreiben(vorschau() + "mini-a.jpg", jpeg);
  schreiben(vorschau() + "urlaub/tag_1/mini-b.jpg", jpeg);
  schreiben(vorschau() + "urlaub/leer/notiz.txt", "x");
  schreiben(vorschau() + "ohne/notiz.txt", "x");
  // A gallery of the top folder alone leaves the folders below it alone.
  IndexInGrafikordnernSchreiben(lauf, html() + "_vorschau", false);
  EXPECT_FALSE(std::filesystem::exists(vorschau() + "urlaub/index.html"));
  IndexInGrafikordnernSchreiben(lauf, html() + "_vorschau", true);
  EXPECT_TRUE(std::filesystem::exists(vorschau() + "index.html"));
  EXPECT_NE(lesen(vorschau() + "urlaub/index.html").find("URL=../../index.htm\""), std::string::npos);
  EXPECT_NE(lesen(vorschau() + "urlaub/tag_1/index.html").find("URL=../../../index.htm\""), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(vorschau() + "urlaub/leer/index.html"));
  EXPECT_FALSE(std::filesystem::exists(vorschau() + "ohne/index.html"));
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(WeiterleitungTest, NieAufDieStartseiteUndNieUeberEineFremdeDatei) {
  schreiben(html() + "index.htm", "Startseite");
  // The HTML folder itself, also under another spelling of its path.
  m.setText(Opt::EdNameHTML, "index.html");
  schreiben(html() + "index.html", "Startseite");
  std::filesystem::create_directory_symlink(html(), tmp.pfad() + "verweis");
  WeiterleitungsIndexSchreiben(k, html());
  WeiterleitungsIndexSchreiben(k, tmp.pfad() + "verweis/");
  WeiterleitungsIndexSchreiben(k, html() + "../html/");
  EXPECT_EQ(lesen(html() + "index.html"), "Startseite");

  // A page of the user's among the originals stays; an old redirect page of
  // ours is renewed.
  schreiben(bilder() + "reise/index.html", "<html>meine Seite</html>");
  WeiterleitungsIndexSchreiben(k, bilder() + "reise/");
  EXPECT_EQ(lesen(bilder() + "reise/index.html"), "<html>meine Seite</html>");
  std::filesystem::create_directories(bilder() + "tag/");
  m.setText(Opt::EdNameHTML, "meinebilder.htm");
  WeiterleitungsIndexSchreiben(k, bilder() + "tag/");
  m.setChecked(Opt::CBGrundnameistIndex, false);
  WeiterleitungsIndexSchreiben(k, bilder() + "tag/");
  EXPECT_NE(lesen(bilder() + "tag/index.html").find("URL=../html/meinebilder.htm\""), std::string::npos);
}

TEST_F(WeiterleitungTest, AbbruchHaeltAmNaechstenOrdnerUndMeldetEinmal) {
  const std::string jpeg = testJpeg(8, 6, 1000);
  for (const char* o : {"a/", "b/", "c/"}) schreiben(vorschau() + o + "mini-x.jpg", jpeg);
  int pumpen = 0;
  u.sv.pump = [&] {
    if (++pumpen == 1) AbbruchFlag = 1;
  };
  IndexInGrafikordnernSchreiben(lauf, vorschau(), true);
  EXPECT_TRUE(std::filesystem::exists(vorschau() + "index.html"));
  EXPECT_FALSE(std::filesystem::exists(vorschau() + "a/index.html"));
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].text, "Programmabbruch durch den Benutzer!");
  IndexInGrafikordnernSchreiben(lauf, vorschau(), true);
  EXPECT_EQ(u.dialoge.meldungen.size(), 1u);
}

}  // namespace
}  // namespace mosaik::seitentest
