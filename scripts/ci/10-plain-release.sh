#!/usr/bin/env bash
# The build a packager makes: plain CMake, CMAKE_BUILD_TYPE=Release (-O3), no preset. Warnings are
# made errors here so that a new one fails CI, although such a build only reports them by default.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/deps.sh test make
cmake -B build/plain-release -DCMAKE_BUILD_TYPE=Release -DKORVELINE_WERROR=ON >/dev/null
cmake --build build/plain-release -j 2 >build/plain-release.log 2>&1 || {
    tail -50 build/plain-release.log
    echo "10-plain-release.sh: the -O3 build failed (whole log: build/plain-release.log)" >&2
    exit 1
}
echo "plain Release (-O3) build: no warning"
