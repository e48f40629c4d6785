// Whole runs over a small fixed tree, compared byte for byte with pages
// written by hand; the pages must also pass the W3C document type
// definitions (XHTML checked as XML against its DTD).
#include <cstdio>
#include <regex>
#include <set>

#include "generator/Generierung.h"
#include "test_seiten_basis.h"

namespace mosaik::seitentest {
namespace {

const char* const kDTDs = "/usr/share/xml/w3c-sgml-lib/schema/dtd";

// Output of a command (stdout and stderr) and its exit status.
std::pair<int, std::string> ausfuehren(const std::string& befehl) {
  std::string out;
  FILE* p = ::popen((befehl + " 2>&1").c_str(), "r");
  if (p == nullptr) return {-1, "popen"};
  char puffer[4096];
  size_t n;
  while ((n = std::fread(puffer, 1, sizeof puffer, p)) > 0) out.append(puffer, n);
  return {::pclose(p), out};
}

std::string zitiert(const std::string& pfad) { return "'" + pfad + "'"; }

struct GoldenTest : LaufBasis {
  std::string altesArbeitsverzeichnis = fs::currentFolder();

  void SetUp() override {
    LaufBasis::SetUp();
    st.Autostart = true;
    st.dirnametxt = true;
    // Captions have their own tests; here they would only repeat them.
    m.setText(Opt::MBeschreibung, "");
    baum();
  }
  void TearDown() override {
    fs::setCurrentFolder(altesArbeitsverzeichnis);
    LaufBasis::TearDown();
  }

  // The pictures, and the thumbnails the image pipeline keeps (of the same
  // size, so that their size attributes are known).
  void bildMitVorschau(const std::string& pfad, const std::string& vorschau, int w, int h, size_t groesse) {
    const std::string jpeg = testJpeg(w, h, groesse);
    schreiben(bilder() + pfad, jpeg);
    schreiben(html() + "_vorschau/" + vorschau, jpeg);
  }
  void baum() {
    bildMitVorschau("a.jpg", "mini-a.jpg", 40, 30, 1536);
    bildMitVorschau("b.jpg", "mini-b.jpg", 40, 30, 1536);
    bildMitVorschau("c.jpg", "mini-c.jpg", 30, 40, 1536);
    schreiben(bilder() + "dirinfo.txt", "Grüße vom Meer\r\n");
    bildMitVorschau("Tag 1/d.jpg", "tag_1/mini-d.jpg", 40, 30, 1536);
    bildMitVorschau("Tag 1/Pano.JPG", "tag_1/mini-pano.jpg", 200, 50, 2048);
    bildMitVorschau("Tag 1/Grüße/e.jpg", "tag_1/gruesse/mini-e.jpg", 40, 30, 1536);
    schreiben(bilder() + "leer/notiz.txt", "keine Bilder");
  }

  void laufen() {
    ASSERT_TRUE(BitBStartClick(lauf));
    for (const auto& t : u.dialoge.texte()) ADD_FAILURE() << t;
  }
  void vergleichen(const std::string& golden, std::initializer_list<const char*> seiten) {
    for (const char* s : seiten) {
      const std::string erwartet = lesen(std::string(MOSAIK_TEST_DATA) + "/seiten/" + golden + "/" + s);
      ASSERT_FALSE(erwartet.empty()) << s;
      EXPECT_EQ(lesen(html() + s), erwartet) << s;
    }
  }

  static bool werkzeug(const char* name) { return std::filesystem::exists(std::string("/usr/bin/") + name); }
  static void html401Gueltig(const std::string& pfad) {
    const auto [rc, out] = ausfuehren("SP_CHARSET_FIXED=YES SP_ENCODING=ISO-8859-1 onsgmls -s -c " +
                                      std::string(kDTDs) + "/sgml.soc " + zitiert(pfad));
    EXPECT_EQ(rc, 0) << pfad << "\n" << out;
    EXPECT_EQ(out, "") << pfad;
  }
  static void xhtmlGueltig(const std::string& pfad) {
    const auto [rc, out] = ausfuehren("XML_CATALOG_FILES=" + std::string(kDTDs) +
                                      "/catalog.xml xmllint --noout --nonet --valid " + zitiert(pfad));
    EXPECT_EQ(rc, 0) << pfad << "\n" << out;
    EXPECT_EQ(out, "") << pfad;
  }

