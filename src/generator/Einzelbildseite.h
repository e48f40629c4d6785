#pragma once
// The page of one picture, written while the thumbnail table of its
// overview page is written.
#include <string>

#include "generator/Lauf.h"

namespace mosaik {

// Writes the picture page of liste[index] (the slideshow-off variant when
// gestoppt) and sets seitenName to its file name. uebersichtsseite is the
// name every picture page name derives from (the folder's first overview
// page), uebersichtsLink the overview page that lists the picture,
// bildOrdner the folder that holds the picture files.
void EinzelbildSeiteSchreiben(Lauf& lauf, const std::string& uebersichtsseite, const std::string& uebersichtsLink,
                              const std::string& bildOrdner, const TDateiArray& liste, int index,
                              std::string& seitenName, bool gestoppt);

}  // namespace mosaik
