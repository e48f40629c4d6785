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
  // Captions, and the start-page name split for the preview.
  for (auto [o, text] : {std::pair<Opt, std::string>{Opt::GrBGroesse, " &Größe der Vorschaubilder "},
                         {Opt::LPanoTabsp2, "Tabellenspalten"},
                         {Opt::LSpalte_n, "Spalte"},
                         {Opt::LBlaetternUebersichtGross, "Übersichtsseite"},
                         {Opt::LHTMLName, "meinebilder"},
                         {Opt::LHTMLEndung, ".htm"},
                         {Opt::CBGrundnameistIndex, "Startseite heißt inde&x.htm"},
                         {Opt::EdHTMLPfadname, bilder.pfad() + "html"},
                         {Opt::EdgrosseBilderPfadname, bilder.pfad() + "html/_gross"},
                         {Opt::EdVorschauPfadname, bilder.pfad() + "html/_vorschau"}})
    EXPECT_EQ(m.text(o), text) << info(o).name;
}

TEST_F(Regeln, VorschaubilderAusUndWiederAn) {
  m.setChecked(Opt::RBVorschauQuadratisch, true);
  gezeigt({Opt::LFarbe, Opt::PanelquadratFarbe});
  EXPECT_FALSE(sichtbar(Opt::CBZentrerirungstrick));

  m.setChecked(Opt::CBVorschaubilderErzeugen, false);
  EXPECT_TRUE(m.checked(Opt::RBLaengereSeite));
  EXPECT_FALSE(m.checked(Opt::RBVorschauQuadratisch));
  aus({Opt::RBVorschauQuadratisch, Opt::EdVorschauPfadname, Opt::BitBVorschaubilderSpeicherortWaehlen,
       Opt::CBVorschaubilderErsetzen, Opt::EdErweiterungVorschaubilder, Opt::RBVorne, Opt::RBhinten,
       Opt::CBVorschaulinksErsetzen, Opt::TrBKomprimierung, Opt::EdKomprimierung, Opt::RBVerklMethKleinResample});
  EXPECT_FALSE(sichtbar(Opt::LFarbe));
  EXPECT_TRUE(sichtbar(Opt::CBZentrerirungstrick));
  EXPECT_EQ(m.text(Opt::GrBGroesse), " Anzeige&größe der großen Bilder in der Übersicht ");
  // The links cannot be replaced either, even when the box is ticked by a file.
  m.setChecked(Opt::CBVorschaulinksErsetzen, true);
  EXPECT_FALSE(en(Opt::EdVorschaulinksErsetzen));

  m.setChecked(Opt::CBVorschaubilderErzeugen, true);
  EXPECT_TRUE(m.checked(Opt::RBLaengereSeite));  // no switch back
  an({Opt::RBVorschauQuadratisch, Opt::EdVorschaulinksErsetzen});
  EXPECT_EQ(m.text(Opt::GrBGroesse), " &Größe der Vorschaubilder ");

  // Centring tables: the background choice follows the box, the colour the choice.
  m.setChecked(Opt::CBZentrerirungstrick, true);
  EXPECT_TRUE(sichtbar(Opt::PZentirerungstrick));
  m.setChecked(Opt::RBVorschauhintergrundFarbe, true);
  EXPECT_TRUE(sichtbar(Opt::PZentrierungstrickFarbe));
  m.setChecked(Opt::RBBreite, true);  // the box is hidden, and with it the panel
  EXPECT_FALSE(sichtbar(Opt::PZentirerungstrick));
  m.setChecked(Opt::RBLaengereSeiteGrosseBilder, false);
  m.setChecked(Opt::RBBreiteGrosseBilder, true);  // shares the handler: reads the thumbnail choice
  EXPECT_FALSE(sichtbar(Opt::CBZentrerirungstrick));
  m.setChecked(Opt::RBLaengereSeite, true);
  EXPECT_TRUE(sichtbar(Opt::PZentirerungstrick));
  m.setChecked(Opt::RBVorschauhintergrundtransparent, true);
  EXPECT_FALSE(sichtbar(Opt::PZentrierungstrickFarbe));
}

TEST_F(Regeln, NamenszusaetzeSchaltenIhrePosition) {
  m.setText(Opt::EdErweiterungVorschaubilder, "");
  aus({Opt::RBVorne, Opt::RBhinten});
  m.setText(Opt::EdErweiterungVorschaubilder, "m");
  an({Opt::RBVorne, Opt::RBhinten});

  // Large images: only while originals are reduced.
  m.setText(Opt::EdErweiterungGrosseBilder, "g");
  EXPECT_FALSE(en(Opt::RBVorneGrosseBilder));
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  an({Opt::RBVorneGrosseBilder, Opt::RBhintenGrosseBilder});
  m.setText(Opt::EdErweiterungGrosseBilder, "");
  aus({Opt::RBVorneGrosseBilder, Opt::RBhintenGrosseBilder});
}

