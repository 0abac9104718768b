#!/usr/bin/env bash
# Installs what the build needs, builds everything and runs every test
# (the portable core natively, the Win32 half under Wine).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${CELVANE_BUILD_DIR:-$here/build}
bash "$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
