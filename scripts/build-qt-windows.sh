#!/usr/bin/env bash
# Builds static Qt (qtbase) and libjpeg for 64-bit Windows with
# MinGW-w64, from Debian's own source packages (the same versions as the Linux
# build uses).
# Each is installed into a cache folder outside the clone, keyed by version, options
# and toolchain, and reused when already complete, so a machine builds them once.
#
#   scripts/build-qt-windows.sh            build what is missing, then print the prefixes
#   scripts/build-qt-windows.sh --print    only print the prefixes (QT=..., JPEG=...)
#
# TEMBREL_CACHE (default /var/cache/tembrel) chooses the cache, TEMBREL_JOBS (default 2)
# the parallel compile jobs.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cache=${TEMBREL_CACHE:-/var/cache/tembrel}
jobs=${TEMBREL_JOBS:-2}
toolchain=$root/cmake/mingw-w64-x86_64.cmake

qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
jpeg_version=$(dpkg-query -W -f='${Version}' libjpeg62-turbo-dev 2>/dev/null ||
               dpkg-query -W -f='${Version}' libjpeg62-turbo)

qt_options=(
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_icu=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF
    # The about picture goes through our own libjpeg loader, not Qt's plugin.
    -DFEATURE_jpeg=OFF -DFEATURE_system_jpeg=OFF
    # Debian's source has no wintab.h; 6.4.2's static Windows plugin misses
    # QWindowsDirectWriteFontDatabase with DirectWrite 3; Direct2D is not wanted.
    -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF
    # The Windows plugin does not compile without OpenGL: keep the dynamic default.
    -DFEATURE_network=ON -DFEATURE_openssl=OFF -DFEATURE_schannel=OFF
)
jpeg_options=(
    -DCMAKE_BUILD_TYPE=Release -DENABLE_SHARED=OFF -DENABLE_STATIC=ON
    -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF -DWITH_JPEG8=OFF
)

key() { # what decides the result: version, options, target, compiler
    # Only the toolchain's target and tools count: its search paths and link
    # flags for our own programs do not change the libraries built here.
    { echo "$1"; shift; printf '%s\n' "$@"
      grep -E 'CMAKE_SYSTEM_|_TRIPLET|_COMPILER|CMAKE_AR|CMAKE_RANLIB' "$toolchain"
      x86_64-w64-mingw32-g++-posix --version | head -1; } | sha256sum | cut -c1-12
}
upstream() { local v=${1#*:}; v=${v%%-*}; echo "${v%%+*}"; }

qt_prefix=$cache/qt-$(upstream "$qt_version")-mingw-$(key "$qt_version" "${qt_options[@]}")
jpeg_prefix=$cache/libjpeg-$(upstream "$jpeg_version")-mingw-$(key "$jpeg_version" "${jpeg_options[@]}")

print_prefixes() { echo "QT=$qt_prefix"; echo "JPEG=$jpeg_prefix"; }
if [ "${1:-}" = "--print" ]; then print_prefixes; exit 0; fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

ensure_deb_src() { # source entries for the same suites as the binary ones
    if grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return
    fi
    echo "Adding deb-src entries for the installed suites" >&2
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
            $sudo tee /etc/apt/sources.list.d/tembrel-deb-src.sources >/dev/null
    else
        grep -hE '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
            $sudo tee /etc/apt/sources.list.d/tembrel-deb-src.list >/dev/null
    fi
    $sudo apt-get update -qq
}

fetch_source() { # package version -> prints the unpacked folder
    local package=$1 version=$2 dir=$cache/src/$1-$2
    if [ ! -f "$dir/.complete" ]; then
        ensure_deb_src
        rm -rf "$dir" && mkdir -p "$dir"
        # A stale package list may not know the source yet: refresh once and retry.
        (cd "$dir" && { apt-get source -qq --only-source "$package=$version" >/dev/null 2>&1 ||
         { $sudo apt-get update -qq && apt-get source -qq --only-source "$package=$version" >/dev/null; }; }) ||
            { rm -rf "$dir"; return 1; }
        touch "$dir/.complete"
    fi
    find "$dir" -mindepth 1 -maxdepth 1 -type d | head -1
}

build() { # name source prefix options...
    local name=$1 source=$2 prefix=$3; shift 3
    local build=$cache/build/$(basename "$prefix")
    echo "Building $name into $prefix (log: $build.log)"
    rm -rf "$build" "$prefix" && mkdir -p "$build"
    local start=$SECONDS
    {
        nice cmake -G Ninja -S "$source" -B "$build" \
            -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" "$@" &&
        nice cmake --build "$build" --parallel "$jobs" &&
        cmake --install "$build"
    } >"$build.log" 2>&1 || { tail -40 "$build.log"; echo "$name: build failed"; exit 1; }
    touch "$prefix/.complete"
    rm -rf "$build"
    echo "$name built in $((SECONDS - start)) s"
}

mkdir -p "$cache"
if [ ! -f "$qt_prefix/.complete" ]; then
    source_dir=$(fetch_source qt6-base "$qt_version")
    build Qt "$source_dir" "$qt_prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake \
        -DQT_QMAKE_TARGET_MKSPEC=win32-g++ "${qt_options[@]}"
fi
if [ ! -f "$jpeg_prefix/.complete" ]; then
    source_dir=$(fetch_source libjpeg-turbo "$jpeg_version")
    build libjpeg "$source_dir" "$jpeg_prefix" "${jpeg_options[@]}"
fi
print_prefixes
