#!/usr/bin/env bash
# Takes pictures of Tembrel's windows without a display and writes them as PNG
# files into a folder (default build/screenshots):
#   bash scripts/screenshots.sh [FOLDER]
# Builds the picture tool first, in the debug preset's build folder, or in the
# configured build folder that TEMBREL_BUILD_DIR names.
set -euo pipefail
cd "$(dirname "$0")/.."
folder="${1:-build/screenshots}"

if [ -n "${TEMBREL_BUILD_DIR:-}" ]; then
    build="$TEMBREL_BUILD_DIR"
    cmake --build "$build" --target tembrel-screenshots
else
    build=build/debug
    cmake --preset debug >/dev/null
    cmake --build --preset debug --target tembrel-screenshots
fi
QT_QPA_PLATFORM=offscreen "$build/tools/tembrel-screenshots" "$folder"
