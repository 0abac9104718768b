#include "views/compass_window.h"

#include "app/shell.h"

namespace UI {

CompassWindow::CompassWindow() : CelvaneBaseWindow(kViewCompass) {}

void CompassWindow::HandleMessage(mwcl::MessageRecord& m) {
    if (m.message == WM_HELP) {
        ShowHelp(u"compass");
        m.result = TRUE;
        return;
    }
    CelvaneBaseWindow::HandleMessage(m);
}

void CompassWindow::Refresh() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void CompassWindow::TakeTarget(const Data::AstroObjRef& object) {
    target_ = object;
    Refresh();
}

}  // namespace UI
