#!/bin/sh
# celvane-chart from the command line: a picture with a PNG signature written
# to an absolute Linux path, the JSON listing, the hit test at a listed
# object, and bad arguments refused with one "celvane-chart:" line and exit
# status 2 (nothing written).
#   chart_cli_test.sh <prefix> <wine64> <celvane-chart.exe.so> <work dir>
set -u
prefix=$1 wine=$2 chart=$3 work=$4
export WINEPREFIX="$prefix" WINELOADER="$wine" WINEDEBUG=-all
mkdir -p "$work"
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
run() { "$wine" "$chart" "$@" </dev/null 2>"$work/err" >"$work/out"; }

png="$work/chart test.png"
rm -f "$png"
run --utc 2026-12-01T22:00:00 --place Greenwich --size 320x240 --json --out "$png"
rc=$?
[ $rc -eq 0 ] || fail "a plain chart exits $rc: $(cat "$work/err")"
[ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "no PNG written"
[ ! -e "$png.tmp" ] || fail "the temporary file stayed"
grep -q '"width":320,"height":240,"centre_az":180,"centre_alt":30,"fov":90,"mag_limit":5.5' "$work/out" ||
    fail "unexpected JSON head: $(head -c 200 "$work/out")"
grep -q '"key":"Saturn","kind":1,"name":"Saturn"' "$work/out" || fail "Saturn not listed"

# A tap on the listed pixel of Saturn selects Saturn.
xy=$(sed -n 's/.*"key":"Saturn","kind":1,"name":"Saturn","x":\([0-9-]*\),"y":\([0-9-]*\).*/\1,\2/p' "$work/out")
run --utc 2026-12-01T22:00:00 --place Greenwich --size 320x240 --hit "$xy" --out "$png"
[ "$(tr -d '\r' <"$work/out")" = "Saturn" ] || fail "--hit $xy gives '$(cat "$work/out")'"

for bad in "--size 10x10" "--dpi 120" "--grid polar" "--fov 0" "--mag-slider 1001" "--select NoSuchThing" \
           "--place Greenwich --lat 10" "--mag-slider 500 --mag-limit 6" "--frobnicate" "--hit 3"; do
    rm -f "$png"
    # shellcheck disable=SC2086
    run $bad --out "$png"
    rc=$?
    [ $rc -eq 2 ] || fail "'$bad' exits $rc"
    [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q '^celvane-chart: ' "$work/err" || fail "'$bad' says: $(cat "$work/err")"
    [ ! -e "$png" ] || fail "'$bad' wrote a picture"
done
run --utc 2026-12-01T22:00:00
[ $? -eq 2 ] && grep -q -- '--out' "$work/err" || fail "a missing --out is not refused"

[ $fails -eq 0 ] && echo "celvane-chart: all checks passed"
exit $fails
