// The system's formats and fonts, read from the system's own libraries.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "platform/Environment.h"

namespace mosaik {
namespace {

TEST(Umgebung, FormateDerCBibliothekAlsMusterDerSeiten) {
  struct Fall {
    const char* format;
    const char* ampm;
    const char* muster;
  };
  const Fall faelle[] = {
      {"%d.%m.%Y", "", "dd.MM.yyyy"},
      {"%T", "", "hh:nn:ss"},
      {"%r", "%I:%M:%S %p", "hh:nn:ss AMPM"},
      {"%r", "", "hh:nn:ss AMPM"},
      {"%-d/%-m/%y", "", "d/M/yy"},
      {"%I:%M:%S %p %Z", "", "hh:nn:ss AMPM"},
      {"%l:%M:%S %P", "", "h:nn:ss am/pm"},
      {"%A %e %B %Y", "", "dddd d MMMM yyyy"},
      {"%Ey%EC %b %D", "", "yy MMM MM/dd/yy"},
      // Letters and quotes outside the fields stay literal.
      {R"(%Hh%M 'um' "x" 100%%)", "", R"(hh"h"nn "'""u""m""'" '"'"x"'"' 100%)"},
      {"%-H:%-M:%-S", "", "h:n:s"},
      {"%Y年%m月%d日", "", "yyyy年MM月dd日"},
      {"%", "", ""},
      {"%Z %H:%M", "", "hh:nn"},  // blanks left by a dropped field
  };
  for (const Fall& f : faelle) EXPECT_EQ(strftimeMuster(f.format, f.ampm), f.muster) << f.format;
}

// Separators and formats as "locale decimal_point d_fmt t_fmt" prints them
// for these locales (Debian's locales-all), written as patterns by hand.
TEST(Umgebung, FormateVonDreiGebietsschemas) {
  struct Fall {
    const char* locale;
    char trenner;
    const char* datum;
    const char* zeit;
  };
  const Fall faelle[] = {
      {"de_DE.UTF-8", ',', "dd.MM.yyyy", "hh:nn:ss"},
      {"en_US.UTF-8", '.', "MM/dd/yyyy", "hh:nn:ss AMPM"},
      {"es_MX.UTF-8", '.', "dd/MM/yy", "hh:nn:ss"},
      {"hi_IN", '.', "d/M/yy", "hh:nn:ss AMPM"},
      {"ps_AF.UTF-8", ',', "\xD8\xAF yyyy \xD8\xAF MMMM d", "hh:nn:ss"},  // its separator has two bytes
      // Neutral or missing: the German formats.
      {"C", ',', "dd.MM.yyyy", "hh:nn:ss"},
      {"C.UTF-8", ',', "dd.MM.yyyy", "hh:nn:ss"},
      {"xx_YY.UTF-8", ',', "dd.MM.yyyy", "hh:nn:ss"},
  };
  for (const Fall& f : faelle) {
    const LocaleFormats l = localeFormats(f.locale, f.locale);
    EXPECT_EQ(l.decimalSeparator, f.trenner) << f.locale;
    EXPECT_EQ(l.shortDate, f.datum) << f.locale;
    EXPECT_EQ(l.longTime, f.zeit) << f.locale;
  }
  // Numbers and times from different locales.
  const LocaleFormats gemischt = localeFormats("de_CH.UTF-8", "fr_FR.UTF-8");
  EXPECT_EQ(gemischt.decimalSeparator, '.');
  EXPECT_EQ(gemischt.shortDate, "dd/MM/yyyy");
}

// The same families as fontconfig's own listing (the first name of each),
// asked for as the names themselves: its default listing joins a font's
// names with commas and escapes signs such as '-' with a backslash
// ("MathJax_Vector\-Bold" for the family MathJax_Vector-Bold).
TEST(Umgebung, SchriftfamilienWieFontconfigSieNennt) {
  std::set<std::string> erwartet;
  FILE* p = ::popen("fc-list --format '%{family[0]}\\n'", "r");
  ASSERT_NE(p, nullptr);
  char zeile[1024];
  while (std::fgets(zeile, sizeof zeile, p)) {
    std::string z(zeile);
    z = z.substr(0, z.find('\n'));
    if (!z.empty()) erwartet.insert(z);
  }
  ::pclose(p);
  ASSERT_FALSE(erwartet.empty());
  const std::vector<std::string> familien = systemFontFamilies();
  EXPECT_EQ(std::set<std::string>(familien.begin(), familien.end()), erwartet);
  EXPECT_TRUE(std::is_sorted(familien.begin(), familien.end()));
  EXPECT_EQ(familien.size(), erwartet.size());
}

}  // namespace
}  // namespace mosaik
