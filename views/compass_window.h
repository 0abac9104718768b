// UI::CompassWindow: the main view that points the user towards one chosen
// object with an azimuth and an altitude dial, the other objects of the
// compass list as icons, the current object's data and the Moon's phase.
#pragma once

#include "app/base_window.h"
#include "layout/table_control.h"
#include "settings/preferences.h"
#include "layout/toolbar.h"
#include "skymap/moon_picture.h"
#include "views/core/compass_dial.h"

#include <string>
#include <vector>

namespace UI {

class CompassWindow : public CelvaneBaseWindow {
public:
    // Child controls and commands (the 3000 range).
    enum : int {
        kToolbarId = 3001,
        kInfoId = 3002,
        kDateLineId = 3003,
        kPlaceLineId = 3004,
        kCmdSlotBase = 3100,  // + slot: the popup's object entries
        kCmdCustomize = 3120,
    };
    // The toolbar's buttons.
    enum : int { kBtnTimeMode = 0, kBtnSkyView, kBtnShowInSky, kBtnObjectInfo, kBtnSearch, kButtonCount };

    // One slot of the compass list as the last update found it.
    struct SlotState {
        bool used = false;      // a non-empty slot
        bool hidden = false;
        double azimuth = 0;     // as shown: magnetic when magnetic azimuths are on and the field is known
        double trueAzimuth = 0;
        double altitude = 0;
        Data::ObjectIconRef icon;
    };

    CompassWindow();
    ~CompassWindow() override;

    void OnCreate() override;
    void HandleMessage(mwcl::MessageRecord& m) override;
    void OnCommand(mwcl::MessageRecord& m) override;
    bool OnKey(const mwcl::MessageRecord& m, const mwcl::KeyData& key) override;
    void Refresh() override;
    // The object the sky view had selected when the user switched here.
    void TakeTarget(const Data::AstroObjRef& object) override;

    // The object the dials point to: its slot becomes current; an object in
    // no slot takes slot 10 (the slot the compass object dialog leaves to
    // objects chosen elsewhere).
    void SetCurrentObject(const Data::AstroObjRef& object);
    const Data::AstroObjRef& Target() const;
    int CurrentSlot() const;
    // Makes a slot current (a non-empty one); false otherwise.
    bool SelectSlot(int slot);

    // --- what the last update and paint found (tests read them) ---------------------------
    const SlotState& Slot(int slot) const { return slots_[slot]; }
    // Azimuths are shown magnetic: asked for, and the field is known.
    bool ShowsMagnetic() const { return showMagnetic_; }
    // Magnetic azimuths are asked for but the moment lies outside the field models.
    bool MagneticUnknown() const { return magneticUnknown_; }
    double MagneticDeclination() const { return declination_; }
    // The drawing area and the dials of the last paint.
    RECT DrawingArea() const;
    // The part of it the dials are laid out in (a text line kept free around
    // them for the compass letters, one at the bottom for the field's line).
    RECT DialArea() const { return dialArea_; }
    // Paints the whole view into a context the size of the client area.
    void PaintInto(HDC dc, const RECT& client) { Paint(dc, client); }
    Compass::DialLayout Dials() const;
    int IconCell() const { return iconCell_; }
    // The slot whose icon lies under a client point, or -1.
    int SlotAt(POINT p) const;
    // The azimuth label of the current object and the magnetic field's line.
    const std::u16string& AzimuthText() const { return azimuthText_; }
    const std::u16string& StatusText() const { return statusText_; }
    LayoutedToolbar& Toolbar() { return toolbar_; }
    Layout::TableControl& InfoLines() { return info_; }

private:
    void CreateChildren();
    void PlaceChildren();
    void Recompute();
    void UpdateInfoLines();
    void ToolbarButton(int button);
    void CycleSlot(int direction);
    void DialTapped(POINT p);
    void ShowSlotMenu(POINT client);
    void Paint(HDC dc, const RECT& client);
    void DrawFaces(HDC dc, const Compass::DialLayout& d, int dpi);
    void DrawIcon(HDC dc, const Data::ObjectIconRef& icon, int cx, int cy, COLORREF colour, int slot);
    void DrawCurrent(HDC dc, const Compass::DialLayout& d, int dpi);
    void DrawMoonInset(HDC dc, const Compass::DialLayout& d, int dpi, int quadrant);

    LayoutedToolbar toolbar_;
    Layout::TableControl info_;
    Layout::ClickableTextItem* dateLine_ = nullptr;
    Layout::ClickableTextItem* placeLine_ = nullptr;

    SlotState slots_[Data::kCompassSlots];
    bool showMagnetic_ = false;
    bool magneticUnknown_ = false;
    double declination_ = 0;
    std::u16string modelName_;
    // The current object's figures.
    Calc::BodyInfo currentInfo_{};
    std::vector<std::u16string> textBlock_;
    std::u16string azimuthText_, altitudeText_, statusText_;
    // The Moon.
    SkyMap::MoonShape moonShape_;
    float moonIlluminated_ = 0;
    bool moonWaxing_ = false;

    // The last paint's geometry and icons (for taps).
    RECT area_{};
    RECT dialArea_{};
    Compass::DialLayout dials_;
    int iconCell_ = 0;
    struct IconSpot {
        RECT rect;
        int slot;
    };
    std::vector<IconSpot> iconSpots_;

    POINT pressPoint_{};
    bool pressed_ = false;
};

}  // namespace UI
