#include "ui/Hilfe.h"

#include <array>
#include <vector>

#include "app/options/Hersteller.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

using O = Opt;

struct Zeile {
  std::string_view seite;
  std::string_view anker;
  std::vector<Opt> controls;
};

// Each control stands in one row only. The text field of the video link's
// name belongs with the other output texts.
const std::vector<Zeile>& tabelle() {
  static const std::vector<Zeile> t = {
      {"ordner.htm", "PfadzudenBildern", {O::EdBilderPfad, O::BitBBilderPfadWahl, O::CBmitUnterverzeichnissen}},
      {"ordner.htm",
       "GrundnamederHTMLDateien",
       {O::EdNameHTML, O::BitBHTMLSpeicherortWaehlen, O::BitBHTMLOrdnerLoeschen, O::CBGrundnameistIndex}},
      {"ordner.htm", "HTMLStruktur", {O::RBStrukturOrdner, O::RBStrukturflach}},
      {"ordner.htm", "VorschaubilderErzeugen", {O::CBVorschaubilderErzeugen}},
      {"ordner.htm", "OriginaleVerkleinern", {O::CBOriginaleVerkleinern}},
      {"ordner.htm", "PanoramenExtra", {O::CBPanoramaExtrabehandlung, O::RSpEdVerhaeltnis}},
      {"ordner.htm", "Attribute", {O::CBAttrSchreibschutz, O::CBAttrArchiv, O::CBAttrVersteckt, O::CBAttrSystem}},
      {"ordner.htm", "Dateitypen", {O::CBTypJpg, O::CBTypJpeg}},
      {"ordner.htm",
       "PfadeAendern",
       {O::CBPfadOriginaleErsetzen, O::EdOriginalePfadErsetzung, O::CBBilderPfadErsetzen, O::EdPfadErsetzung,
        O::CBVorschaulinksErsetzen, O::EdVorschaulinksErsetzen}},
      {"grossebilder.htm", "ersetzen", {O::CBGrosseBilderErsetzen}},
      {"grossebilder.htm",
       "jpgoptionen",
       {O::TrBKomprimierungGrosseBilder, O::EdKomprimierungGrosseBilder, O::CBGrosseBilderProgressiv}},
      {"grossebilder.htm",
       "namenserweiterung",
       {O::EdErweiterungGrosseBilder, O::RBVorneGrosseBilder, O::RBhintenGrosseBilder}},
      {"grossebilder.htm",
       "groesse",
       {O::SpEdGroesseGrosseBilder, O::RBLaengereSeiteGrosseBilder, O::RBBreiteGrosseBilder, O::RBHoeheGrosseBilder,
        O::CBkleineBilderVergroessernGrosseBilder}},
      {"grossebilder.htm",
       "groessepanorama",
       {O::SpEdPanoramaGrosseBilder, O::RBPanoramaBreiteGrosseBilder, O::RBPanoramaHoeheGrosseBilder}},
      {"grossebilder.htm",
       "BilderundOrdnernamenaendern",
       {O::CBUngueltigeNamenErsetzen, O::CBKleineDateinamen, O::CBLeerzeichenErsetzen, O::CBUmlauteErsetzen,
        O::CBAndereZeichen, O::EdAndereZeichen, O::CBSchreibschutzdateienUmbenennen}},
      {"vorschaubilder.htm",
       "Vorschaubilder",
       {O::CBVorschaubilderProgressiv, O::TrBKomprimierung, O::EdKomprimierung, O::EdErweiterungVorschaubilder,
        O::RBVorne, O::RBhinten, O::CBVorschaubilderErsetzen}},
      {"vorschaubilder.htm",
       "GroesseVorschaubilder",
       {O::SpEdGroesse, O::RBVorschauQuadratisch, O::RBLaengereSeite, O::RBBreite, O::RBHoehe, O::CBZentrerirungstrick,
        O::RBVorschauhintergrundtransparent, O::RBVorschauhintergrundFarbe, O::PZentrierungstrickFarbe,
        O::PanelquadratFarbe, O::CBkleineBilderVergroessern}},
      {"vorschaubilder.htm",
       "Panoramen",
       {O::SpEdPanoramaVorschau, O::RBPanoramaBreite, O::RBPanoramaHoehe, O::RBPanoramaVorschauAlleSpalten,
        O::RBPanoramaVorschauEinigeSpalten, O::SpEdAnzPanoSpalten}},
      {"layout1.htm", "Seitentitel", {O::EdSeitentitel}},
      {"layout1.htm", "Ueberschrift", {O::EdUeberschrift}},
      {"layout1.htm", "OrdnernameImKopf", {O::CBOrdnernameAnzeigen}},
      {"layout1.htm",
       "Tabellenoptionen",
       {O::CBTabellenrahmen, O::SpEdSpaltenzahl, O::SpEdAbstand1, O::SpEdAbstand2, O::RBganzerOrdner, O::RBZeilenzahl,
        O::SpEdZeilenProSeitezahl, O::BNavigationUebersicht, O::CBSeitenanzahlAnzeigen}},
      {"layout1.htm",
       "AnzUnterordner",
       {O::SpEdOrdnerSpalten, O::RBOrdnerSpaltenweise, O::RBOrdnerZeilenweise, O::SpEdOrdnerSpaltenabstand,
        O::CBOrdnernamenAnzeigen, O::CBUnterordnerbildAnzeigen, O::CBUnterordnerMitDatum, O::CBUnterordnerMitAnzDateien,
        O::CBUnterordnerMitAnzDateienRek, O::CBAnzeigeUnterodnerMitDateigroesse, O::CBAnzeigeUnterodnerMitGroesseRek,
        O::CBAnzeigeUnterordnerMitAnzUnterordner, O::CBAnzeigeUnterodnerMitUnterordnerRek,
        O::CBAnzeigeAuchAktuellerOrdner}},
      {"layout1.htm",
       "Sortieren",
       {O::CBOrdnerSortieren, O::RBOrdnerSortierenNachName, O::RBOrdnerSortierenNachDatum, O::CBOSortRueckwaerts,
        O::CBDateienSortieren, O::RBDateienSortierenNachName, O::RBDateienSortierenNachDatum,
        O::RBDateienSortierenNachGroesse, O::CBDSortRueckwaerts}},
      {"layout2.htm", "BeschreibungVorschau", {O::MBeschreibung, O::BExifDaten}},
      {"layout2.htm", "Hinweistext", {O::CBDateinameAlsHint}},
      {"layout2.htm", "VideoAudioText", {O::CBLinkZuVideo, O::CBLinkZuAudio, O::CBLinkZuTextdatei}},
      {"layout2.htm", "grosseBilder", {O::RBnichtverlinken}},
      {"layout2.htm", "LinkAufBild", {O::RBLinkAufBilddatei}},
      {"layout2.htm",
       "proBildEineDatei",
       {O::RBProBildEineHTMLDatei,
        O::CBOriginaleVerlinken,
        O::RBGrosseBilderOriginalgross,
        O::RBdummy1,
        O::SpEdGrosseBilder,
        O::RBGrosseBilderLaengereSeite,
        O::RBGrosseBilderBreite,
        O::RBGrosseBilderHoehe,
        O::RBGrossePanoramenOriginalgross,
        O::RBDummy2,
        O::SpEdGrossePanoramen,
        O::RBGrossePanoramenBreite,
        O::RBGrossePanoramenHoehe,
        O::CBGrosseBilderVergroessern,
        O::BGrossExifDaten,
        O::MBeschreibungGross,
        O::CBGrossBildHint,
        O::CBGrossBildLinkVideo,
        O::CBGrossBildLinkAudio,
        O::CBGrossBildLinkText,
        O::BNavigationGrosseBilder}},
      {"layout2.htm", "Fensternavigation", {O::CoBFensterNavigation}},
      {"farbenfonts.htm",
       "Hintergrundgrafik",
       {O::CBHintergrundgrafik, O::EdHintergrundgrafik, O::BitBWaehlerHintergrundgrafik}},
      {"farbenfonts.htm",
       "Farben",
       {O::PanelHintergrundFarbe, O::PanelTextFarbe, O::PanelLinienFarbe, O::PanelLinkFarbe, O::PanelHoverLinkFarbe,
        O::PanelVLinkFarbe, O::PanelALinkFarbe}},
      {"farbenfonts.htm",
       "Fonts",
       {O::CBUebFesteSchrift, O::CoBUeberschrift, O::CoBUebWeicheSchriftart, O::CoBUebSchriftschnitt, O::CoBUebGroesse,
        O::CoBUnterUebGroesse, O::CBRestFesteSchrift, O::CoBResttext, O::CoBRestWeicheSchriftart,
        O::CoBRestSchriftschnitt, O::CoBRestGroesse}},
      {"sonstiges.htm", "MetaAutor", {O::CBAutor, O::EdMetaAutor}},
      {"sonstiges.htm", "MetaSchluesselwoerter", {O::CBSchluesselwoerter, O::EdMetaSchluesselwoerter}},
      {"sonstiges.htm", "metaBeschreibung", {O::CBBeschreibung, O::EdMetaBeschreibung}},
      {"sonstiges.htm", "metaDiashow", {O::CBDiashow, O::SpEdDiashow, O::CBDiashowAbschaltbar}},
      {"sonstiges.htm", "metaRoboter", {O::CBSuchrobotorEinladen, O::CBSuchrobotorAusladen}},
      {"sonstiges.htm", "Framekiller", {O::CBFramekiller}},
      {"sonstiges.htm",
       "AnzeigeaufUebersicht",
       {O::CBmitHR, O::CBBilderCopyright, O::CBmitLinkNachOben, O::CBCopyright}},
      {"sonstiges.htm", "GrafikordnerVerstecken", {O::CBIndexInGrafikordnern}},
      {"sonstiges.htm",
       "LinkZurueck",
       {O::CBLinkZurueckZurHomepage, O::RBLinkZurueckNurAuf1Seite, O::RBLinkZurueckAufJederSeite, O::CBLinkZurueckOben,
        O::CBLinkZurueckUnten, O::EdLinkZuruekVerlinkteDatei, O::BitBLinkZuruekVerlinkteDatei,
        O::CBLinkZureckGrafikLink, O::EdLinkZurueckGrafik, O::CBLinkZurueckTextlink, O::EdLinkZurueckText}},
      {"programm.htm",
       "Programmeinstellungen",
       {O::CBEinstellungenAutomatischSpeichern, O::CBIniDateiImAnwendungsordner, O::BGrundEinstellungen,
        O::BEinstellungenSpeichern, O::BEinstellungenLaden}},
      {"programm.htm", "Programmmodus", {O::RBModusAnfaenger, O::RBModusFortgeschrittener, O::RBModusExperte}},
      {"programm.htm", "xpdesign", {O::CBTheming}},
      {"programm.htm", "verknuepfungen", {O::CBDesktopVerknuepfung, O::CBStartmenueVerknuepfung}},
      {"extratexte.htm", "Dirinfo", {O::CBdirinfoeinbinden}},
      {"extratexte.htm",
       "UebOben",
       {O::CBZTextUebOben, O::MZTextUebOben, O::RBZTextUebObenAufErsterSeite, O::RBZTextUebObenAufJederSeite}},
      {"extratexte.htm",
       "UebUnten",
       {O::CBZTextUebUnten, O::MZTextUebUnten, O::RBZTextUebUntenAufErsterSeite, O::RBZTextUebUntenAufJederSeite}},
      {"extratexte.htm", "GrossOben", {O::CBZTextGrossOben, O::MZTextGrossOben}},
      {"extratexte.htm", "GrossUnten", {O::CBZTextGrossUnten, O::MZTextGrossUnten}},
      {"experten.htm", "andereCSS", {O::CBAndereCSSDatei}},
      {"experten.htm", "alternativesCSS", {O::EdAndereCSSDatei}},
      {"experten.htm", "dokumenttypdeklaration", {O::CoBDoctype, O::CBmitXMLDeklaration}},
      {"experten.htm", "favicon", {O::CBFavicon, O::EdFavicon}},
      {"experten.htm", "HTMLNamen", {O::EdKlammerAuf, O::EdBindestrich, O::EdKlammerZu, O::EdVerbindungszeichen}},
      {"experten.htm", "eigenerheader", {O::CBeigenenHeaderVerwenden}},
      {"experten.htm", "einstellungenuebernehmen", {O::BHeaderEinstellungenUebernehmen}},
      {"experten.htm",
       "eigenerheaderwo",
       {O::RBNeuerHeaderNurErsteSeite, O::RBNeuerHeaderUebersichtsseiten, O::RBNeuerHeaderAlleSeiten}},
      {"experten.htm", "neuerheader", {O::MNeuerHeader}},
      {"experten.htm", "neuerfooter", {O::MNeuerDateiabschluss}},
      {"experten.htm", "headerfooterspeichern", {O::BHeaderUndFooterSpeichern, O::BHeaderUndFooterLaden}},
      {"experten.htm",
       "angepasstecssdatei",
       {O::CBCSSDateiaendern, O::BCSSEinstellungenUebernehmen, O::MangepassteCSSDatei, O::BgeaenderteCSSSpeichern}},
      {"fb.htm", "", {O::BFragebogen}},
      {"texte.htm",
       "ausgabetexte",
       {O::EdStartordnerName, O::EdDieserOrdner, O::EdUnterordnerSing, O::EdUnterordnerPl, O::EdBildSing, O::EdBilderPl,
        O::EdKeineBilddateien, O::EdBilderCopyright, O::EdNachOben, O::EdVideodatei, O::EdAudiodatei, O::EdTextdatei,
        O::EdErstelltMit}},
  };
  return t;
}

