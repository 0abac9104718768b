#include "views/twilight_window.h"

#include "app/shell.h"

namespace UI {

TwilightWindow::TwilightWindow() : CelvaneBaseWindow(kViewTwilight) {}

void TwilightWindow::HandleMessage(mwcl::MessageRecord& m) {
    if (m.message == WM_HELP) {
        ShowHelp(u"twilight");
        m.result = TRUE;
        return;
    }
    CelvaneBaseWindow::HandleMessage(m);
}

void TwilightWindow::Refresh() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

}  // namespace UI
