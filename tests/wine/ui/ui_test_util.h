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

// A picture of 32-bit pixels filled with one colour, to draw into and read back.
class Canvas {
public:
    Canvas(int w, int h, COLORREF fill) : w_(w), h_(h) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bmp_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bmp_);
        HBRUSH b = CreateSolidBrush(fill);
        RECT r{0, 0, w, h};
        FillRect(dc_, &r, b);
        DeleteObject(b);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bmp_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const DWORD v = bits_[y * w_ + x];
        return RGB((v >> 16) & 0xff, (v >> 8) & 0xff, v & 0xff);
    }

private:
    int w_, h_;
    HDC dc_;
    HBITMAP bmp_;
    HGDIOBJ old_;
    DWORD* bits_ = nullptr;
};

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
