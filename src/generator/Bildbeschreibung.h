#pragma once
// Captions of the pictures, expanded from the user's caption templates.
//
// A template is plain text with backslash codes: a backslash and two
// characters (characters, not bytes: "\bä" is a code in UTF-8 text), "\\"
// for a backslash, and the group signs "\(" … "\)" (kept only when the
// picture has EXIF data) and "\[" … "\]" (kept only when it has a non-empty
// comment).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/options/Kontext.h"

namespace mosaik {

namespace imaging {
class TimgData;
}

// A calendar date with a time of day.
struct DatumZeit {
  int jahr = 0, monat = 0, tag = 0;
  int stunde = 0, minute = 0, sekunde = 0;
};

// The packed DOS date-time of a directory entry; nullopt for a value that
// names no date (month or day 0, and the like).
std::optional<DatumZeit> DosDatumZerlegen(uint32_t dos);
// Days since 1899-12-30 with the time of day as the fraction, as the
// metadata reader gives the picture's date.
std::optional<DatumZeit> TageZerlegen(double tage);

// A date or time under a pattern of the locale formats: d, dd, M/m, MM/mm,
// MMM, MMMM, yy, yyyy, h, hh, n, nn (and m/mm right after an hour), s, ss,
// "AMPM", "AM/PM", "am/pm", "A/P", quoted text in '…' or "…"; everything
// else is copied.
std::string DatumZeitText(const std::string& muster, const DatumZeit& dz);

// The line break of the pages: "<br />" under XHTML, "<br>" otherwise.
std::string Zeilenumbruch(const Kontext& k);

// The metadata of one picture file, read at the first question and kept
// for every later one, so that a caption opens the file once however many
// codes it holds.
class Bildmetadaten {
 public:
  explicit Bildmetadaten(std::string pfad);
  ~Bildmetadaten();
  Bildmetadaten(const Bildmetadaten&) = delete;
  Bildmetadaten& operator=(const Bildmetadaten&) = delete;

  const std::string& pfad() const { return pfad_; }
  bool HatEXIFDaten();
  bool HatJpgKommentar();
  // The comment as stored (UTF-8), empty when there is none.
  std::string Kommentar();
  // The display text of an EXIF tag; empty without EXIF data or tag.
  std::string Tag(std::string_view name);
  // The picture's EXIF date-time in days since 1899-12-30; 0 when none.
  double Aufnahmezeit();

 private:
  imaging::TimgData& daten();
  std::string pfad_;
  std::unique_ptr<imaging::TimgData> daten_;
};

bool HatEXIFDaten(const std::string& pfad);
bool HatJpgKommentar(const std::string& pfad);

// The comment, escaped, with every line break ("\r\n", then "\r", then
// "\n") turned into the page's line break; empty when there is none.
std::string JpgKommentarLesen(const Kontext& k, Bildmetadaten& bild);
// The EXIF date and time in the locale's short date and long time formats;
// empty without EXIF data and for a picture whose EXIF block holds no
// usable date.
std::string EXIFAufnahmeDatumLesen(const Kontext& k, Bildmetadaten& bild);
std::string EXIFAufnahmeZeitLesen(const Kontext& k, Bildmetadaten& bild);
// The 35 mm equivalent of the focal length ("55 mm"), from the saved
// factors BWreal and BWumgerechnet; empty without EXIF data and when the
// real focal length factor is 0.
std::string EXIFBrennweiteAequivalentLesen(const Kontext& k, Bildmetadaten& bild);

// The equivalent for a focal-length display text (" 7,80 mm"), read with
// the decimal separator the metadata texts are printed with. A text that
// is no number counts as 0. Empty when real is 0 or the result has no
// integer value.
std::string BrennweiteAequivalent(const std::string& brennweite, double real, double umgerechnet, char dezimaltrenner);

// A decimal number with the given separator; blanks around it are allowed.
bool DezimalzahlLesen(std::string_view text, char dezimaltrenner, double& wert);

// Reduces an exposure fraction "10/2500 sec" to "1/250 sec" ("5/1" to "5");
// anything else is returned unchanged.
std::string BruchKuerzen(const std::string& text);
// Greatest common divisor of the absolute values; GGT(0, n) is n.
int64_t GGT(int64_t a, int64_t b);

// Expands the template for the picture ordner + dateiname of the given size
// (bytes) and packed DOS date-time. The result is empty, or one fragment
// <div class="beschr"><span class="gr">…</span></div> without a line end.
std::string BildbeschreibungErzeugen(const Kontext& k, const std::string& vorlage, const std::string& ordner,
                                     const std::string& dateiname, int64_t groesse, uint32_t datum);

}  // namespace mosaik
