// UI::CompassNavigationControl: the small view-direction widget of the sky
// view's location panel — an altitude half dial and an azimuth dial with
// their needles, four arrows that nudge the direction, and popup menus of
// preset altitudes and azimuths (menus 109/119) with "Edit..." for typing a
// direction.
#pragma once

#include "winlib/mwcl.h"

namespace UI {

class CompassNavigationControl : public mwcl::Control {
public:
    // WM_COMMAND notification codes sent to the parent (id = the control's).
    enum : int {
        kDirectionChanged = 1,  // the user changed azimuth or altitude
        kMenuOpening = 2,       // a popup menu opens (the panel keeps itself shown)
        kMenuClosed = 3,
    };
    // The arrows: which one a point hits.
    enum Arrow : int { kNoArrow = -1, kArrowUp = 0, kArrowDown, kArrowLeft, kArrowRight };

    void Create(HWND parent, int id, const RECT& rect);
    using mwcl::Control::Create;

    // The direction shown (degrees), clamped to [0, 360] and [-90, 90]; the
    // control repaints only when it changes.
    void SetDirection(double azimuth, double altitude);
    double Azimuth() const { return azimuth_; }
    double Altitude() const { return altitude_; }
    // The field of view the arrows' steps follow (0.2 of it in altitude).
    void SetViewAngle(double degrees) { viewAngle_ = degrees > 0 ? degrees : 1; }

    // The arrow under a client point of a control of this size.
    static int ArrowAt(int width, int height, POINT p);
    // One arrow's step: altitude by 0.2 x the field (within +-90), azimuth by
    // that divided by max(cos altitude, field / 180), wrapped into [0, 360).
    static void Nudge(int arrow, double viewAngle, double& azimuth, double& altitude);
    // Applies a preset or "Edit..." command of the menus; true when the
    // direction changed.
    bool ApplyMenuCommand(int command);

    void HandleMessage(mwcl::MessageRecord& m) override;

private:
    void Paint(HDC dc, int width, int height);
    void Tapped(POINT p);
    void Changed();

    double azimuth_ = 0;
    double altitude_ = 0;
    double viewAngle_ = 90;
    bool pressed_ = false;
};

}  // namespace UI
