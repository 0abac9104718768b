#!/usr/bin/env bash
# Installs what the build needs, builds everything and runs every test
# (the portable core natively, the Win32 half under Wine), then builds the
# core again with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# its tests there too (label "sanitize").
#
# The libFuzzer targets (tests/fuzz) are not built here: they are run by
# hand for long stretches (docs/fuzzing.md), and building them with clang
# would add a third build of the core to every run.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${CELVANE_BUILD_DIR:-$here/build}
sanitized=${CELVANE_SANITIZE_BUILD_DIR:-$build-sanitize}
bash "$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCELVANE_FUZZ=OFF
cmake --build "$build" -j"$(nproc)"
status=0
(cd "$build" && ctest --output-on-failure -j"$(nproc)") || status=1
# The Windows zip (build/celvane-0.1-win64.zip), from a green run only; the
# target itself packs nothing but the programs that passed their smoke test.
if [ $status -eq 0 ] && [ -f "$build/mingw/smoke-passed" ]; then
    cmake --build "$build" --target celvane-win-zip || status=1
fi

cmake -S "$here" -B "$sanitized" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCELVANE_SANITIZE=ON \
      -DCELVANE_WINE=OFF -DCELVANE_BENCH=OFF -DCELVANE_FUZZ=OFF
cmake --build "$sanitized" -j"$(nproc)"
(cd "$sanitized" && ctest -L sanitize --output-on-failure -j"$(nproc)") || status=1
exit $status
