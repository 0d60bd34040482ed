#!/usr/bin/env bash
# Installs the Debian 12 packages KORVELINE needs, when they are missing:
#   deps.sh run [PACKAGE...]    what building the programs needs (scripts/run.sh)
#   deps.sh test [PACKAGE...]   that, plus what the test suite needs (scripts/test.sh)
# plus any packages named after the set, for the checks in scripts/ci/ that need more.
# Works as root or through sudo; on a machine that has them all it does nothing.
set -euo pipefail

# libx11-dev and libxext-dev (which libsdl2-dev pulls in anyway): the window on X11 is drawn
# through Xlib and its shared-memory extension directly.
run=(g++ cmake ninja-build pkg-config libpng-dev zlib1g-dev libsdl2-dev libx11-dev libxext-dev)
# xdg-user-dirs: the desktop tests give korveline a pictures folder through xdg-user-dir.
# libgif-dev: the tests play recordings back with giflib, a decoder independent of ours.
# openbox: a small window manager, for the full-screen tests with one; x11-utils: xprop, which
# tells when it manages windows.
test=("${run[@]}" git clang-format libgtest-dev libbenchmark-dev xvfb xdotool imagemagick
      xdg-user-dirs libgif-dev openbox x11-utils)

case ${1:-} in
run) packages=("${run[@]}") ;;
test) packages=("${test[@]}") ;;
*)
    echo "usage: deps.sh run|test [PACKAGE...]" >&2
    exit 2
    ;;
esac
shift
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "deps.sh: run as root, or install sudo" >&2; exit 1; }
    as_root=(sudo)
fi
echo "deps.sh: installing ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