// Row of each control, -1 for none.
const std::array<int16_t, kOptCount>& zeileVon() {
  static const std::array<int16_t, kOptCount> z = [] {
    std::array<int16_t, kOptCount> a;
    a.fill(-1);
    const auto& t = tabelle();
    for (size_t i = 0; i < t.size(); ++i)
      for (Opt o : t[i].controls) a[static_cast<size_t>(o)] = static_cast<int16_t>(i);
    return a;
  }();
  return z;
}

bool oeffnen(Kontext& k, const std::string& ziel) { return k.sv.shell && k.sv.shell->open(ziel); }

// The web site and the mail link: handed to the user's programs as they are.
void adresseOeffnen(Kontext& k, const std::string& adresse) {
  if (!oeffnen(k, adresse))
    k.fehler("Die Adresse " + adresse + "\nkonnte nicht geöffnet werden: Es ist kein Programm dafür eingerichtet.");
}

}  // namespace

std::string HilfeVerweis::text() const {
  std::string t(seite);
  if (!anker.empty()) t.append("#").append(anker);
  return t;
}

std::optional<HilfeVerweis> hilfeVerweis(Opt o) {
  const int16_t z = zeileVon()[static_cast<size_t>(o)];
  if (z < 0) return std::nullopt;
  const Zeile& r = tabelle()[static_cast<size_t>(z)];
  return HilfeVerweis{r.seite, r.anker};
}

