#pragma once
// The settings file and its side files.
#include <string>

#include "app/options/Kontext.h"

namespace mosaik {

// The user's application-data folder (with a trailing '/').
std::string anwendungsdatenOrdner(const Kontext& k);
// Program folder + "Mosaikschauer.ini".
std::string standardEinstellungsdatei(const Kontext& k);
// Application-data folder + "Mosaikschauer/Mosaikschauer.ini".
std::string persoenlicheEinstellungsdatei(const Kontext& k);

// Reads a settings file into the option set; a missing file changes nothing.
void IniFileLesen(Kontext& k, const std::string& datei);
// Reads the side files (own header, footer, style sheet) that are in use.
void ZusatzdateienLaden(Kontext& k, const std::string& datei);

// The close query: false keeps the window open (after its message).
bool FormCloseQuery(Kontext& k);
// Closing: saves the settings when saving on close is on.
void FormClose(Kontext& k);

// Events of the option set that belong to the settings file (the location
// and auto-save boxes); true when handled.
bool EinstellungsEreignis(Kontext& k, Opt o, Ev e);

}  // namespace mosaik
