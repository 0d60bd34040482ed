#!/usr/bin/env bash
# Makes the application icons in data/icons/ from KORVELINE's own picture: the rotor with its
# Laplace forces and the resultant field, between the stator coils, a few Ticks after switch-on.
# Needs ImageMagick's `convert`. The PNGs are committed; run this again only when the picture
# changes.
#
#   bash scripts/make-icons.sh [KORVELINE-SCRIPT]
set -euo pipefail
cd "$(dirname "$0")/.."

command -v convert >/dev/null || { echo "make-icons.sh: needs ImageMagick's convert" >&2; exit 1; }
script_tool=${1:-}
if [ -z "$script_tool" ]; then
    cmake --preset release >/dev/null
    cmake --build --preset release -j 2 --target korveline-script
    script_tool=build/release/tools/korveline_script/korveline-script
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Supply on, resultant and forces shown; ten Ticks in, the forces are long and the motor has not
# yet moved far.
"$script_tool" - <<EOF
click left 25 25
click left 260 290
tick 10
snapshot $work/motor.png
EOF

background='#00C8C8' # the window's background colour
# The rotor turns about (260, 290). Large icons show it with the inner ends of the three coils;
# the smallest shows the rotor alone.
wide='290x290+115+145'
tight='230x230+145+175'

# Downscaling would fade one-pixel lines into the background, so the smaller the icon, the more
# the lines are thickened first (an erosion over white spreads every line in its own colour).
make_icon() {
    local size=$1 crop=$2 thicken=$3
    local out=data/icons/korveline-$size.png
    local radius=$((size / 8))
    local steps=(-crop "$crop" +repage)
    if [ "$thicken" -gt 0 ]; then
        steps+=(-fill white -opaque "$background" -morphology Erode "Disk:$thicken"
                -fill "$background" -opaque white)
    fi
    convert "$work/motor.png" "${steps[@]}" -filter Lanczos -resize "${size}x${size}" \
        -alpha set \
        \( -size "${size}x${size}" xc:none -fill white \
           -draw "roundrectangle 0,0,$((size - 1)),$((size - 1)),$radius,$radius" \) \
        -compose DstIn -composite \
        -strip -define png:exclude-chunks=date,time "PNG32:$out"
    echo "Wrote $out"
}

mkdir -p data/icons
make_icon 256 "$wide" 0
make_icon 128 "$wide" 1
make_icon 64 "$wide" 1
make_icon 48 "$wide" 2
make_icon 32 "$wide" 4
make_icon 16 "$tight" 6

# The Windows program's icon (cmake/windows/korveline.rc): the same pictures in one .ico.
convert data/icons/korveline-{16,32,48,256}.png data/icons/korveline.ico
echo "Wrote data/icons/korveline.ico"
