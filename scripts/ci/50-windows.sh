#!/usr/bin/env bash
# Windows: korveline.exe cross-built with mingw-w64 (a static GUI exe importing system DLLs only),
# the witness korveline-gdi.exe (the application on the real <windows.h> and GDI) and the ZIP, then
# checked on a real Win32 implementation, Wine 8 on a private Xvfb:
#   - the witness: start it, click ALIM and the brake, check the screen, close, exit code 0; the
#     whole scene against korveline-script's snapshot after the same actions; the table of GDI
#     primitives (tools/gdi_conformance) against our layer;
#   - korveline.exe, the program: the Linux window (tools/korveline) first, its picture against
#     korveline-script's snapshot at start and after a click on the brake, then a click on the
#     toolbar's Pause (the badge), a click on ALIM, I (the readout) and F2 (the laboratory panel)
#     beside the picture, which they leave as it was; then korveline.exe on the same display after
#     the same clicks and keys: the Linux window's whole client area, toolbar and boxes included,
#     pixel for pixel; F12's and Ctrl S's picture in the Pictures folder, Ctrl E's data with
#     korveline-script's columns; the sound through the wave output (ALSA's file plugin); exit
#     code 0 when closed;
#   - korveline.exe --lang en --lab order=reversed: English at start-up, Tab and Enter switching
#     ALIM on, forty steps (Right arrow) as korveline-script's, the motor turning the other way;
#     F11's full screen and back.
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
# A laptop's screen: room for the boxes beside the picture.
start_private_xvfb "$work" 1366x768 || fail "Xvfb did not start"
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
    eval "$(xdotool getwindowgeometry --shell "$window")" # its size now
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
# text, toolbar and boxes included. The Linux window goes first, checked step by step against
# korveline-script; korveline.exe, on the same display after the same keys and clicks, must then
# show the Linux window's pixels.
# shot_when NAME TEST [ARG...]: screenshots of the client area until `TEST ARG... NAME` holds and
# the picture holds still (two in a row alike: no frame caught half drawn); false after 50 tries.
client_shot() { import -window "$window" -crop "${cw}x${ch}+$ox+$oy" +repage "$work/$1"; }
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
# picture_like REFERENCE NAME: the picture, the client area's top-left 780 x 557, is REFERENCE's
# (a picture of that size, or a client area).
picture_like() {
    convert "$work/$1" -crop 780x557+0+0 +repage "$work/reference.png"
    convert "$work/$2" -crop 780x557+0+0 +repage "$work/picture.png"
    like reference.png picture.png
}
# motor_like REFERENCE NAME: the same for the picture left of the plot, where the motor is.
motor_like() {
    convert "$work/$1" -crop 440x557+0+0 +repage "$work/reference.png"
    convert "$work/$2" -crop 440x557+0+0 +repage "$work/picture.png"
    like reference.png picture.png
}
alim_green() {
    local label
    label=$(colours_at "$1" 36x16+10+15)
    grep -q 00FF00 <<<"$label" && ! grep -q FF0000 <<<"$label"
}
box_at() { [ "$(colours_at "$3" "1x1+$1+$2")" = 303030 ]; } # box_at X Y NAME: a box's grey there
# readout_beside NAME: the motor as it was after ALIM (the plot has the readout's scales over
# it), a box beside the picture (the side column's top). lab_beside NAME: the picture as it was
# with the readout, a box beside it.
readout_beside() { motor_like linux-alim.png "$1" && box_at 788 8 "$1"; }
lab_beside() { picture_like linux-readout.png "$1" && box_at 788 8 "$1"; }
# wait_for TEST [ARG...]: until the test holds; false after 10 s.
wait_for() {
    local tries
    for tries in $(seq 50 -1 1); do
        "$@" && return 0
        [ "$tries" -gt 1 ] && sleep 0.2
    done
    return 1
}
# The toolbar's first button, Pause, under the picture: the first box pixel on its middle row.
find_pause_button() {
    local row
    pause_y=573
    row=$(colours_at "$1" "780x1+0+$pause_y")
    pause_x=$(grep -n 303030 <<<"$row" | head -1 | cut -d: -f1)
    [ -n "$pause_x" ] || fail "no toolbar under the picture (see $work/$1)"
    pause_x=$((pause_x + 10))
}
# drive linux|exe: start-up, a click on the brake, a click on the toolbar's Pause, a click on ALIM
# (paused: nothing moves from then on), I, F2; a screenshot of the client area after each,
# WHO-STEP.png. The Linux window's must show what each step does, and the picture nothing else;
# korveline.exe's must be the Linux window's, at the Linux window's size.
steps="start brake pause alim readout lab"
drive() {
    local who=$1 step
    find_window
    if [ "$who" = exe ]; then
        sleep 1
        shot exe-window.png
        find_origin exe-window.png ours-start.png
    else
        xdotool windowmove --sync "$window" 0 0
        eval "$(xdotool getwindowgeometry --shell "$window")"
        ox=0 oy=0
    fi
    for step in $steps; do
        case $step in
        brake) click 250 465 ;;
        pause) click "$pause_x" "$pause_y" ;;
        alim) click 25 25 ;;
        readout) press i ;;
        lab) press F2 ;;
        esac
        if [ "$who" = exe ]; then
            read -r cw ch <"$work/size-$step"
            shot_when "exe-$step.png" like "linux-$step.png" ||
                fail "korveline.exe differs from the Linux window after $step:" \
                    "$(differing "exe-$step.png" "linux-$step.png") pixels"
            continue
        fi
        # The Linux window's client area is the window.
        eval "$(xdotool getwindowgeometry --shell "$window")"
        cw=$WIDTH ch=$HEIGHT
        case $step in
        start) shot_when linux-start.png picture_like ours-tick.png &&
            find_pause_button linux-start.png ;;
        brake) shot_when linux-brake.png picture_like ours-brake-tick.png ;;
        pause) shot_when linux-pause.png unlike linux-brake.png ;;
        alim) shot_when linux-alim.png alim_green ;;
        readout | lab)
            # The window grows by the box beside the picture.
            sleep 0.5
            eval "$(xdotool getwindowgeometry --shell "$window")"
            cw=$WIDTH ch=$HEIGHT
            shot_when "linux-$step.png" "${step}_beside" ;;
        esac || fail "the Linux window after $step: not as expected (see $work/linux-$step.png)"
        echo "$cw $ch" >"$work/size-$step"
    done
}
ours ours-tick.png "tick"
"$linux/tools/korveline/korveline" >"$work/linux.log" 2>&1 &
linux_pid=$!
drive linux
kill "$linux_pid"
wait "$linux_pid" || true
linux_pid=
echo "the Linux window: start-up and the brake as korveline-script draws them, pixel for pixel;" \
    "the toolbar's Pause, ALIM, I and F2 act, the readout and the laboratory panel beside the picture"

