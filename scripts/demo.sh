#!/usr/bin/env bash
# Installs what is missing, builds KORVELINE and runs it without a display on the demo script:
# the supply switched on, the rotating field and the forces shown, the run-up traced on the plot.
# The picture is written to build/demo.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
cmake --preset app >/dev/null
cmake --build --preset app -j 2 --target korveline-script
mkdir -p build
build/app/tools/korveline_script/korveline-script examples/demo.kvs
echo "Wrote build/demo.png"
