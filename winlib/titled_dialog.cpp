#include "winlib/titled_dialog.h"

#include "winlib/ui_style.h"
#include "winlib/wstr.h"

#include <algorithm>
#include <limits>

namespace UI {

namespace {

const char16_t kTitleClass[] = u"DialogTitleControl";

}  // namespace

// --- the title strip ------------------------------------------------------------------------

int DialogTitleControl::Create(HWND dialog, int id, const std::u16string& title) {
    // Window colour behind the title, no class style.
    mwcl::RegisterControlClass(kTitleClass, 0, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    title_ = title;

    // The text's height in the title font (an empty title measures as one blank line).
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, TitleFont());
    RECT measure{0, 0, 0, 0};
    const std::u16string probe = title_.empty() ? std::u16string(u" ") : title_;
    DrawTextW(dc, W(probe), -1, &measure, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    const int textHeight = measure.bottom - measure.top;
    if (textHeight <= 0) mwcl::FatalError(u"DrawText failed");

    // Margins of 7, 3, 1000 and 4 dialog units.
    margins_ = RECT{7, 3, 1000, 4};
    MapDialogRect(dialog, &margins_);
    ruleY_ = margins_.bottom + textHeight;
    textRect_ = RECT{margins_.left, margins_.top, margins_.right, margins_.top + textHeight};

    const RECT strip{0, 0, 32767, ruleY_ + 1};
    mwcl::Control::Create(dialog, W(kTitleClass), WS_VISIBLE, id, strip);
    return ruleY_ + 1;
}

void DialogTitleControl::SetTitle(const std::u16string& title) {
    title_ = title;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void DialogTitleControl::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    HGDIOBJ oldFont = SelectObject(dc, TitleFont());
    const COLORREF colour = TextColor();
    const COLORREF oldColour = SetTextColor(dc, colour);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT text = textRect_;
    DrawTextW(dc, W(title_), -1, &text, DT_NOPREFIX);
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, 0, ruleY_, nullptr);
    LineTo(dc, 32767, ruleY_);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
    SelectObject(dc, oldFont);
    EndPaint(hwnd_, &ps);
}

void DialogTitleControl::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_PAINT:
        Paint();
        m.result = 0;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: {
        // Dialogs may react to taps on their title.
        TitleTapNotification n{};
        n.hdr.hwndFrom = hwnd_;
        n.hdr.idFrom = static_cast<UINT_PTR>(id_);
        n.hdr.code = kTitleTapCode;
        n.message = m.message;
        const HWND parent = parent_;
        SendMessageW(parent, WM_NOTIFY, static_cast<WPARAM>(id_), reinterpret_cast<LPARAM>(&n));
        if (hwnd_) DefaultProcessing(m);  // the dialog may have closed meanwhile
        return;
    }
    default:
        mwcl::Control::HandleMessage(m);
        return;
    }
}

// --- titled dialogs -------------------------------------------------------------------------

TitledDialog::TitledDialog(const mwcl::ResourceName& templateName, HINSTANCE instance)
    : mwcl::Dialog(templateName, instance) {}

TitledDialog::~TitledDialog() { ReleaseLinks(); }

void TitledDialog::ReleaseLinks() {
    // Each link gets its own font back before the underlined ones go.
    for (const Link& link : links_)
        if (IsWindow(link.control)) SendMessageW(link.control, WM_SETFONT, reinterpret_cast<WPARAM>(link.original), FALSE);
    for (const auto& f : linkFonts_) DeleteObject(f.second);
    links_.clear();
    linkFonts_.clear();
}

void TitledDialog::SetTitle(const std::u16string& title) {
    title_ = title;
    titleSet_ = true;
    titleControl_.SetTitle(title);
}

void TitledDialog::OnCreate() {
    mwcl::Dialog::OnCreate();
    if (!titleSet_) title_ = mwcl::GetWindowTextOf(hwnd_);
    DropCaption();
    titleHeight_ = titleControl_.Create(hwnd_, -1, title_);
}

void TitledDialog::OnDestroy() {
    mwcl::Dialog::OnDestroy();
    ReleaseLinks();
}

void TitledDialog::DropCaption() {
    // The strip shows the title; a caption bar (which a window manager
    // draws for any captioned window) would show it a second time. The
    // template's client area stays as it was.
    const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    if ((style & WS_CHILD) || (style & WS_CAPTION) != WS_CAPTION) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    const LONG plain = style & ~WS_DLGFRAME;  // WS_BORDER stays: a thin frame
    const LONG exStyle = GetWindowLongW(hwnd_, GWL_EXSTYLE);
    SetWindowLongW(hwnd_, GWL_STYLE, plain);
    RECT outer = client;
    AdjustWindowRectEx(&outer, static_cast<DWORD>(plain), GetMenu(hwnd_) != nullptr, static_cast<DWORD>(exStyle));
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TitledDialog::MakeLink(HWND control) {
    if (!control) return;
    for (const Link& link : links_)
        if (link.control == control) return;  // already a link in this run
    HFONT own = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    // One underlined font per font the links had, for this run of the dialog.
    HFONT underlined = nullptr;
    for (const auto& f : linkFonts_)
        if (f.first == own) underlined = f.second;
    if (!underlined) {
        LOGFONTW lf{};
        if (!own || !GetObjectW(own, sizeof lf, &lf)) GetObjectW(NormalFont(), sizeof lf, &lf);
        lf.lfUnderline = TRUE;
        underlined = CreateFontIndirectW(&lf);
        if (underlined) linkFonts_.emplace_back(own, underlined);
    }
    if (underlined) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(underlined), TRUE);
    SetWindowLongW(control, GWL_STYLE, GetWindowLongW(control, GWL_STYLE) | SS_NOTIFY);
    links_.push_back(Link{control, own});
    InvalidateRect(control, nullptr, TRUE);
}

void TitledDialog::MoveControlsBelowTitle() {
    if (!hwnd_) return;
    const HWND title = titleControl_.GetHandle();
    LONG top = std::numeric_limits<LONG>::max();
    std::vector<HWND> children;
    for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (c == title) continue;
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        top = std::min(top, r.top);
        children.push_back(c);
    }
    if (children.empty() || top >= titleHeight_) return;
    const int shift = titleHeight_ - top + titleHeight_ / 6;  // a little air under the rule
    for (HWND c : children) {
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(c, nullptr, r.left, r.top + shift, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT w;
    GetWindowRect(hwnd_, &w);
    SetWindowPos(hwnd_, nullptr, 0, 0, w.right - w.left, w.bottom - w.top + shift,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TitledDialog::IsLink(HWND control) const {
    for (const Link& link : links_)
        if (link.control == control) return true;
    return false;
}

void TitledDialog::HandleMessage(mwcl::MessageRecord& m) {
    if (m.message == WM_CTLCOLORSTATIC && IsLink(reinterpret_cast<HWND>(m.lParam))) {
        // Default colours first (background brush), then the link colour.
        DefaultProcessing(m);
        HDC dc = reinterpret_cast<HDC>(m.wParam);
        SetTextColor(dc, LinkColor());
        if (!m.result) m.result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_3DFACE));
        return;
    }
    mwcl::Dialog::HandleMessage(m);
}

}  // namespace UI
