#!/usr/bin/env bash
# Installs what the build needs, builds the program and starts it.
# Arguments are passed to the program.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${CELVANE_BUILD_DIR:-$here/build}
bash "$here/scripts/install-deps.sh" >&2
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
cmake --build "$build" -j"$(nproc)" --target celvane-ephem >&2
exec "$build/tools/celvane-ephem" "$@"
