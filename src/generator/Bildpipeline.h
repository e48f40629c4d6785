#pragma once
// The image pipeline as the walks call it: reading a picture file and
// making the reduced large image. The reduction itself (resampling,
// encoding, metadata) is not built yet: for now the large image is a
// byte-for-byte copy of the original under its large-image name.
#include <string>

#include "generator/Lauf.h"

namespace mosaik {

// Reads ordner + dateiname (a whole path when ordner is empty) and checks
// that it is a JPEG picture with a frame header. On failure an error box
// "Fehler beim Einlesen der Datei" names the file and the result is false.
bool LoadJpg(const Kontext& k, const std::string& ordner, const std::string& dateiname, std::string& daten);

// Width and height of a picture file; both 0 when it cannot be read.
void BildGroesseLesen(const Kontext& k, const std::string& pfad, int& breite, int& hoehe);

// Makes the large image of quelle + dateiname in ziel and sets grossName to
// its file name there (GrossbildName of zielname, the web-safe name walk 1
// chose, so that a second run finds the large image it made before);
// copies the companion files after it. False only when the original could
// not be read.
bool GrossesBildErzeugen(Lauf& lauf, const std::string& quelle, const std::string& ziel, const std::string& dateiname,
                         const std::string& zielname, int groesse, bool vergroessern, std::string& grossName);

}  // namespace mosaik
