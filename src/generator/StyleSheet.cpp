#include "generator/StyleSheet.h"

#include <initializer_list>
#include <vector>

#include "app/options/Hersteller.h"
#include "generator/Entities.h"
#include "generator/Namen.h"
#include "generator/Seitenrahmen.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

class Zeilen {
 public:
  void operator()(std::initializer_list<std::string> zeilen) {
    for (const auto& z : zeilen) z_.push_back(z);
  }
  void leer(int n = 1) {
    for (int i = 0; i < n; ++i) z_.emplace_back();
  }
  std::string text() const {
    std::string t;
    for (size_t i = 0; i < z_.size(); ++i) {
      if (i > 0) t += "\r\n";
      t += z_[i];
    }
    return t;
  }

 private:
  std::vector<std::string> z_;
};

std::string farbe(const Kontext& k, Opt o) { return HTMLFarbe(k.m.color(o)); }
std::string zahl(const Kontext& k, Opt o) { return std::to_string(k.m.spin(o)); }

// The font lines of the body text or of the headings.
void schriftZeilen(const Kontext& k, Zeilen& z, Opt fest, Opt name, Opt familie, Opt schnitt, Opt groesse) {
  static constexpr const char* kFamilien[] = {"", "serif", "sans-serif", "cursive", "fantasy", "monospace"};
  const OptionModel& m = k.m;
  const bool mitName = m.checked(fest) && !m.text(name).empty();
  const int f = m.index(familie);
  const std::string generisch = f >= 1 && f <= 5 ? kFamilien[f] : "";
  if (mitName || !generisch.empty()) {
    std::string l = "   font-family:";
    if (mitName) l += "'" + m.text(name) + "'";
    if (mitName && !generisch.empty()) l += ",";
    z({l + generisch + ";"});
  }
  const int s = m.index(schnitt);
  if (s == 1) z({"   font-weight:normal;"});
  if (s == 2 || s == 4) z({"   font-weight:bold;"});
  if (s == 1) z({"   font-style:normal;"});
  if (s == 3 || s == 4) z({"   font-style:italic;"});
  if (groesse != Opt::Count) {
    const std::string& g = m.text(groesse);
    const auto& items = m.items(groesse);
    if (!g.empty() && (items.empty() || g != items.front())) z({"   font-size:" + g + ";"});
  }
}

void vorschauZellen(const Kontext& k, Zeilen& z) {
  const OptionModel& m = k.m;
  const std::string s = zahl(k, Opt::SpEdGroesse);
  if (m.checked(Opt::RBLaengereSeite) && m.checked(Opt::CBZentrerirungstrick)) {
    z({"#vorschau td .bildzentr {", "   border:0;", "   border-spacing:0;", "   padding:0;", "   margin:auto;"});
    z({m.checked(Opt::RBVorschauhintergrundtransparent)
           ? "   background-color:transparent;"
           : "   background-color:" + farbe(k, Opt::PZentrierungstrickFarbe) + ";"});
    z({"   width:" + s + "px;", "   height:" + s + "px;", "}"});
    z({"#vorschau td .bildzentr td {", "   margin:0;", "   padding:0;", "   border:0;", "   border-spacing:0;",
       "   vertical-align:middle;", "}"});
  } else if (m.checked(Opt::RBLaengereSeite)) {
    z({"#vorschau td .bild {", "   width:" + s + "px;", "   height:" + s + "px;", "   background-color:transparent;",
       "   margin:auto;", "}"});
  } else {
    z({"#vorschau td .bild {"});
    if (m.checked(Opt::RBBreite) || m.checked(Opt::RBVorschauQuadratisch)) z({"   width:" + s + "px;"});
    if (m.checked(Opt::RBHoehe) || m.checked(Opt::RBVorschauQuadratisch)) z({"   height:" + s + "px;"});
    z({"   background-color:transparent;", "   margin:auto;", "}"});
  }
}

}  // namespace

