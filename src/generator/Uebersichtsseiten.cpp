#include "generator/Uebersichtsseiten.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "app/options/Hersteller.h"
#include "generator/Bildbeschreibung.h"
#include "generator/Durchlauf.h"
#include "generator/Entities.h"
#include "generator/Namen.h"
#include "generator/Umbenennen.h"
#include "generator/Vorschaubild.h"
#include "generator/Vorschautabelle.h"
#include "platform/FileSystem.h"
#include "platform/Win1252.h"

namespace mosaik {
namespace {

const char* const kZE = "\r\n";

std::vector<std::string> teilen(const std::string& text, char trenner) {
  std::vector<std::string> teile;
  size_t start = 0;
  for (;;) {
    const size_t p = text.find(trenner, start);
    teile.push_back(text.substr(start, p == std::string::npos ? std::string::npos : p - start));
    if (p == std::string::npos) return teile;
    start = p + 1;
  }
}

// The folder names below the top folder, from the top down.
std::vector<std::string> ordnerTeile(const Kontext& k, const std::string& ordner) {
  const std::string unter = AnzeigeUnterpfad(k, ordner);
  if (unter.empty()) return {};
  return teilen(unter.substr(1), '/');
}

std::string startName(const Kontext& k) { return HTMLZeichenKodieren(k.m.text(Opt::EdStartordnerName)); }

// The name a folder is shown under: the first line of its "dirname.txt"
// (a former name, not markup), else its own name.
std::string ordnerAnzeige(const std::string& ordnerPfad, const std::string& nameKodiert) {
  const auto zeile = DirnameErsteZeile(ordnerPfad);
  return zeile ? NameKodieren(*zeile) : nameKodiert;
}

std::string seitenName(const Kontext& k, int ordnerIndex, int seite) {
  return URLKodieren(UebersichtsseiteDateiname(k, std::to_string(ordnerIndex + 1), seite));
}

std::string einzahlMehrzahl(const Kontext& k, int64_t n, Opt einzahl, Opt mehrzahl) {
  return std::to_string(n) + " " + HTMLZeichenKodieren(k.m.text(n == 1 ? einzahl : mehrzahl));
}

// The statistics items of a folder, each preceded by " / ".
std::string statistikTeile(const Kontext& k, int anzahl, int64_t bytes, int unterordner) {
  const OptionModel& m = k.m;
  std::string t;
  if (m.checked(Opt::CBUnterordnerMitAnzDateien))
    t += " / " + einzahlMehrzahl(k, anzahl, Opt::EdBildSing, Opt::EdBilderPl);
  if (m.checked(Opt::CBAnzeigeUnterodnerMitDateigroesse))
    t += " / " + GroesseText(bytes, k.sv.locale.decimalSeparator);
  if (m.checked(Opt::CBAnzeigeUnterordnerMitAnzUnterordner) && m.checked(Opt::CBmitUnterverzeichnissen) &&
      unterordner != 0)
    t += " / " + einzahlMehrzahl(k, unterordner, Opt::EdUnterordnerSing, Opt::EdUnterordnerPl);
  return t;
}

std::string leereZelle(bool abstand) { return abstand ? "    <td class=\"abst\"></td>" : "    <td></td>"; }

// A picture of a subfolder that the walk has not entered yet still has
// its name from before the renaming; the link must name the file as it
// will be.
std::string kuenftigerName(const Kontext& k, const std::string& unterordner, const std::string& bild) {
  const OptionModel& m = k.m;
  if (!m.checked(Opt::CBUngueltigeNamenErsetzen) || !m.enabled(Opt::CBUngueltigeNamenErsetzen)) return bild;
  if (fs::isReadOnly(unterordner + bild) && !m.checked(Opt::CBSchreibschutzdateienUmbenennen)) return bild;
  bool geaendert = false;
  return WebsichererDateiname(k, bild, geaendert);
}

}  // namespace

std::optional<std::string> DirnameErsteZeile(const std::string& ordner) {
  const std::string dir = fs::withTrailingSlash(ordner);
  const auto name = fs::findNoCase(dir, "dirname.txt");
  if (!name) return std::nullopt;
  auto gelesen = readUserTextFile(dir + *name);
  if (!gelesen) return std::nullopt;
  std::string text = std::move(*gelesen);
  const size_t ende = text.find_first_of("\r\n");
  if (ende != std::string::npos) text.resize(ende);
  // An empty name file names nothing: the folder keeps its own name.
  if (text.empty()) return std::nullopt;
  return text;
}

std::string GroesseText(int64_t bytes, char dezimaltrenner) {
  if (bytes < 0) bytes = 0;
  int64_t teiler = 1;
  std::string einheit = " B";
  if (bytes > 1024) {
    teiler = 1024;
    einheit = " KB";
  }
  if (bytes > 1024 * 1024) {
    teiler = 1024 * 1024;
    einheit = " MB";
  }
  // Tenths, rounded half to even, exactly in integers.
  const int64_t zaehler = bytes * 10;
  int64_t zehntel = zaehler / teiler;
  const int64_t rest = zaehler % teiler;
  if (rest * 2 > teiler || (rest * 2 == teiler && zehntel % 2 != 0)) ++zehntel;
  std::string t = std::to_string(zehntel / 10);
  if (zehntel % 10 != 0) t += dezimaltrenner + std::to_string(zehntel % 10);
  return t + einheit;
}

void UeberschriftSchreiben(const Kontext& k, HTMLSeite& seite, const std::string& ordner,
                           const std::string& ordnerNummer, int seitenNr, int seitenZahl) {
  const OptionModel& m = k.m;
  const bool start = IstStartseite(k, ordner, seitenNr);
  const std::vector<std::string> teile = ordnerTeile(k, ordner);
  const std::string eigenerName = teile.empty() ? startName(k) : NameKodieren(teile.back());

  seite.zeile("");
  LinkZurueckSchreiben(k, seite, ordner, start, true);
  if (!m.text(Opt::EdUeberschrift).empty())
    seite.zeile("<h1>" + HTMLZeichenKodieren(m.text(Opt::EdUeberschrift)) + "</h1>");
  if (m.checked(Opt::CBOrdnernameAnzeigen) && m.checked(Opt::CBmitUnterverzeichnissen)) {
    std::string name = ordnerAnzeige(ordner, eigenerName);
    if (m.checked(Opt::CBSeitenanzahlAnzeigen) && seitenZahl > 1)
      name += " " + std::to_string(seitenNr) + "/" + std::to_string(seitenZahl);
    seite.zeile("<h2>" + name + "</h2>");
  }
  if (m.checked(Opt::CBdirinfoeinbinden)) {
    const std::string dir = fs::withTrailingSlash(ordner);
    if (const auto name = fs::findNoCase(dir, "dirinfo.txt")) {
      if (const auto gelesen = readUserTextFile(dir + *name)) {
        std::string text = ZeilenendenCRLF(*gelesen);
        if (!text.empty() && (text.size() < 2 || text.compare(text.size() - 2, 2, kZE) != 0)) text += kZE;
        seite.zeile("<div id=\"di\">" + HTMLZeichenKodieren(text) + "</div>");
      }
    }
  }
  const std::string& oben = m.text(Opt::MZTextUebOben);
  if (m.checked(Opt::CBZTextUebOben) && !oben.empty() && (start || m.checked(Opt::RBZTextUebObenAufJederSeite)))
    seite.zeile("<div id=\"etueboben\">" + HTMLZeichenKodieren(ZeilenendenCRLF(oben)) + "</div>");

  if (teile.empty()) return;
  // The links to the folders above: the top folder, then each level down.
  const bool struktur = m.checked(Opt::RBStrukturOrdner);
  const std::vector<std::string> nummern = teilen(ordnerNummer.empty() ? ordnerNummer : ordnerNummer.substr(1), '-');
  std::string z = "<div id=\"ordnavi\">";
  std::string pfad = AnzeigeWurzel(k);
  size_t ebenen = struktur ? teile.size() : 0;
  for (size_t d = 0; d < teile.size(); ++d) {
    const std::string name = ordnerAnzeige(pfad, d == 0 ? startName(k) : NameKodieren(teile[d - 1]));
    const std::string nummer = d < nummern.size() ? nummern[d] : "0";
    std::string ziel;
    for (size_t i = 0; i < ebenen; ++i) ziel += "../";
    if (ebenen > 0) --ebenen;
    ziel += URLKodieren(UebersichtsseiteDateiname(k, nummer, 1));
    z += "<a href=\"" + ziel + "\">" + name + "</a>/";
    pfad += teile[d] + "/";
  }
  seite.zeile(z + ordnerAnzeige(ordner, eigenerName) + "</div>");
}

void SeitennavigationSchreiben(const Kontext& k, HTMLSeite& seite, const std::string& ordner, int seitenNr,
                               int ordnerIndex, int seitenZahl, bool oben) {
  if (seitenZahl <= 1) return;
  const OptionModel& m = k.m;
  const bool text = m.checked(Opt::RBNavUebTextlinks);
  const bool standard = m.checked(Opt::RBUebGrafikStandard);
  const std::string w = m.checked(Opt::RBStrukturOrdner) ? PfadZurStartseite(k, ordner, false) : std::string();
  // The picture of a graphic link, or "" when an own graphic has no file.
  const auto grafik = [&](const char* standardDatei, Opt eigene, Opt beschriftung) -> std::string {
    const std::string alt = AttributKodieren(m.text(beschriftung));
    const std::string titel = m.checked(Opt::CBNavgrafikenUebMitTitle) ? alt : std::string();
    if (standard)
      return "<img src=\"" + w + standardDatei + "\" width=\"16\" height=\"16\" alt=\"" + alt + "\" title=\"" +
             titel + "\"" + LeerElementEnde(k);
    const std::string& datei = m.text(eigene);
    if (datei.empty()) return {};
    return "<img src=\"" + (IstAbsoluterPfad(datei) ? std::string() : w) + BenutzerURLKodieren(datei) +
           "\" alt=\"" + alt + "\" title=\"" + titel + "\"" + LeerElementEnde(k);
  };

  std::string z = oben ? "<div id=\"bloben\">" : "<div id=\"blunten\">";
  if (seitenNr > 1) {
    const std::string ziel = seitenName(k, ordnerIndex, seitenNr - 1);
    if (text) {
      if (!m.text(Opt::EdBlaetternZurueck).empty())
        z += "<a href=\"" + ziel + "\">" + HTMLZeichenKodieren(m.text(Opt::EdBlaetternZurueck)) + "</a>&nbsp; ";
    } else {
      const std::string bild = grafik("navuebzurueck.png", Opt::EdGrafikUebZurueck, Opt::EdBlaetternZurueck);
      if (!bild.empty()) z += "<a href=\"" + ziel + "\">" + bild + "</a>&nbsp; ";
    }
  }
  for (int i = 1; i <= seitenZahl; ++i) {
    const std::string nr = std::to_string(i);
    z += (i == seitenNr ? nr : "<a href=\"" + seitenName(k, ordnerIndex, i) + "\">" + nr + "</a>") + "&nbsp; ";
  }
  if (seitenNr < seitenZahl) {
    const std::string ziel = seitenName(k, ordnerIndex, seitenNr + 1);
    if (text) {
      z += "<a href=\"" + ziel + "\">" + HTMLZeichenKodieren(m.text(Opt::EdBlaetternVor)) + "</a>";
    } else {
      const std::string bild = grafik("navuebweiter.png", Opt::EdGrafikUebWeiter, Opt::EdBlaetternVor);
      if (!bild.empty()) z += "<a href=\"" + ziel + "\">" + bild + "</a>&nbsp; ";
    }
  }
  seite.zeile(z + "</div>");
}

std::string OrdnerbildTag(const Kontext& k, const std::string& ordner, const std::string& vorschauOrdner,
                          const TVerzeichniseintrag& unterordner, const std::string& erstesBild) {
  const OptionModel& m = k.m;
  const std::string bild = kuenftigerName(k, fs::withTrailingSlash(ordner) + unterordner.Name + "/", erstesBild);
  std::string basis, datei, attribute;
  if (m.checked(Opt::CBVorschaubilderErzeugen)) {
    basis = VorschauordnerLink(k, ordner, vorschauOrdner);
    datei = VorschaubildName(k, bild);
    // Made only when the walk reaches the subfolder, after this page.
    attribute = VorschauGroesseAttributeVorab(k, fs::withTrailingSlash(ordner) + unterordner.Name + "/" + erstesBild,
                                              fs::withTrailingSlash(vorschauOrdner) + unterordner.Name, datei);
  } else {
    basis = BildordnerLink(k, ordner);
    datei = bild;
  }
  std::string titel;
  if (m.checked(Opt::CBDateinameAlsHint))
    titel = ordnerAnzeige(fs::withTrailingSlash(ordner) + unterordner.Name, NameKodieren(unterordner.Name));
  return "<img src=\"" + basis + URLKodieren(unterordner.Name) + "/" + URLKodieren(datei) + "\" " +
         (attribute.empty() ? "" : attribute + " ") + "alt=\"" + NameKodieren(erstesBild) + "\" title=\"" + titel +
         "\"" + LeerElementEnde(k);
}

void UnterordnerTabelleSchreiben(Lauf& lauf, HTMLSeite& seite, const std::string& ordner,
                                 const std::string& vorschauOrdner, const TVerzeichnisArray& ordnerliste,
                                 int startIndex) {
  const Kontext& k = lauf.k;
  const OptionModel& m = k.m;
  const std::string dir = fs::withTrailingSlash(ordner);
  const int spalten = std::max(1, m.spin(Opt::SpEdOrdnerSpalten));
  const bool abstand = m.spin(Opt::SpEdOrdnerSpaltenabstand) >= 0;
  const int anzahl = std::max(0, static_cast<int>(ordnerliste.size()) - startIndex);
  const bool mitUnter = m.checked(Opt::CBmitUnterverzeichnissen);
  const bool zaehlen = m.checked(Opt::CBUnterordnerMitAnzDateien) ||
                       m.checked(Opt::CBAnzeigeUnterodnerMitDateigroesse) ||
                       m.checked(Opt::CBAnzeigeUnterordnerMitAnzUnterordner);
  const std::string hr = m.checked(Opt::CBmitHR) ? Trennlinie(k) + kZE : std::string();
  const std::string kopf = std::string("<div id=\"ordner\"><table>") + kZE;
  const std::string fuss = std::string("</table></div>") + kZE;

  std::string t;
  if (mitUnter || zaehlen) t += kopf;
  if (m.checked(Opt::CBAnzeigeAuchAktuellerOrdner) && zaehlen) {
    t += std::string("  <tr>") + kZE;
    t += "    <td>" + HTMLZeichenKodieren(m.text(Opt::EdDieserOrdner)) + ":</td>" + kZE;
    t += abstand ? "    <td class=\"abst\">" : "    <td>";
    int n = 0, unter = 0;
    int64_t bytes = 0;
    bool ok = true;
    std::string erstes;
    OrdnerStatistik(lauf, dir, n, bytes, ok, erstes, unter);
    if (ok) {
      const std::string teile = statistikTeile(k, n, bytes, unter);
      t += teile.size() >= 3 ? teile.substr(3) : teile;
    }
    t += std::string("</td>") + kZE;
    if (mitUnter && anzahl > 0)
      for (int c = 2; c <= spalten; ++c) t += leereZelle(abstand && c < spalten) + kZE;
    t += std::string("  </tr>") + kZE;
  }
  if (mitUnter && anzahl > 0) {
    const int zeilen = anzahl / spalten + (anzahl % spalten != 0 ? 1 : 0);
    const bool spaltenweise = m.checked(Opt::RBOrdnerSpaltenweise);
    for (int r = 1; r <= zeilen; ++r) {
      t += std::string("  <tr>") + kZE;
      if (r == 1) {
        t += "    <td>" +
             HTMLZeichenKodieren(m.text(anzahl == 1 ? Opt::EdUnterordnerSing : Opt::EdUnterordnerPl)) + ":</td>" +
             kZE;
      } else {
        t += std::string("    <td></td>") + kZE;
      }
      for (int c = 1; c <= spalten; ++c) {
        const int pos = spaltenweise ? (startIndex - 1) + (c - 1) * zeilen + r : (startIndex - 1) + spalten * (r - 1) + c;
        const bool mitAbstand = abstand && c < spalten;
        if (pos >= static_cast<int>(ordnerliste.size())) {
          t += leereZelle(mitAbstand) + kZE;
          continue;
        }
        const TVerzeichniseintrag& u = ordnerliste[static_cast<size_t>(pos)];
        std::string ziel = UebersichtsseiteDateiname(k, std::to_string(pos + 1), 1);
        ziel = m.checked(Opt::RBStrukturOrdner) ? URLKodieren(u.Name) + "/" + URLKodieren(ziel) : URLKodieren(ziel);
        int n = 0, unter = 0;
        int64_t bytes = 0;
        bool ok = true;
        std::string erstes;
        if (zaehlen || m.checked(Opt::CBUnterordnerbildAnzeigen))
          OrdnerStatistik(lauf, dir + u.Name + "/", n, bytes, ok, erstes, unter);
        std::string z = mitAbstand ? "    <td class=\"abst\">" : "    <td>";
        if (!erstes.empty() && m.checked(Opt::CBUnterordnerbildAnzeigen))
          z += "<a href=\"" + ziel + "\">" + OrdnerbildTag(k, ordner, vorschauOrdner, u, erstes) + "</a>";
        if (m.checked(Opt::CBOrdnernamenAnzeigen) || erstes.empty())
          z += "<a href=\"" + ziel + "\">" + ordnerAnzeige(dir + u.Name, NameKodieren(u.Name)) + "</a>";
        if (ok) {
          if (m.checked(Opt::CBUnterordnerMitDatum))
            if (const auto dz = DosDatumZerlegen(u.Datum)) z += " / " + DatumZeitText(k.sv.locale.shortDate, *dz);
          z += statistikTeile(k, n, bytes, unter);
        }
        t += z + "</td>" + kZE;
      }
      t += std::string("  </tr>") + kZE;
    }
  }
  if (mitUnter || zaehlen) t += fuss + hr;
  if (t.empty() || t == kopf + fuss || t == kopf + fuss + hr) return;
  seite.zeile(t);
}

void FusszeileSchreiben(const Kontext& k, HTMLSeite& seite, const std::string& ordner, int seitenNr) {
  const OptionModel& m = k.m;
  const bool start = IstStartseite(k, ordner, seitenNr);
  LinkZurueckSchreiben(k, seite, ordner, start, false);
  if (m.checked(Opt::CBmitHR)) seite.zeile(Trennlinie(k));
  seite.zeile("<div id=\"fusszeile\">");
  if (m.checked(Opt::CBBilderCopyright))
    seite.zeile("  <div id=\"fusszeilecopyright\">" +
                HTMLZeichenKodieren(
                    ErsetzenOhneFall(m.text(Opt::EdBilderCopyright), "[AUTOR]", m.text(Opt::EdMetaAutor))) +
                "</div>");
  if (m.checked(Opt::CBCopyright))
    seite.zeile("  <div id=\"fusszeileproghinweis\">" + HTMLZeichenKodieren(m.text(Opt::EdErstelltMit)) +
                " <a href=\"" + kHerstellerWebsite + "\"" + (k.st.DoctypeStrict ? "" : " target=\"_blank\"") + ">" +
                kProduktname + "</a> V" + kVersionLang + "</div>");
  if (m.checked(Opt::CBmitLinkNachOben))
    seite.zeile("  <div id=\"fusszeilenachoben\"><a href=\"#uebersicht\">" +
                HTMLZeichenKodieren(m.text(Opt::EdNachOben)) + "</a></div>");
  seite.zeile("</div>");
  if (EigenerKopfGilt(k, true, start))
    seite.zeile(ErsetzenOhneFall(ZeilenendenCRLF(m.text(Opt::MNeuerDateiabschluss)), "[HTMLPfad]",
                                 WegZurStartseite(k, ordner)));
  else
    seite.zeile(HTMLEnde());
  seite.zeile(GeneratorKommentar());
}

void OrdnerSeitenSchreiben(Lauf& lauf, const std::string& ordnerIn, const std::string& vorschauOrdner,
                           const std::string& ordnerNummer, TVerzeichnisArray& ordnerliste, TDateiArray& bildliste,
                           int startIndex, int ordnerIndex) {
  Kontext& k = lauf.k;
  const OptionModel& m = k.m;
  const std::string ordner = fs::withTrailingSlash(ordnerIn);
  if (lauf.pumpUndAbbruch()) return;
  if (!VorschaubilderErzeugen(lauf, bildliste, ordner, vorschauOrdner)) return;
  const bool geteilt = !m.checked(Opt::RBganzerOrdner);
  int seiten = 1;
  if (geteilt) {
    SeitenEinteilen(k, bildliste);
    if (!bildliste.empty()) seiten = std::max(1, bildliste.back().Seite);
  }
  std::string ziel = HTMLOrdner(k);
  if (m.checked(Opt::RBStrukturOrdner)) ziel += UnterordnerPfad(k, ordner, true);
  // A folder that cannot be made is reported once; none of its pages can
  // be written.
  if (!OrdnerAnlegen(k, ziel)) return;

  for (int p = 1; p <= seiten; ++p) {
    const std::string ersteSeite = UebersichtsseiteDateiname(k, std::to_string(ordnerIndex + 1), 1);
    const std::string dieseSeite = UebersichtsseiteDateiname(k, std::to_string(ordnerIndex + 1), p);
    const std::string pfad = ziel + dieseSeite;
    try {
      HTMLSeite s;
      HTMLKopfSchreiben(k, s, false, "", ordner, false, p);
      UeberschriftSchreiben(k, s, ordner, ordnerNummer, p, seiten);
      lauf.pumpUndAbbruch();
      if (geteilt && m.checked(Opt::CBNavigationOben)) SeitennavigationSchreiben(k, s, ordner, p, ordnerIndex, seiten, true);
      if (m.checked(Opt::CBmitHR)) s.zeile(Trennlinie(k));
      UnterordnerTabelleSchreiben(lauf, s, ordner, vorschauOrdner, ordnerliste, startIndex);
      lauf.pumpUndAbbruch();
      VorschauTabelleSchreiben(lauf, s, bildliste, p, ersteSeite, dieseSeite, ordnerIndex, vorschauOrdner, ordner);
      if (geteilt && m.checked(Opt::CBNavigationUnten))
        SeitennavigationSchreiben(k, s, ordner, p, ordnerIndex, seiten, false);
      FusszeileSchreiben(k, s, ordner, p);
      // A page cut short by a cancel would replace a complete older one.
      if (lauf.pumpUndAbbruch()) return;
      SeiteSpeichern(pfad, s);
    } catch (const std::exception& e) {
      k.fehler("Speichern der HTML-Datei " + pfad + "\r\nfehlgeschlagen!\r\n" + e.what());
    }
  }
}

}  // namespace mosaik
