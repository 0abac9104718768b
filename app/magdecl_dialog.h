// The magnetic declination dialog: the earth's field at the current place
// and moment, and whether azimuths are shown from true or magnetic north.
#pragma once

#include "engine/magnetic.h"
#include "winlib/controls.h"
#include "winlib/titled_dialog.h"

#include <string>

namespace UI {

// "2.3°W": |D| to one decimal, E (German O) for an east declination, W otherwise.
std::u16string FormatDeclination(float declination);

class MagneticDeclinationDialog : public TitledDialog {
public:
    MagneticDeclinationDialog();

    void SetMagnetic(bool on);
    bool Magnetic() const { return magnetic_; }

    void OnCreate() override;
    void HandleMessage(mwcl::MessageRecord& m) override;
    void OnCommand(mwcl::MessageRecord& m) override;

    void Refresh();

private:
    bool magnetic_ = false;
    mwcl::StaticControl date_, place_, declination_, inclination_, intensity_;
    mwcl::RadioButton true_, magneticButton_;
};

}  // namespace UI
