#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds a release of Tembrel and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target tembrel
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Tembrel is built (build/release/src/ui/tembrel) but there is no display to show it on." >&2
    echo "Start it from a desktop session, or under Xvfb: xvfb-run build/release/src/ui/tembrel" >&2
    exit 1
fi
exec build/release/src/ui/tembrel "$@"
