#!/usr/bin/env bash
# Start to first paint: the time from the command that starts Celvane under
# Wine to the end of the sky map's first paint, on a private Xvfb display,
# with a Wine prefix of its own (made on the first run) and the sky view
# remembered in the preferences.
#
#   bash bench/startup.sh [BUILD_DIR] [RUNS]     (default: build/, 5 runs)
#
# "cold": no Wine server running, as when the program is started from a
# desktop whose Wine has been idle; "warm": the Wine server and its services
# kept running between starts. The program itself writes the moment of its
# first paint (the environment variable CELVANE_REPORT_FIRST_PAINT, see
# views/sky_window.cpp); its second figure is the time since Wine created
# the process, that is without Wine's own start. Prints the median of each.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-${CELVANE_BUILD_DIR:-$here/build}}" && pwd)
runs=${2:-5}
program=$build/app/celvane.exe.so
[ -f "$program" ] || { echo "startup.sh: $program is missing; build the target celvane first" >&2; exit 1; }
case "$runs" in '' | *[!0-9]* | 0) echo "startup.sh: RUNS must be a positive number" >&2; exit 2 ;; esac

if [ -z "${CELVANE_STARTUP_ON_XVFB:-}" ]; then
    exec env CELVANE_STARTUP_ON_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$build" "$runs"
fi

wine=${CELVANE_WINE64:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
wineserver=${CELVANE_WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}
export WINEPREFIX=$build/startup-wineprefix WINELOADER="$wine" WINEDEBUG=-all
work=$(mktemp -d)
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    "$wineserver" -k >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "startup.sh: making the Wine prefix $WINEPREFIX (once)" >&2
    WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot -i >"$work/wineboot.log" 2>&1 </dev/null
    "$wineserver" -w
fi
roaming=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming 2>/dev/null | grep -v '/Public/' | head -n 1)
[ -n "$roaming" ] || { echo "startup.sh: no AppData folder in $WINEPREFIX" >&2; exit 1; }
mkdir -p "$roaming/celvane"

# One start: prints "<ms from the command> <ms from the process's creation>".
start_once() {
    printf '\357\273\277[FORMAT]\r\nVersion=1\r\n[View]\r\nMode=1\r\n' >"$roaming/celvane/prefs.dat"
    rm -f "$work/paint.txt"
    local t0 i
    t0=$(date +%s%3N)
    CELVANE_REPORT_FIRST_PAINT="Z:$work/paint.txt" "$wine" "$program" >/dev/null 2>&1 </dev/null &
    program_pid=$!
    i=0
    while ! grep -q ' ' "$work/paint.txt" 2>/dev/null; do
        sleep 0.02
        i=$((i + 1))
        if [ $i -gt 3000 ]; then echo "startup.sh: no first paint within a minute" >&2; exit 1; fi
    done
    read -r end fromCreation <"$work/paint.txt"
    echo "$((end - t0)) $fromCreation"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: >"$work/cold"
for _ in $(seq "$runs"); do
    "$wineserver" -k >/dev/null 2>&1 || true
    "$wineserver" -w
    start_once >>"$work/cold"
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    program_pid=""
done

"$wineserver" -k >/dev/null 2>&1 || true
"$wineserver" -w
"$wineserver" -p
start_once >/dev/null  # the services come up once
kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
: >"$work/warm"
for _ in $(seq "$runs"); do
    sleep 0.5
    start_once >>"$work/warm"
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    program_pid=""
done

echo "start to first paint of the sky view, median of $runs starts (ms):"
echo "cold Wine: from the command $(cut -d' ' -f1 "$work/cold" | median), from the process's creation $(cut -d' ' -f2 "$work/cold" | median)"
echo "warm Wine: from the command $(cut -d' ' -f1 "$work/warm" | median), from the process's creation $(cut -d' ' -f2 "$work/warm" | median)"
echo "each start (command, creation): cold $(tr '\n' ';' <"$work/cold") warm $(tr '\n' ';' <"$work/warm")"
