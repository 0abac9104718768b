#!/bin/sh
# The Windows programs of the MinGW build under wine64, as a user who has
# just unzipped them would start them:
#  - celvane.exe with an empty profile, under a private Xvfb with a window
#    manager: its window must appear, View > Sky must bring up the sky
#    window, which must paint (a picture of the window with the colours of
#    stars, lines and names in its middle), Ctrl+Q must end it with exit
#    status 0, and it must have written prefs.dat into the profile, keeping
#    the sky as the last view;
#  - celvane-ephem.exe: a constellation, a star from its own resources, and
#    the same answers, byte for byte, as the native celvane-ephem built from
#    the same sources (positions, events, seasons, physical data);
#  - celvane-chart.exe: a PNG picture of the sky.
# On success the checksums of the three programs go into <dir>/smoke-passed:
# the zip is made only from programs that passed (win/make-zip.sh).
#   windows_smoke.sh <prefix> <wine64> <wineserver> <program dir> <out.png> <native celvane-ephem>
set -u
prefix=$1 wine=$2 server=$3 dir=$4 out=$5 native=$6
. "$(dirname "$0")/../screenshot_lib.sh"
command -v xdotool >/dev/null 2>&1 || { echo "xdotool is missing (scripts/install-deps.sh)"; exit 1; }
rm -f "$dir/../smoke-passed"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# An empty profile: no preferences, places or files of an earlier run. The
# prefix is this test's own, so nothing else lives in it.
for d in "$prefix"/drive_c/users/*/AppData/Roaming/celvane; do
    [ -d "$d" ] && rm -rf "$d"
done
picture_language en
export WINEPREFIX="$prefix" WINELOADER="$wine" WINEDEBUG=-all WORK="$work" OUT="$out"
export WINE="$wine" SERVER="$server" DIR="$dir" NATIVE="$native"

xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    . "$SCREENSHOT_LIB"
    start_window_manager "$WORK" || exit 1
    fail() { echo "FAIL $1"; sed "s/^/  celvane: /" "$WORK/celvane.log"; "$SERVER" -k; kill $wm 2>/dev/null; exit 1; }

    "$WINE" "$DIR/celvane.exe" >"$WORK/celvane.log" 2>&1 </dev/null &
    app=$!
    # The first window (a new profile opens the compass view): a visible
    # top-level window called Celvane.
    first="" i=0
    while [ -z "$first" ] && [ $i -lt 120 ]; do
        sleep 0.5
        kill -0 $app 2>/dev/null || fail "celvane.exe ended before its window appeared"
        first=$(xdotool search --onlyvisible --name "^Celvane\$" 2>/dev/null | head -n 1)
        i=$((i + 1))
    done
    [ -n "$first" ] || fail "no window called Celvane within 60 seconds"
    echo "ok   the program window appeared (X window $first)"
    # View > Sky: a click on the menu bar'"'"'s first title opens the menu, its
    # mnemonic picks the item; the sky window takes the compass window'"'"'s place.
    xdotool windowactivate --sync "$first" >/dev/null 2>&1 || xdotool windowfocus --sync "$first"
    sleep 0.5
    xdotool mousemove --window "$first" 18 9 click 1
    sleep 0.5
    xdotool key s
    win="" i=0
    while [ -z "$win" ] && [ $i -lt 40 ]; do
        sleep 0.5
        win=$(xdotool search --onlyvisible --name "^Celvane\$" 2>/dev/null | grep -vx "$first" | head -n 1)
        i=$((i + 1))
    done
    [ -n "$win" ] || fail "View > Sky showed no sky window"
    echo "ok   the sky window appeared (X window $win)"
    # Painted: the middle of the map shows stars of several colours, the
    # constellation lines and names - an unpainted window has one colour there.
    colours=0 i=0
    while [ $i -lt 40 ]; do
        sleep 0.5
        import -window "$win" "$OUT" 2>/dev/null &&
            colours=$(convert "$OUT" -gravity center -crop 60%x60%+0+0 +repage -format "%k" info: 2>/dev/null)
        [ "${colours:-0}" -ge 8 ] && break
        i=$((i + 1))
    done
    [ "${colours:-0}" -ge 8 ] || fail "the sky window did not paint: $colours colours in the middle of its picture"
    echo "ok   the sky window painted ($colours colours in the middle of its $(identify -format "%wx%h" "$OUT") picture)"

    xdotool windowactivate --sync "$win" >/dev/null 2>&1 || xdotool windowfocus --sync "$win"
    xdotool key --clearmodifiers ctrl+q
    i=0
    while kill -0 $app 2>/dev/null && [ $i -lt 300 ]; do sleep 0.1; i=$((i + 1)); done
    kill -0 $app 2>/dev/null && fail "celvane.exe still runs 30 seconds after Ctrl+Q"
    wait $app
    rc=$?
    [ $rc -eq 0 ] || fail "celvane.exe ended with status $rc"
    echo "ok   Ctrl+Q ended celvane.exe with status 0"

    # The console programs, in the same display and prefix.
    ori=$("$WINE" "$DIR/celvane-ephem.exe" --constellation 5.5 -5 2>"$WORK/ephem.log" </dev/null | tr -d "\r")
    [ "$ori" = "Ori" ] || fail "celvane-ephem.exe --constellation 5.5 -5 answered \"$ori\", expected Ori"
    "$WINE" "$DIR/celvane-ephem.exe" --star "HR 2491" --json >"$WORK/star.json" 2>>"$WORK/ephem.log" </dev/null ||
        fail "celvane-ephem.exe --star \"HR 2491\" failed: $(cat "$WORK/ephem.log")"
    grep -q "\"hip\":32349" "$WORK/star.json" || fail "celvane-ephem.exe --star \"HR 2491\": $(cat "$WORK/star.json")"
    echo "ok   celvane-ephem.exe: Orion, and Sirius from its own star resources"
    for run in "--utc 1987-04-10T19:21:00 --lat 47.4 --lon 8.5" \
               "--utc 2026-06-21T10:00:00 --lat -33.9 --lon 151.2 --zone 600 --events --seasons 2026 --physical"; do
        # shellcheck disable=SC2086
        "$NATIVE" $run --json >"$WORK/native.json" 2>&1 </dev/null || fail "the native celvane-ephem $run failed"
        # shellcheck disable=SC2086
        "$WINE" "$DIR/celvane-ephem.exe" $run --json 2>&1 </dev/null | tr -d "\r" >"$WORK/windows.json"
        cmp -s "$WORK/native.json" "$WORK/windows.json" ||
            fail "celvane-ephem.exe $run answers otherwise than the native celvane-ephem: $(diff "$WORK/native.json" "$WORK/windows.json" | head -c 600)"
    done
    echo "ok   celvane-ephem.exe answers as the native celvane-ephem does"
    (cd "$WORK" && "$WINE" "$DIR/celvane-chart.exe" --utc 2026-12-01T22:00:00 --place Greenwich --size 240x320 \
        --out chart.png >chart.log 2>&1 </dev/null) || fail "celvane-chart.exe failed: $(cat "$WORK/chart.log")"
    [ "$(identify -format "%m %wx%h" "$WORK/chart.png" 2>/dev/null)" = "PNG 240x320" ] ||
        fail "celvane-chart.exe wrote no 240x320 PNG picture"
    echo "ok   celvane-chart.exe drew a 240x320 chart"
    "$SERVER" -k
    kill $wm 2>/dev/null
    wait
    exit 0
' || exit 1

# Preferences are written when the program ends; the server has gone, so
# every file is complete.
prefs=$(ls "$prefix"/drive_c/users/*/AppData/Roaming/celvane/prefs.dat 2>/dev/null | head -n 1)
[ -n "$prefs" ] && [ -s "$prefs" ] || { echo "FAIL no prefs.dat in the profile after Ctrl+Q"; exit 1; }
# The last view, the sky, is what the next start opens.
tr -d '\r' <"$prefs" | awk '/^\[/ { s = $0 } s == "[View]" && $0 == "Mode=1" { found = 1 } END { exit !found }' ||
    { echo "FAIL prefs.dat does not keep the sky view ([View] Mode=1)"; sed 's/^/  prefs.dat: /' "$prefs"; exit 1; }
echo "ok   prefs.dat written with the sky view as the last view ($(wc -c <"$prefs") bytes)"

(cd "$dir" && sha256sum celvane.exe celvane-chart.exe celvane-ephem.exe) >"$dir/../smoke-passed" || exit 1
echo "ok   $out"
