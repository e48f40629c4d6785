#include <initializer_list>
#include <string>

#include "generator/Namen.h"
#include "platform/FileSystem.h"
#include "ui/Regelhilfen.h"
#include "ui/HauptForm.h"

// The enabling rules of the option pages. Each reads its trigger controls
// and sets its dependants, so it can run at any time; the defaults and the
// settings reader run them after filling the triggers.
namespace mosaik {
namespace {

using O = Opt;

using regeln::en;
using regeln::zeigen;

// The controls of the picture pages (link mode "pro Bild eine HTML-Datei"),
// on the main window and on the navigation dialog.
constexpr std::initializer_list<Opt> kBildseitenSteuerelemente = {
    O::SpEdGrosseBilder,        O::LPunkte1,
    O::RBGrosseBilderLaengereSeite, O::RBGrosseBilderBreite,
    O::RBGrosseBilderHoehe,     O::RBGrossePanoramenOriginalgross,
    O::RBDummy2,                O::SpEdGrossePanoramen,
    O::LPunkte2,                O::RBGrossePanoramenBreite,
    O::RBGrossePanoramenHoehe,  O::CBGrosseBilderVergroessern,
    O::LBeschreibungGross,      O::MBeschreibungGross,
    O::BGrossExifDaten,         O::CBGrossBildHint,
    O::LLinksGross,             O::CBGrossBildLinkVideo,
    O::CBGrossBildLinkAudio,    O::CBGrossBildLinkText,
    O::BNavigationGrosseBilder, O::CBNavigationGrosseBilder,
    O::CBNavigationEndlos,      O::LBlaetternzurueckGross,
    O::EdnavGrossZurueck,       O::LBlaetternUebersichtGross,
    O::EdnavGrossUebersicht,    O::LBlaetternWeiterGross,
    O::EdnavGrossWeiter,        O::LnavGrossDiashowEin,
    O::EdnavGrossDiashowEin,    O::LnavGrossDiashowAus,
    O::EdnavGrossDiashowAus};

void grossePanoramenGroesse(OptionModel& m) {
  en(m,
     {O::LGroessePanoGrosseBilder, O::SpEdPanoramaGrosseBilder, O::LPunktePanoGrosseBilder,
      O::RBPanoramaBreiteGrosseBilder, O::RBPanoramaHoeheGrosseBilder},
     m.checked(O::CBOriginaleVerkleinern) && m.checked(O::CBPanoramaExtrabehandlung));
}

// The page count stands beside the folder name in the heading, which is
// shown only with sub-folders, and only on folders split into pages.
void seitenanzahlVerfuegbar(OptionModel& m) {
  m.setEnabled(O::CBSeitenanzahlAnzeigen, m.checked(O::CBOrdnernameAnzeigen) &&
                                              m.checked(O::CBmitUnterverzeichnissen) && !m.checked(O::RBganzerOrdner));
}

void panoSpaltenBeschriftung(OptionModel& m, bool einzahl) {
  m.setText(O::LPanoTabsp2, einzahl ? "Tabellenspalte" : "Tabellenspalten");
}

}  // namespace

// --- Folder tab and large-image tab ----------------------------------------

void THauptForm::CBVorschaubilderErzeugenClick() {
  OptionModel& m = k_.m;
  const bool an = m.checked(O::CBVorschaubilderErzeugen);
  en(m,
     {O::EdVorschauPfadname, O::BitBVorschaubilderSpeicherortWaehlen, O::BitBVorschaubilderordnerLoeschen,
      O::CBVorschaubilderErsetzen, O::Lnamenserweiterung, O::EdErweiterungVorschaubilder},
     an);
  m.setEnabled(O::RBVorne, an && !m.text(O::EdErweiterungVorschaubilder).empty());
  m.setEnabled(O::RBhinten, m.enabled(O::RBVorne));
  en(m, {O::CBVorschaubilderProgressiv, O::CBVorschaulinksErsetzen}, an);
  m.setEnabled(O::EdVorschaulinksErsetzen, an && m.checked(O::CBVorschaulinksErsetzen));
  en(m, {O::LKomprimierungVorschau, O::TrBKomprimierung, O::EdKomprimierung}, an);
  m.setText(O::GrBGroesse, an ? " Größe der Vorschaubil&der " : " Anzeigegröße der großen Bil&der in der Übersicht ");
  // Without thumbnails the large images are shown scaled: a square frame
  // would have nothing to frame.
  if (!an && m.checked(O::RBVorschauQuadratisch)) m.setChecked(O::RBLaengereSeite, true);
  en(m, {O::RBVorschauQuadratisch, O::LVerklmethodeVorschau, O::RBVerklMethKleinEinfach, O::RBVerklMethKleinResample},
     an);
}

void THauptForm::EdErweiterungVorschaubilderChange() {
  OptionModel& m = k_.m;
  en(m, {O::RBVorne, O::RBhinten},
     m.checked(O::CBVorschaubilderErzeugen) && !m.text(O::EdErweiterungVorschaubilder).empty());
}

void THauptForm::CBOriginaleVerkleinernClick() {
  OptionModel& m = k_.m;
  const bool an = m.checked(O::CBOriginaleVerkleinern);
  en(m,
     {O::EdgrosseBilderPfadname, O::BitBgrosseBilderSpeicherortWaehlen, O::BitBgrosseBilderOrdnerLoeschen,
      O::CBGrosseBilderErsetzen, O::LKomprimierungGrossebilder, O::TrBKomprimierungGrosseBilder,
      O::EdKomprimierungGrosseBilder, O::CBGrosseBilderProgressiv, O::LNamenserweiterungGrosseBilder,
      O::EdErweiterungGrosseBilder},
     an);
  en(m, {O::RBVorneGrosseBilder, O::RBhintenGrosseBilder}, an && !m.text(O::EdErweiterungGrosseBilder).empty());
  en(m,
     {O::SpEdGroesseGrosseBilder, O::LPunkteGrosseBilder, O::RBLaengereSeiteGrosseBilder, O::RBBreiteGrosseBilder,
      O::RBHoeheGrosseBilder, O::CBkleineBilderVergroessernGrosseBilder, O::LAuchPanosGrosseBilder,
      O::LVerklMethodeGrosse, O::RBVerklMethGrossEinfach, O::RBVerklMethGrossResample},
     an);
  grossePanoramenGroesse(m);
  EdgrosseBilderPfadnameChange();
  originaleVerlinkbar();
}

void THauptForm::EdErweiterungGrosseBilderChange() {
  OptionModel& m = k_.m;
  en(m, {O::RBVorneGrosseBilder, O::RBhintenGrosseBilder},
     m.checked(O::CBOriginaleVerkleinern) && !m.text(O::EdErweiterungGrosseBilder).empty());
}

// Renaming is offered only where it can happen: in the folder the renamed
// files are written to.
void THauptForm::EdgrosseBilderPfadnameChange() {
  OptionModel& m = k_.m;
  bool verfuegbar;
  if (!m.checked(O::CBOriginaleVerkleinern)) {
    verfuegbar = OrdnerBeschreibbar(fs::withTrailingSlash(k_.st.BilderOrdnerPfad));
  } else {
    const std::string l = GrosseBilderOrdner(k_);
    verfuegbar = !fs::folderExists(l) || OrdnerBeschreibbar(l);
  }
  const bool ersetzen = m.checked(O::CBUngueltigeNamenErsetzen);
  m.setEnabled(O::CBUngueltigeNamenErsetzen, verfuegbar);
  en(m,
     {O::CBKleineDateinamen, O::CBLeerzeichenErsetzen, O::CBUmlauteErsetzen, O::CBAndereZeichen,
      O::CBSchreibschutzdateienUmbenennen},
     verfuegbar && ersetzen);
  m.setEnabled(O::EdAndereZeichen, verfuegbar && ersetzen && m.checked(O::CBAndereZeichen));
}

void THauptForm::CBUngueltigeNamenErsetzenClick() {
  OptionModel& m = k_.m;
  const bool an = m.checked(O::CBUngueltigeNamenErsetzen) && m.enabled(O::CBUngueltigeNamenErsetzen);
  en(m,
     {O::CBKleineDateinamen, O::CBUmlauteErsetzen, O::CBLeerzeichenErsetzen, O::CBAndereZeichen,
      O::CBSchreibschutzdateienUmbenennen},
     an);
  m.setEnabled(O::EdAndereZeichen, m.enabled(O::CBAndereZeichen) && m.checked(O::CBAndereZeichen));
  originaleVerlinkbar();
}

// Whether the picture pages may link to the originals follows from the
// values alone, whichever box was clicked last: only picture pages link to
// them, and reduced originals renamed for the web no longer carry the names
// the links would use.
void THauptForm::originaleVerlinkbar() {
  OptionModel& m = k_.m;
  m.setEnabled(O::CBOriginaleVerlinken,
               m.checked(O::RBProBildEineHTMLDatei) &&
                   !(m.checked(O::CBUngueltigeNamenErsetzen) && m.checked(O::CBOriginaleVerkleinern)));
  CBOriginaleVerlinkenClick();
}

// Reads the box's enabled state too: the settings reader ticks it while the
// renaming group may be unavailable.
void THauptForm::CBAndereZeichenClick() {
  OptionModel& m = k_.m;
  m.setEnabled(O::EdAndereZeichen, m.checked(O::CBAndereZeichen) && m.enabled(O::CBAndereZeichen));
}

void THauptForm::CBOriginaleVerlinkenClick() {
  OptionModel& m = k_.m;
  m.setEnabled(O::CBPfadOriginaleErsetzen, m.enabled(O::CBOriginaleVerlinken) && m.checked(O::CBOriginaleVerlinken));
  CBPfadOriginaleErsetzenClick();
}

void THauptForm::CBPfadOriginaleErsetzenClick() {
  OptionModel& m = k_.m;
  m.setEnabled(O::EdOriginalePfadErsetzung,
               m.enabled(O::CBPfadOriginaleErsetzen) && m.checked(O::CBPfadOriginaleErsetzen));
}

void THauptForm::CBBilderPfadErsetzenClick() {
  k_.m.setEnabled(O::EdPfadErsetzung, k_.m.checked(O::CBBilderPfadErsetzen));
}

// Reads the box's enabled state too: without thumbnails the box is disabled
// but may still be ticked by a settings file.
void THauptForm::CBVorschaulinksErsetzenClick() {
  OptionModel& m = k_.m;
  m.setEnabled(O::EdVorschaulinksErsetzen, m.checked(O::CBVorschaulinksErsetzen) && m.enabled(O::CBVorschaulinksErsetzen));
}

void THauptForm::CBPanoramaExtrabehandlungClick() {
  OptionModel& m = k_.m;
  const bool an = m.checked(O::CBPanoramaExtrabehandlung);
  en(m,
     {O::LPanoVerhaeltnis, O::RSpEdVerhaeltnis, O::LGroessePanoVorschau, O::SpEdPanoramaVorschau, O::LPanoPunkte,
      O::RBPanoramaBreite, O::RBPanoramaHoehe, O::LPanoTabsp1, O::LPanoTabsp2, O::RBPanoramaVorschauAlleSpalten,
      O::RBPanoramaVorschauEinigeSpalten},
     an);
  m.setEnabled(O::SpEdAnzPanoSpalten, an && m.checked(O::RBPanoramaVorschauEinigeSpalten));
  m.setEnabled(O::RBGrossePanoramenOriginalgross, an && m.checked(O::RBProBildEineHTMLDatei));
  m.setEnabled(O::RBDummy2, m.enabled(O::RBGrossePanoramenOriginalgross));
  grossePanoramenGroesse(m);
  RBGrossePanoramenOriginalgrossClick();
}

// At least one picture type always stays on.
void THauptForm::CBTypJpgClick() {
  if (!k_.m.checked(O::CBTypJpg)) k_.m.setChecked(O::CBTypJpeg, true);
}

void THauptForm::CBTypJpegClick() {
  if (!k_.m.checked(O::CBTypJpeg)) k_.m.setChecked(O::CBTypJpg, true);
}

// --- Thumbnail tab -----------------------------------------------------------

void THauptForm::groessenbasisKlick() {
  OptionModel& m = k_.m;
  zeigen(m, {O::LFarbe, O::PanelquadratFarbe}, m.checked(O::RBVorschauQuadratisch));
  m.setVisible(O::CBZentrerirungstrick, m.checked(O::RBLaengereSeite));
  CBZentrerirungstrickClick();
}

void THauptForm::RBVorschauQuadratischClick() { groessenbasisKlick(); }
void THauptForm::RBLaengereSeiteClick() { groessenbasisKlick(); }
void THauptForm::RBBreiteClick() { groessenbasisKlick(); }
void THauptForm::RBHoeheClick() { groessenbasisKlick(); }

void THauptForm::CBZentrerirungstrickClick() {
  OptionModel& m = k_.m;
  m.setVisible(O::PZentirerungstrick, m.checked(O::CBZentrerirungstrick) && m.visible(O::CBZentrerirungstrick));
}

void THauptForm::RBVorschauhintergrundtransparentClick() {
  k_.m.setVisible(O::PZentrierungstrickFarbe, !k_.m.checked(O::RBVorschauhintergrundtransparent));
}

// The column count is available only while the button is; the settings
// reader may choose it while panoramas are not treated apart.
void THauptForm::RBPanoramaVorschauEinigeSpaltenClick() {
  OptionModel& m = k_.m;
  panoSpaltenBeschriftung(m, m.spin(O::SpEdAnzPanoSpalten) == 1);
  m.setEnabled(O::SpEdAnzPanoSpalten,
               m.checked(O::RBPanoramaVorschauEinigeSpalten) && m.enabled(O::RBPanoramaVorschauEinigeSpalten));
}

void THauptForm::RBPanoramaVorschauAlleSpaltenClick() {
  OptionModel& m = k_.m;
  m.setEnabled(O::SpEdAnzPanoSpalten,
               m.checked(O::RBPanoramaVorschauEinigeSpalten) && m.enabled(O::RBPanoramaVorschauEinigeSpalten));
  panoSpaltenBeschriftung(m, false);
}

void THauptForm::SpEdAnzPanoSpaltenChange() { panoSpaltenBeschriftung(k_.m, k_.m.spin(O::SpEdAnzPanoSpalten) == 1); }

void THauptForm::SpEdAnzPanoSpaltenEnter() {
  OptionModel& m = k_.m;
  m.setBounds(O::SpEdAnzPanoSpalten, m.minValue(O::SpEdAnzPanoSpalten), m.spin(O::SpEdSpaltenzahl));
}

// A panorama never spans more columns than the table has.
void THauptForm::SpEdSpaltenzahlChange() {
  OptionModel& m = k_.m;
  const int spalten = m.spin(O::SpEdSpaltenzahl);
  if (m.spin(O::SpEdAnzPanoSpalten) > spalten) m.setSpin(O::SpEdAnzPanoSpalten, spalten);
  m.setBounds(O::SpEdAnzPanoSpalten, m.minValue(O::SpEdAnzPanoSpalten), spalten);
}

// --- Layout 1 ------------------------------------------------------------------

void THauptForm::RBganzerOrdnerClick() {
  OptionModel& m = k_.m;
  const bool ganz = m.checked(O::RBganzerOrdner);
  if (ganz) {
    en(m, {O::SpEdZeilenProSeitezahl, O::BNavigationUebersicht, O::CBSeitenanzahlAnzeigen}, false);
    zeigen(m, {O::EdBindestrich, O::LZahl3}, false);
    en(m,
       {O::CBNavigationOben, O::CBNavigationUnten, O::RBNavUebTextlinks, O::RBNavUebGrafiklinks, O::EdBlaetternZurueck,
        O::EdBlaetternVor, O::LBlaetternZurueck, O::LBlaetternVor, O::LNavigation},
       false);
  } else {
    en(m, {O::SpEdZeilenProSeitezahl, O::BNavigationUebersicht}, true);
    seitenanzahlVerfuegbar(m);
    zeigen(m, {O::EdBindestrich, O::LZahl3}, true);
    en(m, {O::LNavigation, O::CBNavigationOben, O::CBNavigationUnten, O::RBNavUebTextlinks, O::RBNavUebGrafiklinks},
       true);
    en(m, {O::EdBlaetternZurueck, O::EdBlaetternVor, O::LBlaetternZurueck, O::LBlaetternVor},
       m.checked(O::RBNavUebTextlinks));
  }
  // The navigation dialog's own rule follows the paging at once, not only
  // when its page is opened.
  nav_.RBNavUebTextlinksClick();
  // The file-name preview follows by its layout: the hidden pieces close up.
}

void THauptForm::CBOrdnernameAnzeigenClick() {
  OptionModel& m = k_.m;
  seitenanzahlVerfuegbar(m);
  if (!m.checked(O::CBOrdnernameAnzeigen)) m.setChecked(O::CBSeitenanzahlAnzeigen, false);
}

void THauptForm::CBmitUnterverzeichnissenClick() {
  OptionModel& m = k_.m;
  const bool an = m.checked(O::CBmitUnterverzeichnissen);
  en(m, {O::CBOrdnernameAnzeigen, O::LOrdner, O::LSpalte_n, O::SpEdOrdnerSpalten}, an);
  m.setEnabled(O::RBOrdnerSpaltenweise, an && m.spin(O::SpEdOrdnerSpalten) > 1);
  en(m,
     {O::RBOrdnerZeilenweise, O::SpBspaltenweise, O::SpBZeilenweise, O::LOrdnerSpaltenabstand,
      O::SpEdOrdnerSpaltenabstand, O::LBedeutungWertMinus1_no2},
     m.enabled(O::RBOrdnerSpaltenweise));
  en(m,
     {O::LAnzeigenbeiordnern, O::CBOrdnernamenAnzeigen, O::CBUnterordnerbildAnzeigen, O::CBUnterordnerMitDatum,
      O::CBUnterordnerMitAnzDateien, O::CBAnzeigeUnterodnerMitDateigroesse, O::CBAnzeigeUnterordnerMitAnzUnterordner,
      O::CBAnzeigeAuchAktuellerOrdner},
     an);
  if (an) {
    CBAnzeigeUnterordnerMitAnzUnterordnerClick();
    CBAnzeigeUnterodnerMitDateigroesseClick();
    CBUnterordnerMitAnzDateienClick();
  } else {
    en(m,
       {O::CBUnterordnerMitAnzDateienRek, O::CBAnzeigeUnterodnerMitGroesseRek,
        O::CBAnzeigeUnterodnerMitUnterordnerRek},
       false);
  }
  m.setEnabled(O::PStrichbeiOrndern, an);
  seitenanzahlVerfuegbar(m);
  m.setEnabled(O::CBAnzeigeUnterordnerMitAnzUnterordner, an);
  CBAnzeigeUnterordnerMitAnzUnterordnerClick();
}

void THauptForm::CBUnterordnerMitAnzDateienClick() {
  OptionModel& m = k_.m;
  m.setEnabled(O::CBUnterordnerMitAnzDateienRek,
               m.checked(O::CBUnterordnerMitAnzDateien) && m.checked(O::CBmitUnterverzeichnissen));
  CBUnterordnerMitDatumClick();
}

void THauptForm::CBAnzeigeUnterodnerMitDateigroesseClick() {
  OptionModel& m = k_.m;
  m.setEnabled(O::CBAnzeigeUnterodnerMitGroesseRek,
               m.checked(O::CBAnzeigeUnterodnerMitDateigroesse) && m.checked(O::CBmitUnterverzeichnissen));
  CBUnterordnerMitDatumClick();
}

void THauptForm::CBAnzeigeUnterordnerMitAnzUnterordnerClick() {
  OptionModel& m = k_.m;
  m.setEnabled(O::CBAnzeigeUnterodnerMitUnterordnerRek,
               m.checked(O::CBAnzeigeUnterordnerMitAnzUnterordner) && m.checked(O::CBmitUnterverzeichnissen));
  CBUnterordnerMitDatumClick();
}

// The date box's Enabled state stands for the inclusion of sub-folders.
void THauptForm::CBUnterordnerMitDatumClick() {
  OptionModel& m = k_.m;
  const bool angabe = m.checked(O::CBUnterordnerMitAnzDateien) || m.checked(O::CBAnzeigeUnterodnerMitDateigroesse) ||
                      (m.checked(O::CBAnzeigeUnterordnerMitAnzUnterordner) &&
                       m.enabled(O::CBAnzeigeUnterordnerMitAnzUnterordner));
  m.setEnabled(O::CBAnzeigeAuchAktuellerOrdner, angabe && m.enabled(O::CBUnterordnerMitDatum));
}

// The order and spacing controls (with the spacing's note) are available
// only with more than one column, and only while the column count itself is
// (sub-folders included).
void THauptForm::SpEdOrdnerSpaltenChange() {
  OptionModel& m = k_.m;
  const bool eine = m.spin(O::SpEdOrdnerSpalten) == 1;
  m.setText(O::LSpalte_n, eine ? "Spalte" : "Spalten");
  en(m,
     {O::RBOrdnerSpaltenweise, O::RBOrdnerZeilenweise, O::SpEdOrdnerSpaltenabstand, O::LOrdnerSpaltenabstand,
      O::SpBspaltenweise, O::SpBZeilenweise, O::LBedeutungWertMinus1_no2},
     !eine && m.enabled(O::SpEdOrdnerSpalten));
}

void THauptForm::SpBspaltenweiseClick() { k_.m.setChecked(O::RBOrdnerSpaltenweise, true); }
void THauptForm::SpBZeilenweiseClick() { k_.m.setChecked(O::RBOrdnerZeilenweise, true); }

void THauptForm::SpEdOrdnerSpaltenabstandChange() {
  k_.m.setVisible(O::LBedeutungWertMinus1_no2, k_.m.spin(O::SpEdOrdnerSpaltenabstand) == -1);
}

void THauptForm::SpEdAbstand1Change() {
  OptionModel& m = k_.m;
  m.setVisible(O::LBedeutungWertMinus1, m.spin(O::SpEdAbstand1) == -1 || m.spin(O::SpEdAbstand2) == -1);
}

// A sub-folder cell always shows its name, its first picture or both.
void THauptForm::CBOrdnernamenAnzeigenClick() {
  if (!k_.m.checked(O::CBOrdnernamenAnzeigen)) k_.m.setChecked(O::CBUnterordnerbildAnzeigen, true);
}

void THauptForm::CBUnterordnerbildAnzeigenClick() {
  if (!k_.m.checked(O::CBUnterordnerbildAnzeigen)) k_.m.setChecked(O::CBOrdnernamenAnzeigen, true);
}

void THauptForm::CBOrdnerSortierenClick() {
  OptionModel& m = k_.m;
  en(m, {O::RBOrdnerSortierenNachName, O::RBOrdnerSortierenNachDatum, O::CBOSortRueckwaerts},
     m.checked(O::CBOrdnerSortieren));
}

void THauptForm::CBDateienSortierenClick() {
  OptionModel& m = k_.m;
  en(m,
     {O::RBDateienSortierenNachName, O::RBDateienSortierenNachGroesse, O::RBDateienSortierenNachDatum,
      O::CBDSortRueckwaerts},
     m.checked(O::CBDateienSortieren));
}

// --- Layout 2: link mode and picture pages ----------------------------------

void THauptForm::linkmodusOhneSeiten(bool fensterMoeglich) {
  OptionModel& m = k_.m;
  en(m, kBildseitenSteuerelemente, false);
  zeigen(m, {O::EdVerbindungszeichen, O::LBildname}, false);
  en(m, {O::RBGrosseBilderOriginalgross, O::RBdummy1}, false);
  m.setEnabled(O::LFensternavigation, fensterMoeglich && !k_.st.DoctypeStrict);
  m.setEnabled(O::CoBFensterNavigation, m.enabled(O::LFensternavigation));
  m.setEnabled(O::CBDiashow, false);
  CBDiashowClick();
  originaleVerlinkbar();
}

void THauptForm::RBnichtverlinkenClick() {
  if (k_.m.checked(O::RBnichtverlinken)) linkmodusOhneSeiten(false);
  RBGrosseBilderOriginalgrossClick();
  RBGrossePanoramenOriginalgrossClick();
}

void THauptForm::RBLinkAufBilddateiClick() {
  if (k_.m.checked(O::RBLinkAufBilddatei)) linkmodusOhneSeiten(true);
  RBGrosseBilderOriginalgrossClick();
  RBGrossePanoramenOriginalgrossClick();
}

void THauptForm::RBProBildEineHTMLDateiClick() {
  OptionModel& m = k_.m;
  if (m.checked(O::RBProBildEineHTMLDatei)) {
    const bool pano = m.checked(O::CBPanoramaExtrabehandlung);
    en(m, {O::SpEdGrosseBilder, O::LPunkte1, O::RBGrosseBilderLaengereSeite, O::RBGrosseBilderBreite,
           O::RBGrosseBilderHoehe},
       true);
    m.setEnabled(O::RBGrossePanoramenOriginalgross, pano);
    m.setEnabled(O::RBDummy2, m.enabled(O::RBGrossePanoramenOriginalgross));
    en(m, {O::SpEdGrossePanoramen, O::LPunkte2, O::RBGrossePanoramenBreite, O::RBGrossePanoramenHoehe}, pano);
    en(m,
       {O::CBGrosseBilderVergroessern, O::LBeschreibungGross, O::MBeschreibungGross, O::BGrossExifDaten,
        O::CBGrossBildHint, O::LLinksGross, O::CBGrossBildLinkVideo, O::CBGrossBildLinkAudio, O::CBGrossBildLinkText,
        O::BNavigationGrosseBilder, O::CBNavigationGrosseBilder, O::CBNavigationEndlos},
       true);
    zeigen(m, {O::EdVerbindungszeichen, O::LBildname}, true);
    en(m, {O::RBGrosseBilderOriginalgross, O::RBdummy1}, true);
    m.setEnabled(O::RBGrossePanoramenOriginalgross, pano);
    m.setEnabled(O::RBDummy2, m.enabled(O::RBGrossePanoramenOriginalgross));
    m.setEnabled(O::LFensternavigation, !k_.st.DoctypeStrict);
    m.setEnabled(O::CoBFensterNavigation, m.enabled(O::LFensternavigation));
    m.setEnabled(O::CBDiashow, true);
    // The link texts of the picture pages: the slideshow rule runs the
    // navigation dialog's rule for them.
    CBDiashowClick();
    originaleVerlinkbar();
  }
  RBGrosseBilderOriginalgrossClick();
  RBGrossePanoramenOriginalgrossClick();
}

void THauptForm::RBGrosseBilderOriginalgrossClick() {
  OptionModel& m = k_.m;
  en(m,
     {O::SpEdGrosseBilder, O::LPunkte1, O::RBGrosseBilderLaengereSeite, O::RBGrosseBilderBreite,
      O::RBGrosseBilderHoehe},
     !m.checked(O::RBGrosseBilderOriginalgross) && m.checked(O::RBProBildEineHTMLDatei));
}

void THauptForm::RBGrossePanoramenOriginalgrossClick() {
  OptionModel& m = k_.m;
  en(m, {O::SpEdGrossePanoramen, O::LPunkte2, O::RBGrossePanoramenBreite, O::RBGrossePanoramenHoehe},
     !m.checked(O::RBGrossePanoramenOriginalgross) && m.checked(O::CBPanoramaExtrabehandlung) &&
         m.checked(O::RBProBildEineHTMLDatei));
}

// Picture pages opened in a new window lead back by closing it.
void THauptForm::CoBFensterNavigationChange() {
  OptionModel& m = k_.m;
  const bool neuesFenster = m.index(O::CoBFensterNavigation) >= 1 && m.enabled(O::CoBFensterNavigation);
  if (neuesFenster) {
    m.setText(O::LBlaetternUebersichtGross, "Fenster schließen");
    if (m.text(O::EdnavGrossUebersicht) == "Übersicht") m.setText(O::EdnavGrossUebersicht, "[Fenster schließen]");
  } else {
    m.setText(O::LBlaetternUebersichtGross, "Übersichtsseite");
    if (m.text(O::EdnavGrossUebersicht) == "[Fenster schließen]") m.setText(O::EdnavGrossUebersicht, "Übersicht");
  }
}

// --- Colours and fonts, extra texts ----------------------------------------

void THauptForm::CBHintergrundgrafikClick() {
  OptionModel& m = k_.m;
  en(m, {O::EdHintergrundgrafik, O::BitBWaehlerHintergrundgrafik}, m.checked(O::CBHintergrundgrafik));
}

void THauptForm::CBUebFesteSchriftClick() { k_.m.setEnabled(O::CoBUeberschrift, k_.m.checked(O::CBUebFesteSchrift)); }
void THauptForm::CBRestFesteSchriftClick() { k_.m.setEnabled(O::CoBResttext, k_.m.checked(O::CBRestFesteSchrift)); }

namespace {
// A typed font name joins the proposals, in front.
void schriftNachschlagen(OptionModel& m, Opt combo) {
  const std::string& name = m.text(combo);
  if (name.empty()) return;
  std::vector<std::string> items = m.items(combo);
  for (const std::string& s : items)
    if (s == name) return;
  items.insert(items.begin(), name);
  m.setItems(combo, std::move(items));
}
}  // namespace

void THauptForm::CoBUeberschriftExit() { schriftNachschlagen(k_.m, O::CoBUeberschrift); }
void THauptForm::CoBResttextExit() { schriftNachschlagen(k_.m, O::CoBResttext); }

void THauptForm::CBZTextUebObenClick() {
  OptionModel& m = k_.m;
  en(m, {O::MZTextUebOben, O::RBZTextUebObenAufErsterSeite, O::RBZTextUebObenAufJederSeite},
     m.checked(O::CBZTextUebOben));
}

void THauptForm::CBZTextUebUntenClick() {
  OptionModel& m = k_.m;
  en(m, {O::MZTextUebUnten, O::RBZTextUebUntenAufErsterSeite, O::RBZTextUebUntenAufJederSeite},
     m.checked(O::CBZTextUebUnten));
}

void THauptForm::CBZTextGrossObenClick() { k_.m.setEnabled(O::MZTextGrossOben, k_.m.checked(O::CBZTextGrossOben)); }
void THauptForm::CBZTextGrossUntenClick() { k_.m.setEnabled(O::MZTextGrossUnten, k_.m.checked(O::CBZTextGrossUnten)); }

// --- Miscellaneous tab ----------------------------------------------------------

void THauptForm::CBSchluesselwoerterClick() {
  k_.m.setEnabled(O::EdMetaSchluesselwoerter, k_.m.checked(O::CBSchluesselwoerter));
}
void THauptForm::CBBeschreibungClick() { k_.m.setEnabled(O::EdMetaBeschreibung, k_.m.checked(O::CBBeschreibung)); }
void THauptForm::CBAutorClick() { k_.m.setEnabled(O::EdMetaAutor, k_.m.checked(O::CBAutor)); }

// The two robot options are never both on.
void THauptForm::CBSuchrobotorAusladenClick() {
  if (k_.m.checked(O::CBSuchrobotorAusladen)) k_.m.setChecked(O::CBSuchrobotorEinladen, false);
}
void THauptForm::CBSuchrobotorEinladenClick() {
  if (k_.m.checked(O::CBSuchrobotorEinladen)) k_.m.setChecked(O::CBSuchrobotorAusladen, false);
}

void THauptForm::CBDiashowClick() {
  OptionModel& m = k_.m;
  en(m, {O::SpEdDiashow, O::CBDiashowAbschaltbar, O::LDiashowSek},
     m.checked(O::CBDiashow) && m.enabled(O::CBDiashow));
  CBDiashowAbschaltbarClick();
}

// The slideshow's link texts on the navigation dialog follow both boxes.
void THauptForm::CBDiashowAbschaltbarClick() { nav_.RBNavGrTextlinksClick(); }

void THauptForm::CBCopyrightClick() {
  if (k_.m.checked(O::CBCopyright)) return;
  if (k_.meldung(MsgKind::Confirmation,
                 "Ich wäre Ihnen dankbar, wenn Sie diesen kleinen\r\nHinweis auf mein Programm nicht deaktivieren "
                 "würden -\r\nSie helfen damit, diese Freeware bekannt zu machen!\r\nTrotzdem steht Ihnen die Option "
                 "offen!\r\n\r\nWollen Sie den Hinweis beibehalten?",
                 MsgButtons::YesNo) == MsgResult::Yes)
    k_.m.setChecked(O::CBCopyright, true);
}

void THauptForm::CBLinkZurueckZurHomepageClick() {
  OptionModel& m = k_.m;
  const bool an = m.checked(O::CBLinkZurueckZurHomepage);
  en(m,
     {O::RBLinkZurueckNurAuf1Seite, O::RBLinkZurueckAufJederSeite, O::CBLinkZurueckOben, O::CBLinkZurueckUnten,
      O::EdLinkZuruekVerlinkteDatei, O::BitBLinkZuruekVerlinkteDatei, O::CBLinkZureckGrafikLink,
      O::CBLinkZurueckTextlink},
     an);
  CBLinkZureckGrafikLinkClick();
  CBLinkZurueckTextlinkClick();
}

void THauptForm::CBLinkZureckGrafikLinkClick() {
  OptionModel& m = k_.m;
  m.setEnabled(O::EdLinkZurueckGrafik, m.checked(O::CBLinkZureckGrafikLink) && m.checked(O::CBLinkZurueckZurHomepage));
  m.setEnabled(O::BitBLinkZurueckGrafik, m.enabled(O::EdLinkZurueckGrafik));
}

void THauptForm::CBLinkZurueckTextlinkClick() {
  OptionModel& m = k_.m;
  m.setEnabled(O::EdLinkZurueckText, m.checked(O::CBLinkZurueckTextlink) && m.checked(O::CBLinkZurueckZurHomepage));
}

// --- Expert tab -------------------------------------------------------------------

void THauptForm::CBAndereCSSDateiClick() {
  OptionModel& m = k_.m;
  const bool an = m.checked(O::CBAndereCSSDatei);
  en(m, {O::EdAndereCSSDatei, O::BitBCSSDatei}, an);
  // An own style sheet makes the edited one pointless.
  m.setVisible(O::TabSCSSDatei, !an);
  if (an && k_.st.CSSKlickAktiv)
    k_.meldung(MsgKind::Warning,
               "Achtung!\r\nEin Aktivieren dieser Option bewirkt, dass Mosaikschauer keine StyleSheet-Datei "
               "erzeugt\r\n- die Formatierungsangaben in den Registern werden nicht beachtet!\r\nFür korrekte "
               "Formatierungen müssen Sie mit der hier angegebenen Datei sorgen!");
}

void THauptForm::CBFaviconClick() {
  OptionModel& m = k_.m;
  en(m, {O::EdFavicon, O::BitBFavicon}, m.checked(O::CBFavicon));
}

void THauptForm::CBeigenenHeaderVerwendenClick() {
  OptionModel& m = k_.m;
  en(m,
     {O::BHeaderEinstellungenUebernehmen, O::LAenderungenFuerNeuenHeader, O::RBNeuerHeaderNurErsteSeite,
      O::RBNeuerHeaderUebersichtsseiten, O::RBNeuerHeaderAlleSeiten, O::LNeuerHeader, O::MNeuerHeader,
      O::LNeuerDateiabschluss, O::MNeuerDateiabschluss, O::LHeaderFooterAchtung, O::BHeaderUndFooterSpeichern,
      O::BHeaderUndFooterLaden},
     m.checked(O::CBeigenenHeaderVerwenden));
}

void THauptForm::CBCSSDateiaendernClick() {
  OptionModel& m = k_.m;
  en(m,
     {O::BCSSEinstellungenUebernehmen, O::MangepassteCSSDatei, O::LgeaenderteCSSDateiAchtung,
      O::BgeaenderteCSSSpeichern, O::BgeaenderteCSSLaden},
     m.checked(O::CBCSSDateiaendern));
}

// --- Program tab ----------------------------------------------------------------

// The mode only hides and shows; the hidden options keep their values and
// still take effect in a run.
void THauptForm::RBModusAnfaengerClick() {
  OptionModel& m = k_.m;
  const int stufe = m.checked(O::RBModusAnfaenger) ? 0 : m.checked(O::RBModusFortgeschrittener) ? 1 : 2;
  zeigen(m,
         {O::CBPanoramaExtrabehandlung, O::LPanoVerhaeltnis, O::RSpEdVerhaeltnis, O::GrBAttribute, O::GrBDateitypen,
          O::GBPanosgross, O::GrBPanorama, O::GrBanzUnterordner, O::GrBLinkZurueck, O::GrBHTMLNamensanpassung,
          O::TabSTexte, O::TabSExtraTexte},
         stufe >= 1);
  zeigen(m, {O::GrBPfade, O::TabSExperten}, stufe == 2);
}

void THauptForm::CBThemingClick() {
  ThemeManager.setOptions(k_.m.checked(O::CBTheming) ? kThemeVoll : kThemeOhneRahmenUndControls);
  melden();
}

void THauptForm::CBEinstellungenAutomatischSpeichernClick() {}
void THauptForm::CBIniDateiImAnwendungsordnerClick() {}
void THauptForm::CBDesktopVerknuepfungClick() { mosaik::CBDesktopVerknuepfungClick(k_, verknuepfungen); }
void THauptForm::CBStartmenueVerknuepfungClick() { mosaik::CBStartmenueVerknuepfungClick(k_, verknuepfungen); }

// --- Start ---------------------------------------------------------------------

// Only rules that set no value run here, before the controls hold options.
void THauptForm::entwurfszustand() {
  CBBilderPfadErsetzenClick();
  CBPanoramaExtrabehandlungClick();
  CBHintergrundgrafikClick();
  CBSchluesselwoerterClick();
  CBBeschreibungClick();
  CBAutorClick();
  k_.m.setVisible(O::LDoctypeAchtung, false);
  k_.m.setEnabled(O::CBmitXMLDeklaration, false);
}

// --- Folder displays ------------------------------------------------------------

// The displays show the chosen folder or the standard one; the view
// shortens them to its width.
void THauptForm::EdHTMLPfadAnpassen() {
  k_.m.setText(O::EdHTMLPfadname, k_.st.HTMLOrdnerPfad.empty() ? standardOrdnerHTML(k_) : k_.st.HTMLOrdnerPfad);
}

void THauptForm::EdgrosseBilderPfadnameAnpassen() {
  k_.m.setText(O::EdgrosseBilderPfadname,
               k_.st.GrosseBilderpfad.empty() ? standardOrdnerGrosseBilder(k_) : k_.st.GrosseBilderpfad);
}

void THauptForm::EdVorschauPfadnameAnpassen() {
  k_.m.setText(O::EdVorschauPfadname,
               k_.st.Vorschaubilderpfad.empty() ? standardOrdnerVorschaubilder(k_) : k_.st.Vorschaubilderpfad);
}

void THauptForm::pfadanzeigenAktualisieren() {
  EdHTMLPfadAnpassen();
  EdgrosseBilderPfadnameAnpassen();
  EdVorschauPfadnameAnpassen();
}

}  // namespace mosaik
