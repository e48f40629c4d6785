#include "generator/Seitenrahmen.h"

#include "platform/Win1252.h"

#include <ctime>
#include <stdexcept>

#include "app/options/Hersteller.h"
#include "generator/Entities.h"
#include "generator/Namen.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

const char* const kZE = "\r\n";

std::string zweistellig(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

// The current date as 2024-03-07, from the injected clock.
std::string datumText(const Kontext& k) {
  const std::time_t t = k.sv.now ? k.sv.now() : std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return std::to_string(tm.tm_year + 1900) + "-" + zweistellig(tm.tm_mon + 1) + "-" + zweistellig(tm.tm_mday);
}

// A user's path gets the way back in front unless it is an address of its
// own or starts at the server's root.
std::string mitWegPlatzhalter(const Kontext& k, const std::string& pfad, bool eigenePfadangabe,
                              const std::string& kodiert) {
  if (!k.m.checked(Opt::RBStrukturOrdner)) return kodiert;
  if (eigenePfadangabe && IstAbsoluterPfad(pfad)) return kodiert;
  return "[HTMLPfad]" + kodiert;
}

}  // namespace

void SeiteSpeichern(const std::string& pfad, const HTMLSeite& seite) {
  std::string warum;
  if (!fs::writeFileAtomic(pfad, SeitenBytes(seite.text()), false, &warum)) throw std::runtime_error(warum);
}

std::string LeerElementEnde(const Kontext& k) { return k.st.DoctypeXHTML ? " />" : ">"; }

std::string Trennlinie(const Kontext& k) { return "<hr" + LeerElementEnde(k); }

std::string HTMLEnde() { return "</body>\r\n</html>"; }

std::string GeneratorKommentar() {
  return std::string("<!-- Diese Seite wurde mit ") + kProduktname + " V. " + kVersionLang + " (" + kHerstellerHost +
         ") erstellt. -->";
}

std::string HTMLKopfVorlage(const Kontext& k) {
  const OptionModel& m = k.m;
  const std::string e = LeerElementEnde(k) + kZE;
  std::string t;
  switch (m.index(Opt::CoBDoctype)) {
    case 0:
      t += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">";
      break;
    case 2:
    case 3:
      if (m.checked(Opt::CBmitXMLDeklaration)) t += std::string("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>") + kZE;
      t += m.index(Opt::CoBDoctype) == 2
               ? "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
                 "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">"
               : "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
                 "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">";
      break;
    default:
      t += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
           "\"http://www.w3.org/TR/html4/loose.dtd\">";
  }
  t += kZE;
  t += GeneratorKommentar() + kZE;
  t += std::string("<html") + (k.st.DoctypeXHTML ? " xmlns=\"http://www.w3.org/1999/xhtml\"" : "") + ">" + kZE;
  t += std::string("<head>") + kZE;
  t += std::string("  <meta name=\"generator\" content=\"Tesvaldos ") + kProduktname + " (" + kHerstellerHost +
       ")\"" + e;
  t += "  <meta http-equiv=\"content-type\" content=\"text/html; charset=ISO-8859-1\"" + e;
  t += "  <meta name=\"date\" content=\"" + datumText(k) + "\"" + e;
  if (m.checked(Opt::CBAutor))
    t += "  <meta name=\"author\" content=\"" + HTMLZeichenKodieren(m.text(Opt::EdMetaAutor)) + "\"" + e;
  const std::string& woerter = m.text(Opt::EdMetaSchluesselwoerter);
  const std::string schluessel = std::string(kProduktname) + kHerstellerOrdner;
  const std::string k1 =
      !m.checked(Opt::CBSchluesselwoerter) || woerter.empty() ? schluessel : woerter + "," + schluessel;
  t += "  <meta name=\"keywords\" content=\"" + HTMLZeichenKodieren(k1) + "\"" + e;
  if (m.checked(Opt::CBBeschreibung))
    t += "  <meta name=\"description\" content=\"" + HTMLZeichenKodieren(m.text(Opt::EdMetaBeschreibung)) + "\"" + e;
  if (m.checked(Opt::CBDiashow) && m.checked(Opt::RBProBildEineHTMLDatei))
    t += std::string("  [DIASHOW-METAREFRESH]") + kZE;
  if (m.checked(Opt::CBSuchrobotorAusladen)) {
    t += "  <meta name=\"robots\" content=\"noindex\"" + e;
    t += "  <meta name=\"robots\" content=\"nofollow\"" + e;
  }
  if (m.checked(Opt::CBSuchrobotorEinladen)) {
    t += "  <meta name=\"robots\" content=\"index\"" + e;
    t += "  <meta name=\"robots\" content=\"follow\"" + e;
  }
  const bool andereCSS = m.checked(Opt::CBAndereCSSDatei);
  const std::string css = andereCSS ? m.text(Opt::EdAndereCSSDatei) : CSSDateiname(k);
  const std::string cssURL = andereCSS ? BenutzerURLKodieren(css) : URLKodieren(css);
  t += "  <link rel=\"stylesheet\" type=\"text/css\" href=\"" + mitWegPlatzhalter(k, css, andereCSS, cssURL) + "\"" +
       e;
  if (m.checked(Opt::CBFavicon)) {
    const std::string& f = m.text(Opt::EdFavicon);
    t += "  <link rel=\"SHORTCUT ICON\" href=\"" + mitWegPlatzhalter(k, f, true, BenutzerURLKodieren(f)) + "\"" + e;
  }
  t += "  <title>" + HTMLZeichenKodieren(m.text(Opt::EdSeitentitel)) + "</title>" + kZE;
  if (m.checked(Opt::CBFramekiller)) {
    const bool x = k.st.DoctypeXHTML;
    t += std::string("   <script type=\"text/javascript\">") + kZE;
    t += std::string(x ? "   // <![CDATA[" : "   <!--") + kZE;
    t += std::string("    if(top.frames.length>0)") + kZE;
    t += std::string("    {") + kZE;
    t += std::string("     top.location.href=self.location;") + kZE;
    t += std::string("    } /* Es wird auf jeden Fall auf Top-Ebene geoeffnet */") + kZE;
    t += std::string(x ? "   // ]]>" : "   //-->") + kZE;
    t += std::string("   </script>") + kZE;
  }
  t += std::string("</head>") + kZE;
  t += "<body [BODYID]>";
  return t;
}