TEST_F(Regeln, UmbenennenNurWoGeschriebenWerdenKann) {
  // Reducing into a large-image folder that does not exist yet.
  st.GrosseBilderpfad = bilder.pfad() + "gibtsnicht/";
  m.run(Proc::EdgrosseBilderPfadnameAnpassen);
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  an({Opt::EdgrosseBilderPfadname, Opt::SpEdGroesseGrosseBilder, Opt::CBkleineBilderVergroessernGrosseBilder,
      Opt::RBVerklMethGrossEinfach, Opt::LAuchPanosGrosseBilder});
  EXPECT_FALSE(en(Opt::LGroessePanoGrosseBilder));  // panoramas are not treated apart
  an({Opt::CBUngueltigeNamenErsetzen, Opt::CBSchreibschutzdateienUmbenennen});

  // An existing folder that cannot be written.
  st.GrosseBilderpfad = schreibgeschuetzterOrdner(bilder);
  m.run(Proc::EdgrosseBilderPfadnameAnpassen);
  aus({Opt::CBUngueltigeNamenErsetzen, Opt::CBKleineDateinamen, Opt::CBLeerzeichenErsetzen, Opt::CBUmlauteErsetzen,
       Opt::CBAndereZeichen, Opt::EdAndereZeichen, Opt::CBSchreibschutzdateienUmbenennen});
  // Ticked by a settings file while unavailable: the field stays off.
  m.setChecked(Opt::CBAndereZeichen, true);
  EXPECT_FALSE(en(Opt::EdAndereZeichen));

  // Back to a writable folder, "andere Zeichen" ticked.
  st.GrosseBilderpfad = bilder.pfad();
  m.run(Proc::EdgrosseBilderPfadnameAnpassen);
  an({Opt::CBUngueltigeNamenErsetzen, Opt::EdAndereZeichen});

  // Without reduction the picture folder counts.
  m.setChecked(Opt::CBOriginaleVerkleinern, false);
  EXPECT_TRUE(en(Opt::CBKleineDateinamen));
  st.BilderOrdnerPfad = schreibgeschuetzterOrdner(bilder);
  m.run(Opt::EdgrosseBilderPfadname, Ev::Change);
  aus({Opt::CBUngueltigeNamenErsetzen, Opt::CBKleineDateinamen});
}

TEST_F(Regeln, UmbenennenUndVerlinkenDerOriginale) {
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  m.setChecked(Opt::CBAndereZeichen, true);
  EXPECT_TRUE(en(Opt::EdAndereZeichen));
  // Unticking renaming disables its details; reduced and renamed originals
  // cannot be linked, so the box comes back once renaming is off.
  m.setChecked(Opt::CBUngueltigeNamenErsetzen, false);
  aus({Opt::CBKleineDateinamen, Opt::CBLeerzeichenErsetzen, Opt::CBUmlauteErsetzen, Opt::CBAndereZeichen,
       Opt::CBSchreibschutzdateienUmbenennen, Opt::EdAndereZeichen});
  EXPECT_TRUE(en(Opt::CBOriginaleVerlinken));
  m.setChecked(Opt::CBUngueltigeNamenErsetzen, true);
  EXPECT_FALSE(en(Opt::CBOriginaleVerlinken));
  // The same from the other box.
  m.setChecked(Opt::CBOriginaleVerkleinern, false);
  EXPECT_TRUE(en(Opt::CBOriginaleVerlinken));
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  EXPECT_FALSE(en(Opt::CBOriginaleVerlinken));
  EXPECT_TRUE(en(Opt::EdAndereZeichen));
  m.setChecked(Opt::CBUngueltigeNamenErsetzen, false);

  // The chain link box -> replace box -> replacement path.
  m.setChecked(Opt::CBOriginaleVerlinken, true);
  EXPECT_TRUE(en(Opt::CBPfadOriginaleErsetzen));
  EXPECT_FALSE(en(Opt::EdOriginalePfadErsetzung));
  m.setChecked(Opt::CBPfadOriginaleErsetzen, true);
  EXPECT_TRUE(en(Opt::EdOriginalePfadErsetzung));
  m.setChecked(Opt::RBnichtverlinken, true);
  aus({Opt::CBOriginaleVerlinken, Opt::CBPfadOriginaleErsetzen, Opt::EdOriginalePfadErsetzung});
  m.setChecked(Opt::RBProBildEineHTMLDatei, true);
  EXPECT_TRUE(en(Opt::EdOriginalePfadErsetzung));

  // Replacing the large-image path.
  m.setChecked(Opt::CBBilderPfadErsetzen, true);
  EXPECT_TRUE(en(Opt::EdPfadErsetzung));
  m.setChecked(Opt::CBBilderPfadErsetzen, false);
  EXPECT_FALSE(en(Opt::EdPfadErsetzung));
}

