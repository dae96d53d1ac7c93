#!/usr/bin/env bash
# The installer's smoke test and the start-up figure, under Wine and an X
# display (scripts/test-windows.sh runs it under xvfb-run, in its prefix):
# a silent per-user install; tembrel.exe from the installation shows its
# window and closes on request; the start-up to the window's mapping against
# a minimal static Qt window built the same way; a silent uninstall that
# leaves nothing but the settings.
#   scripts/windows-install-check.sh BUILD   (e.g. build/windows)
set -euo pipefail
build=$1
: "${WINEPREFIX:?}" "${DISPLAY:?}"
installer=$(ls "$build"/tembrel-*-windows-x64.exe)
folder() { winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')"; }
program_dir=$(folder LOCALAPPDATA)/Programs/Tembrel
start_menu="$(folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Tembrel"
problems=()
check() { # check DESCRIPTION COMMAND...: note a problem when the command fails
    local what=$1
    shift
    "$@" || problems+=("$what")
}

timeout 120 wine "$installer" /S
check "no bin/tembrel.exe installed" test -f "$program_dir/bin/tembrel.exe"
check "no uninstaller" test -f "$program_dir/Uninstall.exe"
check "no Start-menu entry" test -f "$start_menu/Tembrel.lnk"

# Starts a program, waits for its visible window named TITLE, prints the
# milliseconds from the start, then closes it as a user would (WM_CLOSE) and
# expects it to end by itself with status 0.
started_ms() {
    local program=$1 title=$2 start pid elapsed=""
    start=$(date +%s%N)
    wine "$program" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1500); do # up to 30 s
        if xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; then
            elapsed=$((($(date +%s%N) - start) / 1000000))
            break
        fi
        sleep 0.02
    done
    if [ -z "$elapsed" ]; then
        kill "$pid" 2>/dev/null || true
        return 1
    fi
    wine taskkill /im "$(basename "$program")" >/dev/null 2>&1 || true
    for _ in $(seq 100); do # up to 10 s
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        return 1
    fi
    wait "$pid" || return 1
    echo "$elapsed"
}

median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }

# The settings come from the installed program alone.
wine reg delete 'HKCU\Software\Tembrel' /f >/dev/null 2>&1 || true
tembrel_ms=() minimal_ms=()
for _ in 1 2 3; do
    if ms=$(started_ms "$program_dir/bin/tembrel.exe" "Tembrel 5.0"); then
        tembrel_ms+=("$ms")
    else
        problems+=("the installed tembrel.exe showed no window or did not close")
        break
    fi
    if ms=$(started_ms "$build/tools/minimal-window.exe" "Minimal Qt window"); then
        minimal_ms+=("$ms")
    else
        problems+=("minimal-window.exe showed no window or did not close")
        break
    fi
done
if [ ${#tembrel_ms[@]} -eq 3 ] && [ ${#minimal_ms[@]} -eq 3 ]; then
    stripped=$(stat -c %s "$program_dir/bin/tembrel.exe")
    echo "Start-up to the window shown, median of 3 under Wine: tembrel.exe" \
        "$(median "${tembrel_ms[@]}") ms (${tembrel_ms[*]}), minimal static Qt window" \
        "$(median "${minimal_ms[@]}") ms (${minimal_ms[*]}); tembrel.exe as installed" \
        "(stripped): $((stripped / 1024)) KiB"
fi

# The uninstaller copies itself to the temporary folder, returns at once and
# removes the installation from there: wait for the folder to go.
timeout 120 wine "$program_dir/Uninstall.exe" /S
for _ in $(seq 300); do # up to 60 s
    [ -e "$program_dir" ] || [ -e "$start_menu" ] || break
    sleep 0.2
done
check "files left behind: $(find "$program_dir" "$start_menu" 2>/dev/null | tr '\n' ' ')" \
    test ! -e "$program_dir" -a ! -e "$start_menu"
for key in 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tembrel-Installer' \
    'HKCU\Software\The Tembrel developers\Tembrel-Installer'; do
    # shellcheck disable=SC2016 # expanded by the inner shell
    check "registry key left behind: $key" bash -c '! wine reg query "$1" >/dev/null 2>&1' _ "$key"
done
check "no settings written on close" wine reg query 'HKCU\Software\Tembrel' >/dev/null 2>&1

if [ ${#problems[@]} -ne 0 ]; then
    printf 'Installer check FAILED: %s\n' "${problems[@]}"
    exit 1
fi
echo "Installer check passed: installed, started, closed, uninstalled; the settings stay"
