#pragma once
// Key filters and exit repairs of the free-text fields whose content ends up
// in file names, URLs or pages. The character sets are those of the
// Windows-1252 code page the pages are written in; a character that code
// page cannot hold is refused everywhere a filter applies.
#include <cstdint>
#include <string>

#include "app/options/Opt.h"

namespace mosaik {

enum class Feldfilter : uint8_t {
  Keiner,         // no filter
  Namenszusatz,   // the name set
  Startseite,     // the name set, blank, ':' and the folder separator
  Pfad,           // the URL set; a typed backslash becomes '/'
  AndereZeichen,  // everything except '.', digits and ASCII letters
  Trennzeichen,   // everything except the separator refusals
  Ziffern,        // digits only; clipboard shortcuts refused
  Dezimal,        // '.' and ',' become the decimal separator
  Gesperrt,       // nothing can be typed
};

Feldfilter feldfilter(Opt feld);
// The fields whose Ctrl+C/V/X lets the next filtered key press pass.
bool hatKopierausnahme(Opt feld);

bool imNamenssatz(char32_t c);
bool imUrlSatz(char32_t c);
bool trennzeichenVerweigert(char32_t c);

// The replacement that comes before the filter (also while it is skipped).
char32_t tasteErsetzen(Opt feld, char32_t c, char dezimaltrenner);
// Whether the field takes the (already replaced) character.
bool tasteErlaubt(Opt feld, char32_t c, char dezimaltrenner = ',');

// --- Repairs when a field is left -------------------------------------------

// Keeps the characters for which keep() is true, in their order.
std::string zeichenBehalten(const std::string& text, bool (*keep)(char32_t));
// Backslashes become '/', characters outside the URL set are deleted.
std::string alsUrlPfad(const std::string& text);
// The replacement paths: alsUrlPfad, then a trailing '/' unless empty.
std::string ersatzpfadBereinigt(const std::string& text);
// The extra characters of web-safe renaming: '.', digits and ASCII letters
// (and what Windows-1252 cannot hold) are deleted.
std::string andereZeichenBereinigt(const std::string& text);
// True when the separator text must be replaced: empty (when leerErsetzen)
// or starting with a blank or a separator refusal.
bool trennzeichenUngueltig(const std::string& text, bool leerErsetzen);
// The start-page name after its folder part was split off: name set only,
// an accepted extension (".htm" appended otherwise), never an extension
// alone.
std::string startseitenNameBereinigt(const std::string& name);
// The quality text: a whole number clamped into [min, max], else standard.
int qualitaetAusText(const std::string& text, int min, int max, int standard);
// A whole decimal number (optional sign, digits only).
bool ganzeZahl(const std::string& text, int64_t& wert);

}  // namespace mosaik
