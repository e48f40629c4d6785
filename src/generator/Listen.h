#pragma once
// Sorting of the folder and picture lists. The quicksort with the middle
// element as pivot is not stable; the order of equal keys on the pages
// follows from its exact steps, so it is kept as it is.
#include "generator/Lauf.h"

namespace mosaik {

// Ascending by Name (bytes, unsigned) over the range von..bis of the list.
void OrdnerlisteNachNameSortieren(TVerzeichnisArray& liste, int von, int bis);
// Ascending by Datum (packed DOS date-time, unsigned).
void OrdnerlisteNachDatumSortieren(TVerzeichnisArray& liste, int von, int bis);
void OrdnerlisteUmkehren(TVerzeichnisArray& liste, int von, int bis);

void DateilisteNachNameSortieren(int von, int bis, TDateiArray& liste);
// By Datum when nachDatum, else by Groesse.
void DateilisteNachZahlSortieren(bool nachDatum, int von, int bis, TDateiArray& liste);
bool DateieintragKleiner(const TDateiArray& liste, int index, int64_t pivot, bool nachDatum);
bool DateieintragGroesser(const TDateiArray& liste, int index, int64_t pivot, bool nachDatum);
void DateilisteUmkehren(TDateiArray& liste);

// Removes, from erster on, every later entry whose Name equals an earlier
// one's; order is kept and OrdnerlisteHigh follows the length.
void OrdnerlisteDoppelteEntfernen(TVerzeichnisArray& liste, int& high, int erster);
void DateilisteDoppelteEntfernen(TDateiArray& liste);

// The picture order chosen on the options (name, date or size, then
// reversed), used by the walk and by the folder statistics alike. Does
// nothing unless sorting is switched on.
void DateilisteNachOptionenSortieren(const Kontext& k, TDateiArray& liste);

}  // namespace mosaik
