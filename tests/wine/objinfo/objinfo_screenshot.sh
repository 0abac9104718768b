#!/bin/sh
# Photographs the object chooser or the object info dialog under a private
# Xvfb with a window manager (openbox), cut to the dialog's window, and
# checks that the picture is not blank.
#   objinfo_screenshot.sh <prefix> <wine64> <wineserver> <objinfo_shots.exe.so> <shot> <en|de> <out.png> [WxH [dpi]]
set -u
prefix=$1 wine=$2 server=$3 program=$4 shot=$5 lang=$6 out=$7 screen=${8:-1024x768} dpi=${9:-}
command -v openbox >/dev/null 2>&1 || { echo "openbox is missing (scripts/install-deps.sh)"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ready="$work/ready"
export WINEPREFIX="$prefix" WINELOADER="$wine" WINEDEBUG=-all WORK="$work" READY="$ready"
export WINE="$wine" SERVER="$server" PROGRAM="$program" SHOT="$shot" FULL="$work/full.png"

if [ -n "$dpi" ]; then
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 </dev/null &&
    "$wine" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 </dev/null ||
        { echo "setting the prefix's resolution failed"; exit 1; }
    "$server" -k >/dev/null 2>&1
fi
case "$lang" in
de) export LANG=de_DE.UTF-8 ;;
*) export LANG=en_US.UTF-8 ;;
esac
export TZ=UTC

xvfb-run -a -s "-screen 0 ${screen}x24" sh -c '
    openbox --sm-disable --startup "touch $WORK/wm-ready" >"$WORK/openbox.log" 2>&1 &
    wm=$!
    i=0
    while [ ! -f "$WORK/wm-ready" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    if [ ! -f "$WORK/wm-ready" ]; then echo "the window manager did not come up"; kill $wm; exit 1; fi
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
