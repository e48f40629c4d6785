// Reading settings files: round trip, the fallbacks of older versions, the
// reading rules of every encoding, guards. That the window follows what was
// read shows with the rules (tests/ui/test_regeln.cpp).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "AlsNobody.h"
#include "EinstellungsSitzung.h"
#include "platform/FileSystem.h"
#include "platform/IniDatei.h"

namespace mosaik {
namespace {

using test::dateiAblegen;
using test::dateiInhalt;
using test::testdaten;

// The value controls the settings file does not hold (CBCopyright the reader
// switches on whatever the file says; a radio group is compared through the
// member it is named after).
bool nichtGespeichert(Opt o) {
  static const std::set<Opt> kNicht = [] {
    std::set<Opt> s;
    for (const char* n : {
             "EdBilderPfad", "RBStrukturOrdner", "EdKomprimierung", "RBhinten", "RBVerklMethKleinEinfach",
             "RBVorschauhintergrundFarbe", "RBPanoramaHoehe", "RBPanoramaVorschauEinigeSpalten",
             "EdKomprimierungGrosseBilder", "RBhintenGrosseBilder", "RBVerklMethGrossEinfach",
             "RBPanoramaHoeheGrosseBilder", "RBOrdnerZeilenweise", "RBZeilenzahl", "RBOrdnerSortierenNachDatum",
             "RBdummy1", "RBDummy2", "RBZTextUebObenAufJederSeite", "RBZTextUebUntenAufJederSeite", "CBCopyright",
             "RBLinkZurueckAufJederSeite", "MNeuerHeader", "MNeuerDateiabschluss", "MangepassteCSSDatei",
             "RBNavUebGrafiklinks", "RBUebGrafikIndividuell", "RBNavGrGrafiklinks", "RBGrossGrafikIndividuell",
             "CBDesktopVerknuepfung", "CBStartmenueVerknuepfung", "MLiesmich",
             "CBkleineBilderVergroessernGrosseBilder", "EdHTMLPfadname", "EdgrosseBilderPfadname",
             "EdVorschauPfadname",
         })
      if (const auto o = optByName(n))
        s.insert(*o);
      else
        ADD_FAILURE() << "no control " << n;
    return s;
  }();
  return kNicht.count(o) != 0;
}

// What a control shows, as a text; a radio member: which member of its group is on.
std::optional<std::string> zustand(const OptionModel& m, Opt o) {
  switch (info(o).kind) {
    case Kind::CheckBox: return m.checked(o) ? "an" : "aus";
    case Kind::Radio: {
      const Opt an = m.radioChoice(info(o).radioGroup);
      return an == Opt::Count ? std::string("keiner") : std::string(info(an).name);
    }
    case Kind::Text:
    case Kind::Memo:
    case Kind::SizeText:
    case Kind::FontName: return m.text(o);
    case Kind::Spin: return std::to_string(m.spin(o));
    case Kind::Decimal: return std::to_string(m.decimal(o).units());
    case Kind::ListIndex: return std::to_string(m.index(o));
    case Kind::Colour: return std::to_string(m.color(o));
    case Kind::Slider: return std::to_string(m.position(o));
    default: return std::nullopt;
  }
}

// Every stored value, by name (a radio group by its first member).
std::map<std::string, std::string> werte(const OptionModel& m, const AppState& st) {
  std::map<std::string, std::string> w;
  for (int i = 0; i < kOptCount; ++i) {
    const Opt o = static_cast<Opt>(i);
    const bool gruppenglied = info(o).kind == Kind::Radio && info(o).radioGroup != o;
    if (nichtGespeichert(o) || gruppenglied) continue;
    if (const auto z = zustand(m, o)) w[std::string(info(o).name)] = *z;
  }
  w["BilderOrdnerPfad"] = st.BilderOrdnerPfad;
  w["HTMLOrdnerPfad"] = st.HTMLOrdnerPfad;
  w["GrosseBilderpfad"] = st.GrosseBilderpfad;
  w["Vorschaubilderpfad"] = st.Vorschaubilderpfad;
  w["BWreal"] = std::to_string(st.BWreal);
  w["BWumgerechnet"] = std::to_string(st.BWumgerechnet);
  return w;
}

// Boxes on, boxes off, texts: as expected.
void pruefen(const OptionModel& m, std::initializer_list<Opt> an, std::initializer_list<Opt> aus,
             std::initializer_list<std::pair<Opt, std::string>> texte) {
  for (const Opt o : an) EXPECT_TRUE(m.checked(o)) << info(o).name;
  for (const Opt o : aus) EXPECT_FALSE(m.checked(o)) << info(o).name;
  for (const auto& [o, t] : texte) EXPECT_EQ(m.text(o), t) << info(o).name;
}

struct Lesen : test::ImArbeitsordner {
  std::string datei(const std::string& name) const { return u.datenOrdner.pfad() + name; }
  std::string arbeitsordner() const {
    std::string p = fs::currentFolder();
    p.pop_back();
    return p;
  }
  // A settings file made by the test, read into s.
  void lesen(test::Sitzung& s, const std::string& inhalt) {
    dateiAblegen(datei("t.ini"), inhalt);
    IniFileLesen(s.k, datei("t.ini"));
  }
};

// Every stored option set away from its default, with texts that test the
// encodings: blanks at both ends, quotes, line breaks (in the memos of the
// extra texts and caption templates, the masked ones), a mask code elsewhere, '=', umlauts and, in the
// first run, a character Windows-1252 does not have.
void alleOptionenAendern(test::Sitzung& s, const std::string& bilderordner, bool ausserhalbCp1252) {
  OptionModel& m = s.m;
  const std::vector<std::string> texte = {
      " Anfang und Ende\t", "\"in Anführungszeichen\"", "'einfach'", "bleibt #$0A#$0D",
      ausserhalbCp1252 ? "Umlaute äöüß € und ✓" : "Umlaute äöüß € und ©", "=gleich=[Sektion]; #x",
      "\"halb", "Größe"};
  const std::set<Opt> maskiert = {Opt::MZTextUebOben,    Opt::MZTextUebUnten, Opt::MZTextGrossOben,
                                  Opt::MZTextGrossUnten, Opt::MBeschreibung,  Opt::MBeschreibungGross};
  // Each radio group gets a member other than its default.
  std::map<Opt, std::vector<Opt>> gruppen;
  for (int i = 0; i < kOptCount; ++i) {
    const Opt o = static_cast<Opt>(i);
    if (info(o).kind == Kind::Radio) gruppen[info(o).radioGroup].push_back(o);
  }
  for (const auto& [gruppe, glieder] : gruppen)
    m.setChecked(m.radioChoice(gruppe) == glieder.back() ? glieder.front() : glieder.back(), true);
  int n = 0;
  for (int i = 0; i < kOptCount; ++i) {
    const Opt o = static_cast<Opt>(i);
    if (nichtGespeichert(o)) continue;
    switch (info(o).kind) {
      case Kind::CheckBox: m.setChecked(o, !m.checked(o)); break;
      case Kind::Text:
      case Kind::Memo:
      case Kind::SizeText:
      case Kind::FontName:
        m.setText(o, maskiert.count(o) ? "Zeile 1\r\n\r\nZeile 3\r\n" : texte[n++ % texte.size()]);
        break;
      case Kind::Spin: {
        const int64_t v = m.minValue(o) + 2 + n++ % 5;
        m.setSpin(o, v == m.spin(o) ? v + 1 : v);
        break;
      }
      case Kind::Slider: m.setPosition(o, 60 + n++ % 30); break;
      case Kind::ListIndex: m.setIndex(o, static_cast<int>(m.items(o).size()) - 1); break;
      case Kind::Colour: m.setColor(o, 0x102030u * static_cast<uint32_t>(1 + n++ % 7)); break;
      case Kind::Decimal: m.setDecimal(o, Decimal4::fromUnits(15125)); break;
      default: break;
    }
  }
  // Separators keep one character; a panorama spans at most the columns; of
  // the two robot options only one can be on.
  m.setText(Opt::EdKlammerAuf, ausserhalbCp1252 ? "✓" : "[");
  m.setText(Opt::EdKlammerZu, "]");
  m.setText(Opt::EdBindestrich, "ä");
  m.setText(Opt::EdVerbindungszeichen, "\"");
  m.setSpin(Opt::SpEdSpaltenzahl, 9);
  m.setSpin(Opt::SpEdAnzPanoSpalten, 5);
  m.setChecked(Opt::CBSuchrobotorEinladen, false);
  s.st.BilderOrdnerPfad = bilderordner;
  s.st.HTMLOrdnerPfad = "/srv/www/galerie ä";
  s.st.GrosseBilderpfad = "/srv/groß#$0Azwei";
  s.st.Vorschaubilderpfad = "/srv/vorschau ";
  s.st.BWreal = 4.7;
  s.st.BWumgerechnet = 28.125;
}

TEST_F(Lesen, RundreiseMitBeidenDezimaltrennern) {
  for (const char trenner : {',', '.'}) {
    SCOPED_TRACE(trenner);
    u.sv.locale.decimalSeparator = trenner;
    const std::string bilder = arbeit.pfad() + "Bilder ä";
    ASSERT_TRUE(fs::forceDirectories(bilder));
    test::Sitzung quelle(u.sv);
    alleOptionenAendern(quelle, bilder, trenner == ',');
    const auto vorher = werte(quelle.m, quelle.st);
    // The standard file: the settings location is taken from no other.
    const std::string d = u.programmOrdner.pfad() + "Mosaikschauer.ini";
    InifileSchreiben(quelle.k, d);
    // UTF-8 only when a character needs it.
    EXPECT_EQ(dateiInhalt(d).rfind("\xEF\xBB\xBF", 0) == 0, trenner == ',');

    test::Sitzung ziel(u.sv);
    IniFileLesen(ziel.k, d);
    const auto nachher = werte(ziel.m, ziel.st);
    for (const auto& [name, wert] : vorher) EXPECT_EQ(nachher.at(name), wert) << name;
    // The defaults differed from every value compared (else the trip proves nothing).
    test::Sitzung standard(u.sv);
    const auto std = werte(standard.m, standard.st);
    for (const auto& [name, wert] : vorher)
      if (name != "CBSuchrobotorEinladen") {
        EXPECT_NE(std.at(name), wert) << name;
      }
    EXPECT_TRUE(u.dialoge.meldungen.empty());
  }
}

TEST_F(Lesen, AlteVersionMitAltenSchluesseln) {
  test::Sitzung s(u.sv);
  const std::string d = datei("alt.ini");
  dateiAblegen(d, dateiInhalt(testdaten("alt.ini")));
  IniFileLesen(s.k, d);
  const OptionModel& m = s.m;
  EXPECT_EQ(s.st.HTMLOrdnerPfad, "/srv/galerie");
  EXPECT_EQ(s.st.BilderOrdnerPfad, arbeitsordner());
  EXPECT_EQ(m.text(Opt::EdBilderPfad), arbeitsordner());
  pruefen(m, {Opt::CBAndereZeichen, Opt::CBSchreibschutzdateienUmbenennen, Opt::CBZTextUebOben,
              Opt::RBZTextUebObenAufJederSeite, Opt::CBNavigationUnten, Opt::CBAndereCSSDatei, Opt::CBFavicon},
          {Opt::CBUngueltigeNamenErsetzen, Opt::CBKleineDateinamen, Opt::CBLeerzeichenErsetzen, Opt::CBUmlauteErsetzen,
           Opt::CBdirinfoeinbinden, Opt::CBNavigationOben, Opt::CBNavigationGrosseBilder,
           Opt::CBEinstellungenAutomatischSpeichern},
          {{Opt::EdAndereZeichen, "#+"}, {Opt::EdKomprimierung, "30"},
           {Opt::MZTextUebOben, "Erste Zeile\r\nZweite Zeile"}, {Opt::EdBlaetternZurueck, "vorige"},
           {Opt::EdBlaetternVor, "nächste"}, {Opt::EdnavGrossZurueck, "<< zurück"},
           {Opt::EdnavGrossUebersicht, " Übersicht "}, {Opt::EdnavGrossWeiter, "vor >>"},
           {Opt::EdAndereCSSDatei, "alt.css"}, {Opt::EdFavicon, "/fav.ico"}, {Opt::EdKlammerAuf, "["},
           {Opt::EdBindestrich, "-"}, {Opt::EdKlammerZu, ">"}, {Opt::EdVerbindungszeichen, "_"}});
  EXPECT_EQ(m.position(Opt::TrBKomprimierung), 30);  // "0x1E"
  EXPECT_EQ(m.decimal(Opt::RSpEdVerhaeltnis).units(), 20000);  // a former place that is not read
  EXPECT_EQ(m.spin(Opt::SpEdAbstand1), 4);
  EXPECT_EQ(m.spin(Opt::SpEdAbstand2), 2);
  // The style-sheet box was set with its guard off: no warning of its handler.
  EXPECT_EQ(s.protokoll.cssGuardBeiKlick, (std::vector<bool>{false, false, false}));  // set, run, run again
  EXPECT_TRUE(u.dialoge.meldungen.empty());

  // Saving moves the values to their current places and drops the old ones.
  InifileSchreiben(s.k, d);
  IniDatei neu(d);
  EXPECT_EQ(neu.lesen("Navigation", "ÜbNavOben"), "0");
  EXPECT_EQ(neu.lesen("Layout", "NavOben"), std::nullopt);
  EXPECT_NE(dateiInhalt(d).find("\r\nGro\xDF\xDC" "bersicht=\" \xDC" "bersicht \"\r\n"), std::string::npos);
  EXPECT_EQ(neu.lesen("Layout", "Unbekannt"), "bleibt");
  EXPECT_EQ(neu.lesen("Vorschaubilder", "PanoramaVerhältnis"), std::nullopt);
  EXPECT_EQ(neu.lesen("Vorschaubilder", "ThumbsLöschen"), std::nullopt);
  EXPECT_EQ(neu.lesen("Mosaikschauer", "Version"), "2.6.1");
}

TEST_F(Lesen, LeereDateiSetztNurDiePfade) {
  test::Sitzung s(u.sv);
  s.m.setChecked(Opt::CBCopyright, false);
  s.st.HTMLOrdnerPfad = "/srv/html/";
  s.st.BilderOrdnerPfad = "/gibt/es/nicht";
  auto vorher = werte(s.m, s.st);
  lesen(s, "");
  auto nachher = werte(s.m, s.st);
  EXPECT_TRUE(s.m.checked(Opt::CBCopyright));
  EXPECT_EQ(nachher["HTMLOrdnerPfad"], "/srv/html");
  EXPECT_EQ(nachher["BilderOrdnerPfad"], arbeitsordner());
  vorher.erase("HTMLOrdnerPfad");
  vorher.erase("BilderOrdnerPfad");
  for (const auto& [name, wert] : vorher) EXPECT_EQ(nachher.at(name), wert) << name;

  // A second empty read changes nothing and asks nothing.
  lesen(s, "\r\n");
  EXPECT_EQ(werte(s.m, s.st), nachher);
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

// One reading rule a row: the file (each read into a session with every
// group away from the member an unknown code selects; a code of the member
// already on must not switch on another), the control or stored value, what
// it shows then.
TEST_F(Lesen, Leseregeln) {
  const std::string lang(5000, 'x');
  ASSERT_TRUE(fs::forceDirectories(arbeit.pfad() + "fotos"));
  dateiAblegen(arbeit.pfad() + "hg\\x.gif", "GIF");
  struct Regel {
    std::string datei;
    std::string name;
    std::string erwartet;
  };
  const std::vector<Regel> regeln = {
      {"[OrdnerUndDateien]\r\nPanoramaVerhältnis=12", "RSpEdVerhaeltnis", "100000"},
      {"[OrdnerUndDateien]\r\nUnterverzeichnisse=abc", "CBmitUnterverzeichnissen", "an"},
      {"[OrdnerUndDateien]\r\nOriginaleVerkleinern=-1", "CBOriginaleVerkleinern", "an"},
      {"[OrdnerUndDateien]\r\nExtJPG=0x0", "CBTypJpg", "aus"},
      {"[OrdnerUndDateien]\r\nStartIndex=2", "CBGrundnameistIndex", "an"},
      {"[OrdnerUndDateien]\r\nHTMLPfad=C:\\Web\\galerie\\", "HTMLOrdnerPfad", ""},
      {"[OrdnerUndDateien]\r\nHTMLPfad=Web\\galerie", "HTMLOrdnerPfad", ""},
      // Relative folders count from where reading began; Windows paths in
      // every path key are no choice, a backslash name that is there is one.
      {"[OrdnerUndDateien]\r\nHTMLPfad=web/", "HTMLOrdnerPfad", arbeit.pfad() + "web"},
      {"[OrdnerUndDateien]\r\nOrdner=fotos", "BilderOrdnerPfad", arbeit.pfad() + "fotos"},
      {"[OrdnerUndDateien]\r\nGrosseBilderpfad=../gross", "GrosseBilderpfad", arbeit.pfad() + "../gross"},
      // A NUL (a damaged file) ends the value, as the file system would.
      {"[OrdnerUndDateien]\r\nOrdner=fotos" + std::string(1, '\0') + "/sub", "BilderOrdnerPfad",
       arbeit.pfad() + "fotos"},
      {"[OrdnerUndDateien]\r\nGrosseBilderpfad=C:\\Web\\galerie\\_gross", "GrosseBilderpfad", ""},
      {"[OrdnerUndDateien]\r\nVorschaubilderpfad=galerie\\_vorschau", "Vorschaubilderpfad", ""},
      {"[Experten]\r\nandereCSSDatei=D:\\web\\a.css", "EdAndereCSSDatei", ""},
      {"[Navigation]\r\nGroßGrafikWeiter=grafik\\weiter.gif", "EdGrafikGrossWeiter", ""},
      {"[FarbenUndFonts]\r\nHintergrund=hg\\x.gif", "EdHintergrundgrafik", "hg\\x.gif"},
      {"[Vorschaubilder]\r\nKomprimierung=150", "TrBKomprimierung", "100"},
      {"[Vorschaubilder]\r\nKomprimierung=150", "EdKomprimierung", "100"},
      {"[Vorschaubilder]\r\nGröße=5", "SpEdGroesse", "10"},
      {"[Layout]\r\nAnzSpalten=3\r\n[Vorschaubilder]\r\nPanoramaAnzSpalten=9", "SpEdAnzPanoSpalten", "3"},
      {"[Layout]\r\nAnzSpalten=1\r\n[Vorschaubilder]\r\nPanoramaAnzSpalten=9", "SpEdAnzPanoSpalten", "1"},
      {"[Vorschaubilder]\r\nSeite=7", "RBBreite", "RBLaengereSeite"},
      {"[Vorschaubilder]\r\nSeite=3", "RBBreite", "RBVorschauQuadratisch"},
      {"[Vorschaubilder]\r\nSeite=2", "RBBreite", "RBHoehe"},
      {"[Vorschaubilder]\r\nSeite=1", "RBBreite", "RBBreite"},
      {"[Vorschaubilder]\r\nGroßeBilderSeite=5", "RBGrosseBilderHoehe", "RBGrosseBilderLaengereSeite"},
      {"[Vorschaubilder]\r\nGroßeBilderSeite=1", "RBGrosseBilderHoehe", "RBGrosseBilderBreite"},
      {"[Vorschaubilder]\r\nGroßePanoramenSeite=-2", "RBGrossePanoramenHoehe", "RBGrossePanoramenBreite"},
      {"[Vorschaubilder]\r\nGroßePanoramenSeite=0", "RBGrossePanoramenHoehe", "RBGrossePanoramenBreite"},
      {"[GrosseBilder]\r\nSeite=2", "RBBreiteGrosseBilder", "RBHoeheGrosseBilder"},
      {"[GrosseBilder]\r\nSeite=1", "RBBreiteGrosseBilder", "RBBreiteGrosseBilder"},
      {"[Layout]\r\nTitel=x", "RBBreiteGrosseBilder", "RBLaengereSeiteGrosseBilder"},
      {"[Layout]\r\nFensterNavigation=5", "CoBFensterNavigation", "1"},
      {"[Layout]\r\nFensterNavigation=0", "CoBFensterNavigation", "0"},
      {"[Layout]\r\nBWreal=abc", "BWreal", "5.000000"},
      {"[Layout]\r\nBWumgerechnet=50,5", "BWumgerechnet", "50.500000"},
      {"[Layout]\r\ncellspacingIE=1", "cellspacingIE", "an"},
      {"[Layout]\r\nBildbeschreibungGroß=" + lang, "MBeschreibungGross", lang},
      {"[Layout]\r\nVerlinkung=9", "RBLinkAufBilddatei", "RBnichtverlinken"},
      {"[Layout]\r\nVerlinkung=0", "RBLinkAufBilddatei", "RBnichtverlinken"},
      {"[Layout]\r\nVerlinkung=2", "RBLinkAufBilddatei", "RBProBildEineHTMLDatei"},
      {"[Layout]\r\nSortDateienNach=3", "RBDateienSortierenNachGroesse", "RBDateienSortierenNachName"},
      {"[Layout]\r\nSortDateienNach=1", "RBDateienSortierenNachGroesse", "RBDateienSortierenNachDatum"},
      {"[Layout]\r\nTitel=A#$0AB", "EdSeitentitel", "A#$0AB"},
      // A line typed in a UTF-8 terminal into a file of the code page.
      {"[Layout]\r\nTitel=Grüße aus Köln\r\n\xDC" "berschrift=Stra\xDF" "e", "EdSeitentitel", "Grüße aus Köln"},
      {"[Layout]\r\nTitel=Grüße aus Köln\r\n\xDC" "berschrift=Stra\xDF" "e", "EdUeberschrift", "Straße"},
      {"[FarbenUndFonts]\r\nMitHintergrund=1\r\nHintergrund=", "CBHintergrundgrafik", "aus"},
      {"[FarbenUndFonts]\r\nFont1=6", "CoBUebWeicheSchriftart", "0"},
      {"[FarbenUndFonts]\r\nFont1Schnitt=4", "CoBUebSchriftschnitt", "4"},
      {"[FarbenUndFonts]\r\nFont1Schnitt=-1", "CoBUebSchriftschnitt", "0"},
      {"[FarbenUndFonts]\r\nFont1Schnitt=1", "CoBUebSchriftschnitt", "1"},
      {"[FarbenUndFonts]\r\nFont2=-1", "CoBRestWeicheSchriftart", "0"},
      {"[FarbenUndFonts]\r\nFont2Schnitt=2", "CoBRestSchriftschnitt", "2"},
      {"[FarbenUndFonts]\r\nFont1Größe=", "CoBUebGroesse", "Standard"},
      {"[FarbenUndFonts]\r\nFont1Größe2=3em", "CoBUnterUebGroesse", "3em"},
      {"[FarbenUndFonts]\r\nFont1Text=", "CoBUeberschrift", "Arial"},
      {"[FarbenUndFonts]\r\nFont2Text=DejaVu Serif", "CoBResttext", "DejaVu Serif"},
      {"[FarbenUndFonts]\r\nFarbeLink=#zz0000", "PanelLinkFarbe", "16777215"},
      {"[FarbenUndFonts]\r\nFarbeText=x00FF00", "PanelTextFarbe", "65280"},
      {"[ExtraTexte]\r\nZTextUebUnten=Vier #$0A Umbruch", "MZTextUebUnten", "Vier \n Umbruch"},
      {"[Sonstiges]\r\nAutor=\"\"", "EdMetaAutor", "pruefer"},
      {"[Sonstiges]\r\nRobotsEinladen=1\r\nRobotsAusladen=1", "CBSuchrobotorAusladen", "an"},
      {"[Sonstiges]\r\nRobotsEinladen=1\r\nRobotsAusladen=1", "CBSuchrobotorEinladen", "aus"},
      {"[Sonstiges]\r\nandereCSSDatei=a.css\r\n[Experten]\r\nandereCSSDatei=b.css", "EdAndereCSSDatei", "b.css"},
      {"[Sonstiges]\r\nTrennungVorne=[[", "EdKlammerAuf", "["},
      {"[Sonstiges]\r\nTrennungMitte=", "EdBindestrich", "-"},
      {"[Sonstiges]\r\ndirnametxt=0", "dirnametxt", "aus"},
      {"[Experten]\r\nDoctype=7", "CoBDoctype", "1"},
      {"[Experten]\r\nDoctype=0", "CoBDoctype", "0"},
      {"[Experten]\r\nDoctype=0", "CoBDoctypeChange", "1"},
      {"[Experten]\r\nDoctype=-1", "CoBDoctypeChange", "0"},
      {"[Experten]\r\nDoctype=7", "CoBDoctypeChange", "0"},
      {"[Experten]\r\nDoctype=2", "CoBDoctypeChange", "1"},
      {"[Experten]\r\neigeneHeaderSeiten=5", "RBNeuerHeaderUebersichtsseiten", "RBNeuerHeaderAlleSeiten"},
      {"[Experten]\r\neigeneHeaderSeiten=0", "RBNeuerHeaderUebersichtsseiten", "RBNeuerHeaderNurErsteSeite"},
      {"[Experten]\r\neigeneHeaderSeiten=1", "RBNeuerHeaderUebersichtsseiten", "RBNeuerHeaderUebersichtsseiten"},
      {"[Experten]\r\nTrennungBildname=äb", "EdVerbindungszeichen", "ä"},
      {"[Texte]\r\nBildSing=\" Bild\"", "EdBildSing", " Bild"},
      // The profile layer and the reader each take one pair of quotes.
      {"[Texte]\r\nBilderPl=\"\"Bilder\"\"", "EdBilderPl", "Bilder"},
      {"[Texte]\r\nVideodatei=ohne", "EdVideodatei", "ohne"},
      {"[Texte]\r\nAudiodatei=\"x#$0D\"", "EdAudiodatei", "x#$0D"},
      {"[Programm]\r\nProgrammmodus=9", "RBModusFortgeschrittener", "RBModusExperte"},
      {"[Programm]\r\nProgrammmodus=2", "RBModusFortgeschrittener", "RBModusExperte"},
      {"[Programm]\r\nProgrammmodus=0", "RBModusFortgeschrittener", "RBModusAnfaenger"},
  };
  for (const Regel& r : regeln) {
    SCOPED_TRACE(r.datei.substr(0, 80));
    test::Sitzung s(u.sv);
    for (const Opt o : {Opt::RBBreiteGrosseBilder, Opt::RBModusFortgeschrittener, Opt::RBNeuerHeaderUebersichtsseiten,
                        Opt::RBBreite, Opt::RBLinkAufBilddatei, Opt::RBDateienSortierenNachGroesse,
                        Opt::RBGrosseBilderHoehe, Opt::RBGrossePanoramenHoehe})
      s.m.setChecked(o, true);
    s.m.setIndex(Opt::CoBFensterNavigation, 1);
    s.m.setIndex(Opt::CoBUebWeicheSchriftart, 2);
    s.m.setIndex(Opt::CoBUebSchriftschnitt, 3);
    s.m.setIndex(Opt::CoBRestWeicheSchriftart, 3);
    s.m.setColor(Opt::PanelLinkFarbe, 0x123456);
    s.m.setText(Opt::CoBUebGroesse, "12pt");
    s.st.HTMLOrdnerPfad = s.st.GrosseBilderpfad = s.st.Vorschaubilderpfad = "/srv/alt";
    s.m.setText(Opt::EdAndereCSSDatei, "alt.css");
    s.m.setText(Opt::EdGrafikGrossWeiter, "alt.gif");
    s.protokoll.ereignisse.clear();
    lesen(s, r.datei + "\r\n");
    const auto& e = s.protokoll.ereignisse;
    std::map<std::string, std::string> w = werte(s.m, s.st);
    w["cellspacingIE"] = s.st.cellspacingIE ? "an" : "aus";
    w["dirnametxt"] = s.st.dirnametxt ? "an" : "aus";
    w["CoBDoctypeChange"] = std::to_string(std::count(e.begin(), e.end(), "CoBDoctypeChange"));
    const auto o = optByName(r.name);
    EXPECT_EQ(o ? *zustand(s.m, *o) : w.at(r.name), r.erwartet) << r.name;
    EXPECT_TRUE(u.dialoge.meldungen.empty());
    // The panorama spin box takes the columns as its bound; a size of the
    // user's own is no item of the size list.
    EXPECT_EQ(s.m.maxValue(Opt::SpEdAnzPanoSpalten), s.m.spin(Opt::SpEdSpaltenzahl));
    EXPECT_EQ(s.m.index(Opt::CoBUnterUebGroesse) == -1, s.m.text(Opt::CoBUnterUebGroesse) == "3em");
  }
}

TEST_F(Lesen, DezimalzahlMitEinemDerBeidenTrenner) {
  test::Sitzung s(u.sv);
  // Separator of the locale, value in the file, units read: a file written
  // under another locale keeps its values.
  for (const auto& [trenner, wert, einheiten] : std::vector<std::tuple<char, const char*, int64_t>>{
           {',', "1.5", 15000}, {'.', "2,5", 25000}, {'.', "3.5", 35000}}) {
    u.sv.locale.decimalSeparator = trenner;
    lesen(s, std::string("[OrdnerUndDateien]\r\nPanoramaVerhältnis=") + wert + "\r\n");
    EXPECT_EQ(s.m.decimal(Opt::RSpEdVerhaeltnis).units(), einheiten) << wert;
  }
}

TEST_F(Lesen, FehlendeDateiAendertNichts) {
  test::Sitzung s(u.sv);
  const auto vorher = werte(s.m, s.st);
  IniFileLesen(s.k, datei("gibtsnicht.ini"));
  EXPECT_EQ(werte(s.m, s.st), vorher);
  EXPECT_TRUE(s.protokoll.ereignisse.empty());
  EXPECT_FALSE(fs::fileExists(u.programmOrdner.pfad() + "Mosaikschauer.ini"));
}

// A settings file that is there but cannot be read changes nothing and says
// why; until the program ends nothing is saved over it, neither by the write
// test of closing nor by recording the location.
TEST_F(Lesen, UnlesbareDateiAendertNichtsUndWirdNieUeberschrieben) {
  if (test::AlsNobodyWiederholt()) return;
  const std::string standard = u.programmOrdner.pfad() + "Mosaikschauer.ini";
  struct Fall {
    const char* name;
    std::function<void()> anlegen;
    std::string grund;
  };
  int halter = -1;
  const std::vector<Fall> faelle = {
      {"Rohr", [&] { ::mkfifo(standard.c_str(), 0644); }, "Sie ist keine gewöhnliche Datei."},
      {"Ordner", [&] { fs::forceDirectories(standard); }, "Sie ist ein Ordner."},
      {"ohne Recht",
       [&] {
         dateiAblegen(standard, "[Layout]\r\nTitel=geheim\r\n");
         ::chmod(standard.c_str(), 0200);
       },
       "Sie kann nicht geöffnet werden (keine Berechtigung)."},
      {"gesperrt",
       [&] {
         dateiAblegen(standard, "[Layout]\r\nTitel=gesperrt\r\n[Programm]\r\nEinstAutoSpeichern=0\r\n");
         halter = ::open(standard.c_str(), O_RDONLY | O_CLOEXEC);
         ::flock(halter, LOCK_EX);
         testhaken::sperrVersuche = 2;
       },
       "Ein anderes Programm hält sie gesperrt."},
      {"ohne Abschnitt", [&] { dateiAblegen(standard, "Titel=ohne\r\n"); },
       "In ihr ist kein Abschnitt wie [Layout] zu erkennen (keine Einstellungsdatei, oder eine Kodierung, die das "
       "Programm nicht kennt)."},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    u.dialoge.meldungen.clear();
    f.anlegen();
    const auto stand = [&] {
      struct stat st {};
      ::lstat(standard.c_str(), &st);
      return std::tuple(st.st_ino, st.st_mode, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_size);
    };
    const auto vorher = stand();
    test::Sitzung s(u.sv);
    const auto werteVorher = werte(s.m, s.st);
    EXPECT_FALSE(IniFileLesen(s.k, standard));
    EXPECT_EQ(werte(s.m, s.st), werteVorher);
    ASSERT_EQ(s.st.UngeleseneDateien.size(), 1u);
    EXPECT_EQ(s.st.UngeleseneDateien[0].pfad(), standard);
    EXPECT_EQ(u.dialoge.texte(),
              std::vector<std::string>{"Die Einstellungsdatei " + standard + " kann nicht gelesen werden!\r\n" + f.grund});
    // Closing: the write test refuses once, says why, and auto-save goes off.
    EXPECT_FALSE(FormCloseQuery(s.k));
    EXPECT_EQ(u.dialoge.texte().back(), "Die Datei " + standard +
                                            " mit den\r\nProgrammeinstellungen kann nicht gespeichert werden!\r\n"
                                            "Sie konnte nicht gelesen werden und wird darum nicht überschrieben.");
    EXPECT_FALSE(s.m.checked(Opt::CBEinstellungenAutomatischSpeichern));
    EXPECT_TRUE(FormCloseQuery(s.k));
    FormClose(s.k);
    // Neither recording the location nor reading another file writes it.
    EXPECT_FALSE(InifileEinstellungenSpeichern(s.k, false));
    lesen(s, "[Programm]\r\nEinstAutoSpeichern=1\r\n");
    EXPECT_FALSE(s.m.checked(Opt::CBEinstellungenAutomatischSpeichern));
    if (halter >= 0) {
      // Even once the lock is let go.
      ::close(halter);
      halter = -1;
      testhaken::sperrVersuche = 400;
      EXPECT_FALSE(InifileSchreibtest(s.k, standard, false));
    }
    EXPECT_EQ(stand(), vorher);
    std::error_code ec;
    ::chmod(standard.c_str(), 0644);
    std::filesystem::remove_all(standard, ec);
  }
}

TEST_F(Lesen, WaehrendDesLesensKeinOrtswechselUndKeinSchreibtestMitMeldung) {
  if (test::AlsNobodyWiederholt()) return;
  test::Sitzung s(u.sv);
  s.m.setChecked(Opt::CBEinstellungenAutomatischSpeichern, false);
  ASSERT_TRUE(u.dialoge.meldungen.empty());
  const std::string vorherOrdner = s.st.EinstellungsDialogOrdner;
  const std::string standard = u.programmOrdner.pfad() + "Mosaikschauer.ini";
  const std::string inhalt = "[Programm]\r\nEinstImAppOrdner=1\r\nEinstAutoSpeichern=1\r\n";
  dateiAblegen(standard, inhalt);
  ::chmod(standard.c_str(), 0444);
  ::chmod(u.programmOrdner.pfad().c_str(), 0555);
  IniFileLesen(s.k, standard);
  ::chmod(u.programmOrdner.pfad().c_str(), 0755);
  // The standard file cannot be written: auto-save off, silently; the
  // location box is on without recording itself or moving the dialog folder.
  EXPECT_TRUE(u.dialoge.meldungen.empty()) << u.dialoge.meldungen.front().text;
  EXPECT_FALSE(s.m.checked(Opt::CBEinstellungenAutomatischSpeichern));
  EXPECT_TRUE(s.m.checked(Opt::CBIniDateiImAnwendungsordner));
  EXPECT_EQ(s.st.EinstellungsDialogOrdner, vorherOrdner);
  EXPECT_TRUE(s.st.IniOrtKlickAktiv);
  EXPECT_TRUE(s.st.AutoSpeichernKlickAktiv);
  EXPECT_TRUE(s.st.CSSKlickAktiv);
  EXPECT_EQ(dateiInhalt(standard), inhalt);

  // The file tested is worked out as the location box stands when reading
  // begins (now the personal one); the test leaves its two keys there, and
  // auto-save is taken from the file. The location is the standard file's
  // alone: any other file leaves it.
  lesen(s, "[Programm]\r\nEinstImAppOrdner=0\r\nEinstAutoSpeichern=1\r\n");
  EXPECT_TRUE(s.m.checked(Opt::CBEinstellungenAutomatischSpeichern));
  EXPECT_TRUE(s.m.checked(Opt::CBIniDateiImAnwendungsordner));
  EXPECT_EQ(dateiInhalt(u.datenOrdner.pfad() + "Mosaikschauer/Mosaikschauer.ini"),
            "[Mosaikschauer]\r\nAutor=Tesvaldo\r\nHomepage=https://mosaikschauer.example/\r\n");
  EXPECT_EQ(dateiInhalt(standard), inhalt);
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(Lesen, PersoenlicherOrtLegtSeinenOrdnerAnUndTestetDort) {
  test::Sitzung s(u.sv);
  s.st.IniOrtKlickAktiv = false;
  s.m.setChecked(Opt::CBIniDateiImAnwendungsordner, true);
  s.st.IniOrtKlickAktiv = true;
  lesen(s, "[Programm]\r\nEinstAutoSpeichern=0\r\n");
  EXPECT_TRUE(fs::fileExists(u.datenOrdner.pfad() + "Mosaikschauer/Mosaikschauer.ini"));
  EXPECT_FALSE(fs::fileExists(u.programmOrdner.pfad() + "Mosaikschauer.ini"));
  EXPECT_FALSE(s.m.checked(Opt::CBEinstellungenAutomatischSpeichern));
}

}  // namespace
}  // namespace mosaik
