#!/usr/bin/env bash
# Draws docs/starting-currents.png: the line current against time for each starting method, side
# by side, from rest under brake 5 (half the rated torque), from korveline-script's traces. The
# line current is what a clamp meter shows: the RMS over one 50 Hz cycle (100 Ticks) of a turn's
# current (the stator's follow the rotor's), divided by sqrt(3) while the coils are in star, in
# units of the rated current (the readout's at T_N, brake 10).
#
#   bash scripts/make-starting-currents.sh [KORVELINE-SCRIPT]
set -euo pipefail
cd "$(dirname "$0")/.."
script=${1:-build/release/tools/korveline_script/korveline-script}
bash scripts/deps.sh test gnuplot-nox
if [ ! -x "$script" ]; then
    cmake --preset release >/dev/null
    cmake --build --preset release -j 2 --target korveline-script
    script=build/release/tools/korveline_script/korveline-script
fi
data=build/docs/starting
mkdir -p "$data"

# A turn's current at the rated point (T_N, brake 10), as activity 13 gives it.
rated=97.6359

for start in direct star-delta soft vf rotor; do
    {
        for _ in $(seq 10); do echo "click left 250 465"; done
        echo "lab start=$start switch_time=1"
        echo "click left 25 25"
        echo "trace $data/$start.csv"
        echo "tick 10000"
    } | "$script" - >/dev/null
    # Columns: 1 tick, 13-15 the turns' currents; start_stage found by name in the header.
    awk -F, -v rated="$rated" -v star="$([ "$start" = star-delta ] && echo 1 || echo 0)" '
        NR == 1 { for (c = 1; c <= NF; c++) if ($c == "start_stage") stage = c; next }
        {
            square = 2 * ($13 * $13 + $14 * $14 + $15 * $15) / 3
            if (star && $stage == 1) square /= 3
            n = NR - 2
            sum += square - ring[n % 100]
            ring[n % 100] = square
            if (n % 10 == 0) print n * 0.2, sqrt((sum > 0 ? sum : 0) / 100) / rated
        }' "$data/$start.csv" >"$data/$start.dat"
done

gnuplot <<GNUPLOT
set terminal pngcairo size 1400,420 font ",11" noenhanced
set output "docs/starting-currents.png"
set multiplot layout 1,5 title "Line current during the start, from rest under half the rated torque (RMS over a 50 Hz cycle; time in ms of the motor's time)"
set grid
set xrange [0:2000]
set yrange [0:4.2]
set xtics 500
set xlabel "ms since switching on"
set ylabel "line current (times the rated current)"
set key off
set title "direct on line"
plot "$data/direct.dat" using 1:2 with lines lw 2 lc "black"
unset ylabel
set title "star-delta (delta at 1 s)"
plot "$data/star-delta.dat" using 1:2 with lines lw 2 lc "blue"
set title "soft starter (40 % to 100 % in 1 s)"
plot "$data/soft.dat" using 1:2 with lines lw 2 lc "dark-green"
set title "V/f drive (0 to 50 Hz in 1 s)"
plot "$data/vf.dat" using 1:2 with lines lw 2 lc "dark-orange"
set title "rotor resistance (x4, 3 steps)"
plot "$data/rotor.dat" using 1:2 with lines lw 2 lc "red"
unset multiplot
GNUPLOT
echo "make-starting-currents.sh: wrote docs/starting-currents.png"
