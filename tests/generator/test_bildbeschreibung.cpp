#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <limits>
#include <string>

#include "TestUmgebung.h"
#include "generator/Bildbeschreibung.h"
#include "imaging/ImgData.h"
#include "imaging/NumberFormat.h"
#include "generator/Verzeichnis.h"
#include "platform/Win1252.h"

namespace mosaik {
namespace {

// The pictures of tests/data/captions:
//   urlaub.jpg        80 x 60, EXIF (Make "Kamerawerk", Model "KW 100", taken
//                     2023-07-14 18:05:09, FNumber 2.8, ExposureTime stored as
//                     10/2500, FocalLength 7.8) and the comment
//                     "Am Strand" CR LF "mit Möwe & Co" (UTF-8)
//   nurexif.jpg       40 x 30, EXIF without any date (Make "Kamerawerk",
//                     Model "KW 200", FNumber 4, ExposureTime 2/1,
//                     FocalLength 7.5), no comment
//   nurkommentar.jpg  40 x 30, no EXIF, the comment "Nur ein Kommentar"
//   leer.jpg          40 x 30, neither
//   leerkommentar.jpg leer.jpg with a comment segment holding nothing
//   nullkommentar.jpg leer.jpg with a comment of a single NUL byte (a C
//                     string's terminator, no part of the text)
const std::string kOrdner = std::string(MOSAIK_TEST_DATA) + "/captions/";

// 2024-03-07 09:05:08 as a packed DOS date-time.
constexpr uint32_t kDosDatum = (44u << 25) | (3u << 21) | (7u << 16) | (9u << 11) | (5u << 5) | 4u;

struct Beschreibung : ::testing::Test {
  test::TestUmgebung u;
  OptionModel m;
  AppState st;
  Kontext k{m, st, u.sv};

  void SetUp() override { imaging::SetDecimalSeparator(','); }
  void TearDown() override { imaging::SetDecimalSeparator(','); }

