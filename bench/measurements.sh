#!/usr/bin/env bash
# The figures of the README's "Measurements" in one run: the machine, the
# engine beside ERFA and libnova (bench/comparison.cpp), the sky map's paint
# and hit-test times (bench/wine/skymap_paint_bench.cpp) and the start to
# first paint (bench/startup.sh). Builds what it runs first.
#
#   bash bench/measurements.sh [BUILD_DIR]     (default: build/)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${CELVANE_BUILD_DIR:-$here/build}}
mkdir -p "$build"
build=$(cd "$build" && pwd)

bash "$here/scripts/install-deps.sh" >&2
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
cmake --build "$build" -j"$(nproc)" --target comparison_bench skymap_paint_bench celvane >&2

echo "== machine"
echo "processors (nproc): $(nproc)"
echo "CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"

echo "== engine beside ERFA and libnova"
"$build/bench/comparison_bench"

echo "== sky map paint and hit test"
wine=${CELVANE_WINE64:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
wineserver=${CELVANE_WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}
export WINEPREFIX=$build/startup-wineprefix WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot -i >/dev/null 2>&1 </dev/null
fi
"$wine" "$build/skymap/skymap_paint_bench.exe.so" </dev/null
"$wineserver" -k >/dev/null 2>&1 || true

echo "== start to first paint"
bash "$here/bench/startup.sh" "$build"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
