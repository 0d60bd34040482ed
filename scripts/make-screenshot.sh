#!/usr/bin/env bash
# Makes docs/screenshot.png, the README's picture, and docs/screenshot-en.png, the same with the
# English texts (--lang en), and docs/runup.gif, the first minute of a run-up (a frame every ten
# Ticks, played at the simulation's speed), with korveline-script: the supply on, the
# resultant field and the forces shown, the brake raised to 3 during the run-up, and the operating
# point's trail on the plot from standstill to where it settles on the brake line.
# Then docs/look-colour-vision.png and docs/look-projector.png: the same run in the other looks
# (--look), with the three coils' fields shown too.
# The pictures are committed; run this again only when a picture changes.
#
#   bash scripts/make-screenshot.sh [KORVELINE-SCRIPT]
set -euo pipefail
cd "$(dirname "$0")/.."

script_tool=${1:-}
if [ -z "$script_tool" ]; then
    cmake --preset release >/dev/null
    cmake --build --preset release -j 2 --target korveline-script
    script_tool=build/release/tools/korveline_script/korveline-script
fi

mkdir -p docs
for lang in fr en; do
    png=docs/screenshot.png
    [ $lang = en ] && png=docs/screenshot-en.png
    "$script_tool" --lang $lang - <<EOF
click left 25 25
click left 260 290
tick 400
# Six brake clicks: 3.0, drawn as the horizontal line the operating point spirals onto.
click left 255 465
click left 255 465
click left 255 465
click left 255 465
click left 255 465
click left 255 465
tick 1600
snapshot $png
EOF
    echo "Wrote $png"
done

for look in colour-vision projector; do
    png=docs/look-$look.png
    "$script_tool" --look $look - <<EOF
click left 25 25
click left 100 300
click left 300 100
click left 300 450
click left 260 290
tick 400
click left 255 465
click left 255 465
click left 255 465
click left 255 465
click left 255 465
click left 255 465
tick 1600
snapshot $png
EOF
    echo "Wrote $png"
done

"$script_tool" - <<EOF
click left 25 25
click left 260 290
record docs/runup.gif 1200 every 10
EOF
echo "Wrote docs/runup.gif"
