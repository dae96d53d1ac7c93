#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Tembrel and runs every test.
#   scripts/test.sh            debug build, all tests
#   scripts/test.sh asan       the same under AddressSanitizer + UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-debug}"

bash scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j2
