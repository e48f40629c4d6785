#include "generator/Durchlauf.h"

namespace mosaik {

void OriginaleVerkleinernDurchlauf(Lauf& lauf, const std::string&, const std::string&, bool,
                                   const std::string&, int, bool& ok) {
  if (lauf.pumpUndAbbruch()) BenutzerAbbruch(lauf.k, ok);
}

void GalerieDurchlauf(Lauf& lauf, const std::string&, const std::string&, bool, const std::string&,
                      int, bool& ok) {
  if (lauf.pumpUndAbbruch()) BenutzerAbbruch(lauf.k, ok);
}

}  // namespace mosaik
