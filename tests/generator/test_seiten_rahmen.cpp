// Page frame: entity and URL encoding, colour texts, head template, own
// header, link back. The default head and footer are fixed by the golden
// pages.
#include <sstream>
#include <vector>

#include "generator/Entities.h"
#include "generator/Seitenrahmen.h"
#include "platform/Win1252.h"
#include "test_seiten_basis.h"

namespace mosaik::seitentest {
namespace {

std::string utf8(char32_t cp) {
  std::string s;
  appendUtf8(s, cp);
  return s;
}

TEST(Entitaeten, JedeZeileDerTabelleUndDieLueckenDazwischen) {
  // U+00A1..U+00FF in order; "-" marks the three characters without a row.
  const std::string namen =
      "iexcl cent pound curren yen brvbar sect uml copy ordf laquo not shy reg macr deg plusmn sup2 sup3 acute "
      "micro para middot cedil sup1 ordm raquo frac14 frac12 frac34 iquest Agrave Aacute Acirc Atilde Auml Aring "
      "AElig Ccedil Egrave Eacute Ecirc - Igrave Iacute Icirc Iuml ETH Ntilde Ograve Oacute Ocirc Otilde Ouml "
      "times Oslash Ugrave Uacute Ucirc Uuml Yacute THORN szlig agrave aacute acirc atilde auml aring aelig ccedil "
      "egrave eacute ecirc - igrave iacute icirc iuml eth ntilde ograve oacute ocirc otilde ouml divide oslash "
      "ugrave uacute ucirc uuml - thorn yuml";
  std::istringstream in(namen);
  std::string name;
  char32_t cp = 0xA1;
  while (in >> name) {
    const std::string kodiert = HTMLZeichenKodieren(utf8(cp));
    const std::string erwartet = name == "-" ? utf8(cp) : "&" + name + ";";
    EXPECT_EQ(kodiert, erwartet) << std::hex << static_cast<unsigned>(cp);
    ++cp;
  }
  EXPECT_EQ(cp, 0x100u);
  std::string ascii;
  for (int c = 1; c < 0x80; ++c) ascii += static_cast<char>(c);
  EXPECT_EQ(HTMLZeichenKodieren(ascii), ascii);
}

using Kodierer = std::string (*)(std::string_view);

TEST(Kodierungen, EntitaetenURLsUndDateibytes) {
  const struct {
    Kodierer f;
    const char* ein;
    const char* aus;
  } faelle[] = {
      {HTMLZeichenKodieren, "", ""},
      {HTMLZeichenKodieren, "€", "&euro;"},
      {HTMLZeichenKodieren, "Grüße & <b>", "Gr&uuml;&szlig;e & <b>"},
      // Not in Windows-1252 at all, and the typographic signs of 0x80..0x9F,
      // which a page declared as ISO-8859-1 cannot hold as bytes.
      {HTMLZeichenKodieren, "日本 😀", "&#26085;&#26412; &#128512;"},
      {HTMLZeichenKodieren, "„Zitat“ – Ŝ", "&#8222;Zitat&#8220; &#8211; &#348;"},
      // Bytes of an old Windows-1252 text are read as such.
      {HTMLZeichenKodieren, "M\xFCnchen \x80", "M&uuml;nchen &euro;"},
      {NameKodieren, "Tom & Jerry <1>\"ä\".jpg", "Tom &amp; Jerry &lt;1&gt;&quot;&auml;&quot;.jpg"},
      {URLKodieren, "bild-1_a.jpg", "bild-1_a.jpg"},
      {URLKodieren, "~!$'()*+,;=:@", "~!$'()*+,;=:@"},
      {URLKodieren, "Äpfel & Birnen #1?.jpg", "%C3%84pfel%20%26%20Birnen%20%231%3F.jpg"},
      {URLKodieren, "a/b c/d%e.jpg", "a/b%20c/d%25e.jpg"},
      {URLKodieren, "x\"y<z>\\w", "x%22y%3Cz%3E%5Cw"},
      {URLKodieren, "\xFC", "%FC"},
      {BenutzerURLKodieren, "https://example.org/a?b=1&c=2#x", "https://example.org/a?b=1&amp;c=2#x"},
      {BenutzerURLKodieren, "../Über uns.htm", "../%C3%9Cber%20uns.htm"},
      {BenutzerURLKodieren, "a\"b<c>", "a%22b%3Cc%3E"},
      // The three characters without a row and the no-break space stay bytes.
      {SeitenBytes, "Ë ë ý\u00A0", "\xCB \xEB \xFD\xA0"},
      {SeitenBytes, "Größe: ½ € „“ 日", "Gr\xF6\xDF" "e: \xBD &#8364; &#8222;&#8220; &#26085;"},
      {CSSBytes, "Fußzeile „x“ 日", "Fu\xDFzeile \x84x\x93 \\65E5 "},
      {ZeilenendenCRLF, "a\nb\r\nc\rd\n", "a\r\nb\r\nc\r\nd\r\n"},
  };
  for (const auto& f : faelle) EXPECT_EQ(f.f(f.ein), f.aus) << f.ein;
  EXPECT_EQ(ErsetzenOhneFall("[htmlpfad]x[HTMLPFAD]y[HtmlPfad", "[HTMLPfad]", "../"), "../x../y[HtmlPfad");
  EXPECT_EQ(ErsetzenOhneFall("aaa", "a", "aa"), "aaaaaa");
}

TEST(Farben, TextUndWert) {
  EXPECT_EQ(HTMLFarbe(0xFF8000), "#FF8000");
  EXPECT_EQ(HTMLFarbe(0x0A0B0C), "#0A0B0C");
  for (const char* t : {"#FF8000", "#ff8000", "Xff8000"}) EXPECT_EQ(HTMLFarbe2TColor(t), 0xFF8000u) << t;
  EXPECT_EQ(HTMLFarbe2TColor("#000000"), 0x000000u);
  for (const char* t : {"#FF800", "#FG8000", "#0000G0", ""}) EXPECT_EQ(HTMLFarbe2TColor(t), 0xFFFFFFu) << t;
  const std::pair<const char*, int> paare[] = {{"7f", 127}, {"A0", 160}, {"7", -1}, {"7g", -1}, {"123", -1}};
  for (const auto& [t, wert] : paare) {
    bool ok = wert < 0;
    EXPECT_EQ(HexPaarWert(t, ok), wert < 0 ? 0 : wert) << t;
    EXPECT_EQ(ok, wert >= 0) << t;
  }
}

struct KopfTest : SeitenBasis {
  std::string kopf(bool bildseite, const std::string& naechste, const std::string& ordner, bool gestoppt, int nr) {
    HTMLSeite s;
    HTMLKopfSchreiben(k, s, bildseite, naechste, ordner, gestoppt, nr);
    return s.text();
  }
};

TEST_F(KopfTest, DokumenttypenUndXMLDeklaration) {
  const struct {
    int index;
    bool xml;
    const char* anfang;
  } faelle[] = {
      {0, true, "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\r\n"},
      {2, true, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n"
                "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict"},
      {3, false, "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
                 "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\r\n"},
      {-1, true, "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
                 "\"http://www.w3.org/TR/html4/loose.dtd\">\r\n"},
  };
  for (const auto& f : faelle) {
    doctype(f.index);
    m.setChecked(Opt::CBmitXMLDeklaration, f.xml);
    EXPECT_EQ(HTMLKopfVorlage(k).rfind(f.anfang, 0), 0u) << f.index;
  }
}

TEST_F(KopfTest, MetaElementeStyleSheetFaviconUndFramekiller) {
  m.setChecked(Opt::CBAutor, true);
  m.setText(Opt::EdMetaAutor, "Jörg & Co");
  m.setChecked(Opt::CBSchluesselwoerter, true);
  m.setText(Opt::EdMetaSchluesselwoerter, "");
  m.setChecked(Opt::CBBeschreibung, true);
  m.setText(Opt::EdMetaBeschreibung, "Fotos aus Köln");
  m.setChecked(Opt::CBSuchrobotorAusladen, true);
  m.setChecked(Opt::CBSuchrobotorEinladen, true);
  m.setChecked(Opt::CBDiashow, true);
  m.setChecked(Opt::CBFavicon, true);
  m.setText(Opt::EdFavicon, "bilder/fav.ico");
  m.setChecked(Opt::CBFramekiller, true);
  m.setText(Opt::EdSeitentitel, "Über uns");
  const std::string v = HTMLKopfVorlage(k);
  EXPECT_NE(v.find(teil("kopf-meta-framekiller.htm")), std::string::npos) << v;
  EXPECT_NE(v.find("  <meta name=\"author\" content=\"J&ouml;rg & Co\">\r\n"), std::string::npos);
  m.setText(Opt::EdMetaSchluesselwoerter, "Köln, Dom");
  doctype(2);
  const std::string x = HTMLKopfVorlage(k);
  EXPECT_NE(x.find("  <meta name=\"keywords\" content=\"K&ouml;ln, Dom,MosaikschauerDrevanstal\" />\r\n"),
            std::string::npos);
  EXPECT_NE(x.find("   // <![CDATA[\r\n"), std::string::npos);
  EXPECT_NE(x.find("   // ]]>\r\n"), std::string::npos);
  // Addresses of their own and paths from the server's root keep their text.
  for (const char* eigen : {"/fav.ico", "https://example.org/fav.ico", "ftp://example.org/f.ico"}) {
    m.setText(Opt::EdFavicon, eigen);
    EXPECT_NE(HTMLKopfVorlage(k).find(std::string("href=\"") + eigen + "\" />"), std::string::npos) << eigen;
  }
  m.setChecked(Opt::CBAndereCSSDatei, true);
  m.setText(Opt::EdAndereCSSDatei, "https://cdn.example/stil.css");
  EXPECT_NE(HTMLKopfVorlage(k).find("href=\"https://cdn.example/stil.css\" />"), std::string::npos);
  m.setText(Opt::EdAndereCSSDatei, "mein stil.css");
  EXPECT_NE(HTMLKopfVorlage(k).find("href=\"[HTMLPfad]mein%20stil.css\" />"), std::string::npos);
  m.setChecked(Opt::RBStrukturflach, true);
  EXPECT_NE(HTMLKopfVorlage(k).find("href=\"mein%20stil.css\" />"), std::string::npos);
  m.setText(Opt::EdFavicon, "fav.ico");
  EXPECT_NE(HTMLKopfVorlage(k).find("href=\"fav.ico\" />"), std::string::npos);
}

TEST_F(KopfTest, DiashowWeiterschaltungNurAufBildseitenMitNaechsterSeite) {
  m.setChecked(Opt::CBDiashow, true);
  m.setChecked(Opt::RBProBildEineHTMLDatei, true);
  m.setText(Opt::SpEdDiashow, "7");
  const std::string s = kopf(true, "b c.htm", bilder(), false, 0);
  EXPECT_NE(s.find("\">\r\n      <meta http-equiv=\"refresh\" content=\"7; URL=b%20c.htm\">\r\n  <link rel="),
            std::string::npos)
      << s;
  // Not without a next page, not on a stopped page, not on an overview page.
  for (const std::string& t : {kopf(true, "", bilder(), false, 0), kopf(true, "b.htm", bilder(), true, 0),
                               kopf(false, "b.htm", bilder(), false, 1)}) {
    EXPECT_EQ(t.find("DIASHOW"), std::string::npos);
    EXPECT_EQ(t.find("refresh"), std::string::npos);
    EXPECT_NE(t.find("  <meta name=\"keywords\" content=\"MosaikschauerDrevanstal\">\r\n  <link rel="),
              std::string::npos);
  }
}

TEST_F(KopfTest, EigenerKopfMitUndOhnePlatzhalter) {
  const std::string tief = bilder() + "Urlaub/Tag 1/";
  m.setChecked(Opt::CBeigenenHeaderVerwenden, true);
  m.setText(Opt::MNeuerHeader, "<html>\n<link href=\"[htmlpfad]x.css\">\n<body [BodyId]>");
  EXPECT_EQ(kopf(false, "", tief, false, 2), "<html>\r\n<link href=\"../../x.css\">\r\n<body id=\"uebersicht\">\r\n");
  m.setText(Opt::MNeuerHeader, "<html><body>");
  EXPECT_EQ(kopf(true, "", tief, false, 0), "<html><body>\r\n");
  m.setChecked(Opt::RBNeuerHeaderUebersichtsseiten, true);
  EXPECT_EQ(kopf(false, "", tief, false, 3), "<html><body>\r\n");
  EXPECT_EQ(kopf(true, "", tief, false, 0).substr(0, 9), "<!DOCTYPE");
}

struct LinkZurueckTest : SeitenBasis {
  std::string link(const std::string& ordner, bool start, bool oben) {
    HTMLSeite s;
    LinkZurueckSchreiben(k, s, ordner, start, oben);
    return s.text();
  }
};

TEST_F(LinkZurueckTest, BedingungenZielUndGrafik) {
  const std::string tief = bilder() + "Urlaub/Tag 1/";
  EXPECT_EQ(link(bilder(), true, false), "");  // off by default
  m.setChecked(Opt::CBLinkZurueckZurHomepage, true);
  EXPECT_EQ(link(bilder(), true, false), "<p><a href=\"../index.htm\">zur&uuml;ck</a></p>\r\n");
  EXPECT_EQ(link(bilder(), true, true), "");  // not at the top
  EXPECT_EQ(link(tief, false, false), "");    // only on the start page
  m.setChecked(Opt::RBLinkZurueckAufJederSeite, true);
  EXPECT_EQ(link(tief, false, false), "<p><a href=\"../../../index.htm\">zur&uuml;ck</a></p>\r\n");
  m.setChecked(Opt::CBLinkZurueckOben, true);
  m.setChecked(Opt::CBLinkZureckGrafikLink, true);
  // A graphic without a file name is left out, not written without source.
  EXPECT_EQ(link(tief, false, true), "<p><a href=\"../../../index.htm\">zur&uuml;ck</a></p>\r\n");
  m.setText(Opt::EdLinkZurueckGrafik, "pfeil links.gif");
  EXPECT_EQ(link(tief, false, true),
            "<p><a href=\"../../../index.htm\"><img src=\"../../pfeil%20links.gif\" alt=\"zur&uuml;ck\" "
            "title=\"zur&uuml;ck\">zur&uuml;ck</a></p>\r\n");
  m.setText(Opt::EdLinkZuruekVerlinkteDatei, "https://example.org/?a=1&b=2");
  m.setText(Opt::EdLinkZurueckGrafik, "/pfeil.gif");
  m.setChecked(Opt::CBLinkZurueckTextlink, false);
  doctype(3);
  EXPECT_EQ(link(tief, false, true),
            "<p><a href=\"https://example.org/?a=1&amp;b=2\"><img src=\"/pfeil.gif\" alt=\"zur&uuml;ck\" "
            "title=\"zur&uuml;ck\" /></a></p>\r\n");
  m.setChecked(Opt::RBStrukturflach, true);
  m.setText(Opt::EdLinkZuruekVerlinkteDatei, "../start.htm");
  m.setText(Opt::EdLinkZurueckGrafik, "pfeil.gif");
  EXPECT_EQ(link(tief, false, true),
            "<p><a href=\"../start.htm\"><img src=\"pfeil.gif\" alt=\"zur&uuml;ck\" title=\"zur&uuml;ck\" "
            "/></a></p>\r\n");
  m.setText(Opt::EdLinkZurueckGrafik, "");
  EXPECT_EQ(link(tief, false, true), "");  // nothing left to show
  m.setChecked(Opt::CBLinkZurueckTextlink, true);
  m.setText(Opt::EdLinkZuruekVerlinkteDatei, "");
  EXPECT_EQ(link(tief, false, true), "");  // no target
}

TEST_F(KopfTest, SeiteWirdGanzOderGarNichtGeschrieben) {
  HTMLSeite s;
  s.zeile("Grüße „x“");
  const std::string pfad = tmp.pfad() + "seite.htm";
  SeiteSpeichern(pfad, s);
  EXPECT_EQ(lesen(pfad), "Gr\xFC\xDF" "e &#8222;x&#8220;\r\n");
  EXPECT_THROW(SeiteSpeichern(tmp.pfad() + "fehlt/seite.htm", s), std::runtime_error);
}

}  // namespace
}  // namespace mosaik::seitentest
