// Key filters and the repairs when a free-text field is left.
#include <tuple>

#include "RegelnTestbasis.h"
#include "platform/Win1252.h"
#include "ui/Feldfilter.h"

namespace mosaik {
namespace {

using Felder = test::Hauptform;

constexpr char32_t kRueckschritt = 8;
constexpr char32_t kStrgV = 22;

// What reaches the field for each typed character ("" when all refused).
std::string tippen(THauptForm& h, Opt feld, std::u32string_view zeichen) {
  std::string out;
  for (char32_t c : zeichen)
    if (char32_t r = h.KeyPress(feld, c)) appendUtf8(out, r);
  return out;
}

TEST_F(Felder, TastenfilterJeFeldfamilie) {
  // Name affixes: the name set and backspace.
  EXPECT_EQ(tippen(haupt, Opt::EdErweiterungVorschaubilder, U"aZ09()-._"), "aZ09()-._");
  EXPECT_EQ(tippen(haupt, Opt::EdErweiterungGrosseBilder, U" /\\äß!€:~中"), "");
  EXPECT_EQ(haupt.KeyPress(Opt::EdErweiterungGrosseBilder, kRueckschritt), kRueckschritt);

  // Start-page name: blank, colon and the separator too; a backslash becomes '/'.
  EXPECT_EQ(tippen(haupt, Opt::EdNameHTML, U"Meine Bilder:\\web/x.htm"), "Meine Bilder:/web/x.htm");
  EXPECT_EQ(tippen(haupt, Opt::EdNameHTML, U"!äé?*"), "");

  // Paths and URLs: the URL set with the umlauts; a backslash becomes '/'.
  for (Opt f : {Opt::EdPfadErsetzung, Opt::EdVorschaulinksErsetzen, Opt::EdOriginalePfadErsetzung,
                Opt::EdHintergrundgrafik, Opt::EdAndereCSSDatei, Opt::EdFavicon, Opt::EdLinkZurueckGrafik,
                Opt::EdLinkZuruekVerlinkteDatei}) {
    EXPECT_EQ(tippen(haupt, f, U"http:\\\\a.b/c&d(e),f;g=h~_ÄÖÜßäöü9Z0-"), "http://a.b/c&d(e),f;g=h~_ÄÖÜßäöü9Z0-")
        << info(f).name;
    EXPECT_EQ(tippen(haupt, f, U" %#?+@!'\"é€中*\r\t"), "") << info(f).name;
  }

  // Extra renaming characters: everything but '.', digits and ASCII letters.
  EXPECT_EQ(tippen(haupt, Opt::EdAndereZeichen, U"!\"§$%&=?*~#':; äé€.5aZ"), "!\"§$%&=?*~#':; äé€");
  EXPECT_EQ(tippen(haupt, Opt::EdAndereZeichen, U"中😀"), "");  // not in Windows-1252

  // Separators: everything but the five refusals.
  for (Opt f : {Opt::EdKlammerAuf, Opt::EdBindestrich, Opt::EdKlammerZu, Opt::EdVerbindungszeichen}) {
    EXPECT_EQ(tippen(haupt, f, U"*,/?\\中"), "") << info(f).name;
    EXPECT_EQ(tippen(haupt, f, U"[]{}_-+ .ä"), "[]{}_-+ .ä") << info(f).name;
  }

  // Quality: digits and backspace.
  EXPECT_EQ(tippen(haupt, Opt::EdKomprimierung, U"1a2 -3"), "123");
  EXPECT_EQ(haupt.KeyPress(Opt::EdKomprimierungGrosseBilder, kRueckschritt), kRueckschritt);

  // Panorama ratio: both marks become the locale's separator.
  EXPECT_EQ(tippen(haupt, Opt::RSpEdVerhaeltnis, U"1.5,2x"), "1,5,2");
  m.setDecimalSeparator('.');
  EXPECT_EQ(tippen(haupt, Opt::RSpEdVerhaeltnis, U"1,5"), "1.5");
  m.setDecimalSeparator(',');

  // The read-me is read, not typed into.
  EXPECT_EQ(tippen(haupt, Opt::MLiesmich, U"a 1"), "");
  EXPECT_EQ(haupt.KeyPress(Opt::MLiesmich, kRueckschritt), 0u);

  // Fields without a filter take everything.
  EXPECT_EQ(tippen(haupt, Opt::EdSeitentitel, U"Ä!中 /"), "Ä!中 /");
}

TEST_F(Felder, ZwischenablageKuerzelPassierenGenauEinmal) {
  // Ctrl+V: the shortcut's own character passes, the next key is filtered.
  haupt.EdHintergrundgrafikKeyDown(Opt::EdHintergrundgrafik, 'V', true);
  EXPECT_TRUE(st.TastenfilterAussetzen);
  EXPECT_EQ(haupt.KeyPress(Opt::EdHintergrundgrafik, kStrgV), kStrgV);
  EXPECT_FALSE(st.TastenfilterAussetzen);
  EXPECT_EQ(haupt.KeyPress(Opt::EdHintergrundgrafik, U' '), 0u);

  // The replacement comes first, also while the filter is skipped.
  haupt.EdHintergrundgrafikKeyDown(Opt::EdNameHTML, 'C', true);
  EXPECT_EQ(haupt.KeyPress(Opt::EdNameHTML, U'\\'), U'/');

  // Other keys, or C/V/X without Ctrl, open nothing.
  haupt.EdHintergrundgrafikKeyDown(Opt::EdFavicon, 'A', true);
  haupt.EdHintergrundgrafikKeyDown(Opt::EdFavicon, 'X', false);
  EXPECT_FALSE(st.TastenfilterAussetzen);
  haupt.EdHintergrundgrafikKeyDown(Opt::EdAndereZeichen, 'X', true);
  EXPECT_TRUE(st.TastenfilterAussetzen);
  EXPECT_EQ(haupt.KeyPress(Opt::EdAndereZeichen, 24), 24u);

  // The quality fields neither set nor read the flag: Ctrl+V is refused
  // there, and a key typed there leaves a pending pass for the next
  // filtered field.
  haupt.EdHintergrundgrafikKeyDown(Opt::EdKomprimierung, 'V', true);
  EXPECT_FALSE(st.TastenfilterAussetzen);
  EXPECT_EQ(haupt.KeyPress(Opt::EdKomprimierung, kStrgV), 0u);
  haupt.EdHintergrundgrafikKeyDown(Opt::EdKlammerAuf, 'V', true);
  EXPECT_EQ(haupt.KeyPress(Opt::EdKomprimierung, U'5'), U'5');
  EXPECT_TRUE(st.TastenfilterAussetzen);
  EXPECT_EQ(haupt.KeyPress(Opt::EdKlammerAuf, U'*'), U'*');
  EXPECT_EQ(haupt.KeyPress(Opt::EdKlammerAuf, U'*'), 0u);
}

TEST_F(Felder, EingefuegterTextWirdWieGetippterGefiltert) {
  for (auto [feld, ein, aus] : {std::tuple{Opt::EdNameHTML, "Meine Bilder!.HTM\r\n", "Meine Bilder.HTM"},
                                {Opt::EdHintergrundgrafik, "bilder\\Hinter grund (1).PNG", "bilder/Hintergrund(1).PNG"},
                                {Opt::EdKomprimierung, "8a0\t", "80"}, {Opt::EdAndereZeichen, "ab!c中#", "!#"},
                                {Opt::MLiesmich, "Text", ""}, {Opt::EdSeitentitel, "Ä\tB", "Ä\tB"}})
    EXPECT_EQ(haupt.einfuegen(feld, ein), aus) << info(feld).name;
  // Pasting does not consume a pending clipboard pass.
  st.TastenfilterAussetzen = true;
  haupt.einfuegen(Opt::EdFavicon, "x y");
  EXPECT_TRUE(st.TastenfilterAussetzen);
}

TEST_F(Felder, StartseitenName) {
  auto verlassen = [&](const std::string& text) { return Hauptform::verlassen(Opt::EdNameHTML, text); };
  m.setEnabled(Opt::BitBErgebnisAnsehen, true);
  EXPECT_EQ(verlassen("Meine Bilder!.HTM"), "MeineBilder.HTM");
  EXPECT_FALSE(en(Opt::BitBErgebnisAnsehen));  // the last result no longer matches
  EXPECT_EQ(m.text(Opt::LHTMLName), "MeineBilder");
  EXPECT_EQ(m.text(Opt::LHTMLEndung), ".HTM");
  EXPECT_EQ(m.text(Opt::CBGrundnameistIndex), "Startseite heißt &index.HTM");
  // With nothing left but the extension: the standard name.
  for (auto [ein, aus] : {std::pair{"galerie", "galerie.htm"}, {"galerie.html", "galerie.html"}, {"g.XHTML", "g.XHTML"},
                          {"index.php", "index.php"}, {"bild.jpg", "bild.jpg.htm"}, {".php", "meinebilder.htm"},
                          {".HTML", "meinebilder.htm"}, {"ä!", "meinebilder.htm"}})
    EXPECT_EQ(verlassen(ein), aus) << ein;
  EXPECT_EQ(m.text(Opt::LHTMLName), "meinebilder");
  EXPECT_TRUE(st.HTMLOrdnerPfad.empty());

  // A typed path whose folder exists sets the HTML folder.
  const std::string ziel = bilder.pfad() + "web seite/";
  fs::forceDirectories(ziel);
  EXPECT_EQ(verlassen(ziel + "start"), "start.htm");
  EXPECT_EQ(st.HTMLOrdnerPfad, ziel);
  EXPECT_EQ(m.text(Opt::EdHTMLPfadname), ziel);
  EXPECT_EQ(m.text(Opt::EdVorschauPfadname), ziel + "_vorschau");
  // Relative to the current folder (the picture folder).
  fs::forceDirectories(bilder.pfad() + "rel");
  EXPECT_EQ(verlassen("rel/x.php"), "x.php");
  EXPECT_EQ(st.HTMLOrdnerPfad, bilder.pfad() + "rel/");
  // A folder that does not exist is dropped, also the Windows path of an
  // older settings file, which never passed the key filter.
  EXPECT_EQ(verlassen(bilder.pfad() + "fehlt/neu.htm"), "neu.htm");
  EXPECT_EQ(verlassen("C:\\Daten\\web\\xyz"), "xyz.htm");
  EXPECT_EQ(verlassen("web\\x\\"), "meinebilder.htm");
  EXPECT_EQ(st.HTMLOrdnerPfad, bilder.pfad() + "rel/");
  // Its folder part as typed, when that folder exists.
  fs::forceDirectories(bilder.pfad() + "alt");
  EXPECT_EQ(verlassen("alt\\y"), "y.htm");
  EXPECT_EQ(st.HTMLOrdnerPfad, bilder.pfad() + "alt/");
}

TEST_F(Felder, ZusaetzePfadeUndDateiverweise) {
  EXPECT_EQ(verlassen(Opt::EdErweiterungVorschaubilder, "mini ä-!_(1)"), "mini-_(1)");
  EXPECT_EQ(verlassen(Opt::EdErweiterungGrosseBilder, "gross/"), "gross");

  for (Opt f : {Opt::EdPfadErsetzung, Opt::EdVorschaulinksErsetzen, Opt::EdOriginalePfadErsetzung}) {
    EXPECT_EQ(verlassen(f, "http:\\\\server\\bilder"), "http://server/bilder/") << info(f).name;
    EXPECT_EQ(verlassen(f, "../a b%c/"), "../abc/") << info(f).name;
    EXPECT_EQ(verlassen(f, "!"), "") << info(f).name;
  }

  // File references: web form, letter case kept; emptied, their option goes
  // off (the style sheet's without opening its chooser).
  const std::tuple<Opt, Opt, const char*, const char*, bool> verweise[] = {
      {Opt::EdHintergrundgrafik, Opt::CBHintergrundgrafik, "Bilder\\Hinter Grund.PNG", "Bilder/HinterGrund.PNG", true},
      {Opt::EdHintergrundgrafik, Opt::CBHintergrundgrafik, " %", "", false},
      {Opt::EdAndereCSSDatei, Opt::CBAndereCSSDatei, "", "", false},
      {Opt::EdFavicon, Opt::CBFavicon, "https://mosaikschauer.example/f.ico", "https://mosaikschauer.example/f.ico", true},
      {Opt::EdFavicon, Opt::CBFavicon, "", "", false},
      {Opt::EdLinkZurueckGrafik, Opt::CBLinkZureckGrafikLink, "", "", false},
      {Opt::EdLinkZurueckText, Opt::CBLinkZurueckTextlink, "Heim", "Heim", true},
      {Opt::EdLinkZurueckText, Opt::CBLinkZurueckTextlink, "", "", false},
  };
  for (const auto& [feld, option, ein, aus, bleibt] : verweise) {
    st.CSSKlickAktiv = false;
    m.setChecked(option, true);
    st.CSSKlickAktiv = true;
    EXPECT_EQ(verlassen(feld, ein), aus) << info(feld).name;
    EXPECT_EQ(m.checked(option), bleibt) << info(feld).name << " " << ein;
  }
  EXPECT_TRUE(st.CSSKlickAktiv);
  EXPECT_TRUE(u.dialoge.meldungen.empty());
  // An emptied link kind hands the focus to the other one.
  EXPECT_EQ(fokusVerlauf, (std::vector<Opt>{Opt::CBLinkZurueckTextlink, Opt::CBLinkZureckGrafikLink}));

  EXPECT_EQ(verlassen(Opt::EdLinkZuruekVerlinkteDatei, ""), "../index.htm");
  EXPECT_EQ(verlassen(Opt::EdLinkZuruekVerlinkteDatei, "?"), "../index.htm");
  EXPECT_EQ(verlassen(Opt::EdLinkZuruekVerlinkteDatei, "..\\Start.PHP"), "../Start.PHP");

  EXPECT_EQ(verlassen(Opt::EdAndereZeichen, "!a.b5§ä中#"), "!§ä#");
}

TEST_F(Felder, Trennzeichen) {
  // Only the first character is tested; a refused or empty one gets the field's standard.
  const std::tuple<Opt, const char*, const char*> faelle[] = {
      {Opt::EdKlammerAuf, "", "("}, {Opt::EdKlammerAuf, " x", "("}, {Opt::EdKlammerAuf, "/", "("},
      {Opt::EdKlammerAuf, "[a", "[a"}, {Opt::EdBindestrich, "", "-"}, {Opt::EdBindestrich, "*", "-"},
      {Opt::EdBindestrich, "_", "_"}, {Opt::EdKlammerZu, "", ""}, {Opt::EdKlammerZu, "?", ")"},
      {Opt::EdKlammerZu, "]", "]"}, {Opt::EdVerbindungszeichen, "", ""}, {Opt::EdVerbindungszeichen, ",", "-"},
      {Opt::EdVerbindungszeichen, "\\", "-"}, {Opt::EdVerbindungszeichen, "中", "-"},
      {Opt::EdVerbindungszeichen, "~", "~"},
  };
  for (const auto& [f, ein, aus] : faelle) EXPECT_EQ(verlassen(f, ein), aus) << info(f).name << " " << ein;
}

TEST_F(Felder, QualitaetUndSchieberImGleichschritt) {
  EXPECT_EQ(verlassen(Opt::EdKomprimierung, "abc"), "25");
  EXPECT_EQ(verlassen(Opt::EdKomprimierung, "150"), "100");
  EXPECT_EQ(m.position(Opt::TrBKomprimierung), 100);
  EXPECT_EQ(verlassen(Opt::EdKomprimierung, "0"), "1");
  EXPECT_EQ(verlassen(Opt::EdKomprimierung, ""), "25");
  EXPECT_EQ(verlassen(Opt::EdKomprimierung, "99999999999999999999"), "25");
  EXPECT_EQ(verlassen(Opt::EdKomprimierungGrosseBilder, "x1"), "15");
  EXPECT_EQ(verlassen(Opt::EdKomprimierungGrosseBilder, "07"), "7");
  EXPECT_EQ(m.position(Opt::TrBKomprimierungGrosseBilder), 7);

  // While typing: a whole number moves the slider, anything else is ignored.
  m.setText(Opt::EdKomprimierung, "60");
  EXPECT_EQ(m.position(Opt::TrBKomprimierung), 60);
  m.setText(Opt::EdKomprimierung, "6x");
  EXPECT_EQ(m.position(Opt::TrBKomprimierung), 60);
  EXPECT_EQ(m.text(Opt::EdKomprimierung), "6x");
  m.setPosition(Opt::TrBKomprimierung, 70);
  EXPECT_EQ(m.text(Opt::EdKomprimierung), "70");
  m.setPosition(Opt::TrBKomprimierungGrosseBilder, 33);
  EXPECT_EQ(m.text(Opt::EdKomprimierungGrosseBilder), "33");
}

TEST_F(Felder, PanoramaVerhaeltnisAufZweiStellen) {
  // A tie goes to the even neighbour; no number reads as the minimum.
  for (auto [ein, aus] : {std::pair{"1,777", "1,78"}, {"1,775", "1,78"}, {"1,765", "1,76"}, {"1,7651", "1,77"},
                          {"2,0049", "2"}, {"abc", "1,1"}, {"25", "10"}})
    EXPECT_EQ(verlassen(Opt::RSpEdVerhaeltnis, ein), aus) << ein;
}

TEST_F(Felder, LeereTexteBekommenIhrenStandard) {
  // The standard of each text is the one the defaults set (the handwritten
  // standard settings file fixes those).
  std::vector<std::pair<Opt, std::string>> texte;
  for (Opt feld : {Opt::EdSeitentitel, Opt::EdStartordnerName, Opt::EdDieserOrdner, Opt::EdUnterordnerSing,
                   Opt::EdUnterordnerPl, Opt::EdBildSing, Opt::EdBilderPl, Opt::EdKeineBilddateien, Opt::EdNachOben,
                   Opt::EdErstelltMit, Opt::EdAudiodatei, Opt::EdTextdatei, Opt::EdVideodatei, Opt::EdBilderCopyright})
    texte.emplace_back(feld, m.text(feld));
  for (const auto& [feld, standard] : texte) {
    ASSERT_FALSE(standard.empty()) << info(feld).name;
    EXPECT_EQ(verlassen(feld, "eigen"), "eigen") << info(feld).name;
    EXPECT_EQ(verlassen(feld, ""), standard) << info(feld).name;
  }
  // The standard button restores the output texts at once, not the title.
  for (const auto& [feld, standard] : texte) m.setText(feld, "x<br />y");
  m.run(Opt::BStandard, Ev::Click);
  for (const auto& [feld, standard] : texte)
    EXPECT_EQ(m.text(feld), feld == Opt::EdSeitentitel ? "x<br />y" : standard) << info(feld).name;
}

// The reader runs the checks of the fields it fills.
TEST_F(Felder, PruefungenNachDemLesen) {
  einstellungenLesen(
      "[OrdnerUndDateien]\r\nHTMLName=Meine Galerie!\r\nBilderPfadErsetzung=ftp:\\\\server\\x\r\n"
      "[GrosseBilder]\r\nAndereZeichen=ab#\r\nErweiterung=../../../A/\r\nErweiterungVorne=1\r\n"
      "[Vorschaubilder]\r\nVorschaunameErweiterung=\\..\\klein ä/\r\n"
      "[Experten]\r\nTrennungVorne=[[\r\nTrennungHinten=?\r\nTrennungMitte=\r\n");
  for (auto [feld, text] : {std::pair{Opt::EdNameHTML, "MeineGalerie.htm"}, {Opt::LHTMLName, "MeineGalerie"},
                            {Opt::EdPfadErsetzung, "ftp://server/x/"}, {Opt::EdAndereZeichen, "#"},
                            {Opt::EdErweiterungVorschaubilder, "..klein"}, {Opt::EdErweiterungGrosseBilder, "......A"},
                            {Opt::EdKlammerAuf, "["},
                            {Opt::EdKlammerZu, ")"}, {Opt::EdBindestrich, "-"}})
    EXPECT_EQ(m.text(feld), text) << info(feld).name;
}

}  // namespace
}  // namespace mosaik
