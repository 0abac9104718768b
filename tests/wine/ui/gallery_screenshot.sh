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
command -v openbox >/dev/null 2>&1 || { echo "openbox is missing (scripts/install-deps.sh)"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ready="$work/ready"
export WINEPREFIX="$prefix" WINELOADER="$wine" WINEDEBUG=-all WORK="$work" READY="$ready" OUT="$out"
export WINE="$wine" SERVER="$server" GALLERY="$gallery" GLANG="$lang"

if [ -n "$dpi" ]; then
    # Where Wine reads the resolution (the user's setting and the machine's);
    # stopping the server writes the registry before the gallery starts.
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 </dev/null &&
    "$wine" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 </dev/null ||
        { echo "setting the prefix's resolution failed"; exit 1; }
    "$server" -k >/dev/null 2>&1
fi
case "$lang" in
de) export LANG=de_DE.UTF-8 ;;
*) export LANG=en_US.UTF-8 ;;
esac

xvfb-run -a -s "-screen 0 ${screen}x24" sh -c '
    # The window manager first: the gallery must come up under it.
    openbox --sm-disable --startup "touch $WORK/wm-ready" >"$WORK/openbox.log" 2>&1 &
    wm=$!
    i=0
    while [ ! -f "$WORK/wm-ready" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    if [ ! -f "$WORK/wm-ready" ]; then echo "the window manager did not come up"; cat "$WORK/openbox.log"; kill $wm; exit 1; fi
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
