#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program: on the built-in simulator unless
# --no-simulate is given (to use a radio on a serial port). Other arguments go to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
args=(--simulate)
for a in "$@"; do
    if [ "$a" = --no-simulate ]; then
        args=()
    fi
done
rest=()
for a in "$@"; do
    [ "$a" = --no-simulate ] || rest+=("$a")
done
exec "${KIVO_BUILD_DIR:-$root/build}/app/kivo-ft817" "${args[@]}" "${rest[@]}"
