// The compass object dialog: which object each of the compass view's slots
// 0 to 9 holds and whether it is shown. It works on the preferences
// directly: every change is in force at once, OK and Cancel both keep it.
#pragma once

#include "winlib/controls.h"
#include "winlib/titled_dialog.h"

namespace UI {

class CompassObjDialog : public TitledDialog {
public:
    static constexpr int kRows = 10;
    static const int kCheckIds[kRows];
    static const int kLinkIds[kRows];

    CompassObjDialog();

    void OnCreate() override;
    void HandleMessage(mwcl::MessageRecord& m) override;
    void OnCommand(mwcl::MessageRecord& m) override;

    void Fill();

private:
    void PaintIcons();
    void ChooseFor(int row);

    mwcl::CheckBox checks_[kRows];
    mwcl::StaticControl links_[kRows];
};

// The compass view's "Customize...": the dialog; the view redraws afterwards.
void RunCompassObjDialog(HWND owner);

}  // namespace UI
