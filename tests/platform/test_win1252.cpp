#include <gtest/gtest.h>

#include <optional>
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

// Bytes without a byte-order mark as one unit: Windows-1252 whose letter
// and punctuation pairs happen to be valid UTF-8 reads as Windows-1252, text
// typed in a UTF-8 terminal as UTF-8. One row for each rule of the reader.
TEST(Win1252, EinheitOhneMarkeWirdNachIhrenZeichenGelesen) {
  const std::pair<std::string, std::string> faelle[] = {
      {"Viel Spa\xDF\x85", "Viel Spaß…"},  // ß also after a lower-case letter
      {"Gru\xDF\x93", "Gruß“"},
      {"CAF\xC9\x96" "BAR", "CAFÉ–BAR"},
      {"\xC2\x80", "Â€"},                                        // UTF-8 would make a C1 control of it
      {"Gr\xC3\xBC\xC3\x9F" "e", "Grüße"},                       // a character of the code page
      {"\xE2\x80\x9EHallo\xE2\x80\x9C \xE2\x80\x93 5 \xE2\x82\xAC", "„Hallo“ – 5 €"},  // three bytes
      {"\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", "Αθήνα"},  // side by side
      {"Gda\xC5\x84sk", "Gdańsk"},                                // after a lower-case letter
      {"Ni\xC4\x9F" "de", "Niğde"},                               // second byte a letter
      {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", "שלום"},          // × is no letter
      {"Gr\xFC\xDF" "e", "Grüße"},                                // no UTF-8 at all
      {"\xEF\xBB\xBFSpa\xDF\x85", "Spa\u07C5"},
      {"\xEF\xBB\xBFGr\xFC\xDF" "e", "Grüße"},
      // Windows-1252 as people write it: a capital at the end of a word in
      // capitals, or "ß", and a sign; a lower-case letter and two signs.
      {"SCH\xD6N\x85", "SCHÖN…"},                  // U+0585, Armenian
      {"F\xDCR\x93", "FÜR“"},                      // Syriac
      {"NIV\xC5\x93 NI\xD1O\xBB", "NIVÅ“ NIÑO»"},  // œ, х
      {"P\xC5\x93 LAX\xC5\xAB PSYCH\xC8\x99", "PÅ“ LAXÅ« PSYCHÈ™"},  // ū ș: no word in capitals ends in them
      {"COS\xCC\x85 C'\xC8\x85", "COSÌ… C'È…"},   // a combining mark, rare Latin
      {"BANGLAD\xC9\x8A B\xDA\x8A", "BANGLADÉŠ BÚŠ"},
      {"KO\xC7\xBB TR\xC6\x85", "KOÇ» TRÆ…"},  // ǻ, ƅ
      {"Perch\xE9\x85\x94 Alm\xE1\x9A\x85", "Perché…” Almáš…"},  // CJK, Ogham
      {"Caf\xE9\xA0\x96 Sommer", "Café\u00A0– Sommer"},                 // a non-breaking space before a sign
      {"N\xC9\x94 \xC9\x96 A\xC7\x94 AKA\xC7\x97", "NÉ” É– AÇ” AKAÇ—"},  // ɔ ɖ ǔ Ǘ: a word in capitals
      {"C'\xC8\x99 HANUN\xD3\x92O", "C'È™ HANUNÓ’O"},                  // ș, Ӓ
      // UTF-8 names: a letter typed alone amid Latin letters, at the start
      // of a word, before a lower-case letter, with no sign after a word.
      {"\xC4\xB0stanbul 2023", "İstanbul 2023"},
      {"\xC5\xBBywiec \xC4\x86wiczenia \xC5\x9Blub", "Żywiec Ćwiczenia ślub"},
      {"\xC8\x98tefan \xC5\xA4" "apky \xC4\x92riks \xC4\xA6" "al", "Ștefan Ťapky Ēriks Ħal"},
      {"\xD0\xAF", "Я"},
      {"Widerstand 10 \xCE\xA9, Objektiv \xCE\xBB/4", "Widerstand 10 Ω, Objektiv λ/4"},
      {"O\xCC\x88sterreich HZ\xCC\x8C", "O\u0308sterreich HZ\u030C"},  // decomposed
      {"D\xC4\xB0YARBAKIR JE\xC5\xBB ATELJ\xC4\x92", "DİYARBAKIR JEŻ ATELJĒ"},
      {"NAUJYB\xC4\x96 ALE\xC5\xA0 L\xC5\x91jetek", "NAUJYBĖ ALEŠ Lőjetek"},
      {"NUKU\xCA\xBB" "ALOFA", "NUKUʻALOFA"},
      {"S\xC4\x85 tu. J\xC4\x85", "Są tu. Ją"},  // a capitalised word in lower case after its capital
      // Letters of living alphabets beyond Latin Extended-A: in a word, a
      // capital ending a word in capitals, a capitalised word of two
      // letters; symbols glued to a word.
      {"N\xC9\x99simi 2019", "Nəsimi 2019"}, {"Urlaub in X\xC9\x99tai", "Urlaub in Xətai"},
      {"B\xC9\x9Bnin", "Bɛnin"}, {"H\xC9\x94ndura", "Hɔndura"}, {"K\xC9\x84KEENDA", "KɄKEENDA"},
      {"TH\xC6\xA0", "THƠ"}, {"NAAN\xC6\x97 2023", "NAANƗ 2023"}, {"ME\xC6\x94", "MEƔ"}, {"\xC6\xA0", "Ơ"},
      {"W\xC7\x94", "Wǔ"}, {"M\xC9\x9B", "Mɛ"}, {"DRUSCI\xC5\x85", "DRUSCIŅ"},
      {"Erledigt\xE2\x9C\x85", "Erledigt✅"}, {"Top\xE2\x9C\x93", "Top✓"},
      {"Kapitel\xE2\x91\xA0", "Kapitel①"}, {"Teil\xE2\x85\x93", "Teil⅓"},
  };
  for (const auto& [bytes, text] : faelle) {
    SCOPED_TRACE(::testing::PrintToString(bytes));
    EXPECT_EQ(decodeText(bytes, TextUnit::File), text);
    EXPECT_EQ(decodeText(bytes, TextUnit::Line), text);
  }
  // A file as a whole: one line that is no UTF-8 makes all of it
  // Windows-1252, one line typed in UTF-8 all of it UTF-8.
  const std::string gemischt = "Spa\xDF\x85\r\nGr\xC3\xBC\xC3\x9F" "e\n\xFC\r";
  EXPECT_EQ(decodeText(gemischt, TextUnit::Line), "Spaß…\r\nGrüße\nü\r");
  EXPECT_EQ(decodeText(gemischt, TextUnit::File), "Spaß…\r\nGrÃ¼ÃŸe\nü\r");
  EXPECT_EQ(decodeText(gemischt.substr(0, 15), TextUnit::File), "Spa\u07C5\r\nGrüße\n");
  // The same bytes, two readings, one of them misread: a Latin-1 letter in
  // UTF-8 wins over "AFÃ…", a letter of Latin Extended-A over a lone capital
  // and a sign.
  EXPECT_EQ(decodeText("AF\xC3\x85", TextUnit::File), std::string("AFÅ"));  // "AFÃ…" too
  EXPECT_EQ(decodeText("\xC5\x85", TextUnit::File), std::string("Ņ"));      // "Å…" too
  EXPECT_EQ(decodeText("TR\xC6\x97", TextUnit::File), std::string("TRƗ"));  // "TRÆ—" too
}

// UTF-16 (and UTF-32) with its mark, both byte orders, decoded by the same
// reader for every text file; refused (nullopt) when a line in an 8-bit
// encoding was appended: an odd length, CR LF side by side, a last LF beside
// a byte that is not 00, save where Indic letters make these bytes.
TEST(Win1252, Utf16MitMarke) {
  const std::pair<std::string, std::optional<std::string>> faelle[] = {
      {std::string("\xFF\xFEG\0r\0\xFC\0\xDF\0\r\0\n\0", 14), "Grüß\r\n"},
      {std::string("\xFE\xFF\0G\0r\0\xFC\0\xDF\0\r\0\n\xD8\x3D\xDE\x00", 18), "Grüß\r\n\U0001F600"},
      {std::string("\xFF\xFE\x0D\x01", 4), "č"},
      {std::string("\xFF\xFE", 2), ""},
      {std::string("\xFF\xFEk\0\r\0\n\0", 8) + "x", std::nullopt},
      {std::string("\xFF\xFEk\0\r\0\n\0", 8) + "jj=2\r\n", std::nullopt},
      {std::string("\xFF\xFEk\0\r\0\n\0", 8) + "Titel=Neu\n", std::nullopt},
      {std::string("\xFE\xFF\0k\0\n", 6) + "a\nb\n", std::nullopt},
      {std::string("\xFF\xFEk\0\r\0\n\0", 8) + "ab\r\n", std::nullopt},
      // Indic letters that hold the same bytes: Gujarati and Gurmukhi end in
      // 0A (a name without a line end, as Notepad saves it), Malayalam
      // before an LF and "ഊ" in big-endian put 0D and 0A side by side.
      {std::string("\xFF\xFE\x97\x0A\xC1\x0A\x9C\x0A\xA4\x0A", 10), "ગુજત"},
      {std::string("\xFF\xFE \0\x15\x0A", 6), " ਕ"},
      {std::string("\xFF\xFE\x15\x0D\x02\x0D\n\0", 8), "കം\n"},
      {std::string("\xFE\xFF\x0D\x0A\x0D\x15\x04\x0A", 8), "ഊകЊ"},
      // UTF-32, as a few editors save it.
      {std::string("\xFF\xFE\0\0\xFC\0\0\0\x00\xF6\x01\0", 12), "ü\U0001F600"},
      {std::string("\0\0\xFE\xFF\0\0\0\xFC", 8), "ü"},
      {std::string("\xFF\xFE\0\0k\0\0\0", 8) + "Neu\n", std::nullopt},
      {std::string("\xFF\xFE\0\0k\0\0\0", 8) + "Neu", std::nullopt},
  };
  for (const auto& [bytes, text] : faelle) {
    SCOPED_TRACE(::testing::PrintToString(bytes));
    EXPECT_EQ(decodeText(bytes, TextUnit::File), text);
    EXPECT_EQ(decodeText(bytes, TextUnit::Line), text);
  }
  EXPECT_EQ(encodeText("\u00FF\u00FEx", TextUnit::File), "\xEF\xBB\xBF\u00FF\u00FEx");  // "ÿþ" would read as UTF-16
}

// What the writer stores reads back as the text, for every Windows-1252
// letter followed by a punctuation mark or sign whose two bytes are valid
// UTF-8, after an upper-case and a lower-case letter, a line and a file.
// After a capital the mark is needed by the pairs whose UTF-8 reading is a
// Latin-1 character ("Ã¼" reads as "ü") and by those whose reading is a
// letter typed alone amid Latin text ("Ä°" is "İ", "Æ—" is "Ɨ", "É£" is
// "ɣ") unless the sign is one put after a word; German letters with such a
// sign, and "ß" with any, never need it.
TEST(Win1252, SchreibenFragtDenLeser) {
  const std::string kMarke = "\xEF\xBB\xBF";
  const std::string buchstabenOderLeer = "\x81\x83\x8A\x8C\x8D\x8E\x8F\x90\x9A\x9C\x9D\x9E\x9F\xAA\xB5\xBA";
  // … ‹ ‘ ’ “ ” – — ™ › « » and NBSP; after "Ä", whose pairs read as Latin
  // letters typed alone, only … “ ”.
  const std::string nachWort = "\x85\x8B\x91\x92\x93\x94\x96\x97\x99\x9B\xA0\xAB\xBB", nachAe = "\x85\x93\x94";
  int mitMarkeNachGross = 0;
  for (int erstes = 0xC2; erstes <= 0xDF; ++erstes) {
    const bool deutsch = erstes == 0xC4 || erstes == 0xD6 || erstes == 0xDC || erstes == 0xC9 || erstes == 0xDF;
    for (int zweites = 0x80; zweites <= 0xBF && erstes != 0xD7; ++zweites) {
      if (buchstabenOderLeer.find(static_cast<char>(zweites)) != std::string::npos) continue;
      const std::string paar = cp1252ToUtf8(std::string{static_cast<char>(erstes), static_cast<char>(zweites)});
      for (const std::string& text : {"GRU" + paar + ".", "Gru" + paar + ".", "x=GRU" + paar + "\r\ny=" + paar}) {
        for (const TextUnit einheit : {TextUnit::Line, TextUnit::File}) {
          SCOPED_TRACE(text);
          const std::string bytes = encodeText(text, einheit);
          EXPECT_EQ(decodeText(bytes, einheit), text);
          const bool marke = bytes.rfind(kMarke, 0) == 0, nachGross = text[1] == 'R';
          if (nachGross && einheit == TextUnit::File) mitMarkeNachGross += marke;
          const bool zeichenNachWort =
              (erstes == 0xC4 ? nachAe : nachWort).find(static_cast<char>(zweites)) != std::string::npos;
          EXPECT_FALSE(marke && deutsch && ((nachGross && zeichenNachWort) || erstes == 0xDF));
        }
      }
    }
  }
  EXPECT_EQ(mitMarkeNachGross, 748);
  // Outside the code page, a C1 control, a text that begins like the mark.
  EXPECT_EQ(encodeText("a → b", TextUnit::Line), kMarke + "a → b");
  EXPECT_EQ(encodeText("\u0080", TextUnit::File), kMarke + "\u0080");
  EXPECT_EQ(encodeText("ï»¿x", TextUnit::File), kMarke + "ï»¿x");
  EXPECT_EQ(encodeText("Grüße €\r\n", TextUnit::File), "Gr\xFC\xDF" "e \x80\r\n");
}

TEST(Win1252, Utf8AnfangSchneidetKeinZeichen) {
  const std::tuple<std::string, size_t, std::string> faelle[] = {
      {"x\xC3\xA4", 2, "x"}, {"x\xC3\xA4", 3, "x\xC3\xA4"}, {"\xF0\x9F\x98\x80z", 3, ""},
      {"\xBF\xBF\xBF\xBF\xBF\xBF", 5, "\xBF\xBF"},  // no UTF-8: back three at most
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
