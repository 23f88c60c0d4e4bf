#!/usr/bin/env bash
# CPU and memory of the running program: lit panel on the built-in simulator, meter polling every
# 100 ms, under Xvfb. Prints resident memory after start and the CPU share of one core over 20 s.
#   bench/program_bench.sh [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
secs=${1:-20}
bin=${KIVO_BUILD_DIR:-$root/build}/app/kivo-ft817
data=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$data"' EXIT
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
xvfb-run -a "$bin" --simulate --power --data-dir "$data" >/dev/null 2>&1 &
sleep 6 # splash, power-on
pid=$(pgrep -n -f "kivo-ft817 --simulate --power --data-dir $data")
tick=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
c0=$(cpu)
sleep "$secs"
c1=$(cpu)
echo "resident memory after start: $((rss / 1024)) MB"
awk -v d=$((c1 - c0)) -v t="$tick" -v s="$secs" 'BEGIN { printf "CPU over %d s: %.2f%% of one core\n", s, 100 * d / t / s }'