  // Every id and class the pages use is styled by the style sheet.
  void klassenImStyleSheet(std::initializer_list<const char*> seiten) {
    const std::string css = lesen(html() + "meinebilder.css");
    ASSERT_FALSE(css.empty());
    const std::regex attribut("(id|class)=\"([^\"]+)\"");
    std::set<std::string> gesehen;
    for (const char* s : seiten) {
      const std::string text = lesen(html() + s);
      for (auto it = std::sregex_iterator(text.begin(), text.end(), attribut); it != std::sregex_iterator(); ++it) {
        const std::string name = (*it)[2];
        if (name == "kopf") continue;  // the user's own header
        const std::string selektor = ((*it)[1] == "id" ? "#" : ".") + name;
        gesehen.insert(selektor);
        EXPECT_NE(css.find(selektor + " "), std::string::npos) << selektor << " in " << s;
      }
    }
    EXPECT_GE(gesehen.size(), 11u);
  }
};

TEST_F(GoldenTest, GrundeinstellungenOrdnerstrukturEineSeiteJeOrdner) {
  laufen();
  vergleichen("ordner-html401", {"index.htm", "tag_1/index.htm", "tag_1/gruesse/index.htm"});
  klassenImStyleSheet({"index.htm", "tag_1/index.htm", "tag_1/gruesse/index.htm"});
  // Redirect pages into the picture tree (it is not the HTML folder) and
  // the thumbnail tree, only where pictures are; the start page untouched.
  for (const std::string& o : {bilder(), bilder() + "tag_1/", bilder() + "tag_1/gruesse/", html() + "_vorschau/",
                              html() + "_vorschau/tag_1/gruesse/"})
    EXPECT_TRUE(std::filesystem::exists(o + "index.html")) << o;
  EXPECT_FALSE(std::filesystem::exists(bilder() + "leer/index.html"));
  EXPECT_FALSE(std::filesystem::exists(html() + "index.html"));
  EXPECT_NE(lesen(bilder() + "tag_1/gruesse/index.html").find("URL=../../html/index.htm\""), std::string::npos);

  if (!werkzeug("onsgmls") || !std::filesystem::exists(kDTDs)) GTEST_SKIP() << "onsgmls or the W3C DTDs missing";
  for (const char* s : {"index.htm", "tag_1/index.htm", "tag_1/gruesse/index.htm"}) html401Gueltig(html() + s);
  html401Gueltig(bilder() + "tag_1/index.html");
  html401Gueltig(html() + "_vorschau/index.html");
}

TEST_F(GoldenTest, XHTMLStrictFlachGeblaettertMitEigenemKopfAufDerStartseite) {
  doctype(2);
  m.setChecked(Opt::RBStrukturflach, true);
  m.setChecked(Opt::RBZeilenzahl, true);
  m.setText(Opt::SpEdSpaltenzahl, "2");
  m.setText(Opt::SpEdZeilenProSeitezahl, "1");
  m.setChecked(Opt::CBPanoramaExtrabehandlung, true);
  m.setChecked(Opt::CBeigenenHeaderVerwenden, true);
  m.setChecked(Opt::RBNeuerHeaderNurErsteSeite, true);
  m.setText(Opt::MNeuerHeader,
            "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
            "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n"
            "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n<head>\r\n"
            "  <meta http-equiv=\"content-type\" content=\"text/html; charset=ISO-8859-1\" />\n"
            "  <link rel=\"stylesheet\" type=\"text/css\" href=\"[HTMLPfad]eigen.css\" />\r\n"
            "  <title>Eigene Galerie</title>\r\n</head>\r\n<body [BODYID]>\r\n<p class=\"kopf\">Eigener Kopf</p>");
  m.setText(Opt::MNeuerDateiabschluss, "<p>[HTMLPfad]Ende</p>\r\n</body>\r\n</html>");
  laufen();
  const auto seiten = {"index.htm", "meinebilder(0-2).htm", "meinebilder(1).htm", "meinebilder(1-2).htm"};
  vergleichen("flach-xhtml-strict", seiten);
  klassenImStyleSheet(seiten);
  EXPECT_TRUE(std::filesystem::exists(html() + "meinebilder(2).htm"));
  EXPECT_FALSE(std::filesystem::exists(html() + "tag_1"));

  if (!werkzeug("xmllint") || !std::filesystem::exists(kDTDs)) GTEST_SKIP() << "xmllint or the W3C DTDs missing";
  for (const char* s : seiten) xhtmlGueltig(html() + s);
  xhtmlGueltig(html() + "meinebilder(2).htm");
}

TEST_F(GoldenTest, KeineWeiterleitungUeberDieStartseite) {
  // The start page is called "index.html", and the thumbnail folder is the
  // HTML folder under another name: its tree gets no redirect pages.
  m.setText(Opt::EdNameHTML, "galerie.html");
  std::filesystem::create_directory_symlink(html(), tmp.pfad() + "verweis");
  st.Vorschaubilderpfad = tmp.pfad() + "verweis";
  laufen();
  for (const std::string& s : {html() + "index.html", html() + "tag_1/index.html", html() + "tag_1/gruesse/index.html"})
    EXPECT_NE(lesen(s).find("<body id=\"uebersicht\">"), std::string::npos) << s;
  EXPECT_NE(lesen(bilder() + "index.html").find("<title>Weiterleitung</title>"), std::string::npos);
  EXPECT_NE(lesen(bilder() + "tag_1/index.html").find("URL=../html/index.html\""), std::string::npos);
}

}  // namespace
}  // namespace mosaik::seitentest
