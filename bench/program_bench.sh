#!/usr/bin/env bash
# CPU and memory of the running program on the built-in simulator, under Xvfb. By default the lit
# panel with the meter polling every 100 ms; with --dark the panel as it starts, before POWER.
# Prints resident memory after start and the CPU share of one core over the measured time.
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
tick=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
c0=$(cpu)
sleep "$secs"
c1=$(cpu)
echo "panel: $([ "$dark" = 1 ] && echo dark || echo lit)"
echo "resident memory after start: $((rss / 1024)) MB"
awk -v d=$((c1 - c0)) -v t="$tick" -v s="$secs" 'BEGIN { printf "CPU over %d s: %.3f%% of one core\n", s, 100 * d / t / s }'
