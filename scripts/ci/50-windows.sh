#!/usr/bin/env bash
# Windows: korveline.exe cross-built with mingw-w64 (a static GUI exe importing system DLLs only),
# the witness korveline-gdi.exe (the application on the real <windows.h> and GDI) and the ZIP, then
# checked on a real Win32 implementation, Wine 8 on a private Xvfb:
#   - the witness: start it, click ALIM and the brake, check the screen, close, exit code 0; the
#     whole scene against korveline-script's snapshot after the same actions; the table of GDI
#     primitives (tools/gdi_conformance) against our layer;
#   - korveline.exe, the program: its whole picture, text included, against korveline-script's
#     snapshot at start and after a click; then Space (the badge), a click on ALIM, I (the readout)
#     and F2 (the laboratory panel) against the Linux window (tools/korveline) on the same display
#     after the same keys and clicks, pixel for pixel; F12's picture in the Pictures folder; the
#     sound through the wave output (ALSA's file plugin); exit code 0 when closed.
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
witness=build/windows/korveline-gdi.exe
imports() { # imports EXE ALLOWED...: a GUI program importing these DLLs at most; prints its list
    local program=$1 headers dlls dll
    shift
    headers=$(x86_64-w64-mingw32-objdump -p "$program")
    grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || fail "$program is not a GUI program"
    dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '[:lower:]' '[:upper:]' | sort)
    for dll in $dlls; do
        [[ " $* " == *" $dll "* ]] || fail "$program imports $dll"
    done
    echo "$(basename "$program"): $(stat -c %s "$program") bytes, imports $(tr '\n' ' ' <<<"$dlls")"
}
system_dlls=(KERNEL32.DLL USER32.DLL GDI32.DLL MSVCRT.DLL)
# The program also plays sound (WINMM), and asks for its command line and the Pictures folder
# (SHELL32, OLE32 to free what SHELL32 hands back).
imports "$exe" "${system_dlls[@]}" WINMM.DLL SHELL32.DLL OLE32.DLL
imports "$witness" "${system_dlls[@]}"
zip=build/windows/korveline-0.1.0-windows-x64.zip
contents=$(cmake -E tar tf "$zip")
for file in korveline.exe index.html LISEZ-MOI.txt LICENSE.txt; do
    grep -qx "korveline-0.1.0-windows-x64/$file" <<<"$contents" || fail "$zip lacks $file"
done
! grep -q 'korveline-gdi' <<<"$contents" || fail "$zip carries the witness"
unpacked=build/windows/zip-contents
rm -rf "$unpacked" && mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "../$(basename "$zip")")
cmp -s "$unpacked/korveline-0.1.0-windows-x64/korveline.exe" "$exe" ||
    fail "the ZIP's korveline.exe is not $exe"

# Our side: the same table and scenes on our layer (the release build, or KORVELINE_LINUX_BUILD).
linux=${KORVELINE_LINUX_BUILD:-build/release}
[ -n "${KORVELINE_LINUX_BUILD:-}" ] || cmake --preset release >/dev/null
cmake --build "$linux" -j 2 --target korveline-script gdi-conformance gdi-compare scene-compare \
    windows_tests korveline
built=$(date +%s)

