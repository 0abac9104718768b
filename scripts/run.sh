#!/usr/bin/env bash
# Installs what the build needs, builds Celvane and starts it under Wine on
# the user's display, in a Wine prefix of its own in the user's data folder
# (made on the first run; preferences and places survive rebuilds).
#
#   scripts/run.sh                 start Celvane
#   scripts/run.sh --ephem [ARGS]  the ephemeris on the command line (celvane-ephem ARGS)
#   scripts/run.sh --mpc ARGS      the MPC's element files as a .pco file (celvane-mpc ARGS)
#
# Without a display it says so in one line and instead draws the sky of now
# over the place Celvane last used (Greenwich until it has been run), as
# the sky view last looked, into celvane-sky.png, and prints its path.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${CELVANE_BUILD_DIR:-$here/build}
data=${XDG_DATA_HOME:-$HOME/.local/share}/celvane
prefix=$data/wine

bash "$here/scripts/install-deps.sh" >&2
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2

ephem() {
    cmake --build "$build" -j"$(nproc)" --target celvane-ephem >&2
    exec "$build/tools/celvane-ephem" "$@"
}

if [ "${1:-}" = "--ephem" ]; then
    shift
    ephem "$@"
fi
if [ "${1:-}" = "--mpc" ]; then
    shift
    cmake --build "$build" -j"$(nproc)" --target celvane-mpc >&2
    exec "$build/tools/celvane-mpc" "$@"
fi
if [ $# -gt 0 ]; then
    echo "run.sh: unknown argument '$1' (use --ephem for the command-line ephemeris)" >&2
    exit 2
fi

# The text of Celvane's preferences in its prefix (line ends and a leading
# byte-order mark taken off); nothing before the first run.
prefs_text() {
    local prefs
    prefs=$(ls "$prefix"/drive_c/users/*/AppData/Roaming/celvane/prefs.dat \
               "$prefix"/drive_c/users/*/"Application Data"/celvane/prefs.dat 2>/dev/null | head -n 1 || true)
    [ -n "$prefs" ] || return 0
    tr -d '\r' <"$prefs" | sed 's/^\xEF\xBB\xBF//'
}

# The place of the preferences as celvane-ephem arguments (longitude east
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

wine=${CELVANE_WINE64:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
export WINEPREFIX="$prefix" WINELOADER="$wine" WINEDEBUG="${WINEDEBUG:--all}"
make_prefix() {
    mkdir -p "$data"
    [ -f "$prefix/system.reg" ] && return 0
    echo "celvane: making its Wine prefix in $prefix (once)" >&2
    # No Mono or Gecko installers: Celvane needs neither.
    WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot -i >"$data/wine.log" 2>&1 </dev/null
    # The title-bar buttons' font.
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
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

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    out=$PWD/celvane-sky.png
    echo "celvane: no display (DISPLAY is not set), so no window; drawing the sky of now over your last place into $out" >&2
    # The chart reads the built star file, which no target of the chart itself makes.
    cmake --build "$build" -j"$(nproc)" --target celvane-chart celvane_stars_dat >&2
    make_prefix
    # shellcheck disable=SC2046
    "$wine" "$build/tools/chart/celvane-chart.exe.so" $(last_place) $(last_view) \
        --stars-dat "$build/stars.dat" --out "$out" >>"$data/wine.log" 2>&1 </dev/null ||
        { echo "celvane: the chart could not be drawn (see $data/wine.log)" >&2; exit 1; }
    echo "$out"
    exit 0
fi

cmake --build "$build" -j"$(nproc)" --target celvane >&2

make_prefix
exec "$wine" "$build/app/celvane.exe.so" >>"$data/wine.log" 2>&1 </dev/null
