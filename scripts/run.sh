#!/usr/bin/env bash
# Installs what is missing, builds KORVELINE's programs (no tests) and opens the simulation in a
# window; the program's exit code is this script's. Without a display, scripts/demo.sh draws the
# same program into build/demo.png. The build folder, build/app, also packages: after this,
# `cpack --config build/app/CPackConfig.cmake -G DEB` makes the .deb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
cmake --preset app >/dev/null
cmake --build --preset app -j 2
exec build/app/tools/korveline/korveline "$@"