(cd "$work" && exec wine "$PWD/../korveline.exe") &
wine_pid=$!
drive exe
echo "korveline.exe: the Linux window's pixels after each step, toolbar and boxes included, pixel" \
    "for pixel"

# F12: the picture, as korveline-script's after the same clicks, in the Pictures folder.
press F12
saved_picture() { saved=$(find "$work/home" -name 'korveline-*.png' | head -1) && [ -n "$saved" ]; }
wait_for saved_picture || fail "F12 saved no picture in the Pictures folder"
cp "$saved" "$work/exe-saved.png"
ours ours-alim.png "click left 250 465
tick
click left 25 25"
same_picture exe-saved.png ours-alim.png "the picture F12 saved"

# Still paused: Ctrl S saves the same picture; Ctrl E's data have the columns of
# korveline-script's French trace (the window is in French).
fresh_folder() { find "$work/home" -name 'korveline-*' -delete; }
saved_file() { saved=$(find "$work/home" -name "korveline-*.$1" | head -1) && [ -n "$saved" ]; }
fresh_folder
press ctrl+s
wait_for saved_file png || fail "Ctrl S saved no picture"
cp "$saved" "$work/exe-ctrl-s.png"
same_picture exe-ctrl-s.png ours-alim.png "the picture Ctrl S saved"
press ctrl+e
wait_for saved_file csv || fail "Ctrl E saved no data"
printf 'trace %s fr\ntick\n' "$work/ours.csv" | "$linux/tools/korveline_script/korveline-script" - \
    >/dev/null
