#!/usr/bin/env bash
# Installs what is missing, builds KORVELINE's programs (no tests) and opens the simulation in a
# window; the program's exit code is this script's. Without a display, scripts/demo.sh draws the
# same program into build/demo.png. The build folder, build/app, also packages: after this,
# `cpack --config build/app/CPackConfig.cmake -G DEB` makes the .deb.
#   bash scripts/run.sh --web [PORT]   builds the web page instead and serves it on 127.0.0.1
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--web" ]; then
    port=${2:-8000}
    bash scripts/deps.sh run emscripten python3
    cmake --preset web >/dev/null
    cmake --build --preset web -j 2
    echo "run.sh: KORVELINE at http://127.0.0.1:$port/ (or open build/web/site/index.html" \
         "directly); Ctrl-C stops the server"
    exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web/site
fi
bash scripts/deps.sh run
cmake --preset app >/dev/null
cmake --build --preset app -j 2
exec build/app/tools/korveline/korveline "$@"
