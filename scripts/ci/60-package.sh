#!/usr/bin/env bash
# Builds the Debian package from the release build, checks what it holds and what it depends on,
# installs it with apt as a user would, runs both programs from the system's bin/, validates the
# menu entry, then removes the package and whatever it pulled in.
set -euo pipefail
cd "$(dirname "$0")/../.."

# dpkg-dev: dpkg-shlibdeps works out the package's dependencies. groff-base: checks the manual
# pages. desktop-file-utils: desktop-file-validate. file: CPack reads the programs with it.
bash scripts/deps.sh test dpkg-dev file groff-base desktop-file-utils

fail() {
    echo "60-package.sh: $*" >&2
    exit 1
}

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
apt_get() { "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -qq "$@"; }

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
installed_packages() {
    dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" {print $2}' | sort
}
installed korveline &&
    fail "a korveline package is already installed; remove it first (this step removes its own)"

for page in data/*.1; do
    warnings=$(groff -t -man -ww -z -Tutf8 "$page" 2>&1)
    [ -z "$warnings" ] || fail "$page: groff warns: $warnings"
done

cmake --preset release >/dev/null
cmake --build --preset release -j 2
out=build/release/package
rm -rf "$out"
cpack --config build/release/CPackConfig.cmake -G DEB -B "$out" >/dev/null
debs=("$out"/korveline_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    fail "expected one korveline_*.deb in $out"
fi
deb=$(realpath "${debs[0]}")
echo "built $deb"

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for path in ./usr/bin/korveline ./usr/bin/korveline-script \
    ./usr/share/applications/korveline.desktop \
    ./usr/share/man/man1/korveline.1.gz ./usr/share/man/man1/korveline-script.1.gz \
    ./usr/share/doc/korveline/copyright ./usr/share/doc/korveline/changelog.gz; do
    grep -qxF "$path" <<<"$contents" || fail "the package lacks $path"
done
for size in 16 32 48 64 128 256; do
    path=./usr/share/icons/hicolor/${size}x${size}/apps/korveline.png
    grep -qxF "$path" <<<"$contents" || fail "the package lacks $path"
done

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
depends_names=$(tr ',|' '\n' <<<"$depends" | awk '{print $1}')
for lib in libc6 libstdc++6 libsdl2-2.0-0 libpng16-16; do
    grep -qxF "$lib" <<<"$depends_names" || fail "Depends lacks $lib"
done
# GIF recordings are coded by the program itself.
if grep -qxF libgif7 <<<"$depends_names"; then fail "Depends names libgif7, which nothing uses"; fi
[ "$(dpkg-deb -f "$deb" Package)" = korveline ] || fail "the package is not named korveline"
maintainer=$(dpkg-deb -f "$deb" Maintainer)
grep -qE '^[^<>]+ <[^<>@ ]+@[^<>@ ]+>$' <<<"$maintainer" ||
    fail "Maintainer is not a name and an address: '$maintainer'"
[ "$(dpkg-deb -f "$deb" Version)" = "$(sed -n 's/^project(korveline VERSION \([0-9.]*\).*/\1/p' \
    CMakeLists.txt)" ] || fail "the package's version is not the project's"

before=$(installed_packages)
cleanup() {
    installed korveline && apt_get purge korveline >/dev/null
    # Remove only what installing the package brought in, so the machine is as it was.
    local pulled
    mapfile -t pulled < <(comm -13 <(echo "$before") <(installed_packages))
    [ ${#pulled[@]} -eq 0 ] || apt_get purge "${pulled[@]}" >/dev/null
}
trap cleanup EXIT
apt_get install "$deb" >/dev/null

check_version() {
    local program=$1 version
    version=$("/usr/bin/$program" --version) || fail "$program --version failed"
    grep -qx "$program [0-9.]*" <<<"$version" || fail "$program --version printed '$version'"
}
check_version korveline
check_version korveline-script
# No error, no warning, no hint.
validation=$(desktop-file-validate /usr/share/applications/korveline.desktop 2>&1)
[ -z "$validation" ] || fail "desktop-file-validate: $validation"
zcat /usr/share/doc/korveline/changelog.gz | head -n1 | grep -q "^korveline ($(dpkg-deb -f "$deb" Version)) " ||
    fail "changelog.gz does not start with this version"

# The installed script runner runs the simulation, not just its option parsing.
state=$(printf 'tick 9\nstate\n' | /usr/bin/korveline-script) || fail "korveline-script failed"
grep -q '^{"tick":10,' <<<"$state" || fail "korveline-script does not run the simulation"

cleanup
trap - EXIT
installed korveline && fail "korveline is still installed"
echo "package OK: $(basename "$deb")"
