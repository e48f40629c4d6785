#include "generator/Uebersichtsseiten.h"

namespace mosaik {

void OrdnerSeitenSchreiben(Lauf& lauf, const std::string&, const std::string&, const std::string&,
                           TVerzeichnisArray&, TDateiArray&, int, int) {
  lauf.pumpUndAbbruch();
}

}  // namespace mosaik
