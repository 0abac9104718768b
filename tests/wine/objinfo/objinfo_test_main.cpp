// Entry point of the object chooser and object info tests: the Win32
// platform, the star resources, and the shipped object files loaded.
#include "tests/wine/winelib_gtest.h"

#include "data/objectfiles.h"
#include "data/platform.h"
#include "data/starcatalog.h"
#include "winlib/platform_win32.h"
#include "winlib/wstr.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

extern "C" int wmain(int argc, WCHAR** argv) {
    static PL::Win32Platform platform;
    PL::SetCurrent(&platform);
    InitCommonControls();
    Data::LoadStarResources();
    Data::SetStarFilePath(u"");
    const std::u16string data = u"Z:" + PL::FromUtf8(CELVANE_OBJECT_FILES_DIR);
    Data::ObjectFileManagerBase::SetFolders(data, data);
    Data::UserObjectFiles().Load(u"Messier", false);
    Data::CometFiles().Load(u"Comets", false);
    Data::CometFiles().Load(u"Asteroids", false);

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
