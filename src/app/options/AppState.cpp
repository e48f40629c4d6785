#include "app/options/AppState.h"

namespace mosaik {
std::atomic<uint8_t> AbbruchFlag{0};
}  // namespace mosaik