TEST_F(Regeln, PanoramenUndIhreSpalten) {
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  m.setChecked(Opt::CBPanoramaExtrabehandlung, true);
  an({Opt::LPanoVerhaeltnis, Opt::RSpEdVerhaeltnis, Opt::LGroessePanoVorschau, Opt::SpEdPanoramaVorschau,
      Opt::LPanoPunkte, Opt::RBPanoramaHoehe, Opt::LPanoTabsp1, Opt::LPanoTabsp2, Opt::RBPanoramaVorschauEinigeSpalten,
      Opt::RBGrossePanoramenOriginalgross, Opt::RBDummy2, Opt::LGroessePanoGrosseBilder, Opt::SpEdPanoramaGrosseBilder,
      Opt::RBPanoramaHoeheGrosseBilder});
  EXPECT_FALSE(en(Opt::SpEdAnzPanoSpalten));  // "alle" is chosen
  EXPECT_FALSE(en(Opt::SpEdGrossePanoramen));  // original size is chosen
  m.setChecked(Opt::RBDummy2, true);
  an({Opt::SpEdGrossePanoramen, Opt::LPunkte2});
  m.setChecked(Opt::RBGrossePanoramenOriginalgross, true);
  EXPECT_FALSE(en(Opt::SpEdGrossePanoramen));
  m.setChecked(Opt::RBDummy2, true);

  // Column label in singular and plural; the span never exceeds the table.
  m.setSpin(Opt::SpEdAnzPanoSpalten, 1);
  m.setChecked(Opt::RBPanoramaVorschauEinigeSpalten, true);
  EXPECT_TRUE(en(Opt::SpEdAnzPanoSpalten));
  EXPECT_EQ(m.text(Opt::LPanoTabsp2), "Tabellenspalte");
  m.setSpin(Opt::SpEdAnzPanoSpalten, 2);
  EXPECT_EQ(m.text(Opt::LPanoTabsp2), "Tabellenspalten");
  m.setSpin(Opt::SpEdSpaltenzahl, 6);
  m.setSpin(Opt::SpEdAnzPanoSpalten, 5);
  m.setSpin(Opt::SpEdSpaltenzahl, 3);
  EXPECT_EQ(m.spin(Opt::SpEdAnzPanoSpalten), 3);
  EXPECT_EQ(m.maxValue(Opt::SpEdAnzPanoSpalten), 3);
  m.setSpin(Opt::SpEdSpaltenzahl, 8);
  m.run(Opt::SpEdAnzPanoSpalten, Ev::Enter);
  EXPECT_EQ(m.maxValue(Opt::SpEdAnzPanoSpalten), 8);
  m.setChecked(Opt::RBPanoramaVorschauAlleSpalten, true);
  EXPECT_FALSE(en(Opt::SpEdAnzPanoSpalten));
  EXPECT_EQ(m.text(Opt::LPanoTabsp2), "Tabellenspalten");

  // Off again: everything off, including the picture-page panorama size.
  m.setChecked(Opt::CBPanoramaExtrabehandlung, false);
  aus({Opt::LPanoVerhaeltnis, Opt::RBGrossePanoramenOriginalgross, Opt::RBDummy2, Opt::SpEdGrossePanoramen,
       Opt::LGroessePanoGrosseBilder, Opt::RBPanoramaVorschauEinigeSpalten});
  // Chosen by a settings file while panoramas are off: the count stays off.
  m.setChecked(Opt::RBPanoramaVorschauEinigeSpalten, true);
  EXPECT_FALSE(en(Opt::SpEdAnzPanoSpalten));
}

TEST_F(Regeln, EinBildtypBleibtImmerAn) {
  m.setChecked(Opt::CBTypJpg, false);
  EXPECT_TRUE(m.checked(Opt::CBTypJpeg));
  m.setChecked(Opt::CBTypJpeg, false);
  EXPECT_TRUE(m.checked(Opt::CBTypJpg));
  EXPECT_FALSE(m.checked(Opt::CBTypJpeg));
  m.setChecked(Opt::CBTypJpg, false);
  EXPECT_TRUE(m.checked(Opt::CBTypJpeg));
  EXPECT_FALSE(m.checked(Opt::CBTypJpg));
}

TEST_F(Regeln, SeitenweiseUndGanzerOrdner) {
  m.setChecked(Opt::RBZeilenzahl, true);
  an({Opt::SpEdZeilenProSeitezahl, Opt::BNavigationUebersicht, Opt::CBSeitenanzahlAnzeigen, Opt::LNavigation,
      Opt::CBNavigationOben, Opt::CBNavigationUnten, Opt::RBNavUebTextlinks, Opt::RBNavUebGrafiklinks,
      Opt::EdBlaetternZurueck, Opt::EdBlaetternVor, Opt::LBlaetternZurueck, Opt::LBlaetternVor});
  gezeigt({Opt::EdBindestrich, Opt::LZahl3});
  // Graphic links: the paging texts are not used.
  m.setChecked(Opt::RBNavUebGrafiklinks, true);
  m.run(Opt::RBZeilenzahl, Ev::Click);
  EXPECT_FALSE(en(Opt::EdBlaetternZurueck));
  EXPECT_TRUE(en(Opt::CBNavigationOben));

  // The page count in the heading needs the folder name and sub-folders.
  m.setChecked(Opt::CBOrdnernameAnzeigen, false);
  EXPECT_FALSE(en(Opt::CBSeitenanzahlAnzeigen));
  EXPECT_FALSE(m.checked(Opt::CBSeitenanzahlAnzeigen));
  m.setChecked(Opt::CBOrdnernameAnzeigen, true);
  EXPECT_TRUE(en(Opt::CBSeitenanzahlAnzeigen));
  EXPECT_FALSE(m.checked(Opt::CBSeitenanzahlAnzeigen));  // not ticked again
  m.setChecked(Opt::CBmitUnterverzeichnissen, false);
  EXPECT_FALSE(en(Opt::CBSeitenanzahlAnzeigen));
  m.setChecked(Opt::CBmitUnterverzeichnissen, true);

  m.setChecked(Opt::RBganzerOrdner, true);
  aus({Opt::SpEdZeilenProSeitezahl, Opt::CBSeitenanzahlAnzeigen, Opt::LNavigation, Opt::CBNavigationUnten});
  EXPECT_FALSE(sichtbar(Opt::EdBindestrich));
}

