#!/usr/bin/env bash
# Fails when a source file drifts from .clang-format or clang-tidy finds something.
#   scripts/lint.sh          check
#   scripts/lint.sh --fix    reformat the tree in place
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
clang-format --dry-run -Werror "${files[@]}"
# Lint the program's own code, every folder of it, against the main build's compile commands:
# all sources but the checks (tests, benchmarks) and the fuzz targets, which have a build of
# their own.
db=${KIVO_BUILD_DIR:-$root/build}
mapfile -t code < <(git ls-files '*.cpp' ':!:tests/' ':!:bench/' ':!:fuzz/')
out=$(printf '%s\n' "${code[@]}" | xargs -P"$(nproc)" -n4 clang-tidy -p "$db" --quiet --extra-arg=-Wno-unknown-warning-option 2>&1 || true)
if grep -qE '(warning|error):' <<<"$out"; then
    grep -E '(warning|error):' <<<"$out" | sort -u
    exit 1
fi
echo "clang-format and clang-tidy: clean"
