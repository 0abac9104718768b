// The object info dialog: the page the writers fill for each kind of
// object, its paging links tapped with real stylus messages, and the
// pictures read back pixel by pixel.
#include "tests/wine/ui/ui_test_util.h"

#include "app/objinfo.h"
#include "app/shell.h"
#include "data/messages.h"
#include "data/numtext.h"
#include "data/starcatalog.h"
#include "engine/physical.h"
#include "settings/preferences.h"
#include "winlib/ui_style.h"
#include "winlib/wstr.h"

#include <cmath>
#include <functional>
#include <string>

namespace {

using UI::ObjInfoDialog;
using namespace UI::ObjInfo;
using uitest::ScopedLanguage;

const COLORREF kSeeThrough = RGB(255, 0, 255);

// The displayed moment of a test at Greenwich, the clock standing still.
void SetMoment(int year, int month, int day, int hour) {
    Data::Preferences::Instance().time.useCurrentTime = false;
    Data::Preferences::Instance().magnetic = 0;
    Calc::Ephemeris& eph = UI::ProgramEphemeris();
    eph.place = Calc::Place::Default();
    eph.summerMode = 0;
    eph.moment = Calc::FromCalendar(year, month, day, hour);
    eph.Invalidate();
}

class ScriptedInfo : public ObjInfoDialog {
public:
    using ObjInfoDialog::ObjInfoDialog;
    std::function<void(ScriptedInfo&)> script;
    void OnCreate() override {
        ObjInfoDialog::OnCreate();
        if (script) script(*this);
        End(IDOK);
    }
    // Taps a clickable item of the page with the stylus: down and up on it.
    bool Tap(int clickId) {
        UI::Layout::Rect rect;
        bool found = false;
        UI::Layout::EnumItemsRecursive<UI::Layout::Clickable>(Page().Table(), [&](UI::Layout::Clickable* c) {
            if (c->ClickId() != clickId) return true;
            dynamic_cast<UI::Layout::ILayoutItem*>(c)->GetRect(rect);
            found = true;
            return false;
        });
        if (!found) return false;
        const int x = rect.x + rect.width / 2 - Page().HorizontalPosition();
        const int y = rect.y + rect.height / 2 - Page().VerticalPosition();
        SendMessageW(Page().GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(Page().GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        uitest::Pump();
        return true;
    }
    // The one picture of the page, drawn; null unless there is exactly one.
    const UI::SkyMap::MapBitmap* Picture() {
        GdiFlush();
        return Writer()->Pictures().size() == 1 ? Writer()->Pictures()[0].get() : nullptr;
    }
};

// Runs the dialog for an object with a script; returns whether the script ran.
void RunInfo(const Data::AstroObjRef& o, std::function<void(ScriptedInfo&)> script) {
    ScriptedInfo d(o);
    bool ran = false;
    d.script = [&](ScriptedInfo& info) {
        ran = true;
        script(info);
    };
    EXPECT_EQ(d.DoModal(nullptr), IDOK);
    EXPECT_TRUE(ran);
}

std::u16string SubCell(UI::Layout::TableLayoutManager* t, int row, int column) {
    auto* item = dynamic_cast<UI::Layout::TextItem*>(t->GetItem(row, column));
    return item ? item->Text() : std::u16string();
}

TEST(ObjInfoTexts, HourAngleSidesAndMagnitudes) {
    ScopedLanguage english(0x0409);
    std::u16string a, b;
    HourAngleTexts(13.0, a, b);
    EXPECT_EQ(a + u"|" + b, u"11h00m E|13h00m");
    HourAngleTexts(5.0, a, b);
    EXPECT_EQ(a + u"|" + b, u"5h00m W|");
    EXPECT_EQ(MagnitudeText(-1.456f, true), u"m-1.46");
    EXPECT_EQ(MagnitudeText(-1.456f, false), u"m-1.5");
    EXPECT_EQ(MagnitudeText(-1000.0f, false), u"--");
}

TEST(ObjInfoDialog, ACircumpolarStarHasTransitsOnly) {
    ScopedLanguage english(0x0409);
    SetMoment(2026, 3, 20, 12);
    RunInfo(Data::AstroObjRef(Data::kObjStar, Data::HrToStarIndex(424)), [](ScriptedInfo& d) {  // Polaris
        ASSERT_NE(dynamic_cast<ObjInfoWriterStar*>(d.Writer()), nullptr);
        UI::Layout::TableLayoutManager* t = d.Writer()->RiseSetTable();
        ASSERT_NE(t, nullptr);
        int rises = 0, sets = 0, transits = 0;
        for (int r = 0; r < t->RowCount(); ++r) {
            const std::u16string label = SubCell(t, r, 0);
            if (label == u"Rise" || label == u"Set") {
                (label == u"Rise" ? rises : sets)++;
                EXPECT_EQ(SubCell(t, r, 1) + SubCell(t, r, 4), u"") << r;
            } else if (label == u"Transit") {
                ++transits;
                EXPECT_NE(SubCell(t, r, 1), u"") << r;
            }
        }
        EXPECT_TRUE(rises == 4 && sets == 4 && transits == 4) << rises << " " << sets << " " << transits;
    });
}

TEST(ObjInfoDialog, PagingRiseSetForwardThreeTimesShowsDaysTwoToFive) {
    ScopedLanguage english(0x0409);
    SetMoment(2026, 3, 20, 12);
    RunInfo(Data::AstroObjRef(Data::kObjBody, 4), [](ScriptedInfo& d) {
        ASSERT_NE(dynamic_cast<ObjInfoWriterMars*>(d.Writer()), nullptr);
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(d.Tap(kClickRiseSetNext));
        EXPECT_EQ(d.Writer()->RiseSetOffset(), 2 * 86400);
        UI::Layout::TableLayoutManager* t = d.Writer()->RiseSetTable();
        ASSERT_NE(t, nullptr);
        // Mars transits in daylight; each day's transit lies on the days
        // 2..5 after the displayed date.
        const Calc::AstroTime base = UI::ProgramEphemeris().moment;
        int day = 2;
        for (int r = 0; r < t->RowCount(); ++r) {
            if (SubCell(t, r, 0) != u"Transit") continue;
            EXPECT_EQ(SubCell(t, r, 1), Data::FormatDate(Calc::AddSeconds(base, day * 86400))) << day;
            ++day;
        }
        EXPECT_EQ(day, 6);
    });
}

TEST(ObjInfoDialog, JupitersMoonsStandWhereThePhysicalEphemerisPutsThem) {
    ScopedLanguage german(0x0407);
    SetMoment(2026, 3, 20, 21);
    RunInfo(Data::AstroObjRef(Data::kObjBody, 5), [](ScriptedInfo& d) {
        auto* w = dynamic_cast<ObjInfoWriterJupiter*>(d.Writer());
        ASSERT_NE(w, nullptr);
        EXPECT_GE(w->FindRow(u"Jupiter Monde"), 0);
        ASSERT_NE(d.Picture(), nullptr);
        const UI::SkyMap::MapBitmap& pic = *d.Picture();
        const JupiterPictureGeometry& g = w->Geometry();
        EXPECT_EQ(pic.Width(), static_cast<int>(130 * d.UnitX() + 0.5));
        EXPECT_EQ(pic.Get(g.centreX, g.centreY), RGB(210, 156, 132));
        EXPECT_EQ(pic.Get(0, 0), kSeeThrough);
        Calc::JupiterMoon moons[4];
        Calc::JupiterMoons(UI::ProgramEphemeris().moment, moons);
        int seen = 0;
        for (int i = 0; i < 4; ++i) {
            const int x = g.centreX + static_cast<int>(std::lround(moons[i].x * g.pixelsPerRadius));
            const int y = g.centreY - static_cast<int>(std::lround(moons[i].y * g.pixelsPerRadius));
            EXPECT_TRUE(g.moonX[i] == x && g.moonY[i] == y) << i;
            if (!pic.Inside(x, y)) continue;
            EXPECT_EQ(pic.Get(x, y), g.moonHidden[i] ? RGB(210, 156, 132) : UI::TextColor()) << i;
            seen += !g.moonHidden[i];
        }
        EXPECT_GE(seen, 2);
    });
}

TEST(ObjInfoDialog, SaturnsRingsAtTheirTilt) {
    ScopedLanguage english(0x0409);
    SetMoment(2026, 9, 20, 0);
    RunInfo(Data::AstroObjRef(Data::kObjBody, 6), [](ScriptedInfo& d) {
        ASSERT_NE(d.Picture(), nullptr);
        const UI::SkyMap::MapBitmap& pic = *d.Picture();
        const int cx = pic.Width() / 2, cy = pic.Height() / 2;
        const double a = pic.Width() / 2.0 - 1;
        const double b = -a * UI::ProgramEphemeris().SaturnTilt();
        const int pr = static_cast<int>(std::lround(79.0 * a / 180.0));
        // The outer ring's ends and the planet's rim on the far side.
        EXPECT_EQ(pic.Get(cx - static_cast<int>(std::lround(a)), cy), UI::TextColor());
        EXPECT_EQ(pic.Get(cx, b <= 0 ? cy - pr : cy + pr), UI::TextColor());
        // In front of the planet, between its centre and rim, the rings are hidden.
        const int innerRing = static_cast<int>(std::lround(79.0 / 144.0 * std::fabs(b)));
        if (innerRing > 1 && innerRing < pr - 1) {
            EXPECT_EQ(pic.Get(cx, b <= 0 ? cy + innerRing : cy - innerRing), kSeeThrough);
        }
    });
}

// A constellation's page is the Sun's; a new displayed time rewrites it.
TEST(ObjInfoDialog, AConstellationShowsTheSunAndANewDisplayedTimeRewritesThePage) {
    ScopedLanguage english(0x0409);
    SetMoment(2026, 3, 20, 12);
    RunInfo(Data::AstroObjRef(Data::kObjConstellation, 59), [](ScriptedInfo& d) {
        EXPECT_EQ(d.Shown(), Data::AstroObjRef(Data::kObjBody, 0));
        auto* sun = dynamic_cast<ObjInfoWriterSun*>(d.Writer());
        ASSERT_NE(sun, nullptr);
        ASSERT_TRUE(d.Tap(kClickListNext));
        EXPECT_EQ(sun->PageOffset(), 0);
        const int timeRow = d.Writer()->FindRow(u"Time");
        const std::u16string before = d.Writer()->CellText(timeRow, 1);
        Calc::Ephemeris& eph = UI::ProgramEphemeris();
        eph.moment = Calc::FromCalendar(2026, 6, 1, 8);
        eph.Invalidate();
        SendMessageW(d.GetHandle(), ObjInfoDialog::kTimeChangedMessage, 0, 0);
        const std::u16string after = d.Writer()->CellText(timeRow, 1);
        EXPECT_NE(before, after);
        EXPECT_EQ(after, Data::FormatDate(eph.LocalTime()) + u" " + Data::FormatTime(eph.LocalTime()));
        EXPECT_EQ(sun->PageOffset(), 0);  // the paging survives the rewrite
    });
}

}  // namespace
