// Writing the settings file and the encodings of its values.
#include <gtest/gtest.h>

#include <tuple>

#include "EinstellungsSitzung.h"
#include "generator/Seitenrahmen.h"
#include "platform/IniDatei.h"

namespace mosaik {
namespace {

using test::dateiAblegen;
using test::dateiInhalt;
using test::testdaten;

struct Schreiben : ::testing::Test {
  test::TestUmgebung u;
  test::Sitzung s{u.sv};
  std::string datei(const std::string& name) const { return u.datenOrdner.pfad() + name; }
};

TEST_F(Schreiben, StandardwerteErgebenDieHandgeschriebeneDatei) {
  s.st.BilderOrdnerPfad = "/home/pruefer/Bilder";
  InifileSchreiben(s.k, datei("neu.ini"));
  EXPECT_EQ(dateiInhalt(datei("neu.ini")), dateiInhalt(testdaten("standard.ini")));
  // Writing the same options again over the file changes nothing.
  InifileSchreiben(s.k, datei("neu.ini"));
  EXPECT_EQ(dateiInhalt(datei("neu.ini")), dateiInhalt(testdaten("standard.ini")));
}

TEST_F(Schreiben, VeralteteSchluesselVerschwindenFremdeBleiben) {
  const std::string d = datei("alt.ini");
  dateiAblegen(d, dateiInhalt(testdaten("veraltet.ini")));
  InifileSchreiben(s.k, d);
  IniDatei ini(d);
  // 226 keys of the table plus the one nobody knows; every old key is gone,
  // including those whose names live on in other sections.
  const std::string text = dateiInhalt(d);
  size_t schluessel = 0;
  for (size_t p = text.find('='); p != std::string::npos; p = text.find('=', text.find('\n', p))) ++schluessel;
  EXPECT_EQ(schluessel, 227u);
  const std::tuple<const char*, const char*, std::optional<std::string>> werte[] = {
      {"Layout", "Eigenes", "bleibt"}, {"Layout", "NavOben", std::nullopt}, {"Layout", "Größe", std::nullopt},
      {"Layout", "Startordnername", std::nullopt}, {"Vorschaubilder", "PanoramaExtra", std::nullopt},
      {"OrdnerUndDateien", "PanoramaExtra", "0"}, {"OrdnerUndDateien", "WebUnsicherErsetzen", std::nullopt},
      {"GrosseBilder", "WebUnsicherErsetzen", "1"}, {"Sonstiges", "EinstAutoSpeichern", std::nullopt},
      {"Programm", "EinstAutoSpeichern", "1"}, {"Programm", "TrennungVorne", std::nullopt},
      {"Experten", "TrennungVorne", "("}, {"Texte", "Von", std::nullopt}, {"Texte", "Startordnername", "Startordner"}};
  for (const auto& [sektion, name, wert] : werte) EXPECT_EQ(ini.lesen(sektion, name), wert) << sektion << " " << name;
  // The comment at the top stays where it was.
  EXPECT_EQ(text.substr(0, 2), "; ");
}

TEST_F(Schreiben, KodierungenDerWerte) {
  OptionModel& m = s.m;
  m.setText(Opt::MZTextUebOben, "a\r\nb");
  m.setText(Opt::EdBildSing, " Bild");
  m.setText(Opt::EdBilderPl, "\"Bilder\"");
  m.setText(Opt::EdSeitentitel, "  Titel ");
  m.setText(Opt::EdUeberschrift, "'Fotos'");
  m.setColor(Opt::PanelTextFarbe, 0xFF0000);
  m.setColor(Opt::PanelLinkFarbe, 0x0a0b0c);
  m.setDecimal(Opt::RSpEdVerhaeltnis, Decimal4::fromUnits(15000));
  s.st.BWreal = 4.7;
  s.st.BWumgerechnet = 1.0 / 3.0;
  m.setChecked(Opt::RBHoehe, true);
  m.setChecked(Opt::RBVorschauQuadratisch, true);
  m.setChecked(Opt::RBModusExperte, true);
  m.setChecked(Opt::RBGrossePanoramenBreite, true);
  m.setIndex(Opt::CoBDoctype, 3);
  m.setSpin(Opt::SpEdAbstand1, -1);
  InifileSchreiben(s.k, datei("k.ini"));
  const std::string text = dateiInhalt(datei("k.ini"));
  for (const char* z : {"ZTextUebOben=a#$0D#$0Ab", "BildSing=\" Bild\"", "BilderPl=\"\"\"Bilder\"\"\"",
                        "Titel=\"  Titel \"", "\xDC" "berschrift=\"'Fotos'\"", "FarbeText=#FF0000",
                        "FarbeLink=#0A0B0C", "PanoramaVerh\xE4ltnis=1,5", "BWreal=4,7",
                        "BWumgerechnet=0,333333333333333", "Seite=3", "Programmmodus=2",
                        "Gro\xDF" "ePanoramenSeite=1", "Doctype=3", "Zellenabstand=-1"})
    EXPECT_NE(text.find(std::string("\r\n") + z + "\r\n"), std::string::npos) << z;

  u.sv.locale.decimalSeparator = '.';
  InifileSchreiben(s.k, datei("k.ini"));
  const std::string englisch = dateiInhalt(datei("k.ini"));
  EXPECT_NE(englisch.find("\r\nPanoramaVerh\xE4ltnis=1.5\r\n"), std::string::npos);
  EXPECT_NE(englisch.find("\r\nBWreal=4.7\r\n"), std::string::npos);

  // A long value is written whole.
  std::string lang;
  for (int i = 0; i < 600; ++i) lang += "Zeile\r\n";
  s.m.setText(Opt::MZTextGrossUnten, lang);
  InifileSchreiben(s.k, datei("l.ini"));
  EXPECT_EQ(IniDatei(datei("l.ini")).lesen("ExtraTexte", "ZTextGrossUnten")->size(), 600u * 13);
}

TEST(EinstellungsKodierung, ZeilenumbruecheUndAnfuehrungszeichen) {
  EXPECT_EQ(ZeilenumbruecheMaskieren("a\r\nb\rc\nd"), "a#$0D#$0Ab#$0Dc#$0Ad");
  EXPECT_EQ(ZeilenumbruecheDemaskieren("a#$0D#$0Ab#$0Ac#$0d"), "a\r\nb\nc#$0d");
  using einstellungen::textWert;
  using einstellungen::zitiertLesen;
  using einstellungen::zitiertWert;
  for (const auto& [wert, text] : std::vector<std::pair<std::string, std::string>>{
           {"frei", "frei"}, {"a\"b", "a\"b"}, {"\t", "\"\t\""}, {"\"", "\""}})
    EXPECT_EQ(textWert(wert), text) << wert;
  for (auto [wert, text] : {std::pair{"", "\"\""}, {"\"x", "\"\"x\""}}) EXPECT_EQ(zitiertWert(wert), text);
  for (auto [text, wert] : {std::pair{"\"x\"", "x"}, {"\"x", "\"x"}, {"\"", "\""}}) EXPECT_EQ(zitiertLesen(text), wert);
}

TEST(EinstellungsKodierung, ZahlenUndFarben) {
  using namespace einstellungen;
  for (const auto& [text, wert] : std::vector<std::pair<const char*, int>>{
           {"42", 42}, {"-1", -1}, {"+7", 7}, {"0x1F", 31}, {"0X1f", 31}, {"2147483647", 2147483647},
           {"-2147483648", -2147483647 - 1}})
    EXPECT_EQ(ganzzahlLesen(text), wert) << text;
  EXPECT_EQ(ganzzahlLesen("2147483648"), std::nullopt);
  for (const char* kaputt : {"", "-", "0x", "1.0", "1 ", "x1", "--1", "0x-1", "1e3"})
    EXPECT_EQ(ganzzahlLesen(kaputt), std::nullopt) << kaputt;

  for (auto [wert, trenner, text] : {std::tuple{2.0, ',', "2"}, {1.5, ',', "1,5"}, {-0.25, '.', "-0.25"},
                                     {123456789012345678.0, ',', "1,23456789012346e+17"}})
    EXPECT_EQ(gleitkommaText(wert, trenner), text);
  for (const auto& [text, wert] : std::vector<std::pair<const char*, double>>{
           {"1,5", 1.5}, {"1.5", 1.5}, {"-,5", -0.5}, {"+3", 3.0}, {"1,23456789012346e+17", 123456789012346000.0},
           {"2E3", 2000.0}})
    EXPECT_EQ(gleitkommaLesen(text), wert) << text;
  for (const char* kaputt : {"", ",", "e3", "1e", "nan", "inf", "1,5x", " 1", "1e999", "1.000,5", "1,5.0"})
    EXPECT_EQ(gleitkommaLesen(kaputt), std::nullopt) << kaputt;

  // The colour codes' common cases are tested with the page frame.
  EXPECT_EQ(HTMLFarbe2TColor("§0000FF"), 0x0000FFu);  // the first character is not examined
  for (const char* kaputt : {"#FF00000", "#FF 000"}) EXPECT_EQ(HTMLFarbe2TColor(kaputt), 0xFFFFFFu) << kaputt;
}

}  // namespace
}  // namespace mosaik
