#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (the fuzz preset) and runs each for an
# equal share of SECONDS (default 60). Fails on the first crash, sanitizer
# report or broken property; the failing input is kept under build/fuzz/artifacts.
#   scripts/fuzz.sh [SECONDS [TARGET...]]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=(fuzz_str_to_float fuzz_str_to_int fuzz_number_text fuzz_settings_reader
         fuzz_import_csv fuzz_import_gpx fuzz_import_kml)
if [ $# -gt 0 ]; then targets=("$@"); fi

bash scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]}"

share=$((seconds / ${#targets[@]}))
if [ "$share" -lt 1 ]; then share=1; fi
corpus="$(mktemp -d)"
# Scratch files of the targets, in memory where the system has it: the
# settings target syncs a file at every input.
scratch="$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)"
trap 'rm -rf "$corpus" "$scratch"' EXIT
export TMPDIR="$scratch"
artifacts=build/fuzz/artifacts
mkdir -p "$artifacts"

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
for target in "${targets[@]}"; do
    echo "Fuzzing $target for ${share}s"
    mkdir -p "$corpus/$target"
    # New inputs go to the scratch corpus; the checked-in seeds stay as they are.
    "build/fuzz/tests/fuzz/$target" -max_total_time="$share" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
        "$corpus/$target" "tests/fuzz/seeds/$target" 2>"$corpus/$target.log" ||
        { tail -n 60 "$corpus/$target.log"; echo "$target failed" >&2; exit 1; }
    grep -E '^stat::number_of_executed_units|^Done' "$corpus/$target.log" || true
done
