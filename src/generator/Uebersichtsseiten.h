#pragma once
// The overview pages of a folder. Not built yet: the walks already call it
// at the place where a folder's pages are written.
#include <string>

#include "generator/Lauf.h"

namespace mosaik {

// Writes all overview pages of the folder ordner: its pictures are
// bildliste (sorted), its subfolders the entries of ordnerliste from
// startIndex on; ordnerIndex is the folder's own entry, -1 for the top.
void OrdnerSeitenSchreiben(Lauf& lauf, const std::string& ordner, const std::string& vorschauOrdner,
                           const std::string& ordnerNummer, TVerzeichnisArray& ordnerliste, TDateiArray& bildliste,
                           int startIndex, int ordnerIndex);

}  // namespace mosaik
