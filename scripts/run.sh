#!/usr/bin/env bash
# Installs what is missing, builds KORVELINE and opens it in a window. Without a display, try
# scripts/demo.sh, which draws the same program into build/demo.png.
#   bash scripts/run.sh --web [PORT]   builds the web page instead and serves it on 127.0.0.1
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--web" ]; then
    port=${2:-8000}
    bash scripts/deps.sh emscripten
    cmake --preset web
    cmake --build --preset web -j 2
    echo "run.sh: KORVELINE at http://127.0.0.1:$port/ (or open build/web/site/index.html" \
         "directly); Ctrl-C stops the server"
    exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web/site
fi
bash scripts/deps.sh
cmake --preset release
cmake --build --preset release -j 2 --target korveline
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set);" \
         "bash scripts/demo.sh draws the demo into build/demo.png instead" >&2
fi
exec build/release/tools/korveline/korveline "$@"
