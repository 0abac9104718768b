// Entry point of the Winelib test programs that need no set-up of their own.
#include "tests/wine/wine_test_main.h"

extern "C" int wmain(int argc, WCHAR** argv) { winetest::RunAllTestsAndExit(argc, argv); }
