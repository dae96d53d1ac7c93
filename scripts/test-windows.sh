#!/usr/bin/env bash
# Tests the Windows build under Wine, in a fresh Wine prefix inside the build
# folder: the test suites (CTest), tembrel-sim.exe against the Linux
# tembrel-sim byte for byte, the installer (install, start, close, uninstall)
# with tembrel.exe's start-up figure, and optionally four end-to-end cases.
#   scripts/test-windows.sh [LINUX_BUILD] [--e2e]   (default: build/debug)
# --e2e also runs four end-to-end cases against tembrel.exe under Xvfb: the
# help example, the close and restart whose texts the registry keeps, the
# live link followed by earth-standin, and the message boxes' window hints
# (about 100 s; CI passes it).
# Expects scripts/build-windows.sh (with --target package) and a Linux build
# with tembrel-sim, network-link-reader and earth-standin.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/windows
linux=${1:-$root/build/debug}
e2e=${2:-}
for tool in tools/tembrel-sim tools/network-link-reader tools/earth-standin; do
    if [ ! -x "$linux/$tool" ]; then
        echo "No $linux/$tool: the Windows tests compare with the Linux build" >&2
        exit 1
    fi
done

export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX"
start=$SECONDS
# One server for all runs, started first: the prefix's services then keep no
# test's output open, and no run pays for starting them again.
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot -i >/dev/null 2>&1
echo "Wine prefix ready in $((SECONDS - start)) s"

# The window suites run on the offscreen platform, whose fonts come from one
# folder (the test preset's WINEQT_QPA_FONTDIR: Wine hands QT_* variables to
# no program). It holds the condensed DejaVu faces alone, as fontconfig gives
# the form's "DejaVu Sans Condensed" on Linux: the layout checks hold for that.
rm -rf "$build/fonts" && mkdir -p "$build/fonts"
cp /usr/share/fonts/truetype/dejavu/DejaVuSansCondensed*.ttf "$build/fonts/"

failed=()
ctest --preset windows -j2 --timeout 300 || failed+=("test suites")

echo "Comparing tembrel-sim.exe under Wine with $linux/tools/tembrel-sim"
python3 tests/tools/sim_compare.py --reference "$linux/tools/tembrel-sim" \
    --candidate "wine $build/tools/tembrel-sim.exe" --count 300 "$build/sim-compare" ||
    failed+=("tembrel-sim comparison")

if [ "$e2e" = "--e2e" ]; then
    # The help example, the texts kept in the registry across a restart, the
    # live link followed by the (Linux) Google Earth stand-in, and the boxes'
    # window style as Wine hands it to the window manager.
    for case in help_example close_and_restart live_following box_window_hints; do
        timeout 300 python3 tests/e2e/tembrel_e2e.py --wine --program "$build/src/ui/tembrel.exe" \
            --reader "$linux/tools/network-link-reader" --sim "$linux/tools/tembrel-sim" \
            --standin "$linux/tools/earth-standin" \
            --artefacts "$build/e2e-artefacts" "$case" || failed+=("end-to-end $case")
    done
fi

# Last: Wine's desktop process keeps its link to this display, which ends here.
echo "Installer smoke test and start-up figure under Xvfb"
xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/windows-install-check.sh "$build" ||
    failed+=("installer check")

if [ ${#failed[@]} -ne 0 ]; then
    printf 'Windows tests FAILED: %s\n' "${failed[@]}"
    exit 1
fi
echo "Windows tests passed"
