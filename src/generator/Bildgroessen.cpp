#include "generator/Bildgroessen.h"

#include <algorithm>

namespace mosaik {

Masse Zielmasse(int64_t W, int64_t H, Groessenmodus modus, int64_t S, bool vergroessern) {
  if (W <= 0 || H <= 0) return {};
  if (modus == Groessenmodus::Originalgroesse) return {W, H};
  bool nachBreite = modus == Groessenmodus::Breite;
  if (modus == Groessenmodus::LaengereSeite) nachBreite = W >= H;
  if (modus == Groessenmodus::Quadrat) nachBreite = W > H;
  Masse m = nachBreite ? Masse{S, S * H / W} : Masse{S * W / H, S};
  if (!vergroessern && (m.breite > W || m.hoehe > H)) m = {W, H};
  return m;
}

Masse Dateimasse(Masse m) { return {std::max<int64_t>(m.breite, 1), std::max<int64_t>(m.hoehe, 1)}; }

bool PanoramaVerhaeltnis(int64_t W, int64_t H, int64_t verhaeltnis) {
  return W > 0 && H > 0 && W * 10000 > verhaeltnis * H;
}

bool PanoramaBild(const OptionModel& m, int64_t W, int64_t H) {
  return m.checked(Opt::CBPanoramaExtrabehandlung) &&
         PanoramaVerhaeltnis(W, H, m.decimal(Opt::RSpEdVerhaeltnis).units());
}

namespace {

Groessenmodus nachSeite(bool breite) { return breite ? Groessenmodus::Breite : Groessenmodus::Hoehe; }

}  // namespace

Groessenwahl VorschauWahl(const OptionModel& m, int64_t W, int64_t H, int64_t groesse, bool vergroessern) {
  if (PanoramaBild(m, W, H))
    return {nachSeite(m.checked(Opt::RBPanoramaBreite)), m.spin(Opt::SpEdPanoramaVorschau), vergroessern};
  Groessenmodus modus = Groessenmodus::Quadrat;
  if (m.checked(Opt::RBLaengereSeite))
    modus = Groessenmodus::LaengereSeite;
  else if (m.checked(Opt::RBHoehe))
    modus = Groessenmodus::Hoehe;
  else if (m.checked(Opt::RBBreite))
    modus = Groessenmodus::Breite;
  return {modus, groesse, vergroessern};
}

Groessenwahl VorschauListenWahl(const OptionModel& m, int64_t W, int64_t H) {
  Groessenwahl w =
      VorschauWahl(m, W, H, m.spin(Opt::SpEdGroesse), m.checked(Opt::CBkleineBilderVergroessern));
  if (w.modus == Groessenmodus::Quadrat) w.modus = Groessenmodus::Breite;
  return w;
}

Groessenwahl GrossbildWahl(const OptionModel& m, int64_t W, int64_t H, int64_t groesse, bool vergroessern) {
  if (PanoramaBild(m, W, H))
    return {nachSeite(m.checked(Opt::RBPanoramaBreiteGrosseBilder)), m.spin(Opt::SpEdPanoramaGrosseBilder),
            vergroessern};
  Groessenmodus modus = Groessenmodus::Breite;
  if (m.checked(Opt::RBLaengereSeiteGrosseBilder))
    modus = Groessenmodus::LaengereSeite;
  else if (m.checked(Opt::RBHoeheGrosseBilder))
    modus = Groessenmodus::Hoehe;
  return {modus, groesse, vergroessern};
}

Groessenwahl AnzeigeWahl(const OptionModel& m, int64_t W, int64_t H) {
  const bool vergroessern = m.checked(Opt::CBGrosseBilderVergroessern);
  if (PanoramaBild(m, W, H)) {
    if (m.checked(Opt::RBGrossePanoramenOriginalgross)) return {Groessenmodus::Originalgroesse, 0, vergroessern};
    return {nachSeite(m.checked(Opt::RBGrossePanoramenBreite)), m.spin(Opt::SpEdGrossePanoramen), vergroessern};
  }
  if (m.checked(Opt::RBGrosseBilderOriginalgross)) return {Groessenmodus::Originalgroesse, 0, vergroessern};
  Groessenmodus modus = Groessenmodus::Breite;
  if (m.checked(Opt::RBGrosseBilderLaengereSeite))
    modus = Groessenmodus::LaengereSeite;
  else if (m.checked(Opt::RBGrosseBilderHoehe))
    modus = Groessenmodus::Hoehe;
  return {modus, m.spin(Opt::SpEdGrosseBilder), vergroessern};
}

Masse Dateigroesse(const Groessenwahl& w, int64_t W, int64_t H) {
  if (w.modus == Groessenmodus::Quadrat) return Dateimasse({w.groesse, w.groesse});
  return Dateimasse(Zielmasse(W, H, w.modus, w.groesse, w.vergroessern));
}

std::string GroesseAttribut(Masse m) {
  m = Dateimasse(m);
  return "width=\"" + std::to_string(m.breite) + "\" height=\"" + std::to_string(m.hoehe) + "\"";
}

}  // namespace mosaik
