#include "generator/Vorschaubild.h"

#include <cstdint>
#include <exception>

#include "generator/Bildgroessen.h"
#include "generator/Bildpipeline.h"
#include "generator/Namen.h"
#include "generator/Verzeichnis.h"
#include "platform/FileSystem.h"

namespace mosaik {

bool IstPanorama(const Kontext& k, const TDateiArray& liste, int index) {
  if (index < 0 || index >= static_cast<int>(liste.size())) return false;
  const TDateieintrag& e = liste[static_cast<size_t>(index)];
  return PanoramaBild(k.m, e.Breite, e.Hoehe);
}

bool VorschaubildErzeugen(Lauf& lauf, const std::string& quelle, const std::string& vorschauOrdner,
                          const std::string& dateiname, bool vergroessern, int groesse,
                          const std::vector<std::string>& namen) {
  const Kontext& k = lauf.k;
  const OptionModel& m = k.m;
  lauf.pumpUndAbbruch();
  // Without a thumbnail folder nothing may land in the working folder.
  if (!m.checked(Opt::CBVorschaubilderErzeugen) || vorschauOrdner.empty()) return true;
  const std::string q = fs::withTrailingSlash(quelle);
  const std::string z = fs::withTrailingSlash(vorschauOrdner);
  const std::string name = VorschaubildName(k, dateiname);
  const auto scheitern = [&](const std::string& grund) {
    k.fehler("Das Vorschaubild von " + q + dateiname + " kann nicht erzeugt werden:\r\n" + grund);
    return false;
  };
  if (const auto ausserhalb = ZielAusserhalb(z, name)) return scheitern(*ausserhalb);
  // The page links the expected name: a kept thumbnail of an earlier run in
  // another letter case takes it, and is made anew when it cannot.
  if (const auto behalten = VorhandenesBehalten(k, Opt::CBVorschaubilderErsetzen, z, name, namen))
    if (*behalten == name || fs::renameNoReplace(z + *behalten, z + name) == fs::RenameResult::Done) return true;
  // A thumbnail that cannot be made (a size no JPEG file holds, too little
  // memory, a folder that cannot be written) costs its cell, not the page.
  try {
    return AbgeleitetesBildSchreiben(k, q, dateiname, z + name, VorschaubildArt(m, groesse, vergroessern),
                                     [&lauf] { lauf.pumpUndAbbruch(); }, nullptr,
                                     {std::nullopt, lauf.VorschaubilderVerzeichnen});
  } catch (const std::exception& e) {
    return scheitern(e.what());
  }
}

// The thumbnail's own size as displayed (turned by its EXIF Orientation,
// as browsers do with thumbnails of earlier versions or other tools):
// re-deriving it from the file under the size rules gives the same in every
// ordinary case, and where it would not (a panorama whose thumbnail falls
// below the ratio, a kept thumbnail of other settings) the page must not
// contradict the picture.
std::string VorschauGroesseAttribute(const Kontext&, const std::string& pfad) {
  const auto g = AnzeigeGroesseLesen(pfad);
  return g ? GroesseAttribut(*g) : std::string();
}

std::string VorschauGroesseAttributeVorab(const Kontext& k, const std::string& bildpfad, const std::string& ordner,
                                          const std::string& name) {
  const OptionModel& m = k.m;
  const std::string dir = fs::withTrailingSlash(ordner);
  // Spelled exactly: a thumbnail spelled otherwise may be another picture's.
  if (!m.checked(Opt::CBVorschaubilderErsetzen) && fs::fileExists(dir + name))
    return VorschauGroesseAttribute(k, dir + name);
  const auto g = AnzeigeGroesseLesen(bildpfad);
  if (!g) return {};
  const Groessenwahl w =
      VorschauWahl(m, g->breite, g->hoehe, m.spin(Opt::SpEdGroesse), m.checked(Opt::CBkleineBilderVergroessern));
  return GroesseAttribut(Dateigroesse(w, g->breite, g->hoehe));
}

std::string VorschauGroesseAttributeAusListe(const Kontext& k, const TDateiArray& liste, int index) {
  if (index < 0 || index >= static_cast<int>(liste.size())) return {};
  const TDateieintrag& e = liste[static_cast<size_t>(index)];
  if (e.Breite <= 0 || e.Hoehe <= 0) return {};
  const Groessenwahl w = VorschauListenWahl(k.m, e.Breite, e.Hoehe);
  return GroesseAttribut(Zielmasse(e.Breite, e.Hoehe, w.modus, w.groesse, w.vergroessern));
}

}  // namespace mosaik
