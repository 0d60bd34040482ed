#!/usr/bin/env bash
# The web page: builds build/web/site/ with emscripten and checks its size, drives it in the
# system's headless Chromium through the DevTools protocol (tests/web/browser_test.mjs: file:// and
# http://127.0.0.1, mouse, touch, pause and step, 20 Ticks a second, language switch, downloads,
# readout; the CSV compared with the native korveline-script's trace; tests/web/sound_keys_test.mjs:
# the sound, the single-key shortcuts turned off, the keys' list in the buttons' language), reports what the page costs
# the main thread (tests/web/perf_report.mjs: first frame, share of the main thread busy, also on a
# CPU six times slower, where it must still keep 20 Ticks a second), then runs the same scripted
# sessions through korveline-script natively and in WebAssembly under node and compares the state
# and the pictures (tests/web/compare_native.mjs). Screenshots and numbers go to build/web/.
set -euo pipefail
cd "$(dirname "$0")/../.."

# nodejs: Debian's, unless a node is already installed (some machines have one from elsewhere,
# with its own npm; Debian's npm would conflict with it).
extra=()
command -v node >/dev/null || extra+=(nodejs)
command -v npm >/dev/null || extra+=(npm)
bash scripts/deps.sh test emscripten chromium "${extra[@]}"

fail() {
    echo "70-web.sh: $*" >&2
    exit 1
}
started=$(date +%s)

# The browser driver, at the versions the lock file names; it downloads no browser.
(cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error) ||
    fail "npm could not install tests/web's packages"

cmake --preset web >/dev/null
cmake --build --preset web -j 2
cmake --build --preset web -j 2 --target korveline_script_node
cmake --preset release >/dev/null
cmake --build --preset release -j 2 --target korveline-script

site=build/web/site
[ -f "$site/index.html" ] || fail "the web build wrote no $site/index.html"
echo "site:"
(cd "$site" && find . -type f -printf '  %p %s bytes\n')
total=$(find "$site" -type f -printf '%s\n' | awk '{s += $1} END {print s}')
echo "  total $total bytes"
[ "$total" -le $((300 * 1024)) ] || fail "the site is $total bytes, over its 300 KB budget"

node tests/web/browser_test.mjs "$site" build/web/browser \
    build/release/tools/korveline_script/korveline-script || fail "browser checks failed"
node tests/web/sound_keys_test.mjs "$site" || fail "sound or key option checks failed"
node tests/web/perf_report.mjs "$site" build/web/perf ||
    fail "the page does not keep 20 Ticks a second on a CPU six times slower"
node tests/web/compare_native.mjs build/release/tools/korveline_script/korveline-script \
    build/web/tools/korveline_web/korveline-script.js build/web/compare ||
    fail "the WebAssembly build does not give the native build's results"
echo "web OK in $(($(date +%s) - started)) s"
