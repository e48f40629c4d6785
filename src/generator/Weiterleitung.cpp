#include "generator/Weiterleitung.h"

#include "generator/Durchlauf.h"
#include "generator/Entities.h"
#include "generator/Generierung.h"
#include "generator/Namen.h"
#include "generator/Seitenrahmen.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

const char* const kDoctype =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">";
const char* const kTitel = "  <title>Weiterleitung</title>";

// An existing file there may only be replaced when it is one of our
// redirect pages.
bool ersetzbar(const std::string& pfad) {
  if (!fs::exists(pfad)) return true;
  const auto alt = fs::readTextFile(pfad);
  if (!alt) return false;
  return alt->rfind(std::string(kDoctype) + "\r\n", 0) == 0 &&
         alt->find(std::string("\r\n") + kTitel + "\r\n") != std::string::npos && alt->size() < 4096;
}

}  // namespace

std::string WeiterleitungsSeite(const std::string& ziel) {
  HTMLSeite s;
  s.zeile(kDoctype);
  s.zeile("<html>");
  s.zeile("<head>");
  s.zeile("  <meta http-equiv=\"content-type\" content=\"text/html; charset=ISO-8859-1\">");
  s.zeile(kTitel);
  s.zeile("  <meta http-equiv=\"refresh\" content=\"0; URL=" + ziel + "\">");
  s.zeile("  <script type=\"text/javascript\">");
  s.zeile("  <!--");
  s.zeile("    document.location.href=\"" + ziel + "\";");
  s.zeile("  //-->");
  s.zeile("  </script>");
  s.zeile("</head>");
  s.zeile("<body>");
  s.zeile("  <h1>Weiterleitung</h1>");
  s.zeile("  <h2>Sie werden automatisch");
  s.zeile("      <a href=\"" + ziel + "\">weitergeleitet</a>!</h2>");
  s.zeile("</body>");
  s.zeile("</html>");
  return s.text();
}

void WeiterleitungsIndexSchreiben(const Kontext& k, const std::string& ordnerIn) {
  const std::string ordner = fs::withTrailingSlash(ordnerIn);
  const std::string html = HTMLOrdner(k);
  // The HTML folder holds the start page; a redirect there would replace it
  // or lead nowhere.
  if (gleicherOrdner(ordner, html)) return;
  const std::string ziel = URLKodieren(RelativeURL(ordner, html) + UebersichtsseiteDateiname(k, "0", 1));
  const std::string pfad = ordner + "index.html";
  HTMLSeite s;
  s.roh(WeiterleitungsSeite(ziel));
  // The page of an earlier run stays as it is, not even probed for:
  // writing in the folder would change its time, which a user who does not
  // own the folder cannot give back.
  const std::string bytes = SeitenBytes(s.text());
  if (fs::fileSize(pfad) == static_cast<int64_t>(bytes.size()) && fs::readFile(pfad) == bytes) return;
  if (!OrdnerBeschreibbar(ordner)) return;
  if (!ersetzbar(pfad)) return;
  SeiteSpeichern(pfad, s);
}

void IndexInGrafikordnernSchreiben(Lauf& lauf, const std::string& ordnerIn, bool mitUnterordnern) {
  const std::string ordner = fs::withTrailingSlash(ordnerIn);
  WeiterleitungsIndexSchreiben(lauf.k, ordner);
  if (lauf.pumpUndAbbruch()) {
    bool eigenes = true;
    BenutzerAbbruch(lauf.k, eigenes);
    return;
  }
  if (!mitUnterordnern) return;
  for (const fs::Entry& e : OrdnerLesen(lauf, ordner)) {
    if (AbbruchFlag.load() != 0) break;
    if (!e.folder) continue;
    bool ok = true;
    if (BilderZaehlen(lauf, ordner + e.name + "/", ok) > 0 && ok)
      IndexInGrafikordnernSchreiben(lauf, ordner + e.name + "/", true);
    if (!ok) break;
  }
}

}  // namespace mosaik
