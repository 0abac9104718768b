// UI::SkyWindow: the main view with the sky map.
#pragma once

#include "app/base_window.h"

namespace UI {

class SkyWindow : public CelvaneBaseWindow {
public:
    SkyWindow();

    void HandleMessage(mwcl::MessageRecord& m) override;
    void Refresh() override;
};

}  // namespace UI
