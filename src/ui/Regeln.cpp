#include "ui/HauptForm.h"

// The enabling rules of the option pages; each reads its trigger controls
// and sets its dependants.
namespace mosaik {

void THauptForm::EdNameHTMLExit() {}
void THauptForm::CBmitUnterverzeichnissenClick() {}
void THauptForm::CBOriginaleVerkleinernClick() {}
void THauptForm::CBVorschaubilderErzeugenClick() {}
void THauptForm::CBTypJpegClick() {}
void THauptForm::CBTypJpgClick() {}
void THauptForm::EdPfadErsetzungExit() {}
void THauptForm::EdVorschaulinksErsetzenExit() {}
void THauptForm::EdErweiterungVorschaubilderChange() {}
void THauptForm::EdErweiterungVorschaubilderExit() {}
void THauptForm::CBZentrerirungstrickClick() {}
void THauptForm::RBVorschauhintergrundtransparentClick() {}
void THauptForm::EdErweiterungGrosseBilderChange() {}
void THauptForm::SpEdOrdnerSpaltenChange() {}
void THauptForm::SpEdOrdnerSpaltenabstandChange() {}
void THauptForm::CBOrdnernamenAnzeigenClick() {}
void THauptForm::CBUnterordnerMitDatumClick() {}
void THauptForm::CBUnterordnerMitAnzDateienClick() {}
void THauptForm::CBAnzeigeUnterodnerMitDateigroesseClick() {}
void THauptForm::CBAnzeigeUnterordnerMitAnzUnterordnerClick() {}
void THauptForm::SpEdAbstand1Change() {}
void THauptForm::RBganzerOrdnerClick() {}
void THauptForm::CBOrdnernameAnzeigenClick() {}
void THauptForm::RBnichtverlinkenClick() {}
void THauptForm::RBLinkAufBilddateiClick() {}
void THauptForm::RBProBildEineHTMLDateiClick() {}
void THauptForm::CBPfadOriginaleErsetzenClick() {}
void THauptForm::RBGrosseBilderOriginalgrossClick() {}
void THauptForm::RBGrossePanoramenOriginalgrossClick() {}
void THauptForm::CBUebFesteSchriftClick() {}
void THauptForm::CBRestFesteSchriftClick() {}
void THauptForm::CBZTextUebObenClick() {}
void THauptForm::CBZTextUebUntenClick() {}
void THauptForm::CBZTextGrossObenClick() {}
void THauptForm::CBZTextGrossUntenClick() {}
void THauptForm::CBDiashowClick() {}
void THauptForm::CBLinkZureckGrafikLinkClick() {}
void THauptForm::CBLinkZurueckTextlinkClick() {}
void THauptForm::CBLinkZurueckZurHomepageClick() {}
void THauptForm::CBAndereCSSDateiClick() {}
void THauptForm::CBFaviconClick() {}
void THauptForm::CoBDoctypeChange() {}
void THauptForm::CBeigenenHeaderVerwendenClick() {}
void THauptForm::CBCSSDateiaendernClick() {}
void THauptForm::CBCopyrightClick() {}
void THauptForm::CBEinstellungenAutomatischSpeichernClick() {}
void THauptForm::CBIniDateiImAnwendungsordnerClick() {}
void THauptForm::CBThemingClick() {}
void THauptForm::CBDesktopVerknuepfungClick() {}
void THauptForm::CBStartmenueVerknuepfungClick() {}
void THauptForm::EdAndereZeichenExit() {}
void THauptForm::CoBFensterNavigationChange() {}
void THauptForm::EdKlammerAufExit() {}
void THauptForm::EdBindestrichExit() {}
void THauptForm::EdKlammerZuExit() {}
void THauptForm::EdVerbindungszeichenExit() {}
void THauptForm::RBModusAnfaengerClick() {}
void THauptForm::EdgrosseBilderPfadnameAnpassen() {}
void THauptForm::EdVorschauPfadnameAnpassen() {}

}  // namespace mosaik
