#pragma once
// The generation run started by the start button or the command line.
#include "generator/Lauf.h"

namespace mosaik {

// Runs the whole generation; true when it succeeded (no failed check, no
// failed walk, no cancel).
bool BitBStartClick(Lauf& lauf);

// Opens the generated start page with the user's browser; an error box
// when none starts.
void BitBErgebnisAnsehenClick(Kontext& k);

// Two folder paths name the same folder: by identity when both exist, else
// by their text.
bool gleicherOrdner(const std::string& a, const std::string& b);

}  // namespace mosaik
