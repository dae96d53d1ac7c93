#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Tembrel and runs every test.
#   scripts/test.sh            debug build, all tests
#   scripts/test.sh asan       the same under AddressSanitizer + UndefinedBehaviorSanitizer
#   scripts/test.sh asan-fast  (or debug-fast) all but the end-to-end suite (label e2e)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-debug}"
build="${preset%-fast}"

bash scripts/setup.sh
cmake --preset "$build" >/dev/null
cmake --build --preset "$build"
ctest --preset "$preset" -j2
