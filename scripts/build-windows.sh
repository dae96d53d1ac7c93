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
# Boost.Beast is header-only and the same for every target, so the Windows
# build reads Debian's headers; through a folder that holds them alone, as the
# rest of /usr/include is the build machine's and must stay out of its sight.
TEMBREL_BOOST_INCLUDE_DIR=$PWD/build/windows-boost
mkdir -p "$TEMBREL_BOOST_INCLUDE_DIR"
ln -sfn /usr/include/boost "$TEMBREL_BOOST_INCLUDE_DIR/boost"
export TEMBREL_QT_PREFIX TEMBREL_JPEG_PREFIX TEMBREL_BOOST_INCLUDE_DIR

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
fi
cmake --preset windows "${launcher[@]}" >/dev/null
cmake --build --preset windows -j"${TEMBREL_JOBS:-2}" "$@"
