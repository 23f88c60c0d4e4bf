#!/usr/bin/env bash
# The mutation check, on demand (not part of CI): a fixed, seeded sample of small faults in the
# core folders, each built and run against the tests; prints what each did and, per folder, how
# many the suite caught.
#   scripts/mutants.sh [--seed N] [--count N] [--list] [--out FILE]
# Builds into build-mut/ (unoptimised, no debug information: quicker to rebuild) and restores
# every source file as it was, also when stopped.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${KIVO_MUTANTS_DIR:-$root/build-mut}
if [ -n "$(git -C "$root" status --porcelain -- platform state radio panel memmgr scope lock net)" ]; then
    echo "mutants: the core folders have uncommitted changes; commit or stash them first" >&2
    exit 2
fi
trap 'git -C "$root" checkout -- platform state radio panel memmgr scope lock net' EXIT
KIVO_BUILD_DIR=$dir "$root/scripts/build.sh" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 -DKIVO_BENCH=OFF
python3 "$root/scripts/mutants.py" --root "$root" --build "$dir" "$@"
