#include "generator/Listen.h"

#include <algorithm>
#include <string>
#include <unordered_set>
#include <utility>

namespace mosaik {
namespace {

// The partitioning of the original program, for any key: i runs up while
// key(i) < pivot, j runs down while key(j) > pivot, swap when i <= j, then
// the left part before the right one.
template <typename Liste, typename Schluessel>
void quicksort(Liste& l, int lo, int hi, Schluessel key) {
  if (lo >= hi) return;
  int i = lo, j = hi;
  const auto pivot = key(l[static_cast<size_t>((lo + hi) / 2)]);
  do {
    while (key(l[static_cast<size_t>(i)]) < pivot) ++i;
    while (pivot < key(l[static_cast<size_t>(j)])) --j;
    if (i <= j) {
      std::swap(l[static_cast<size_t>(i)], l[static_cast<size_t>(j)]);
      ++i;
      --j;
    }
  } while (i <= j);
  if (j > lo) quicksort(l, lo, j, key);
  if (i < hi) quicksort(l, i, hi, key);
}

template <typename Liste>
void umkehren(Liste& l, int lo, int hi) {
  for (int k = 0; k <= (hi - lo) / 2 && lo + k < hi - k; ++k)
    std::swap(l[static_cast<size_t>(lo + k)], l[static_cast<size_t>(hi - k)]);
}

// Ranges outside the list are clipped, so that a caller's stale index can
// never reach beyond it.
template <typename Liste>
bool bereich(const Liste& l, int& lo, int& hi) {
  if (lo < 0) lo = 0;
  if (hi > static_cast<int>(l.size()) - 1) hi = static_cast<int>(l.size()) - 1;
  return lo < hi;
}

int64_t zahl(const TDateieintrag& e, bool nachDatum) { return nachDatum ? int64_t{e.Datum} : e.Groesse; }

}  // namespace

void OrdnerlisteNachNameSortieren(TVerzeichnisArray& l, int von, int bis) {
  if (bereich(l, von, bis)) quicksort(l, von, bis, [](const TVerzeichniseintrag& e) -> const std::string& { return e.Name; });
}

void OrdnerlisteNachDatumSortieren(TVerzeichnisArray& l, int von, int bis) {
  if (bereich(l, von, bis)) quicksort(l, von, bis, [](const TVerzeichniseintrag& e) { return e.Datum; });
}

void OrdnerlisteUmkehren(TVerzeichnisArray& l, int von, int bis) {
  if (bereich(l, von, bis)) umkehren(l, von, bis);
}

void DateilisteNachNameSortieren(int von, int bis, TDateiArray& l) {
  if (bereich(l, von, bis)) quicksort(l, von, bis, [](const TDateieintrag& e) -> const std::string& { return e.Name; });
}

void DateilisteNachZahlSortieren(bool nachDatum, int von, int bis, TDateiArray& l) {
  if (bereich(l, von, bis)) quicksort(l, von, bis, [nachDatum](const TDateieintrag& e) { return zahl(e, nachDatum); });
}

bool DateieintragKleiner(const TDateiArray& l, int index, int64_t pivot, bool nachDatum) {
  return zahl(l.at(static_cast<size_t>(index)), nachDatum) < pivot;
}

bool DateieintragGroesser(const TDateiArray& l, int index, int64_t pivot, bool nachDatum) {
  return zahl(l.at(static_cast<size_t>(index)), nachDatum) > pivot;
}

void DateilisteUmkehren(TDateiArray& l) {
  if (l.size() >= 2) umkehren(l, 0, static_cast<int>(l.size()) - 1);
}

namespace {

// Keeps the first entry of every name from index ab on, in order; one pass,
// so that a folder of thousands of pictures costs no more per picture than
// a small one.
template <class Liste>
void doppelteEntfernen(Liste& l, size_t ab) {
  std::unordered_set<std::string> gesehen;
  auto ziel = l.begin() + static_cast<std::ptrdiff_t>(std::min(ab, l.size()));
  for (auto it = ziel; it != l.end(); ++it) {
    if (!gesehen.insert(it->Name).second) continue;
    if (ziel != it) *ziel = std::move(*it);
    ++ziel;
  }
  l.erase(ziel, l.end());
}

}  // namespace

void OrdnerlisteDoppelteEntfernen(TVerzeichnisArray& l, int& high, int erster) {
  doppelteEntfernen(l, erster < 0 ? 0 : static_cast<size_t>(erster));
  high = static_cast<int>(l.size()) - 1;
}

void DateilisteDoppelteEntfernen(TDateiArray& l) { doppelteEntfernen(l, 0); }

void DateilisteNachOptionenSortieren(const Kontext& k, TDateiArray& l) {
  if (!k.m.checked(Opt::CBDateienSortieren)) return;
  const int hi = static_cast<int>(l.size()) - 1;
  if (k.m.checked(Opt::RBDateienSortierenNachName))
    DateilisteNachNameSortieren(0, hi, l);
  else
    DateilisteNachZahlSortieren(k.m.checked(Opt::RBDateienSortierenNachDatum), 0, hi, l);
  if (k.m.checked(Opt::CBDSortRueckwaerts)) DateilisteUmkehren(l);
}

}  // namespace mosaik
