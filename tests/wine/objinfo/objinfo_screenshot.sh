#!/bin/sh
# Photographs the object chooser or the object info dialog under a private
# Xvfb with a window manager (openbox), cut to the dialog's window, and
# checks that the picture is not blank.
#   objinfo_screenshot.sh <prefix> <wine64> <wineserver> <objinfo_shots.exe.so> <shot> <en|de> <out.png> [WxH [dpi]]
set -u
prefix=$1 wine=$2 server=$3 program=$4 shot=$5 lang=$6 out=$7 screen=${8:-1024x768} dpi=${9:-}
. "$(dirname "$0")/../screenshot_lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ready="$work/ready"
export WINEPREFIX="$prefix" WINELOADER="$wine" WINEDEBUG=-all WORK="$work" READY="$ready"
export WINE="$wine" SERVER="$server" PROGRAM="$program" SHOT="$shot" FULL="$work/full.png"

prefix_dpi "$wine" "$server" "$dpi" || exit 1
picture_language "$lang"
export TZ=UTC

xvfb-run -a -s "-screen 0 ${screen}x24" sh -c '
    . "$SCREENSHOT_LIB"
    start_window_manager "$WORK" || exit 1
    "$WINE" "$PROGRAM" --shot "$SHOT" --ready-file "$READY" --exit-after 20000 >"$WORK/shot.log" 2>&1 </dev/null &
    i=0
    while [ ! -s "$READY" ] && [ $i -lt 600 ]; do sleep 0.1; i=$((i + 1)); done
    if [ ! -s "$READY" ]; then echo "the dialog did not come up"; cat "$WORK/shot.log"; "$SERVER" -k; kill $wm; exit 1; fi
    sleep 0.3
    import -window root "$FULL"
    rc=$?
    "$SERVER" -k
    kill $wm 2>/dev/null
    wait
    exit $rc
' || exit 1

read -r left top right bottom <"$ready" || { echo "no window rectangle"; exit 1; }
m=6
convert "$work/full.png" -crop "$((right - left + 2 * m))x$((bottom - top + 2 * m))+$((left - m))+$((top - m))" +repage "$out" ||
    exit 1
[ -s "$out" ] || { echo "no screenshot"; exit 1; }
colours=$(convert "$out" -format "%k" info:)
echo "$out: $((right - left))x$((bottom - top)) pixels, $colours colours"
[ "$colours" -gt 8 ] || { echo "the picture is nearly blank"; exit 1; }
