// UI::CompassWindow: the main view that points the user towards one chosen
// object with an azimuth and an altitude dial.
#pragma once

#include "app/base_window.h"

namespace UI {

class CompassWindow : public CelvaneBaseWindow {
public:
    CompassWindow();

    void HandleMessage(mwcl::MessageRecord& m) override;
    void Refresh() override;
    // The object the sky view had selected when the user switched here.
    void TakeTarget(const Data::AstroObjRef& object) override;
    const Data::AstroObjRef& Target() const { return target_; }

private:
    Data::AstroObjRef target_;
};

}  // namespace UI
