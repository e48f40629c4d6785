#include "generator/Vorschautabelle.h"

#include <algorithm>

#include "generator/Bildbeschreibung.h"
#include "generator/Durchlauf.h"
#include "generator/Einzelbildseite.h"
#include "generator/Entities.h"
#include "generator/Namen.h"
#include "generator/Umbenennen.h"
#include "generator/Vorschaubild.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

std::string mitSchraegstrich(std::string s) {
  ZeichenAnhaengen('/', s);
  return s;
}

// A user's replacement path, then the folder's own part; the way back goes
// in front when the replacement is relative and the pages lie in a folder
// tree (in a flat gallery every page is in the HTML folder itself).
std::string ersetzterLink(const Kontext& k, Opt feld, const std::string& rest, const std::string& ordner) {
  std::string l = BenutzerURLKodieren(k.m.text(feld)) + URLKodieren(rest);
  if (k.m.checked(Opt::RBStrukturOrdner)) RelativenPfadAnpassen(k, l, feld, ordner);
  return mitSchraegstrich(l);
}

std::string strukturVorsatz(const Kontext& k, const std::string& ordner) {
  return k.m.checked(Opt::RBStrukturOrdner) ? PfadZurStartseite(k, ordner, false) : std::string();
}

// The target attribute of the links to pictures and picture pages, or "".
std::string zielAttribut(const Kontext& k) {
  if (k.st.DoctypeStrict) return {};
  switch (k.m.index(Opt::CoBFensterNavigation)) {
    case 1:
      return "target=\"" + HTMLGrundname(k) + "\"";
    case 2:
      return "target=\"_blank\"";
    default:
      return {};
  }
}

// The links to the companion files of a picture that exist and may be
// linked.
std::string begleitLinks(Lauf& lauf, const std::string& ordner, const std::string& bildName) {
  const Kontext& k = lauf.k;
  const OptionModel& m = k.m;
  struct Begleiter {
    Opt schalter;
    const char* erweiterung;
    Opt beschriftung;
  };
  static constexpr Begleiter kBegleiter[] = {
      {Opt::CBLinkZuTextdatei, ".txt", Opt::EdTextdatei}, {Opt::CBLinkZuAudio, ".wav", Opt::EdAudiodatei},
      {Opt::CBLinkZuAudio, ".mp3", Opt::EdAudiodatei},    {Opt::CBLinkZuVideo, ".mov", Opt::EdVideodatei},
      {Opt::CBLinkZuVideo, ".avi", Opt::EdVideodatei}};
  std::string out;
  const std::string f = BildordnerLink(k, ordner);
  for (const Begleiter& b : kBegleiter) {
    if (!m.checked(b.schalter)) continue;
    // Found in any letter case; the link names the file as it is on disk.
    auto name = Begleitdatei(k, ordner, bildName, b.erweiterung);
    if (!name || !DateiattributeErlaubt(k, ordner + *name)) continue;
    if (m.enabled(Opt::CBVorschaubilderErsetzen) && m.checked(Opt::CBKleineDateinamen)) {
      BegleitdateiMitbenennen(k, ordner, bildName, *name);
      if (!DateiattributeErlaubt(k, ordner + *name)) continue;
    }
    out += "<div class=\"aviwavtxt\"><a href=\"" + f + URLKodieren(*name) + "\">" +
           HTMLZeichenKodieren(m.text(b.beschriftung)) + "</a> (" + b.erweiterung + ", " +
           DateigroesseText(ordner + *name) + ")</div>";
  }
  return out;
}

}  // namespace

int PanoramaSpalten(const Kontext& k) {
  const int c = std::max(1, k.m.spin(Opt::SpEdSpaltenzahl));
  const int s = k.m.checked(Opt::RBPanoramaVorschauAlleSpalten) ? c : k.m.spin(Opt::SpEdAnzPanoSpalten);
  return std::clamp(s, 1, c);
}

void SeitenEinteilen(const Kontext& k, TDateiArray& liste) {
  const int c = std::max(1, k.m.spin(Opt::SpEdSpaltenzahl));
  const int r = std::max(1, k.m.spin(Opt::SpEdZeilenProSeitezahl));
  int seite = 1, zeile = 1, frei = c;
  for (int i = 0; i < static_cast<int>(liste.size()); ++i) {
    const int w = IstPanorama(k, liste, i) ? PanoramaSpalten(k) : 1;
    if (w <= frei) {
      frei -= w;
    } else {
      ++zeile;
      frei = c - w;
      if (zeile > r) {
        zeile = 1;
        ++seite;
      }
    }
    liste[static_cast<size_t>(i)].Seite = seite;
  }
}

int ErsterIndexAufSeite(const TDateiArray& liste, int seite) {
  for (size_t i = 0; i < liste.size(); ++i)
    if (liste[i].Seite >= seite) return static_cast<int>(i);
  return static_cast<int>(liste.size());
}

