#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy on the C++ files changed since
# a base commit, or on every C++ file; fails on any finding. Uses the debug
# build's compile_commands.json (configured and its generated code built here
# when missing). A changed header is checked through the sources that include it.
#   scripts/clang-tidy.sh            changes since origin/main (else main, else HEAD~1)
#   scripts/clang-tidy.sh BASE       changes since BASE
#   scripts/clang-tidy.sh --all      every file
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/debug

if [ "${1:-}" = "--all" ]; then
    mapfile -t changed < <(git ls-files '*.cpp' '*.h')
else
    base="${1:-}"
    if [ -z "$base" ]; then
        for candidate in origin/main main; do
            if git rev-parse -q --verify "$candidate^{commit}" >/dev/null &&
                [ "$(git merge-base "$candidate" HEAD)" != "$(git rev-parse HEAD)" ]; then
                base="$candidate"
                break
            fi
        done
        base="${base:-HEAD~1}"
    fi
    # Committed and uncommitted changes since the branch left the base.
    mapfile -t changed < <(git diff --name-only --diff-filter=ACMR \
        "$(git merge-base "$base" HEAD)" -- '*.cpp' '*.h')
    echo "clang-tidy: files changed since $base"
fi

sources=()
for file in "${changed[@]}"; do
    case "$file" in
    *.cpp) sources+=("$file") ;;
    *.h) mapfile -t -O "${#sources[@]}" sources < <(git grep -l -F "\"$(basename "$file")\"" -- '*.cpp') ;;
    esac
done
if [ ${#sources[@]} -eq 0 ]; then
    echo "clang-tidy: no C++ source to check"
    exit 0
fi

if [ ! -f "$build/compile_commands.json" ]; then
    cmake --preset debug >/dev/null
fi
# Generated headers (moc, uic, resources) must exist before a source is parsed.
mapfile -t generated < <(ninja -C "$build" -t targets all | sed -n 's/^\([A-Za-z0-9_]*_autogen\): phony$/\1/p')
if [ ${#generated[@]} -gt 0 ]; then
    cmake --build "$build" --target "${generated[@]}" >/dev/null
fi

# Only what this system compiles (the *_win.cpp files are left to Windows).
mapfile -t sources < <(printf '%s\n' "${sources[@]}" | sort -u |
    python3 -c '
import json, os, sys
known = {os.path.realpath(os.path.join(e["directory"], e["file"]))
         for e in json.load(open(sys.argv[1]))}
for line in sys.stdin:
    if os.path.realpath(line.strip()) in known:
        print(line.strip())
' "$build/compile_commands.json")
echo "clang-tidy: checking ${#sources[@]} files"
[ ${#sources[@]} -eq 0 ] && exit 0

# GCC-only warning options in the compile commands mean nothing to clang; the
# counts of warnings in system headers that the checks leave out are dropped.
status=0
printf '%s\0' "${sources[@]}" |
    xargs -0 -n 1 -P 2 clang-tidy --quiet -p "$build" --extra-arg=-Wno-unknown-warning-option 2>&1 |
    { grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' || true; } || status=$?
if [ "$status" -ne 0 ]; then
    echo "clang-tidy: findings above" >&2
    exit 1
fi
echo "clang-tidy: no findings"