TEST_F(Regeln, UnterordnerUndIhreAngaben) {
  m.setChecked(Opt::CBUnterordnerMitAnzDateien, true);
  EXPECT_TRUE(en(Opt::CBUnterordnerMitAnzDateienRek));
  // Available with the picture count even while the date is unticked.
  EXPECT_FALSE(m.checked(Opt::CBUnterordnerMitDatum));
  EXPECT_TRUE(en(Opt::CBAnzeigeAuchAktuellerOrdner));
  m.setChecked(Opt::CBUnterordnerMitAnzDateien, false);
  EXPECT_FALSE(en(Opt::CBAnzeigeAuchAktuellerOrdner));
  m.setChecked(Opt::CBAnzeigeUnterordnerMitAnzUnterordner, true);
  an({Opt::CBAnzeigeUnterodnerMitUnterordnerRek, Opt::CBAnzeigeAuchAktuellerOrdner});
  m.setChecked(Opt::CBAnzeigeUnterodnerMitDateigroesse, true);
  EXPECT_TRUE(en(Opt::CBAnzeigeUnterodnerMitGroesseRek));

  m.setChecked(Opt::CBmitUnterverzeichnissen, false);
  aus({Opt::CBOrdnernameAnzeigen, Opt::LOrdner, Opt::LSpalte_n, Opt::SpEdOrdnerSpalten, Opt::RBOrdnerSpaltenweise,
       Opt::LAnzeigenbeiordnern, Opt::CBOrdnernamenAnzeigen, Opt::CBUnterordnerMitDatum,
       Opt::CBAnzeigeUnterordnerMitAnzUnterordner, Opt::CBAnzeigeAuchAktuellerOrdner,
       Opt::CBUnterordnerMitAnzDateienRek, Opt::CBAnzeigeUnterodnerMitGroesseRek,
       Opt::CBAnzeigeUnterodnerMitUnterordnerRek, Opt::PStrichbeiOrndern});
  // A column count set meanwhile (by a settings file) leaves the order off.
  m.setSpin(Opt::SpEdOrdnerSpalten, 2);
  EXPECT_FALSE(en(Opt::RBOrdnerSpaltenweise));
  EXPECT_EQ(m.text(Opt::LSpalte_n), "Spalten");

  m.setChecked(Opt::CBmitUnterverzeichnissen, true);
  an({Opt::RBOrdnerSpaltenweise, Opt::RBOrdnerZeilenweise, Opt::SpBspaltenweise, Opt::SpBZeilenweise,
      Opt::LOrdnerSpaltenabstand, Opt::SpEdOrdnerSpaltenabstand, Opt::CBAnzeigeUnterodnerMitGroesseRek,
      Opt::CBAnzeigeUnterodnerMitUnterordnerRek, Opt::CBAnzeigeAuchAktuellerOrdner, Opt::PStrichbeiOrndern});
  EXPECT_FALSE(en(Opt::CBUnterordnerMitAnzDateienRek));  // its count is unticked

  m.setSpin(Opt::SpEdOrdnerSpalten, 1);
  EXPECT_EQ(m.text(Opt::LSpalte_n), "Spalte");
  aus({Opt::RBOrdnerSpaltenweise, Opt::RBOrdnerZeilenweise, Opt::SpEdOrdnerSpaltenabstand, Opt::LOrdnerSpaltenabstand,
       Opt::SpBspaltenweise, Opt::SpBZeilenweise});
  m.setSpin(Opt::SpEdOrdnerSpalten, 3);
  m.run(Opt::SpBZeilenweise, Ev::Click);
  EXPECT_TRUE(m.checked(Opt::RBOrdnerZeilenweise));
  m.run(Opt::SpBspaltenweise, Ev::Click);
  EXPECT_TRUE(m.checked(Opt::RBOrdnerSpaltenweise));

  // The notes on the value -1.
  m.setSpin(Opt::SpEdOrdnerSpaltenabstand, -1);
  EXPECT_TRUE(sichtbar(Opt::LBedeutungWertMinus1_no2));
  m.setSpin(Opt::SpEdOrdnerSpaltenabstand, 0);
  EXPECT_FALSE(sichtbar(Opt::LBedeutungWertMinus1_no2));
  m.setSpin(Opt::SpEdAbstand1, 2);
  EXPECT_TRUE(sichtbar(Opt::LBedeutungWertMinus1));  // the second is still -1
  m.setSpin(Opt::SpEdAbstand2, 0);
  EXPECT_FALSE(sichtbar(Opt::LBedeutungWertMinus1));
  m.setSpin(Opt::SpEdAbstand1, -1);
  EXPECT_TRUE(sichtbar(Opt::LBedeutungWertMinus1));

  // A sub-folder cell always shows its name or its first picture.
  m.setChecked(Opt::CBOrdnernamenAnzeigen, false);
  EXPECT_TRUE(m.checked(Opt::CBUnterordnerbildAnzeigen));
  m.setChecked(Opt::CBUnterordnerbildAnzeigen, false);
  EXPECT_TRUE(m.checked(Opt::CBOrdnernamenAnzeigen));
  m.setChecked(Opt::CBUnterordnerbildAnzeigen, true);
  m.setChecked(Opt::CBOrdnernamenAnzeigen, false);
  EXPECT_TRUE(m.checked(Opt::CBUnterordnerbildAnzeigen));

  // Sorting.
  m.setChecked(Opt::CBOrdnerSortieren, false);
  aus({Opt::RBOrdnerSortierenNachDatum, Opt::CBOSortRueckwaerts});
  m.setChecked(Opt::CBDateienSortieren, false);
  EXPECT_FALSE(en(Opt::RBDateienSortierenNachGroesse));
  EXPECT_TRUE(en(Opt::RBOrdnerSortierenNachName) == false);
  m.setChecked(Opt::CBDateienSortieren, true);
  EXPECT_TRUE(en(Opt::CBDSortRueckwaerts));
}

