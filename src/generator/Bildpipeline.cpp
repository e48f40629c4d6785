#include "generator/Bildpipeline.h"

#include <stdexcept>

#include "generator/Namen.h"
#include "generator/Umbenennen.h"
#include "generator/Verzeichnis.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

// Width and height from the first frame header (SOF0..SOF15 without DHT,
// JPG and DAC); false when the bytes are no JPEG or end before it.
bool rahmenkopf(const std::string& d, int& breite, int& hoehe) {
  const auto b = [&d](size_t i) { return static_cast<unsigned char>(d[i]); };
  if (d.size() < 4 || b(0) != 0xFF || b(1) != 0xD8) return false;
  size_t i = 2;
  while (i + 4 <= d.size()) {
    if (b(i) != 0xFF) return false;
    const unsigned char m = b(i + 1);
    if (m == 0xFF) {
      ++i;
      continue;
    }
    if (m == 0xD8 || m == 0x01 || (m >= 0xD0 && m <= 0xD7)) {
      i += 2;
      continue;
    }
    if (m == 0xD9 || m == 0xDA) return false;
    const size_t len = static_cast<size_t>(b(i + 2)) << 8 | b(i + 3);
    if (len < 2 || i + 2 + len > d.size()) return false;
    if (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
      if (len < 7) return false;
      hoehe = static_cast<int>(b(i + 5)) << 8 | b(i + 6);
      breite = static_cast<int>(b(i + 7)) << 8 | b(i + 8);
      return breite > 0 && hoehe > 0;
    }
    i += 2 + len;
  }
  return false;
}

}  // namespace

bool LoadJpg(const Kontext& k, const std::string& ordner, const std::string& dateiname, std::string& daten) {
  const std::string pfad = ordner + dateiname;
  int b = 0, h = 0;
  const auto gelesen = fs::readFile(pfad);
  if (gelesen && rahmenkopf(*gelesen, b, h)) {
    daten = *gelesen;
    return true;
  }
  k.fehler("Fehler beim Einlesen der Datei\r\n" + pfad);
  return false;
}

void BildGroesseLesen(const Kontext& k, const std::string& pfad, int& breite, int& hoehe) {
  breite = 0;
  hoehe = 0;
  std::string daten;
  if (LoadJpg(k, "", pfad, daten)) rahmenkopf(daten, breite, hoehe);
}

bool GrossesBildErzeugen(Lauf& lauf, const std::string& quelle, const std::string& ziel, const std::string& dateiname,
                         const std::string& zielname, int, bool, std::string& grossName) {
  Kontext& k = lauf.k;
  const std::string q = fs::withTrailingSlash(quelle);
  const std::string z = fs::withTrailingSlash(ziel);
  lauf.view.aktuelleDatei(q + dateiname);
  lauf.pumpUndAbbruch();
  if (!k.m.checked(Opt::CBOriginaleVerkleinern)) return true;
  grossName = GrossbildName(k, zielname);
  if (!k.m.checked(Opt::CBGrosseBilderErsetzen) && fs::exists(z + grossName)) return true;
  std::string daten;
  const bool gelesen = LoadJpg(k, q, dateiname, daten);
  if (gelesen && !fs::writeFileAtomic(z + grossName, daten))
    throw std::runtime_error("Die Datei " + z + grossName + " kann nicht geschrieben werden.");
  BegleitdateienKopieren(k, q, z, dateiname, grossName);
  return gelesen;
}

}  // namespace mosaik
