#!/usr/bin/env bash
# Configures and builds in build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOSAIK_WERROR=ON > /dev/null
cmake --build "$root/build" -j"$(nproc)"
