#!/bin/sh
# Photographs settings dialogs under a private Xvfb with a window manager
# (openbox), each as the program opens it, cut to its window.
#   dialog_screenshot.sh <prefix> <wine64> <wineserver> <celvane-dialog-shot.exe.so> <en|de> <outdir>
#                        <suffix> <WxH> <dpi|-> <files-folder> <dialog>...
# Writes <outdir>/dialog-<dialog>-<lang><suffix>.png. The prefix uses Wine's
# X11 driver; a dpi is written into it as its screen resolution first.
set -u
prefix=$1 wine=$2 server=$3 shot=$4 lang=$5 outdir=$6 suffix=$7 screen=$8 dpi=$9
shift 9
files=$1
shift
. "$(dirname "$0")/../screenshot_lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEPREFIX="$prefix" WINELOADER="$wine" WINEDEBUG=-all WORK="$work"
export WINE="$wine" SERVER="$server" SHOT="$shot" FILES="$files" OUTDIR="$outdir" SLANG="$lang" SUFFIX="$suffix"
export DIALOGS="$*"
prefix_dpi "$wine" "$server" "$dpi" || exit 1
picture_language "$lang"
mkdir -p "$outdir"
xvfb-run -a -s "-screen 0 ${screen}x24" sh -c '
    . "$SCREENSHOT_LIB"
    start_window_manager "$WORK" || exit 1
    rc=0
    for d in $DIALOGS; do
        ready="$WORK/$d.ready"
        "$WINE" "$SHOT" --dialog "$d" --ready "$ready" --files "$FILES" >"$WORK/$d.log" 2>&1 </dev/null &
        pid=$!
        i=0
        while [ ! -f "$ready" ] && [ $i -lt 300 ]; do sleep 0.1; i=$((i + 1)); done
        if [ ! -f "$ready" ]; then echo "$d did not come up"; cat "$WORK/$d.log"; rc=1; continue; fi
        sleep 0.3
        read -r x y w h <"$ready"
        out="$OUTDIR/dialog-$d-$SLANG$SUFFIX.png"
        import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out" || rc=1
        touch "$ready.done"
        wait $pid
        echo "$out: ${w}x${h}"
    done
    "$SERVER" -k
    kill $wm 2>/dev/null
    wait $wm
    exit $rc
'
