// The shared end of the Winelib test programs' entry points: the UTF-16
// command line goes to GoogleTest as UTF-8, every test runs, and the process
// leaves with the number of failed tests as its exit code.
#pragma once

#include "tests/wine/winelib_gtest.h"

#include "data/platform.h"
#include "winlib/wstr.h"

#include <cstdio>
#include <string>
#include <vector>

namespace winetest {

// Returning from wmain after windows have come and gone loses the exit code
// on the way out of a Winelib program, so the process leaves directly.
[[noreturn]] inline void RunAllTestsAndExit(int argc, WCHAR** argv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.push_back(PL::ToUtf8(U16(argv[i])));
    std::vector<char*> argp;
    for (std::string& a : args) argp.push_back(&a[0]);
    argp.push_back(nullptr);
    int n = argc;
    testing::InitGoogleTest(&n, argp.data());
    const int failed = RUN_ALL_TESTS();
    std::fflush(stdout);
    std::fflush(stderr);
    ExitProcess(static_cast<UINT>(failed));
}

}  // namespace winetest
