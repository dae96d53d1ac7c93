#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Tembrel needs.
# Idempotent: asks apt only for what is missing, and says nothing when all is there.
#   scripts/setup.sh            the Linux build
#   scripts/setup.sh windows    also the Windows cross build and Wine, and builds the
#                               static Qt and libjpeg for it once (see build-qt-windows.sh)
set -euo pipefail

packages=(
    # build
    build-essential cmake ninja-build pkg-config
    # engine tests, fuzzing, benchmarks
    googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
    # the window
    qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev
    # the view server's HTTP parser (Boost.Beast, header-only: the Windows
    # build uses the same headers)
    libboost-dev
    # the windows' font (DejaVu Sans Condensed)
    fonts-dejavu-extra
    # the about picture
    libjpeg-dev libjpeg-turbo-progs
    # end-to-end tests and screenshots
    xvfb xdotool imagemagick x11-utils fonts-dejavu-core python3 openbox tesseract-ocr
    # the desktop entry and the Debian package
    desktop-file-utils dpkg-dev
    # style
    clang-format clang-tidy
)
if [ "${1:-}" = "windows" ]; then
    packages+=(
        # the cross compiler, its tools and Wine to run the result
        g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64
        # the static Qt's own build: its sources come through apt-get source
        dpkg-dev ccache
        # the installer and the zip
        nsis zip
    )
fi

build_windows_libraries() {
    if [ "${1:-}" = "windows" ]; then
        bash "$(dirname "$0")/build-qt-windows.sh"
    fi
}

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    build_windows_libraries "$@"
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
build_windows_libraries "$@"
