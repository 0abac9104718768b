#!/bin/sh
# Installs the Debian packages the build and the tests need. Safe to run again:
# when everything is there it changes nothing and uses no network; the package
# lists are refreshed only when a missing package cannot be found in them.
# Runs as root (or through sudo when that is available).
set -eu

packages="
  build-essential cmake
  libgtest-dev libgmock-dev libbenchmark-dev
  wine64 wine64-tools libwine-dev
  xvfb xauth imagemagick
  openbox
  locales tzdata
  python3
  desktop-file-utils
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  xdotool zip
  liberfa-dev libnova-dev
"
# build-essential, cmake          the native build (g++, make)
# libgtest-dev .. libbenchmark-dev the tests and benchmarks
# wine64, wine64-tools, libwine-dev wine64/wineserver, wineg++/wrc, Winelib headers
# xvfb, xauth, imagemagick        screenshot tests of the Win32 half (xvfb-run, import)
# openbox                         a small window manager on the screenshots' Xvfb display
# locales, tzdata                 localedef for the German/English runs, the zone database
# python3                         the constellation table generator (its reproduction test)
# desktop-file-utils              desktop-file-validate for the installed menu entry (install test)
# g++-mingw-w64-x86-64, binutils-mingw-w64-x86-64  the Windows programs (MinGW-w64 g++, windres)
# xdotool, zip                    the Windows programs' smoke test (Ctrl+Q) and their zip
# liberfa-dev, libnova-dev        the comparison benchmark only (bench/comparison.cpp)

missing=""
for p in $packages; do
    if ! dpkg-query -W -f '${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing="$missing $p"
    fi
done
if [ -z "$missing" ]; then
    echo "install-deps: all packages present"
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    as_root=""
elif command -v sudo >/dev/null 2>&1; then
    as_root="sudo"
else
    echo "install-deps: missing packages:$missing; run this script as root" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive

# Refresh the package lists only when one of the missing packages has no
# installation candidate in them (e.g. a fresh container with empty lists).
need_update=false
for p in $missing; do
    candidate=$(apt-cache policy "$p" 2>/dev/null | sed -n 's/^ *Candidate: *//p')
    if [ -z "$candidate" ] || [ "$candidate" = "(none)" ]; then
        need_update=true
        break
    fi
done
if $need_update; then
    echo "install-deps: apt-get update"
    $as_root apt-get update -q
fi

echo "install-deps: installing$missing"
# shellcheck disable=SC2086
if ! $as_root apt-get install -y -q $missing; then
    # Stale lists name package versions the mirror no longer has: refresh once and retry.
    echo "install-deps: install failed; apt-get update and retry"
    $as_root apt-get update -q
    # shellcheck disable=SC2086
    $as_root apt-get install -y -q $missing
fi
