#include "app/compass_objects_dialog.h"

#include "app/astroobj_choose.h"
#include "app/settings_dialogs.h"
#include "data/objects.h"
#include "settings/preferences.h"
#include "winlib/ui_style.h"

#include <commctrl.h>

namespace UI {

namespace {

// The object icons in the window-text colour, made once.
HIMAGELIST SlotIcons(int list) {
    static HIMAGELIST lists[3] = {};
    static const char16_t* const names[3] = {u"planets", u"asteroidsComets", u"objects"};
    if (list < 0 || list > 2) list = 0;
    if (!lists[list]) lists[list] = CreateMonochromeImageList(names[list], TextColor(), kTransparent);
    return lists[list];
}

}  // namespace

const int CompassObjDialog::kCheckIds[kRows] = {1063, 1064, 1065, 1066, 1068, 1069, 1070, 1071, 1072, 1073};
const int CompassObjDialog::kLinkIds[kRows] = {1075, 1076, 1077, 1078, 1079, 1080, 1081, 1082, 1083, 1084};

CompassObjDialog::CompassObjDialog() : TitledDialog(u"COMPASS_OBJ_DIALOG") {}

void CompassObjDialog::OnCreate() {
    TitledDialog::OnCreate();
    MoveControlsBelowTitle();
    for (int i = 0; i < kRows; ++i) {
        checks_[i].Attach(hwnd_, kCheckIds[i]);
        links_[i].Attach(hwnd_, kLinkIds[i]);
        MakeLink(links_[i].GetHandle());
    }
    Fill();
}

void CompassObjDialog::Fill() {
    InvalidateRect(hwnd_, nullptr, TRUE);
    const Data::Preferences& prefs = Data::Preferences::Instance();
    for (int i = 0; i < kRows; ++i) {
        checks_[i].SetChecked(!prefs.compassHide[i]);
        const Data::AstroObjRef& object = prefs.compass[i].object;
        links_[i].SetText(object.kind == Data::kObjNone ? std::u16string(u" -- ") : Data::ObjectName(object));
    }
}

void CompassObjDialog::PaintIcons() {
    const Data::Preferences& prefs = Data::Preferences::Instance();
    HDC dc = GetDC(hwnd_);
    for (int i = 0; i < kRows; ++i) {
        const Data::AstroObjRef& object = prefs.compass[i].object;
        if (object.kind == Data::kObjNone) continue;
        const Data::ObjectIconRef icon = Data::ObjectIcon(object);
        HIMAGELIST images = SlotIcons(icon.list);
        int w = 0, h = 0;
        if (!images || !ImageList_GetIconSize(images, &w, &h)) continue;
        // Centred in the gap between the box and the name, and on the name's line.
        const RECT box = ChildRect(hwnd_, checks_[i].GetHandle());
        const RECT link = ChildRect(hwnd_, links_[i].GetHandle());
        const int x = (box.right + link.left) / 2 - w / 2;
        const int y = (link.top + link.bottom) / 2 - h / 2;
        ImageList_Draw(images, icon.image, dc, x, y, ILD_TRANSPARENT);
    }
    ReleaseDC(hwnd_, dc);
}

void CompassObjDialog::ChooseFor(int row) {
    Data::Preferences& prefs = Data::Preferences::Instance();
    Data::AstroObjRef object = prefs.compass[row].object;
    if (!ChooseAstroObject(hwnd_, object, true)) return;
    prefs.compass[row].object = object;
    prefs.compassHide[row] = false;
    Fill();
}

void CompassObjDialog::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_PAINT:
        TitledDialog::HandleMessage(m);
        PaintIcons();
        return;
    case WM_HELP:
        ShowSettingsHelp(u"compassobj");
        m.result = TRUE;
        return;
    default:
        break;
    }
    TitledDialog::HandleMessage(m);
}

void CompassObjDialog::OnCommand(mwcl::MessageRecord& m) {
    if (m.message != WM_COMMAND) {
        DefaultProcessing(m);
        return;
    }
    const int id = LOWORD(m.wParam), code = HIWORD(m.wParam);
    for (int i = 0; i < kRows; ++i) {
        if (id == kCheckIds[i] && code == BN_CLICKED) {
            Data::Preferences::Instance().compassHide[i] = !checks_[i].IsChecked();
            return;
        }
        if (id == kLinkIds[i] && code == STN_CLICKED) {
            ChooseFor(i);
            return;
        }
    }
    DefaultProcessing(m);
}

void RunCompassObjDialog(HWND owner) {
    CompassObjDialog dialog;
    dialog.DoModal(owner);
}

}  // namespace UI
