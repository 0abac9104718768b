// Helpers of the window-library tests.
#pragma once

#include "tests/wine/winelib_gtest.h"

#include "data/messages.h"
#include "data/platform.h"
#include "layout/toolbar.h"
#include "winlib/mwcl.h"
#include "winlib/wstr.h"

#include <string>
#include <vector>

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

// The window class of the tests' frames, kept to the end of the process like the program's own.
inline mwcl::WindowClass& FrameClass() {
    static mwcl::WindowClass* cls = new mwcl::WindowClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, GetSysColorBrush(COLOR_WINDOW));
    return *cls;
}

// A top-level window that hosts controls and records what they report: the
// table controls' events, the clickable item a release tapped (-1 for none),
// and the toolbar button that fired (-1 for none).
class Host : public mwcl::Frame {
public:
    explicit Host(int x = 0, int y = 0, int w = 300, int h = 300) {
        Create(FrameClass(), nullptr, WS_POPUP | WS_VISIBLE);
        SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER);
    }
    ~Host() override {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    void OnCommand(mwcl::MessageRecord& m) override {
        const auto* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
        if (m.message != WM_NOTIFY || !dynamic_cast<UI::Layout::TableControl*>(mwcl::Window::FromHandle(hdr->hwndFrom)))
            return;
        events.push_back(reinterpret_cast<const UI::Layout::TableControlNotification*>(hdr)->event);
        tapped.push_back(UI::Layout::TableControl::TappedItemId(hdr));
        if (toolbar) fired.push_back(toolbar->ButtonOfNotification(hdr));
    }
    std::vector<int> events, tapped, fired;
    UI::LayoutedToolbar* toolbar = nullptr;
};

// A stylus message at (x, y) of a window; the pointer goes along, so that the
// window system's own moves agree with the messages.
inline void Stylus(HWND hwnd, UINT message, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    SetCursorPos(p.x, p.y);
    SendMessageW(hwnd, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}
// A press and a release at (x, y).
inline void Tap(HWND hwnd, int x, int y) {
    Stylus(hwnd, WM_LBUTTONDOWN, x, y);
    Stylus(hwnd, WM_LBUTTONUP, x, y);
}

// A picture of 32-bit pixels filled with one colour, to draw into and read back.
class Canvas {
public:
    Canvas(int w, int h, COLORREF fill) : w_(w) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bmp_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bmp_);
        Fill(RECT{0, 0, w, h}, fill);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bmp_);
        DeleteDC(dc_);
    }
    void Fill(const RECT& r, COLORREF colour) {
        HBRUSH b = CreateSolidBrush(colour);
        FillRect(dc_, &r, b);
        DeleteObject(b);
    }
    HDC Dc() const { return dc_; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const DWORD v = bits_[y * w_ + x];
        return RGB((v >> 16) & 0xff, (v >> 8) & 0xff, v & 0xff);
    }

private:
    int w_;
    HDC dc_;
    HBITMAP bmp_;
    HGDIOBJ old_;
    DWORD* bits_ = nullptr;
};

}  // namespace uitest
