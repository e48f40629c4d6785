#pragma once
// The image pipeline: reading picture files, and making the derived
// pictures (reduced large images and thumbnails) from the originals with
// their metadata carried over.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "generator/Bildgroessen.h"
#include "generator/Lauf.h"

namespace mosaik {

// Reads ordner + dateiname (a whole path when ordner is empty) and checks
// that it is a JPEG picture whose header can be read. On failure an error
// box "Fehler beim Einlesen der Datei" names the file and, on a further
// line, why (it cannot be opened or read, or the decoder's words); the
// result is false.
bool LoadJpg(const Kontext& k, const std::string& ordner, const std::string& dateiname, std::string& daten);
// The check and the message of LoadJpg for the bytes of the picture pfad,
// read already (nullopt: they could not be; grund says why).
bool JpegPruefen(const Kontext& k, const std::string& pfad, const std::optional<std::string>& gelesen,
                 std::string grund);

// Width and height of a picture file as displayed (sides swapped when its
// EXIF Orientation turns it by a quarter); both 0 when it cannot be read.
void BildGroesseLesen(const Kontext& k, const std::string& pfad, int& breite, int& hoehe);
// The same without a message; nullopt when the file cannot be read.
std::optional<Masse> AnzeigeGroesseLesen(const std::string& pfad);

// Makes the large image of quelle + dateiname in ziel and sets grossName to
// its file name there (GrossbildName of zielname, the web-safe name walk 1
// chose, so that a second run finds the large image it made before);
// copies the companion files after it. False only when the original could
// not be read; failures of reducing, encoding and writing are thrown.
// The large image carries its original's date (a kept one takes it too),
// and when the tree keeps a record (Lauf::GrossbilderVerzeichnen) it is
// entered there. namen: the large-image names of the folder's pictures in
// the order they are made (AbgeleiteteDatei).
bool GrossesBildErzeugen(Lauf& lauf, const std::string& quelle, const std::string& ziel, const std::string& dateiname,
                         const std::string& zielname, int groesse, bool vergroessern, std::string& grossName,
                         const std::vector<std::string>& namen = {});

// 'width="w" height="h"' of a picture on its picture page, measured from
// the file (the large image, or the original when none are made) under the
// display options; empty when the file cannot be read (the error box has
// been shown then).
std::string GrossbildGroesseAttribute(const Kontext& k, const std::string& pfad);

// --- What the large images and thumbnails share ---------------------------

// How one derived picture is made.
struct Ableitungsart {
  // Mode, size and enlarging for an original of W x H.
  std::function<Groessenwahl(int64_t W, int64_t H)> wahl;
  bool resample = true;  // Lanczos3; else the plain centre sampling
  int qualitaet = 90;    // JPEG quality 1..100
  bool progressiv = false;
  uint32_t leinwandFarbe = 0;  // 0xRRGGBB, the square canvas
};

// Milliseconds spent per stage, summed over the pictures made (for the
// benchmark; the run passes none).
struct Stufenzeiten {
  double lesen = 0, dekodieren = 0, verkleinern = 0, kodieren = 0, metadaten = 0;
  int bilder = 0;
};

// What a new derived file carries before it takes its name, so that a run
// killed at any point leaves no picture of its own unrecorded.
struct Ablegen {
  std::optional<uint32_t> datum;  // packed DOS date-time (a large image's: its original's)
  // The run's records when it is entered into its folder's record
  // (Ableitungsbuch.h), else nullptr.
  Ableitungsbuecher* verzeichnen = nullptr;
};

// Reads ordner + datei, reduces it as art says (sizes are those of the
// picture as displayed, turned by its EXIF Orientation), turns the result
// upright, encodes it and writes it to zielpfad starting with the
// original's metadata (EXIF, IPTC, comment, RGB colour profile; the EXIF
// sizes rewritten to the new size and the Orientation set to 1, a turned
// picture's embedded EXIF thumbnail dropped), through a temporary file that
// replaces zielpfad only when complete. False, after the read-error box,
// when the original cannot be read or decoded; nothing is written then.
// Failures of resampling, encoding and writing are thrown, as is a side
// beyond kGroessteBildseite (before anything is allocated) and a lack of
// memory (as std::runtime_error with a German message), and a record that
// cannot be written. pumpe runs between the steps.
bool AbgeleitetesBildSchreiben(const Kontext& k, const std::string& ordner, const std::string& datei,
                               const std::string& zielpfad, const Ableitungsart& art,
                               const std::function<void()>& pumpe, Stufenzeiten* zeiten = nullptr,
                               const Ablegen& ablegen = {});

// A derived picture can be made of the file as art says: its header reads,
// its size is allowed and its picture data decode to the end. Says nothing.
bool AbleitungMoeglich(const std::string& pfad, const Ableitungsart& art);

// JPEG quality of a compression slider: 101 - position.
int QualitaetAusRegler(int position);

// How the large images and the thumbnails are made under the options.
Ableitungsart GrossbildArt(const OptionModel& m, int groesse, bool vergroessern);
Ableitungsart VorschaubildArt(const OptionModel& m, int groesse, bool vergroessern);

// A derived picture's name is the original's with the name affix; whatever
// the affix holds, the file is made in its own folder and nowhere else.
// Returns the message when the name would lead out of the folder.
std::optional<std::string> ZielAusserhalb(const std::string& ordner, const std::string& name);

// The derived file of ordner named name. A file of an earlier run (other
// name options) may differ in case only; it is taken when it belongs to no
// other picture: namen, the derived names of the folder's pictures in the
// order they are made, holds none spelled exactly like it and no earlier
// one spelled like it in another case (empty namen: the case variant is
// taken). On a file system that tells "Foto.jpg" from "foto.jpg" each
// picture keeps its own.
std::optional<std::string> AbgeleiteteDatei(const std::string& ordner, const std::string& name,
                                            const std::vector<std::string>& namen);

// The derived file ordner + name (AbgeleiteteDatei) when it exists and is
// to be kept (the replace box `ersetzen` not ticked). With replacing
// possible (the box enabled) and lower-case names asked for, the kept file
// takes its web-safe lower-case name. Returns the name it has afterwards;
// nullopt when it is to be made.
std::optional<std::string> VorhandenesBehalten(const Kontext& k, Opt ersetzen, const std::string& ordner,
                                               const std::string& name, const std::vector<std::string>& namen);

}  // namespace mosaik
