#!/usr/bin/env bash
# Installs what is missing, builds KORVELINE and runs every test: the main suite, then each further
# check in scripts/ci/ (each installs what it needs).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
cmake --preset release
cmake --build --preset release -j 2
ctest --preset release
for step in scripts/ci/*.sh; do
    [ -e "$step" ] || continue
    echo "== $step"
    bash "$step"
done
