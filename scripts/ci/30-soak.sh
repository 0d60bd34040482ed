#!/usr/bin/env bash
# CI: the soak. korveline-script plays a generated script (tools/soak, fixed seed): a click every 1
# to 7 Ticks at random positions in, around and far outside the window (both buttons, -32768 to
# 65535), exposes of random rectangles, and resizes from 0 x 0 to 8192 x 8192 and back.
#   - 10^5 Ticks under AddressSanitizer and UBSan (preset asan; 10^6 there would take some 18 minutes);
#   - 10^5 and 10^6 Ticks in the release build, whose peak resident memory must agree within 5 %.
# Every run must exit 0, write nothing to standard error and end with a finite state.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/deps.sh test time clang libclang-rt-14-dev
cmake --preset release >/dev/null
cmake --build --preset release -j 2 --target korveline-script korveline-soak-script
cmake --preset asan >/dev/null
cmake --build --preset asan -j 2 --target korveline-script

out=build/soak
mkdir -p "$out"
seed=20260101
generate=build/release/tools/soak/korveline-soak-script
"$generate" 100000 "$seed" >"$out/soak-1e5.kvs" 2>"$out/soak-1e5.summary"
"$generate" 1000000 "$seed" >"$out/soak-1e6.kvs" 2>"$out/soak-1e6.summary"
cat "$out/soak-1e5.summary" "$out/soak-1e6.summary"

# korveline-script holds the whole parsed script in memory (it checks every line before running
# any), some 100 bytes a line: 50 MB more for the longer script. So that the two peaks compare what
# the program itself holds, the 10^5-Tick script is padded after its final `state` with `pixel`
# reads (which draw nothing) to as many lines as the 10^6-Tick one.
lines_1e5=$(wc -l <"$out/soak-1e5.kvs")
lines_1e6=$(wc -l <"$out/soak-1e6.kvs")
cp "$out/soak-1e5.kvs" "$out/soak-1e5-padded.kvs"
awk -v n="$((lines_1e6 - lines_1e5))" 'BEGIN { for (i = 0; i < n; i++) print "pixel 100 100" }' \
    >>"$out/soak-1e5-padded.kvs"

# soak NAME PROGRAM SCRIPT: runs it under GNU time; prints the peak RSS in kB.
soak() {
    local name=$1 program=$2 script=$3
    local start=$SECONDS
    if ! /usr/bin/time -v -o "$out/$name.time" "$program" "$script" >"$out/$name.out" \
        2>"$out/$name.err"; then
        echo "soak $name: failed" >&2
        tail -n 40 "$out/$name.err" >&2
        return 1
    fi
    if [ -s "$out/$name.err" ]; then
        echo "soak $name: standard error is not empty" >&2
        head -n 40 "$out/$name.err" >&2
        return 1
    fi
    local state
    state=$(grep '^{"tick":' "$out/$name.out" | tail -n 1)
    if [ -z "$state" ] || [[ "$state" == *null* ]]; then
        echo "soak $name: no final state, or a value that is not finite: $state" >&2
        return 1
    fi
    local rss
    rss=$(sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): //p' "$out/$name.time")
    echo "soak $name: $((SECONDS - start)) s, peak RSS $rss kB, ${state:0:40}..." >&2
    echo "$rss"
}

# The sanitized run on one core while the release runs take the other.
soak asan-1e5 build/asan/tools/korveline_script/korveline-script "$out/soak-1e5.kvs" >/dev/null &
asan_run=$!
rss_1e5=$(soak release-1e5 build/release/tools/korveline_script/korveline-script \
    "$out/soak-1e5-padded.kvs")
rss_1e6=$(soak release-1e6 build/release/tools/korveline_script/korveline-script \
    "$out/soak-1e6.kvs")
wait "$asan_run"

echo "peak RSS: $rss_1e5 kB after 10^5 Ticks, $rss_1e6 kB after 10^6 Ticks"
if ((rss_1e6 * 100 > rss_1e5 * 105 || rss_1e6 * 100 < rss_1e5 * 95)); then
    echo "soak: peak RSS differs by more than 5 % between 10^5 and 10^6 Ticks" >&2
    exit 1
fi
