// UI::SkyWindow: the main view with the sky map — a toolbar of fourteen
// buttons, the map control (UI::SkyWindowControl) and, at the bottom, one of
// three panels: the place and time (UI::SkyWindowLocationInfoControl), the
// selected object (UI::SkyWindowObjectInfoControl) and the zoom or magnitude
// slider (UI::SkyWindowZoomControl). Update, with a reason, is the one way
// from the preferences to the map and the panels.
#pragma once

#include "app/base_window.h"
#include "layout/toolbar.h"
#include "skymap/core/skymapview.h"
#include "views/compass_navigation.h"

#include <string>
#include <vector>

namespace UI {

class SkyWindow;

// Reasons of SkyWindow::Update.
enum SkyUpdateReason {
    kUpdateGeneral = 0,     // time, place, keys, toolbar
    kUpdateDragEnded = 1,   // the map: a drag has ended
    kUpdateDragging = 2,    // the map: the view moved while dragging
    kUpdateDirection = 3,   // the view-direction widget
    kUpdateZoom = 4,        // the zoom slider
    kUpdateMagnitude = 5,   // the magnitude slider
    kUpdateSelection = 6,   // the selection changed by a tap
};

// Panels (panelMode) and their states (panelState).
enum SkyPanel { kPanelNone = 0, kPanelLocation = 1, kPanelObject = 2, kPanelZoom = 3 };
enum SkyPanelState { kPanelHidden = 0, kPanelForAWhile = 1, kPanelPermanent = 2 };

// The drag threshold: a motion of this many pixels in x or y starts a drag.
constexpr int kDragThreshold = 6;

// The map: paints the SkyMapView, turns the stylus into taps and drags,
// blinks the selection marker and draws the reference cross.
class SkyWindowControl : public mwcl::Control {
public:
    static constexpr UINT_PTR kBlinkTimer = 1;
    enum Gesture { kIdle = 0, kPressed = 1, kDragging = 2 };

    explicit SkyWindowControl(SkyWindow& owner);
    ~SkyWindowControl() override;

    void Create(HWND parent, int id, const RECT& rect);
    void HandleMessage(mwcl::MessageRecord& m) override;

    SkyMap::SkyMapView& View() { return view_; }
    void SetOptions(const Data::SkyDisplaySettings& options);
    void SetCentre(float azimuth, float altitude);
    void SetField(float degrees);
    void SetMagnitudeLimit(float magnitude);
    void SetSelected(const Data::AstroObjRef& object);
    void SetReference(const Data::AstroObjRef& object);
    const Data::AstroObjRef& Selected() const { return selected_; }
    // Centres the map on an object's apparent place.
    void CentreOn(const Data::AstroObjRef& object);
    // Centres only when the object is not on the map; true when it moved.
    bool CentreIfOffMap(const Data::AstroObjRef& object);
    // A new field, zooming about the selected object when it is on the map.
    void ZoomKeepingSelected(float field);
    void Centre(float& azimuth, float& altitude) const;
    // The map changed: paint it again.
    void InvalidateMap();
    // The moment or the place changed.
    void TimeChanged();

    int CurrentGesture() const { return gesture_; }
    bool MarkerActive() const { return markerActive_; }

private:
    void Paint();
    void PenDown(int x, int y);
    void PenMove(int x, int y);
    void EndGesture();
    void RefreshMarker();
    void StopMarker();
    void EraseMarker();
    void DrawCross(HDC dc, SkyMap::ScreenPoint p, COLORREF colour);
    void DrawReference(HDC dc);

    SkyWindow& owner_;
    SkyMap::SkyMapView view_;
    Data::AstroObjRef selected_;
    Data::AstroObjRef reference_;
    SkyMap::ScreenPoint referencePoint_{-1000, -1000};
    bool needsPaint_ = true;
    int gesture_ = kIdle;
    POINT pressPoint_{};
    POINT lastPoint_{};
    bool markerActive_ = false;
    bool markerOn_ = false;
    SkyMap::ScreenPoint markerPoint_{-1000, -1000};
    int hx_ = 19, hy_ = 19;
    int dpi_ = 96;
};

// The panels: text lines across the window's width; some lines are links.
class SkyWindowPanel : public mwcl::Control {
public:
    explicit SkyWindowPanel(SkyWindow& owner) : owner_(owner) {}
    void Create(HWND parent, int id);
    void HandleMessage(mwcl::MessageRecord& m) override;
    void SetLines(std::vector<std::u16string> lines);
    const std::vector<std::u16string>& Lines() const { return lines_; }

protected:
    virtual void Paint(HDC dc, const RECT& client);
    // A tap at (x, y) of the panel.
    virtual void Tapped(int x, int y) {}
    // The width the text lines may take.
    virtual int TextWidth(const RECT& client) const { return client.right; }

