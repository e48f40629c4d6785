#include "generator/Bildpipeline.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>

#include "generator/Ableitungsbuch.h"
#include "generator/Namen.h"
#include "generator/Umbenennen.h"
#include "generator/Verzeichnis.h"
#include "imaging/ExifOrientation.h"
#include "imaging/ImgData.h"
#include "imaging/JpegCodec.h"
#include "imaging/JpegRowDecoder.h"
#include "imaging/Resampler.h"
#include "platform/FileSystem.h"
#include "platform/Win1252.h"

namespace mosaik {
namespace {

using Uhr = std::chrono::steady_clock;

double ms(Uhr::time_point von, Uhr::time_point bis) {
  return std::chrono::duration<double, std::milli>(bis - von).count();
}

std::optional<imaging::JpegInfo> kopf(const std::string& daten, std::string* grund = nullptr) {
  try {
    const imaging::JpegInfo info = imaging::ReadJpegInfo(daten);
    if (info.Width > 0 && info.Height > 0) return info;
  } catch (const imaging::JpegError& e) {
    if (grund) *grund = e.what();
  }
  return std::nullopt;
}

// The size the picture is displayed at: browsers turn it by its EXIF
// Orientation, so a quarter turn swaps its sides.
std::optional<Masse> anzeigeGroesse(const std::string& daten) {
  const auto info = kopf(daten);
  if (!info) return std::nullopt;
  if (imaging::SwapsSides(imaging::JpegExifOrientation(daten))) return Masse{info->Height, info->Width};
  return Masse{info->Width, info->Height};
}

// What one derived picture becomes: the picture (upright) and, in square
// mode, the canvas around it.
struct Zuschnitt {
  Masse bild;
  int64_t leinwand = 0;  // square mode: the canvas side, else 0
};

// Refused before anything is allocated: a JPEG file holds no side longer
// than this, and the way there would cost gigabytes.
Zuschnitt zuschnittPruefen(const Ableitungsart& art, Masse anzeige) {
  const Groessenwahl w = art.wahl(anzeige.breite, anzeige.hoehe);
  Zuschnitt z;
  z.bild = Dateimasse(Zielmasse(anzeige.breite, anzeige.hoehe, w.modus, w.groesse, w.vergroessern));
  const Masse datei = Dateigroesse(w, anzeige.breite, anzeige.hoehe);
  if (w.modus == Groessenmodus::Quadrat) z.leinwand = datei.breite;
  if (std::max(datei.breite, datei.hoehe) > kGroessteBildseite)
    throw std::length_error("Das Bild würde mit " + std::to_string(datei.breite) + " × " +
                            std::to_string(datei.hoehe) + " Pixeln größer, als eine JPEG-Datei fassen kann (höchstens " +
                            std::to_string(kGroessteBildseite) + " Pixel je Seite).");
  return z;
}

// Takes the decoded rows of the original as they come and reduces them to
// the picture's size; decoding and reducing never hold the original whole.
// The rows are reduced as stored and the small result is turned upright.
class Verkleinerer : public imaging::JpegRowSink {
 public:
  Verkleinerer(const Ableitungsart& art, const Zuschnitt& z, int orientierung, Stufenzeiten* zeiten)
      : art_(art), z_(z), orientierung_(orientierung), zeiten_(zeiten) {}

  void Start(int W, int H) override {
    const bool quer = imaging::SwapsSides(orientierung_);
    const int bw = static_cast<int>(quer ? z_.bild.hoehe : z_.bild.breite);
    const int bh = static_cast<int>(quer ? z_.bild.breite : z_.bild.hoehe);
    if (art_.resample)
      stretcher_ = std::make_unique<imaging::RowStretcher>(W, H, bw, bh, imaging::TResamplingFilter::Lanczos3, 0.0f);
    else
      sampler_ = std::make_unique<imaging::RowSampler>(W, H, bw, bh);
  }

  void Row(const uint8_t* bgrx) override {
    const auto t0 = zeiten_ ? Uhr::now() : Uhr::time_point();
    if (stretcher_)
      stretcher_->PushRow(bgrx);
    else
      sampler_->PushRow(bgrx);
    if (zeiten_) inRows_ += ms(t0, Uhr::now());
  }

  // The finished picture as the encoder takes it: on its canvas in square
  // mode.
  imaging::RgbBitmap Ergebnis() {
    const imaging::Bitmap b =
        imaging::ApplyOrientation(stretcher_ ? stretcher_->Finish() : sampler_->Finish(), orientierung_);
    if (!z_.leinwand) return alsRgb(b, b.width, b.height, 0, 0);
    // The picture sits in the middle of the canvas; the rest is canvas
    // colour.
    const int s = static_cast<int>(z_.leinwand);
    const int x = std::max(0, (s - b.width) / 2);
    const int y = std::max(0, (s - b.height) / 2);
    return alsRgb(b, s, s, x, y);
  }

