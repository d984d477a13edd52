#!/usr/bin/env bash
# Draws the default cover jacket.jpg (500 x 500): a dusk gradient, a striped setting sun
# and a vinyl record. Our own drawing, so the program ships no third-party image.
#   resources/page/make-jacket.sh            writes resources/jacket.jpg
#   resources/page/make-jacket.sh OUT.jpg    writes OUT.jpg
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
out=${1:-$here/../jacket.jpg}
# Some machines put another program named convert first on PATH.
C=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

$C -size 500x500 -define gradient:angle=135 gradient:'#1b2444-#c4586c' bg.png

# The sun, its lower half cut by widening bars, and a soft halo behind it.
$C -size 500x500 xc:none -fill '#f7c77f' -draw "circle 130,150 220,150" sun.png
$C -size 500x500 xc:none -fill black \
  -draw "rectangle 0,168 500,172 rectangle 0,188 500,194 rectangle 0,208 500,216 rectangle 0,226 500,236" bars.png
$C sun.png bars.png -compose DstOut -composite sun-striped.png
$C sun.png -channel A -evaluate multiply 0.55 +channel -blur 0x28 halo.png

# The record: grooves, a two-tone label, the spindle hole, two light sheens and a shadow.
grooves=""
for r in $(seq 78 3 226); do grooves="$grooves circle 320,330 $((320 + r)),330"; done
$C -size 500x500 xc:none -fill '#101116' -draw "circle 320,330 552,330" \
  -fill none -stroke '#1f2027' -strokewidth 1 -draw "$grooves" \
  -stroke '#34353d' -strokewidth 2 -draw "circle 320,330 551,330" \
  -stroke none -fill '#e58f5a' -draw "circle 320,330 392,330" \
  -fill '#f4c07e' -draw "circle 320,330 352,330" \
  -fill '#101116' -draw "circle 320,330 327,330" disc.png
$C -size 500x500 xc:none -fill '#ffffff22' \
  -draw "path 'M 320,330 L 160,120 A 262,262 0 0,1 250,80 Z'" \
  -draw "path 'M 320,330 L 480,540 A 262,262 0 0,1 390,580 Z'" -blur 0x6 sheen.png
$C disc.png sheen.png -compose src-atop -composite disc-lit.png
$C disc.png -channel A -evaluate multiply 0.6 +channel -fill black -colorize 100 \
  -blur 0x14 shadow.png

$C bg.png halo.png -composite sun-striped.png -composite shadow.png -geometry -8+12 -composite \
  disc-lit.png -composite -quality 86 -sampling-factor 4:2:0 -strip "$out"