int LetzterIndexAufSeite(const TDateiArray& liste, int seite) {
  for (size_t i = liste.size(); i > 0; --i)
    if (liste[i - 1].Seite <= seite) return static_cast<int>(i - 1);
  return -1;
}

std::string BildordnerLink(const Kontext& k, const std::string& ordner) {
  // Replaced: the folder's place below the root of the pictures, so that
  // the link is right whether thumbnails are made or not.
  if (k.m.checked(Opt::CBBilderPfadErsetzen))
    return ersetzterLink(k, Opt::EdPfadErsetzung, UnterordnerPfad(k, ordner, false), ordner);
  return mitSchraegstrich(strukturVorsatz(k, ordner) + URLKodieren(RelativeURLZumHTMLOrdner(k, ordner)));
}

std::string VorschauordnerLink(const Kontext& k, const std::string& ordner, const std::string& vorschauOrdner) {
  if (k.m.checked(Opt::CBVorschaulinksErsetzen))
    return ersetzterLink(k, Opt::EdVorschaulinksErsetzen, RelativeURL(VorschauOrdner(k), vorschauOrdner), ordner);
  return mitSchraegstrich(strukturVorsatz(k, ordner) + URLKodieren(RelativeURLZumHTMLOrdner(k, vorschauOrdner)));
}

bool VorschaubilderErzeugen(Lauf& lauf, TDateiArray& liste, const std::string& ordner,
                            const std::string& vorschauOrdner) {
  const Kontext& k = lauf.k;
  const OptionModel& m = k.m;
  const std::string vorschau = fs::withTrailingSlash(vorschauOrdner);
  TDateiArray gelistet;
  bool abgebrochen = false;
  // Which existing thumbnail is whose, when names differ only in case.
  std::vector<std::string> namen;
  for (const TDateieintrag& bild : liste) namen.push_back(VorschaubildName(k, bild.Name));
  for (TDateieintrag& bild : liste) {
    // After a cancel no further thumbnail is made; the list stays whole.
    abgebrochen = abgebrochen || lauf.pumpUndAbbruch();
    if (!abgebrochen) lauf.view.aktuelleDatei(bild.Name);
    // A thumbnail that cannot be made has been named with its reason (the
    // original unreadable, the thumbnail not writable): once is enough.
    if (abgebrochen || VorschaubildErzeugen(lauf, ordner, vorschau, bild.Name,
                                            m.checked(Opt::CBkleineBilderVergroessern), m.spin(Opt::SpEdGroesse),
                                            namen))
      gelistet.push_back(std::move(bild));
  }
  liste = std::move(gelistet);
  return !abgebrochen && AbbruchFlag.load() == 0;
}

void VorschauZelleSchreiben(Lauf& lauf, HTMLSeite& seite, const TDateiArray& liste, int index,
                            const std::string& ordner, const std::string& vorschauOrdner, int& spalte, int& zeile,
                            std::string& bildElement) {
  const Kontext& k = lauf.k;
  const OptionModel& m = k.m;
  const TDateieintrag& bild = liste[static_cast<size_t>(index)];
  lauf.pumpUndAbbruch();
  const std::string vorschau = fs::withTrailingSlash(vorschauOrdner);

  if (++spalte == 1) {
    seite.zeile("  <tr>");
    ++zeile;
  }

  std::string src, attribute;
  if (m.checked(Opt::CBVorschaubilderErzeugen)) {
    const std::string name = VorschaubildName(k, bild.Name);
    src = VorschauordnerLink(k, ordner, vorschau) + URLKodieren(name);
    attribute = VorschauGroesseAttribute(k, vorschau + name);
  } else {
    src = BildordnerLink(k, ordner) + URLKodieren(bild.Name);
    attribute = VorschauGroesseAttributeAusListe(k, liste, index);
  }
  // The size comes from the list, which the walk filled from the same
  // file; reading the picture once more would change nothing.
  const std::string hinweis =
      m.checked(Opt::CBDateinameAlsHint)
          ? bild.Name + "  " + std::to_string(bild.Breite) + "x" + std::to_string(bild.Hoehe) + "  " +
                std::to_string(bild.Groesse / 1024) + " KB"
          : std::string();
  bildElement = "<img src=\"" + src + "\" " + (attribute.empty() ? "" : attribute + " ") + "alt=\"" +
                NameKodieren(bild.Name) + "\" title=\"" + NameKodieren(hinweis) + "\"" + LeerElementEnde(k);
  lauf.pumpUndAbbruch();
}

