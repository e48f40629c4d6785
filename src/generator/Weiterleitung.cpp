#include "generator/Weiterleitung.h"

namespace mosaik {

void IndexInGrafikordnernSchreiben(Lauf&, const std::string&) {}

}  // namespace mosaik
