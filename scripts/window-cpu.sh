#!/usr/bin/env bash
# How much of a core korveline takes while it runs with everything shown (supply on, resultant
# and forces, the left coil's field), at zoom 1 (or 2) on a private Xvfb. Builds the programs (preset
# app), starts the window, makes the three clicks, lets start-up settle, then reads the process's
# user+system CPU time (/proc/PID/stat) at the start and the end of the measured interval, and
# counts the Ticks in it from the program's tick log (KORVELINE_TICK_LOG, written at exit:
# SIGTERM closes the window as the window manager's close button would). Xvfb's own CPU over the
# same interval is shown apart, for information.
#
#   bash scripts/window-cpu.sh [--zoom 2] [SECONDS]      (zoom 1 and 60 s by default)
# KORVELINE may name another build of the program (then nothing is built).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/private-xvfb.sh
source scripts/private-xvfb.sh
zoom=1
if [ "${1:-}" = --zoom ]; then
    zoom=${2:-}
    shift 2 || true
fi
seconds=${1:-60}
settle=5 # seconds between the last click and the start of the measurement
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ] || ! [[ "$zoom" =~ ^[12]$ ]]; then
    echo "usage: window-cpu.sh [--zoom 1|2] [SECONDS]" >&2
    exit 2
fi

bash scripts/deps.sh run xvfb xdotool
program=${KORVELINE:-}
if [ -z "$program" ]; then
    cmake --preset app >/dev/null
    cmake --build --preset app -j 2 >/dev/null
    program=build/app/tools/korveline/korveline
fi

work=$(mktemp -d)
xvfb_pid=
app_pid=
stop() { # stop PID: SIGTERM, then SIGKILL if it lingers
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null || return 0
    timeout 5 tail --pid="$1" -f /dev/null || kill -9 "$1" 2>/dev/null || true
}
cleanup() {
    stop "$app_pid"
    stop "$xvfb_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
fail() {
    echo "window-cpu.sh: $*" >&2
    [ -s "$work/err" ] && { echo "korveline's standard error:" >&2; cat "$work/err" >&2; }
    exit 1
}

# Field N of /proc/PID/stat; counted after the ')' that ends the command name, which may hold
# spaces.
stat_field() {
    local stat
    stat=$(<"/proc/$1/stat")
    stat=${stat##*) }
    read -r -a f <<<"$stat"
    echo "${f[$2 - 3]}"
}
# Clock ticks of CPU a process has used: user (field 14) and system (15).
cpu_ticks() { echo "$(stat_field "$1" 14) $(stat_field "$1" 15)"; }
# Seconds since boot, as the kernel counts process start times.
uptime_s() { cut -d' ' -f1 /proc/uptime; }

# Zoom 2 (1560 x 1114 and the toolbar under it) needs a larger screen.
screen=1024x768
[ "$zoom" = 2 ] && screen=2560x1440
start_private_xvfb "$work" "$screen" || fail "Xvfb did not start"

KORVELINE_TICK_LOG="$work/ticks" "$program" >/dev/null 2>"$work/err" &
app_pid=$!
window=$(timeout 10 xdotool search --sync --name '^KORVELINE$' | head -n1) || true
[ -n "$window" ] || fail "no KORVELINE window"
# The window's width is the picture's (the toolbar lies under it).
width() { xdotool getwindowgeometry "$window" | sed -n 's/^ *Geometry: \([0-9]*\)x.*/\1/p'; }
want=$((780 * zoom))
if [ "$zoom" = 2 ]; then
    xdotool windowmove --sync "$window" 0 0
    xdotool mousemove --window "$window" 10 10 key ctrl+plus
    for _ in $(seq 50); do
        [ "$(width)" = "$want" ] && break
        sleep 0.1
    done
fi
size=$(width)
[ "$size" = "$want" ] || fail "the window is $size pixels wide, not $want (zoom $zoom)"

# Supply on, the rotor's resultant and forces, the left coil's field.
for at in "25 25" "260 290" "80 290"; do
    read -r x y <<<"$at"
    xdotool mousemove --window "$window" $((x * zoom)) $((y * zoom)) click 1
    sleep 0.5
done
sleep "$settle"

hz=$(getconf CLK_TCK)
started=$(stat_field "$app_pid" 22) # clock ticks after boot
start_s=$(uptime_s)
read -r app_user0 app_system0 < <(cpu_ticks "$app_pid")
read -r xvfb_user0 xvfb_system0 < <(cpu_ticks "$xvfb_pid")
# In the background, so that a signal's trap runs at once rather than after the interval.
sleep "$seconds" &
wait $!
read -r app_user1 app_system1 < <(cpu_ticks "$app_pid")
read -r xvfb_user1 xvfb_system1 < <(cpu_ticks "$xvfb_pid")
end_s=$(uptime_s)
kill -0 "$app_pid" 2>/dev/null || fail "korveline stopped during the measurement"

# Closing writes the tick log: times in ms since the program started.
kill "$app_pid"
timeout 10 tail --pid="$app_pid" -f /dev/null || fail "korveline did not close on SIGTERM"
code=0
wait "$app_pid" || code=$?
app_pid=
[ "$code" -eq 0 ] || fail "korveline exited $code"
[ -s "$work/ticks" ] || fail "no tick log"

awk -v zoom="$zoom" -v hz="$hz" -v born="$started" -v t0="$start_s" -v t1="$end_s" \
    -v au="$((app_user1 - app_user0))" -v as="$((app_system1 - app_system0))" \
    -v xu="$((xvfb_user1 - xvfb_user0))" -v xs="$((xvfb_system1 - xvfb_system0))" '
    BEGIN { from = (t0 - born / hz) * 1000; to = (t1 - born / hz) * 1000 }
    /^#/ { next }
    { ms = $1 + 0; if (ms >= from && ms < to) ticks++ }
    END {
        span = t1 - t0
        app = (au + as) / hz
        xvfb = (xu + xs) / hz
        printf "zoom %d: korveline: %.2f %% of a core over %.1f s (user+system CPU %.2f s: user %.2f s," \
               " system %.2f s), %d Ticks\n", zoom, 100 * app / span, span, app, au / hz, as / hz, ticks
        printf "Xvfb: %.2f %% of a core (user+system CPU %.2f s)\n", 100 * xvfb / span, xvfb
    }' "$work/ticks"
