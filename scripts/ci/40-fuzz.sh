#!/usr/bin/env bash
# CI: the libFuzzer targets (preset fuzz: clang, AddressSanitizer and UBSan), each from its seed
# corpus in fuzz/corpus/, on the two cores for 60 s: run_script on one for the whole time; on the
# other, parse_script for half of it, then page_address (the page's address reader) for the
# rest. New inputs go to build/fuzz/corpus/ (the seeds in the repository stay as they are); a
# crash leaves its input in build/fuzz/crashes/ and fails the step.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/deps.sh test clang libclang-rt-14-dev
cmake --preset fuzz
cmake --build --preset fuzz -j 2

seconds=${KORVELINE_FUZZ_SECONDS:-60}
half=$(((seconds + 1) / 2))
mkdir -p build/fuzz/crashes

# fuzz TARGET DICTIONARY SECONDS
fuzz() {
    local target=$1 dict=$2 time=$3
    rm -rf "build/fuzz/corpus/$target"
    mkdir -p "build/fuzz/corpus/$target"
    "build/fuzz/fuzz/${target}_fuzzer" -dict="$dict" -max_total_time="$time" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="build/fuzz/crashes/$target-" \
        "build/fuzz/corpus/$target" "fuzz/corpus/$target" >"build/fuzz/$target.log" 2>&1
}

pids=()
fuzz run_script fuzz/script.dict "$seconds" &
pids+=($!)
(
    status=0
    fuzz parse_script fuzz/script.dict "$half" || status=1
    fuzz page_address fuzz/address.dict "$((seconds - half > 0 ? seconds - half : 1))" || status=1
    exit "$status"
) &
pids+=($!)
status=0
for pid in "${pids[@]}"; do
    wait "$pid" || status=1
done
for target in parse_script run_script page_address; do
    echo "-- ${target}_fuzzer"
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)' \
        "build/fuzz/$target.log" || true
    if grep -qE '^==[0-9]+==ERROR|^SUMMARY|deadly signal|fuzz check failed' "build/fuzz/$target.log"; then
        tail -n 60 "build/fuzz/$target.log"
        status=1
    fi
done
exit "$status"