    SkyWindow& owner_;
    std::vector<std::u16string> lines_;
};

class SkyWindowLocationInfoControl : public SkyWindowPanel {
public:
    explicit SkyWindowLocationInfoControl(SkyWindow& owner) : SkyWindowPanel(owner) {}
    void CreateWidget();
    void Update();
    CompassNavigationControl& Widget() { return widget_; }
    void HandleMessage(mwcl::MessageRecord& m) override;

protected:
    void Tapped(int x, int y) override;
    int TextWidth(const RECT& client) const override;

private:
    static constexpr int kWidgetId = 1;
    void PlaceWidget();
    CompassNavigationControl widget_;
};

class SkyWindowObjectInfoControl : public SkyWindowPanel {
public:
    using SkyWindowPanel::SkyWindowPanel;
    void Update(bool threeLines);
};

class SkyWindowZoomControl : public SkyWindowPanel {
public:
    static constexpr int kTrackbarId = 1;
    explicit SkyWindowZoomControl(SkyWindow& owner) : SkyWindowPanel(owner) {}
    void CreateTrackbar();
    // Zoom mode (true) or magnitude mode.
    void SetZoomMode(bool zoom);
    bool ZoomMode() const { return zoomMode_; }
    void Update(float field, float magThreshold, float limitingMagnitude);
    HWND Trackbar() const { return trackbar_; }
    void HandleMessage(mwcl::MessageRecord& m) override;

protected:
    void Paint(HDC dc, const RECT& client) override;
    void Tapped(int x, int y) override;

private:
    void PlaceTrackbar();
    HWND trackbar_ = nullptr;
    bool zoomMode_ = true;
};

class SkyWindow : public CelvaneBaseWindow {
public:
    static constexpr UINT_PTR kPanelTimer = 100;
    static constexpr UINT kPanelTimeoutMs = 7000;
    static constexpr int kToolbarId = 10, kMapId = 11, kPanelIdBase = 12;

    SkyWindow();
    ~SkyWindow() override;

    void OnCreate() override;
    void HandleMessage(mwcl::MessageRecord& m) override;
    void OnCommand(mwcl::MessageRecord& m) override;
    void Refresh() override;
    void ToggleFullScreen() override;
    void TakeTarget(const Data::AstroObjRef& object) override { ShowSearchResult(object); }

    void Update(int reason);
    // An object found by a search (here or in another view): selected, the
    // object panel shown, the map centred on it only when it is off the map.
    void ShowSearchResult(const Data::AstroObjRef& found);
    // Key-down of an arrow key, Enter (navigation) or the help key.
    void HandleKey(UINT key);
    // Shows a panel (and the zoom panel's mode) and lays the window out.
    void ShowPanel(int panel);
    // The toolbar buttons' enabled and checked states.
    void RefreshToolbar();
    // A toolbar button's action, as if it was tapped.
    void PressButton(int index);
    // The map's panel timer starts again (dragging, sliders).
    void RestartPanelTimer();
    void StopPanelTimer();

    int PanelMode() const { return panelMode_; }
    int PanelState() const { return panelState_; }
    bool ThreeLines() const { return threeLines_; }
    SkyWindowControl& Map() { return map_; }
    LayoutedToolbar& Toolbar() { return toolbar_; }
    SkyWindowLocationInfoControl& LocationPanel() { return location_; }
    SkyWindowObjectInfoControl& ObjectPanel() { return object_; }
    SkyWindowZoomControl& ZoomPanel() { return zoom_; }

private:
    void LayOut();
    void UpdatePanels();

    int panelMode_ = kPanelLocation;
    int panelState_ = kPanelPermanent;
    bool threeLines_ = true;
    int rememberedPanel_ = kPanelNone;  // the panel a drag replaced
    LayoutedToolbar toolbar_;
    SkyWindowControl map_;
    SkyWindowLocationInfoControl location_;
    SkyWindowObjectInfoControl object_;
    SkyWindowZoomControl zoom_;
};

// The object panel's position text of an object (by TapInfo and the
// magnetic switch of the preferences).
std::u16string SkyPositionText(const Data::AstroObjRef& object);

}  // namespace UI
