#!/usr/bin/env bash
# Configures and builds into build/ (or $KIVO_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${KIVO_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIVO_WERROR=ON "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