TEST_F(Regeln, DreiVerlinkungenUndDerStrengeDoctype) {
  m.setChecked(Opt::CBDiashow, true);
  an({Opt::SpEdDiashow, Opt::LDiashowSek});

  m.setChecked(Opt::RBnichtverlinken, true);
  aus({Opt::SpEdGrosseBilder, Opt::RBGrosseBilderOriginalgross, Opt::RBdummy1, Opt::MBeschreibungGross,
       Opt::BGrossExifDaten, Opt::CBGrossBildLinkText, Opt::BNavigationGrosseBilder, Opt::CBNavigationGrosseBilder,
       Opt::CBNavigationEndlos, Opt::EdnavGrossUebersicht, Opt::LBlaetternUebersichtGross, Opt::EdnavGrossDiashowAus,
       Opt::LFensternavigation, Opt::CoBFensterNavigation, Opt::CBDiashow, Opt::SpEdDiashow, Opt::CBDiashowAbschaltbar,
       Opt::CBOriginaleVerlinken});
  verborgen({Opt::EdVerbindungszeichen, Opt::LBildname});

  // A link to the picture file may open in another window, unless strict.
  m.setChecked(Opt::RBLinkAufBilddatei, true);
  an({Opt::LFensternavigation, Opt::CoBFensterNavigation});
  aus({Opt::CBDiashow, Opt::MBeschreibungGross});
  m.setIndex(Opt::CoBDoctype, 0);
  m.run(Opt::CoBDoctype, Ev::Change);
  m.run(Opt::RBLinkAufBilddatei, Ev::Click);
  aus({Opt::LFensternavigation, Opt::CoBFensterNavigation});

  m.setChecked(Opt::RBProBildEineHTMLDatei, true);
  EXPECT_FALSE(en(Opt::LFensternavigation));
  an({Opt::CBDiashow, Opt::SpEdDiashow});
  EXPECT_TRUE(sichtbar(Opt::EdVerbindungszeichen));
  EXPECT_TRUE(en(Opt::LnavGrossDiashowEin));  // navigation, slideshow and switch-off all on
  EXPECT_TRUE(en(Opt::EdnavGrossDiashowAus));
  m.setIndex(Opt::CoBDoctype, 1);
  m.run(Opt::CoBDoctype, Ev::Change);
  an({Opt::LFensternavigation, Opt::CoBFensterNavigation});

  // The slideshow texts need navigation, slideshow and its switch-off.
  m.setChecked(Opt::CBDiashowAbschaltbar, false);
  m.run(Opt::RBProBildEineHTMLDatei, Ev::Click);
  aus({Opt::LnavGrossDiashowEin, Opt::EdnavGrossDiashowEin, Opt::LnavGrossDiashowAus});
  EXPECT_TRUE(en(Opt::EdnavGrossZurueck));
  m.setChecked(Opt::CBNavigationGrosseBilder, false);
  m.run(Opt::RBProBildEineHTMLDatei, Ev::Click);
  aus({Opt::EdnavGrossZurueck, Opt::LBlaetternWeiterGross});
  EXPECT_TRUE(en(Opt::CBNavigationEndlos));

  // Size of the normal pictures: reduced only with "->".
  m.setChecked(Opt::RBdummy1, true);
  an({Opt::SpEdGrosseBilder, Opt::LPunkte1, Opt::RBGrosseBilderLaengereSeite, Opt::RBGrosseBilderBreite,
      Opt::RBGrosseBilderHoehe});
  m.setChecked(Opt::RBnichtverlinken, true);
  EXPECT_FALSE(en(Opt::SpEdGrosseBilder));
  m.setChecked(Opt::RBProBildEineHTMLDatei, true);
  EXPECT_TRUE(en(Opt::SpEdGrosseBilder));
  m.setChecked(Opt::RBGrosseBilderOriginalgross, true);
  EXPECT_FALSE(en(Opt::SpEdGrosseBilder));
}