bool IstStartseite(const Kontext& k, const std::string& ordner, int seite) {
  // The display path holds a "/" for every level below the top folder;
  // measured on the path itself, a "/" typed into the start folder's name
  // cannot fool the test.
  return seite == 1 && AnzeigeUnterpfad(k, ordner).empty();
}

std::string WegZurStartseite(const Kontext& k, const std::string& ordner) {
  return k.m.checked(Opt::RBStrukturOrdner) ? PfadZurStartseite(k, ordner, false) : std::string();
}

bool EigenerKopfGilt(const Kontext& k, bool uebersichtsseite, bool startseite) {
  const OptionModel& m = k.m;
  if (!m.checked(Opt::CBeigenenHeaderVerwenden)) return false;
  return m.checked(Opt::RBNeuerHeaderAlleSeiten) ||
         (uebersichtsseite && m.checked(Opt::RBNeuerHeaderUebersichtsseiten)) ||
         (startseite && m.checked(Opt::RBNeuerHeaderNurErsteSeite));
}

void HTMLKopfSchreiben(const Kontext& k, HTMLSeite& seite, bool bildseite, const std::string& naechsteSeite,
                       const std::string& ordner, bool gestoppt, int seitenNummer) {
  const OptionModel& m = k.m;
  const std::string weg = WegZurStartseite(k, ordner);
  const bool start = IstStartseite(k, ordner, seitenNummer);

  std::string t = EigenerKopfGilt(k, !bildseite, start) ? ZeilenendenCRLF(m.text(Opt::MNeuerHeader))
                                                        : HTMLKopfVorlage(k);

  std::string refresh;
  if (bildseite && m.checked(Opt::CBDiashow) && m.checked(Opt::RBProBildEineHTMLDatei) && !naechsteSeite.empty() &&
      !gestoppt) {
    refresh = "   <meta http-equiv=\"refresh\" content=\"" + std::to_string(m.spin(Opt::SpEdDiashow)) +
              "; URL=" + URLKodieren(naechsteSeite) + "\"" + LeerElementEnde(k) + kZE;
  }
  t = ErsetzenOhneFall(t, std::string("  [DIASHOW-METAREFRESH]") + kZE, refresh.empty() ? "" : "   " + refresh);
  t = ErsetzenOhneFall(t, std::string("[DIASHOW-METAREFRESH]") + kZE, refresh);
  t = ErsetzenOhneFall(t, "[DIASHOW-METAREFRESH]", refresh);
  t = ErsetzenOhneFall(t, "[HTMLPfad]", weg);
  t = ErsetzenOhneFall(t, "[BODYID]", bildseite ? "id=\"einzelbild\"" : "id=\"uebersicht\"");
  seite.zeile(t);
}

void LinkZurueckSchreiben(const Kontext& k, HTMLSeite& seite, const std::string& ordner, bool startseite,
                          bool oben) {
  const OptionModel& m = k.m;
  const std::string& grafik = m.text(Opt::EdLinkZurueckGrafik);
  const std::string& text = m.text(Opt::EdLinkZurueckText);
  const std::string& ziel = m.text(Opt::EdLinkZuruekVerlinkteDatei);
  // A graphic without a file name would be an image without a source.
  const bool mitGrafik = m.checked(Opt::CBLinkZureckGrafikLink) && !grafik.empty();
  const bool mitText = m.checked(Opt::CBLinkZurueckTextlink) && !text.empty();
  if (!m.checked(Opt::CBLinkZurueckZurHomepage)) return;
  if (!mitGrafik && !mitText) return;
  if (!(oben ? m.checked(Opt::CBLinkZurueckOben) : m.checked(Opt::CBLinkZurueckUnten))) return;
  if (!startseite && !m.checked(Opt::RBLinkZurueckAufJederSeite)) return;
  if (ziel.empty()) return;

  const auto vorsatz = [&](const std::string& pfad) {
    return IstAbsoluterPfad(pfad) ? std::string() : WegZurStartseite(k, ordner);
  };
  std::string z = "<p><a href=\"" + vorsatz(ziel) + BenutzerURLKodieren(ziel) + "\">";
  if (mitGrafik)
    z += "<img src=\"" + vorsatz(grafik) + BenutzerURLKodieren(grafik) + "\" alt=\"zur&uuml;ck\" title=\"zur&uuml;ck\"" +
         LeerElementEnde(k);
  if (m.checked(Opt::CBLinkZurueckTextlink)) z += HTMLZeichenKodieren(text);
  z += "</a></p>";
  seite.zeile(z);
}

}  // namespace mosaik
