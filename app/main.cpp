// Celvane's entry point.
#include "app/shell.h"

#include <cstdio>

extern "C" int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    const int code = UI::CelvaneMain(instance);
    // A Winelib program that had windows loses its exit code when it
    // returns from its entry point; leave directly.
    std::fflush(stdout);
    ExitProcess(static_cast<UINT>(code));
}