  double zeitInZeilen() const { return inRows_; }

 private:
  imaging::RgbBitmap alsRgb(const imaging::Bitmap& b, int w, int h, int x0, int y0) const {
    imaging::RgbBitmap out(w, h);
    if (w != b.width || h != b.height) {
      const uint8_t farbe[3] = {static_cast<uint8_t>(art_.leinwandFarbe >> 16),
                                static_cast<uint8_t>(art_.leinwandFarbe >> 8),
                                static_cast<uint8_t>(art_.leinwandFarbe)};
      for (size_t i = 0; i < out.Pixels.size(); i += 3) std::memcpy(&out.Pixels[i], farbe, 3);
    }
    const int bis = std::min(b.width, w - x0);
    for (int y = 0; y < b.height && y + y0 < h; ++y) {
      const uint8_t* s = b.row(y);
      uint8_t* d = out.Row(y + y0) + static_cast<size_t>(x0) * 3;
      for (int x = 0; x < bis; ++x) {
        d[x * 3 + 0] = s[x * 4 + 2];
        d[x * 3 + 1] = s[x * 4 + 1];
        d[x * 3 + 2] = s[x * 4 + 0];
      }
    }
    return out;
  }

  const Ableitungsart& art_;
  const Zuschnitt z_;
  const int orientierung_;
  Stufenzeiten* zeiten_;
  std::unique_ptr<imaging::RowStretcher> stretcher_;
  std::unique_ptr<imaging::RowSampler> sampler_;
  double inRows_ = 0;
};

std::string grossbuchstaben(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

}  // namespace

bool LoadJpg(const Kontext& k, const std::string& ordner, const std::string& dateiname, std::string& daten) {
  const std::string pfad = ordner + dateiname;
  std::string grund;
  auto gelesen = fs::readFile(pfad, &grund);
  if (!JpegPruefen(k, pfad, gelesen, grund)) return false;
  daten = std::move(*gelesen);
  return true;
}

bool JpegPruefen(const Kontext& k, const std::string& pfad, const std::optional<std::string>& gelesen,
                 std::string grund) {
  // The reason (no permission, another user's link, the decoder's words)
  // follows on a line of its own: "cannot be read" alone does not tell a
  // picture one may not open from a damaged one, nor from a kind of JPEG
  // the library does not read.
  if (gelesen && kopf(*gelesen, &grund)) return true;
  k.fehler(Lesefehler(pfad, grund));
  return false;
}

std::optional<Masse> AnzeigeGroesseLesen(const std::string& pfad) {
  const auto daten = fs::readFile(pfad);
  return daten ? anzeigeGroesse(*daten) : std::nullopt;
}

bool AbleitungMoeglich(const std::string& pfad, const Ableitungsart& art) {
  const auto daten = fs::readFile(pfad);
  const auto anzeige = daten ? anzeigeGroesse(*daten) : std::nullopt;
  if (!anzeige) return false;
  struct Leer : imaging::JpegRowSink {
    void Start(int, int) override {}
    void Row(const uint8_t*) override {}
  } leer;
  try {
    zuschnittPruefen(art, *anzeige);
    imaging::DecodeJpegRows(*daten, leer);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void BildGroesseLesen(const Kontext& k, const std::string& pfad, int& breite, int& hoehe) {
  breite = 0;
  hoehe = 0;
  std::string daten;
  if (!LoadJpg(k, "", pfad, daten)) return;
  if (const auto m = anzeigeGroesse(daten)) {
    breite = static_cast<int>(m->breite);
    hoehe = static_cast<int>(m->hoehe);
  }
}

int QualitaetAusRegler(int position) { return 101 - position; }

namespace {

fs::BeforeRename vorDemUmbenennen(const Ablegen& ablegen, const Verzeichnung& verzeichnung) {
  return [&ablegen, verzeichnen = verzeichnung.vorher()](int fd) {
    if (ablegen.datum) fs::setDosDateTime(fd, *ablegen.datum);
    return !verzeichnen || verzeichnen(fd);
  };
}

bool abgeleitetesBildSchreiben(const Kontext& k, const std::string& ordner, const std::string& datei,
                               const std::string& zielpfad, const Ableitungsart& art,
                               const std::function<void()>& pumpe, Stufenzeiten* zeiten, const Ablegen& ablegen) {
  auto t = Uhr::now();
  const auto stufe = [&](double Stufenzeiten::*feld) {
    if (!zeiten) return;
    const auto jetzt = Uhr::now();
    zeiten->*feld += ms(t, jetzt);
    t = jetzt;
  };
  // Whatever the folders, a derived picture never takes the original's place.
  if (fs::sameFile(ordner + datei, zielpfad)) throw std::runtime_error("Das Original würde überschrieben.");
  std::string daten;
  if (!LoadJpg(k, ordner, datei, daten)) return false;
  stufe(&Stufenzeiten::lesen);
  pumpe();

  const Zuschnitt zuschnitt = zuschnittPruefen(art, *anzeigeGroesse(daten));
  const int orientierung = imaging::JpegExifOrientation(daten);
  Verkleinerer verkleinerer(art, zuschnitt, orientierung, zeiten);
  imaging::RgbBitmap bild;
  try {
    imaging::DecodeJpegRows(daten, verkleinerer);
  } catch (const imaging::JpegError& e) {
    k.fehler(Lesefehler(ordner + datei, e.what()));
    return false;
  }
  if (zeiten) {
    // The rows were reduced as they were decoded.
    const double zeilen = verkleinerer.zeitInZeilen();
    zeiten->verkleinern += zeilen;
    zeiten->dekodieren -= zeilen;
  }
  stufe(&Stufenzeiten::dekodieren);
  pumpe();
  bild = verkleinerer.Ergebnis();
  stufe(&Stufenzeiten::verkleinern);
  pumpe();

  imaging::JpegImage ziel;
  ziel.Assign(std::move(bild));
  ziel.ProgressiveEncoding = art.progressiv;
  ziel.CompressionQuality = art.qualitaet;
  ziel.Compress();
  stufe(&Stufenzeiten::kodieren);
  pumpe();

  // Whatever metadata can be gathered goes along; a damaged block is no
  // reason to lose the picture.
  imaging::TimgData metadaten(255);
  try {
    metadaten.ReadJpegSections(daten);
  } catch (...) {
  }
  imaging::SetExifOrientationTopLeft(metadaten);
  // The thumbnail stored in the EXIF block shows the picture as it was
  // stored; turned pictures do without it rather than show it sideways.
  if (orientierung >= 2 && orientierung <= 8) imaging::DropExifThumbnail(metadaten);
  std::string grund;
  const Verzeichnung verzeichnung(zielpfad, ablegen.verzeichnen, grund);
  try {
    metadaten.WriteExifJpeg(ziel, zielpfad, true, false, vorDemUmbenennen(ablegen, verzeichnung));
    verzeichnung.nachher();
  } catch (const imaging::MetadataWriteError&) {
    if (!grund.empty()) throw std::runtime_error(grund);
    throw;
  }
  stufe(&Stufenzeiten::metadaten);
  if (zeiten) ++zeiten->bilder;
  pumpe();
  return true;
}

}  // namespace

bool AbgeleitetesBildSchreiben(const Kontext& k, const std::string& ordner, const std::string& datei,
                               const std::string& zielpfad, const Ableitungsart& art,
                               const std::function<void()>& pumpe, Stufenzeiten* zeiten, const Ablegen& ablegen) {
  try {
    return abgeleitetesBildSchreiben(k, ordner, datei, zielpfad, art, pumpe, zeiten, ablegen);
  } catch (const std::bad_alloc&) {
    throw std::runtime_error("Für dieses Bild reicht der Arbeitsspeicher nicht.");
  }
}

std::optional<std::string> ZielAusserhalb(const std::string& ordner, const std::string& name) {
  if (!name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos) return std::nullopt;
  return "Der Dateiname " + name + " führt aus dem Ordner " + ordner + " heraus.";
}

std::optional<std::string> AbgeleiteteDatei(const std::string& ordner, const std::string& name,
                                            const std::vector<std::string>& namen) {
  const auto gefunden = fs::findNoCase(ordner, name);
  if (!gefunden || *gefunden == name) return gefunden;
  if (std::find(namen.begin(), namen.end(), *gefunden) != namen.end()) return std::nullopt;
  for (const std::string& n : namen)
    if (asciiLower(n) == asciiLower(name)) return n == name ? gefunden : std::nullopt;
  return gefunden;
}

std::optional<std::string> VorhandenesBehalten(const Kontext& k, Opt ersetzen, const std::string& ordner,
                                               const std::string& name, const std::vector<std::string>& namen) {
  if (k.m.checked(ersetzen)) return std::nullopt;
  const auto vorhanden = AbgeleiteteDatei(ordner, name, namen);
  if (!vorhanden || !k.m.enabled(ersetzen) || !k.m.checked(Opt::CBKleineDateinamen)) return vorhanden;
  std::string neu = grossbuchstaben(*vorhanden);
  DateiWebsicherUmbenennen(k, ordner, neu);
  return neu;
}

namespace {

Ableitungsart artAus(const OptionModel& m, Opt resample, Opt regler, Opt progressiv,
                     std::function<Groessenwahl(int64_t, int64_t)> wahl) {
  Ableitungsart art;
  art.wahl = std::move(wahl);
  art.resample = m.checked(resample);
  art.qualitaet = QualitaetAusRegler(m.position(regler));
  art.progressiv = m.checked(progressiv);
  return art;
}

// A kept large image takes its original's date as a new one does, and its
// entry in the record follows (else the next run would take it for a photo
// of the user's). A read-only one keeps its own: its date is not worth a
// failed run.
void behaltenesDatieren(const std::string& ordner, const std::string& name, uint32_t datum,
                        Ableitungsbuecher* verzeichnen) {
  const std::string pfad = ordner + name;
  struct stat vorher {};
  if (!fs::fileStatus(pfad, vorher, true) ||
      (vorher.st_mtim.tv_sec == fs::fromDosDateTime(datum) && vorher.st_mtim.tv_nsec == 0))
    return;
  Ableitungsbuch* buch = verzeichnen ? &verzeichnen->buch(ordner) : nullptr;
  const Nachweis nachweis = buch ? buch->nachweis(name, vorher) : Nachweis();
  struct stat nachher {};
  std::string grund;
  if (fs::setDosDateTime(pfad, datum) && nachweis.gilt && fs::fileStatus(pfad, nachher, true))
    buch->eintragen({name, nachher, nachweis.digest}, grund);
}

}  // namespace

Ableitungsart GrossbildArt(const OptionModel& m, int groesse, bool vergroessern) {
  return artAus(m, Opt::RBVerklMethGrossResample, Opt::TrBKomprimierungGrosseBilder, Opt::CBGrosseBilderProgressiv,
                [&m, groesse, vergroessern](int64_t W, int64_t H) {
                  return GrossbildWahl(m, W, H, groesse, vergroessern);
                });
}

Ableitungsart VorschaubildArt(const OptionModel& m, int groesse, bool vergroessern) {
  Ableitungsart art = artAus(m, Opt::RBVerklMethKleinResample, Opt::TrBKomprimierung, Opt::CBVorschaubilderProgressiv,
                             [&m, groesse, vergroessern](int64_t W, int64_t H) {
                               return VorschauWahl(m, W, H, groesse, vergroessern);
                             });
  art.leinwandFarbe = m.color(Opt::PanelquadratFarbe);
  return art;
}

bool GrossesBildErzeugen(Lauf& lauf, const std::string& quelle, const std::string& ziel, const std::string& dateiname,
                         const std::string& zielname, int groesse, bool vergroessern, std::string& grossName,
                         const std::vector<std::string>& namen) {
  Kontext& k = lauf.k;
  const OptionModel& m = k.m;
  const std::string q = fs::withTrailingSlash(quelle);
  const std::string z = fs::withTrailingSlash(ziel);
  lauf.pumpUndAbbruch();
  lauf.view.aktuelleDatei(q + dateiname);
  if (!m.checked(Opt::CBOriginaleVerkleinern)) return true;
  grossName = GrossbildName(k, zielname);
  if (const auto ausserhalb = ZielAusserhalb(z, grossName)) throw std::runtime_error(*ausserhalb);
  Ablegen ablegen{std::nullopt, lauf.GrossbilderVerzeichnen};
  if (const auto original = fs::entryInfo(q + dateiname)) ablegen.datum = original->dosTime;
  if (const auto behalten = VorhandenesBehalten(k, Opt::CBGrosseBilderErsetzen, z, grossName, namen)) {
    grossName = *behalten;
    if (ablegen.datum) behaltenesDatieren(z, grossName, *ablegen.datum, ablegen.verzeichnen);
    return true;
  }
  const bool gelesen = AbgeleitetesBildSchreiben(k, q, dateiname, z + grossName, GrossbildArt(m, groesse, vergroessern),
                                                 [&lauf] { lauf.pumpUndAbbruch(); }, nullptr, ablegen);
  BegleitdateienKopieren(k, q, z, dateiname, grossName, ablegen.verzeichnen);
  return gelesen;
}

std::string GrossbildGroesseAttribute(const Kontext& k, const std::string& pfad) {
  int W = 0, H = 0;
  BildGroesseLesen(k, pfad, W, H);
  if (W <= 0 || H <= 0) return {};
  const Groessenwahl w = AnzeigeWahl(k.m, W, H);
  return GroesseAttribut(Zielmasse(W, H, w.modus, w.groesse, w.vergroessern));
}

}  // namespace mosaik
