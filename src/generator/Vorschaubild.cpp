#include "generator/Vorschaubild.h"

#include <cstdint>

#include "imaging/JpegCodec.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

std::string attribute(int64_t w, int64_t h) {
  return "width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) + "\"";
}

}  // namespace

bool IstPanorama(const Kontext& k, const TDateiArray& liste, int index) {
  if (!k.m.checked(Opt::CBPanoramaExtrabehandlung)) return false;
  if (index < 0 || index >= static_cast<int>(liste.size())) return false;
  const TDateieintrag& e = liste[static_cast<size_t>(index)];
  return static_cast<int64_t>(e.Breite) * 10000 > k.m.decimal(Opt::RSpEdVerhaeltnis).units() * e.Hoehe;
}

bool VorschaubildErzeugen(Lauf& lauf, const std::string&, const std::string&, const std::string&, bool, int) {
  // The thumbnail files arrive with the image pipeline; until then an
  // existing thumbnail is used as it is.
  lauf.pumpUndAbbruch();
  return true;
}

std::string VorschauGroesseAttribute(const Kontext&, const std::string& pfad) {
  const auto daten = fs::readFile(pfad);
  if (!daten) return {};
  try {
    const imaging::JpegInfo info = imaging::ReadJpegInfo(*daten);
    if (info.Width <= 0 || info.Height <= 0) return {};
    return attribute(info.Width, info.Height);
  } catch (const std::exception&) {
    return {};
  }
}

std::string VorschauGroesseAttributeAusListe(const Kontext& k, const TDateiArray& liste, int index) {
  if (index < 0 || index >= static_cast<int>(liste.size())) return {};
  const TDateieintrag& e = liste[static_cast<size_t>(index)];
  const int64_t W = e.Breite, H = e.Hoehe;
  if (W <= 0 || H <= 0) return {};
  const OptionModel& m = k.m;
  int64_t s;
  bool nachBreite;
  if (IstPanorama(k, liste, index)) {
    s = m.spin(Opt::SpEdPanoramaVorschau);
    nachBreite = m.checked(Opt::RBPanoramaBreite);
  } else {
    s = m.spin(Opt::SpEdGroesse);
    nachBreite = m.checked(Opt::RBLaengereSeite) ? W >= H : !m.checked(Opt::RBHoehe);
  }
  int64_t w = nachBreite ? s : s * W / H;
  int64_t h = nachBreite ? s * H / W : s;
  if (!m.checked(Opt::CBkleineBilderVergroessern) && (w > W || h > H)) {
    w = W;
    h = H;
  }
  return attribute(w, h);
}

}  // namespace mosaik
