// Helpers of the application tests: whole files read and written through
// the platform, as the program reads and writes them, this program's path,
// and a main view that counts its refreshes.
#pragma once

#include "tests/wine/ui/ui_test_util.h"

#include "app/base_window.h"
#include "data/platform.h"

#include <cstdio>
#include <string>

namespace apptest {

inline std::string ReadAll(const std::u16string& path) {
    std::string text;
    if (std::FILE* f = PL::Current().OpenFile(path, "rb")) {
        char buf[4096];
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
        std::fclose(f);
    }
    return text;
}

inline void WriteAll(const std::u16string& path, const std::string& text) {
    std::FILE* f = PL::Current().OpenFile(path, "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

// The path of this test program's module.
inline std::u16string ModulePath() {
    char16_t path[1024];
    const DWORD n = GetModuleFileNameW(nullptr, W(path), 1024);
    return std::u16string(path, n);
}

// A main view, created at once, that counts its refreshes and keeps the target handed to it.
class TestView : public UI::CelvaneBaseWindow {
public:
    explicit TestView(int32_t mode) : UI::CelvaneBaseWindow(mode) {
        Create(uitest::FrameClass(), nullptr, WS_OVERLAPPEDWINDOW);
    }
    void Refresh() override { ++refreshes; }
    void TakeTarget(const Data::AstroObjRef& object) override { target = object; }
    int refreshes = 0;
    Data::AstroObjRef target;
};

}  // namespace apptest
