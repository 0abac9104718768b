#!/bin/sh
# Compiler and linker launcher for Winelib targets.
# CMake calls:  winelib-launcher.sh <wineg++> <its own C++ compiler> <arguments...>
# The project's compiler is the native g++ (the core is built with it); for a
# Winelib target the compiler in CMake's command line is dropped and wineg++
# runs with the same arguments, so the Wine headers, -fshort-wchar and the
# Winelib link step (name.exe wrapper + name.exe.so module) come with it.
winegxx=$1
shift
shift
exec "$winegxx" "$@"
