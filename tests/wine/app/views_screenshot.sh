#!/bin/sh
# Photographs one scene of the compass or twilight view under a private Xvfb
# with a window manager (openbox), caption bar and menu included.
#   views_screenshot.sh <prefix> <wine64> <wineserver> <views_shot.exe.so> <scene> <en|de> <out.png> [WxH [dpi]]
# The prefix uses Wine's X11 driver; a dpi is written into the prefix as its
# screen resolution (LogPixels) before the program starts.
set -u
prefix=$1 wine=$2 server=$3 program=$4 scene=$5 lang=$6 out=$7 screen=${8:-640x560} dpi=${9:-96}
. "$(dirname "$0")/../screenshot_lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEPREFIX="$prefix" WINELOADER="$wine" WINEDEBUG=-all WORK="$work" READY="$work/ready" OUT="$out"
export WINE="$wine" SERVER="$server" PROGRAM="$program" SCENE="$scene"

# The resolution of this run (the prefix may be shared with other pictures).
prefix_dpi "$wine" "$server" "$dpi" || exit 1
picture_language "$lang"

xvfb-run -a -s "-screen 0 ${screen}x24" sh -c '
    . "$SCREENSHOT_LIB"
    start_window_manager "$WORK" || exit 1
    "$WINE" "$PROGRAM" "$SCENE" "$READY" 30000 >"$WORK/shot.log" 2>&1 </dev/null &
    i=0
    while [ ! -f "$READY" ] && [ $i -lt 600 ]; do sleep 0.1; i=$((i + 1)); done
    if [ ! -f "$READY" ]; then echo "the view did not come up"; cat "$WORK/shot.log"; "$SERVER" -k; kill $wm; exit 1; fi
    sleep 0.3
    import -window root "$OUT"
    rc=$?
    "$SERVER" -k
    kill $wm 2>/dev/null
    wait
    exit $rc
' || exit 1
[ -s "$out" ] || { echo "no screenshot"; exit 1; }
echo "ok   $out"
