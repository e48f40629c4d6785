// Writing the settings file: every option under its key, in the order a new
// file receives them, then the keys of older versions removed.
#include "app/Einstellungen.h"
#include "app/options/Hersteller.h"
#include "app/options/Farbe.h"
#include "platform/IniDatei.h"

namespace mosaik {
namespace {

using namespace einstellungen;

class Schreiber {
 public:
  Schreiber(Kontext& k, IniDatei& ini) : k_(k), m_(k.m), ini_(ini) {}

  void sektion(const char* s) { sektion_ = s; }
  void text(const char* key, const std::string& t) { ini_.schreiben(sektion_, key, textWert(t)); }
  void text(const char* key, Opt o) { text(key, m_.text(o)); }
  void zitiert(const char* key, Opt o) { ini_.schreiben(sektion_, key, zitiertWert(m_.text(o))); }
  void boolesch(const char* key, bool b) { ini_.schreiben(sektion_, key, b ? "1" : "0"); }
  void boolesch(const char* key, Opt o) { boolesch(key, m_.checked(o)); }
  void zahl(const char* key, int64_t v) { ini_.schreiben(sektion_, key, std::to_string(v)); }
  void spin(const char* key, Opt o) { zahl(key, m_.spin(o)); }
  void index(const char* key, Opt o) { zahl(key, m_.index(o)); }
  void farbe(const char* key, Opt o) { ini_.schreiben(sektion_, key, HTMLFarbe(m_.color(o))); }
  void dezimal(const char* key, double v) {
    ini_.schreiben(sektion_, key, gleitkommaText(v, k_.sv.locale.decimalSeparator));
  }
  // Radio code: the first member found on decides; the last code stands for
  // none of the others.
  void code(const char* key, std::initializer_list<std::pair<Opt, int>> glieder, int sonst) {
    for (const auto& [o, c] : glieder) {
      if (m_.checked(o)) {
        zahl(key, c);
        return;
      }
    }
    zahl(key, sonst);
  }

