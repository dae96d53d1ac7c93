#!/usr/bin/env bash
# Draws the about window's picture, resources/about.jpg: a globe with a grid of
# snapshots and the voyage's path across it, 245 x 178 pixels, encoded as a
# progressive JPEG. Needs ImageMagick's convert, cjpeg (libjpeg-turbo-progs)
# and the DejaVu fonts, all installed by scripts/setup.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

out=resources/about.jpg
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Globe: centre (122,80), radius 58. The snapshot grid (4 x 3 cells of 13 x 12)
# covers 96..148 x 56..92; the path visits the cell centres row by row from
# the north-west corner, going back to the west edge after each row.
convert -size 245x178 gradient:'#07142b-#1b4a80' \
    -fill '#ffffff' -stroke none \
    -draw 'point 12,14' -draw 'point 37,41' -draw 'point 58,9' -draw 'point 201,18' \
    -draw 'point 226,47' -draw 'point 187,63' -draw 'point 21,88' -draw 'point 219,104' \
    -draw 'point 9,131' -draw 'point 233,139' -draw 'point 170,9' -draw 'point 84,23' \
    -fill '#1f6fa8' -stroke '#9fd2f5' -strokewidth 1.5 -draw 'circle 122,80 122,138' \
    -fill '#4c9a45' -stroke none \
    -draw 'polygon 86,52 102,44 118,47 126,58 120,70 104,74 96,88 84,82 78,66' \
    -draw 'polygon 132,92 150,86 164,96 160,114 146,124 134,116 128,102' \
    -draw 'polygon 136,38 152,34 162,44 154,54 140,52' \
    -fill none -stroke '#8cc4ec' -strokewidth 0.8 \
    -draw 'ellipse 122,80 20,58 0,360' -draw 'ellipse 122,80 40,58 0,360' \
    -draw 'line 122,22 122,138' \
    -draw 'line 68,80 176,80' -draw 'line 68,60 176,60' -draw 'line 68,100 176,100' \
    -draw 'line 80,40 164,40' -draw 'line 80,120 164,120' \
    -fill none -stroke '#ffd34d' -strokewidth 1 \
    -draw 'rectangle 96,56 148,92' \
    -draw 'line 109,56 109,92' -draw 'line 122,56 122,92' -draw 'line 135,56 135,92' \
    -draw 'line 96,68 148,68' -draw 'line 96,80 148,80' \
    -stroke '#ff7a3d' -strokewidth 1.5 \
    -draw 'polyline 102,62 141,62 102,74 141,74 102,86 141,86' \
    -fill '#ff7a3d' -stroke none \
    -draw 'circle 102,62 104.5,62' -draw 'circle 141,86 143.5,86' \
    -fill '#ffffff' -font "$font" -pointsize 22 -gravity south \
    -annotate +0+6 'Tembrel' \
    -type TrueColor "ppm:$work/about.ppm"

cjpeg -progressive -optimize -quality 90 -outfile "$out" "$work/about.ppm"
echo "wrote $out"
