#!/usr/bin/env bash
# Makes the help pages' pictures from the real windows under Xvfb: the lit panel and an open menu
# (build/bench/help-pictures), the memory manager (build/bench/memmgr-screenshot), the band scope
# mid-sweep (build/bench/scope-screenshot).
#   scripts/help-pictures.sh [DIR]   (default help/images)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/help/images}
build=${KIVO_BUILD_DIR:-$root/build}
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1280x900x24" "$build/bench/help-pictures" "$out"
xvfb-run -a -s "-screen 0 1280x900x24" "$build/bench/memmgr-screenshot" "$out/memory-manager.png"
xvfb-run -a -s "-screen 0 1280x900x24" "$build/bench/scope-screenshot" "$out/band-scope.png"
echo "saved $out/panel.png $out/menus.png $out/memory-manager.png $out/band-scope.png"
