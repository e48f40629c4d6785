#pragma once
// The JPEG comment editor "JPG-Kommentare setzen" as a headless model: it
// walks through the JPEG pictures of one folder, shows each reduced to a
// square of 220 pixels with its comment, and writes a changed comment back
// into the picture file through the metadata-keeping writer (a temporary
// file renamed over the original only when complete), keeping the file's
// date.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/options/Kontext.h"
#include "imaging/Bitmap.h"
#include "platform/CheckedFolders.h"
#include "ui/Formulare.h"

namespace mosaik {

namespace kommentare {

// One picture of the editor's folder (not the gallery's picture record).
struct TDateieintrag {
  std::string Name;       // file name without folder
  std::string Kommentar;  // the comment as last shown in the memo
  int64_t Groesse = 0;    // bytes, from the listing
  uint32_t Datum = 0;     // packed DOS date-time, from the listing
  bool Schreibgeschuetzt = false;
};
using TDateiArray = std::vector<TDateieintrag>;

}  // namespace kommentare

class TKommentarForm : public Formular {
 public:
  // The picture area Bildfenster is a square of this side.
  static constexpr int kSeite = 220;

  explicit TKommentarForm(Kontext& k);

  std::string Caption = "JPG-Kommentare setzen";
  std::string EdBilderPfad;  // the folder; the view shortens it to its width
  std::string LBildNr;       // "3/17"
  std::string LDateiname;
  std::string LHinterbild = "Kein JPG-Bild vorhanden";
  bool LHinterbildVisible = true;
  bool BildfensterVisible = false;
  // The memo; line breaks are CR LF.
  std::string MKommentar;

  // The picture area's pixels (24 bits) and where the picture lies in it.
  imaging::Bitmap Bildfenster;
  struct Lage {
    int x = 0, y = 0, breite = 0, hoehe = 0;
    friend bool operator==(const Lage&, const Lage&) = default;
  };
  Lage Bild;
  uint32_t Flaeche = 0xF0F0F0;  // the button-face colour (0xRRGGBB)

  // The editor's state, one set for its single window.
  kommentare::TDateiArray Dateiliste;
  std::string KommentarOrdner;  // with a trailing '/' once listed
  int AktuellesBild = 0;
  bool Bereit = true;  // false while a handler works

  // The view: shows the window modally (returns when it is closed) and runs
  // FormActivate as soon as the window shows; closes it.
  std::function<void()> modalAnzeigen;
  std::function<void()> schliessen;

  // The buttons "Bilder jetzt kommentieren...": activates and shows the
  // window modally.
  void Zeigen();

  void FormActivate();
  void BitBBilderPfadWahlClick();
  void BitBWeiterClick();
  void BitBzurueckClick();
  void BitBAbbruchClick();
  void BSchliessenClick();

  void BilderlisteEinlesen();
  void BildAnzeigen(int i);
  // False when the picture's comment on disk is no longer the one shown
  // (another program changed it meanwhile): the file stays as it is, and
  // the picture is to be shown again with the comment it has now.
  bool KommentarSpeichern(int i);

  // The memo's text as the memo holds it (every line break CR LF).
  static std::string memoText(const std::string& text);

 private:
  bool gueltig(int i) const { return i >= 0 && i < static_cast<int>(Dateiliste.size()); }
  // Weiter and Zurück: saves, then the picture `schritt` away, wrapping.
  void blaettern(int schritt);
  void bildLeeren();
  // The reason when the picture data cannot be decoded.
  std::optional<std::string> bildZeichnen(const std::string& daten);

  Kontext& k_;
  // KommentarOrdner, held open since it was listed; empty when it could
  // not be opened.
  fs::Place ordner_;
};

// The size a picture of w x h is shown at in a square of the given side:
// the longer side fills the square, the other keeps the ratio (rounded to
// the nearest, halves to even); a picture is never enlarged.
void Vorschaumass(int w, int h, int seite, int& breite, int& hoehe);

}  // namespace mosaik
