// The sky view settings dialog (what the map draws, on two pages in a
// scrolling container) and the view direction dialog (a direction typed as
// azimuth and altitude or as right ascension and declination).
#pragma once

#include "settings/preferences.h"
#include "winlib/controls.h"
#include "winlib/titled_dialog.h"

#include <string>

namespace UI {

// A child window that shows one content window and scrolls it when the
// content is larger than itself.
class ScrolledWindow : public mwcl::Frame {
public:
    void Create(HWND parent);
    // The content window (a child of this window); fatal before Create.
    void SetContent(HWND content);
    HWND Content() const { return content_; }
    void Layout();

    void HandleMessage(mwcl::MessageRecord& m) override;

private:
    void MoveContent();

    HWND content_ = nullptr;
    mwcl::ScrollState horizontal_{SB_HORZ};
    mwcl::ScrollState vertical_{SB_VERT};
};

// Sorts three Telrad ring diameters ascending the way the dialog does.
void SortTelradDiameters(float& d1, float& d2, float& d3);

class SkyViewSettingsDialog : public TitledDialog {
public:
    // A page: a modeless child dialog whose clicks the settings dialog handles.
    class TabPage : public mwcl::Dialog {
    public:
        TabPage(const mwcl::ResourceName& name, SkyViewSettingsDialog& owner) : mwcl::Dialog(name), owner_(owner) {}
        void OnCommand(mwcl::MessageRecord& m) override;

    private:
        SkyViewSettingsDialog& owner_;
    };
    class TabPage1 : public TabPage {
    public:
        explicit TabPage1(SkyViewSettingsDialog& owner) : TabPage(u"SKY_VIEW_SETTINGS_TAB1_DIALOG", owner) {}
    };
    class TabPage2 : public TabPage {
    public:
        explicit TabPage2(SkyViewSettingsDialog& owner) : TabPage(u"SKY_VIEW_SETTINGS_TAB2_DIALOG", owner) {}
    };

    SkyViewSettingsDialog();

    void SetSettings(const Data::SkyDisplaySettings& settings);
    const Data::SkyDisplaySettings& GetSettings() const { return settings_; }

    void OnCreate() override;
    void HandleMessage(mwcl::MessageRecord& m) override;
    void OnCommand(mwcl::MessageRecord& m) override;

    void ShowPage(int index);
    int PageShown() const { return shown_; }
    HWND Page(int index) const { return index == 0 ? page1_.GetHandle() : page2_.GetHandle(); }

private:
    friend class TabPage;
    void PageCommand(mwcl::MessageRecord& m);
    void Layout();
    void Fill();
    bool Collect();

    Data::SkyDisplaySettings settings_;
    mwcl::TabControl tabs_;
    ScrolledWindow scroller_;
    TabPage1 page1_{*this};
    TabPage2 page2_{*this};
    int shown_ = -1;
};

class SetViewDirectionDialog : public TitledDialog {
public:
    SetViewDirectionDialog();

    void SetDirection(float azimuth, float altitude);
    float Azimuth() const { return azimuth_; }
    float Altitude() const { return altitude_; }
    bool EquatorialMode() const { return equatorial_; }

    void OnCreate() override;
    void HandleMessage(mwcl::MessageRecord& m) override;
    void OnCommand(mwcl::MessageRecord& m) override;

private:
    void SetMode(bool equatorial);
    void WriteFields(bool horizontal, bool equatorialFields);
    bool ReadHorizontal(int* failed);
    bool ReadEquatorial(int* failed);

    float azimuth_ = 0, altitude_ = 0;
    bool equatorial_ = false;
    bool writing_ = false;
    mwcl::RadioButton horizontalButton_, equatorialButton_;
    mwcl::EditControl az_, alt_, ra_, dec_;
};

class CelvaneBaseWindow;
// The sky view's "View Settings": the dialog on the preferences' display
// settings; on OK they are stored and `view` (by default the program's sky
// window) redraws with them. True on OK.
bool RunSkyViewSettings(HWND owner, CelvaneBaseWindow* view = nullptr);
// The compass view's "Edit..." of its altitude and azimuth: true on OK with
// the direction typed.
bool RunSetViewDirection(HWND owner, float& azimuth, float& altitude);

}  // namespace UI