std::string StyleSheetErzeugen(const Kontext& k) {
  const OptionModel& m = k.m;
  const std::string linie = farbe(k, Opt::PanelLinienFarbe);
  Zeilen z;
  z({"/* StyleSheet erzeugt mit Mosaikschauer */", std::string("/* ") + kHerstellerWebsite + "   */",
     "/* Sie können durch Änderungen das gesamte Aussehen Ihrer Galerie anpassen! */"});
  z.leer(2);
  z({"/* normaler Text */", "body {", "   color:" + farbe(k, Opt::PanelTextFarbe) + ";"});
  if (m.checked(Opt::CBHintergrundgrafik) && !m.text(Opt::EdHintergrundgrafik).empty())
    z({"   background-image:url(\"" + m.text(Opt::EdHintergrundgrafik) + "\");"});
  z({"   background-color:" + farbe(k, Opt::PanelHintergrundFarbe) + ";"});
  if (!m.checked(Opt::CBmitLinkNachOben) && !m.checked(Opt::CBCopyright) && !m.checked(Opt::CBBilderCopyright))
    z({"   margin-bottom:1.5em;"});
  z({"}"});
  z({"a:link {", "   color:" + farbe(k, Opt::PanelLinkFarbe) + ";", "}"});
  z({"a:visited {", "   color:" + farbe(k, Opt::PanelVLinkFarbe) + ";", "}"});
  z({"a:hover {", "   color:" + farbe(k, Opt::PanelHoverLinkFarbe) + ";", "}"});
  z({"a:active {", "   color:" + farbe(k, Opt::PanelALinkFarbe) + ";", "}"});
  z({"a:focus {", "   color:" + farbe(k, Opt::PanelHoverLinkFarbe) + ";", "}"});
  z({"body,table,p  {"});
  schriftZeilen(k, z, Opt::CBRestFesteSchrift, Opt::CoBResttext, Opt::CoBRestWeicheSchriftart,
                Opt::CoBRestSchriftschnitt, Opt::CoBRestGroesse);
  z({"}"});
  z({"img {", "   border:0;", "}"});
  z.leer();
  z({"/* Überschriften */", "h1,h2 {"});
  schriftZeilen(k, z, Opt::CBUebFesteSchrift, Opt::CoBUeberschrift, Opt::CoBUebWeicheSchriftart,
                Opt::CoBUebSchriftschnitt, Opt::Count);
  z({"   text-align:center;", "}"});
  {
    const std::string& g = m.text(Opt::CoBUebGroesse);
    const auto& items = m.items(Opt::CoBUebGroesse);
    if (!g.empty() && (items.empty() || g != items.front())) z({"h1 {", "   font-size:" + g + ";", "}"});
  }
  if (m.index(Opt::CoBUnterUebGroesse) != 0 && !m.text(Opt::CoBUnterUebGroesse).empty()) {
    z.leer(2);
    z({"/* Unterüberschrift: Ordnername */", "h2 {", "   font-size:" + m.text(Opt::CoBUnterUebGroesse) + ";", "}"});
  }
  z.leer();
  z({"/**** Formatierungen für die Übersichts-Seite ****/", "#uebersicht {", "}"});
  z.leer(2);
  z({"/* horizontale Linien */", "hr {", "   background-color:" + linie + ";", "   color:" + linie + ";",
     "   border:0px;", "   height:3px;", "}"});
  z.leer(2);
  z({"/* Darstellung von dirinfo.txt */", "#di {", "   text-align:left;", "}"});
  z.leer(2);
  z({"/* Extratext auf den Übersichtsseiten  */", "/* -- oben  --                         */", "#etueboben    {",
     "   text-align:left;", "}", "/* -- unten --                         */", "#etuebunten   {",
     "   text-align:left;", "}"});
  z.leer(2);
  z({"/* Navigations-\"Blättern\"-Einträge */", "#bloben {", "   text-align:right;", "}", "#blunten {",
     "   text-align:center;", "}"});
  z.leer(2);
  z({"/* Ordner-Navigationsleiste */", "#ordnavi  {", "   text-align:left;", "}"});
  z.leer(2);
  z({"/* Unterordner-Liste */", "#ordner  {", "}", "#ordner table {", "}", "#ordner img {", "   margin-right:1em;",
     "   vertical-align:middle;", "}", "#ordner td.abst {"});
  if (m.spin(Opt::SpEdOrdnerSpaltenabstand) >= 0) {
    z({"   padding-right:" + zahl(k, Opt::SpEdOrdnerSpaltenabstand) + "em;"});
  } else {
    z.leer();
  }
  z({"}"});
  z.leer(2);
  z({"/* Tabelle mit Vorschaubildern */", "#vorschau {", "   text-align:center; /* nur für den IE */", "}"});
  z.leer(2);
  z({"/* Tabellenrahmen und -abstände */", "#vorschau table  {", "   empty-cells:show;", "   margin-left:auto;",
     "   margin-right:auto;"});
  if (m.spin(Opt::SpEdAbstand1) != -1) z({"   border-spacing:" + zahl(k, Opt::SpEdAbstand1) + "px;"});
  if (m.checked(Opt::CBTabellenrahmen)) z({"   border:1px solid " + linie + ";"});
  z({"}", "#vorschau td {", "   text-align:center;", "   vertical-align:top;"});
  if (m.spin(Opt::SpEdAbstand2) != -1) z({"   padding:" + zahl(k, Opt::SpEdAbstand2) + "px;"});
  if (m.checked(Opt::CBTabellenrahmen)) z({"   border:1px solid " + linie + ";"});
  z({"}"});
  vorschauZellen(k, z);
  z({"#vorschau td .pano {", "}"});
  z.leer(2);
  z({"/* Bildbeschreibungen Übersichtsdatei */", "#vorschau .beschr {", "}",
     "/*   normal (und auch \"klein\", soweit dort nichts anderes steht) */", "#vorschau .gr {",
     "   font-size:smaller;", "}", "/*   kleiner (in der Beschreibung mit \\kl gekennzeichnet) */", "#vorschau .kl {",
     "   font-size:smaller;", "}"});
  z.leer(2);
  z({"/* Links zu Text-, Audio und Videodatei */", "#vorschau .aviwavtxt {", "   font-size:80%;", "}"});
  z.leer(2);
  z({"/* Fußzeile (Link nach oben und Hinweis auf Programm) */", "#fusszeile {", "   text-align:center;",
     "   font-size:70%;", "}"});
  if (m.checked(Opt::CBBilderCopyright)) {
    z({"#fusszeilecopyright  {", "   float:left;", "   text-align:left;", "   margin:0;", "}",
       "#fusszeilenachoben  {", "}"});
  } else {
    z({"#fusszeilenachoben  {", "   float:left;", "   text-align:left;", "   margin:0;", "}"});
  }
  z({"#fusszeileproghinweis {", "   float:right;", "   padding-left:2em;", "   margin:0;", "}"});
  z.leer(2);
  z({"/**** Formatierung für die Einzelbild-Seite ****/", "#einzelbild {", "   text-align:center;", "}"});
  z.leer(2);
  z({"/* Formatierung für die Navigationszeile in den Dateien der großen Bilder */", "#navieinzelbild {"});
  if (m.spin(Opt::SpEdVertikalerAbstand) > 0) {
    z({"   margin-bottom:" + zahl(k, Opt::SpEdVertikalerAbstand) + "ex;"});
  } else {
    z.leer();
  }
  z({"}", "#navieinzelbild a {", "   margin-left:1em;", "   margin-right:1em;", "}"});
  z.leer(2);
  z({"/* Das große Bild selber */", "#grossbild {", "}", "#grossbild img {", "margin:0ex 0.5em 0ex 0.5em;", "}"});
  z.leer(2);
  z({"/* Extratext auf den Einzelbild-Seiten */", "/* -- oben --                          */", "#eteinzeloben  {",
     "   text-align:left;", "}", "/* -- unten --                         */", "#eteinzelunten {",
     "   text-align:left;", "}"});
  z.leer(2);
  z({"/* Bildbeschreibungen bei den großen Bildern */", "#einzelbild .beschr{", "}",
     "/*   normal (und auch \"klein\", soweit dort nichts anderes steht) */", "#einzelbild .gr {",
     "   font-size:smaller;", "}", "/*   kleiner (in der Beschreibung mit \\kl gekennzeichnet) */",
     "#einzelbild .kl {", "   font-size:smaller;", "}", "/* Links zu Text-, Audio und Videodatei */",
     "#einzelbild .aviwavtxt {", "   font-size:80%;", "}"});
  return z.text();
}

void CSSDateiSchreiben(Kontext& k, const std::string& htmlOrdner, bool& ok) {
  if (k.sv.pump) k.sv.pump();
  const std::string pfad = fs::withTrailingSlash(htmlOrdner.empty() ? HTMLOrdner(k) : htmlOrdner) + CSSDateiname(k);
  const std::string text = k.m.checked(Opt::CBCSSDateiaendern) ? k.m.text(Opt::MangepassteCSSDatei)
                                                                : StyleSheetErzeugen(k);
  std::string warum;
  if (!fs::writeFileAtomic(pfad, CSSBytes(text), false, &warum)) {
    k.fehler("Speichern der StyleSheet-Datei " + pfad + "\r\nfehlgeschlagen!\r\n" + warum);
    ok = false;
  }
}

}  // namespace mosaik
