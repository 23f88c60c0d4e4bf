#!/usr/bin/env bash
# The random operator for a long run: seeds one after another for SECONDS (default 600), each
# 2500 steps of the whole program on the virtual clock against the simulator with faults; a
# failing seed prints its shortest failing sequence. Prints steps per second, faults injected,
# invariants checked and findings at the end. Exits 1 on any finding.
#   scripts/soak-random.sh 3600
set -euo pipefail
secs=${1:-600}
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${KIVO_BUILD_DIR:-$root/build}
[ -x "$dir/tests/random-operator" ] || flock /tmp/kivo-cpu.lock "$root/scripts/build.sh" >/dev/null
exec "$dir/tests/random-operator" --seconds "$secs" --steps "${KIVO_RANDOM_STEPS:-2500}" --seed "${KIVO_RANDOM_SEED:-1000}"