 private:
  Kontext& k_;
  OptionModel& m_;
  IniDatei& ini_;
  const char* sektion_ = "";
};

void alleSchluesselSchreiben(Kontext& k, IniDatei& ini) {
  const AppState& st = k.st;
  Schreiber w(k, ini);

  w.sektion(kProduktname);
  w.text("Version", kVersion);
  w.text("Autor", kAutor);
  w.text("Homepage", kHerstellerWebsite);

  w.sektion("OrdnerUndDateien");
  w.text("Ordner", st.BilderOrdnerPfad);
  w.boolesch("Unterverzeichnisse", Opt::CBmitUnterverzeichnissen);
  w.boolesch("OriginaleVerkleinern", Opt::CBOriginaleVerkleinern);
  w.text("GrosseBilderpfad", st.GrosseBilderpfad);
  w.text("HTMLName", Opt::EdNameHTML);
  w.text("HTMLPfad", st.HTMLOrdnerPfad);
  w.boolesch("StartIndex", Opt::CBGrundnameistIndex);
  w.boolesch("HTMLStrukturFlach", Opt::RBStrukturflach);
  w.boolesch("VorschauErzeugen", Opt::CBVorschaubilderErzeugen);
  w.text("Vorschaubilderpfad", st.Vorschaubilderpfad);
  w.boolesch("PanoramaExtra", Opt::CBPanoramaExtrabehandlung);
  w.dezimal("PanoramaVerhältnis", k.m.decimal(Opt::RSpEdVerhaeltnis).toDouble());
  w.boolesch("AttrSchreibschutz", Opt::CBAttrSchreibschutz);
  w.boolesch("AttrVersteckt", Opt::CBAttrVersteckt);
  w.boolesch("AttrArchiv", Opt::CBAttrArchiv);
  w.boolesch("AttrSystem", Opt::CBAttrSystem);
  w.boolesch("ExtJPG", Opt::CBTypJpg);
  w.boolesch("ExtJPEG", Opt::CBTypJpeg);
  w.boolesch("OriginalePfadErsetzen", Opt::CBPfadOriginaleErsetzen);
  w.text("OriginalePfadErsetzung", Opt::EdOriginalePfadErsetzung);
  w.boolesch("BilderPfadErsetzen", Opt::CBBilderPfadErsetzen);
  w.text("BilderPfadErsetzung", Opt::EdPfadErsetzung);
  w.boolesch("VorschauPfadErsetzen", Opt::CBVorschaulinksErsetzen);
  w.text("VorschauPfadErsetzung", Opt::EdVorschaulinksErsetzen);

  w.sektion("Vorschaubilder");
  w.boolesch("VorschauProgressiv", Opt::CBVorschaubilderProgressiv);
  w.zahl("Komprimierung", k.m.position(Opt::TrBKomprimierung));
  w.text("VorschaunameErweiterung", Opt::EdErweiterungVorschaubilder);
  w.boolesch("ErweiterungVorne", Opt::RBVorne);
  w.boolesch("VorschauErsetzen", Opt::CBVorschaubilderErsetzen);
  w.boolesch("Resample", Opt::RBVerklMethKleinResample);
  w.spin("Größe", Opt::SpEdGroesse);
  w.code("Seite", {{Opt::RBVorschauQuadratisch, 3}, {Opt::RBHoehe, 2}, {Opt::RBBreite, 1}}, 0);
  w.farbe("QuadratFarbe", Opt::PanelquadratFarbe);
  w.boolesch("ZentrierungVertikal", Opt::CBZentrerirungstrick);
  w.boolesch("ZentrierungHintergrundTransparent", Opt::RBVorschauhintergrundtransparent);
  w.farbe("ZentrierungFarbe", Opt::PZentrierungstrickFarbe);
  w.boolesch("Vergrößern", Opt::CBkleineBilderVergroessern);
  w.spin("PanoramaGröße", Opt::SpEdPanoramaVorschau);
  w.boolesch("PanoramaBreite", Opt::RBPanoramaBreite);
  w.boolesch("PanoramaAlleSpalten", Opt::RBPanoramaVorschauAlleSpalten);
  w.spin("PanoramaAnzSpalten", Opt::SpEdAnzPanoSpalten);

  w.sektion("GrosseBilder");
  w.boolesch("GrosseBilderErsetzen", Opt::CBGrosseBilderErsetzen);
  w.zahl("Komprimierung", k.m.position(Opt::TrBKomprimierungGrosseBilder));
  w.boolesch("Progressiv", Opt::CBGrosseBilderProgressiv);
  w.text("Erweiterung", Opt::EdErweiterungGrosseBilder);
  w.boolesch("ErweiterungVorne", Opt::RBVorneGrosseBilder);
  w.boolesch("Resample", Opt::RBVerklMethGrossResample);
  w.spin("Größe", Opt::SpEdGroesseGrosseBilder);
  w.code("Seite", {{Opt::RBHoeheGrosseBilder, 2}, {Opt::RBBreiteGrosseBilder, 1}}, 0);
  w.spin("PanoramaGröße", Opt::SpEdPanoramaGrosseBilder);
  w.boolesch("PanoramaBreite", Opt::RBPanoramaBreiteGrosseBilder);
  w.boolesch("WebUnsicherErsetzen", Opt::CBUngueltigeNamenErsetzen);
  w.boolesch("KleineDateinamen", Opt::CBKleineDateinamen);
  w.boolesch("LeerzeichenErsetzen", Opt::CBLeerzeichenErsetzen);
  w.boolesch("UmlauteErsetzen", Opt::CBUmlauteErsetzen);
  w.boolesch("AndereErsetzen", Opt::CBAndereZeichen);
  w.text("AndereZeichen", Opt::EdAndereZeichen);
  w.boolesch("TrotzSchreibschutzUmbenennen", Opt::CBSchreibschutzdateienUmbenennen);

  w.sektion("Layout");
  w.boolesch("Rahmenlinien", Opt::CBTabellenrahmen);
  w.spin("OrdnerSpalten", Opt::SpEdOrdnerSpalten);
  w.boolesch("OrdnerSpaltenweise", Opt::RBOrdnerSpaltenweise);
  w.spin("OrdnerSpaltenabstand", Opt::SpEdOrdnerSpaltenabstand);
  w.boolesch("ZeigenErstesOrdnerbild", Opt::CBUnterordnerbildAnzeigen);
  w.boolesch("ZeigenOrdnername", Opt::CBOrdnernamenAnzeigen);
  w.boolesch("ZeigenOrdnerDatum", Opt::CBUnterordnerMitDatum);
  w.boolesch("ZeigenAnzDateien", Opt::CBUnterordnerMitAnzDateien);
  w.boolesch("ZeigenGrößeDateien", Opt::CBAnzeigeUnterodnerMitDateigroesse);
  w.boolesch("ZeigenAnzUnterordner", Opt::CBAnzeigeUnterordnerMitAnzUnterordner);
  w.boolesch("ZeigenAnzDateienRek", Opt::CBUnterordnerMitAnzDateienRek);
  w.boolesch("ZeigenGrößeRek", Opt::CBAnzeigeUnterodnerMitGroesseRek);
  w.boolesch("ZeigenOrdnerRek", Opt::CBAnzeigeUnterodnerMitUnterordnerRek);
  w.boolesch("ZeigenDatenAuchAktuellerOrdner", Opt::CBAnzeigeAuchAktuellerOrdner);
  w.spin("AnzSpalten", Opt::SpEdSpaltenzahl);
  w.spin("Zellenabstand", Opt::SpEdAbstand1);
  w.spin("Zelleninnenabstand", Opt::SpEdAbstand2);
  w.boolesch("GanzerOrdner", Opt::RBganzerOrdner);
  w.spin("AnzZeilenProSeite", Opt::SpEdZeilenProSeitezahl);
  w.boolesch("Seitenzahl", Opt::CBSeitenanzahlAnzeigen);
  w.text("Titel", Opt::EdSeitentitel);
  w.text("Überschrift", Opt::EdUeberschrift);
  w.boolesch("OrdnerNameAnzeigen", Opt::CBOrdnernameAnzeigen);
  w.boolesch("SortOrdner", Opt::CBOrdnerSortieren);
  w.boolesch("SortOrdnerNachName", Opt::RBOrdnerSortierenNachName);
  w.boolesch("SortOrdnerInvers", Opt::CBOSortRueckwaerts);
  w.boolesch("SortDateien", Opt::CBDateienSortieren);
  w.code("SortDateienNach", {{Opt::RBDateienSortierenNachGroesse, 2}, {Opt::RBDateienSortierenNachDatum, 1}}, 0);
  w.boolesch("SortDateienInvers", Opt::CBDSortRueckwaerts);
  w.text("Bildbeschreibung", Opt::MBeschreibung);
  w.dezimal("BWreal", st.BWreal);
  w.dezimal("BWumgerechnet", st.BWumgerechnet);
  w.boolesch("AnzeigenHinweis", Opt::CBDateinameAlsHint);
  w.boolesch("VideoLink", Opt::CBLinkZuVideo);
  w.boolesch("AudioLink", Opt::CBLinkZuAudio);
  w.boolesch("TextdateiLink", Opt::CBLinkZuTextdatei);
  w.code("Verlinkung", {{Opt::RBProBildEineHTMLDatei, 2}, {Opt::RBLinkAufBilddatei, 1}}, 0);
  w.boolesch("vonGroßenBildernZuOriginalenVerlinken", Opt::CBOriginaleVerlinken);
  w.index("FensterNavigation", Opt::CoBFensterNavigation);
  w.boolesch("GroßeBilderOriginalgröße", Opt::RBGrosseBilderOriginalgross);
  w.spin("GroesseBilderNormal", Opt::SpEdGrosseBilder);
  // Three keys of the large images stand in [Vorschaubilder]; stored files
  // rely on it.
  w.sektion("Vorschaubilder");
  w.code("GroßeBilderSeite", {{Opt::RBGrosseBilderHoehe, 2}, {Opt::RBGrosseBilderBreite, 1}}, 0);
  w.sektion("Layout");
  w.boolesch("GroßePanoramenOriginalgröße", Opt::RBGrossePanoramenOriginalgross);
  w.spin("GroesseBilderPanorama", Opt::SpEdGrossePanoramen);
  w.sektion("Vorschaubilder");
  w.code("GroßePanoramenSeite", {{Opt::RBGrossePanoramenHoehe, 2}}, 1);
  w.boolesch("GroßeBilderVergrößern", Opt::CBGrosseBilderVergroessern);
  w.sektion("Layout");
  w.text("BildbeschreibungGroß", Opt::MBeschreibungGross);
  w.boolesch("GrossesBildHint", Opt::CBGrossBildHint);
  w.boolesch("GrossesBildLinkVideo", Opt::CBGrossBildLinkVideo);
  w.boolesch("GrossesBildLinkAudio", Opt::CBGrossBildLinkAudio);
  w.boolesch("GrossesBildLinkText", Opt::CBGrossBildLinkText);

  w.sektion("FarbenUndFonts");
  w.boolesch("MitHintergrund", Opt::CBHintergrundgrafik);
  w.text("Hintergrund", Opt::EdHintergrundgrafik);
  w.farbe("FarbeHintergrund", Opt::PanelHintergrundFarbe);
  w.farbe("FarbeText", Opt::PanelTextFarbe);
  w.farbe("FarbeLink", Opt::PanelLinkFarbe);
  w.farbe("FarbeHoverLink", Opt::PanelHoverLinkFarbe);
  w.farbe("FarbeVLink", Opt::PanelVLinkFarbe);
  w.farbe("FarbeALink", Opt::PanelALinkFarbe);
  w.farbe("FarbeLinien", Opt::PanelLinienFarbe);
  w.index("Font1", Opt::CoBUebWeicheSchriftart);
  w.boolesch("Font1Fest", Opt::CBUebFesteSchrift);
  w.text("Font1Text", Opt::CoBUeberschrift);
  w.index("Font1Schnitt", Opt::CoBUebSchriftschnitt);
  w.text("Font1Größe", Opt::CoBUebGroesse);
  w.text("Font1Größe2", Opt::CoBUnterUebGroesse);
  w.index("Font2", Opt::CoBRestWeicheSchriftart);
  w.boolesch("Font2Fest", Opt::CBRestFesteSchrift);
  w.text("Font2Text", Opt::CoBResttext);
  w.index("Font2Schnitt", Opt::CoBRestSchriftschnitt);
  w.text("Font2Größe", Opt::CoBRestGroesse);

  w.sektion("Texte");
  w.zitiert("Startordnername", Opt::EdStartordnerName);
  w.zitiert("DieserOrdner", Opt::EdDieserOrdner);
  w.zitiert("UnterordnerSing", Opt::EdUnterordnerSing);
  w.zitiert("UnterordnerPl", Opt::EdUnterordnerPl);
  w.zitiert("BildSing", Opt::EdBildSing);
  w.zitiert("BilderPl", Opt::EdBilderPl);
  w.zitiert("keinBild", Opt::EdKeineBilddateien);
  w.zitiert("BilderCopyright", Opt::EdBilderCopyright);
  w.zitiert("NachOben", Opt::EdNachOben);
  w.zitiert("Videodatei", Opt::EdVideodatei);
  w.zitiert("Audiodatei", Opt::EdAudiodatei);
  w.zitiert("Textdatei", Opt::EdTextdatei);
  w.zitiert("ErstelltMit", Opt::EdErstelltMit);

  w.sektion("ExtraTexte");
  w.boolesch("MitDirinfo", Opt::CBdirinfoeinbinden);
  w.boolesch("MitZTextUebOben", Opt::CBZTextUebOben);
  w.boolesch("ZTextUebObenNurErsteSeite", Opt::RBZTextUebObenAufErsterSeite);
  w.text("ZTextUebOben", Opt::MZTextUebOben);
  w.boolesch("MitZTextUebUnten", Opt::CBZTextUebUnten);
  w.boolesch("ZTextUebUntenNurErsteSeite", Opt::RBZTextUebUntenAufErsterSeite);
  w.text("ZTextUebUnten", Opt::MZTextUebUnten);
  w.boolesch("MitZTextGrossOben", Opt::CBZTextGrossOben);
  w.text("ZTextGrossOben", Opt::MZTextGrossOben);
  w.boolesch("MitZTextGrossUnten", Opt::CBZTextGrossUnten);
  w.text("ZTextGrossUnten", Opt::MZTextGrossUnten);

  w.sektion("Sonstiges");
  w.boolesch("MetaAutor", Opt::CBAutor);
  w.zitiert("Autor", Opt::EdMetaAutor);
  w.boolesch("MetaSchlüsselwörter", Opt::CBSchluesselwoerter);
  w.text("Schlüsselwörter", Opt::EdMetaSchluesselwoerter);
  w.boolesch("MetaBeschreibung", Opt::CBBeschreibung);
  w.text("Beschreibung", Opt::EdMetaBeschreibung);
  w.boolesch("DiaShow", Opt::CBDiashow);
  w.spin("DiaShowZeit", Opt::SpEdDiashow);
  w.boolesch("DiaShowAbschaltbar", Opt::CBDiashowAbschaltbar);
  w.boolesch("RobotsEinladen", Opt::CBSuchrobotorEinladen);
  w.boolesch("RobotsAusladen", Opt::CBSuchrobotorAusladen);
  w.boolesch("Framekiller", Opt::CBFramekiller);
  w.boolesch("horizontaleLinien", Opt::CBmitHR);
  w.boolesch("mitBilderCopyright", Opt::CBBilderCopyright);
  w.boolesch("mitLinkHoch", Opt::CBmitLinkNachOben);
  w.boolesch("Copyright", Opt::CBCopyright);
  w.boolesch("IndexInGrafikordnern", Opt::CBIndexInGrafikordnern);
  w.boolesch("LinkZurückEinbauen", Opt::CBLinkZurueckZurHomepage);
  w.boolesch("LinkZurückNurSeite1", Opt::RBLinkZurueckNurAuf1Seite);
  w.boolesch("LinkZurückOben", Opt::CBLinkZurueckOben);
  w.boolesch("LinkZurückUnten", Opt::CBLinkZurueckUnten);
  w.text("LinkZurückVerlinkteDatei", Opt::EdLinkZuruekVerlinkteDatei);
  w.boolesch("LinkZurückMitGrafik", Opt::CBLinkZureckGrafikLink);
  w.text("LinkZurückGrafikdatei", Opt::EdLinkZurueckGrafik);
  w.boolesch("LinkZurückMitText", Opt::CBLinkZurueckTextlink);
  w.text("LinkZurückTextlink", Opt::EdLinkZurueckText);

  w.sektion("Experten");
  w.boolesch("andereCSSverwenden", Opt::CBAndereCSSDatei);
  w.text("andereCSSDatei", Opt::EdAndereCSSDatei);
  w.boolesch("FaviconVerwenden", Opt::CBFavicon);
  w.text("Favicon", Opt::EdFavicon);
  w.index("Doctype", Opt::CoBDoctype);
  w.boolesch("XMLDeklaration", Opt::CBmitXMLDeklaration);
  w.text("TrennungVorne", Opt::EdKlammerAuf);
  w.text("TrennungMitte", Opt::EdBindestrich);
  w.text("TrennungHinten", Opt::EdKlammerZu);
  w.text("TrennungBildname", Opt::EdVerbindungszeichen);
  w.boolesch("eigenenHeaderVerwenden", Opt::CBeigenenHeaderVerwenden);
  w.code("eigeneHeaderSeiten", {{Opt::RBNeuerHeaderAlleSeiten, 2}, {Opt::RBNeuerHeaderUebersichtsseiten, 1}}, 0);
  w.boolesch("individuelleCSSDateiVerwenden", Opt::CBCSSDateiaendern);

  w.sektion("Navigation");
  w.boolesch("ÜbNavOben", Opt::CBNavigationOben);
  w.boolesch("ÜbNavUnten", Opt::CBNavigationUnten);
  w.boolesch("ÜbTextlinks", Opt::RBNavUebTextlinks);
  w.text("ÜbZurück", Opt::EdBlaetternZurueck);
  w.text("ÜbVor", Opt::EdBlaetternVor);
  w.boolesch("ÜbStandardbilder", Opt::RBUebGrafikStandard);
  w.farbe("ÜbStandardbilderFarbe", Opt::PanelUebQuadratFarbe);
  w.text("ÜbGrafikZurück", Opt::EdGrafikUebZurueck);
  w.text("ÜbGrafikWeiter", Opt::EdGrafikUebWeiter);
  w.boolesch("ÜbGrafikHinweistext", Opt::CBNavgrafikenUebMitTitle);
  w.boolesch("NavigationGroßeBilder", Opt::CBNavigationGrosseBilder);
  w.boolesch("NavigationEndlos", Opt::CBNavigationEndlos);
  w.boolesch("GroßTextlinks", Opt::RBNavGrTextlinks);
  w.spin("GroßVertikalerAbstand", Opt::SpEdVertikalerAbstand);
  w.zitiert("GroßZurück", Opt::EdnavGrossZurueck);
  w.zitiert("GroßÜbersicht", Opt::EdnavGrossUebersicht);
  w.zitiert("GroßWeiter", Opt::EdnavGrossWeiter);
  w.zitiert("GroßDiashow", Opt::EdnavGrossDiashowEin);
  w.zitiert("GroßDiashowStopp", Opt::EdnavGrossDiashowAus);
  w.boolesch("GroßStandardbilder", Opt::RBGrossGrafikStandard);
  w.farbe("GroßStandardbilderFarbe", Opt::GrossPanelquadratFarbe);
  w.text("GroßGrafikZurück", Opt::EdGrafikGrossZurueck);
  w.text("GroßGrafikÜbersicht", Opt::EdGrafikGrossUebersicht);
  w.text("GroßGrafikWeiter", Opt::EdGrafikGrossWeiter);
  w.text("GroßGrafikDiashow", Opt::EdGrafikDiashowEin);
  w.text("GroßGrafikDiashowStopp", Opt::EdGrafikDiashowAus);
  w.boolesch("GroßGrafikHinweistext", Opt::CBNavgrafikenGrossMitTitle);

  w.sektion("Programm");
  w.code("Programmmodus", {{Opt::RBModusAnfaenger, 0}, {Opt::RBModusFortgeschrittener, 1}}, 2);
  w.boolesch("EinstAutoSpeichern", Opt::CBEinstellungenAutomatischSpeichern);
  w.boolesch("EinstImAppOrdner", Opt::CBIniDateiImAnwendungsordner);
  w.boolesch("XPDesign", Opt::CBTheming);
}

// Former places of keys, removed after every write so that an old file is
// cleaned when it is saved.
void InifileAlteEintraegeLoeschen(IniDatei& ini) {
  struct Alt {
    const char* sektion;
    std::initializer_list<const char*> schluessel;
  };
  static const Alt kAlt[] = {
      {"Layout", {"AnzeigenDateiname", "AnzeigenDateidatum", "AnzeigenDateiendung", "AnzeigenDateigröße",
                  "EXIFKommentar", "EXIFDatum", "EXIFAufnZeit", "EXIFblende", "EXIFBelZeit", "EXIFBrennweite",
                  "Größe", "Seite", "Vergrößern", "AnzZeilen", "AnzDateiname", "AnzDateidatum", "AnzDateiEndung",
                  "AnzDateiGröße", "AnzHinweis", "Links"}},
      {"Vorschaubilder", {"BilderPfadErsetzen", "BilderPfadErsetzung", "VorschauPfadErweitern",
                          "VorschauPfadErweiterung"}},
      {"FarbenUndFonts", {"Font3", "Font3Text"}},
      {"Layout", {"Startordnername", "AnzBilderProSeite", "Abstand"}},
      {"Vorschaubilder", {"NameVorschauOrdner", "PanoramaExtra", "PanoramaVerhältnis", "VorschauErzeugen"}},
      {"OrdnerUndDateien", {"WebUnsicherErsetzen", "KleineDateinamen", "LeerzeichenErsetzen", "UmlauteErsetzen",
                            "AndereErsetzen", "AndereZeichen", "TrotzSchreibschutzUmbenennen",
                            "VorschauPfadErweitern", "VorschauPfadErweiterung"}},
      {"Layout", {"NavOben", "NavUnten", "Zurück", "Vor", "NavigationGroßeBilder", "NavigationZurück",
                  "NavigationÜbersicht", "NavigationWeiter"}},
      {"Texte", {"Von"}},
      {"Sonstiges", {"EinstAutoSpeichern", "TrennungVorne", "TrennungMitte", "TrennungHinten", "TrennungBildname",
                     "alternativeCSSverwenden", "alternativeCSSDatei"}},
      {"Layout", {"MitDirinfo", "MitZusatztext", "ZusatztextNurErsteSeite", "Zusatztext"}},
      {"Sonstiges", {"andereCSSverwenden", "andereCSSDatei", "FaviconVerwenden", "Favicon"}},
      {"Layout", {"Abstand1_cellspacing", "Abstand2_cellpadding"}},
      {"GrosseBilder", {"ThumbsLöschen"}},
      {"Vorschaubilder", {"ThumbsLöschen"}},
      {"Programm", {"TrennungVorne", "TrennungMitte", "TrennungHinten", "TrennungBildname"}},
  };
  for (const Alt& a : kAlt)
    for (const char* s : a.schluessel) ini.loeschen(a.sektion, s);
}

}  // namespace

void InifileSchreiben(Kontext& k, const Einstellungsort& datei) {
  // One replacement of the whole file: a failure leaves the old one as it was.
  IniDatei ini(datei);
  alleSchluesselSchreiben(k, ini);
  InifileAlteEintraegeLoeschen(ini);
  ini.speichern();
}

}  // namespace mosaik
