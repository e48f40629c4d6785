// The page of one picture: head, extra texts, navigation bar, the picture
// (linked to its original when asked), caption, companion files, page end.
#include "generator/Einzelbildseite.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "generator/Bildbeschreibung.h"
#include "generator/Bildpipeline.h"
#include "generator/Durchlauf.h"
#include "generator/Entities.h"
#include "generator/Namen.h"
#include "generator/Seitenrahmen.h"
#include "generator/Umbenennen.h"
#include "platform/FileSystem.h"
#include "generator/Verzeichnis.h"
#include "generator/Vorschautabelle.h"
#include "platform/Win1252.h"

namespace mosaik {
namespace {

const char* const kZE = "\r\n";

// A navigation text link: the field's leading and trailing blanks become
// "&nbsp;" outside the link, so the user spaces the bar with blanks.
std::string textLink(const std::string& feld, const std::string& ziel) {
  size_t vorn = 0;
  while (vorn < feld.size() && feld[vorn] == ' ') ++vorn;
  if (vorn == feld.size()) {
    // Only blanks: the space stays, a link without text would be invisible.
    std::string s;
    for (size_t i = 0; i < vorn; ++i) s += "&nbsp;";
    return s;
  }
  size_t hinten = 0;
  while (feld[feld.size() - 1 - hinten] == ' ') ++hinten;
  std::string s;
  for (size_t i = 0; i < vorn; ++i) s += "&nbsp;";
  s += "<a href=\"" + ziel + "\">" + HTMLZeichenKodieren(feld.substr(vorn, feld.size() - vorn - hinten)) + "</a>";
  for (size_t i = 0; i < hinten; ++i) s += "&nbsp;";
  return s;
}

struct NaviLink {
  Opt text;         // the link text (also alt and title of the graphic)
  Opt eigeneGrafik; // the own-graphic field
  const char* standardGrafik;
  bool erlaubt;     // the link applies to this page
  std::string ziel; // already encoded for the attribute
};

std::string navigationsleiste(const Kontext& k, const std::vector<NaviLink>& links, const std::string& weg) {
  const OptionModel& m = k.m;
  std::string s = "<div id=\"navieinzelbild\">";
  const bool text = m.checked(Opt::RBNavGrTextlinks);
  for (const NaviLink& l : links) {
    if (!l.erlaubt) continue;
    const std::string& t = m.text(l.text);
    if (text) {
      if (!t.empty()) s += textLink(t, l.ziel);
      continue;
    }
    const bool standard = m.checked(Opt::RBGrossGrafikStandard);
    std::string datei;
    if (standard) {
      datei = weg + l.standardGrafik;
    } else {
      const std::string& eigene = m.text(l.eigeneGrafik);
      if (eigene.empty()) continue;  // no graphic, no link
      // An address of its own or a path from the server's root needs no
      // way back in front.
      datei = (IstAbsoluterPfad(eigene) ? std::string() : weg) + BenutzerURLKodieren(eigene);
    }
    std::string img = "<img src=\"" + datei + (standard ? "\" width=\"16\" height=\"16\" alt=\"" : "\" alt=\"") +
                      AttributKodieren(t) + "\" title=\"" +
                      (m.checked(Opt::CBNavgrafikenGrossMitTitle) ? AttributKodieren(t) : std::string()) +
                      (k.st.DoctypeXHTML ? "\" />" : "\">");
    s += "<a href=\"" + l.ziel + "\">" + img + "</a>";
  }
  return s + "</div>";
}

// An entry of the folder named name, or one whose web-safe form is name.
std::string gleichnamig(const Kontext& k, const std::string& ordner, const std::string& name, bool alsOrdner) {
  if (alsOrdner ? fs::folderExists(ordner + name) : fs::fileExists(ordner + name)) return name;
  for (const fs::Entry& e : fs::listFolder(ordner)) {
    if (e.folder != alsOrdner) continue;
    bool geaendert = false;
    if (WebsichererDateiname(k, e.name, geaendert) == name) return e.name;
  }
  return name;
}

// The original of a picture: its folder below the picture folder (with a
// trailing '/') and its file name. Shown from the large-image tree, the
// picture and its folders carry the web-safe names that walk 1 gave them,
// while the originals kept theirs: the names are looked up on disk.
std::string originalRelativ(const Kontext& k, const std::string& bildOrdner, const std::string& name) {
  const std::string bilderWurzel = OrdnerNormalisieren(k.st.BilderOrdnerPfad);
  const std::string datei = GrossbildKennungEntfernen(k, name);
  if (!k.m.checked(Opt::CBOriginaleVerkleinern)) return BasisPfadAbschneiden(bildOrdner, bilderWurzel) + datei;
  const std::string rest = BasisPfadAbschneiden(bildOrdner, GrosseBilderOrdner(k));
  if (!rest.empty() && rest[0] == '/') return rest + datei;  // outside the large-image tree
  std::string ordner = bilderWurzel, relativ;
  size_t p = 0;
  while (p < rest.size()) {
    const size_t e = rest.find('/', p);
    const std::string teil = gleichnamig(k, ordner, rest.substr(p, e - p), true);
    ordner += teil + "/";
    relativ += teil + "/";
    p = e + 1;
  }
  return relativ + gleichnamig(k, ordner, datei, false);
}

// The link to the original picture, as seen from the page.
std::string originalLink(const Kontext& k, const std::string& bildOrdner, const std::string& name,
                         const std::string& seitenWeg) {
  const OptionModel& m = k.m;
  const std::string r = originalRelativ(k, bildOrdner, name);
  if (m.checked(Opt::CBPfadOriginaleErsetzen)) {
    const std::string& ersatz = m.text(Opt::EdOriginalePfadErsetzung);
    return (IstAbsoluterPfad(ersatz) ? std::string() : seitenWeg) + BenutzerURLKodieren(ersatz) + URLKodieren(r);
  }
  if (!r.empty() && r[0] == '/') return URLKodieren(r);
  // From the HTML folder; the page may lie below it.
  const std::string p = RelativerPfadZumHTMLOrdner(k, OrdnerNormalisieren(k.st.BilderOrdnerPfad) + r);
  return (!p.empty() && p[0] == '/' ? std::string() : seitenWeg) + URLKodieren(p);
}

}  // namespace

void EinzelbildSeiteSchreiben(Lauf& lauf, const std::string& uebersichtsseite, const std::string& uebersichtsLink,
                              const std::string& bildOrdnerIn, const TDateiArray& liste, int index,
                              std::string& seitenName, bool gestoppt) {
  Kontext& k = lauf.k;
  const OptionModel& m = k.m;
  const std::string bildOrdner = fs::withTrailingSlash(bildOrdnerIn);
  const std::string E = LeerElementEnde(k);
  lauf.pumpUndAbbruch();

  const int anzahl = static_cast<int>(liste.size());
  const int letzter = anzahl - 1;
  if (index < 0 || index > letzter) return;
  const TDateieintrag& bild = liste[static_cast<size_t>(index)];
  const bool endlos = m.checked(Opt::CBNavigationEndlos);

  seitenName = EinzelbildHTMLName(k, uebersichtsseite, liste, index, gestoppt);
  std::string naechste = EinzelbildHTMLName(k, uebersichtsseite, liste, index == letzter ? 0 : index + 1, gestoppt);
  bool kopfGestoppt = gestoppt;
  if (!endlos && index == letzter) {
    naechste.clear();
    kopfGestoppt = true;
  }
  const std::string vorige =
      anzahl > 1 ? EinzelbildHTMLName(k, uebersichtsseite, liste, index == 0 ? letzter : index - 1, gestoppt)
                 : std::string();
  const std::string andere = EinzelbildHTMLName(k, uebersichtsseite, liste, index, !gestoppt);

  // The folder of the page.
  const bool struktur = m.checked(Opt::RBStrukturOrdner);
  std::string seitenOrdner = HTMLOrdner(k);
  if (struktur) {
    seitenOrdner += UnterordnerPfad(k, bildOrdner, true);
    if (lauf.EinzelbildOrdnerGemeldet.count(seitenOrdner)) return;
    if (!fs::folderExists(seitenOrdner) && !fs::forceDirectories(seitenOrdner)) {
      lauf.EinzelbildOrdnerGemeldet.insert(seitenOrdner);
      k.fehler("Der Ordner " + seitenOrdner + kZE + "kann nicht angelegt werden!");
      return;
    }
  }
  const std::string weg = WegZurStartseite(k, bildOrdner);

  HTMLSeite seite;
  HTMLKopfSchreiben(k, seite, true, naechste == seitenName ? std::string() : naechste, bildOrdner, kopfGestoppt, 0);

  if (m.checked(Opt::CBZTextGrossOben) && !m.text(Opt::MZTextGrossOben).empty())
    seite.zeile("<div id=\"eteinzeloben\">" + HTMLZeichenKodieren(ZeilenendenCRLF(m.text(Opt::MZTextGrossOben))) +
                "</div>");

  if (m.checked(Opt::CBNavigationGrosseBilder)) {
    const bool mehrere = anzahl > 1;
    const bool weiterMoeglich = mehrere && (endlos || index != letzter);
    const bool umschaltbar = m.checked(Opt::CBDiashow) && m.checked(Opt::CBDiashowAbschaltbar) && weiterMoeglich;
    const bool neuesFenster = m.enabled(Opt::CoBFensterNavigation) && m.index(Opt::CoBFensterNavigation) != 0;
    const std::vector<NaviLink> links = {
        {Opt::EdnavGrossZurueck, Opt::EdGrafikGrossZurueck, "navgrosszurueck.png", mehrere && (endlos || index > 0),
         URLKodieren(vorige)},
        {Opt::EdnavGrossUebersicht, Opt::EdGrafikGrossUebersicht, "navgrossuebersicht.png", true,
         neuesFenster ? std::string("javascript:window.close()") : URLKodieren(uebersichtsLink)},
        {Opt::EdnavGrossDiashowEin, Opt::EdGrafikDiashowEin, "diashow.png", umschaltbar && gestoppt,
         URLKodieren(andere)},
        {Opt::EdnavGrossDiashowAus, Opt::EdGrafikDiashowAus, "diashowstopp.png", umschaltbar && !gestoppt,
         URLKodieren(andere)},
        {Opt::EdnavGrossWeiter, Opt::EdGrafikGrossWeiter, "navgrossweiter.png", weiterMoeglich,
         URLKodieren(naechste)},
    };
    seite.zeile(navigationsleiste(k, links, weg));
  }

  // The picture's folder as the page's links reach it: the same link as
  // from the folder's overview pages, which lie beside this page.
  const std::string L = BildordnerLink(k, bildOrdner);

  seite.zeile("<div id=\"grossbild\">");
  std::string z = "    ";
  const bool original = m.enabled(Opt::CBOriginaleVerlinken) && m.checked(Opt::CBOriginaleVerlinken);
  if (original)
    z += "<a href=\"" + originalLink(k, bildOrdner, bild.Name, weg) + "\">";
  const std::string masse = GrossbildGroesseAttribute(k, bildOrdner + bild.Name);
  z += "<img src=\"" + L + URLKodieren(bild.Name) + "\" " + (masse.empty() ? std::string() : masse + " ");
  const std::string name = NameKodieren(bild.Name);
  std::string titel;
  if (m.checked(Opt::CBGrossBildHint))
    titel = name + "  " + std::to_string(bild.Breite) + "x" + std::to_string(bild.Hoehe) + "  " +
            std::to_string(bild.Groesse / 1024) + " KB";
  z += "alt=\"" + name + "\" title=\"" + titel + "\"" + E;
  if (original) z += "</a>";
  seite.zeile(z);
  seite.zeile("</div>");

  const std::string beschreibung =
      BildbeschreibungErzeugen(k, m.text(Opt::MBeschreibungGross), bildOrdner, bild.Name, bild.Groesse, bild.Datum);
  if (!beschreibung.empty()) seite.zeile(beschreibung);
  lauf.pumpUndAbbruch();

  // Companion files with the picture's base name.
  struct Art {
    Opt box, label;
    std::vector<const char*> erweiterungen;
    bool medien;
  };
  const Art arten[] = {
      {Opt::CBGrossBildLinkText, Opt::EdTextdatei, {".txt"}, false},
      {Opt::CBGrossBildLinkAudio, Opt::EdAudiodatei, {".wav", ".mp3"}, true},
      {Opt::CBGrossBildLinkVideo, Opt::EdVideodatei, {".mov", ".avi"}, true},
  };
  const bool umbenennen = m.enabled(Opt::CBVorschaubilderErsetzen) && m.checked(Opt::CBKleineDateinamen);
  std::string begleiter;
  for (const Art& a : arten) {
    if (!m.checked(a.box)) continue;
    for (const char* e : a.erweiterungen) {
      // Found in any letter case; the link names the file as it is on disk.
      auto name = Begleitdatei(k, bildOrdner, bild.Name, e);
      if (!name || !DateiattributeErlaubt(k, bildOrdner + *name)) continue;
      if (umbenennen) {
        BegleitdateiMitbenennen(k, bildOrdner, bild.Name, *name);
        if (!DateiattributeErlaubt(k, bildOrdner + *name)) continue;
      }
      begleiter += "<div class=\"aviwavtxt\"><a href=\"" + L + URLKodieren(*name) + "\">" +
                   HTMLZeichenKodieren(m.text(a.label)) + "</a> (" + e + ", " + DateigroesseText(bildOrdner + *name) +
                   (a.medien ? ") </div>" : ")</div>");
    }
    lauf.pumpUndAbbruch();
  }
  seite.zeile(begleiter);

  if (m.checked(Opt::CBZTextGrossUnten) && !m.text(Opt::MZTextGrossUnten).empty())
    seite.zeile("<div id=\"eteinzelunten\">" + HTMLZeichenKodieren(ZeilenendenCRLF(m.text(Opt::MZTextGrossUnten))) +
                "</div>");

  if (m.checked(Opt::CBeigenenHeaderVerwenden) && m.checked(Opt::RBNeuerHeaderAlleSeiten))
    seite.zeile(ErsetzenOhneFall(ZeilenendenCRLF(m.text(Opt::MNeuerDateiabschluss)), "[HTMLPfad]", weg));
  else
    seite.zeile(HTMLEnde());
  seite.zeile(GeneratorKommentar());

  try {
    SeiteSpeichern(seitenOrdner + seitenName, seite);
  } catch (const std::exception& e) {
    k.fehler("Speichern der HTML-Datei " + seitenOrdner + seitenName + kZE + "fehlgeschlagen!" + kZE + e.what());
  }
  lauf.pumpUndAbbruch();
}

}  // namespace mosaik
