#include "ui/Tastatur.h"

#include <vector>

namespace mosaik {

Opt radioNachbar(Opt o, bool vorwaerts, const std::function<bool(Opt)>& waehlbar) {
  if (info(o).kind != Kind::Radio) return o;
  std::vector<Opt> gruppe;
  size_t hier = 0;
  for (int i = 0; i < kOptCount; ++i) {
    const Opt m = static_cast<Opt>(i);
    if (info(m).kind != Kind::Radio || info(m).radioGroup != info(o).radioGroup) continue;
    if (m == o) hier = gruppe.size();
    gruppe.push_back(m);
  }
  const size_t n = gruppe.size();
  for (size_t schritt = 1; schritt < n; ++schritt) {
    const Opt m = gruppe[vorwaerts ? (hier + schritt) % n : (hier + n - schritt) % n];
    if (waehlbar(m)) return m;
  }
  return o;
}

}  // namespace mosaik
