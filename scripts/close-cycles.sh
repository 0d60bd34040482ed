#!/usr/bin/env bash
# Opens and closes korveline COUNT times (200 by default) on a private Xvfb, each time as a
# window manager's close button does (WM_DELETE_WINDOW), after a short random run. Every run
# must exit 0 and write nothing on stderr; the first that does not is shown and stops the loop.
# Too slow for every CI run; run it after touching the desktop backend's start or teardown.
#
#   bash scripts/close-cycles.sh [COUNT]
# Needs Xvfb and xdotool (scripts/deps.sh run xvfb xdotool) and a release build with its tests.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/private-xvfb.sh
source scripts/private-xvfb.sh
count=${1:-200}
build=${KORVELINE_BUILD:-build/release}
program=${KORVELINE:-$build/tools/korveline/korveline} # KORVELINE may name another build
closer=$build/tests/x11_close_window
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "close-cycles.sh: needs $tool" >&2; exit 2; }
done
if [ ! -x "$program" ] || [ ! -x "$closer" ]; then
    cmake --preset release >/dev/null
    cmake --build --preset release -j 2 --target korveline x11_close_window
fi

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

# Our own server.
start_private_xvfb "$work" || { echo "close-cycles.sh: Xvfb did not start" >&2; exit 2; }

start=$(date +%s)
for i in $(seq "$count"); do
    "$program" 2>"$work/err" &
    pid=$!
    window=$(timeout 10 xdotool search --sync --name '^KORVELINE$' | head -n1) || true
    # Close at varied moments: at once, or after up to 0.3 s of running.
    sleep "0.$((RANDOM % 4))"
    if [ -n "$window" ]; then timeout 10 "$closer" "$window" || true; fi
    code=0
    timeout 10 tail --pid="$pid" -f /dev/null || kill -9 "$pid" 2>/dev/null || true
    wait "$pid" || code=$?
    if [ "$code" -ne 0 ] || [ -s "$work/err" ] || [ -z "$window" ]; then
        echo "cycle $i: exit $code, window '${window}', stderr:" >&2
        cat "$work/err" >&2
        exit 1
    fi
done
echo "$count open/close cycles: $count exited 0 with nothing on stderr ($(($(date +%s) - start)) s)"