TEST_F(Regeln, FensternavigationSchaltetDenUebersichtstext) {
  m.setIndex(Opt::CoBFensterNavigation, 1);
  m.run(Opt::CoBFensterNavigation, Ev::Change);
  EXPECT_EQ(m.text(Opt::LBlaetternUebersichtGross), "Fenster schließen");
  EXPECT_EQ(m.text(Opt::EdnavGrossUebersicht), "[Fenster schließen]");
  m.setIndex(Opt::CoBFensterNavigation, 2);
  m.run(Opt::CoBFensterNavigation, Ev::Change);
  EXPECT_EQ(m.text(Opt::EdnavGrossUebersicht), "[Fenster schließen]");
  m.setIndex(Opt::CoBFensterNavigation, 0);
  m.run(Opt::CoBFensterNavigation, Ev::Change);
  EXPECT_EQ(m.text(Opt::LBlaetternUebersichtGross), "Übersichtsseite");
  EXPECT_EQ(m.text(Opt::EdnavGrossUebersicht), "Übersicht");

  // A user's own text is never touched.
  m.setText(Opt::EdnavGrossUebersicht, "Zurück");
  m.setIndex(Opt::CoBFensterNavigation, 1);
  m.run(Opt::CoBFensterNavigation, Ev::Change);
  EXPECT_EQ(m.text(Opt::EdnavGrossUebersicht), "Zurück");
  EXPECT_EQ(m.text(Opt::LBlaetternUebersichtGross), "Fenster schließen");

  // A disabled combo (strict pages) counts as the overview window.
  m.setText(Opt::EdnavGrossUebersicht, "Übersicht");
  m.setIndex(Opt::CoBDoctype, 2);
  m.run(Opt::CoBDoctype, Ev::Change);
  EXPECT_EQ(m.text(Opt::LBlaetternUebersichtGross), "Übersichtsseite");
  EXPECT_EQ(m.text(Opt::EdnavGrossUebersicht), "Übersicht");
  m.setIndex(Opt::CoBDoctype, 3);
  m.run(Opt::CoBDoctype, Ev::Change);
  EXPECT_EQ(m.text(Opt::EdnavGrossUebersicht), "[Fenster schließen]");
}

TEST_F(Regeln, FarbenSchriftenTexteUndSonstiges) {
  m.setChecked(Opt::CBHintergrundgrafik, true);
  an({Opt::EdHintergrundgrafik, Opt::BitBWaehlerHintergrundgrafik});
  m.setChecked(Opt::CBUebFesteSchrift, true);
  EXPECT_TRUE(en(Opt::CoBUeberschrift));
  EXPECT_FALSE(en(Opt::CoBResttext));
  m.setChecked(Opt::CBRestFesteSchrift, true);
  EXPECT_TRUE(en(Opt::CoBResttext));

  // A typed font name joins the proposals in front, once; case counts.
  m.setItems(Opt::CoBUeberschrift, {"Arial", "Verdana"});
  m.setText(Opt::CoBUeberschrift, "Gill Sans");
  m.run(Opt::CoBUeberschrift, Ev::Exit);
  m.run(Opt::CoBUeberschrift, Ev::Exit);
  m.setText(Opt::CoBUeberschrift, "arial");
  m.run(Opt::CoBUeberschrift, Ev::Exit);
  m.setText(Opt::CoBUeberschrift, "Arial");
  m.run(Opt::CoBUeberschrift, Ev::Exit);
  m.setText(Opt::CoBUeberschrift, "");
  m.run(Opt::CoBUeberschrift, Ev::Exit);
  EXPECT_EQ(m.items(Opt::CoBUeberschrift), (std::vector<std::string>{"arial", "Gill Sans", "Arial", "Verdana"}));

  m.setChecked(Opt::CBZTextUebOben, true);
  an({Opt::MZTextUebOben, Opt::RBZTextUebObenAufJederSeite});
  m.setChecked(Opt::CBZTextUebUnten, false);
  aus({Opt::MZTextUebUnten, Opt::RBZTextUebUntenAufErsterSeite});
  m.setChecked(Opt::CBZTextGrossOben, true);
  EXPECT_TRUE(en(Opt::MZTextGrossOben));
  m.setChecked(Opt::CBZTextGrossUnten, true);
  EXPECT_TRUE(en(Opt::MZTextGrossUnten));

  for (auto [box, feld] : {std::pair{Opt::CBAutor, Opt::EdMetaAutor}, {Opt::CBSchluesselwoerter, Opt::EdMetaSchluesselwoerter},
                           {Opt::CBBeschreibung, Opt::EdMetaBeschreibung}}) {
    m.setChecked(box, true);
    EXPECT_TRUE(en(feld));
    m.setChecked(box, false);
    EXPECT_FALSE(en(feld));
  }

  // The robot options exclude each other; unticking leaves the other.
  m.setChecked(Opt::CBSuchrobotorEinladen, true);
  m.setChecked(Opt::CBSuchrobotorAusladen, true);
  EXPECT_FALSE(m.checked(Opt::CBSuchrobotorEinladen));
  m.setChecked(Opt::CBSuchrobotorEinladen, true);
  EXPECT_FALSE(m.checked(Opt::CBSuchrobotorAusladen));
  m.setChecked(Opt::CBSuchrobotorEinladen, false);
  EXPECT_FALSE(m.checked(Opt::CBSuchrobotorAusladen));

  // Link back: the whole group follows the switch, the fields their boxes.
  m.setChecked(Opt::CBLinkZurueckZurHomepage, true);
  an({Opt::RBLinkZurueckNurAuf1Seite, Opt::RBLinkZurueckAufJederSeite, Opt::CBLinkZurueckOben, Opt::CBLinkZurueckUnten,
      Opt::EdLinkZuruekVerlinkteDatei, Opt::BitBLinkZuruekVerlinkteDatei, Opt::CBLinkZureckGrafikLink,
      Opt::CBLinkZurueckTextlink, Opt::EdLinkZurueckText});
  EXPECT_FALSE(en(Opt::EdLinkZurueckGrafik));
  m.setChecked(Opt::CBLinkZureckGrafikLink, true);
  an({Opt::EdLinkZurueckGrafik, Opt::BitBLinkZurueckGrafik});
  m.setChecked(Opt::CBLinkZurueckZurHomepage, false);
  aus({Opt::EdLinkZurueckGrafik, Opt::EdLinkZurueckText, Opt::CBLinkZurueckUnten});
}

