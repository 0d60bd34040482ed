#!/usr/bin/env bash
# Windows: korveline.exe cross-built with mingw-w64 (a static GUI exe importing system DLLs only)
# and its ZIP, then checked on a real Win32 implementation, Wine 8 on a private Xvfb:
#   - smoke test: start the exe, click ALIM and the brake, check the screen, close, exit code 0;
#   - the whole scene against korveline-script's snapshot after the same actions;
#   - the table of GDI primitives (tools/gdi_conformance) against our layer.
# With KORVELINE_RECORD=1 the Wine dump of the table is stored as the tests' reference.
set -euo pipefail
cd "$(dirname "$0")/../.."
# shellcheck source=scripts/private-xvfb.sh
source scripts/private-xvfb.sh

bash scripts/deps.sh test g++-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev wine wine64 fonts-wine xvfb \
    xdotool imagemagick emscripten

fail() {
    echo "50-windows.sh: $*" >&2
    exit 1
}
started=$(date +%s)

# The exe, its imports and the ZIP, which carries the page beside the exe.
cmake --preset web >/dev/null
cmake --build --preset web -j 2 --target korveline_page
cmake --preset windows >/dev/null
cmake --build --preset windows -j 2
cmake --build --preset windows --target package >/dev/null
exe=build/windows/korveline.exe
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || fail "$exe is not a GUI program"
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '[:lower:]' '[:upper:]' | sort)
for dll in $dlls; do
    case $dll in
    KERNEL32.DLL | USER32.DLL | GDI32.DLL | MSVCRT.DLL) ;;
    *) fail "$exe imports $dll" ;;
    esac
done
echo "korveline.exe: $(stat -c %s "$exe") bytes, imports $(tr '\n' ' ' <<<"$dlls")"
zip=build/windows/korveline-0.1.0-windows-x64.zip
contents=$(cmake -E tar tf "$zip")
for file in korveline.exe index.html LISEZ-MOI.txt LICENSE.txt; do
    grep -qx "korveline-0.1.0-windows-x64/$file" <<<"$contents" || fail "$zip lacks $file"
done

# Our side: the same table and scenes on our layer (the release build, or KORVELINE_LINUX_BUILD).
linux=${KORVELINE_LINUX_BUILD:-build/release}
[ -n "${KORVELINE_LINUX_BUILD:-}" ] || cmake --preset release >/dev/null
cmake --build "$linux" -j 2 --target korveline-script gdi-conformance gdi-compare scene-compare \
    windows_tests
built=$(date +%s)

