// Helpers of the window-library tests.
#pragma once

#include "tests/wine/winelib_gtest.h"

#include "data/messages.h"
#include "data/platform.h"
#include "winlib/mwcl.h"
#include "winlib/wstr.h"

#include <string>

namespace uitest {

// Sets the user language for a test and restores the platform's afterwards.
class ScopedLanguage {
public:
    explicit ScopedLanguage(uint16_t id) { Data::SetUserLangId(id); }
    ~ScopedLanguage() { Data::SetUserLangId(0); }
};

// Handles the messages waiting for this thread (and, for a while, those that come in).
inline void Pump(DWORD milliseconds = 0) {
    const DWORD end = GetTickCount() + milliseconds;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const DWORD now = GetTickCount();
        if (static_cast<int>(end - now) <= 0) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    }
}

inline std::string Utf8(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// The program's own path, to start it again as a second process.
inline std::u16string ModulePath() {
    char16_t path[1024];
    const DWORD n = GetModuleFileNameW(nullptr, W(path), 1024);
    return std::u16string(path, n);
}

}  // namespace uitest
