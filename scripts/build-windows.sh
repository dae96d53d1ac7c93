#!/usr/bin/env bash
# Cross-builds Tembrel for 64-bit Windows (the windows preset): tembrel.exe,
# tembrel-sim.exe and the test suites, against the static Qt and libjpeg that
# scripts/build-qt-windows.sh builds once into its cache.
# Installs what it needs first (scripts/setup.sh windows).
#   scripts/build-windows.sh [cmake --build options, e.g. --target package]
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh windows >&2
prefixes=$(bash scripts/build-qt-windows.sh)
TEMBREL_QT_PREFIX=$(sed -n 's/^QT=//p' <<<"$prefixes")
TEMBREL_JPEG_PREFIX=$(sed -n 's/^JPEG=//p' <<<"$prefixes")
# Qt HTTP Server, where built, is a Qt module outside Qt's own folder: Qt's
# find_package looks there only when told so.
httpserver_prefix=$(sed -n 's/^HTTPSERVER=//p' <<<"$prefixes")
if [ -n "$httpserver_prefix" ]; then
    TEMBREL_QT_PREFIX="$TEMBREL_QT_PREFIX;$httpserver_prefix"
    export QT_ADDITIONAL_PACKAGES_PREFIX_PATH=$httpserver_prefix
fi
export TEMBREL_QT_PREFIX TEMBREL_JPEG_PREFIX

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
fi
cmake --preset windows "${launcher[@]}" >/dev/null
cmake --build --preset windows -j"${TEMBREL_JOBS:-2}" "$@"
