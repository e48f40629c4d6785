#pragma once
// Small helpers of the enabling rules: a rule switches whole lists of
// controls at once.
#include <initializer_list>

#include "app/options/OptionModel.h"

namespace mosaik::regeln {

inline void en(OptionModel& m, std::initializer_list<Opt> os, bool an) {
  for (Opt o : os) m.setEnabled(o, an);
}
inline void zeigen(OptionModel& m, std::initializer_list<Opt> os, bool an) {
  for (Opt o : os) m.setVisible(o, an);
}

}  // namespace mosaik::regeln
