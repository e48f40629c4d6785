// Reading a settings file: every key laid over the options as they stand, the
// former places of moved keys first, and the rules of the option pages run
// as the values arrive. A key the file lacks, or a value that cannot be read,
// leaves its option as it is.
#include <algorithm>
#include <cctype>

#include "app/Einstellungen.h"
#include "app/Grundeinstellungen.h"
#include "app/options/Farbe.h"
#include "platform/FileSystem.h"
#include "platform/IniDatei.h"
#include "platform/Win1252.h"

namespace mosaik {
namespace {

using namespace einstellungen;

// A path of the Windows program (C:\Web\galerie, \\server\share, a file
// name with backslashes), which names nothing here: it counts as no choice.
bool windowsPfad(const std::string& p) {
  const bool laufwerk = p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':';
  return laufwerk || (p.find('\\') != std::string::npos && !fs::fileExists(p) && !fs::folderExists(p));
}

class Leser {
 public:
  Leser(Kontext& k, const IniDatei& ini)
      : m_(k.m),
        ini_(ini),
        startOrdner_(k.sv.startFolder.empty() ? fs::currentFolder() : fs::withTrailingSlash(k.sv.startFolder)) {}

  void sektion(const char* s) { sektion_ = s; }

  // A value as stored: plain texts are taken as they are, up to a NUL (only
  // a damaged file holds one). The file system would see a path only up to
  // it, while comparisons and messages saw all of it and were cut there.
  std::optional<std::string> text(const char* key) const {
    auto v = ini_.lesen(sektion_, key);
    if (v) v->erase(std::min(v->find('\0'), v->size()));
    return v;
  }
  std::optional<std::string> zitiert(const char* key) const {
    auto v = text(key);
    if (!v) return std::nullopt;
    return zitiertLesen(*v);
  }
  std::optional<int32_t> zahl(const char* key) const {
    auto v = text(key);
    if (!v) return std::nullopt;
    return ganzzahlLesen(*v);
  }
  std::optional<bool> boolesch(const char* key) const {
    auto z = zahl(key);
    if (!z) return std::nullopt;
    return *z != 0;
  }
  std::optional<double> dezimal(const char* key) const {
    auto v = text(key);
    if (!v) return std::nullopt;
    return gleitkommaLesen(*v);
  }

  void cb(const char* key, Opt o) {
    if (auto b = boolesch(key)) m_.setChecked(o, *b);
  }
  // A Boolean read into the first member of a two-member group; off switches
  // the second member on.
  void rb(const char* key, Opt erstes, Opt zweites) {
    if (auto b = boolesch(key)) m_.setChecked(*b ? erstes : zweites, true);
  }
  void ed(const char* key, Opt o) {
    if (auto t = text(key)) m_.setText(o, *t);
  }
  // The memos (extra texts, caption templates), whose line breaks the
  // writer masks.
  void memo(const char* key, Opt o) {
    if (auto t = text(key)) m_.setText(o, ZeilenumbruecheDemaskieren(*t));
  }
  // A name affix of the derived pictures, which becomes part of their
  // paths: only what the field takes when typed.
  void namensteil(const char* key, Opt o) {
    ed(key, o);
    m_.run(o, Ev::Exit);
  }
  void edZitiert(const char* key, Opt o) {
    if (auto t = zitiert(key)) m_.setText(o, *t);
  }
  void spin(const char* key, Opt o) {
    if (auto z = zahl(key)) m_.setSpin(o, *z);
  }
  void farbe(const char* key, Opt o) {
    if (auto t = text(key)) m_.setColor(o, HTMLFarbe2TColor(*t));
  }
  // A folder of the gallery. A relative one is taken from the folder the
  // program was started in (without one: the working folder when reading
  // begins), before any handler changes the working folder (the picture
  // folder's does).
  void ordner(const char* key, std::string& ziel) {
    if (auto t = text(key)) ziel = absolut(windowsPfad(*t) ? std::string() : *t);
  }
  std::string absolut(const std::string& p) const {
    if (p.empty() || p.front() == '/') return p;
    return startOrdner_ + p;
  }
  // A file the pages use (style sheet, favicon, graphics).
  void datei(const char* key, Opt o) {
    if (auto t = text(key)) m_.setText(o, windowsPfad(*t) ? std::string() : *t);
  }
  void wert(const char* key, bool& ziel) {
    if (auto b = boolesch(key)) ziel = *b;
  }
  void wert(const char* key, double& ziel) {
    if (auto d = dezimal(key)) ziel = *d;
  }
  // A radio code: the member of the code is switched on, any other number
  // switches on the member named last.
  void code(const char* key, std::initializer_list<std::pair<int, Opt>> glieder, Opt sonst) {
    if (auto z = zahl(key)) codeSetzen(*z, glieder, sonst);
  }
  void codeSetzen(int z, std::initializer_list<std::pair<int, Opt>> glieder, Opt sonst) {
    for (const auto& [c, o] : glieder) {
      if (c == z) {
        m_.setChecked(o, true);
        return;
      }
    }
    m_.setChecked(sonst, true);
  }
  // A list value v selects item v when 0 < v < the item count, any other
  // number item 0.
  void liste(const char* key, Opt o) {
    if (auto z = zahl(key)) m_.setIndex(o, *z > 0 && *z < static_cast<int>(m_.items(o).size()) ? *z : 0);
  }

