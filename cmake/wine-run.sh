#!/bin/sh
# Runs a Winelib program in a Wine prefix for CTest.
#   wine-run.sh <prefix> <wine64> <log> <program.exe.so> [arguments...]
# The output goes to <log> and is shown once the program has ended: Wine's
# lingering wineserver inherits the program's stdout and would keep CTest
# waiting on the pipe.
set -u
prefix=$1 wine=$2 log=$3
shift 3
export WINEPREFIX="$prefix" WINELOADER="$wine"
export WINEDEBUG="${WINEDEBUG:--all}"
"$wine" "$@" >"$log" 2>&1 </dev/null
rc=$?
if [ $rc -ne 0 ] && [ ! -s "$log" ]; then
    # Nothing of the program ran (not even a line of output): Wine can refuse
    # to start while the prefix's server is going away after another test.
    # Wait for that server and start the program once more; a program that
    # fails by itself fails again.
    echo "wine-run: $(basename "$1") ended at once with status $rc and no output; starting it again"
    timeout 60 "${wine%/*}/wineserver" -w >/dev/null 2>&1
    "$wine" "$@" >"$log" 2>&1 </dev/null
    rc=$?
fi
cat "$log"
exit $rc
