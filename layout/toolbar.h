// Toolbars of picture buttons: a button shows pressed feedback while the
// stylus is on it, fires when the stylus is lifted on it, and shows its
// tooltip when the stylus is held on it (and then does not fire).
#pragma once

#include "layout/items.h"
#include "layout/table_control.h"
#include "winlib/mwcl.h"

#include <memory>
#include <string>

namespace UI {

// Tooltip sides.
enum TooltipSide { kTooltipNone = 0, kTooltipAbove = 1, kTooltipRight = 2, kTooltipBelow = 3, kTooltipLeft = 4 };

class TooltipPopupWindow : public mwcl::Frame {
public:
    TooltipPopupWindow();
    ~TooltipPopupWindow() override;

    // Opens the popup beside a rectangle of the host window.
    void Show(HWND host, const RECT& anchorInHost, int side, const std::u16string& text);
    // The popup's rectangle on the screen.
    RECT ScreenRect() const;

    void OnCreate() override;
    void OnPaint(HDC dc, PAINTSTRUCT& ps) override;

private:
    RECT anchor_{};
    int side_ = kTooltipBelow;
    std::u16string text_;
    std::unique_ptr<Layout::TextItem> textItem_;
};

class ButtonItem : public Layout::ItemBase, public Layout::DrawableItem {
public:
    enum PressState { kIdle = 0, kArmed = 1, kPressedOutside = 2 };

    ButtonItem(HWND host, HIMAGELIST normal, int normalIndex, HIMAGELIST armed, int armedIndex, HIMAGELIST disabled,
               int disabledIndex, std::u16string tooltip, int tooltipSide = kTooltipBelow);
    ~ButtonItem() override;

    void SetEnabled(bool on);
    void SetChecked(bool on);
    bool IsEnabled() const { return !disabled_; }
    bool IsChecked() const { return checked_; }
    void SetTooltipSide(int side) { side_ = side; }
    int TooltipSide() const { return side_; }
    const std::u16string& Tooltip() const { return tooltip_; }
    int State() const { return state_; }
    // The open tooltip popup, or none.
    TooltipPopupWindow* OpenTooltip() const { return popup_.get(); }
    // Opens the tooltip beside the button (a mouse resting on it); false when
    // the button has no tooltip. A press, leave or release closes it.
    bool ShowTooltip();
    // Which image the button shows: its list and index.
    void CurrentImage(HIMAGELIST& list, int& index) const;

    void GetSize(int32_t& width, int32_t& height) override;
    void Draw(HDC dc) override;
    Layout::ILayoutItem* HandleEvent(const Layout::Position& p, int event) override;

private:
    void Redraw();
    void CloseTooltip();

    HWND host_;
    HIMAGELIST normal_;
    int normalIndex_;
    HIMAGELIST armed_;
    int armedIndex_;
    HIMAGELIST disabledList_;
    int disabledIndex_;
    std::u16string tooltip_;
    int state_ = kIdle;
    std::unique_ptr<TooltipPopupWindow> popup_;
    int side_;
    bool disabled_ = false;
    bool checked_ = false;
    bool tooltipShownThisPress_ = false;
};

// A mouse resting on a button for the system's hover time shows its tooltip
// as well (a mouse user never holds a button down to learn what it does);
// the stylus keeps press and hold.
class LayoutedToolbar : public Layout::TableControl {
public:
    LayoutedToolbar();

    // A one-row table of `buttons` cells. Null lists take the program's
    // standard lists ("buttons_normal", "buttons_armed", "buttons_disabled").
    void Create(HWND parent, int id, const RECT& rect, int buttons, HIMAGELIST normal = nullptr,
                HIMAGELIST armed = nullptr, HIMAGELIST disabled = nullptr);
    using Layout::TableControl::Create;

    // A new button in cell `index` (the same image index in all three lists;
    // a negative image index leaves the cell empty).
    void SetButton(int index, int image, const std::u16string& tooltip, bool enabled = true);
    void EnableButton(int index, bool on);
    void CheckButton(int index, bool on);
    ButtonItem* Button(int index) const;
    int ButtonCount() const;
    // Lays the buttons out in one column (true) or one row.
    void SetVertical(bool vertical);
    int TooltipSide() const { return tooltipSide_; }

    // The index of the button a notification fired, or -1 for any other event.
    int ButtonOfNotification(const NMHDR* notification) const;

    // The program-wide standard button images (null when the strips are missing).
    static HIMAGELIST StandardNormal();
    static HIMAGELIST StandardArmed();
    static HIMAGELIST StandardDisabled();

    void HandleMessage(mwcl::MessageRecord& m) override;

protected:
    void OnLayout() override;
    LPCWSTR WindowClassName() const override;

private:
    bool CellOf(int index, int32_t& row, int32_t& column) const;
    void MouseMoved(const mwcl::MessageRecord& m);

    Layout::ILayoutItem* hoverItem_ = nullptr;  // where the hover time runs
    bool trackingLeave_ = false;

    HIMAGELIST normal_ = nullptr;
    HIMAGELIST armed_ = nullptr;
    HIMAGELIST disabled_ = nullptr;
    int tooltipSide_ = kTooltipBelow;
};

}  // namespace UI