 private:
  OptionModel& m_;
  const IniDatei& ini_;
  const std::string startOrdner_;
  const char* sektion_ = "";
};

std::string ohneSchlusszeichen(std::string p, char c) {
  if (!p.empty() && p.back() == c) p.pop_back();
  return p;
}

std::string aktuellerOrdner() {
  std::string p = fs::currentFolder();
  if (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}

std::string erstesZeichen(const std::string& t) {
  if (t.empty()) return t;
  size_t pos = 0;
  nextCodePoint(t, pos);
  return t.substr(0, pos);
}

// The write test behind the auto-save option: silent, and the option's own
// click handler must not repeat it with a message meanwhile. `gewollt`
// follows what the file asks for, written or not, so that an unattended run
// can say that settings it should save cannot be saved.
void autoSpeichernLesen(Kontext& k, Leser& r, const Einstellungsort& standard, const char* sektion, bool& gewollt) {
  const bool guard = k.st.AutoSpeichernKlickAktiv;
  k.st.AutoSpeichernKlickAktiv = false;
  r.sektion(sektion);
  gewollt = r.boolesch("EinstAutoSpeichern").value_or(gewollt);
  std::string warum;
  const bool schreibbar = InifileSchreibtest(k, standard, false, &warum);
  if (schreibbar)
    r.cb("EinstAutoSpeichern", Opt::CBEinstellungenAutomatischSpeichern);
  else
    k.m.setChecked(Opt::CBEinstellungenAutomatischSpeichern, false);
  k.st.EinstellungenNichtSpeicherbar = schreibbar || !gewollt ? std::string() : warum;
  k.st.AutoSpeichernKlickAktiv = guard;
}

void trennzeichenLesen(Kontext& k, Leser& r, const char* sektion) {
  OptionModel& m = k.m;
  r.sektion(sektion);
  struct Feld {
    const char* key;
    Opt o;
    const char* leerErsatz;
  };
  static const Feld kFelder[] = {{"TrennungVorne", Opt::EdKlammerAuf, "("},
                                 {"TrennungMitte", Opt::EdBindestrich, "-"},
                                 {"TrennungHinten", Opt::EdKlammerZu, nullptr},
                                 {"TrennungBildname", Opt::EdVerbindungszeichen, nullptr}};
  for (const Feld& f : kFelder) {
    m.setText(f.o, erstesZeichen(r.text(f.key).value_or(m.text(f.o))));
    if (f.leerErsatz && m.text(f.o).empty()) m.setText(f.o, f.leerErsatz);
    m.run(f.o, Ev::Exit);
  }
}

void alleSchluesselLesen(Kontext& k, const IniDatei& ini, bool standarddatei) {
  OptionModel& m = k.m;
  AppState& st = k.st;
  Leser r(k, ini);
  auto pfadOriginaleFreigeben = [&] {
    m.setEnabled(Opt::CBPfadOriginaleErsetzen,
                 m.enabled(Opt::CBOriginaleVerlinken) && m.checked(Opt::CBOriginaleVerlinken));
    m.run(Opt::CBPfadOriginaleErsetzen, Ev::Click);
  };

  // 1-3: folders.
  r.sektion("OrdnerUndDateien");
  if (auto t = r.text("HTMLPfad")) st.HTMLOrdnerPfad = *t;
  st.HTMLOrdnerPfad = ohneSchlusszeichen(ohneSchlusszeichen(st.HTMLOrdnerPfad, '\\'), '/');
  st.HTMLOrdnerPfad = r.absolut(windowsPfad(st.HTMLOrdnerPfad) ? std::string() : st.HTMLOrdnerPfad);
  const Einstellungsort standard = aktuellerEinstellungsort(k, true);
  {
    std::string ordner = st.BilderOrdnerPfad;
    r.ordner("Ordner", ordner);
    st.FehlenderBilderOrdner = fs::folderExists(ordner) ? std::string() : ordner;
    st.BilderOrdnerPfad = fs::folderExists(ordner) ? ordner : aktuellerOrdner();
    m.setText(Opt::EdBilderPfad, st.BilderOrdnerPfad);
  }

  // 4-7
  r.ed("HTMLName", Opt::EdNameHTML);
  m.run(Opt::EdNameHTML, Ev::Exit);
  r.cb("StartIndex", Opt::CBGrundnameistIndex);
  r.rb("HTMLStrukturFlach", Opt::RBStrukturflach, Opt::RBStrukturOrdner);
  r.cb("Unterverzeichnisse", Opt::CBmitUnterverzeichnissen);
  m.run(Opt::CBmitUnterverzeichnissen, Ev::Click);
  r.cb("OriginaleVerkleinern", Opt::CBOriginaleVerkleinern);
  m.run(Opt::CBOriginaleVerkleinern, Ev::Click);
  r.ordner("GrosseBilderpfad", st.GrosseBilderpfad);
  m.run(Proc::EdgrosseBilderPfadnameAnpassen);
  r.cb("VorschauErzeugen", Opt::CBVorschaubilderErzeugen);
  m.run(Opt::CBVorschaubilderErzeugen, Ev::Click);
  r.ordner("Vorschaubilderpfad", st.Vorschaubilderpfad);
  m.run(Proc::EdVorschauPfadnameAnpassen);
  r.cb("PanoramaExtra", Opt::CBPanoramaExtrabehandlung);
  if (auto d = r.dezimal("PanoramaVerhältnis")) m.setDecimal(Opt::RSpEdVerhaeltnis, Decimal4::fromDouble(*d));
  r.cb("AttrSchreibschutz", Opt::CBAttrSchreibschutz);
  r.cb("AttrVersteckt", Opt::CBAttrVersteckt);
  r.cb("AttrArchiv", Opt::CBAttrArchiv);
  r.cb("AttrSystem", Opt::CBAttrSystem);
  r.cb("ExtJPG", Opt::CBTypJpg);
  r.cb("ExtJPEG", Opt::CBTypJpeg);
  m.run(Opt::CBTypJpeg, Ev::Click);
  m.run(Opt::CBTypJpg, Ev::Click);
  r.cb("OriginalePfadErsetzen", Opt::CBPfadOriginaleErsetzen);
  r.ed("OriginalePfadErsetzung", Opt::EdOriginalePfadErsetzung);
  pfadOriginaleFreigeben();
  r.cb("BilderPfadErsetzen", Opt::CBBilderPfadErsetzen);
  r.ed("BilderPfadErsetzung", Opt::EdPfadErsetzung);
  m.run(Opt::EdPfadErsetzung, Ev::Exit);
  r.cb("VorschauPfadErsetzen", Opt::CBVorschaulinksErsetzen);
  r.ed("VorschauPfadErsetzung", Opt::EdVorschaulinksErsetzen);
  m.run(Opt::EdVorschaulinksErsetzen, Ev::Exit);

  // 8: large images.
  r.sektion("GrosseBilder");
  r.cb("GrosseBilderErsetzen", Opt::CBGrosseBilderErsetzen);
  if (auto z = r.zahl("Komprimierung")) m.setPosition(Opt::TrBKomprimierungGrosseBilder, *z);
  m.setText(Opt::EdKomprimierungGrosseBilder, std::to_string(m.position(Opt::TrBKomprimierungGrosseBilder)));
  r.cb("Progressiv", Opt::CBGrosseBilderProgressiv);
  r.namensteil("Erweiterung", Opt::EdErweiterungGrosseBilder);
  r.rb("ErweiterungVorne", Opt::RBVorneGrosseBilder, Opt::RBhintenGrosseBilder);
  r.spin("Größe", Opt::SpEdGroesseGrosseBilder);
  r.rb("Resample", Opt::RBVerklMethGrossResample, Opt::RBVerklMethGrossEinfach);
  // This one key is read with the default 0: a file without it selects the
  // longer side.
  r.codeSetzen(r.zahl("Seite").value_or(0), {{1, Opt::RBBreiteGrosseBilder}, {2, Opt::RBHoeheGrosseBilder}},
               Opt::RBLaengereSeiteGrosseBilder);
  r.spin("PanoramaGröße", Opt::SpEdPanoramaGrosseBilder);
  r.rb("PanoramaBreite", Opt::RBPanoramaBreiteGrosseBilder, Opt::RBPanoramaHoeheGrosseBilder);

  // 9: the renaming options, from their former place first.
  for (const char* sektion : {"OrdnerUndDateien", "GrosseBilder"}) {
    r.sektion(sektion);
    r.cb("WebUnsicherErsetzen", Opt::CBUngueltigeNamenErsetzen);
    r.cb("KleineDateinamen", Opt::CBKleineDateinamen);
    r.cb("LeerzeichenErsetzen", Opt::CBLeerzeichenErsetzen);
    r.cb("UmlauteErsetzen", Opt::CBUmlauteErsetzen);
    r.cb("AndereErsetzen", Opt::CBAndereZeichen);
    r.ed("AndereZeichen", Opt::EdAndereZeichen);
    m.run(Opt::EdAndereZeichen, Ev::Exit);
    r.cb("TrotzSchreibschutzUmbenennen", Opt::CBSchreibschutzdateienUmbenennen);
  }

  // 10-18: layout.
  r.sektion("Layout");
  r.spin("OrdnerSpalten", Opt::SpEdOrdnerSpalten);
  m.run(Opt::SpEdOrdnerSpalten, Ev::Change);
  r.rb("OrdnerSpaltenweise", Opt::RBOrdnerSpaltenweise, Opt::RBOrdnerZeilenweise);
  r.spin("OrdnerSpaltenabstand", Opt::SpEdOrdnerSpaltenabstand);
  m.run(Opt::SpEdOrdnerSpaltenabstand, Ev::Change);
  r.cb("ZeigenErstesOrdnerbild", Opt::CBUnterordnerbildAnzeigen);
  r.cb("ZeigenOrdnername", Opt::CBOrdnernamenAnzeigen);
  m.run(Opt::CBOrdnernamenAnzeigen, Ev::Click);
  r.cb("ZeigenOrdnerDatum", Opt::CBUnterordnerMitDatum);
  m.run(Opt::CBUnterordnerMitDatum, Ev::Click);
  r.cb("ZeigenAnzDateien", Opt::CBUnterordnerMitAnzDateien);
  m.run(Opt::CBUnterordnerMitAnzDateien, Ev::Click);
  r.cb("ZeigenGrößeDateien", Opt::CBAnzeigeUnterodnerMitDateigroesse);
  m.run(Opt::CBAnzeigeUnterodnerMitDateigroesse, Ev::Click);
  r.cb("ZeigenAnzUnterordner", Opt::CBAnzeigeUnterordnerMitAnzUnterordner);
  m.run(Opt::CBAnzeigeUnterordnerMitAnzUnterordner, Ev::Click);
  r.cb("ZeigenAnzDateienRek", Opt::CBUnterordnerMitAnzDateienRek);
  r.cb("ZeigenGrößeRek", Opt::CBAnzeigeUnterodnerMitGroesseRek);
  r.cb("ZeigenOrdnerRek", Opt::CBAnzeigeUnterodnerMitUnterordnerRek);
  r.cb("ZeigenDatenAuchAktuellerOrdner", Opt::CBAnzeigeAuchAktuellerOrdner);
  r.cb("Rahmenlinien", Opt::CBTabellenrahmen);
  r.spin("AnzSpalten", Opt::SpEdSpaltenzahl);
  r.spin("Abstand1_cellspacing", Opt::SpEdAbstand1);
  r.spin("Abstand2_cellpadding", Opt::SpEdAbstand2);
  r.spin("Zellenabstand", Opt::SpEdAbstand1);
  r.spin("Zelleninnenabstand", Opt::SpEdAbstand2);
  m.run(Opt::SpEdAbstand1, Ev::Change);
  r.rb("GanzerOrdner", Opt::RBganzerOrdner, Opt::RBZeilenzahl);
  m.run(Opt::RBganzerOrdner, Ev::Click);
  r.spin("AnzZeilenProSeite", Opt::SpEdZeilenProSeitezahl);
  r.cb("Seitenzahl", Opt::CBSeitenanzahlAnzeigen);
  r.ed("Titel", Opt::EdSeitentitel);
  r.ed("Überschrift", Opt::EdUeberschrift);
  r.cb("OrdnerNameAnzeigen", Opt::CBOrdnernameAnzeigen);
  m.run(Opt::CBOrdnernameAnzeigen, Ev::Click);
  r.cb("SortOrdner", Opt::CBOrdnerSortieren);
  r.rb("SortOrdnerNachName", Opt::RBOrdnerSortierenNachName, Opt::RBOrdnerSortierenNachDatum);
  r.cb("SortOrdnerInvers", Opt::CBOSortRueckwaerts);
  r.cb("SortDateien", Opt::CBDateienSortieren);
  r.code("SortDateienNach", {{1, Opt::RBDateienSortierenNachDatum}, {2, Opt::RBDateienSortierenNachGroesse}},
         Opt::RBDateienSortierenNachName);
  r.cb("SortDateienInvers", Opt::CBDSortRueckwaerts);
  r.memo("Bildbeschreibung", Opt::MBeschreibung);
  r.wert("BWreal", st.BWreal);
  r.wert("BWumgerechnet", st.BWumgerechnet);
  r.cb("AnzeigenHinweis", Opt::CBDateinameAlsHint);
  r.cb("VideoLink", Opt::CBLinkZuVideo);
  r.cb("AudioLink", Opt::CBLinkZuAudio);
  r.cb("TextdateiLink", Opt::CBLinkZuTextdatei);
  r.code("Verlinkung", {{1, Opt::RBLinkAufBilddatei}, {2, Opt::RBProBildEineHTMLDatei}}, Opt::RBnichtverlinken);
  if (const Opt an = m.radioChoice(Opt::RBnichtverlinken); an != Opt::Count) m.run(an, Ev::Click);
  r.cb("vonGroßenBildernZuOriginalenVerlinken", Opt::CBOriginaleVerlinken);
  pfadOriginaleFreigeben();
  // A number outside this list keeps the item: with none chosen the thumbnails
  // would open picture pages in the same window while those pages' overview
  // link closes it.
  if (auto z = r.zahl("FensterNavigation");
      z && *z >= 0 && *z < static_cast<int>(m.items(Opt::CoBFensterNavigation).size()))
    m.setIndex(Opt::CoBFensterNavigation, *z);
  m.run(Opt::CoBFensterNavigation, Ev::Change);
  r.rb("GroßeBilderOriginalgröße", Opt::RBGrosseBilderOriginalgross, Opt::RBdummy1);
  m.run(Opt::RBGrosseBilderOriginalgross, Ev::Click);
  r.spin("GroesseBilderNormal", Opt::SpEdGrosseBilder);
  r.sektion("Vorschaubilder");
  r.code("GroßeBilderSeite", {{1, Opt::RBGrosseBilderBreite}, {2, Opt::RBGrosseBilderHoehe}},
         Opt::RBGrosseBilderLaengereSeite);
  r.sektion("Layout");
  r.rb("GroßePanoramenOriginalgröße", Opt::RBGrossePanoramenOriginalgross, Opt::RBDummy2);
  m.run(Opt::RBGrossePanoramenOriginalgross, Ev::Click);
  r.spin("GroesseBilderPanorama", Opt::SpEdGrossePanoramen);
  r.sektion("Vorschaubilder");
  r.code("GroßePanoramenSeite", {{2, Opt::RBGrossePanoramenHoehe}}, Opt::RBGrossePanoramenBreite);
  r.cb("GroßeBilderVergrößern", Opt::CBGrosseBilderVergroessern);
  r.sektion("Layout");
  r.memo("BildbeschreibungGroß", Opt::MBeschreibungGross);
  r.cb("GrossesBildHint", Opt::CBGrossBildHint);
  r.cb("GrossesBildLinkVideo", Opt::CBGrossBildLinkVideo);
  r.cb("GrossesBildLinkAudio", Opt::CBGrossBildLinkAudio);
  r.cb("GrossesBildLinkText", Opt::CBGrossBildLinkText);
  r.wert("cellspacingIE", st.cellspacingIE);

  // 19-21: thumbnails.
  r.sektion("Vorschaubilder");
  if (auto z = r.zahl("Komprimierung")) m.setPosition(Opt::TrBKomprimierung, *z);
  m.setText(Opt::EdKomprimierung, std::to_string(m.position(Opt::TrBKomprimierung)));
  r.cb("VorschauErsetzen", Opt::CBVorschaubilderErsetzen);
  r.namensteil("VorschaunameErweiterung", Opt::EdErweiterungVorschaubilder);
  r.rb("ErweiterungVorne", Opt::RBVorne, Opt::RBhinten);
  r.cb("VorschauProgressiv", Opt::CBVorschaubilderProgressiv);
  r.rb("Resample", Opt::RBVerklMethKleinResample, Opt::RBVerklMethKleinEinfach);
  r.spin("Größe", Opt::SpEdGroesse);
  r.code("Seite", {{1, Opt::RBBreite}, {2, Opt::RBHoehe}, {3, Opt::RBVorschauQuadratisch}}, Opt::RBLaengereSeite);
  r.farbe("QuadratFarbe", Opt::PanelquadratFarbe);
  r.cb("ZentrierungVertikal", Opt::CBZentrerirungstrick);
  m.run(Opt::CBZentrerirungstrick, Ev::Click);
  r.rb("ZentrierungHintergrundTransparent", Opt::RBVorschauhintergrundtransparent,
       Opt::RBVorschauhintergrundFarbe);
  m.run(Opt::RBVorschauhintergrundtransparent, Ev::Click);
  r.farbe("ZentrierungFarbe", Opt::PZentrierungstrickFarbe);
  r.cb("Vergrößern", Opt::CBkleineBilderVergroessern);
  r.spin("PanoramaGröße", Opt::SpEdPanoramaVorschau);
  r.rb("PanoramaBreite", Opt::RBPanoramaBreite, Opt::RBPanoramaHoehe);
  r.rb("PanoramaAlleSpalten", Opt::RBPanoramaVorschauAlleSpalten, Opt::RBPanoramaVorschauEinigeSpalten);
  {
    // A panorama spans at most the thumbnail columns, even when that is the
    // one column (where equal bounds would not clamp).
    const int spalten = m.spin(Opt::SpEdSpaltenzahl);
    const int64_t min = m.minValue(Opt::SpEdAnzPanoSpalten);
    m.setBounds(Opt::SpEdAnzPanoSpalten, min, spalten);
    const int64_t v = r.zahl("PanoramaAnzSpalten").value_or(m.spin(Opt::SpEdAnzPanoSpalten));
    m.setSpin(Opt::SpEdAnzPanoSpalten, std::clamp<int64_t>(v, min, std::max<int64_t>(min, spalten)));
  }

  // 22-24: colours and fonts.
  r.sektion("FarbenUndFonts");
  r.cb("MitHintergrund", Opt::CBHintergrundgrafik);
  r.datei("Hintergrund", Opt::EdHintergrundgrafik);
  if (m.text(Opt::EdHintergrundgrafik).empty()) m.setChecked(Opt::CBHintergrundgrafik, false);
  r.farbe("FarbeHintergrund", Opt::PanelHintergrundFarbe);
  r.farbe("FarbeText", Opt::PanelTextFarbe);
  r.farbe("FarbeLink", Opt::PanelLinkFarbe);
  r.farbe("FarbeHoverLink", Opt::PanelHoverLinkFarbe);
  r.farbe("FarbeVLink", Opt::PanelVLinkFarbe);
  r.farbe("FarbeALink", Opt::PanelALinkFarbe);
  r.farbe("FarbeLinien", Opt::PanelLinienFarbe);
  struct Schrift {
    const char* familie;
    Opt familieListe;
    const char* schnitt;
    Opt schnittListe;
    std::initializer_list<std::pair<const char*, Opt>> groessen;
    const char* fest;
    Opt festBox;
    const char* name;
    Opt nameListe;
  };
  const Schrift schriften[] = {
      {"Font1", Opt::CoBUebWeicheSchriftart, "Font1Schnitt", Opt::CoBUebSchriftschnitt,
       {{"Font1Größe", Opt::CoBUebGroesse}, {"Font1Größe2", Opt::CoBUnterUebGroesse}}, "Font1Fest",
       Opt::CBUebFesteSchrift, "Font1Text", Opt::CoBUeberschrift},
      {"Font2", Opt::CoBRestWeicheSchriftart, "Font2Schnitt", Opt::CoBRestSchriftschnitt,
       {{"Font2Größe", Opt::CoBRestGroesse}}, "Font2Fest", Opt::CBRestFesteSchrift, "Font2Text",
       Opt::CoBResttext},
  };
  for (const Schrift& s : schriften) {
    r.liste(s.familie, s.familieListe);
    r.liste(s.schnitt, s.schnittListe);
    for (const auto& [key, o] : s.groessen) {
      if (auto t = r.text(key)) {
        if (t->empty())
          m.setIndex(o, 0);
        else
          m.setText(o, *t);
      }
    }
    r.cb(s.fest, s.festBox);
    m.run(s.festBox, Ev::Click);
    if (auto t = r.text(s.name); t && !t->empty()) m.setText(s.nameListe, *t);
  }

  // 25: extra texts, from their former place first.
  r.sektion("Layout");
  r.cb("MitDirinfo", Opt::CBdirinfoeinbinden);
  r.cb("MitZusatztext", Opt::CBZTextUebOben);
  m.run(Opt::CBZTextUebOben, Ev::Click);
  r.rb("ZusatztextNurErsteSeite", Opt::RBZTextUebObenAufErsterSeite, Opt::RBZTextUebObenAufJederSeite);
  r.memo("Zusatztext", Opt::MZTextUebOben);
  r.sektion("ExtraTexte");
  r.cb("MitDirinfo", Opt::CBdirinfoeinbinden);
  r.cb("MitZTextUebOben", Opt::CBZTextUebOben);
  m.run(Opt::CBZTextUebOben, Ev::Click);
  r.rb("ZTextUebObenNurErsteSeite", Opt::RBZTextUebObenAufErsterSeite, Opt::RBZTextUebObenAufJederSeite);
  r.memo("ZTextUebOben", Opt::MZTextUebOben);
  r.cb("MitZTextUebUnten", Opt::CBZTextUebUnten);
  m.run(Opt::CBZTextUebUnten, Ev::Click);
  r.rb("ZTextUebUntenNurErsteSeite", Opt::RBZTextUebUntenAufErsterSeite, Opt::RBZTextUebUntenAufJederSeite);
  r.memo("ZTextUebUnten", Opt::MZTextUebUnten);
  r.cb("MitZTextGrossOben", Opt::CBZTextGrossOben);
  m.run(Opt::CBZTextGrossOben, Ev::Click);
  r.memo("ZTextGrossOben", Opt::MZTextGrossOben);
  r.cb("MitZTextGrossUnten", Opt::CBZTextGrossUnten);
  m.run(Opt::CBZTextGrossUnten, Ev::Click);
  r.memo("ZTextGrossUnten", Opt::MZTextGrossUnten);

  // 26-29
  r.sektion("Sonstiges");
  r.cb("MetaAutor", Opt::CBAutor);
  r.edZitiert("Autor", Opt::EdMetaAutor);
  if (m.text(Opt::EdMetaAutor).empty()) m.setText(Opt::EdMetaAutor, WindowsBenutzername(k));
  r.cb("MetaSchlüsselwörter", Opt::CBSchluesselwoerter);
  r.ed("Schlüsselwörter", Opt::EdMetaSchluesselwoerter);
  r.cb("MetaBeschreibung", Opt::CBBeschreibung);
  r.ed("Beschreibung", Opt::EdMetaBeschreibung);
  r.cb("DiaShow", Opt::CBDiashow);
  r.spin("DiaShowZeit", Opt::SpEdDiashow);
  r.cb("DiaShowAbschaltbar", Opt::CBDiashowAbschaltbar);
  m.run(Opt::CBDiashow, Ev::Click);
  r.cb("RobotsEinladen", Opt::CBSuchrobotorEinladen);
  if (m.checked(Opt::CBSuchrobotorEinladen)) m.setChecked(Opt::CBSuchrobotorAusladen, false);
  r.cb("RobotsAusladen", Opt::CBSuchrobotorAusladen);
  if (m.checked(Opt::CBSuchrobotorAusladen)) m.setChecked(Opt::CBSuchrobotorEinladen, false);
  r.cb("Framekiller", Opt::CBFramekiller);
  r.cb("horizontaleLinien", Opt::CBmitHR);
  r.cb("mitBilderCopyright", Opt::CBBilderCopyright);
  r.cb("mitLinkHoch", Opt::CBmitLinkNachOben);
  m.setChecked(Opt::CBCopyright, true);
  r.cb("IndexInGrafikordnern", Opt::CBIndexInGrafikordnern);
  st.CSSKlickAktiv = false;
  r.cb("alternativeCSSverwenden", Opt::CBAndereCSSDatei);
  r.datei("alternativeCSSDatei", Opt::EdAndereCSSDatei);
  r.cb("andereCSSverwenden", Opt::CBAndereCSSDatei);
  r.datei("andereCSSDatei", Opt::EdAndereCSSDatei);
  m.run(Opt::CBAndereCSSDatei, Ev::Click);
  st.CSSKlickAktiv = true;
  r.cb("FaviconVerwenden", Opt::CBFavicon);
  r.datei("Favicon", Opt::EdFavicon);
  m.run(Opt::CBFavicon, Ev::Click);
  r.cb("LinkZurückEinbauen", Opt::CBLinkZurueckZurHomepage);
  r.rb("LinkZurückNurSeite1", Opt::RBLinkZurueckNurAuf1Seite, Opt::RBLinkZurueckAufJederSeite);
  r.cb("LinkZurückOben", Opt::CBLinkZurueckOben);
  r.cb("LinkZurückUnten", Opt::CBLinkZurueckUnten);
  r.ed("LinkZurückVerlinkteDatei", Opt::EdLinkZuruekVerlinkteDatei);
  r.cb("LinkZurückMitGrafik", Opt::CBLinkZureckGrafikLink);
  r.datei("LinkZurückGrafikdatei", Opt::EdLinkZurueckGrafik);
  r.cb("LinkZurückMitText", Opt::CBLinkZurueckTextlink);
  r.ed("LinkZurückTextlink", Opt::EdLinkZurueckText);
  r.wert("dirnametxt", st.dirnametxt);

  // 30: texts of the pages.
  r.sektion("Texte");
  r.edZitiert("Startordnername", Opt::EdStartordnerName);
  r.edZitiert("DieserOrdner", Opt::EdDieserOrdner);
  r.edZitiert("UnterordnerSing", Opt::EdUnterordnerSing);
  r.edZitiert("UnterordnerPl", Opt::EdUnterordnerPl);
  r.edZitiert("BildSing", Opt::EdBildSing);
  r.edZitiert("BilderPl", Opt::EdBilderPl);
  r.edZitiert("keinBild", Opt::EdKeineBilddateien);
  r.edZitiert("BilderCopyright", Opt::EdBilderCopyright);
  r.edZitiert("NachOben", Opt::EdNachOben);
  r.edZitiert("Videodatei", Opt::EdVideodatei);
  r.edZitiert("Audiodatei", Opt::EdAudiodatei);
  r.edZitiert("Textdatei", Opt::EdTextdatei);
  r.edZitiert("ErstelltMit", Opt::EdErstelltMit);

  // 31: the former navigation keys.
  r.sektion("Layout");
  r.cb("NavOben", Opt::CBNavigationOben);
  r.cb("NavUnten", Opt::CBNavigationUnten);
  m.run(Opt::CBNavigationUnten, Ev::Click);
  m.run(Opt::CBNavigationOben, Ev::Click);
  r.ed("Zurück", Opt::EdBlaetternZurueck);
  r.ed("Vor", Opt::EdBlaetternVor);
  r.cb("NavigationGroßeBilder", Opt::CBNavigationGrosseBilder);
  r.edZitiert("NavigationZurück", Opt::EdnavGrossZurueck);
  r.edZitiert("NavigationÜbersicht", Opt::EdnavGrossUebersicht);
  r.edZitiert("NavigationWeiter", Opt::EdnavGrossWeiter);

  // 32-36: expert options.
  r.sektion("Experten");
  st.CSSKlickAktiv = false;
  r.cb("andereCSSverwenden", Opt::CBAndereCSSDatei);
  r.datei("andereCSSDatei", Opt::EdAndereCSSDatei);
  m.run(Opt::CBAndereCSSDatei, Ev::Click);
  st.CSSKlickAktiv = true;
  r.cb("FaviconVerwenden", Opt::CBFavicon);
  r.datei("Favicon", Opt::EdFavicon);
  m.run(Opt::CBFavicon, Ev::Click);
  // The document type switch runs for every known type, the one kept included.
  if (const int doctype = r.zahl("Doctype").value_or(m.index(Opt::CoBDoctype)); doctype >= 0 && doctype <= 3) {
    m.setIndex(Opt::CoBDoctype, doctype);
    m.run(Opt::CoBDoctype, Ev::Change);
  }
  r.cb("XMLDeklaration", Opt::CBmitXMLDeklaration);
  // Switched off by an earlier reading's failed test, it was wanted.
  bool autoSpeichernGewollt =
      m.checked(Opt::CBEinstellungenAutomatischSpeichern) || !st.EinstellungenNichtSpeicherbar.empty();
  autoSpeichernLesen(k, r, standard, "Sonstiges", autoSpeichernGewollt);
  for (const char* sektion : {"Sonstiges", "Programm", "Experten"}) trennzeichenLesen(k, r, sektion);
  r.sektion("Experten");
  r.cb("eigenenHeaderVerwenden", Opt::CBeigenenHeaderVerwenden);
  m.run(Opt::CBeigenenHeaderVerwenden, Ev::Click);
  r.code("eigeneHeaderSeiten", {{0, Opt::RBNeuerHeaderNurErsteSeite}, {1, Opt::RBNeuerHeaderUebersichtsseiten}},
         Opt::RBNeuerHeaderAlleSeiten);
  r.cb("individuelleCSSDateiVerwenden", Opt::CBCSSDateiaendern);
  m.run(Opt::CBCSSDateiaendern, Ev::Click);

  // 37-38: the navigation dialog.
  r.sektion("Navigation");
  r.cb("ÜbNavOben", Opt::CBNavigationOben);
  r.cb("ÜbNavUnten", Opt::CBNavigationUnten);
  m.run(Opt::CBNavigationUnten, Ev::Click);
  m.run(Opt::CBNavigationOben, Ev::Click);
  r.rb("ÜbTextlinks", Opt::RBNavUebTextlinks, Opt::RBNavUebGrafiklinks);
  r.ed("ÜbZurück", Opt::EdBlaetternZurueck);
  r.ed("ÜbVor", Opt::EdBlaetternVor);
  r.rb("ÜbStandardbilder", Opt::RBUebGrafikStandard, Opt::RBUebGrafikIndividuell);
  r.farbe("ÜbStandardbilderFarbe", Opt::PanelUebQuadratFarbe);
  r.datei("ÜbGrafikZurück", Opt::EdGrafikUebZurueck);
  r.datei("ÜbGrafikWeiter", Opt::EdGrafikUebWeiter);
  r.cb("ÜbGrafikHinweistext", Opt::CBNavgrafikenUebMitTitle);
  m.run(Opt::RBNavUebTextlinks, Ev::Click);
  r.cb("NavigationGroßeBilder", Opt::CBNavigationGrosseBilder);
  r.cb("NavigationEndlos", Opt::CBNavigationEndlos);
  r.rb("GroßTextlinks", Opt::RBNavGrTextlinks, Opt::RBNavGrGrafiklinks);
  m.run(Opt::RBNavGrTextlinks, Ev::Click);
  r.spin("GroßVertikalerAbstand", Opt::SpEdVertikalerAbstand);
  r.edZitiert("GroßZurück", Opt::EdnavGrossZurueck);
  r.edZitiert("GroßÜbersicht", Opt::EdnavGrossUebersicht);
  r.edZitiert("GroßWeiter", Opt::EdnavGrossWeiter);
  r.edZitiert("GroßDiashow", Opt::EdnavGrossDiashowEin);
  r.edZitiert("GroßDiashowStopp", Opt::EdnavGrossDiashowAus);
  r.rb("GroßStandardbilder", Opt::RBGrossGrafikStandard, Opt::RBGrossGrafikIndividuell);
  r.farbe("GroßStandardbilderFarbe", Opt::GrossPanelquadratFarbe);
  r.datei("GroßGrafikZurück", Opt::EdGrafikGrossZurueck);
  r.datei("GroßGrafikÜbersicht", Opt::EdGrafikGrossUebersicht);
  r.datei("GroßGrafikWeiter", Opt::EdGrafikGrossWeiter);
  r.datei("GroßGrafikDiashow", Opt::EdGrafikDiashowEin);
  r.datei("GroßGrafikDiashowStopp", Opt::EdGrafikDiashowAus);
  r.cb("GroßGrafikHinweistext", Opt::CBNavgrafikenGrossMitTitle);

  // 39-40: program.
  r.sektion("Programm");
  r.code("Programmmodus", {{0, Opt::RBModusAnfaenger}, {1, Opt::RBModusFortgeschrittener}}, Opt::RBModusExperte);
  // The location is the standard file's to choose: taken from any other file
  // (a loaded one, or the personal file itself), it would send the session's
  // settings where the next start does not look.
  if (standarddatei) {
    st.IniOrtKlickAktiv = false;
    r.cb("EinstImAppOrdner", Opt::CBIniDateiImAnwendungsordner);
    st.IniOrtKlickAktiv = true;
  }
  autoSpeichernLesen(k, r, standard, "Programm", autoSpeichernGewollt);
  r.sektion("Programm");
  r.cb("XPDesign", Opt::CBTheming);
}

}  // namespace

bool IniFileLesen(Kontext& k, const Einstellungsort& datei) {
  const IniDatei ini(datei);
  if (!ini.vorhanden()) return true;
  if (!ini.lesefehler().empty()) {
    const std::string ende = alsUngelesenVermerken(k, datei);
    k.fehler("Die Einstellungsdatei " + datei.pfad() + " kann nicht gelesen werden!\r\n" + ini.lesefehler() + ende);
    return false;
  }
  alleSchluesselLesen(k, ini, datei.gleich(standardEinstellungsort(k)));
  return true;
}

}  // namespace mosaik
