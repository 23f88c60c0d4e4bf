#!/usr/bin/env bash
# Takes the README's picture: the lit panel after POWER on, on the simulator, under Xvfb.
#   scripts/screenshot.sh [FILE [SIZE]]   (default docs/panel.png; SIZE small, medium, large, lcd)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/panel.png}
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
# A first run with a data folder of its own: defaults, meter polling fast so the needle moves.
xvfb-run -a -s "-screen 0 1280x800x24" "${KIVO_BUILD_DIR:-$root/build}/app/kivo-ft817" \
    --simulate --data-dir "$data" ${2:+--panel "$2"} --screenshot "$out"
echo "saved $out"
