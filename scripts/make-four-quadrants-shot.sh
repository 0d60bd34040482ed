#!/usr/bin/env bash
# Makes docs/four-quadrants-desktop.png: korveline's window on a private Xvfb at zoom 1, in
# French, with the four-quadrant plot and a driving load of -5 (ten right clicks on "Frein" before
# the supply is switched on): the load drives the rotor past synchronous speed and the machine
# settles as a generator. Run at x8 for 40 s of the screen's time (320 s of the simulation's),
# then shown with the readout and the plot's scales (key I) and the steady curve (key C).
#
#   bash scripts/make-four-quadrants-shot.sh [KORVELINE]
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/private-xvfb.sh
source scripts/private-xvfb.sh

program=${1:-}
if [ -z "$program" ]; then
    cmake --preset release >/dev/null
    cmake --build --preset release -j 2 --target korveline
    program=build/release/tools/korveline/korveline
fi
bash scripts/deps.sh test

work=$(mktemp -d)
korveline_pid=
cleanup() {
    [ -n "$korveline_pid" ] && kill "$korveline_pid" 2>/dev/null
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
start_private_xvfb "$work" 1366x768

"$program" --lang fr --lab plot=four-quadrants load=driving >"$work/korveline.log" 2>&1 &
korveline_pid=$!
window=$(timeout 10 xdotool search --sync --name '^KORVELINE$' | head -n1) || true
[ -n "$window" ] || { echo "no window" >&2; exit 1; }
xdotool windowmove --sync "$window" 0 0
sleep 1
click() { xdotool mousemove --window "$window" "$1" "$2" click "$3"; sleep 0.1; }
for _ in $(seq 10); do click 255 465 3; done
click 25 25 1
for _ in 1 2 3; do xdotool key --window "$window" plus; done
sleep 40
xdotool key --window "$window" minus minus minus i c
sleep 2
import -window "$window" docs/four-quadrants-desktop.png
echo "Wrote docs/four-quadrants-desktop.png"
