#!/usr/bin/env bash
# Installs what is missing, builds KORVELINE and opens it in a window. Without a display, try
# scripts/demo.sh, which draws the same program into build/demo.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset release
cmake --build --preset release -j 2 --target korveline
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set);" \
         "bash scripts/demo.sh draws the demo into build/demo.png instead" >&2
fi
exec build/release/tools/korveline/korveline "$@"