  std::string bb(const std::string& vorlage, const std::string& datei = "urlaub.jpg", int64_t groesse = 2048) {
    return BildbeschreibungErzeugen(k, vorlage, kOrdner, datei, groesse, kDosDatum);
  }
  // The caption with the given inner text; none for an empty text.
  static std::string huelle(const std::string& innen) {
    return innen.empty() ? "" : "<div class=\"beschr\"><span class=\"gr\">" + innen + "</span></div>";
  }
};

// Every row: template, picture, file size, XHTML, the text inside the
// caption ("" when there is no caption at all).
TEST_F(Beschreibung, VorlagenUndIhreTexte) {
  struct Fall {
    std::string vorlage;
    const char* datei;
    int64_t groesse;
    bool xhtml;
    const char* innen;
  };
  const Fall faelle[] = {
      {"\\dg", "urlaub.jpg", 2047, false, "1&nbsp;KB"},
      {"\\dg", "urlaub.jpg", 1023, false, "0&nbsp;KB"},
      {"\\bbx\\bh", "urlaub.jpg", 2048, false, "80x60"},
      {"\\ma|\\mo|\\az", "urlaub.jpg", 2048, false, "Kamerawerk|KW 100|18:05:09"},
      // The standard template of the picture pages: the comment's ampersand
      // is the picture's text, not markup; its umlaut goes through the
      // entity encoding; 10/2500 s reduced; 7.8 * 35 / 5 = 54.6.
      {"\\[\\ko\\zu\\]\\dn\\zu\\kl\\dg\\( \\ad \\bz \\bl \\bw\\)\\gr", "urlaub.jpg", 2048, false,
       "Am Strand<br>mit M&ouml;we &amp; Co<br>urlaub<br><span class=\"kl\">2&nbsp;KB 14.07.2023 1/250 sec F2,8 7,80 "
       "mm</span>"},
      {"\\[\\ko\\zu\\]\\dn\\zu\\kl\\dg\\( \\ad \\bz \\bl \\bw\\)\\gr", "leer.jpg", 1500, false,
       "leer<br><span class=\"kl\">1&nbsp;KB</span>"},
      // The standard template of the overview pages.
      {"\\dn\\[\\zu\\ko\\]", "nurkommentar.jpg", 2048, false, "nurkommentar<br>Nur ein Kommentar"},
      // EXIF group kept, comment group dropped, the break between them stays.
      {"\\(Blende \\bl\\)\\zu\\[\\ko\\]", "nurexif.jpg", 2048, false, "Blende F4,0<br>"},
      // A template whose only part is a comment group gives nothing at all.
      {"\\[\\ko\\]", "nurexif.jpg", 2048, false, ""},
      // A comment segment whose text is empty counts as no comment.
      {"\\dn\\[ (\\ko)\\]", "leerkommentar.jpg", 2048, false, "leerkommentar"},
      {"\\dn\\[ (\\ko)\\]", "nullkommentar.jpg", 2048, false, "nullkommentar"},
      {"\\[\\ko\\]", "leerkommentar.jpg", 2048, false, ""},
      {"", "urlaub.jpg", 2048, false, ""},
      // Without EXIF data the EXIF codes yield nothing, also outside a group.
      {"[\\ma\\mo\\ad\\az\\bl\\bz\\bw\\b\xC3\xA4]", "nurkommentar.jpg", 2048, false, "[]"},
      // 2/1 seconds reduce to 2; 7.5 * 35 / 5 = 52.5 rounds to the even 52.
      {"\\bz|\\b\xC3\xA4", "nurexif.jpg", 2048, false, "2 sec|52 mm"},
      // No "30.12.1899" and no "00:00:00" for a picture without a date.
      {"[\\ad|\\az]", "nurexif.jpg", 2048, false, "[|]"},
      // A missing file: codes that need no picture data read nothing; its
      // size is 0 x 0.
      {"\\dn \\[\\ko\\]\\(\\ma\\)", "fehlt.jpg", 2048, false, "fehlt "},
      // No closing sign: without EXIF everything from the opening sign goes.
      {"a\\(b\\dn", "leer.jpg", 2048, false, "a"},
      {"a\\(b\\dn", "nurexif.jpg", 2048, false, "abnurexif"},
      // Groups do not nest: the first closing sign ends the group. One left
      // over where groups are dropped is a code of no meaning: it takes the
      // character after it along, even a backslash.
      {"a\\(b\\(c\\)d\\)e", "leer.jpg", 2048, false, "ad"},
      {"a\\[b\\[c\\]d\\]e", "nurexif.jpg", 2048, false, "ad"},
      {"a\\(b\\(c\\)d\\)e", "nurexif.jpg", 2048, false, "abcde"},
      {"a\\(b\\]c\\)d", "leer.jpg", 2048, false, "ad"},  // the other kind's closing sign ends nothing
      {"X\\)Y", "leer.jpg", 2048, false, "X"},
      {"A\\]B", "nurexif.jpg", 2048, false, "A"},
      {"a\\)\\dn", "leer.jpg", 2048, false, "adn"},
      {"X\\)Y|A\\]B", "urlaub.jpg", 2048, false, "XY|AB"},  // kept groups lose every sign
      {"a\\]\\(x\\)b", "nurexif.jpg", 2048, false, "ab"},  // the EXIF signs gone, the comment's takes x
      // A closing sign before an opening one: that group runs to the end.
      {"a\\)bc\\(x\\)d", "leer.jpg", 2048, false, "ac"},
      {"a\\)bc\\(x\\)d", "nurexif.jpg", 2048, false, "abcxd"},
      {"\\(x\\)y\\)z\\(w\\)v", "leer.jpg", 2048, false, "y"},
      // Kinds mixed: each kind is decided on its own.
      {"\\[k\\(e\\)\\]|\\(e\\[k\\]\\)", "nurkommentar.jpg", 2048, false, "k|"},
      {"\\[k\\(e\\)\\]|\\(e\\[k\\]\\)", "nurexif.jpg", 2048, false, "|e"},
      {"\\[k\\(e\\)\\]|\\(e\\[k\\]\\)", "urlaub.jpg", 2048, false, "ke|ek"},
      {"\\[k\\(e\\)\\]\\(e\\[k\\]\\)", "leer.jpg", 2048, false, ""},
      // An escaped backslash before a bracket is a backslash and a bracket.
      {"x\\\\(y)", "leer.jpg", 2048, false, "x\\(y)"},
      {"x\\\\[y]", "urlaub.jpg", 2048, false, "x\\[y]"},
      {"\\\\dn", "urlaub.jpg", 2048, false, "\\dn"},
      {"a\\xyb", "urlaub.jpg", 2048, false, "ab"},  // no code: all three vanish
      {"ab\\", "urlaub.jpg", 2048, false, "ab"},    // a lone backslash at the end
      {"ab\\d", "urlaub.jpg", 2048, false, "ab"},   // one character is no code
      {"\\DN|\\De|\\ZU", "urlaub.jpg", 2048, false, "urlaub|urlaub.jpg|<br>"},
      // Only ASCII letters are lowered: \BÄ is no code, \Bä is one.
      {"[\\B\xC3\x84]", "urlaub.jpg", 2048, false, "[]"},
      {"[\\B\xC3\xA4]", "urlaub.jpg", 2048, false, "[55 mm]"},
      // The two characters of a code are characters, not bytes: the code
      // takes the whole ä, and the text behind it stays intact.
      {"\\x\xC3\xA4\xC3\xB6", "urlaub.jpg", 2048, false, "&ouml;"},
      // A template read from an old Windows-1252 settings file reaches us as
      // UTF-8; even a Windows-1252 byte that was never decoded forms the code.
      {cp1252ToUtf8("\\b\xE4 / \\dn"), "urlaub.jpg", 2048, false, "55 mm / urlaub"},
      {"\\b\xE4 / \\dn", "urlaub.jpg", 2048, false, "55 mm / urlaub"},
      // The text a code yields is not scanned again.
      {"\\de", "leer.jpg", 2048, false, "leer.jpg"},
      {"\\kl\\kla\\gr", "urlaub.jpg", 2048, false, "<span class=\"kl\">a</span>"},  // one span for two \kl
      {"a\\grb", "urlaub.jpg", 2048, false, "ab"},                                  // \gr without \kl
      {"a\\klb", "urlaub.jpg", 2048, false, "a<span class=\"kl\">b</span>"},        // closed at the end
      {"a\\kl\\grb", "urlaub.jpg", 2048, false, "ab"},                              // no empty span left
      {"a\\kl", "urlaub.jpg", 2048, false, "a"},
      // Three breaks or blanks in a row become two; two become one.
      {"a\\zu\\zub", "urlaub.jpg", 2048, false, "a<br>b"},
      {"a\\zu\\zu\\zub", "urlaub.jpg", 2048, false, "a<br><br>b"},
      {"a\\zu\\zub", "urlaub.jpg", 2048, true, "a<br />b"},
      {"a  b   c", "urlaub.jpg", 2048, false, "a b  c"},
      {"a<BR><br>b", "urlaub.jpg", 2048, false, "a<br>b"},  // letter case ignored
      // The user's own markup in the template stays as written.
      {"<b>\\dn</b> & Co", "urlaub.jpg", 2048, false, "<b>urlaub</b> & Co"},
  };
  for (const Fall& f : faelle) {
    st.DoctypeXHTML = f.xhtml;
    EXPECT_EQ(bb(f.vorlage, f.datei, f.groesse), huelle(f.innen)) << f.vorlage << " " << f.datei;
  }
  EXPECT_TRUE(u.dialoge.meldungen.empty());
  // The missing file's size is asked of the reader, which reports it.
  EXPECT_EQ(bb("\\bbx\\bh", "fehlt.jpg"), huelle("0x0"));
  EXPECT_EQ(u.dialoge.meldungen.size(), 1u);
}

TEST_F(Beschreibung, TexteAusDemBildWerdenNieMarkup) {
  test::TempOrdner t;
  const std::string name = "Tom & <Jerry> \"1\".jpg";
  std::filesystem::copy_file(kOrdner + "leer.jpg", t.pfad() + name);
  EXPECT_EQ(BildbeschreibungErzeugen(k, "\\dn|\\de", t.pfad(), name, 0, kDosDatum),
            huelle("Tom &amp; &lt;Jerry&gt; &quot;1&quot;|Tom &amp; &lt;Jerry&gt; &quot;1&quot;.jpg"));
  // A name without extension is its own base name; a file date of 0 gives
  // no date.
  EXPECT_EQ(BildbeschreibungErzeugen(k, "\\dn[\\dd|\\dz]", t.pfad(), "ohne", 0, 0), huelle("ohne[|]"));
}

TEST_F(Beschreibung, OrtsformateFuerDatumZeitUndDezimaltrenner) {
  u.sv.locale.shortDate = "M/d/yyyy";
  u.sv.locale.longTime = "h:nn:ss AMPM";
  imaging::SetDecimalSeparator('.');
  EXPECT_EQ(bb("\\ad \\az|\\dd \\dz"), huelle("7/14/2023 6:05:09 PM|3/7/2024 9:05:08 AM"));
  // The metadata texts are printed with a point now, and read back with it.
  EXPECT_EQ(bb("\\bl|\\bw|\\b\xC3\xA4"), huelle("F2.8| 7.80 mm|55 mm"));
  u.sv.locale.shortDate = "dd/MM/yy";
  u.sv.locale.longTime = "hh:mm";
  EXPECT_EQ(bb("\\ad \\az"), huelle("14/07/23 18:05"));
}

// The file date as the walks list it: the packed DOS local date-time of the
// file, in a pinned time zone, clamped to what DOS dates can hold.
TEST_F(Beschreibung, DateidatumAusDemOrdnerInFesterZeitzone) {
  const char* alt = std::getenv("TZ");
  const std::string altTZ = alt ? alt : "";
  ::setenv("TZ", "Europe/Berlin", 1);
  ::tzset();
  test::TempOrdner t;
  std::filesystem::copy_file(kOrdner + "leer.jpg", t.pfad() + "b.jpg");
  const auto datum = [&](std::time_t zeit) {
    const timespec zeiten[2] = {{zeit, 0}, {zeit, 0}};
    EXPECT_EQ(::utimensat(AT_FDCWD, (t.pfad() + "b.jpg").c_str(), zeiten, 0), 0);
    const auto e = fs::entryInfo(t.pfad() + "b.jpg");
    EXPECT_TRUE(e);
    return BildbeschreibungErzeugen(k, "\\dd \\dz", t.pfad(), "b.jpg", 0, e ? e->dosTime : 0);
  };
  EXPECT_EQ(datum(1709798708), huelle("07.03.2024 09:05:08"));  // 08:05:08 UTC, winter time
  EXPECT_EQ(datum(1720944309), huelle("14.07.2024 10:05:08"));  // 08:05:09 UTC, summer time, odd second
  EXPECT_EQ(datum(157766400), huelle("01.01.1980 00:00:00"));   // 1975
  EXPECT_EQ(datum(5680281600), huelle("31.12.2107 23:59:58"));  // 2150
  if (alt) ::setenv("TZ", altTZ.c_str(), 1);
  else ::unsetenv("TZ");
  ::tzset();
}

TEST_F(Beschreibung, BrennweiteAusDenGespeichertenFaktoren) {
  st.BWreal = 10;
  st.BWumgerechnet = 35;
  EXPECT_EQ(bb("\\b\xC3\xA4"), huelle("27 mm"));  // 7.8 * 3.5 = 27.3
  st.BWreal = 0;                                 // no division: nothing
  EXPECT_EQ(bb("[\\b\xC3\xA4]"), huelle("[]"));

  EXPECT_EQ(BrennweiteAequivalent("7,70mm", 5, 35, ','), "54 mm");   // 53.9
  EXPECT_EQ(BrennweiteAequivalent("6,50 mm", 5, 35, ','), "46 mm");  // 45.5 to the even 46
  EXPECT_EQ(BrennweiteAequivalent("7.80 mm", 5, 35, ','), "0 mm");   // the wrong separator
  EXPECT_EQ(BrennweiteAequivalent("7,8 mm", 0, 35, ','), "");
  EXPECT_EQ(BrennweiteAequivalent("1e300 mm", 1e-300, 35, '.'), "");  // no integer value

  double w = 0;
  EXPECT_TRUE(DezimalzahlLesen(" -1,5e2 ", ',', w));
  EXPECT_EQ(w, -150);
  for (const char* falsch : {"", ",", "1,2,3", "1 2", "e5", "1e", "0x10", "1,5x", "nan", "inf"})
    EXPECT_FALSE(DezimalzahlLesen(falsch, ',', w)) << falsch;
  EXPECT_TRUE(DezimalzahlLesen("7,", ',', w));
  EXPECT_EQ(w, 7);
  EXPECT_TRUE(DezimalzahlLesen(",5", ',', w));
  EXPECT_EQ(w, 0.5);
}

TEST(Bruch, Kuerzen) {
  // Without a fraction, a denominator or a numerator, or beyond 32 bits: as
  // it stands; the tail after the fraction is kept.
  for (auto [ein, aus] : {std::pair{"10/2500 sec", "1/250 sec"}, {"30/10 sec", "3 sec"}, {"0/0", "0/0"},
                          {"0/5 sec", "0 sec"}, {"-10/20", "-1/2"}, {"1/3", "1/3"}, {"2 sec", "2 sec"},
                          {"1/ sec", "1/ sec"}, {"x/2", "x/2"}, {"/2", "/2"}, {"3000000000/2", "3000000000/2"},
                          {"4/6/8", "2/3/8"}})
    EXPECT_EQ(BruchKuerzen(ein), aus) << ein;
}

TEST(Datum, DOSUndTageUndMuster) {
  const auto dz = DosDatumZerlegen(kDosDatum);
  ASSERT_TRUE(dz);
  for (auto [muster, text] : {std::pair{"dd.MM.yyyy hh:nn:ss", "07.03.2024 09:05:08"}, {"d.M.yy h:n:s", "7.3.24 9:5:8"},
                               {"dddd, d. MMMM yyyy", "Donnerstag, 7. März 2024"}, {"ddd d MMM", "Do 7 Mrz"},
                               {"'Tag' d \"um\" h", "Tag 7 um 9"}, {"hh:mm am/pm|A/P", "09:05 am|A"}})
    EXPECT_EQ(DatumZeitText(muster, *dz), text) << muster;
  EXPECT_EQ(DatumZeitText("h AM/PM", DatumZeit{2024, 3, 7, 0, 5, 8}), "12 AM");
  EXPECT_EQ(DatumZeitText("h AMPM", DatumZeit{2024, 3, 7, 12, 5, 8}), "12 PM");

  EXPECT_FALSE(DosDatumZerlegen(0));                                  // month 0
  EXPECT_FALSE(DosDatumZerlegen((44u << 25) | (2u << 21) | (30u << 16)));  // 30 February
  EXPECT_TRUE(DosDatumZerlegen((44u << 25) | (2u << 21) | (29u << 16)));   // a leap day
  const auto spaet = DosDatumZerlegen((127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u);
  ASSERT_TRUE(spaet);
  EXPECT_EQ(DatumZeitText("yyyy-MM-dd hh:nn:ss", *spaet), "2107-12-31 23:59:58");

  // Days since 1899-12-30 back to the calendar, at every second of a day.
  double v = 0;
  for (int s = 0; s < 86400; ++s) {
    ASSERT_TRUE(imaging::EncodeDateTime(2023, 7, 14, s / 3600, s / 60 % 60, s % 60, v));
    const auto t = TageZerlegen(v);
    ASSERT_TRUE(t);
    ASSERT_EQ(t->stunde * 3600 + t->minute * 60 + t->sekunde, s);
    ASSERT_EQ(t->jahr * 10000 + t->monat * 100 + t->tag, 20230714);
  }
  ASSERT_TRUE(imaging::EncodeDateTime(1850, 1, 2, 6, 0, 0, v));
  const auto alt = TageZerlegen(v);
  ASSERT_TRUE(alt);
  EXPECT_EQ(DatumZeitText("yyyy-MM-dd hh:nn", *alt), "1850-01-02 06:00");
  EXPECT_FALSE(TageZerlegen(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(TageZerlegen(1e12));
}

TEST(Metadaten, DieDateiWirdEinmalGelesen) {
  test::TempOrdner t;
  std::filesystem::copy_file(kOrdner + "urlaub.jpg", t.pfad() + "bild.jpg");
  Bildmetadaten bild(t.pfad() + "bild.jpg");
  EXPECT_TRUE(bild.HatEXIFDaten());
  // Gone after the first question: every later one is answered from what
  // was read then.
  std::filesystem::remove(t.pfad() + "bild.jpg");
  EXPECT_TRUE(bild.HatJpgKommentar());
  EXPECT_EQ(bild.Tag("Make"), "Kamerawerk");
  EXPECT_NE(bild.Aufnahmezeit(), 0);
  EXPECT_FALSE(HatEXIFDaten(t.pfad() + "bild.jpg"));
}

// Any text is a template: built from the pieces of the language at random
// (a fixed seed), every one gives nothing or one whole caption fragment
// whose small-print spans are balanced.
TEST_F(Beschreibung, BeliebigeVorlagenGebenGanzeFragmente) {
  const char* const stuecke[] = {"\\",   "\\\\", "\\(",  "\\)",  "\\[",  "\\]",  "\\kl", "\\gr", "\\zu",
                                 "\\dn", "\\ko", "\\bz", "\\b\xC3\xA4", "\xC3\xA4", "\xE4", " ",    "  ",   "x",
                                 "<br>", "\\d",  "\\KL", "\\x\xC3"};
  uint32_t zustand = 12345;
  const auto zufall = [&](uint32_t n) {
    zustand = zustand * 1103515245u + 12345u;
    return (zustand >> 16) % n;
  };
  for (int runde = 0; runde < 400; ++runde) {
    std::string vorlage;
    for (uint32_t n = zufall(12); n > 0; --n) vorlage += stuecke[zufall(std::size(stuecke))];
    const std::string r = bb(vorlage, runde % 2 ? "urlaub.jpg" : "leer.jpg");
    if (r.empty()) continue;
    ASSERT_EQ(r.rfind("<div class=\"beschr\"><span class=\"gr\">", 0), 0u) << vorlage;
    ASSERT_EQ(r.substr(r.size() - 13), "</span></div>") << vorlage;
    size_t auf = 0, zu = 0;
    for (size_t p = 0; (p = r.find("<span", p)) != std::string::npos; ++p) ++auf;
    for (size_t p = 0; (p = r.find("</span>", p)) != std::string::npos; ++p) ++zu;
    ASSERT_EQ(auf, zu) << vorlage;
    ASSERT_EQ(r.find("<span class=\"kl\"></span>"), std::string::npos) << vorlage;
  }
}

}  // namespace
}  // namespace mosaik
