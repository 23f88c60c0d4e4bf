#!/usr/bin/env bash
# End to end under a misbehaving radio: the program under Xvfb on ft817-sim with a bad line
# (--drop 0.05 --garble 0.02 --late 150) over a pseudo-terminal, driven by random key strokes
# (xdotool) and now and then a turn of the radio's own dial, for SECONDS (default 120). Then,
# with the keys stopped and the program given time to settle, it checks: the program still runs,
# the last PTT command the radio took is PTT off and the radio is not transmitting, and the radio's
# current VFO agrees with the panel's (read over the network sharing, which answers from the
# panel's model) unless the keys left the panel dark or scanning. Prints the counts; exits 1 on a
# failed check.
set -euo pipefail
secs=${1:-120}
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${KIVO_BUILD_DIR:-$root/build}
tmp=$(mktemp -d)
cleanup() {
    exec 3>&- 2>/dev/null || true
    # Each is asked to stop, then made to: a wait on one that does not would last for ever.
    for p in ${prog:-} ${sim:-}; do
        kill "$p" 2>/dev/null || continue
        for _ in $(seq 50); do kill -0 "$p" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$p" 2>/dev/null || true
    done
}
trap cleanup EXIT
port=$((20000 + RANDOM % 20000))
"$dir/tests/random-operator" --prepare-data "$tmp/data" "$tmp/radio"
mkfifo "$tmp/panel"
"$dir/sim/ft817-sim" --drop 0.05 --garble 0.02 --late 150 --log --link "$tmp/radio" <"$tmp/panel" >"$tmp/sim.log" 2>&1 &
sim=$!
exec 3>"$tmp/panel" # the radio's own front panel
for _ in $(seq 50); do [ -e "$tmp/radio" ] && break; sleep 0.1; done

export DISPLAY=${E2E_DISPLAY:-:97}
Xvfb "$DISPLAY" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'cleanup; kill $xvfb 2>/dev/null' EXIT
sleep 1
HOME=$tmp "$dir/app/kivo-ft817" --data-dir "$tmp/data" --power --share-radio="127.0.0.1:$port" >"$tmp/prog.log" 2>&1 &
prog=$!
win=$(xdotool search --sync --onlyvisible --name "KIVO" | head -1)
sleep 3
xdotool windowfocus "$win" 2>/dev/null || true

keys=(Prior Next KP_Multiply KP_Divide KP_Add KP_Subtract d u 1 2 3 4 5 6 7 8 9 0 KP_Decimal Return Escape
      F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12 c f l r s ctrl+a ctrl+b ctrl+h ctrl+l ctrl+u ctrl+v shift+l
      shift+u shift+c shift+a shift+f space space space)
strokes=0 dials=0
end=$((SECONDS + secs))
while [ $SECONDS -lt $end ]; do
    k=${keys[RANDOM % ${#keys[@]}]}
    if [ "$k" = space ]; then
        # Space is push-to-talk: held for a while.
        xdotool keydown space 2>/dev/null
        sleep 0.$((RANDOM % 9 + 1))
        xdotool keyup space 2>/dev/null
    else
        xdotool key "$k" 2>/dev/null
    fi
    strokes=$((strokes + 1))
    if [ $((RANDOM % 25)) = 0 ]; then
        echo "dial 14.$((RANDOM % 300 + 10))" >&3
        dials=$((dials + 1))
    fi
    sleep 0.$((RANDOM % 3))$((RANDOM % 10))
done
# Lit at the end, whatever the keys left: P (POWER) only when dark.
sleep 8
fail=0
kill -0 "$prog" 2>/dev/null || { echo "e2e: the program is no longer running"; fail=1; }
echo state >&3
sleep 1
last_ptt=$(grep -E "00 00 00 00 (08|88)  PTT" "$tmp/sim.log" | grep -v dropped | tail -1 || true)
state=$(grep "state:" "$tmp/sim.log" | tail -1)
echo "e2e: $strokes key strokes, $dials turns of the radio's dial in $secs s"
echo "e2e: faults made: $(grep -c 'fault:' "$tmp/sim.log") ($(grep -c 'lost on the line' "$tmp/sim.log") lost, $(grep -c 'garbled' "$tmp/sim.log") garbled)"
echo "e2e: last PTT the radio took: ${last_ptt:-none}"
echo "e2e: radio $state"
case $state in *"PTT on"*) echo "e2e: the radio is left transmitting"; fail=1 ;; esac
ask() { (exec 4<>/dev/tcp/127.0.0.1/$port && printf "$1" >&4 && timeout 3 head -"$2" <&4 | tr '\n' ' ') || true; }
panel=$(ask 'f\nm\nt\n' 4)
echo "e2e: panel answers (f, m, t): $panel"
# A scan or the FM search the keys started goes on moving the radio on purpose: its frequency
# then changes between two looks, and there is nothing to agree on.
sleep 3
again=$(ask 'f\n' 1)
# The VFO the radio is on against the one the panel works (the sub VFO while SUB is on).
if grep -q "on VFO B" <<<"$state"; then vfo=B; else vfo=A; fi
radio_f=$(sed -n "s/.*VFO $vfo \([0-9]*\) Hz.*/\1/p" <<<"$state")
panel_f=${panel%% *}
if grep -q "RPRT" <<<"$panel" || [ -z "$panel_f" ]; then
    echo "e2e: the panel is dark at the end (the keys switched it off): agreement not compared"
elif [ "${again%% *}" != "$panel_f" ]; then
    echo "e2e: the panel is scanning at the end ($panel_f, then ${again%% *}): agreement not compared"
elif [ "$radio_f" != "$panel_f" ]; then
    echo "e2e: the radio's VFO $vfo ($radio_f) and the panel ($panel_f) disagree"
    fail=1
else
    echo "e2e: the radio's VFO $vfo and the panel agree: $panel_f Hz"
fi
cp "$tmp/sim.log" "${E2E_LOG:-/tmp/e2e-random-sim.log}"
exit $fail
