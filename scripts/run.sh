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

bash "$here/scripts/install-deps.sh" >&2
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2

# The build tree's programs, started by the same launcher as an installed Celvane.
export CELVANE_PROGRAM_DIR="$build/app" CELVANE_CHART="$build/tools/chart/celvane-chart.exe.so" \
       CELVANE_EPHEM="$build/tools/celvane-ephem"
launch=$here/scripts/celvane-launch.sh

if [ "${1:-}" = "--ephem" ]; then
    cmake --build "$build" -j"$(nproc)" --target celvane-ephem >&2
    exec bash "$launch" "$@"
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

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    # No window: the launcher draws a chart with the star file beside the
    # program, which no target of the chart itself puts there.
    cmake --build "$build" -j"$(nproc)" --target celvane-chart celvane_program_files >&2
else
    cmake --build "$build" -j"$(nproc)" --target celvane >&2
fi
exec bash "$launch"
