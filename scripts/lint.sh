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
# Lint the program's own code against the main build's compile commands.
db=${KIVO_BUILD_DIR:-$root/build}
mapfile -t code < <(git ls-files 'platform/*.cpp' 'state/*.cpp' 'radio/*.cpp' 'panel/*.cpp' 'sim/*.cpp' \
    'app/*.cpp' 'ui/*.cpp')
out=$(printf '%s\n' "${code[@]}" | xargs -P"$(nproc)" -n4 clang-tidy -p "$db" --quiet 2>&1 || true)
if grep -qE '(warning|error):' <<<"$out"; then
    grep -E '(warning|error):' <<<"$out" | sort -u
    exit 1
fi
echo "clang-format and clang-tidy: clean"