TEST_F(Regeln, ProgrammhinweisFragtBeimAbwaehlen) {
  u.dialoge.antworten = {MsgResult::No, MsgResult::Yes};
  m.setChecked(Opt::CBCopyright, false);
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Confirmation);
  EXPECT_EQ(u.dialoge.meldungen[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(u.dialoge.meldungen[0].text,
            "Ich wäre Ihnen dankbar, wenn Sie diesen kleinen\r\nHinweis auf mein Programm nicht deaktivieren würden "
            "-\r\nSie helfen damit, diese Freeware bekannt zu machen!\r\nTrotzdem steht Ihnen die Option "
            "offen!\r\n\r\nWollen Sie den Hinweis beibehalten?");
  EXPECT_FALSE(m.checked(Opt::CBCopyright));
  m.setChecked(Opt::CBCopyright, true);  // ticking asks nothing
  EXPECT_EQ(u.dialoge.meldungen.size(), 1u);
  m.setChecked(Opt::CBCopyright, false);
  EXPECT_EQ(u.dialoge.meldungen.size(), 2u);
  EXPECT_TRUE(m.checked(Opt::CBCopyright));
}

TEST_F(Regeln, ExpertenSchalter) {
  const std::string warnung =
      "Achtung!\r\nEin Aktivieren dieser Option bewirkt, dass Mosaikschauer keine StyleSheet-Datei erzeugt\r\n- die "
      "Formatierungsangaben in den Registern werden nicht beachtet!\r\nFür korrekte Formatierungen müssen Sie mit "
      "der hier angegebenen Datei sorgen!";
  m.setChecked(Opt::CBAndereCSSDatei, true);
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].text, warnung);
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Warning);
  an({Opt::EdAndereCSSDatei, Opt::BitBCSSDatei});
  EXPECT_FALSE(sichtbar(Opt::TabSCSSDatei));
  m.setChecked(Opt::CBAndereCSSDatei, false);
  EXPECT_TRUE(sichtbar(Opt::TabSCSSDatei));
  EXPECT_FALSE(en(Opt::BitBCSSDatei));
  // Set by program with the guard off: no warning.
  st.CSSKlickAktiv = false;
  m.setChecked(Opt::CBAndereCSSDatei, true);
  st.CSSKlickAktiv = true;
  EXPECT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_FALSE(sichtbar(Opt::TabSCSSDatei));

  m.setChecked(Opt::CBFavicon, true);
  an({Opt::EdFavicon, Opt::BitBFavicon});
  m.setChecked(Opt::CBeigenenHeaderVerwenden, true);
  an({Opt::BHeaderEinstellungenUebernehmen, Opt::LAenderungenFuerNeuenHeader, Opt::RBNeuerHeaderNurErsteSeite,
      Opt::RBNeuerHeaderUebersichtsseiten, Opt::RBNeuerHeaderAlleSeiten, Opt::LNeuerHeader, Opt::MNeuerHeader,
      Opt::LNeuerDateiabschluss, Opt::MNeuerDateiabschluss, Opt::LHeaderFooterAchtung, Opt::BHeaderUndFooterSpeichern,
      Opt::BHeaderUndFooterLaden});
  m.setChecked(Opt::CBCSSDateiaendern, true);
  an({Opt::BCSSEinstellungenUebernehmen, Opt::MangepassteCSSDatei, Opt::LgeaenderteCSSDateiAchtung,
      Opt::BgeaenderteCSSSpeichern, Opt::BgeaenderteCSSLaden});
  m.setChecked(Opt::CBCSSDateiaendern, false);
  EXPECT_FALSE(en(Opt::BgeaenderteCSSLaden));

  // Theming: two states of the visual styles.
  m.setChecked(Opt::CBTheming, false);
  EXPECT_EQ(haupt.ThemeManager.Options().bits, 0x7FFF4u);
  m.setChecked(Opt::CBTheming, true);
  EXPECT_EQ(haupt.ThemeManager.Options().bits, 0x7FFF7u);
}

