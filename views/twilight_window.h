// UI::TwilightWindow: the main view with the day's rise, transit and set
// times of the Sun and the Moon and the twilights.
#pragma once

#include "app/base_window.h"

namespace UI {

class TwilightWindow : public CelvaneBaseWindow {
public:
    TwilightWindow();

    void HandleMessage(mwcl::MessageRecord& m) override;
    void Refresh() override;
};

}  // namespace UI
