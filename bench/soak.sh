#!/usr/bin/env bash
# The long run of the whole program (default 30 minutes) on the offscreen platform; see bench/soak.cpp.
#   bench/soak.sh [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
QT_QPA_PLATFORM=offscreen "${KIVO_BUILD_DIR:-$root/build}/bench/soak" "${1:-1800}" 2>/dev/null
