// The display-time dialog (live clock or a moment of one's own, typed as
// local date and time or as a Julian Date) and the time-step dialog. Both
// edit a copy of the time settings and hand it back on OK.
#pragma once

#include "settings/preferences.h"
#include "winlib/controls.h"
#include "winlib/titled_dialog.h"

#include <cstdint>
#include <string>

namespace UI {

// The moment the time settings stand for: now with the live clock, else the stored time.
Calc::AstroTime EffectiveMoment(const Data::TimeSettings& time);
// A Julian Date the dialog takes: readable, and its calendar year within 1900..2099.
bool ParseDialogJulianDay(const std::u16string& text, Calc::AstroTime& out);

class SetTimeDialog : public TitledDialog {
public:
    enum Source { kFromNone, kFromPickers, kFromJulianDay };
    static constexpr UINT_PTR kSecondTimer = 4001;

    SetTimeDialog();

    void SetTimeSettings(const Data::TimeSettings& time);
    const Data::TimeSettings& GetTimeSettings() const { return time_; }

    void OnCreate() override;
    void HandleMessage(mwcl::MessageRecord& m) override;
    void OnCommand(mwcl::MessageRecord& m) override;

private:
    void Fill(Source source);
    void ReadPickers();
    void ReadJulianDay();
    bool ValidateAndEnd();

    Data::TimeSettings time_;
    bool filling_ = false;
    mwcl::RadioButton useCurrent_, useFollowing_;
    mwcl::DateTimePicker date_, clock_;
    mwcl::EditControl julianDay_;
    mwcl::StaticControl utc_, lmst_, equation_;
};

// --- time step ---------------------------------------------------------------------------------

constexpr int kStepUnitCount = 5;
// Seconds of the units "min", "hours", "sid. days", "days", "years".
extern const int32_t kStepUnitSeconds[kStepUnitCount];
constexpr int kStepPresetCount = 13;
extern const int32_t kStepPresets[kStepPresetCount];
std::u16string StepUnitName(int unit);

// The unit a step of n seconds is shown in, and the amount in that unit.
void BestStepUnit(int32_t seconds, int& unit, double& amount);
// The up-down arrows: the largest preset below the step (delta < 0) or the
// smallest above it (delta > 0), staying at the first or last preset.
int32_t NextStepPreset(int32_t step, int delta);
// An amount typed in a unit: the step in seconds, or false when it is not a
// number or gives less than a second or more than the 32-bit range.
bool StepFromAmount(const std::u16string& text, int unit, int32_t& step);

class TimeStepDialog : public TitledDialog {
public:
    static constexpr UINT_PTR kRefillTimer = 4002;

    TimeStepDialog();

    void SetTimeSettings(const Data::TimeSettings& time);
    const Data::TimeSettings& GetTimeSettings() const { return time_; }

    void OnCreate() override;
    void HandleMessage(mwcl::MessageRecord& m) override;
    void OnCommand(mwcl::MessageRecord& m) override;

private:
    void Fill();
    void ReadAmount();
    void SetAmountText(const std::u16string& text);

    Data::TimeSettings time_;
    bool amountValid_ = true;
    bool filling_ = false;
    std::u16string written_;  // the amount text the dialog wrote last
    mwcl::ComboBox amount_, unit_;
    mwcl::UpDownControl arrows_;
    mwcl::RadioButton modes_[3];
};

}  // namespace UI
