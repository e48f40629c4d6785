#pragma once
// A local page (the generated gallery, a help page) shown in the user's
// browser.
#include <string>

#include "app/options/Kontext.h"

namespace mosaik {

// Opens the local page DATEI in the browser at ANKER (empty: the page's
// top). False, after an error box, when no browser could be started.
bool HTMLSeiteImBrowserOeffnen(Kontext& k, const std::string& datei, const std::string& anker = {});

}  // namespace mosaik
