#!/usr/bin/env bash
# Makes docs/lab-panel-desktop.png: the desktop window in French on a private Xvfb, the supply
# and the resultant shown, the laboratory panel opened with F2 and the phase order set to reversed
# with its keys (Right on the first row), then the frequency's row chosen (Down, Down); 20 s
# later, the panel beside the picture and the motor run up the other way. The window's pixels
# are taken with ImageMagick's import (the wall clock runs the window: the trail may differ by a
# Tick from one run to the next). The picture is committed; run this again when the panel
# changes.
#
#   bash scripts/make-lab-panel-screenshot.sh [KORVELINE]
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/private-xvfb.sh
. scripts/private-xvfb.sh

program=${1:-}
if [ -z "$program" ]; then
    cmake --preset release >/dev/null
    cmake --build --preset release -j 2 --target korveline
    program=build/release/tools/korveline/korveline
fi
for tool in Xvfb xdotool import; do
    command -v $tool >/dev/null || { echo "make-lab-panel-screenshot: $tool is needed" >&2; exit 1; }
done

dir=$(mktemp -d)
korveline_pid=
cleanup() {
    [ -n "$korveline_pid" ] && kill "$korveline_pid" 2>/dev/null
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT
# A laptop's screen, which holds the window with the panel beside the picture.
start_private_xvfb "$dir" 1366x768 || { echo "make-lab-panel-screenshot: Xvfb did not start" >&2; exit 1; }

KORVELINE_LANG=fr "$program" >"$dir/out.log" 2>&1 &
korveline_pid=$!
window=$(timeout 10 xdotool search --sync --name '^KORVELINE' | head -n1) || true
[ -n "$window" ] || { echo "make-lab-panel-screenshot: no window" >&2; exit 1; }
xdotool windowmove --sync "$window" 0 0
# A bare X server gives the keys to the window under the pointer.
xdotool mousemove --window "$window" 400 300
sleep 0.5
xdotool mousemove --window "$window" 25 25 click 1 # ALIM
xdotool mousemove --window "$window" 260 290 click 1 # the rotor: resultant and forces
xdotool mousemove --window "$window" 600 200
xdotool key --window "$window" F2 Right Down Down
sleep 20
import -window "$window" docs/lab-panel-desktop.png
echo "Wrote docs/lab-panel-desktop.png"
