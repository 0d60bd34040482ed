#!/usr/bin/env bash
# Benchmarks a Tick beside its floor (filling the central disc) and its peer (cairo drawing the
# same primitives), and korveline-script's Ticks per second, in the release build. Arguments go
# to the benchmark, e.g. --benchmark_repetitions=5 --benchmark_filter='Tick|Floor|Cairo|Headless'.
# With --wasm first, also the same Ticks in WebAssembly under node beside native ones (needs
# emscripten and node: installed here). Timings are for reading, never asserted; on a shared
# machine compare the ratios of one run.
set -euo pipefail
cd "$(dirname "$0")/.."
wasm=0
if [ "${1:-}" = --wasm ]; then
    wasm=1
    shift
fi
bash scripts/deps.sh test libcairo2-dev
cmake --preset release >/dev/null
cmake --build --preset release -j 2 --target korveline_bench korveline-script
build/release/bench/korveline_bench "$@"

# The program itself, as a user runs it: 100,000 Ticks with everything shown, timed from outside.
ticks=100000
script=$(mktemp)
trap 'rm -f "$script"' EXIT
printf 'click left 25 25\nclick left 260 290\nclick left 80 290\ntick %d\n' "$ticks" >"$script"
timed() { # label, command...: prints the Ticks per second of one run
    local label=$1 start end
    shift
    start=$(date +%s.%N)
    "$@" "$script" >/dev/null
    end=$(date +%s.%N)
    awk -v l="$label" -v n="$ticks" -v a="$start" -v b="$end" \
        'BEGIN { printf "%s: %d Ticks in %.2f s wall, %.0f Ticks per second\n", l, n, b - a, n / (b - a) }'
}
timed "korveline-script binary" build/release/tools/korveline_script/korveline-script
[ "$wasm" = 1 ] || exit 0

# The same run in WebAssembly (the web build's korveline-script, under node), alternating with
# the native one three times, so that both see the same load.
command -v emcc >/dev/null || bash scripts/deps.sh run emscripten
command -v node >/dev/null || bash scripts/deps.sh run nodejs
export NODE_PATH=/usr/share/nodejs
cmake --preset web >/dev/null
cmake --build --preset web -j 2 --target korveline_script_node
for _ in 1 2 3; do
    timed "native" build/release/tools/korveline_script/korveline-script
    timed "wasm (node $(node --version))" node build/web/tools/korveline_web/korveline-script.js
done
