// Entry point of the Winelib test programs: the UTF-16 command line goes to
// GoogleTest as UTF-8.
#include "tests/wine/winelib_gtest.h"

#include "data/platform.h"
#include "winlib/wstr.h"

#include <string>
#include <vector>

extern "C" int wmain(int argc, WCHAR** argv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.push_back(PL::ToUtf8(U16(argv[i])));
    std::vector<char*> argp;
    for (std::string& a : args) argp.push_back(&a[0]);
    argp.push_back(nullptr);
    int n = argc;
    testing::InitGoogleTest(&n, argp.data());
    return RUN_ALL_TESTS();
}
