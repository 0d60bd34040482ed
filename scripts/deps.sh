#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing KORVELINE needs, when they are missing,
# plus any packages named as arguments (for the steps that need more).
# Works as root or through sudo; on a machine that has them all it does nothing.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config git clang-format libpng-dev libgif-dev zlib1g-dev libgtest-dev
          libbenchmark-dev libsdl2-dev xvfb xdotool imagemagick "$@")

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