TEST_F(Regeln, ProgrammModiZeigenUndVerbergen) {
  struct Erwartung {
    Opt o;
    bool anfaenger, fortgeschritten, experte;
  };
  const Erwartung tabelle[] = {
      {Opt::CBPanoramaExtrabehandlung, false, true, true}, {Opt::LPanoVerhaeltnis, false, true, true},
      {Opt::RSpEdVerhaeltnis, false, true, true},          {Opt::GrBPfade, false, false, true},
      {Opt::GrBAttribute, false, true, true},              {Opt::GrBDateitypen, false, true, true},
      {Opt::GBPanosgross, false, true, true},              {Opt::GrBPanorama, false, true, true},
      {Opt::GrBanzUnterordner, false, true, true},         {Opt::GrBLinkZurueck, false, true, true},
      {Opt::GrBHTMLNamensanpassung, false, true, true},    {Opt::TabSTexte, false, true, true},
      {Opt::TabSExtraTexte, false, true, true},            {Opt::TabSExperten, false, false, true},
      {Opt::TabSheetOrdner, true, true, true},             {Opt::GrBNamenAendern, true, true, true},
  };
  m.setChecked(Opt::CBPanoramaExtrabehandlung, true);
  m.setText(Opt::EdStartordnerName, "Anfang");
  for (Opt modus : {Opt::RBModusFortgeschrittener, Opt::RBModusExperte, Opt::RBModusAnfaenger}) {
    m.setChecked(modus, true);
    for (const Erwartung& e : tabelle) {
      const bool soll = modus == Opt::RBModusAnfaenger ? e.anfaenger
                        : modus == Opt::RBModusFortgeschrittener ? e.fortgeschritten
                                                                  : e.experte;
      EXPECT_EQ(sichtbar(e.o), soll) << info(modus).name << " " << info(e.o).name;
    }
  }
  // Values stay as they were.
  EXPECT_TRUE(m.checked(Opt::CBPanoramaExtrabehandlung));
  EXPECT_EQ(m.text(Opt::EdStartordnerName), "Anfang");
  // No button chosen counts as the expert mode.
  m.setChecked(Opt::RBModusAnfaenger, false);
  m.run(Proc::RBModusAnfaengerClick);
  EXPECT_TRUE(sichtbar(Opt::TabSExperten));
}

// The settings reader fills the triggers and runs the rules: the dependants
// follow the file, not the defaults.
TEST_F(Regeln, NachDemLesenEinerEinstellungsdatei) {
  einstellungenLesen(
      "[OrdnerUndDateien]\r\n"
      "OriginaleVerkleinern=1\r\nVorschauErzeugen=0\r\nPanoramaExtra=1\r\nVorschauPfadErsetzen=1\r\n"
      "[Layout]\r\nGanzerOrdner=0\r\nVerlinkung=1\r\nOrdnerSpalten=3\r\n"
      "[Sonstiges]\r\nDiaShow=1\r\n"
      "[Experten]\r\nDoctype=2\r\n"
      "[Programm]\r\nProgrammmodus=1\r\n");
  EXPECT_TRUE(m.checked(Opt::CBOriginaleVerkleinern));
  an({Opt::EdgrosseBilderPfadname, Opt::LGroessePanoGrosseBilder, Opt::LPanoVerhaeltnis});
  aus({Opt::EdVorschauPfadname, Opt::EdVorschaulinksErsetzen});
  EXPECT_TRUE(m.checked(Opt::CBVorschaulinksErsetzen));
  EXPECT_EQ(m.text(Opt::GrBGroesse), " Anzeige&größe der großen Bilder in der Übersicht ");
  EXPECT_FALSE(en(Opt::RBGrossePanoramenOriginalgross));  // no picture pages
  an({Opt::SpEdZeilenProSeitezahl, Opt::CBNavigationOben, Opt::RBOrdnerZeilenweise});
  EXPECT_TRUE(sichtbar(Opt::EdBindestrich));
  EXPECT_EQ(m.text(Opt::LSpalte_n), "Spalten");
  // Link to the picture file with a strict XHTML type: nothing in new windows.
  EXPECT_TRUE(m.checked(Opt::RBLinkAufBilddatei));
  aus({Opt::MBeschreibungGross, Opt::LFensternavigation, Opt::CBDiashow, Opt::SpEdDiashow});
  EXPECT_TRUE(st.DoctypeStrict);
  EXPECT_TRUE(st.DoctypeXHTML);
  EXPECT_TRUE(sichtbar(Opt::LDoctypeAchtung));
  EXPECT_TRUE(en(Opt::CBmitXMLDeklaration));
  // Advanced mode: texts shown, expert tab hidden.
  m.run(Proc::RBModusAnfaengerClick);
  gezeigt({Opt::TabSTexte, Opt::GrBanzUnterordner});
  verborgen({Opt::TabSExperten, Opt::GrBPfade});
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