std::string hilfeOrdner(const Kontext& k) {
  const std::string programm =
      k.sv.programFolder.empty() ? fs::programFolder() : fs::withTrailingSlash(k.sv.programFolder);
  return programm + "hilfe/";
}

void hilfe(Kontext& k, const std::string& verweis) {
  // The anchor is split off the reference before the folder comes in front:
  // the program folder's own name may hold a '#'.
  const size_t raute = verweis.find('#');
  const std::string datei = hilfeOrdner(k) + verweis.substr(0, raute);
  if (!fs::fileExists(datei)) {
    k.meldung(MsgKind::Warning, "Die Hilfeseite " + datei + "\nexistiert nicht und kann darum nicht angezeigt werden!");
    return;
  }
  HTMLSeiteImBrowserOeffnen(k, datei, raute == std::string::npos ? std::string() : verweis.substr(raute + 1));
}

bool FormKeyDown(Kontext& k, std::optional<Opt> fokus, int taste) {
  if (taste != kTasteF1) return false;
  if (fokus)
    if (const auto v = hilfeVerweis(*fokus)) hilfe(k, v->text());
  return true;
}

void BHilfeClick(Kontext& k) { hilfe(k, "index.htm"); }
void BFragebogenClick(Kontext& k) { hilfe(k, "fb.htm"); }

void BHomepageClick(Kontext& k) { adresseOeffnen(k, kHerstellerWebsite); }

std::string rueckmeldungsLink() {
  return std::string("mailto:") + kHerstellerMail + "?subject=Rueckmeldung_zu_" + kProduktname + "_V" + kVersionLang;
}

void BMailClick(Kontext& k) { adresseOeffnen(k, rueckmeldungsLink()); }

}  // namespace mosaik
