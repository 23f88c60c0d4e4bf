#!/usr/bin/env bash
# Configures and builds into build/ (or $KIVO_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${KIVO_BUILD_DIR:-$root/build}
launcher=()
if command -v ccache >/dev/null; then
  # Optional: worktrees of the same tree then share compiled objects.
  export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=true
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIVO_WERROR=ON "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
