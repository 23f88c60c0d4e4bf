#!/usr/bin/env bash
# CPU and memory of the running program on the built-in simulator, under Xvfb. By default the lit
# panel with the meter polling every 100 ms; with --dark the panel as it starts, before POWER.
# Prints resident memory after start and the CPU share of one core over the measured time, with
# the window's own thread apart from the rest (the built-in simulator runs on a thread of its own).
#   bench/program_bench.sh [--dark] [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dark=0
if [ "${1:-}" = --dark ]; then
    dark=1
    shift
fi
secs=${1:-20}
bin=${KIVO_BUILD_DIR:-$root/build}/app/kivo-ft817
data=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$data"' EXIT
# Settings with the meter at "100 ms." and port 1: write them with a first unattended run.
xvfb-run -a "$bin" --simulate --data-dir "$data" --screenshot "$data/first.png" >/dev/null 2>&1
python3 - "$data/ft817.kivo" <<'PY'
import struct, sys
p = sys.argv[1]
b = bytearray(open(p, 'rb').read())
struct.pack_into('<h', b, 8, 5)   # MeterSpeed: "100 ms."
struct.pack_into('<h', b, 26, 0)  # TuneOnStartup off
open(p, 'wb').write(b)
PY
args=(--simulate)
[ "$dark" = 1 ] || args+=(--power)
xvfb-run -a "$bin" "${args[@]}" --data-dir "$data" >/dev/null 2>&1 &
sleep 6 # splash, power-on
pid=$(pgrep -n -f "kivo-ft817 ${args[*]} --data-dir $data")
# CPU time in ns (schedstat) of the window's thread, and of all threads together (a thread that ends
# in between takes its time with it, so a difference below zero counts as none).
gui() { awk '{print $1}' "/proc/$pid/task/$pid/schedstat"; }
all() { cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{n += $1} END {printf "%d", n}'; }
rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
g0=$(gui)
a0=$(all)
sleep "$secs"
g1=$(gui)
a1=$(all)
echo "panel: $([ "$dark" = 1 ] && echo dark || echo lit)"
echo "resident memory after start: $((rss / 1024)) MB"
awk -v a=$((a1 - a0)) -v g=$((g1 - g0)) -v s="$secs" 'BEGIN {
    printf "CPU over %d s: %.3f%% of one core (window thread %.3f%%, other threads %.3f%%)\n",
        s, 100 * (a > 0 ? a : 0) / 1e9 / s, 100 * g / 1e9 / s, 100 * (a > g ? a - g : 0) / 1e9 / s }'
