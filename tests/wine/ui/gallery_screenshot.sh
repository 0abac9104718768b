#!/bin/sh
# Photographs the interface gallery under a private Xvfb with a window
# manager (openbox), as a user sees it, caption bars included, and checks
# pixels that matter (the title rule, a bitmap item, the open tooltip) at the
# places the gallery reports.
#   gallery_screenshot.sh <prefix> <wine64> <wineserver> <gallery.exe.so> <en|de> <out.png> [WxH [dpi]]
# The prefix uses Wine's X11 driver; WxH is the screen's size (default
# 1024x768); a dpi is written into the prefix as its screen resolution
# (LogPixels) before the gallery starts. This script's output goes to the caller.
set -u
prefix=$1 wine=$2 server=$3 gallery=$4 lang=$5 out=$6 screen=${7:-1024x768} dpi=${8:-}
. "$(dirname "$0")/../screenshot_lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ready="$work/ready"
export WINEPREFIX="$prefix" WINELOADER="$wine" WINEDEBUG=-all WORK="$work" READY="$ready" OUT="$out"
export WINE="$wine" SERVER="$server" GALLERY="$gallery" GLANG="$lang"

prefix_dpi "$wine" "$server" "$dpi" || exit 1
picture_language "$lang"

xvfb-run -a -s "-screen 0 ${screen}x24" sh -c '
    . "$SCREENSHOT_LIB"
    start_window_manager "$WORK" || exit 1
    "$WINE" "$GALLERY" --lang "$GLANG" --ready-file "$READY" --exit-after 30000 >"$WORK/gallery.log" 2>&1 </dev/null &
    i=0
    while [ ! -f "$READY" ] && [ $i -lt 600 ]; do sleep 0.1; i=$((i + 1)); done
    if [ ! -f "$READY" ]; then echo "the gallery did not come up"; cat "$WORK/gallery.log"; "$SERVER" -k; kill $wm; exit 1; fi
    sleep 0.3
    import -window root "$OUT"
    rc=$?
    # The wineserver must go before the private X server does.
    "$SERVER" -k
    kill $wm 2>/dev/null
    wait
    exit $rc
' || exit 1

[ -s "$out" ] || { echo "no screenshot"; exit 1; }
fail=0
while read -r name x y want; do
    want=$(printf '%s' "$want" | tr -d '\r')  # a Windows build writes CR LF
    got=$(convert "$out" -format "%[hex:p{$x,$y}]" info: 2>/dev/null | cut -c1-6 | tr 'A-F' 'a-f')
    if [ "$got" = "$want" ]; then
        echo "ok   $name at $x,$y: $got"
    else
        echo "FAIL $name at $x,$y: $got, expected $want"
        fail=1
    fi
done <"$ready.checks"
[ -s "$ready.checks" ] || { echo "no pixel checks reported"; fail=1; }
exit $fail
