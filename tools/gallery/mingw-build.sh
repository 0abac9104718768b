#!/bin/sh
# Builds the gallery for Windows with the MinGW cross compiler from the same
# sources as the Winelib build, into one static celvane-gallery.exe.
#   mingw-build.sh <g++> <windres> <python3> <source dir> <output dir>
set -eu
cxx=$1 windres=$2 python=$3 src=$4 out=$5
mkdir -p "$out"
cd "$out"
sources=$(ls "$src"/engine/*.cpp "$src"/data/*.cpp "$src"/settings/*.cpp "$src"/layout/core/*.cpp)
sources="$sources $src/winlib/platform_win32.cpp $src/winlib/mwcl.cpp $src/winlib/controls.cpp"
sources="$sources $src/winlib/ui_style.cpp $src/winlib/titled_dialog.cpp"
sources="$sources $src/layout/items.cpp $src/layout/table_control.cpp $src/layout/toolbar.cpp"
sources="$sources $src/tools/gallery/gallery.cpp"
rm -f ./*.o
# shellcheck disable=SC2086
"$cxx" -std=c++17 -O1 -municode -I"$src" -c $sources
"$windres" -I"$src/tools/gallery" "$src/tools/gallery/gallery.rc" -O coff -o gallery_rc.o
# The bitmap names need the same renaming as in the Winelib build (PLANETS_96_ -> PLANETS(96)).
"$windres" -I"$src/resources" "$src/resources/bitmaps.rc" -O res -o bitmaps_raw.res
"$python" "$src/tools/fix_res_names.py" bitmaps_raw.res bitmaps.res
"$windres" -i bitmaps.res -O coff -o bitmaps_rc.o
"$cxx" -municode -mwindows -static -o celvane-gallery.exe ./*.o -lcomctl32 -lshell32 -lgdi32 -luser32
echo "built $out/celvane-gallery.exe"
