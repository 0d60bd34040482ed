#!/usr/bin/env bash
# Benchmarks a Tick beside its floor (filling the central disc) and its peer (cairo drawing the
# same primitives), and korveline-script's Ticks per second, in the release build. Arguments go
# to the benchmark, e.g. --benchmark_repetitions=5 --benchmark_filter='Tick|Floor|Cairo|Headless'.
# With --wasm first, also the same Ticks in WebAssembly under node beside native ones (needs
# emscripten and node: installed here), in the page's code: the web build's korveline-script links
# the page's compiled application and platform with its optimisation and ASYNCIFY options.
# KORVELINE_BENCH_ROUNDS sets the alternating rounds (5). Timings are for reading, never
# asserted; on a shared machine compare the ratios of one run.
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
# the native one, so that both see the same load. Each also runs the script with a single Tick:
# what the long run takes beyond it is its Ticks' own, without node's start-up and the
# compilation of the WebAssembly (which the page pays once, before its first frame).
command -v emcc >/dev/null || bash scripts/deps.sh run emscripten
command -v node >/dev/null || bash scripts/deps.sh run nodejs
export NODE_PATH=/usr/share/nodejs
cmake --preset web >/dev/null
cmake --build --preset web -j 2 --target korveline_script_node
rounds=${KORVELINE_BENCH_ROUNDS:-5}
one=$(mktemp)
trap 'rm -f "$script" "$one"' EXIT
printf 'click left 25 25\nclick left 260 290\nclick left 80 290\ntick 1\n' >"$one"
wall() { # native|wasm, script: the run's wall-clock seconds
    local start end
    start=$(date +%s.%N)
    case $1 in
    native) build/release/tools/korveline_script/korveline-script "$2" >/dev/null ;;
    wasm) node build/web/tools/korveline_web/korveline-script.js "$2" >/dev/null ;;
    esac
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}
declare -A runs
for ((round = 1; round <= rounds; round++)); do
    for name in native wasm; do
        runs[$name]+="$(wall $name "$script") "
        runs[$name-one]+="$(wall $name "$one") "
    done
done
summary() { # seconds, separated by spaces, on stdin: median, min and max
    tr ' ' '\n' | grep . | sort -g | awk '{ v[NR] = $1 } END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.3f %.3f %.3f\n", m, v[1], v[NR] }'
}
echo "$ticks Ticks, $rounds rounds alternating (wall seconds: median, min-max; node $(node --version)):"
read -r nm nlo nhi <<<"$(summary <<<"${runs[native]}")"
read -r n1 _ _ <<<"$(summary <<<"${runs[native-one]}")"
read -r wm wlo whi <<<"$(summary <<<"${runs[wasm]}")"
read -r w1 _ _ <<<"$(summary <<<"${runs[wasm-one]}")"
awk -v nm="$nm" -v nlo="$nlo" -v nhi="$nhi" -v n1="$n1" -v wm="$wm" -v wlo="$wlo" -v whi="$whi" \
    -v w1="$w1" 'BEGIN {
    printf "  native       %.2f s (%.2f-%.2f), of which start-up and 1 Tick %.2f s\n", nm, nlo, nhi, n1
    printf "  WebAssembly  %.2f s (%.2f-%.2f), of which start-up and 1 Tick %.2f s\n", wm, wlo, whi, w1
    printf "  WebAssembly / native: %.2f for the whole run, %.2f for the Ticks alone\n",
           wm / nm, (wm - w1) / (nm - n1) }'
