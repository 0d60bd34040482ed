#!/usr/bin/env bash
# CI: each libFuzzer target (preset fuzz: clang, AddressSanitizer and UBSan) runs for 60 s from its
# seed corpus in fuzz/corpus/, both at once (one core each). New inputs go to build/fuzz/corpus/
# (the seeds in the repository stay as they are); a crash leaves its input in build/fuzz/crashes/
# and fails the step.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/deps.sh test clang libclang-rt-14-dev
cmake --preset fuzz
cmake --build --preset fuzz -j 2

seconds=${KORVELINE_FUZZ_SECONDS:-60}
mkdir -p build/fuzz/crashes
pids=()
for target in parse_script run_script; do
    rm -rf "build/fuzz/corpus/$target"
    mkdir -p "build/fuzz/corpus/$target"
    "build/fuzz/fuzz/${target}_fuzzer" -dict=fuzz/script.dict -max_total_time="$seconds" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="build/fuzz/crashes/$target-" \
        "build/fuzz/corpus/$target" "fuzz/corpus/$target" >"build/fuzz/$target.log" 2>&1 &
    pids+=($!)
done
status=0
for pid in "${pids[@]}"; do
    wait "$pid" || status=1
done
for target in parse_script run_script; do
    echo "-- ${target}_fuzzer"
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)' \
        "build/fuzz/$target.log" || true
    if grep -qE '^==[0-9]+==ERROR|^SUMMARY|deadly signal|fuzz check failed' "build/fuzz/$target.log"; then
        tail -n 60 "build/fuzz/$target.log"
        status=1
    fi
done
exit "$status"
