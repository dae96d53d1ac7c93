#!/usr/bin/env bash
# Runs the Windows build's test suites under Wine, in a fresh Wine prefix inside
# the build folder, then compares tembrel-sim.exe with the Linux tembrel-sim
# byte for byte over the simulator's cases and generated ones.
#   scripts/test-windows.sh [LINUX_SIM]   (default: build/debug/tools/tembrel-sim)
# Expects scripts/build-windows.sh to have run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/windows
linux_sim=${1:-$root/build/debug/tools/tembrel-sim}

export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export QT_QPA_PLATFORM=offscreen
rm -rf "$WINEPREFIX"
start=$SECONDS
wineboot -i >/dev/null 2>&1
echo "Wine prefix ready in $((SECONDS - start)) s"
# One server for all runs: starting it for each program costs seconds.
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT

status=0
ctest --preset windows -j2 || status=1

if [ ! -x "$linux_sim" ]; then
    echo "No Linux tembrel-sim at $linux_sim: cannot compare the simulators" >&2
    exit 1
fi
echo "Comparing tembrel-sim.exe under Wine with $linux_sim"
python3 tests/tools/sim_compare.py --reference "$linux_sim" \
    --candidate "wine $build/tools/tembrel-sim.exe" --count 300 "$build/sim-compare" || status=1
exit $status
