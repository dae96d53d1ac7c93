#!/usr/bin/env bash
# Draws the pictures of the three voyage buttons (32 x 32, RGBA) and the
# application icon (16 to 256 px) into resources/. Each picture is drawn at
# four times its size and scaled down, which gives smooth edges.
# Needs ImageMagick's convert (installed by scripts/setup.sh).
set -euo pipefail
cd "$(dirname "$0")/../resources"

button() { # name, then the drawing primitives on a 128 x 128 canvas
    local name="$1"
    shift
    convert -size 128x128 xc:none "$@" -resize 32x32 -strip PNG32:"$name.png"
}

# Start: a green "play" triangle.
button start \
    -fill '#1c8a2e' -stroke '#0b4716' -strokewidth 6 \
    -draw 'polygon 34,18 112,64 34,110'

# Pause: two amber bars.
button pause \
    -fill '#e0a000' -stroke '#7a5200' -strokewidth 6 \
    -draw 'roundrectangle 26,20 56,108 8,8' \
    -draw 'roundrectangle 72,20 102,108 8,8'

# Stop: a red square.
button stop \
    -fill '#c62828' -stroke '#6d0f0f' -strokewidth 6 \
    -draw 'roundrectangle 22,22 106,106 12,12'

# The icon: a globe with its grid of parallels and meridians, and the navy
# frame of one snapshot on it.
convert -size 1024x1024 xc:none \
    -fill '#2b6cb0' -stroke '#0d2c5a' -strokewidth 28 -draw 'circle 512,512 512,40' \
    -fill none -stroke '#d8ecff' -strokewidth 18 \
    -draw 'ellipse 512,512 200,462 0,360' \
    -draw 'line 512,60 512,964' \
    -draw 'line 60,512 964,512' \
    -draw 'line 130,300 894,300' \
    -draw 'line 130,724 894,724' \
    -fill '#ffd54f80' -stroke '#000080' -strokewidth 40 \
    -draw 'rectangle 560,330 820,560' \
    -resize 256x256 -strip PNG32:tembrel-256.png
for size in 16 32 48 64 128; do
    convert tembrel-256.png -resize "${size}x${size}" -strip PNG32:"tembrel-$size.png"
done
# The Windows icon: every size in one .ico, for the executable and the installer.
convert tembrel-16.png tembrel-32.png tembrel-48.png tembrel-64.png tembrel-128.png \
    tembrel-256.png windows/tembrel.ico
