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
cat "$log"
exit $rc
