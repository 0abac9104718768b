// Entry point of the object chooser and object info tests: the Win32
// platform, the star resources, and the shipped object files loaded.
#include "tests/wine/wine_test_main.h"

#include "data/objectfiles.h"
#include "data/platform.h"
#include "data/starcatalog.h"
#include "winlib/platform_win32.h"
#include "winlib/wstr.h"

#include <commctrl.h>

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

    winetest::RunAllTestsAndExit(argc, argv);
}
