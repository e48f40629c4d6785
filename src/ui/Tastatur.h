#pragma once
// How the keyboard moves among the controls where the windows decide it
// themselves.
#include <functional>

#include "app/options/Opt.h"

namespace mosaik {

// The radio button an arrow key moves to and chooses: the next member of
// o's group (the previous one backwards) in the group's order that
// `waehlbar` allows, round the ends; o itself when no other member is.
Opt radioNachbar(Opt o, bool vorwaerts, const std::function<bool(Opt)>& waehlbar);

}  // namespace mosaik
