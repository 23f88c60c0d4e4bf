#!/usr/bin/env bash
# A long fuzzing campaign: each target until it has run N inputs (default one million).
#   scripts/fuzz-campaign.sh [runs]
# The sanitized build (build-fuzz/) runs every target; the memory-database target spends most of
# its time on whole 1000-record loads and saves, so it runs its million in the faster build
# without sanitizers (build-fuzz-fast/, the same invariant checks) and a sanitized share after.
# Prints one line per run: target, build, executions, seconds, status.
set -uo pipefail
runs=${1:-1000000}
root=$(cd "$(dirname "$0")/.." && pwd)
cxx=${KIVO_FUZZ_CXX:-/usr/bin/clang++}
for b in build-fuzz:ON build-fuzz-fast:OFF; do
    dir=$root/${b%%:*}
    flock /tmp/kivo-build.lock cmake -S "$root/fuzz" -B "$dir" -DCMAKE_CXX_COMPILER="$cxx" \
        -DKIVO_FUZZ_SANITIZE="${b##*:}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 2
    flock /tmp/kivo-build.lock cmake --build "$dir" -j2 >/dev/null || exit 2
done

failed=0
one() { # target build-dir runs
    local t=$1 dir=$2 n=$3
    local work=$dir/corpus/$t findings=$dir/findings/$t log=$dir/$t.campaign.log
    mkdir -p "$work" "$findings"
    local len=0
    case $t in cat_reply) len=64 ;; sim_wire) len=512 ;; esac
    local start=$SECONDS
    "$dir/$t" -runs="$n" -max_len=$len -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$work" "$root/fuzz/corpus/$t" >"$log" 2>&1
    local rc=$?
    local execs
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    printf '%-14s %-16s %10s %6ss %4s\n' "$t" "$(basename "$dir")" "${execs:-?}" $((SECONDS - start)) "$rc"
    [ "$rc" -eq 0 ] || failed=1
}
while read -r t; do
    [ -n "$t" ] || continue
    if [ "$t" = memory_file ]; then
        one "$t" "$root/build-fuzz-fast" "$runs"
        one "$t" "$root/build-fuzz" $((runs / 20))
    else
        one "$t" "$root/build-fuzz" "$runs"
    fi
done <"$root/build-fuzz/targets.txt"
exit $failed
