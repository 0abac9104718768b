#include "app/active_files_dialog.h"

#include "app/settings_dialogs.h"
#include "data/objectfiles.h"
#include "winlib/wstr.h"

#include <algorithm>

namespace UI {

namespace {

enum : int { kIdObjects = 1086, kIdComets = 1087, kIdList = 1088 };

void ListAvailable(bool comets, std::vector<std::u16string>& names) {
    if (comets)
        Data::CometFiles().ListAvailableFiles(names);
    else
        Data::UserObjectFiles().ListAvailableFiles(names);
}

void ListLoaded(bool comets, std::vector<std::u16string>& names) {
    if (comets)
        Data::CometFiles().ListLoadedFiles(names);
    else
        Data::UserObjectFiles().ListLoadedFiles(names);
}

}  // namespace

ActiveFilesDialog::ActiveFilesDialog() : TitledDialog(u"ACTIVE_FILES_DIALOG") {}

void ActiveFilesDialog::OnCreate() {
    TitledDialog::OnCreate();
    MoveControlsBelowTitle();
    objects_.Attach(hwnd_, kIdObjects);
    cometsButton_.Attach(hwnd_, kIdComets);
    list_.Attach(hwnd_, kIdList);
    list_.SetCheckBoxes(true);
    SendMessageW(list_.GetHandle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    list_.AddColumn(0, u"FileColumn", 30000);
    objects_.SetChecked(true);
    cometsButton_.SetChecked(false);
    FillList();
}

void ActiveFilesDialog::FillList() {
    comets_ = cometsButton_.IsChecked();
    names_.clear();
    ListAvailable(comets_, names_);
    std::vector<std::u16string> loaded;
    ListLoaded(comets_, loaded);
    filling_ = true;
    list_.Clear();
    for (size_t i = 0; i < names_.size(); ++i) {
        const int row = list_.InsertItem(static_cast<int>(i), names_[i]);
        list_.SetChecked(row, std::find(loaded.begin(), loaded.end(), names_[i]) != loaded.end());
    }
    filling_ = false;
}

void ActiveFilesDialog::Toggle(int row, bool checked) {
    if (row < 0 || row >= static_cast<int>(names_.size())) return;
    const std::u16string& name = names_[row];
    if (checked) {
        const std::u16string error =
            comets_ ? Data::CometFiles().Load(name, false) : Data::UserObjectFiles().Load(name, false);
        if (!error.empty()) {
            // The file stays listed, unchecked; the others are untouched.
            filling_ = true;
            list_.SetChecked(row, false);
            filling_ = false;
            ShowSettingsMessage(hwnd_, error, MB_OK | MB_ICONSTOP, u"");
        }
    } else {
        if (comets_)
            Data::CometFiles().Unload(name);
        else
            Data::UserObjectFiles().Unload(name);
    }
    // A name found in both folders has two rows: they show the one state.
    std::vector<std::u16string> loaded;
    ListLoaded(comets_, loaded);
    const bool isLoaded = std::find(loaded.begin(), loaded.end(), name) != loaded.end();
    filling_ = true;
    for (size_t i = 0; i < names_.size(); ++i)
        if (names_[i] == name && list_.IsChecked(static_cast<int>(i)) != isLoaded)
            list_.SetChecked(static_cast<int>(i), isLoaded);
    filling_ = false;
}

void ActiveFilesDialog::Layout() {
    if (!hwnd_ || !list_.GetHandle()) return;
    int m = 0;
    const int bottom = PlaceButtonsBottomRight(hwnd_, &m);
    const RECT r = ChildRect(hwnd_, list_.GetHandle());
    MoveWindow(list_.GetHandle(), r.left, r.top, std::max<int>(0, mwcl::GetClientSize(hwnd_).cx - m - r.left),
               std::max<int>(0, bottom - r.top), TRUE);
}

void ActiveFilesDialog::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_SIZE:
        Layout();
        break;
    case WM_HELP:
        ShowSettingsHelp(u"activefiles");
        m.result = TRUE;
        return;
    default:
        break;
    }
    TitledDialog::HandleMessage(m);
}

void ActiveFilesDialog::OnCommand(mwcl::MessageRecord& m) {
    if (m.message == WM_NOTIFY) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
        if (hdr && hdr->idFrom == kIdList && hdr->code == LVN_ITEMCHANGED) {
            const NMLISTVIEW* lv = reinterpret_cast<const NMLISTVIEW*>(m.lParam);
            if (!filling_ && (lv->uChanged & LVIF_STATE) &&
                ((lv->uNewState ^ lv->uOldState) & LVIS_STATEIMAGEMASK) && lv->iItem >= 0)
                Toggle(lv->iItem, (lv->uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2));
            m.result = 0;
            return;
        }
        DefaultProcessing(m);
        return;
    }
    const int id = LOWORD(m.wParam), code = HIWORD(m.wParam);
    if ((id == kIdObjects || id == kIdComets) && code == BN_CLICKED) {
        FillList();
        return;
    }
    DefaultProcessing(m);
}

}  // namespace UI
