#pragma once
// The table of thumbnails on an overview page, and the division of a
// folder's pictures into overview pages that decides which pictures a page
// shows.
#include <string>

#include "generator/Lauf.h"
#include "generator/Seitenrahmen.h"

namespace mosaik {

// Sets Seite (from 1) of every picture: rows of SpEdSpaltenzahl cells, a
// panorama taking several cells, SpEdZeilenProSeitezahl rows per page.
void SeitenEinteilen(const Kontext& k, TDateiArray& liste);
// The first index whose page is at least seite (the list length when none).
int ErsterIndexAufSeite(const TDateiArray& liste, int seite);
// The last index whose page is at most seite (-1 when none).
int LetzterIndexAufSeite(const TDateiArray& liste, int seite);
// The columns a panorama thumbnail spans, never more than the table has.
int PanoramaSpalten(const Kontext& k);

// The link from the folder's pages to the folder that holds its pictures
// (or the user's replacement of it), URL-encoded, ending in '/' unless
// empty.
std::string BildordnerLink(const Kontext& k, const std::string& ordner);
// The same for the folder's thumbnail folder.
std::string VorschauordnerLink(const Kontext& k, const std::string& ordner, const std::string& vorschauOrdner);

// Writes the thumbnail table of page seitenNr and the extra text below it
// (the thumbnails made before). ersteSeite is the name of the folder's
// first overview page, dieseSeite the name of this one.
void VorschauTabelleSchreiben(Lauf& lauf, HTMLSeite& seite, TDateiArray& liste, int seitenNr,
                              const std::string& ersteSeite, const std::string& dieseSeite, int ordnerIndex,
                              const std::string& vorschauOrdner, const std::string& ordner);

// Makes the thumbnail of every picture of the list before the list is
// divided into pages. A picture whose thumbnail cannot be made is reported
// and left out, as an unreadable one is: no page is written for it, no
// neighbour links or refreshes to it, and no page is left without cells.
// False after a cancel.
bool VorschaubilderErzeugen(Lauf& lauf, TDateiArray& liste, const std::string& ordner,
                            const std::string& vorschauOrdner);

// Sets bildElement to the picture element of liste[index] (its thumbnail
// made before); opens a row when none is open.
void VorschauZelleSchreiben(Lauf& lauf, HTMLSeite& seite, const TDateiArray& liste, int index,
                            const std::string& ordner, const std::string& vorschauOrdner, int& spalte, int& zeile,
                            std::string& bildElement);

}  // namespace mosaik