void VorschauTabelleSchreiben(Lauf& lauf, HTMLSeite& seite, TDateiArray& liste, int seitenNr,
                              const std::string& ersteSeite, const std::string& dieseSeite, int,
                              const std::string& vorschauOrdner, const std::string& ordner) {
  Kontext& k = lauf.k;
  const OptionModel& m = k.m;
  if (liste.empty()) {
    // Strict pages allow no bare text in the body.
    const std::string text = HTMLZeichenKodieren(m.text(Opt::EdKeineBilddateien));
    seite.zeile(k.st.DoctypeStrict ? "<p>" + text + "</p>" : text);
  } else {
    const int c = std::max(1, m.spin(Opt::SpEdSpaltenzahl));
    std::string tabelle = "<div id=\"vorschau\"><table";
    if (k.st.cellspacingIE && m.spin(Opt::SpEdAbstand1) >= 0 && !k.st.DoctypeStrict)
      tabelle += " cellspacing=\"" + std::to_string(m.spin(Opt::SpEdAbstand1)) + "\"";
    seite.zeile(tabelle + ">");

    int von = 0;
    int bis = static_cast<int>(liste.size()) - 1;
    if (!m.checked(Opt::RBganzerOrdner)) {
      SeitenEinteilen(k, liste);
      von = ErsterIndexAufSeite(liste, seitenNr);
      bis = std::min(LetzterIndexAufSeite(liste, seitenNr), bis);
    }
    const std::string ziel = zielAttribut(k);
    const std::string zielText = ziel.empty() ? std::string() : " " + ziel;
    const bool zentriert = m.checked(Opt::RBLaengereSeite) && m.checked(Opt::CBZentrerirungstrick);
    int spalte = 0, zeile = 0;
    for (int i = von; i <= bis; ++i) {
      // After a cancel no further thumbnail or picture page is made.
      if (AbbruchFlag.load() != 0) break;
      const TDateieintrag& bild = liste[static_cast<size_t>(i)];
      std::string element;
      VorschauZelleSchreiben(lauf, seite, liste, i, ordner, vorschauOrdner, spalte, zeile, element);
      const bool pano = IstPanorama(k, liste, i);
      const std::string huelle = pano       ? "<div class=\"pano\">"
                                 : zentriert ? "<table class=\"bildzentr\"><tr><td>"
                                             : "<div class=\"bild\">";
      const std::string huellenEnde = !pano && zentriert ? "</td></tr></table>" : "</div>";

      std::string zelle;
      if (m.checked(Opt::RBLinkAufBilddatei)) {
        zelle = huelle + "<a href=\"" + BildordnerLink(k, ordner) + URLKodieren(bild.Name) + "\"" + zielText + ">" +
                element + "</a>" + huellenEnde;
      } else if (m.checked(Opt::RBProBildEineHTMLDatei)) {
        std::string name;
        EinzelbildSeiteSchreiben(lauf, ersteSeite, dieseSeite, ordner, liste, i, name, false);
        if (m.enabled(Opt::CBDiashow) && m.checked(Opt::CBDiashow) && m.checked(Opt::CBDiashowAbschaltbar))
          EinzelbildSeiteSchreiben(lauf, ersteSeite, dieseSeite, ordner, liste, i, name, true);
        zelle = huelle + "<a href=\"" + URLKodieren(name) + "\"" + zielText + ">" + element + "</a>" + huellenEnde;
      } else {
        zelle = element;
      }
      zelle += BildbeschreibungErzeugen(k, m.text(Opt::MBeschreibung), ordner, bild.Name, bild.Groesse, bild.Datum);
      zelle += begleitLinks(lauf, ordner, bild.Name);

      if (!pano) {
        seite.zeile("    <td>" + zelle + "</td>");
      } else {
        const int s = PanoramaSpalten(k);
        if (spalte + s - 1 > c) {
          for (int j = spalte; j <= c; ++j) seite.zeile("    <td></td>");
          seite.zeile("  </tr>");
          seite.zeile("  <tr>");
          ++zeile;
          spalte = 1;
        }
        seite.zeile("    <td" + (s > 1 ? " colspan=\"" + std::to_string(s) + "\"" : std::string()) + ">" + zelle +
                    "</td>");
        spalte += s - 1;
      }
      if (spalte == c) {
        seite.zeile("  </tr>");
        spalte = 0;
      }
    }
    if (spalte != 0) {
      if (zeile > 1)
        for (int j = spalte + 1; j <= c; ++j) seite.zeile("    <td></td>");
      seite.zeile("  </tr>");
    }
    seite.zeile("</table></div>");
  }

  const std::string& unten = m.text(Opt::MZTextUebUnten);
  if (m.checked(Opt::CBZTextUebUnten) && !unten.empty() &&
      (IstStartseite(k, ordner, seitenNr) || m.checked(Opt::RBZTextUebUntenAufJederSeite)))
    seite.zeile("<div id=\"etuebunten\">" + HTMLZeichenKodieren(ZeilenendenCRLF(unten)) + "</div>");
}

}  // namespace mosaik
