#!/usr/bin/env bash
# Draws the figures of docs/model.md and docs/modele.md from the program's own runs: the run-up's
# speed against time for brakes 0, 2 and 5, and the useful torque against slip: the steady curve
# (the model run at held speeds, both branches), the steady points of a sweep of the brake, the
# slow stall one step further, and the run-up with no brake. The
# runs' data is written by korveline-script's `trace` (build/docs/*.csv) and drawn with gnuplot
# into docs/figures/. The docs quote numbers from all of these runs, also those not drawn.
#
#   scripts/make-docs.sh --data-only DIR   only the runs, their CSVs written into DIR (no gnuplot)
#
# The test DocsNumbers (ctest) runs the data-only form with KORVELINE_SCRIPT naming the program,
# and checks that the numbers the docs quote are still what these CSVs give.
set -euo pipefail
cd "$(dirname "$0")/.."
data_only=0
data=build/docs
if [ "${1:-}" = --data-only ]; then
    [ $# -eq 2 ] || { echo "usage: make-docs.sh [--data-only DIR]" >&2; exit 2; }
    data_only=1
    data=$2
fi
script=${KORVELINE_SCRIPT:-build/release/tools/korveline_script/korveline-script}
if [ $data_only -eq 0 ]; then
    bash scripts/deps.sh test gnuplot-nox
    if [ ! -x "$script" ]; then
        cmake --preset release
        cmake --build --preset release -j 2 --target korveline-script
    fi
fi
mkdir -p "$data"

# The brake is set first (0.5 a click), then the supply is switched on with the rotor at rest.
brake_clicks() {
    local n=$1
    for ((i = 0; i < n; i++)); do echo "click left 250 465"; done
}

# Run-ups from rest. Brake 7 is more than the starting torque: that rotor only trembles. Brake 6.5
# is just above it: that rotor creeps before it runs up, and needs longer to settle.
for brake in 0 2 5 7 6.5; do
    ticks=6000
    [ "$brake" = 6.5 ] && ticks=16000
    {
        brake_clicks "$(awk -v b="$brake" 'BEGIN { print b * 2 }')"
        echo "click left 25 25"
        echo "trace $data/runup-brake$brake.csv"
        echo "tick $ticks"
    } | "$script" -
done

# A running motor, its brake raised by 0.5 a step. Each step lasts until the speed has settled:
# 100 s (2000 Ticks) up to brake 18.5, 400 s from 19 to 20, where settling is slow near the
# pull-out point. The last 401 Ticks of each step are traced: a steady point no longer moves. At
# brake 20.5 the motor slows down for minutes and stalls: that step is traced whole.
{
    echo "click left 25 25"
    echo "tick 3599"
    echo "trace $data/sweep-00.csv"
    echo "tick 401"
    echo "trace off"
    for ((k = 1; k <= 40; k++)); do
        ticks=2000
        [ $k -ge 38 ] && ticks=8000
        echo "click left 250 465"
        echo "tick $((ticks - 401))"
        printf 'trace %s/sweep-%02d.csv\n' "$data" "$k"
        echo "tick 401"
        echo "trace off"
    done
    echo "click left 250 465"
    echo "trace $data/sweep-41.csv"
    echo "tick 16000"
} | "$script" -

# Measured too early: the brake raised by 0.5 every 100 s, up to 21. After 100 s there the motor
# still seems to run, but it is slowing down; it stalls a little later.
{
    echo "click left 25 25"
    echo "tick 4000"
    for ((k = 1; k <= 42; k++)); do
        echo "click left 250 465"
        [ $k -lt 42 ] && echo "tick 2000"
    done
    echo "trace $data/early-brake21.csv"
    echo "tick 4000"
} | "$script" -
# The whole steady curve, from a little above synchronous speed to standstill, measured at held
# speeds: the stable branch, the pull-out point and the unstable branch.
"$script" --steady-curve >"$data/steady-curve.csv"
[ $data_only -eq 1 ] && exit 0
mkdir -p docs/figures

# Columns: 1 tick, 2 time_s, 7 slip, 8 motor_torque, 9 brake_torque. The last Tick of each step
# up to brake 20 is a steady point (DocsNumbers checks that it no longer moves); at brake 20.5 the
# motor slows down through its largest torque and stops: the last Tick is the rotor at rest.
for k in {00..40}; do tail -n 1 "$data/sweep-$k.csv"; done |
    awk -F, '{ print $7 * 100, $8 }' >"$data/steady.dat"
awk -F, 'NR > 1 { print $7 * 100, $8 }' "$data/sweep-41.csv" >"$data/stall-path.dat"
# The steady curve's columns: 1 slip, 3 useful torque, 6 branch. The pull-out point ends the stable
# branch and starts the unstable one.
awk -F, '$6 == "stable" || $6 == "pull_out" { print $1 * 100, $3 }' "$data/steady-curve.csv" |
    sort -g >"$data/curve-stable.dat"
awk -F, '$6 == "unstable" || $6 == "pull_out" { print $1 * 100, $3 }' "$data/steady-curve.csv" |
    sort -g >"$data/curve-unstable.dat"
awk -F, '$6 == "pull_out" { print $1 * 100, $3 }' "$data/steady-curve.csv" >"$data/pull-out.dat"
tail -n 1 "$data/stall-path.dat" >"$data/stall.dat"
stall_brake=$(awk -F, 'NR == 2 { print $9 }' "$data/sweep-41.csv")

gnuplot <<GNUPLOT
set terminal pngcairo size 800,480 font ",11" noenhanced
set datafile separator ","
set key bottom right
set grid

set output "docs/figures/runup.png"
set title "Run-up from rest: rotor speed against time"
set xlabel "time since the supply was switched on (s)"
set ylabel "rotor speed (% of synchronous speed)"
set yrange [0:110]
plot "$data/runup-brake0.csv" every ::1 using ((\$1 - 1) * 0.05):(\$6 * 100) with lines lw 2 title "brake 0", \
     "$data/runup-brake2.csv" every ::1 using ((\$1 - 1) * 0.05):(\$6 * 100) with lines lw 2 title "brake 2", \
     "$data/runup-brake5.csv" every ::1 using ((\$1 - 1) * 0.05):(\$6 * 100) with lines lw 2 title "brake 5", \
     100 with lines dt 2 lc "black" title "synchronous speed"

set output "docs/figures/torque-slip.png"
set title "Useful torque against slip"
set xlabel "slip (%)"
set ylabel "useful torque (model units)"
set yrange [-15:30]
set xrange [-5:102]
set key top right
set datafile separator whitespace
plot "$data/curve-stable.dat" using 1:2 with lines lw 2 lc "dark-green" title "steady curve (held speeds): stable branch", \
     "$data/curve-unstable.dat" using 1:2 with lines lw 2 dt 2 lc "dark-green" title "steady curve: unstable branch", \
     "$data/pull-out.dat" using 1:2 with points pt 9 ps 2 lc "dark-green" title "pull-out point", \
     "< awk -F, 'NR > 1 { print \$7 * 100, \$8 }' $data/runup-brake0.csv" using 1:2 with lines lc "gray" title "during the run-up with no brake", \
     "$data/steady.dat" using 1:2 with points pt 7 ps 1.2 lc "red" title "steady, brake raised by 0.5 a step", \
     "$data/stall-path.dat" using 1:2 with lines lw 2 lc "blue" title "brake $stall_brake: slowing down, then stalled", \
     "$data/stall.dat" using 1:2 with points pt 5 ps 1.5 lc "black" title "at rest, brake $stall_brake"
GNUPLOT
echo "make-docs.sh: wrote docs/figures/runup.png and docs/figures/torque-slip.png"
