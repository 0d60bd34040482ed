#!/usr/bin/env bash
# Benchmarks a Tick beside its floor (filling the central disc) and its peer (cairo drawing the
# same primitives), and korveline-script's Ticks per second, in the release build. Arguments go
# to the benchmark, e.g. --benchmark_repetitions=5 --benchmark_filter='Tick|Floor|Cairo|Headless'.
# Timings are for reading, never asserted; on a shared machine compare the ratios of one run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh libcairo2-dev
cmake --preset release >/dev/null
cmake --build --preset release -j 2 --target korveline_bench korveline-script
build/release/bench/korveline_bench "$@"

# The program itself, as a user runs it: 100,000 Ticks with everything shown, timed from outside.
ticks=100000
script=$(mktemp)
trap 'rm -f "$script"' EXIT
printf 'click left 25 25\nclick left 260 290\nclick left 80 290\ntick %d\n' "$ticks" >"$script"
start=$(date +%s.%N)
build/release/tools/korveline_script/korveline-script "$script"
end=$(date +%s.%N)
awk -v n="$ticks" -v a="$start" -v b="$end" \
    'BEGIN { printf "korveline-script binary: %d Ticks in %.2f s wall, %.0f Ticks per second\n", n, b - a, n / (b - a) }'
