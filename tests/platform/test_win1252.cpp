#include <gtest/gtest.h>

#include <tuple>

#include "platform/Win1252.h"

namespace mosaik {
namespace {

TEST(Win1252, HoheBytesUndSonderzeichen) {
  // The 0x80..0x9F block differs from Latin-1.
  EXPECT_EQ(cp1252ToUtf8("\x80"), "€");
  EXPECT_EQ(cp1252ToUtf8("\x84\x93\x94"), "„“”");
  EXPECT_EQ(cp1252ToUtf8("\x8a\x9a\x9f"), "ŠšŸ");
  EXPECT_EQ(cp1252ToUtf8("\xe4\xf6\xfc\xdf\xc4"), "äöüßÄ");
  // Unassigned bytes survive a round trip.
  for (int b = 0; b < 256; ++b) {
    const std::string s(1, static_cast<char>(b));
    bool ok = false;
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(s), &ok), s) << b;
    EXPECT_TRUE(ok) << b;
  }
}

TEST(Win1252, ZeichenAusserhalbWerdenGemeldet) {
  bool ok = true;
  EXPECT_EQ(utf8ToCp1252("a\xe2\x86\x92z", &ok), "a?z");  // U+2192 arrow
  EXPECT_FALSE(ok);
  EXPECT_FALSE(fitsCp1252("日本"));
  EXPECT_TRUE(fitsCp1252("Grüße €"));
}

TEST(Win1252, Utf8PruefungUndBenutzertexte) {
  EXPECT_TRUE(isValidUtf8("Grüße"));
  EXPECT_TRUE(isValidUtf8("\xef\xbf\xbd"));           // a literal U+FFFD
  EXPECT_FALSE(isValidUtf8("Gr\xfc\xdf" "e"));        // Windows-1252
  EXPECT_FALSE(isValidUtf8("\xc0\xaf"));              // overlong '/'
  EXPECT_FALSE(isValidUtf8("\xed\xa0\x80"));          // surrogate
  EXPECT_FALSE(isValidUtf8("\xe2\x82"));              // truncated
  EXPECT_EQ(decodeUserText("Gr\xfc\xdf" "e"), "Grüße");
  EXPECT_EQ(decodeUserText("\xef\xbb\xbfGrüße"), "Grüße");
  EXPECT_EQ(decodeUserText("Grüße"), "Grüße");
}

TEST(Win1252, Utf8AnfangSchneidetKeinZeichen) {
  const std::tuple<std::string, size_t, std::string> faelle[] = {
      {"abc", 3, "abc"},   {"abc", 2, "ab"},     {"abc", 0, ""},
      {"x\xC3\xA4", 2, "x"}, {"x\xC3\xA4", 3, "x\xC3\xA4"},
      {"\xE2\x82\xAC\xE2\x82\xAC", 5, "\xE2\x82\xAC"},  // a cut sign goes whole
      {"\xF0\x9F\x98\x80z", 3, ""},                   // four bytes, cut after three
      {"a\xBF\xBF\xBF\xBF\xBF", 4, "a"},             // no UTF-8: back three at most
      {"\xBF\xBF\xBF\xBF\xBF\xBF", 5, "\xBF\xBF"},
  };
  for (const auto& [text, grenze, anfang] : faelle) EXPECT_EQ(utf8Prefix(text, grenze), anfang) << text << grenze;
}

TEST(Win1252, AsciiGrossKleinBeruehrtKeineHohenBytes) {
  EXPECT_EQ(asciiUpper("bild.jpg ä"), "BILD.JPG ä");
  EXPECT_EQ(asciiLower("BILD.JPG Ä"), "bild.jpg Ä");
  EXPECT_TRUE(asciiIEquals("DirName.TXT", "dirname.txt"));
  EXPECT_FALSE(asciiIEquals("Ä.txt", "ä.txt"));
}

}  // namespace
}  // namespace mosaik
