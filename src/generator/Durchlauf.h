#pragma once
// The two recursive walks of a run and the scans beside them.
#include <string>

#include "generator/Lauf.h"

namespace mosaik {

// Walk 1: mirrors the source tree into the large-image tree.
void OriginaleVerkleinernDurchlauf(Lauf& lauf, const std::string& quelle, const std::string& ziel,
                                   bool mitUnterordnern, const std::string& ordnerNummer,
                                   int ordnerIndex, bool& ok);
// Walk 2: renames, lists and sorts each folder and writes its pages.
void GalerieDurchlauf(Lauf& lauf, const std::string& von, const std::string& vorschauOrdner,
                      bool mitUnterordnern, const std::string& ordnerNummer, int ordnerIndex,
                      bool& ok);

}  // namespace mosaik
