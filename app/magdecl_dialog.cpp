#include "app/magdecl_dialog.h"

#include "app/place_dialogs.h"
#include "app/settime_dialog.h"
#include "app/settings_dialogs.h"
#include "app/shell.h"
#include "data/numtext.h"
#include "settings/preferences.h"

namespace UI {

namespace {

enum : int {
    kIdTrue = 1009,
    kIdMagnetic = 1015,
    kIdDate = 1018,
    kIdPlace = 1019,
    kIdDeclination = 1020,
    kIdInclination = 1021,
    kIdIntensity = 1022,
};

}  // namespace

std::u16string FormatDeclination(float declination) {
    // The longitude formatter writes west-positive values: -D puts an east
    // declination on the east side; exactly 0 reads W.
    const float west = -declination;
    return Data::FormatLongitudeDecimal(west == 0.0f ? 0.0f : west);
}

MagneticDeclinationDialog::MagneticDeclinationDialog() : TitledDialog(u"MAGNETIC_DECLINATION_DIALOG") {}

void MagneticDeclinationDialog::SetMagnetic(bool on) {
    magnetic_ = on;
    if (hwnd_) {
        true_.SetChecked(!on);
        magneticButton_.SetChecked(on);
        Refresh();
    }
}

void MagneticDeclinationDialog::OnCreate() {
    TitledDialog::OnCreate();
    MoveControlsBelowTitle();
    date_.Attach(hwnd_, kIdDate);
    place_.Attach(hwnd_, kIdPlace);
    declination_.Attach(hwnd_, kIdDeclination);
    inclination_.Attach(hwnd_, kIdInclination);
    intensity_.Attach(hwnd_, kIdIntensity);
    true_.Attach(hwnd_, kIdTrue);
    magneticButton_.Attach(hwnd_, kIdMagnetic);
    MakeLink(date_.GetHandle());
    MakeLink(place_.GetHandle());
    true_.SetChecked(!magnetic_);
    magneticButton_.SetChecked(magnetic_);
    Refresh();
}

void MagneticDeclinationDialog::Refresh() {
    const Data::Preferences& prefs = Data::Preferences::Instance();
    date_.SetText(Data::FormatDate(EffectiveMoment(prefs.time)));
    place_.SetText(prefs.place.name);
    Calc::MagneticModel& model = ProgramMagneticModel();
    model.Recompute();
    if (model.valid) {
        declination_.SetText(FormatDeclination(model.declination));
        inclination_.SetText(Data::FormatDegreesDecimal(model.inclination));
        intensity_.SetText(Data::FormatResolution(model.intensity, 1) + u" nT");
    } else {
        declination_.SetText(u"-");
        inclination_.SetText(u"-");
        intensity_.SetText(u"-");
    }
}

void MagneticDeclinationDialog::HandleMessage(mwcl::MessageRecord& m) {
    if (m.message == WM_HELP) {
        ShowSettingsHelp(u"magdecl");
        m.result = TRUE;
        return;
    }
    TitledDialog::HandleMessage(m);
}

void MagneticDeclinationDialog::OnCommand(mwcl::MessageRecord& m) {
    if (m.message != WM_COMMAND) {
        DefaultProcessing(m);
        return;
    }
    const int id = LOWORD(m.wParam), code = HIWORD(m.wParam);
    if (id == kIdDate && code == STN_CLICKED) {
        RunDisplayTimeCommand(hwnd_);
        Refresh();
        return;
    }
    if (id == kIdPlace && code == STN_CLICKED) {
        Data::Preferences& prefs = Data::Preferences::Instance();
        PlaceChooseDialog chooser;
        chooser.SetPlace(prefs.place);
        if (chooser.DoModal(hwnd_) == IDOK) {
            prefs.place = chooser.GetPlace();
            ApplyPreferences();
        }
        Refresh();
        return;
    }
    if ((id == kIdTrue || id == kIdMagnetic) && code == BN_CLICKED) {
        magnetic_ = magneticButton_.IsChecked();
        return;
    }
    DefaultProcessing(m);
}

}  // namespace UI