# A private display and a fresh Wine prefix. Without a window manager Wine draws the frame and
# caption itself; "Managed"=N, set before the program's first start, keeps it from waiting 2 s at
# every window's end for a manager that never answers. A home of its own: the prefix's Pictures
# folder is a link to it, so that F12 writes there; and its ALSA default device is a file.
work=$PWD/build/windows/wine-checks
rm -rf "$work"
mkdir -p "$work/home"
xvfb_pid=
wine_pid=
linux_pid=
cleanup() {
    [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null
    [ -n "$linux_pid" ] && kill "$linux_pid" 2>/dev/null
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
cat >"$work/home/.asoundrc" <<EOF
pcm.!default { type file slave.pcm "null" file "$work/sound.raw" format "raw" }
EOF
export FONTCONFIG_FILE=$work/fonts.conf HOME=$work/home
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
# Where the client area starts in a screenshot of a window Wine framed: where the fixed parts of
# korveline-script's snapshot agree best.
find_origin() { # find_origin SCREENSHOT SNAPSHOT: sets ox, oy
    local origin
    origin=$("$linux/tools/gdi_conformance/scene-compare" "$work/$1" "$work/$2" |
        sed -n 's/^client origin in the screenshot: //p')
    read -r ox oy <<<"$origin"
}
# The number of pixels that differ between two pictures of the same size.
differing() { compare -metric AE "$work/$1" "$work/$2" null: 2>&1 || true; }
same_picture() { # same_picture A B WHAT: A and B pixel for pixel
    local n
    n=$(differing "$1" "$2")
    [ "$n" = 0 ] || fail "$3: $n pixels differ ($1 against $2)"
}
click() { xdotool mousemove --sync $((X + ox + $1)) $((Y + oy + $2)) click 1; sleep 0.5; }
# Keys as a user types them: the pointer over the picture (the instructions), the key to the
# window under it. Not --sync: a pointer already there never signals its arrival.
press() { xdotool mousemove $((X + ox + 600)) $((Y + oy + 540)) key "$1"; sleep 0.7; }
find_window() {
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^KORVELINE$' | head -1) ||
        fail "no KORVELINE window"
    eval "$(xdotool getwindowgeometry --shell "$window")" # X, Y, WIDTH, HEIGHT
}
# Closes a window Wine framed with the close box of its caption, at its top right corner, and
# waits for the program's end: exit code 0.
close_wine_window() {
    local status=0
    xdotool mousemove --sync $((X + WIDTH - 15)) $((Y + 12)) click 1
    timeout 15 tail --pid="$wine_pid" -f /dev/null || fail "the window did not close"
    wait "$wine_pid" || status=$?
    wine_pid=
    [ "$status" -eq 0 ] || fail "$1 ended with exit code $status"
}

# The witness, korveline-gdi.exe: the application on Wine's GDI. Its text is Wine's, so the scene
# is compared without the text cells.
(cd "$work" && exec wine "$PWD/../korveline-gdi.exe") &
wine_pid=$!
find_window
sleep 1
shot start.png
ours ours-start.png ""
find_origin start.png ours-start.png
echo "the witness at start-up:"
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
close_wine_window korveline-gdi.exe
echo "the witness passed: ALIM turns green, brake line at y = 176, exit code 0"
witnessed=$(date +%s)

# korveline.exe, the program: the picture is our platform's, so the whole client area is compared,
# text included. The same keys and clicks then go to the Linux window on the same display.
# shot_when NAME TEST [ARG...]: screenshots of the client area until `TEST ARG... NAME` holds and
# the picture holds still (two in a row alike: no frame caught half drawn); false after 50 tries.
client_shot() { import -window "$window" -crop "780x557+$ox+$oy" +repage "$work/$1"; }
settled_when() {
    local name=$1
    shift
    client_shot "$name"
    "$@" "$name" || return 1
    sleep 0.2
    client_shot again.png
    like "$name" again.png
}
shot_when() { wait_for settled_when "$@"; }
like() { [ "$(differing "$1" "$2")" = 0 ]; }
unlike() { ! like "$1" "$2"; }
alim_green() {
    local label
    label=$(colours_at "$1" 36x16+10+15)
    grep -q 00FF00 <<<"$label" && ! grep -q FF0000 <<<"$label"
}
box_at() { [ "$(colours_at "$3" "1x1+$1+$2")" = 303030 ]; } # box_at X Y NAME: a box's grey there
# wait_for TEST [ARG...]: until the test holds; false after 10 s.
wait_for() {
    local tries
    for tries in $(seq 50 -1 1); do
        "$@" && return 0
        [ "$tries" -gt 1 ] && sleep 0.2
    done
    return 1
}
# drive exe|linux: start-up, a click on the brake, Space, a click on ALIM (paused: nothing moves
# from then on), I, F2; a screenshot of the client area after each, WHO-STEP.png. The exe's must
# show what each step does; the Linux window's must be the exe's.
steps="start brake pause alim readout lab"
drive() {
    local who=$1 step
    find_window
    if [ "$who" = exe ]; then
        sleep 1
        shot exe-window.png
        find_origin exe-window.png ours-start.png
    else
        ox=0 oy=0
    fi
    for step in $steps; do
        case $step in
        brake) click 250 465 ;;
        pause) press space ;;
        alim) click 25 25 ;;
        readout) press i ;;
        lab) press F2 ;;
        esac
        if [ "$who" = linux ]; then
            shot_when "linux-$step.png" like "exe-$step.png" ||
                fail "the Linux window differs from korveline.exe after $step:" \
                    "$(differing "linux-$step.png" "exe-$step.png") pixels"
            continue
        fi
        case $step in
        start) shot_when exe-start.png like ours-tick.png ;;
        brake) shot_when exe-brake.png like ours-brake-tick.png ;;
        pause) shot_when exe-pause.png unlike exe-brake.png ;;
        alim) shot_when exe-alim.png alim_green ;;
        readout) shot_when exe-readout.png box_at 5 550 ;;
        lab) shot_when exe-lab.png box_at 774 550 ;;
        esac || fail "korveline.exe after $step: not as expected (see $work/exe-$step.png)"
    done
}
ours ours-tick.png "tick"
(cd "$work" && exec wine "$PWD/../korveline.exe") &
wine_pid=$!
drive exe
echo "korveline.exe: start-up and the brake as korveline-script draws them, pixel for pixel;" \
    "Space, ALIM, I and F2 act"

# F12: the picture, as korveline-script's after the same clicks, in the Pictures folder.
press F12
saved_picture() { saved=$(find "$work/home" -name 'korveline-*.png' | head -1) && [ -n "$saved" ]; }
wait_for saved_picture || fail "F12 saved no picture in the Pictures folder"
cp "$saved" "$work/exe-saved.png"
ours ours-alim.png "click left 250 465
tick
click left 25 25"
same_picture exe-saved.png ours-alim.png "the picture F12 saved"

# M with the motor running: the hum reaches the wave output, ALSA's file here.
press Escape # the laboratory panel closes
press space  # the run goes on
press m
heard() { [ "$(tr -d '\000' <"$work/sound.raw" 2>/dev/null | wc -c)" -gt 10000 ]; }
wait_for heard || fail "M played nothing: $(tr -d '\000' <"$work/sound.raw" | wc -c) bytes not 0"
press m
close_wine_window korveline.exe
echo "korveline.exe: F12's picture as korveline-script's, the hum played, exit code 0"

# The Linux window after the same keys and clicks: the same pixels, boxes and badge included.
"$linux/tools/korveline/korveline" >"$work/linux.log" 2>&1 &
linux_pid=$!
drive linux
kill "$linux_pid"
wait "$linux_pid" || true
linux_pid=
echo "korveline.exe: the Linux window's pixels after each step, pixel for pixel"
compared=$(date +%s)

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

echo "time: builds $((built - started)) s, Wine prefix $((booted - built)) s, the witness" \
    "$((witnessed - booted)) s, korveline.exe and the Linux window $((compared - witnessed)) s," \
    "table $((finished - compared)) s; Wine checks $((finished - built)) s"