# A private display and a fresh Wine prefix. Without a window manager Wine draws the frame and
# caption itself; "Managed"=N, set before the program's first start, keeps it from waiting 2 s at
# every window's end for a manager that never answers.
work=$PWD/build/windows/wine-checks
rm -rf "$work"
mkdir -p "$work"
xvfb_pid=
wine_pid=
cleanup() {
    [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null
    [ -d "$work/prefix" ] && WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    return 0
}
trap cleanup EXIT
start_private_xvfb "$work" || fail "Xvfb did not start"
# Wine finds its fonts through fontconfig, so by default it draws text with whatever fonts the host
# has (DejaVu on one machine, Noto on another) and the text cells change width from host to host.
# A private fontconfig that sees only Wine's own fonts (fonts-wine) makes every host draw the same.
cat >"$work/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>/usr/share/wine/fonts</dir>
  <cachedir>$work/fontconfig-cache</cachedir>
</fontconfig>
EOF
export FONTCONFIG_FILE=$work/fonts.conf
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>"$work/wineboot.log" ||
    fail "wine could not set up its prefix: $(cat "$work/wineboot.log")"
booted=$(date +%s)

shot() { import -window "$window" "$work/$1"; }
# The colours of client pixels (x, y) of a screenshot, one hex RRGGBB a line.
colours_at() {
    local picture=$1 geometry=$2
    convert "$work/$picture" -crop "$geometry" +repage txt:- | sed -n 's/.* #\([0-9A-F]\{6\}\).*/\1/p'
}
ours() { # ours NAME SCRIPT: korveline-script's snapshot after the script
    printf '%s\nsnapshot %s\n' "$2" "$work/$1" | "$linux/tools/korveline_script/korveline-script" - \
        >/dev/null
}
compare_scene() { # compare_scene [--still] SCREENSHOT SNAPSHOT: every compared pixel the same
    local report
    report=$("$linux/tools/gdi_conformance/scene-compare" "$@" "$work/differences.png" 2>&1) ||
        fail "scene-compare: $report"
    echo "$report" | sed -n '1,2p'
    grep -q '(100.0000 %)' <<<"$report" || fail "the scene differs from Wine's: $report"
}

# Smoke test and the whole scene.
(cd "$work" && exec wine "$PWD/../korveline.exe") &
wine_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^KORVELINE$' | head -1) ||
    fail "no KORVELINE window"
sleep 1
shot start.png
ours ours-start.png ""
origin=$("$linux/tools/gdi_conformance/scene-compare" "$work/start.png" "$work/ours-start.png" |
    sed -n 's/^client origin in the screenshot: //p')
read -r ox oy <<<"$origin"
eval "$(xdotool getwindowgeometry --shell "$window")" # X, Y, WIDTH, HEIGHT
click() { xdotool mousemove --sync $((X + ox + $1)) $((Y + oy + $2)) click 1; sleep 0.5; }
echo "start-up:"
compare_scene "$work/start.png" "$work/ours-start.png"
colours_at start.png "36x16+$((ox + 10))+$((oy + 15))" | grep -q FF0000 ||
    fail "the ALIM label is not red at start-up"

click 250 465 # the brake: torque 0.5, its line from y = 180 up to y = 176
shot brake.png
[ "$(colours_at brake.png "319x1+$((ox + 461))+$((oy + 176))" | sort -u)" = 000000 ] ||
    fail "no brake line at y = 176"
ours ours-brake.png "click left 250 465"
echo "after one click on the brake:"
compare_scene "$work/brake.png" "$work/ours-brake.png"
# With the supply off nothing moves: after a Tick ours shows the rotor and the point too.
ours ours-brake-tick.png "click left 250 465
tick"
echo "the same, with the central disc and the operating point:"
compare_scene --still "$work/brake.png" "$work/ours-brake-tick.png"

click 25 25 # ALIM: supply on, the label turns green
shot alim.png
label=$(colours_at alim.png "36x16+$((ox + 10))+$((oy + 15))")
grep -q 00FF00 <<<"$label" || fail "the ALIM label did not turn green"
! grep -q FF0000 <<<"$label" || fail "the ALIM label is still partly red"

# Close with the close box of the caption Wine draws: the top right corner of the window.
xdotool mousemove --sync $((X + WIDTH - 15)) $((Y + 12)) click 1
status=0
timeout 15 tail --pid="$wine_pid" -f /dev/null || fail "the window did not close"
wait "$wine_pid" || status=$?
wine_pid=
[ "$status" -eq 0 ] || fail "korveline.exe ended with exit code $status"
echo "smoke test passed: ALIM turns green, brake line at y = 176, exit code 0"
smoked=$(date +%s)

# The table of primitives: GDI (Wine) against our layer.
(cd "$work" && wine "$PWD/../tools/gdi_conformance/gdi-conformance.exe" wine.dump) ||
    fail "gdi-conformance.exe failed"
"$linux/tools/gdi_conformance/gdi-conformance" "$work/ours.dump"
echo "identical pixels per primitive, Wine against ours:"
"$linux/tools/gdi_conformance/gdi-compare" "$work/wine.dump" "$work/ours.dump"
if [ "${KORVELINE_RECORD:-}" = 1 ]; then
    gzip -9 -n -c "$work/wine.dump" >tests/windows/gdi_wine.dump.gz
    echo "recorded tests/windows/gdi_wine.dump.gz"
fi
KORVELINE_GDI_REFERENCE=$work/wine.dump "$linux/tests/windows_tests" >"$work/windows_tests.log" ||
    fail "our layer differs from Wine's GDI: $(cat "$work/windows_tests.log")"
finished=$(date +%s)

echo "time: builds $((built - started)) s, Wine prefix $((booted - built)) s, smoke test and" \
    "scene $((smoked - booted)) s, table $((finished - smoked)) s; Wine checks" \
    "$((finished - built)) s"
