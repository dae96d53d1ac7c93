#!/usr/bin/env bash
# Takes pictures of Tembrel's windows without a display and writes them as PNG
# files into a folder (default build/screenshots):
#   bash scripts/screenshots.sh [FOLDER]
# Builds the debug configuration's picture tool first.
set -euo pipefail
cd "$(dirname "$0")/.."
folder="${1:-build/screenshots}"

cmake --preset debug >/dev/null
cmake --build --preset debug --target tembrel-screenshots
QT_QPA_PLATFORM=offscreen build/debug/tools/tembrel-screenshots "$folder"
