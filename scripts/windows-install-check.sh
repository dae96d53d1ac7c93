#!/usr/bin/env bash
# The installer's smoke test and the start-up figure, under Wine and an X
# display (scripts/test-windows.sh runs it under xvfb-run, in its prefix):
# a silent per-user install, with the licence and a README that Notepad
# opens, and a Start-menu entry that starts Tembrel in Documents\Tembrel;
# tembrel.exe from the installation shows its window and closes on request;
# the start-up to the window's mapping against a minimal static Qt window
# built the same way; a silent uninstall that leaves nothing but the settings
# and the user's own files in Documents\Tembrel.
#   scripts/windows-install-check.sh BUILD   (e.g. build/windows)
set -euo pipefail
build=$1
: "${WINEPREFIX:?}" "${DISPLAY:?}"
installer=$(ls "$build"/tembrel-*-windows-x64.exe)
folder() { winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')"; }
program_dir=$(folder LOCALAPPDATA)/Programs/Tembrel
start_menu="$(folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Tembrel"
source_dir=$(cd "$(dirname "$0")/.." && pwd)
shots=$build/install-check
mkdir -p "$shots"
problems=()
check() { # check DESCRIPTION COMMAND...: note a problem when the command fails
    local what=$1
    shift
    "$@" || problems+=("$what")
}

# A fresh prefix links Documents to the Linux home: give it a folder of its
# own, as Windows has, so that the installer's Documents\Tembrel stays inside.
documents=$(folder USERPROFILE)/Documents
if [ -L "$documents" ]; then
    rm "$documents"
fi
mkdir -p "$documents"
user_folder=$documents/Tembrel

timeout 120 wine "$installer" /S
check "no bin/tembrel.exe installed" test -f "$program_dir/bin/tembrel.exe"
check "no uninstaller" test -f "$program_dir/Uninstall.exe"
check "no Start-menu entry" test -f "$start_menu/Tembrel.lnk"
check "no folder Documents\Tembrel made" test -d "$user_folder"

# The licence and the README as Windows reads text: CR LF line ends, the
# README in UTF-8 with a byte order mark, each the repository's text.
windows_text() { # windows_text INSTALLED SOURCE BOM
    python3 - "$@" <<'PYTHON'
import sys
installed, source, bom = sys.argv[1], sys.argv[2], sys.argv[3] == "bom"
try:
    data = open(installed, "rb").read()
except OSError:
    sys.exit(1)
wanted = open(source, "rb").read().replace(b"\n", b"\r\n")
if bom:
    wanted = b"\xef\xbb\xbf" + wanted
sys.exit(0 if data == wanted else 1)
PYTHON
}
check "no COPYING.txt, or not the licence in CR LF lines" \
    windows_text "$program_dir/COPYING.txt" "$source_dir/COPYING" plain
check "no README.txt, or not the README in CR LF lines with a byte order mark" \
    windows_text "$program_dir/README.txt" "$source_dir/README.md" bom

# The Start-menu entry names the installed program and Documents\Tembrel as
# the folder it starts in.
if link=$(python3 "$source_dir/tests/e2e/shell_link.py" "$start_menu/Tembrel.lnk"); then
    same_path() { [ "${1,,}" = "${2,,}" ]; }
    check "the Start-menu entry starts '$(sed -n 's/^target //p' <<<"$link")'" \
        same_path "$(sed -n 's/^target //p' <<<"$link")" "$(winepath -w "$program_dir/bin/tembrel.exe")"
    check "the Start-menu entry starts in '$(sed -n 's/^working-dir //p' <<<"$link")'" \
        same_path "$(sed -n 's/^working-dir //p' <<<"$link")" "$(winepath -w "$user_folder")"
else
    problems+=("the Start-menu entry is no shell link")
fi

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

# Opens a window as the Windows shell would, waits for it, keeps a screenshot
# in install-check/ of the build folder and closes it again (WM_CLOSE).
opens_window() { # opens_window TITLE SHOT IMAGE PROGRAM ARGUMENT...
    local title=$1 shot=$2 image=$3 pid
    shift 3
    wine "$@" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1500); do # up to 30 s
        if xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; then
            sleep 1 # painted
            import -window root "$shots/$shot" || true
            wine taskkill /im "$image" >/dev/null 2>&1 || true
            wait "$pid" 2>/dev/null || true
            # Closed, so that nothing holds the installed files.
            for _ in $(seq 100); do # up to 10 s
                xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1 || return 0
                sleep 0.1
            done
            return 1
        fi
        sleep 0.02
    done
    kill "$pid" 2>/dev/null || true
    return 1
}
check "Notepad showed no README.txt" \
    opens_window "README.txt - Notepad" readme.png notepad.exe \
    notepad.exe "$(winepath -w "$program_dir/README.txt")"
check "the Start-menu entry showed no Tembrel window" \
    opens_window "Tembrel 5.0" start-menu.png tembrel.exe \
    start "$(winepath -w "$start_menu/Tembrel.lnk")"

# What Tembrel and the user leave in Documents\Tembrel is theirs: the
# uninstaller keeps it.
mkdir -p "$user_folder"
printf 'view\n' >"$user_folder/TembrelData.KML"
printf 'link\n' >"$user_folder/TembrelLink.kml"

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
check "the uninstaller took the user's files in Documents\\Tembrel" \
    test -f "$user_folder/TembrelData.KML" -a -f "$user_folder/TembrelLink.kml"

if [ ${#problems[@]} -ne 0 ]; then
    printf 'Installer check FAILED: %s\n' "${problems[@]}"
    exit 1
fi
echo "Installer check passed: installed with the licence and the README, started from the" \
    "Start menu in Documents\\Tembrel, closed, uninstalled; the settings and the user's files stay"
