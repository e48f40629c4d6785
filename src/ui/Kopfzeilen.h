#pragma once
// The expert pages' own header, page end and edited style sheet: filled
// from the current settings, saved to and loaded from text files of the
// user's choice; and the defaults of the output texts.
#include <array>
#include <string>

#include "app/EinstellungsKodierung.h"
#include "app/options/Kontext.h"

namespace mosaik {

inline constexpr const char* kKopfFilter =
    "Textdateien (*.txt)|*.txt|HTML/Php-Dateien (*.htm; *.html; *.xhtml; *.php)|*.htm; *.html; *.xhtml; "
    "*.php|Alle Dateien (*.*)|*.*";
inline constexpr const char* kCSSFilter =
    "Textdateien (*.txt)|*.txt|StyleSheet-Dateien (*.css)|*.css|Alle Dateien (*.*)|*.*";

// One memo that lives in a text file of its own, the titles of its two
// dialogs and where the name last chosen for it is kept.
struct Memodatei {
  Opt memo;
  const char* speichernTitel;
  const char* ladenTitel;
  const char* filter;
  std::string AppState::*letzterName;
};
extern const Memodatei kKopfdatei;   // MNeuerHeader
extern const Memodatei kFussdatei;   // MNeuerDateiabschluss
extern const Memodatei kCSSDatei;    // MangepassteCSSDatei

// Save dialog, overwrite question, writing. Every confirmed choice moves
// the dialog folder and the memo's last name to the chosen file, also when
// the user declines to overwrite or the file cannot be written (which is
// reported).
void MemoSpeichern(Kontext& k, const Memodatei& d);
// Open dialog; the memo takes the file's lines. A missing or unreadable
// file is reported and the memo keeps its text.
void MemoLaden(Kontext& k, const Memodatei& d);


// The thirteen output texts of the texts tab with their defaults.
struct Ausgabetext {
  Opt feld;
  const char* standard;
};
extern const std::array<Ausgabetext, 13> kAusgabetexte;

}  // namespace mosaik
