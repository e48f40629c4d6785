#pragma once
// Output folders, page file names and the small text routines they use.
// Folder paths carry a trailing '/'.
#include <string>

#include "app/options/Kontext.h"

namespace mosaik {

std::string standardOrdnerHTML(const Kontext& k);
std::string standardOrdnerGrosseBilder(const Kontext& k);
std::string standardOrdnerVorschaubilder(const Kontext& k);
// The chosen HTML folder, else the standard one, with a trailing '/'.
std::string HTMLOrdner(const Kontext& k);

// True when a file can be created in the folder; leaves nothing behind.
bool OrdnerBeschreibbar(const std::string& folder);

std::string UebersichtsseiteDateiname(const Kontext& k, const std::string& ordnerNummer, int seite);

// Appends c unless the text is empty or already ends with it.
void ZeichenAnhaengen(char c, std::string& text);
// Removes one trailing c, if there is one.
void ZeichenEntfernen(char c, std::string& text);
// The last component of a folder path.
std::string LetzterOrdnername(std::string path);

}  // namespace mosaik
