// The place editor (the current place, its time zone and summer-time mode;
// new, edited and deleted user places) and the place chooser (every
// built-in and user place, by region).
#pragma once

#include "settings/places.h"
#include "winlib/controls.h"
#include "winlib/titled_dialog.h"

#include <cstdint>
#include <string>
#include <vector>

namespace UI {

// A zone typed as "+05:45", "-3:30", "14" or " -0:30 ": minutes east of UT.
// Hours within -23..23 and minutes within 0..59; false for anything else.
bool ParseZoneText(const std::u16string& text, int32_t& minutes);
// "+05:45", "-03:30", "+00:00".
std::u16string FormatZone(int32_t minutes);
// The zones a clock on Earth keeps: UTC-12:00 to UTC+14:00.
constexpr int32_t kMinZoneMinutes = -12 * 60;
constexpr int32_t kMaxZoneMinutes = 14 * 60;

class PlaceEditDialog : public TitledDialog {
public:
    enum : int { kCmdNew = 40012, kCmdDelete = 40013 };

    PlaceEditDialog();

    void SetPlace(const Data::Place& place, int32_t summerMode);
    const Data::Place& GetPlace() const { return place_; }
    int32_t GetMode() const { return mode_; }

    void OnCreate() override;
    void HandleMessage(mwcl::MessageRecord& m) override;
    void OnCommand(mwcl::MessageRecord& m) override;

private:
    void Show(const Data::Place& place, int32_t mode);
    bool ReadZone(int32_t& minutes) const;
    void DeviceClockRule();
    bool Validate();
    void Refuse(const std::u16string& text, mwcl::Control& field);
    void NewPlace();
    void DeletePlace();
    void ChoosePlace();

    Data::Place place_;
    int32_t mode_ = 0;
    int zonePicked_ = -1;      // the zone list entry picked since the last edit
    std::u16string shownName_;  // the name of the user place as it was shown (empty for a new one)
    mwcl::EditControl name_, latitude_, longitude_;
    mwcl::PushButton choose_;
    mwcl::RadioButton north_, south_, east_, west_, mode0_, mode1_, modeDevice_;
    mwcl::ComboBox zone_;
};

class PlaceChooseDialog : public mwcl::Dialog {
public:
    PlaceChooseDialog();

    void SetPlace(const Data::Place& place) { place_ = place; }
    const Data::Place& GetPlace() const { return place_; }

    void OnCreate() override;
    void HandleMessage(mwcl::MessageRecord& m) override;
    void OnCommand(mwcl::MessageRecord& m) override;

    // The places listed now, in row order (tests).
    const std::vector<Data::Place>& Shown() const { return shown_; }

private:
    void FillList();
    void Layout();

    Data::Place place_;
    std::u16string filter_;
    Data::PlaceMap all_;
    std::vector<Data::Place> shown_;
    std::vector<std::u16string> regions_;  // the region list after "All"
    bool filling_ = false;
    mwcl::ComboBox region_;
    mwcl::ListView list_;
};

}  // namespace UI
