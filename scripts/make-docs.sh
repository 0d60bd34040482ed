#!/usr/bin/env bash
# Draws the figures of docs/model.md and docs/modele.md from the program's own runs: the run-up's
# speed against time for brakes 0, 2 and 5, and the steady useful torque against slip from a sweep
# of the brake. The runs' data is written by korveline-script's `trace` (build/docs/*.csv) and
# drawn with gnuplot into docs/figures/.
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

# Brake 7 is more than the starting torque: that motor stalls.
for brake in 0 2 5 7; do
    {
        brake_clicks $((brake * 2))
        echo "click left 25 25"
        echo "trace $data/runup-brake$brake.csv"
        echo "tick 6000"
    } | "$script" -
done

# A running motor, its brake raised by 0.5 every 2000 Ticks (100 s): the last Tick of each step
# is its steady operating point, until the motor stalls.
{
    echo "click left 25 25"
    echo "tick 3999"
    echo "trace $data/sweep-00.csv"
    echo "tick 1"
    echo "trace off"
    for ((k = 1; k <= 50; k++)); do
        echo "click left 250 465"
        echo "tick 1999"
        printf 'trace %s/sweep-%02d.csv\n' "$data" "$k"
        echo "tick 1"
        echo "trace off"
    done
} | "$script" -
[ $data_only -eq 1 ] && exit 0
mkdir -p docs/figures

# Columns: 1 tick, 2 time_s, 7 slip, 8 motor_torque, 9 brake_torque. A point is steady when the
# motor's torque meets the brake's; the first point at rest is the stall.
awk -F, 'FNR == 2 && $7 <= 0.5 && ($8 - $9) ^ 2 < 0.0025 { print $7 * 100, $8 }' \
    "$data"/sweep-*.csv >"$data/steady.dat"
awk -F, 'FNR == 2 && $7 > 0.5 { print $7 * 100, $8, $9; exit }' "$data"/sweep-*.csv \
    >"$data/stall.dat"
read -r _ _ stall_brake <"$data/stall.dat"

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
set yrange [-5:25]
set xrange [0:100]
set key top right
set datafile separator whitespace
plot "< awk -F, 'NR > 1 { print \$7 * 100, \$8 }' $data/runup-brake0.csv" using 1:2 with lines lc "gray" title "during the run-up with no brake", \
     "$data/steady.dat" using 1:2 with points pt 7 ps 1.2 lc "red" title "steady, brake raised by 0.5 every 100 s", \
     "$data/stall.dat" using 1:2 with points pt 5 ps 1.5 lc "black" title "stalled, at brake $stall_brake"
GNUPLOT
echo "make-docs.sh: wrote docs/figures/runup.png and docs/figures/torque-slip.png"