[ "$(head -1 "$saved" | tr -d '\r')" = "$(head -1 "$work/ours.csv")" ] ||
    fail "Ctrl E's columns are not korveline-script's: $(head -1 "$saved")"
echo "korveline.exe: Ctrl S's picture as korveline-script's, Ctrl E's columns as its trace's"

# M with the motor running: the hum reaches the wave output, ALSA's file here.
press Escape # the laboratory panel closes
press space  # the run goes on
press m
heard() { [ "$(tr -d '\000' <"$work/sound.raw" 2>/dev/null | wc -c)" -gt 10000 ]; }
wait_for heard || fail "M played nothing: $(tr -d '\000' <"$work/sound.raw" | wc -c) bytes not 0"
press m
close_wine_window korveline.exe
echo "korveline.exe: F12's picture as korveline-script's, the hum played, exit code 0"
compared=$(date +%s)

# korveline.exe in English, the supply's phase order reversed: its start-up in English, Tab's
# focus ring on ALIM and Enter switching it on (paused first), then forty steps (the Right arrow,
# one Tick each): the picture, the motor turning the other way, korveline-script's after 40 Ticks
# with the same language and laboratory; F11's full screen and back.
(cd "$work" && exec wine "$PWD/../korveline.exe" --lang en --lab order=reversed) &
wine_pid=$!
find_window
sleep 1
shot exe-en-window.png
korveline_en() { # korveline_en NAME SCRIPT: ours in English, the phase order reversed
    printf 'lab order=reversed\n%s\nsnapshot %s\n' "$2" "$work/$1" |
        "$linux/tools/korveline_script/korveline-script" --lang en - >/dev/null
}
korveline_en ours-en-tick.png tick
find_origin exe-en-window.png ours-en-tick.png
read -r cw ch <"$work/size-start"
shot_when exe-en-start.png picture_like ours-en-tick.png ||
    fail "korveline.exe --lang en: the start-up is not korveline-script's in English"
click "$pause_x" "$pause_y"
press Tab
press Return
shot_when exe-en-alim.png alim_green || fail "Tab then Enter did not switch ALIM on"
press Escape # the focus ring goes
fresh_folder
# Forty steps: fewer leave the two directions' pictures alike.
rights=()
for _ in {1..40}; do rights+=(Right); done
xdotool mousemove $((X + ox + 600)) $((Y + oy + 540)) key --delay 100 "${rights[@]}"
sleep 0.7
press F12
wait_for saved_file png || fail "F12 saved no picture in English"
cp "$saved" "$work/exe-reversed.png"
korveline_en ours-reversed.png "tick
click left 25 25
tick 40"
same_picture exe-reversed.png ours-reversed.png "forty steps with the phase order reversed"
printf 'tick\nclick left 25 25\ntick 40\nsnapshot %s\n' "$work/ours-direct.png" |
    "$linux/tools/korveline_script/korveline-script" --lang en - >/dev/null
! like exe-reversed.png ours-direct.png || fail "--lab order=reversed changed nothing"
# F11: the window over the whole screen; F11 again: back to its size.
sized() { # sized W H: the window is W x H
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "$WIDTH" = "$1" ] && [ "$HEIGHT" = "$2" ]
}
eval "$(xdotool getwindowgeometry --shell "$window")"
read -r framed_width framed_height <<<"$WIDTH $HEIGHT"
press F11
wait_for sized 1366 768 || fail "F11: the window is ${WIDTH}x$HEIGHT, not the screen's 1366x768"
xdotool key F11
wait_for sized "$framed_width" "$framed_height" || fail "F11 again: the window is ${WIDTH}x$HEIGHT"
close_wine_window "korveline.exe --lang en"
echo "korveline.exe --lang en --lab order=reversed: English at start-up, Tab and Enter switch ALIM" \
    "on, forty steps as korveline-script's, F11 full screen and back, exit code 0"
extra=$(date +%s)

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
    "English and reversed $((extra - compared)) s, table $((finished - extra)) s; Wine checks $((finished - built)) s"
