#pragma once
#include <string>

#include "generator/Lauf.h"

namespace mosaik {

// Writes the redirect page "index.html" into the folder and every admitted
// subfolder.
void IndexInGrafikordnernSchreiben(Lauf& lauf, const std::string& ordner);

}  // namespace mosaik
