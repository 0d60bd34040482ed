#!/usr/bin/env bash
# CI: the whole test suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer (clang,
# preset asan, -fno-sanitize-recover: any report fails its test). Nothing is left out.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/deps.sh test clang libclang-rt-14-dev
cmake --preset asan
cmake --build --preset asan -j 2
ctest --preset asan
