#pragma once
#include <string>

#include "app/options/Kontext.h"

namespace mosaik {

// Writes the style sheet into the HTML folder; clears ok on failure.
void CSSDateiSchreiben(Kontext& k, const std::string& htmlOrdner, bool& ok);

}  // namespace mosaik
