#include "generator/StyleSheet.h"

namespace mosaik {

void CSSDateiSchreiben(Kontext&, const std::string&, bool&) {}

}  // namespace mosaik
