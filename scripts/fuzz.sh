#!/usr/bin/env bash
# Builds the libFuzzer targets into build-fuzz/ and runs each for N seconds (default 30):
#   scripts/fuzz.sh        a quick pass
#   scripts/fuzz.sh 600    a long campaign
# Seeds come from fuzz/corpus/<target>/; what the fuzzer learns goes to build-fuzz/corpus/,
# crashing inputs to build-fuzz/findings/<target>/. Exits non-zero on any finding.
set -uo pipefail
secs=${1:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-fuzz
cxx=${KIVO_FUZZ_CXX:-/usr/bin/clang++}

# Others build on this machine too: one build at a time, two jobs at most.
flock /tmp/kivo-build.lock cmake -S "$root/fuzz" -B "$out" -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 2
flock /tmp/kivo-build.lock cmake --build "$out" -j2 >/dev/null || exit 2

# Inputs longer than a file the program reads only repeat the tail; serial inputs need some room.
max_len() {
    case $1 in
    cat_reply) echo 64 ;;
    network_stream) echo 256 ;;
    sim_wire) echo 512 ;;
    rigctl_line) echo 2048 ;; # room for a line past the 1 KiB limit
    random_operator) echo 512 ;; # 64 steps of eight bytes
    *) echo 0 ;; # libFuzzer's own choice: the largest seed
    esac
}

failed=0
printf '%-14s %12s %6s\n' target executions status
while read -r t; do
    [ -n "$t" ] || continue
    work=$out/corpus/$t
    findings=$out/findings/$t
    mkdir -p "$work" "$findings"
    log=$out/$t.log
    "$out/$t" -max_total_time="$secs" -max_len="$(max_len "$t")" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$work" "$root/fuzz/corpus/$t" >"$log" 2>&1
    rc=$?
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    printf '%-14s %12s %6s\n' "$t" "${execs:-?}" "$rc"
    if [ "$rc" -ne 0 ]; then
        failed=1
        echo "  finding in $t: see $log and $findings/" >&2
        grep -m3 -E 'ERROR|invariant broken|runtime error' "$log" | sed 's/^/  /' >&2
    fi
done <"$out/targets.txt"
exit $failed
