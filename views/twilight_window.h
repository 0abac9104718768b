// UI::TwilightWindow: the main view with the day's rise, transit and set
// times of the Sun and the Moon, the length of day and night and the
// twilights, stepped a day at a time.
#pragma once

#include "app/base_window.h"
#include "layout/table_control.h"
#include "layout/toolbar.h"
#include "views/core/twilight_table.h"

namespace UI {

class TwilightWindow : public CelvaneBaseWindow {
public:
    // Child controls and clickable items (the 3000 range).
    enum : int {
        kToolbarId = 3201,
        kDayToolbarId = 3202,
        kPageId = 3203,
        kDateItemId = 3210,
        kPlaceItemId = 3211,
        kSunItemId = 3212,
        kMoonItemId = 3213,
    };
    // The view toolbar's buttons, and the day toolbar's.
    enum : int { kBtnCompass = 0, kBtnSky, kBtnTimeMode, kViewButtonCount };
    enum : int { kBtnPreviousDay = 0, kBtnNextDay, kDayButtonCount };

    TwilightWindow();
    ~TwilightWindow() override;

    void OnCreate() override;
    void HandleMessage(mwcl::MessageRecord& m) override;
    void OnCommand(mwcl::MessageRecord& m) override;
    bool OnKey(const mwcl::MessageRecord& m, const mwcl::KeyData& key) override;
    void Refresh() override;

    // Moves the displayed time a day back (-1) or on (+1); false when it did not change.
    bool StepDay(int direction);

    // The page as the last refresh computed it (tests read them).
    const Calc::TwilightDay& Day() const { return day_; }
    const Twilight::PageTexts& Texts() const { return texts_; }
    Layout::TableControl& Page() { return page_; }
    LayoutedToolbar& DayToolbar() { return dayBar_; }

private:
    void BuildPage();
    void PlaceChildren();
    void ItemTapped(int id);

    LayoutedToolbar viewBar_;
    LayoutedToolbar dayBar_;
    HIMAGELIST arrowLists_[3] = {nullptr, nullptr, nullptr};
    Layout::TableControl page_;

    Calc::TwilightDay day_{};
    Twilight::PageTexts texts_;
    // The items whose texts change.
    Layout::TextItem* date_ = nullptr;
    Layout::TextItem* place_ = nullptr;
    Layout::TextItem* times_[Calc::kTwilightRowCount] = {};
    Layout::TextItem* markers_[6] = {};
    Layout::TextItem* dayLength_ = nullptr;
    Layout::TextItem* nightLength_ = nullptr;
    Layout::TextItem* change_ = nullptr;
};

}  // namespace UI
