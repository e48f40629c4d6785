// The enabling rules of the option pages, run on the headless model: after
// the defaults, on every change of their triggers and after a settings read.
#include <sys/stat.h>
#include <random>
#include <vector>
#include <unistd.h>

#include "RegelnTestbasis.h"
#include "app/Einstellungen.h"

namespace mosaik {
namespace {

using Regeln = test::Hauptform;
using enum test::Merkmal;

// A folder that exists and cannot be written, also for root.
std::string schreibgeschuetzterOrdner(const test::TempOrdner& t) {
  if (::geteuid() == 0) return "/proc/";
  const std::string o = t.pfad() + "nurlesen/";
  ::mkdir(o.c_str(), 0555);
  return o;
}

TEST_F(Regeln, NachDenGrundeinstellungenStimmtJederAbhaengige) {
  EXPECT_TRUE(u.dialoge.meldungen.empty());
  // Thumbnails with an affix, originals not reduced, a writable picture
  // folder, no replacement paths, no panoramas, the whole folder on one page
  // with one column of sub-folders, one page per picture at original size,
  // HTML 4.01 transitional in beginner mode.
  an({Opt::EdVorschauPfadname, Opt::RBVorne, Opt::RBhinten, Opt::CBVorschaulinksErsetzen, Opt::RBVorschauQuadratisch,
      Opt::CBUngueltigeNamenErsetzen, Opt::CBKleineDateinamen, Opt::CBAndereZeichen, Opt::SpEdOrdnerSpalten,
      Opt::RBGrosseBilderOriginalgross, Opt::MBeschreibungGross, Opt::CBNavigationGrosseBilder,
      Opt::LFensternavigation, Opt::CoBFensterNavigation, Opt::CBDiashow, Opt::MZTextUebUnten});
  aus({Opt::EdVorschaulinksErsetzen, Opt::EdgrosseBilderPfadname, Opt::SpEdGroesseGrosseBilder,
       Opt::RBVorneGrosseBilder, Opt::CBkleineBilderVergroessernGrosseBilder, Opt::LGroessePanoGrosseBilder,
       Opt::TrBKomprimierungGrosseBilder, Opt::EdAndereZeichen, Opt::CBPfadOriginaleErsetzen,
       Opt::EdOriginalePfadErsetzung, Opt::EdPfadErsetzung, Opt::LPanoVerhaeltnis, Opt::RSpEdVerhaeltnis,
       Opt::SpEdPanoramaVorschau, Opt::SpEdAnzPanoSpalten, Opt::RBGrossePanoramenOriginalgross, Opt::RBDummy2,
       Opt::SpEdGrossePanoramen, Opt::SpEdZeilenProSeitezahl, Opt::BNavigationUebersicht,
       Opt::CBSeitenanzahlAnzeigen, Opt::CBNavigationOben, Opt::LBlaetternZurueck, Opt::RBOrdnerSpaltenweise,
       Opt::SpBZeilenweise, Opt::CBUnterordnerMitAnzDateienRek, Opt::CBAnzeigeAuchAktuellerOrdner,
       Opt::SpEdGrosseBilder, Opt::LnavGrossDiashowEin, Opt::SpEdDiashow, Opt::EdHintergrundgrafik,
       Opt::CoBUeberschrift, Opt::CoBResttext, Opt::MZTextUebOben, Opt::MZTextGrossOben, Opt::EdMetaAutor,
       Opt::EdMetaSchluesselwoerter, Opt::CBLinkZurueckOben, Opt::EdLinkZurueckText, Opt::EdAndereCSSDatei,
       Opt::EdFavicon, Opt::MNeuerHeader, Opt::MangepassteCSSDatei, Opt::CBmitXMLDeklaration});
  gezeigt({Opt::CBZentrerirungstrick, Opt::LBedeutungWertMinus1, Opt::EdVerbindungszeichen, Opt::TabSCSSDatei});
  verborgen({Opt::LFarbe, Opt::PanelquadratFarbe, Opt::PZentirerungstrick, Opt::PZentrierungstrickFarbe,
             Opt::EdBindestrich, Opt::LZahl3, Opt::LBedeutungWertMinus1_no2, Opt::LDoctypeAchtung, Opt::TabSExperten});
  EXPECT_TRUE(m.checked(Opt::CBSeitenanzahlAnzeigen));
  EXPECT_FALSE(en(Opt::CBOriginaleVerlinken) && m.checked(Opt::CBOriginaleVerlinken));
  EXPECT_FALSE(st.DoctypeStrict);
  EXPECT_FALSE(st.DoctypeXHTML);
  // The start-page name split for the preview, and the folders derived from
  // the picture folder (the other captions follow their rules below).
  for (auto [o, text] : {std::pair<Opt, std::string>{Opt::LHTMLName, "meinebilder"},
                         {Opt::LHTMLEndung, ".htm"},
                         {Opt::CBGrundnameistIndex, "Startseite heißt &index.htm"},
                         {Opt::EdHTMLPfadname, bilder.pfad() + "html"},
                         {Opt::EdgrosseBilderPfadname, bilder.pfad() + "html/_gross"},
                         {Opt::EdVorschauPfadname, bilder.pfad() + "html/_vorschau"}})
    EXPECT_EQ(m.text(o), text) << info(o).name;
}

TEST_F(Regeln, VorschaubilderAusUndWiederAn) {
  const test::Zustaende zustaende = {
      {{Opt::RBVorschauQuadratisch}},
      {{Opt::CBVorschaubilderErzeugen, 0}},
      // The links cannot be replaced either, even when the box is ticked by a file.
      {{Opt::CBVorschaulinksErsetzen}},
      {{Opt::CBVorschaubilderErzeugen}},
      // Centring tables: the background choice follows the box, the colour the choice.
      {{Opt::CBZentrerirungstrick}},
      {{Opt::RBVorschauhintergrundFarbe}},
      {{Opt::RBBreite}},
      // Shares the handler: reads the thumbnail choice.
      {{Opt::RBLaengereSeiteGrosseBilder, 0}, {Opt::RBBreiteGrosseBilder}},
      {{Opt::RBLaengereSeite}},
      {{Opt::RBVorschauhintergrundtransparent}},
  };
  const test::Regeltabelle tabelle = {
      {{Opt::LFarbe, Opt::PanelquadratFarbe}, Sichtbar, "10"},
      {{Opt::CBZentrerirungstrick}, Sichtbar, "01.....0"},
      // No switch back to the square.
      {{Opt::RBLaengereSeite}, Haken, ".1.1"},
      {{Opt::RBVorschauQuadratisch}, Haken, ".0"},
      {{Opt::RBVorschauQuadratisch, Opt::EdVorschauPfadname, Opt::BitBVorschaubilderSpeicherortWaehlen,
        Opt::CBVorschaubilderErsetzen, Opt::EdErweiterungVorschaubilder, Opt::RBVorne, Opt::RBhinten,
        Opt::CBVorschaulinksErsetzen, Opt::TrBKomprimierung, Opt::EdKomprimierung,
        Opt::RBVerklMethKleinResample}, Aktiv, ".0.1"},
      {{Opt::EdVorschaulinksErsetzen}, Aktiv, ".001"},
      // The box is hidden, and with it the panel.
      {{Opt::PZentirerungstrick}, Sichtbar, "....1.0.1"},
      {{Opt::PZentrierungstrickFarbe}, Sichtbar, ".....1...0"},
  };
  const std::vector<test::Textzeile> texte = {
      {1, Opt::GrBGroesse, " Anzeigegröße der großen Bil&der in der Übersicht "},
      {3, Opt::GrBGroesse, " Größe der Vorschaubil&der "},
  };
  verlauf(zustaende, tabelle, texte);
}

TEST_F(Regeln, NamenszusaetzeSchaltenIhrePosition) {
  const test::Zustaende zustaende = {
      {{.o = Opt::EdErweiterungVorschaubilder, .text = ""}},
      {{.o = Opt::EdErweiterungVorschaubilder, .text = "m"}},
      {{.o = Opt::EdErweiterungGrosseBilder, .text = "g"}},
      {{Opt::CBOriginaleVerkleinern}},
      {{.o = Opt::EdErweiterungGrosseBilder, .text = ""}},
  };
  // Large images: only while originals are reduced.
  const test::Regeltabelle tabelle = {
      {{Opt::RBVorne, Opt::RBhinten}, Aktiv, "01"},
      {{Opt::RBVorneGrosseBilder, Opt::RBhintenGrosseBilder}, Aktiv, "..010"},
  };
  verlauf(zustaende, tabelle);
}

TEST_F(Regeln, UmbenennenNurWoGeschriebenWerdenKann) {
  const auto grosseBilderIn = [this](const std::string& ordner) {
    return test::Eingabe{.tat = [this, ordner] {
      st.GrosseBilderpfad = ordner;
      m.run(Proc::EdgrosseBilderPfadnameAnpassen);
    }};
  };
  const test::Zustaende zustaende = {
      // Reducing into a large-image folder that does not exist yet.
      {grosseBilderIn(bilder.pfad() + "gibtsnicht/"), {Opt::CBOriginaleVerkleinern}},
      // An existing folder that cannot be written.
      {grosseBilderIn(schreibgeschuetzterOrdner(bilder))},
      // Ticked by a settings file while unavailable: the field stays off.
      {{Opt::CBAndereZeichen}},
      {grosseBilderIn(bilder.pfad())},
      // Without reduction the picture folder counts.
      {{Opt::CBOriginaleVerkleinern, 0}},
      {{.tat = [this] { st.BilderOrdnerPfad = schreibgeschuetzterOrdner(bilder); }},
       {.o = Opt::EdgrosseBilderPfadname, .ereignis = Ev::Change}},
  };
  const test::Regeltabelle tabelle = {
      {{Opt::EdgrosseBilderPfadname, Opt::SpEdGroesseGrosseBilder, Opt::CBkleineBilderVergroessernGrosseBilder,
        Opt::RBVerklMethGrossEinfach, Opt::LAuchPanosGrosseBilder}, Aktiv, "1"},
      // Panoramas are not treated apart.
      {{Opt::LGroessePanoGrosseBilder}, Aktiv, "0"},
      {{Opt::CBUngueltigeNamenErsetzen}, Aktiv, "10.1.0"},
      {{Opt::CBSchreibschutzdateienUmbenennen}, Aktiv, "10.1"},
      {{Opt::CBKleineDateinamen}, Aktiv, ".0..10"},
      {{Opt::CBLeerzeichenErsetzen, Opt::CBUmlauteErsetzen, Opt::CBAndereZeichen}, Aktiv, ".0"},
      {{Opt::EdAndereZeichen}, Aktiv, ".001"},
  };
  verlauf(zustaende, tabelle);
}

TEST_F(Regeln, UmbenennenUndVerlinkenDerOriginale) {
  // Unticking renaming disables its details; reduced and renamed originals
  // cannot be linked, so the box comes back once renaming or reducing is off.
  const test::Zustaende zustaende = {
      {{Opt::CBOriginaleVerkleinern}, {Opt::CBAndereZeichen}},
      {{Opt::CBUngueltigeNamenErsetzen, 0}},
      {{Opt::CBUngueltigeNamenErsetzen}},
      {{Opt::CBOriginaleVerkleinern, 0}},
      {{Opt::CBOriginaleVerkleinern}},
      // The chain link box -> replace box -> replacement path.
      {{Opt::CBUngueltigeNamenErsetzen, 0}, {Opt::CBOriginaleVerlinken}},
      {{Opt::CBPfadOriginaleErsetzen}},
      {{Opt::RBnichtverlinken}},
      {{Opt::RBProBildEineHTMLDatei}},
      // Replacing the large-image path.
      {{Opt::CBBilderPfadErsetzen}},
      {{Opt::CBBilderPfadErsetzen, 0}},
  };
  const test::Regeltabelle tabelle = {
      {{Opt::EdAndereZeichen}, Aktiv, "10..1"},
      {{Opt::CBKleineDateinamen, Opt::CBLeerzeichenErsetzen, Opt::CBUmlauteErsetzen, Opt::CBAndereZeichen,
        Opt::CBSchreibschutzdateienUmbenennen}, Aktiv, ".0111"},
      {{Opt::CBOriginaleVerlinken}, Aktiv, ".1010110"},
      {{Opt::CBPfadOriginaleErsetzen}, Aktiv, ".....1.0"},
      {{Opt::EdOriginalePfadErsetzung}, Aktiv, ".....0101"},
      {{Opt::EdPfadErsetzung}, Aktiv, ".........10"},
  };
  verlauf(zustaende, tabelle);
}

TEST_F(Regeln, PanoramenUndIhreSpalten) {
  const test::Zustaende zustaende = {
      {{Opt::CBOriginaleVerkleinern}, {Opt::CBPanoramaExtrabehandlung}},
      {{Opt::RBDummy2}},
      {{Opt::RBGrossePanoramenOriginalgross}},
      // Column label in singular and plural; the span never exceeds the table.
      {{Opt::RBDummy2}, {Opt::SpEdAnzPanoSpalten, 1}, {Opt::RBPanoramaVorschauEinigeSpalten}},
      {{Opt::SpEdAnzPanoSpalten, 2}},
      {{Opt::SpEdSpaltenzahl, 6}, {Opt::SpEdAnzPanoSpalten, 5}, {Opt::SpEdSpaltenzahl, 3}},
  };
  const test::Regeltabelle tabelle = {
      {{Opt::LPanoVerhaeltnis, Opt::RSpEdVerhaeltnis, Opt::LGroessePanoVorschau, Opt::SpEdPanoramaVorschau,
        Opt::LPanoPunkte, Opt::RBPanoramaHoehe, Opt::LPanoTabsp1, Opt::LPanoTabsp2,
        Opt::RBPanoramaVorschauEinigeSpalten, Opt::RBGrossePanoramenOriginalgross, Opt::RBDummy2,
        Opt::LGroessePanoGrosseBilder, Opt::SpEdPanoramaGrosseBilder,
        Opt::RBPanoramaHoeheGrosseBilder}, Aktiv, "1"},
      // "alle" is chosen first.
      {{Opt::SpEdAnzPanoSpalten}, Aktiv, "0..1"},
      // Original size is chosen first.
      {{Opt::SpEdGrossePanoramen}, Aktiv, "010"},
      {{Opt::LPunkte2}, Aktiv, ".1"},
  };
  verlauf(zustaende, tabelle, {{3, Opt::LPanoTabsp2, "Tabellenspalte"}, {4, Opt::LPanoTabsp2, "Tabellenspalten"}});
  EXPECT_EQ(m.spin(Opt::SpEdAnzPanoSpalten), 3);
  EXPECT_EQ(m.maxValue(Opt::SpEdAnzPanoSpalten), 3);
  m.setSpin(Opt::SpEdSpaltenzahl, 8);
  m.run(Opt::SpEdAnzPanoSpalten, Ev::Enter);
  EXPECT_EQ(m.maxValue(Opt::SpEdAnzPanoSpalten), 8);

  // Off again: everything off, including the picture-page panorama size.
  // Chosen by a settings file while panoramas are off: the count stays off.
  const test::Zustaende danach = {
      {{Opt::RBPanoramaVorschauAlleSpalten}},
      {{Opt::CBPanoramaExtrabehandlung, 0}},
      {{Opt::RBPanoramaVorschauEinigeSpalten}},
  };
  const test::Regeltabelle nachTabelle = {
      {{Opt::SpEdAnzPanoSpalten}, Aktiv, "0.0"},
      {{Opt::LPanoVerhaeltnis, Opt::RBGrossePanoramenOriginalgross, Opt::RBDummy2, Opt::SpEdGrossePanoramen,
        Opt::LGroessePanoGrosseBilder, Opt::RBPanoramaVorschauEinigeSpalten}, Aktiv, ".0"},
  };
  verlauf(danach, nachTabelle, {{0, Opt::LPanoTabsp2, "Tabellenspalten"}});
}

TEST_F(Regeln, EinBildtypBleibtImmerAn) {
  const test::Zustaende zustaende = {
      {{Opt::CBTypJpg, 0}},
      {{Opt::CBTypJpeg, 0}},
      {{Opt::CBTypJpg, 0}},
  };
  const test::Regeltabelle tabelle = {
      {{Opt::CBTypJpeg}, Haken, "101"},
      {{Opt::CBTypJpg}, Haken, ".10"},
  };
  verlauf(zustaende, tabelle);
}

TEST_F(Regeln, SeitenweiseUndGanzerOrdner) {
  const test::Zustaende zustaende = {
      {{Opt::RBZeilenzahl}},
      // Graphic links: the paging texts are not used.
      {{Opt::RBNavUebGrafiklinks}, {.o = Opt::RBZeilenzahl, .ereignis = Ev::Click}},
      // The page count in the heading needs the folder name and sub-folders.
      {{Opt::CBOrdnernameAnzeigen, 0}},
      {{Opt::CBOrdnernameAnzeigen}},
      {{Opt::CBmitUnterverzeichnissen, 0}},
      {{Opt::CBmitUnterverzeichnissen}, {Opt::RBganzerOrdner}},
  };
  const test::Regeltabelle tabelle = {
      {{Opt::BNavigationUebersicht, Opt::RBNavUebTextlinks, Opt::RBNavUebGrafiklinks, Opt::EdBlaetternVor,
        Opt::LBlaetternZurueck, Opt::LBlaetternVor}, Aktiv, "1"},
      {{Opt::SpEdZeilenProSeitezahl, Opt::LNavigation, Opt::CBNavigationUnten}, Aktiv, "1....0"},
      {{Opt::CBSeitenanzahlAnzeigen}, Aktiv, "1.0100"},
      // Not ticked again.
      {{Opt::CBSeitenanzahlAnzeigen}, Haken, "..00"},
      {{Opt::EdBlaetternZurueck}, Aktiv, "10"},
      {{Opt::CBNavigationOben}, Aktiv, "11"},
      {{Opt::EdBindestrich, Opt::LZahl3}, Sichtbar, "1....0"},
  };
  verlauf(zustaende, tabelle);
}

TEST_F(Regeln, UnterordnerUndIhreAngaben) {
  const test::Zustaende zustaende = {
      // Available with the picture count even while the date is unticked.
      {{Opt::CBUnterordnerMitAnzDateien}},
      {{Opt::CBUnterordnerMitAnzDateien, 0}},
      {{Opt::CBAnzeigeUnterordnerMitAnzUnterordner}},
      {{Opt::CBAnzeigeUnterodnerMitDateigroesse}},
      {{Opt::CBmitUnterverzeichnissen, 0}},
      // A column count set meanwhile (by a settings file) leaves the order off.
      {{Opt::SpEdOrdnerSpalten, 2}},
      {{Opt::CBmitUnterverzeichnissen}},
      {{Opt::SpEdOrdnerSpalten, 1}},
      {{Opt::SpEdOrdnerSpalten, 3}, {.o = Opt::SpBZeilenweise, .ereignis = Ev::Click}},
      {{.o = Opt::SpBspaltenweise, .ereignis = Ev::Click}},
  };
  const test::Regeltabelle tabelle = {
      {{Opt::CBUnterordnerMitDatum}, Haken, "0"},
      // Off again while its count is unticked.
      {{Opt::CBUnterordnerMitAnzDateienRek}, Aktiv, "1...0.0"},
      {{Opt::CBAnzeigeAuchAktuellerOrdner}, Aktiv, "101.0.1"},
      {{Opt::CBAnzeigeUnterodnerMitUnterordnerRek}, Aktiv, "..1.0.1"},
      {{Opt::CBAnzeigeUnterodnerMitGroesseRek}, Aktiv, "...10.1"},
      {{Opt::CBOrdnernameAnzeigen, Opt::LOrdner, Opt::LSpalte_n, Opt::LAnzeigenbeiordnern, Opt::CBOrdnernamenAnzeigen,
        Opt::CBUnterordnerMitDatum, Opt::CBAnzeigeUnterordnerMitAnzUnterordner,
        Opt::SpEdOrdnerSpalten}, Aktiv, "....0"},
      {{Opt::PStrichbeiOrndern}, Aktiv, "....0.1"},
      {{Opt::RBOrdnerSpaltenweise}, Aktiv, "....001"},
      {{Opt::RBOrdnerZeilenweise, Opt::SpBspaltenweise, Opt::SpBZeilenweise, Opt::LOrdnerSpaltenabstand,
        Opt::SpEdOrdnerSpaltenabstand}, Aktiv, "......10"},
      {{Opt::RBOrdnerSpaltenweise}, Aktiv, ".......0"},
      {{Opt::RBOrdnerZeilenweise}, Haken, "........1"},
      {{Opt::RBOrdnerSpaltenweise}, Haken, ".........1"},
  };
  verlauf(zustaende, tabelle, {{5, Opt::LSpalte_n, "Spalten"}, {7, Opt::LSpalte_n, "Spalte"}});
}

TEST_F(Regeln, OrdnerzellenAbstaendeUndSortierung) {
  const test::Zustaende zustaende = {
      // The notes on the value -1; the second spacing is still -1.
      {{Opt::SpEdOrdnerSpaltenabstand, -1}},
      {{Opt::SpEdOrdnerSpaltenabstand, 0}},
      {{Opt::SpEdAbstand1, 2}},
      {{Opt::SpEdAbstand2, 0}},
      {{Opt::SpEdAbstand1, -1}},
      // A sub-folder cell always shows its name or its first picture.
      {{Opt::CBOrdnernamenAnzeigen, 0}},
      {{Opt::CBUnterordnerbildAnzeigen, 0}},
      {{Opt::CBUnterordnerbildAnzeigen}, {Opt::CBOrdnernamenAnzeigen, 0}},
      {{Opt::CBOrdnerSortieren, 0}},
      {{Opt::CBDateienSortieren, 0}},
      {{Opt::CBDateienSortieren}},
  };
  const test::Regeltabelle tabelle = {
      {{Opt::LBedeutungWertMinus1_no2}, Sichtbar, "10"},
      {{Opt::LBedeutungWertMinus1}, Sichtbar, "..101"},
      {{Opt::CBUnterordnerbildAnzeigen}, Haken, ".....1.1"},
      {{Opt::CBOrdnernamenAnzeigen}, Haken, "......1"},
      {{Opt::RBOrdnerSortierenNachDatum, Opt::CBOSortRueckwaerts, Opt::RBOrdnerSortierenNachName}, Aktiv, "........00"},
      {{Opt::RBDateienSortierenNachGroesse}, Aktiv, ".........0"},
      {{Opt::CBDSortRueckwaerts}, Aktiv, "..........1"},
  };
  verlauf(zustaende, tabelle);
}

TEST_F(Regeln, DreiVerlinkungenUndDerStrengeDoctype) {
  const test::Eingabe nurFensterseite{.o = Opt::RBProBildEineHTMLDatei, .ereignis = Ev::Click};
  const test::Zustaende zustaende = {
      {{Opt::CBDiashow}},
      {{Opt::RBnichtverlinken}},
      // A link to the picture file may open in another window, unless strict.
      {{Opt::RBLinkAufBilddatei}},
      {{Opt::CoBDoctype, 0}, {.o = Opt::RBLinkAufBilddatei, .ereignis = Ev::Click}},
      {{Opt::RBProBildEineHTMLDatei}},
      {{Opt::CoBDoctype, 1}},
      // The slideshow texts need navigation, slideshow and its switch-off.
      {{Opt::CBDiashowAbschaltbar, 0}, nurFensterseite},
      {{Opt::CBNavigationGrosseBilder, 0}, nurFensterseite},
      // Size of the normal pictures: reduced only with "->".
      {{Opt::RBdummy1}},
      {{Opt::RBnichtverlinken}},
      {{Opt::RBProBildEineHTMLDatei}},
      {{Opt::RBGrosseBilderOriginalgross}},
  };
  const test::Regeltabelle tabelle = {
      {{Opt::LDiashowSek}, Aktiv, "1"},
      {{Opt::SpEdDiashow}, Aktiv, "10..1"},
      {{Opt::CBDiashow}, Aktiv, "10001"},
      {{Opt::MBeschreibungGross}, Aktiv, ".00"},
      {{Opt::LFensternavigation, Opt::CoBFensterNavigation}, Aktiv, ".01001"},
      {{Opt::RBGrosseBilderOriginalgross, Opt::RBdummy1, Opt::BGrossExifDaten, Opt::CBGrossBildLinkText,
        Opt::BNavigationGrosseBilder, Opt::CBNavigationGrosseBilder, Opt::EdnavGrossUebersicht,
        Opt::LBlaetternUebersichtGross, Opt::CBDiashowAbschaltbar, Opt::CBOriginaleVerlinken}, Aktiv, ".0"},
      {{Opt::SpEdGrosseBilder}, Aktiv, ".0......1010"},
      // Navigation, slideshow and switch-off all on.
      {{Opt::EdnavGrossDiashowAus}, Aktiv, ".0..1"},
      {{Opt::LnavGrossDiashowEin, Opt::EdnavGrossDiashowEin, Opt::LnavGrossDiashowAus}, Aktiv, "....1.0"},
      {{Opt::EdnavGrossZurueck, Opt::LBlaetternWeiterGross}, Aktiv, "......10"},
      {{Opt::CBNavigationEndlos}, Aktiv, ".0.....1"},
      {{Opt::LPunkte1, Opt::RBGrosseBilderLaengereSeite, Opt::RBGrosseBilderBreite,
        Opt::RBGrosseBilderHoehe}, Aktiv, "........1"},
      {{Opt::EdVerbindungszeichen, Opt::LBildname}, Sichtbar, ".0..1"},
  };
  verlauf(zustaende, tabelle);
}

TEST_F(Regeln, FensternavigationSchaltetDenUebersichtstext) {
  const test::Zustaende zustaende = {
      {{Opt::CoBFensterNavigation, 1}},
      {{Opt::CoBFensterNavigation, 2}},
      {{Opt::CoBFensterNavigation, 0}},
      // A user's own text is never touched.
      {{.o = Opt::EdnavGrossUebersicht, .text = "Zurück"}, {Opt::CoBFensterNavigation, 1}},
      // A disabled combo (strict pages) counts as the overview window.
      {{.o = Opt::EdnavGrossUebersicht, .text = "Übersicht"}, {Opt::CoBDoctype, 2}},
      {{Opt::CoBDoctype, 3}},
  };
  const std::vector<test::Textzeile> texte = {
      {0, Opt::LBlaetternUebersichtGross, "Fenster schließen"},
      {0, Opt::EdnavGrossUebersicht, "[Fenster schließen]"},
      {1, Opt::EdnavGrossUebersicht, "[Fenster schließen]"},
      {2, Opt::LBlaetternUebersichtGross, "Übersichtsseite"},
      {2, Opt::EdnavGrossUebersicht, "Übersicht"},
      {3, Opt::EdnavGrossUebersicht, "Zurück"},
      {3, Opt::LBlaetternUebersichtGross, "Fenster schließen"},
      {4, Opt::LBlaetternUebersichtGross, "Übersichtsseite"},
      {4, Opt::EdnavGrossUebersicht, "Übersicht"},
      {5, Opt::EdnavGrossUebersicht, "[Fenster schließen]"},
  };
  verlauf(zustaende, {}, texte);
}

TEST_F(Regeln, FarbenSchriftenTexteUndSonstiges) {
  // A typed font name joins the proposals in front, once; case counts.
  m.setItems(Opt::CoBUeberschrift, {"Arial", "Verdana"});
  for (const char* schrift : {"Gill Sans", "Gill Sans", "arial", "Arial", ""}) {
    m.setText(Opt::CoBUeberschrift, schrift);
    m.run(Opt::CoBUeberschrift, Ev::Exit);
  }
  EXPECT_EQ(m.items(Opt::CoBUeberschrift), (std::vector<std::string>{"arial", "Gill Sans", "Arial", "Verdana"}));

  const test::Zustaende zustaende = {
      {{Opt::CBHintergrundgrafik}},
      {{Opt::CBUebFesteSchrift}},
      {{Opt::CBRestFesteSchrift}},
      {{Opt::CBZTextUebOben}, {Opt::CBZTextUebUnten, 0}, {Opt::CBZTextGrossOben}, {Opt::CBZTextGrossUnten}},
      {{Opt::CBAutor}, {Opt::CBSchluesselwoerter}, {Opt::CBBeschreibung}},
      {{Opt::CBAutor, 0}, {Opt::CBSchluesselwoerter, 0}, {Opt::CBBeschreibung, 0}},
      // The robot options exclude each other; unticking leaves the other.
      {{Opt::CBSuchrobotorEinladen}, {Opt::CBSuchrobotorAusladen}},
      {{Opt::CBSuchrobotorEinladen}},
      {{Opt::CBSuchrobotorEinladen, 0}},
      // Link back: the whole group follows the switch, the fields their boxes.
      {{Opt::CBLinkZurueckZurHomepage}},
      {{Opt::CBLinkZureckGrafikLink}},
      {{Opt::CBLinkZurueckZurHomepage, 0}},
  };
  const test::Regeltabelle tabelle = {
      {{Opt::EdHintergrundgrafik, Opt::BitBWaehlerHintergrundgrafik}, Aktiv, "1"},
      {{Opt::CoBUeberschrift}, Aktiv, ".1"},
      {{Opt::CoBResttext}, Aktiv, ".01"},
      {{Opt::MZTextUebOben, Opt::RBZTextUebObenAufJederSeite, Opt::MZTextGrossOben,
        Opt::MZTextGrossUnten}, Aktiv, "...1"},
      {{Opt::MZTextUebUnten, Opt::RBZTextUebUntenAufErsterSeite}, Aktiv, "...0"},
      {{Opt::EdMetaAutor, Opt::EdMetaSchluesselwoerter, Opt::EdMetaBeschreibung}, Aktiv, "....10"},
      {{Opt::CBSuchrobotorEinladen}, Haken, "......0"},
      {{Opt::CBSuchrobotorAusladen}, Haken, ".......00"},
      {{Opt::RBLinkZurueckNurAuf1Seite, Opt::RBLinkZurueckAufJederSeite, Opt::CBLinkZurueckOben,
        Opt::EdLinkZuruekVerlinkteDatei, Opt::BitBLinkZuruekVerlinkteDatei, Opt::CBLinkZureckGrafikLink,
        Opt::CBLinkZurueckTextlink}, Aktiv, ".........1"},
      {{Opt::EdLinkZurueckText, Opt::CBLinkZurueckUnten}, Aktiv, ".........1.0"},
      {{Opt::EdLinkZurueckGrafik}, Aktiv, ".........010"},
      {{Opt::BitBLinkZurueckGrafik}, Aktiv, "..........1"},
  };
  verlauf(zustaende, tabelle);
}

TEST_F(Regeln, ProgrammhinweisFragtBeimAbwaehlen) {
  u.dialoge.antworten = {MsgResult::No, MsgResult::Yes};
  m.setChecked(Opt::CBCopyright, false);
  meldung(1,
          MsgKind::Confirmation,
          "Ich wäre Ihnen dankbar, wenn Sie diesen kleinen\r\nHinweis auf mein Programm nicht deaktivieren würden "
          "-\r\nSie helfen damit, diese Freeware bekannt zu machen!\r\nTrotzdem steht Ihnen die Option "
          "offen!\r\n\r\nWollen Sie den Hinweis beibehalten?");
  EXPECT_EQ(u.dialoge.meldungen[0].buttons, MsgButtons::YesNo);
  EXPECT_FALSE(m.checked(Opt::CBCopyright));
  m.setChecked(Opt::CBCopyright, true);  // ticking asks nothing
  EXPECT_EQ(u.dialoge.meldungen.size(), 1u);
  m.setChecked(Opt::CBCopyright, false);
  EXPECT_EQ(u.dialoge.meldungen.size(), 2u);
  EXPECT_TRUE(m.checked(Opt::CBCopyright));
}

TEST_F(Regeln, ExpertenSchalter) {
  const test::Zustaende zustaende = {
      {{Opt::CBAndereCSSDatei}},
      {{Opt::CBAndereCSSDatei, 0}},
      // Set by program with the guard off: no warning.
      {{.tat = [this] { st.CSSKlickAktiv = false; }},
       {Opt::CBAndereCSSDatei},
       {.tat = [this] { st.CSSKlickAktiv = true; }}},
      {{Opt::CBFavicon}},
      {{Opt::CBeigenenHeaderVerwenden}},
      {{Opt::CBCSSDateiaendern}},
      {{Opt::CBCSSDateiaendern, 0}},
  };
  const test::Regeltabelle tabelle = {
      {{Opt::EdAndereCSSDatei}, Aktiv, "1"},
      {{Opt::BitBCSSDatei}, Aktiv, "10"},
      {{Opt::TabSCSSDatei}, Sichtbar, "010"},
      {{Opt::EdFavicon, Opt::BitBFavicon}, Aktiv, "...1"},
      {{Opt::BHeaderEinstellungenUebernehmen, Opt::LAenderungenFuerNeuenHeader, Opt::RBNeuerHeaderNurErsteSeite,
        Opt::RBNeuerHeaderUebersichtsseiten, Opt::RBNeuerHeaderAlleSeiten, Opt::LNeuerHeader, Opt::MNeuerHeader,
        Opt::LNeuerDateiabschluss, Opt::MNeuerDateiabschluss, Opt::LHeaderFooterAchtung, Opt::BHeaderUndFooterSpeichern,
        Opt::BHeaderUndFooterLaden}, Aktiv, "....1"},
      {{Opt::BCSSEinstellungenUebernehmen, Opt::MangepassteCSSDatei, Opt::LgeaenderteCSSDateiAchtung,
        Opt::BgeaenderteCSSSpeichern}, Aktiv, ".....1"},
      {{Opt::BgeaenderteCSSLaden}, Aktiv, ".....10"},
  };
  verlauf(zustaende, tabelle);
  meldung(1,
          MsgKind::Warning,
          "Achtung!\r\nEin Aktivieren dieser Option bewirkt, dass Mosaikschauer keine StyleSheet-Datei "
          "erzeugt\r\n- die Formatierungsangaben in den Registern werden nicht beachtet!\r\nFür korrekte Formatierungen müssen Sie mit "
          "der hier angegebenen Datei sorgen!");

  // Theming: two states of the visual styles.
  m.setChecked(Opt::CBTheming, false);
  EXPECT_EQ(haupt.ThemeManager.Options().bits, 0x7FFF4u);
  m.setChecked(Opt::CBTheming, true);
  EXPECT_EQ(haupt.ThemeManager.Options().bits, 0x7FFF7u);
}

TEST_F(Regeln, ProgrammModiZeigenUndVerbergen) {
  const test::Eingabe anfaengerKlick{.tat = [this] { m.run(Proc::RBModusAnfaengerClick); }};
  const test::Zustaende zustaende = {
      {{Opt::CBPanoramaExtrabehandlung},
       {.o = Opt::EdStartordnerName, .text = "Anfang"},
       {Opt::RBModusFortgeschrittener}},
      {{Opt::RBModusExperte}},
      {{Opt::RBModusAnfaenger}},
      // No button chosen counts as the expert mode.
      {{Opt::RBModusAnfaenger, 0}, anfaengerKlick},
  };
  const test::Regeltabelle tabelle = {
      {{Opt::CBPanoramaExtrabehandlung, Opt::LPanoVerhaeltnis, Opt::RSpEdVerhaeltnis, Opt::GrBAttribute,
        Opt::GrBDateitypen, Opt::GBPanosgross, Opt::GrBPanorama, Opt::GrBanzUnterordner, Opt::GrBLinkZurueck,
        Opt::GrBHTMLNamensanpassung, Opt::TabSTexte, Opt::TabSExtraTexte}, Sichtbar, "110"},
      {{Opt::GrBPfade, Opt::TabSExperten}, Sichtbar, "0101"},
      {{Opt::TabSheetOrdner, Opt::GrBNamenAendern}, Sichtbar, "111"},
      // Values stay as they were.
      {{Opt::CBPanoramaExtrabehandlung}, Haken, "1111"},
  };
  verlauf(zustaende, tabelle, {{3, Opt::EdStartordnerName, "Anfang"}});
}

// The settings reader fills the triggers and runs the rules: the dependants
// follow the file, not the defaults.
TEST_F(Regeln, NachDemLesenEinerEinstellungsdatei) {
  const test::Zustaende zustaende = {
      {{.tat = [this] {
        einstellungenLesen(
            "[OrdnerUndDateien]\r\n"
            "OriginaleVerkleinern=1\r\nVorschauErzeugen=0\r\nPanoramaExtra=1\r\nVorschauPfadErsetzen=1\r\n"
            "[Layout]\r\nGanzerOrdner=0\r\nVerlinkung=1\r\nOrdnerSpalten=3\r\n"
            "[Sonstiges]\r\nDiaShow=1\r\n"
            "[Experten]\r\nDoctype=2\r\n"
            "[Programm]\r\nProgrammmodus=1\r\n");
      }}},
      // Advanced mode: texts shown, expert tab hidden.
      {{.tat = [this] { m.run(Proc::RBModusAnfaengerClick); }}},
  };
  const test::Regeltabelle tabelle = {
      {{Opt::CBOriginaleVerkleinern, Opt::CBVorschaulinksErsetzen, Opt::RBLinkAufBilddatei}, Haken, "1"},
      {{Opt::EdgrosseBilderPfadname, Opt::LGroessePanoGrosseBilder, Opt::LPanoVerhaeltnis, Opt::SpEdZeilenProSeitezahl,
        Opt::CBNavigationOben, Opt::RBOrdnerZeilenweise, Opt::CBmitXMLDeklaration}, Aktiv, "1"},
      // No picture pages; a link to the picture file with a strict XHTML
      // type: nothing in new windows.
      {{Opt::EdVorschauPfadname, Opt::EdVorschaulinksErsetzen, Opt::RBGrossePanoramenOriginalgross,
        Opt::MBeschreibungGross, Opt::LFensternavigation, Opt::CBDiashow, Opt::SpEdDiashow}, Aktiv, "0"},
      {{Opt::EdBindestrich, Opt::LDoctypeAchtung}, Sichtbar, "1"},
      {{Opt::TabSTexte, Opt::GrBanzUnterordner}, Sichtbar, ".1"},
      {{Opt::TabSExperten, Opt::GrBPfade}, Sichtbar, ".0"},
  };
  const std::vector<test::Textzeile> texte = {
      {0, Opt::GrBGroesse, " Anzeigegröße der großen Bil&der in der Übersicht "},
      {0, Opt::LSpalte_n, "Spalten"},
  };
  verlauf(zustaende, tabelle, texte);
}

// Controls whose events leave the window (settings location, shortcuts) or
// only ask a question: no enabling rule hangs on them.
bool nachAussen(Opt o) {
  return o == Opt::CBEinstellungenAutomatischSpeichern || o == Opt::CBIniDateiImAnwendungsordner ||
         o == Opt::CBDesktopVerknuepfung || o == Opt::CBStartmenueVerknuepfung || o == Opt::CBCopyright;
}

// Every rule once more, as the view would fire it: each box's click, the
// chosen radio members' clicks, every change of a text, spin, list or slider.
void alleRegeln(OptionModel& m) {
  for (int i = 0; i < kOptCount; ++i) {
    const Opt o = static_cast<Opt>(i);
    const Kind kind = info(o).kind;
    if (nachAussen(o)) continue;
    if (kind == Kind::CheckBox || (kind == Kind::Radio && m.checked(o))) m.run(o, Ev::Click);
    if (kind == Kind::Text || kind == Kind::Spin || kind == Kind::ListIndex || kind == Kind::Slider)
      m.run(o, Ev::Change);
  }
  m.run(Proc::RBModusAnfaengerClick);
}

// Names every control whose Enabled or Visible flag one more pass of all
// rules changes.
std::string abweichungen(OptionModel& m) {
  std::vector<std::pair<bool, bool>> vorher;
  for (int i = 0; i < kOptCount; ++i) vorher.emplace_back(m.enabled(Opt(i)), m.visible(Opt(i)));
  alleRegeln(m);
  std::string namen;
  for (int i = 0; i < kOptCount; ++i)
    if (vorher[i] != std::pair(m.enabled(Opt(i)), m.visible(Opt(i)))) namen += std::string(info(Opt(i)).name) + " ";
  return namen;
}

// Whatever the user clicked, typed or chose, and whatever file was read
// last, the window shows what the rules make of the values alone: the same
// settings give the same window and the same pages.
TEST_F(Regeln, KlickreihenfolgeAendertNichts) {
  std::mt19937 z(17);
  const std::vector<std::string> texte = {"", "x", "_gross", "Übersicht"};
  for (int schritt = 1; schritt <= 3000; ++schritt) {
    const Opt o = static_cast<Opt>(z() % kOptCount);
    if (!m.enabled(o) || nachAussen(o)) continue;
    std::string aktion = std::string(info(o).name);
    switch (info(o).kind) {
      case Kind::CheckBox: m.setChecked(o, !m.checked(o)); break;
      case Kind::Radio: m.setChecked(o, true); break;
      case Kind::Text: m.setText(o, texte[z() % texte.size()]); break;
      case Kind::Spin: m.setSpin(o, m.minValue(o) + z() % 4); break;
      case Kind::ListIndex:
        m.setIndex(o, static_cast<int>(z() % std::max<size_t>(1, m.items(o).size())));
        m.run(o, Ev::Change);
        break;
      default: continue;
    }
    if (schritt % 500 == 0) {
      const std::string datei = bilder.pfad() + "zufall.ini";
      InifileSchreiben(k, datei);
      IniFileLesen(k, datei);
      aktion += " und Lesen der Einstellungen";
    }
    ASSERT_EQ(abweichungen(m), "") << "Schritt " << schritt << ": " << aktion;
  }
}

}  // namespace
}  // namespace mosaik
