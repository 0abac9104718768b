#include "views/sky_window.h"

#include "app/shell.h"

namespace UI {

SkyWindow::SkyWindow() : CelvaneBaseWindow(kViewSky) {}

void SkyWindow::HandleMessage(mwcl::MessageRecord& m) {
    if (m.message == WM_HELP) {
        ShowHelp(u"sky");
        m.result = TRUE;
        return;
    }
    CelvaneBaseWindow::HandleMessage(m);
}

void SkyWindow::Refresh() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

}  // namespace UI
