#!/usr/bin/env bash
# Line and branch coverage of the program's code by the whole test suite, per folder:
#   scripts/coverage.sh            builds build-cov/ with coverage counters, runs every test, prints the table
# gcovr (Debian's package) reads the counters; tests, benchmarks and fuzz targets are not counted.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${KIVO_COVERAGE_DIR:-$root/build-cov}
command -v gcovr >/dev/null || { sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo; $sudo apt-get install -y -qq gcovr; }
export QT_QPA_PLATFORM=offscreen
KIVO_BUILD_DIR=$dir "$root/scripts/build.sh" -DKIVO_COVERAGE=ON -DKIVO_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
find "$dir" -name '*.gcda' -delete
ctest --test-dir "$dir" -j"$(nproc)" --timeout 600 >/dev/null || echo "coverage: some tests failed; the figures count what ran"
folders=(platform state radio sim panel memmgr scope lock net ui app)
printf '%-10s %8s %8s %8s %8s\n' folder lines line% branches branch%
for f in "${folders[@]}" all; do
    filter=$root/$f/
    [ "$f" = all ] && filter="$root/($(IFS='|'; echo "${folders[*]}"))/"
    gcovr -r "$root" --object-directory "$dir" --filter "$filter" --exclude-unreachable-branches \
        --exclude-throw-branches --json-summary /dev/stdout -j"$(nproc)" 2>/dev/null |
        python3 -c '
import json, sys
d = json.load(sys.stdin)
print("%-10s %8d %7.1f%% %8d %7.1f%%" % (sys.argv[1], d["line_total"], d["line_percent"], d["branch_total"], d["branch_percent"]))
' "$f"
done
