#include "app/Grundeinstellungen.h"

#include "app/options/Hersteller.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

const char* const kTextUebUnten =
    "<p>Wenn die Bilder oder Seiten nicht richtig angezeigt werden, finden Sie Hinweise unter "
    "<a href=\"https://mosaikschauer.example/anzeigeprobleme.htm\">Anzeigeprobleme</a>.</p>";
const char* const kTextGrossUnten =
    "Hier können Sie zusätzliche Texte eintippen. Sie dürfen auch HTML enthalten, zum Beispiel einen "
    "Link wie <a href=\"https://mosaikschauer.example/\">Mosaikschauer</a>. Einen Zeilenumbruch "
    "erzwingen Sie mit <br>, zentrierten Text mit <div style=\"text-align:center\">Text</div>.";

std::string aktuellerOrdner() {
  std::string p = fs::currentFolder();
  if (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}

}  // namespace

std::string WindowsBenutzername(const Kontext& k) {
  return k.sv.loginName ? k.sv.loginName() : std::string();
}

void BGrundEinstellungenClick(Kontext& k, bool vomKnopf) {
  if (vomKnopf &&
      k.meldung(MsgKind::Warning, "Achtung! Alle vorhandenen Einstellungen gehen verloren.\r\nMöchten Sie das?",
                MsgButtons::YesNo) != MsgResult::Yes)
    return;
  OptionModel& m = k.m;
  AppState& st = k.st;

  // Tab Ordner
  st.HTMLOrdnerPfad.clear();
  st.BilderOrdnerPfad = aktuellerOrdner();
  m.setText(Opt::EdNameHTML, "meinebilder.htm");
  m.run(Opt::EdNameHTML, Ev::Exit);
  m.setText(Opt::EdBilderPfad, st.BilderOrdnerPfad);
  m.setChecked(Opt::CBGrundnameistIndex, true);
  m.setChecked(Opt::RBStrukturOrdner, true);
  m.setChecked(Opt::CBmitUnterverzeichnissen, true);
  m.run(Opt::CBmitUnterverzeichnissen, Ev::Click);
  m.setChecked(Opt::CBOriginaleVerkleinern, false);
  m.run(Opt::CBOriginaleVerkleinern, Ev::Click);
  st.GrosseBilderpfad.clear();
  m.run(Proc::EdgrosseBilderPfadnameAnpassen);
  m.setChecked(Opt::CBVorschaubilderErzeugen, true);
  m.run(Opt::CBVorschaubilderErzeugen, Ev::Click);
  st.Vorschaubilderpfad.clear();
  m.run(Proc::EdVorschauPfadnameAnpassen);
  m.setChecked(Opt::CBPanoramaExtrabehandlung, false);
  m.setDecimal(Opt::RSpEdVerhaeltnis, Decimal4::fromUnits(20000));
  m.setChecked(Opt::CBAttrSchreibschutz, true);
  m.setChecked(Opt::CBAttrVersteckt, false);
  m.setChecked(Opt::CBAttrArchiv, true);
  m.setChecked(Opt::CBAttrSystem, false);
  m.setChecked(Opt::CBTypJpg, true);
  m.setChecked(Opt::CBTypJpeg, true);
  m.run(Opt::CBTypJpeg, Ev::Click);
  m.run(Opt::CBTypJpg, Ev::Click);
  m.setChecked(Opt::CBPfadOriginaleErsetzen, false);
  m.setText(Opt::EdOriginalePfadErsetzung, "../originale/");
  m.setChecked(Opt::CBBilderPfadErsetzen, false);
  m.setText(Opt::EdPfadErsetzung, "http://");
  m.run(Opt::EdPfadErsetzung, Ev::Exit);
  m.setChecked(Opt::CBVorschaulinksErsetzen, false);
  m.setText(Opt::EdVorschaulinksErsetzen, "http://");
  m.run(Opt::EdVorschaulinksErsetzen, Ev::Exit);

  // Tab Vorschaubilder
  m.setChecked(Opt::CBVorschaubilderErsetzen, false);
  m.setPosition(Opt::TrBKomprimierung, 25);
  m.setText(Opt::EdKomprimierung, "25");
  m.setText(Opt::EdErweiterungVorschaubilder, "mini-");
  m.run(Opt::EdErweiterungVorschaubilder, Ev::Change);
  m.run(Opt::EdErweiterungVorschaubilder, Ev::Exit);
  m.setChecked(Opt::RBVorne, true);
  m.setChecked(Opt::CBVorschaubilderProgressiv, true);
  m.setChecked(Opt::RBVerklMethKleinResample, true);
  m.setSpin(Opt::SpEdGroesse, 120);
  m.setChecked(Opt::RBLaengereSeite, true);
  m.setColor(Opt::PanelquadratFarbe, 0x808080);
  m.setChecked(Opt::CBZentrerirungstrick, false);
  m.run(Opt::CBZentrerirungstrick, Ev::Click);
  m.setChecked(Opt::RBVorschauhintergrundtransparent, true);
  m.run(Opt::RBVorschauhintergrundtransparent, Ev::Click);
  m.setColor(Opt::PZentrierungstrickFarbe, 0x808080);
  m.setChecked(Opt::CBkleineBilderVergroessern, false);
  m.setSpin(Opt::SpEdPanoramaVorschau, 600);
  m.setChecked(Opt::RBPanoramaBreite, true);
  m.setChecked(Opt::RBPanoramaVorschauAlleSpalten, true);
  m.setSpin(Opt::SpEdAnzPanoSpalten, 2);

  // Tab Große Bilder
  m.setChecked(Opt::CBGrosseBilderErsetzen, false);
  m.setPosition(Opt::TrBKomprimierungGrosseBilder, 15);
  m.setText(Opt::EdKomprimierungGrosseBilder, "15");
  m.setChecked(Opt::CBGrosseBilderProgressiv, true);
  m.setText(Opt::EdErweiterungGrosseBilder, "");
  m.run(Opt::EdErweiterungGrosseBilder, Ev::Change);
  m.setChecked(Opt::RBVorneGrosseBilder, true);
  m.setChecked(Opt::RBVerklMethGrossResample, true);
  m.setSpin(Opt::SpEdGroesseGrosseBilder, 600);
  m.setChecked(Opt::RBLaengereSeiteGrosseBilder, true);
  m.setSpin(Opt::SpEdPanoramaGrosseBilder, 400);
  m.setChecked(Opt::RBPanoramaHoeheGrosseBilder, true);
  m.setChecked(Opt::CBUngueltigeNamenErsetzen, true);
  m.setChecked(Opt::CBKleineDateinamen, true);
  m.setChecked(Opt::CBLeerzeichenErsetzen, true);
  m.setChecked(Opt::CBUmlauteErsetzen, true);
  m.setChecked(Opt::CBAndereZeichen, false);
  m.setText(Opt::EdAndereZeichen, "!\"§$%&=?*~#':;");
  m.setChecked(Opt::CBSchreibschutzdateienUmbenennen, false);

  // Tab Layout 1
  m.setSpin(Opt::SpEdOrdnerSpalten, 1);
  m.run(Opt::SpEdOrdnerSpalten, Ev::Change);
  m.setChecked(Opt::RBOrdnerSpaltenweise, true);
  m.setSpin(Opt::SpEdOrdnerSpaltenabstand, 1);
  m.run(Opt::SpEdOrdnerSpaltenabstand, Ev::Change);
  m.setChecked(Opt::CBOrdnernamenAnzeigen, true);
  m.setChecked(Opt::CBUnterordnerbildAnzeigen, false);
  m.run(Opt::CBOrdnernamenAnzeigen, Ev::Click);
  m.setChecked(Opt::CBUnterordnerMitDatum, false);
  m.run(Opt::CBUnterordnerMitDatum, Ev::Click);
  m.setChecked(Opt::CBUnterordnerMitAnzDateien, false);
  m.run(Opt::CBUnterordnerMitAnzDateien, Ev::Click);
  m.setChecked(Opt::CBAnzeigeUnterodnerMitDateigroesse, false);
  m.run(Opt::CBAnzeigeUnterodnerMitDateigroesse, Ev::Click);
  m.setChecked(Opt::CBAnzeigeUnterordnerMitAnzUnterordner, false);
  m.run(Opt::CBAnzeigeUnterordnerMitAnzUnterordner, Ev::Click);
  m.setChecked(Opt::CBUnterordnerMitAnzDateienRek, true);
  {
    const bool rek = m.checked(Opt::CBmitUnterverzeichnissen);
    m.setEnabled(Opt::CBUnterordnerMitAnzDateienRek, rek && m.checked(Opt::CBUnterordnerMitAnzDateien));
    m.setEnabled(Opt::CBAnzeigeUnterodnerMitGroesseRek, rek && m.checked(Opt::CBAnzeigeUnterodnerMitDateigroesse));
    m.setEnabled(Opt::CBAnzeigeUnterodnerMitUnterordnerRek,
                 rek && m.checked(Opt::CBAnzeigeUnterordnerMitAnzUnterordner));
  }
  m.setChecked(Opt::CBAnzeigeUnterodnerMitGroesseRek, true);
  m.setChecked(Opt::CBAnzeigeUnterodnerMitUnterordnerRek, true);
  m.setChecked(Opt::CBAnzeigeAuchAktuellerOrdner, true);
  m.setChecked(Opt::CBTabellenrahmen, false);
  m.setSpin(Opt::SpEdSpaltenzahl, 3);
  m.setSpin(Opt::SpEdAbstand1, -1);
  m.setSpin(Opt::SpEdAbstand2, -1);
  m.run(Opt::SpEdAbstand1, Ev::Change);
  m.setChecked(Opt::RBganzerOrdner, true);
  m.run(Opt::RBganzerOrdner, Ev::Click);
  m.setSpin(Opt::SpEdZeilenProSeitezahl, 5);
  m.setChecked(Opt::CBSeitenanzahlAnzeigen, true);
  m.setText(Opt::EdSeitentitel, "Mosaikschauer");
  m.setText(Opt::EdUeberschrift, "Meine Fotos");
  m.setChecked(Opt::CBOrdnernameAnzeigen, true);
  m.run(Opt::CBOrdnernameAnzeigen, Ev::Click);
  m.setChecked(Opt::CBOrdnerSortieren, true);
  m.setChecked(Opt::RBOrdnerSortierenNachName, true);
  m.setChecked(Opt::CBOSortRueckwaerts, false);
  m.setChecked(Opt::CBDateienSortieren, true);
  m.setChecked(Opt::RBDateienSortierenNachName, true);
  m.setChecked(Opt::CBDSortRueckwaerts, false);

  // Tab Layout 2
  m.setText(Opt::MBeschreibung, "\\dn\\[\\zu\\ko\\]");
  st.BWreal = 5.0;
  st.BWumgerechnet = 35.0;
  m.setChecked(Opt::CBLinkZuVideo, false);
  m.setChecked(Opt::CBLinkZuAudio, false);
  m.setChecked(Opt::CBLinkZuTextdatei, false);
  m.setChecked(Opt::RBProBildEineHTMLDatei, true);
  // Of the three linking choices only the handler of the one that is on runs.
  m.run(m.radioChoice(Opt::RBnichtverlinken), Ev::Click);
  m.setChecked(Opt::CBOriginaleVerlinken, false);
  m.setEnabled(Opt::CBPfadOriginaleErsetzen,
               m.enabled(Opt::CBOriginaleVerlinken) && m.checked(Opt::CBOriginaleVerlinken));
  m.run(Opt::CBPfadOriginaleErsetzen, Ev::Click);
  m.setIndex(Opt::CoBFensterNavigation, 0);
  m.setChecked(Opt::RBGrosseBilderOriginalgross, true);
  m.run(Opt::RBGrosseBilderOriginalgross, Ev::Click);
  m.setSpin(Opt::SpEdGrosseBilder, 600);
  m.setChecked(Opt::RBGrosseBilderLaengereSeite, true);
  m.setChecked(Opt::RBGrossePanoramenOriginalgross, true);
  m.run(Opt::RBGrossePanoramenOriginalgross, Ev::Click);
  m.setSpin(Opt::SpEdGrossePanoramen, 400);
  m.setChecked(Opt::RBGrossePanoramenHoehe, true);
  m.setChecked(Opt::CBGrosseBilderVergroessern, false);
  m.setText(Opt::MBeschreibungGross, "\\[\\ko\\zu\\]\\dn\\zu\\kl\\dg\\( \\ad \\bz \\bl \\bw\\)\\gr");
  m.setChecked(Opt::CBGrossBildHint, true);
  m.setChecked(Opt::CBGrossBildLinkVideo, false);
  m.setChecked(Opt::CBGrossBildLinkAudio, false);
  m.setChecked(Opt::CBGrossBildLinkText, false);

  // Tab Farben, Fonts
  m.setChecked(Opt::CBHintergrundgrafik, false);
  m.setText(Opt::EdHintergrundgrafik, "");
  m.setColor(Opt::PanelHintergrundFarbe, 0xFFFFFF);
  m.setColor(Opt::PanelTextFarbe, 0x000000);
  m.setColor(Opt::PanelLinkFarbe, 0x0000FF);
  m.setColor(Opt::PanelHoverLinkFarbe, 0xFF0000);
  m.setColor(Opt::PanelVLinkFarbe, 0x800080);
  m.setColor(Opt::PanelALinkFarbe, 0xFF0000);
  m.setColor(Opt::PanelLinienFarbe, 0x808080);
  m.setChecked(Opt::CBUebFesteSchrift, false);
  m.run(Opt::CBUebFesteSchrift, Ev::Click);
  m.setText(Opt::CoBUeberschrift, st.Font1Standard);
  m.setIndex(Opt::CoBUebWeicheSchriftart, 0);
  m.setIndex(Opt::CoBUebSchriftschnitt, 0);
  m.setIndex(Opt::CoBUebGroesse, 0);
  m.setIndex(Opt::CoBUnterUebGroesse, 0);
  m.setChecked(Opt::CBRestFesteSchrift, false);
  m.run(Opt::CBRestFesteSchrift, Ev::Click);
  m.setText(Opt::CoBResttext, st.Font2Standard);
  m.setIndex(Opt::CoBRestWeicheSchriftart, 0);
  m.setIndex(Opt::CoBRestSchriftschnitt, 0);
  m.setIndex(Opt::CoBRestGroesse, 0);

  // Tab Extra-Texte
  m.setChecked(Opt::CBdirinfoeinbinden, true);
  m.setChecked(Opt::CBZTextUebOben, false);
  m.run(Opt::CBZTextUebOben, Ev::Click);
  m.setChecked(Opt::RBZTextUebObenAufErsterSeite, true);
  m.setText(Opt::MZTextUebOben, "Hier können Sie zusätzliche Texte eintippen, die dann entweder auf der ersten oder auf ");
  m.setChecked(Opt::CBZTextUebUnten, true);
  m.run(Opt::CBZTextUebUnten, Ev::Click);
  m.setChecked(Opt::RBZTextUebUntenAufErsterSeite, true);
  m.setText(Opt::MZTextUebUnten, kTextUebUnten);
  m.setChecked(Opt::CBZTextGrossOben, false);
  m.run(Opt::CBZTextGrossOben, Ev::Click);
  m.setText(Opt::MZTextGrossOben, "Hier können Sie zusätzliche Texte eintippen, die dann entweder auf der ersten oder auf ");
  m.setChecked(Opt::CBZTextGrossUnten, false);
  m.run(Opt::CBZTextGrossUnten, Ev::Click);
  m.setText(Opt::MZTextGrossUnten, kTextGrossUnten);

  // Tab Sonstiges
  m.setChecked(Opt::CBAutor, false);
  m.setText(Opt::EdMetaAutor, "");
  if (m.text(Opt::EdMetaAutor).empty()) m.setText(Opt::EdMetaAutor, WindowsBenutzername(k));
  m.setChecked(Opt::CBSchluesselwoerter, false);
  m.setText(Opt::EdMetaSchluesselwoerter, "");
  m.setChecked(Opt::CBBeschreibung, false);
  m.setText(Opt::EdMetaBeschreibung, "");
  m.setChecked(Opt::CBDiashow, false);
  m.setSpin(Opt::SpEdDiashow, 5);
  m.setChecked(Opt::CBDiashowAbschaltbar, true);
  m.run(Opt::CBDiashow, Ev::Click);
  m.setChecked(Opt::CBSuchrobotorEinladen, false);
  m.setChecked(Opt::CBSuchrobotorAusladen, false);
  m.setChecked(Opt::CBFramekiller, false);
  m.setChecked(Opt::CBmitHR, true);
  m.setChecked(Opt::CBBilderCopyright, true);
  m.setChecked(Opt::CBmitLinkNachOben, true);
  m.setChecked(Opt::CBCopyright, true);
  m.setChecked(Opt::CBIndexInGrafikordnern, true);
  m.setChecked(Opt::CBLinkZurueckZurHomepage, false);
  m.setChecked(Opt::RBLinkZurueckNurAuf1Seite, true);
  m.setChecked(Opt::CBLinkZurueckOben, false);
  m.setChecked(Opt::CBLinkZurueckUnten, true);
  m.setText(Opt::EdLinkZuruekVerlinkteDatei, "../index.htm");
  m.setChecked(Opt::CBLinkZureckGrafikLink, false);
  m.setText(Opt::EdLinkZurueckGrafik, "");
  m.setChecked(Opt::CBLinkZurueckTextlink, true);
  m.setText(Opt::EdLinkZurueckText, "zurück");
  m.run(Opt::CBLinkZureckGrafikLink, Ev::Click);
  m.run(Opt::CBLinkZurueckTextlink, Ev::Click);
  m.run(Opt::CBLinkZurueckZurHomepage, Ev::Click);

  // Tab Experten/Spezielles
  st.CSSKlickAktiv = false;
  m.setChecked(Opt::CBAndereCSSDatei, false);
  m.setText(Opt::EdAndereCSSDatei, "");
  m.run(Opt::CBAndereCSSDatei, Ev::Click);
  st.CSSKlickAktiv = true;
  m.setChecked(Opt::CBFavicon, false);
  m.setText(Opt::EdFavicon, std::string(kHerstellerWebsite) + "favicon.ico");
  m.run(Opt::CBFavicon, Ev::Click);
  m.setIndex(Opt::CoBDoctype, 1);
  m.setChecked(Opt::CBmitXMLDeklaration, false);
  m.run(Opt::CoBDoctype, Ev::Change);

  // Tab Experten/Header und Dateiabschluss
  m.setChecked(Opt::CBeigenenHeaderVerwenden, false);
  m.run(Opt::CBeigenenHeaderVerwenden, Ev::Click);
  m.setChecked(Opt::RBNeuerHeaderAlleSeiten, true);
  m.setText(Opt::MNeuerHeader, "");
  m.setText(Opt::MNeuerDateiabschluss, "");

  // Tab Experten/CSS-Datei
  m.setChecked(Opt::CBCSSDateiaendern, false);
  m.run(Opt::CBCSSDateiaendern, Ev::Click);
  m.setText(Opt::MangepassteCSSDatei, "");

  // Tab Programm
  st.AutoSpeichernKlickAktiv = false;
  m.setChecked(Opt::CBEinstellungenAutomatischSpeichern, true);
  st.AutoSpeichernKlickAktiv = true;
  st.IniOrtKlickAktiv = false;
  m.setChecked(Opt::CBIniDateiImAnwendungsordner, false);
  st.IniOrtKlickAktiv = true;
  m.setChecked(Opt::CBTheming, true);
  m.setChecked(Opt::RBModusAnfaenger, true);

  // Tab Experten/Spezielles
  m.setText(Opt::EdKlammerAuf, "(");
  m.setText(Opt::EdKlammerZu, ")");
  m.setText(Opt::EdBindestrich, "-");
  m.setText(Opt::EdVerbindungszeichen, "-");

  // Tab Texte
  m.setText(Opt::EdStartordnerName, "Startordner");
  m.setText(Opt::EdDieserOrdner, "Dieser Ordner");
  m.setText(Opt::EdUnterordnerSing, "Unterordner");
  m.setText(Opt::EdUnterordnerPl, "Unterordner");
  m.setText(Opt::EdBildSing, "Bild");
  m.setText(Opt::EdBilderPl, "Bilder");
  m.setText(Opt::EdKeineBilddateien, "Keine Bilder in diesem Ordner vorhanden. Bitte wählen Sie einen Unterordner!");
  m.setText(Opt::EdBilderCopyright, "Bilder-Copyright: [AUTOR]");
  m.setText(Opt::EdNachOben, "nach oben");
  m.setText(Opt::EdVideodatei, "Videodatei");
  m.setText(Opt::EdAudiodatei, "Audiodatei");
  m.setText(Opt::EdTextdatei, "Textdatei");
  m.setText(Opt::EdErstelltMit, "Erstellt mit");

  // Navigation window, tab Übersichtsseiten
  m.setChecked(Opt::CBNavigationOben, true);
  m.setChecked(Opt::CBNavigationUnten, true);
  m.run(Opt::CBNavigationUnten, Ev::Click);
  m.run(Opt::CBNavigationOben, Ev::Click);
  m.setChecked(Opt::RBNavUebTextlinks, true);
  m.setText(Opt::EdBlaetternZurueck, "zurück");
  m.setText(Opt::EdBlaetternVor, "weiter");
  m.setChecked(Opt::RBUebGrafikStandard, true);
  m.run(Opt::RBNavUebTextlinks, Ev::Click);
  m.setColor(Opt::PanelUebQuadratFarbe, 0x0000FF);
  m.setText(Opt::EdGrafikUebZurueck, "");
  m.setText(Opt::EdGrafikUebWeiter, "");
  m.setChecked(Opt::CBNavgrafikenUebMitTitle, true);

  // Navigation window, tab Große Bilder
  m.setChecked(Opt::CBNavigationGrosseBilder, true);
  m.setChecked(Opt::CBNavigationEndlos, true);
  m.setChecked(Opt::RBNavGrTextlinks, true);
  m.run(Opt::RBNavGrTextlinks, Ev::Click);
  m.setSpin(Opt::SpEdVertikalerAbstand, 0);
  m.setText(Opt::EdnavGrossZurueck, "zurück");
  m.setText(Opt::EdnavGrossUebersicht, "Übersicht");
  m.setText(Opt::EdnavGrossWeiter, "weiter");
  m.setText(Opt::EdnavGrossDiashowEin, "Diashow");
  m.setText(Opt::EdnavGrossDiashowAus, "Stopp");
  m.setText(Opt::LBlaetternUebersichtGross, "Übersichtsseite");
  m.setChecked(Opt::RBGrossGrafikStandard, true);
  m.run(Opt::RBGrossGrafikStandard, Ev::Click);
  m.setColor(Opt::GrossPanelquadratFarbe, 0x0000FF);
  m.setChecked(Opt::CBNavgrafikenGrossMitTitle, true);
}

}  // namespace mosaik
