#!/usr/bin/env bash
# Starts Celvane under Wine in a Wine prefix of its own in the user's data
# folder ($XDG_DATA_HOME/celvane/wine, else ~/.local/share/celvane/wine),
# made on the first run; preferences and places live inside it. Installed as
# the `celvane` and `celvane-chart` commands; scripts/run.sh starts the build
# tree's programs with it.
#
#   celvane                 the program on the user's display
#   celvane --chart ARGS    celvane-chart ARGS (a sky chart as a PNG picture),
#                           also what the command `celvane-chart` does
#   celvane --ephem ARGS    celvane-ephem ARGS (the ephemeris, native)
#
# Without a display `celvane` says so in one line and instead draws the sky
# of now over the place Celvane last used (Greenwich until it has been run),
# as the sky view last looked, into celvane-sky.png in the current folder,
# and prints its path.
#
# The programs are found beside this script (the installed layout) unless
# CELVANE_PROGRAM_DIR (celvane.exe.so with its help, object files and
# stars.dat), CELVANE_CHART (celvane-chart.exe.so) and CELVANE_EPHEM
# (celvane-ephem) name them; CELVANE_WINE64 names Wine's loader.
set -euo pipefail
self=$(readlink -f "$0")
program_dir=${CELVANE_PROGRAM_DIR:-$(dirname "$self")}
chart=${CELVANE_CHART:-$program_dir/celvane-chart.exe.so}
ephem=${CELVANE_EPHEM:-$program_dir/celvane-ephem}
data=${XDG_DATA_HOME:-$HOME/.local/share}/celvane
prefix=$data/wine
log=$data/wine.log

mode=program
case "$(basename "$0")" in
    celvane-chart*) mode=chart ;;
esac
if [ "$mode" = program ]; then
    case "${1:-}" in
        --chart) mode=chart; shift ;;
        --ephem) mode=ephem; shift ;;
        "") ;;
        *)
            echo "celvane: unknown argument '$1' (--chart and --ephem take the arguments of celvane-chart and celvane-ephem)" >&2
            exit 2 ;;
    esac
fi

if [ "$mode" = ephem ]; then
    exec "$ephem" "$@"
fi

wine=${CELVANE_WINE64:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
if [ ! -x "$wine" ]; then
    echo "celvane: Wine is not installed (no $wine; Debian's package wine64)" >&2
    exit 1
fi
# The wineserver beside the loader (Debian keeps both out of PATH).
server=$(dirname "$(readlink -f "$wine")")/wineserver
[ -x "$server" ] || server=$(command -v wineserver || echo wineserver)
# No menu entries and file associations of Wine's own on the user's desktop,
# no Mono or Gecko installers: Celvane needs none of them.
export WINEPREFIX="$prefix" WINELOADER="$wine" WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

make_prefix() {
    mkdir -p "$data"
    [ -f "$prefix/system.reg" ] && return 0
    echo "celvane: making its Wine prefix in $prefix (once)" >&2
    "$wine" wineboot -i >"$log" 2>&1 </dev/null ||
        { echo "celvane: Wine could not make its prefix (see $log)" >&2; exit 1; }
    # Wine writes the registry (system.reg) when its server ends: wait for
    # that, or a second start soon after would make the prefix again.
    "$server" -w >>"$log" 2>&1 </dev/null || true
    # The title-bar buttons' font.
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
}

# The text of Celvane's preferences in its prefix (line ends and a leading
# byte-order mark taken off); nothing before the first run.
prefs_text() {
    local prefs
    prefs=$(ls "$prefix"/drive_c/users/*/AppData/Roaming/celvane/prefs.dat \
               "$prefix"/drive_c/users/*/"Application Data"/celvane/prefs.dat 2>/dev/null | head -n 1 || true)
    [ -n "$prefs" ] || return 0
    tr -d '\r' <"$prefs" | sed 's/^\xEF\xBB\xBF//'
}

# The place of the preferences as celvane-chart arguments (longitude east
# positive; the file keeps it west positive).
last_place() {
    prefs_text | awk -F= '
        /^\[/ { section = $0; next }
        section == "[CurrentLocation]" && $1 == "Latitude" { lat = $2 }
        section == "[CurrentLocation]" && $1 == "Longitude" { lon = $2 }
        section == "[CurrentLocation]" && $1 == "Timezone" { zone = $2 }
        section == "[CurrentLocation]" && $1 == "DstAdjust" { dst = $2 }
        END {
            if (lat != "" && lon != "" && lat + 0 >= -90 && lat + 0 <= 90 && lon + 0 >= -180 && lon + 0 <= 180) {
                printf "--lat %s --lon %s", lat + 0, -(lon + 0)
                if (zone != "" && zone + 0 >= -840 && zone + 0 <= 840) printf " --zone %d", zone
                if (dst == "0" || dst == "1" || dst == "2") printf " --summer %s", dst
            }
        }'
}

# The sky view's direction and field of the preferences, as celvane-chart arguments.
last_view() {
    prefs_text | awk -F= '
        /^\[/ { section = $0; next }
        section == "[SkyView]" && $1 == "Az" { az = $2 }
        section == "[SkyView]" && $1 == "Alt" { alt = $2 }
        section == "[SkyView]" && $1 == "ViewAngle" { fov = $2 }
        END {
            if (az != "" && alt != "" && az + 0 >= 0 && az + 0 <= 360 && alt + 0 >= -90 && alt + 0 <= 90)
                printf "--az %s --alt %s", az + 0, alt + 0
            if (fov != "" && fov + 0 >= 0.02 && fov + 0 <= 180) printf " --fov %s", fov + 0
        }'
}

if [ "$mode" = chart ]; then
    # The star file beside the programs unless the arguments name one.
    stars=(--stars-dat "$program_dir/stars.dat")
    for a in "$@"; do
        case "$a" in --stars-dat|--stars-dat=*) stars=() ;; esac
    done
    make_prefix
    # The chart's output goes through files: the processes Wine starts beside
    # a program (its server and services) outlive it by seconds and would
    # keep a pipe such as `celvane-chart --json | ...` open that long.
    out=$(mktemp) err=$(mktemp)
    trap 'rm -f "$out" "$err"' EXIT
    status=0
    "$wine" "$chart" "${stars[@]}" "$@" >"$out" 2>"$err" </dev/null || status=$?
    cat "$out"
    cat "$err" >&2
    exit $status
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    out=$PWD/celvane-sky.png
    echo "celvane: no display (DISPLAY is not set), so no window; drawing the sky of now over your last place into $out" >&2
    make_prefix
    # shellcheck disable=SC2046
    "$wine" "$chart" $(last_place) $(last_view) --stars-dat "$program_dir/stars.dat" --out "$out" \
        >>"$log" 2>&1 </dev/null ||
        { echo "celvane: the chart could not be drawn (see $log)" >&2; exit 1; }
    echo "$out"
    exit 0
fi

make_prefix
exec "$wine" "$program_dir/celvane.exe.so" >>"$log" 2>&1 </dev/null
