#!/usr/bin/env bash
# Draws Orv's 32 x 32, 256-colour icon (orv.png): a disc on a deep blue tile with a
# page corner, for "an album's page". Drawn at 128 px and scaled down for smooth edges.
# Run by hand after changing the drawing; the PNG is committed.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"
/usr/bin/convert -size 128x128 xc:none \
  -fill '#1f3f8f' -draw 'roundrectangle 4,4 123,123 22,22' \
  -fill '#ffffc0' -stroke '#c8c890' -strokewidth 2 -draw 'polygon 60,16 112,16 112,84 60,84' \
  -stroke '#8080ff' -strokewidth 4 -draw 'line 70,30 102,30' -draw 'line 70,44 102,44' \
  -draw 'line 70,58 94,58' \
  -stroke '#404040' -strokewidth 2 -fill '#d8dce8' -draw 'circle 50,78 50,34' \
  -stroke none -fill '#c0ffc0' -draw 'circle 50,78 50,56' \
  -fill '#ffc0c0' -draw 'path "M 50,56 A 22,22 0 0,1 72,78 L 50,78 Z"' \
  -stroke '#404040' -strokewidth 2 -fill '#1f3f8f' -draw 'circle 50,78 50,70' \
  -resize 32x32 -colors 255 PNG8:orv.png
