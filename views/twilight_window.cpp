#include "views/twilight_window.h"

#include "app/shell.h"
#include "data/messages.h"
#include "data/numtext.h"
#include "views/core/compass_dial.h"
#include "views/view_texts.h"
#include "winlib/ui_style.h"

#include <algorithm>

namespace UI {

namespace {

using Data::Message;
using Data::MessageText;
using namespace Twilight;

const Message kMsgPreviousDay{{0x409, u"Previous day"}, {0x407, u"Vorheriger Tag"}};
const Message kMsgNextDay{{0x409, u"Next day"}, {0x407, u"Folgender Tag"}};

const int kViewImages[TwilightWindow::kViewButtonCount] = {0, 1, 3};
const Message* const kViewTips[TwilightWindow::kViewButtonCount] = {&kMsgCompassView, &kMsgSkyView, &kMsgTimeMode};
// The arrows strip: 0 up (a day back, as the Up key), 1 down (a day on).
const int kDayImages[TwilightWindow::kDayButtonCount] = {0, 1};
const Message* const kDayTips[TwilightWindow::kDayButtonCount] = {&kMsgPreviousDay, &kMsgNextDay};

constexpr int32_t kDay = 86400;
// Columns: label, then three pairs of time and marker.
constexpr int kColumns = 7;
constexpr int kRows = 16;

Layout::TextItem* Text(const std::u16string& s, HFONT font = nullptr) {
    return new Layout::TextItem(s, font ? font : NormalFont(), TextColor());
}

Layout::TextItem* Label(const Message& m) { return Text(MessageText(m)); }

Layout::TextItem* Heading(const Message& m) { return Text(MessageText(m), BoldFont()); }

Layout::ClickableTextItem* Link(int id, const std::u16string& s) {
    return new Layout::ClickableTextItem(id, s, UnderlinedFont(), LinkColor());
}

}  // namespace

TwilightWindow::TwilightWindow() : CelvaneBaseWindow(kViewTwilight), page_(kRows, kColumns, true) {}

TwilightWindow::~TwilightWindow() {
    for (HIMAGELIST& list : arrowLists_) {
        if (list) ImageList_Destroy(list);
        list = nullptr;
    }
}

void TwilightWindow::OnCreate() {
    CelvaneBaseWindow::OnCreate();
    viewBar_.Create(hwnd_, kToolbarId, RECT{0, 0, 1, 1}, kViewButtonCount);
    for (int i = 0; i < kViewButtonCount; ++i) viewBar_.SetButton(i, kViewImages[i], MessageText(*kViewTips[i]));
    // The day buttons show the arrows of the keys that do the same.
    arrowLists_[0] = CreateMonochromeImageList(u"arrows", kDefaultColor, kTransparent);
    arrowLists_[1] = CreateMonochromeImageList(u"arrows", LinkColor(), kTransparent);
    arrowLists_[2] = CreateMonochromeImageList(u"arrows", GetSysColor(COLOR_GRAYTEXT), kTransparent);
    dayBar_.Create(hwnd_, kDayToolbarId, RECT{0, 0, 1, 1}, kDayButtonCount, arrowLists_[0], arrowLists_[1],
                   arrowLists_[2]);
    for (int i = 0; i < kDayButtonCount; ++i) dayBar_.SetButton(i, kDayImages[i], MessageText(*kDayTips[i]));
    page_.Create(hwnd_, kPageId, RECT{0, 0, 1, 1}, Layout::TableControl::kScroll);
    BuildPage();
    Refresh();
    PlaceChildren();
}

void TwilightWindow::BuildPage() {
    Layout::TableLayoutManager& t = page_.Table();
    const int pad = ScaledPixels(4);
    const int gap = Lines(0.6);
    for (int c = 0; c < kColumns; ++c) t.SetColumnMargins(c, c % 2 == 1 ? pad : 0, 0);
    t.SetColumnMargins(0, pad, pad);
    t.SetColumnMargins(kColumns - 1, 0, pad);
    // A marker column is as wide as its widest sign.
    for (int c = 2; c < kColumns; c += 2) t.SetColumnMinimum(c, Lines(0.6));

    date_ = Link(kDateItemId, u" ");
    place_ = Link(kPlaceItemId, u" ");
    t.SetItem(0, 0, Label(kMsgDate));
    t.SetItem(0, 1, date_, 1, kColumns - 1);
    t.SetItem(1, 0, Label(kMsgLocation));
    t.SetItem(1, 1, place_, 1, kColumns - 1);
    t.SetRowMargins(0, pad, 0);

    t.SetItem(2, 0, new ObjInfo::SeparatorLineItem(1), 1, kColumns);
    t.SetRowMinimum(2, gap);
    t.SetItem(3, 1, Heading(kMsgRise), 1, 2);
    t.SetItem(3, 3, Heading(kMsgTransit), 1, 2);
    t.SetItem(3, 5, Heading(kMsgSet), 1, 2);
    t.SetItem(4, 0, Link(kSunItemId, MessageText(kMsgSun)));
    t.SetItem(5, 0, Link(kMoonItemId, MessageText(kMsgMoon)));
    for (int row = 0; row < 6; ++row) {
        times_[row] = Text(u"-");
        markers_[row] = Text(u" ");
        const int r = 4 + row / 3, c = 1 + 2 * (row % 3);
        t.SetItem(r, c, times_[row]);
        t.SetItem(r, c + 1, markers_[row]);
    }

    t.SetItem(6, 0, new ObjInfo::SeparatorLineItem(1), 1, kColumns);
    t.SetRowMinimum(6, gap);
    dayLength_ = Text(u"-");
    nightLength_ = Text(u"-");
    change_ = Text(u"-");
    t.SetItem(7, 0, Label(kMsgDayNight));
    t.SetItem(7, 1, dayLength_, 1, 2);
    t.SetItem(7, 3, nightLength_, 1, 2);
    t.SetItem(8, 0, Label(kMsgDiff));
    t.SetItem(8, 1, change_, 1, 2);

    t.SetItem(9, 0, new ObjInfo::SeparatorLineItem(1), 1, kColumns);
    t.SetRowMinimum(9, gap);
    t.SetItem(10, 0, Heading(kMsgTwilight));
    t.SetItem(10, 1, Heading(kMsgMorning), 1, 2);
    t.SetItem(10, 3, Heading(kMsgEvening), 1, 2);
    const Message* names[3] = {&kMsgCivil, &kMsgNautical, &kMsgAstronomical};
    for (int k = 0; k < 3; ++k) {
        t.SetItem(11 + k, 0, Label(*names[k]));
        times_[Calc::kCivilBegin + 2 * k] = Text(u"-");
        times_[Calc::kCivilEnd + 2 * k] = Text(u"-");
        t.SetItem(11 + k, 1, times_[Calc::kCivilBegin + 2 * k], 1, 2);
        t.SetItem(11 + k, 3, times_[Calc::kCivilEnd + 2 * k], 1, 2);
    }
    t.SetItem(14, 0, new ObjInfo::SeparatorLineItem(1), 1, kColumns);
    t.SetRowMinimum(14, gap);
    t.SetItem(15, 0, Label(kMsgMarkers), 1, kColumns);
    t.SetRowMargins(15, 0, pad);
}

void TwilightWindow::PlaceChildren() {
    if (!hwnd_ || !page_.GetHandle()) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    RECT a, b;
    GetWindowRect(viewBar_.GetHandle(), &a);
    GetWindowRect(dayBar_.GetHandle(), &b);
    const int barHeight = std::max(a.bottom - a.top, b.bottom - b.top);
    SetWindowPos(viewBar_.GetHandle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(dayBar_.GetHandle(), nullptr, (a.right - a.left) + Lines(1), (barHeight - (b.bottom - b.top)) / 2, 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    mwcl::MoveWindowTo(page_.GetHandle(), RECT{0, barHeight, client.right, std::max<LONG>(client.bottom, barHeight)});
}

void TwilightWindow::HandleMessage(mwcl::MessageRecord& m) {
    if (m.message == WM_HELP) {
        ShowHelp(u"twilight");
        m.result = TRUE;
        return;
    }
    if (m.message == WM_SIZE) PlaceChildren();
    if (m.message == WM_MOUSEWHEEL && page_.GetHandle()) {
        m.result = SendMessageW(page_.GetHandle(), WM_MOUSEWHEEL, m.wParam, m.lParam);
        return;
    }
    CelvaneBaseWindow::HandleMessage(m);
}

void TwilightWindow::OnCommand(mwcl::MessageRecord& m) {
    if (m.message == WM_NOTIFY) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
        if (hdr && hdr->hwndFrom == viewBar_.GetHandle()) {
            switch (viewBar_.ButtonOfNotification(hdr)) {
            case kBtnCompass: SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(kCmdCompass, 0), 0); break;
            case kBtnSky: SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(kCmdSky, 0), 0); break;
            case kBtnTimeMode: SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(kCmdDisplayTime, 0), 0); break;
            default: break;
            }
            return;
        }
        if (hdr && hdr->hwndFrom == dayBar_.GetHandle()) {
            const int button = dayBar_.ButtonOfNotification(hdr);
            if (button == kBtnPreviousDay) StepDay(-1);
            if (button == kBtnNextDay) StepDay(+1);
            return;
        }
        if (hdr && hdr->hwndFrom == page_.GetHandle()) {
            // A tap gives the page the keyboard; the arrows belong to the
            // window's day steps (the wheel still scrolls the page).
            if (GetFocus() == page_.GetHandle()) SetFocus(hwnd_);
            const int id = Layout::TableControl::TappedItemId(hdr);
            if (id >= 0) ItemTapped(id);
            return;
        }
    }
    CelvaneBaseWindow::OnCommand(m);
}

void TwilightWindow::ItemTapped(int id) {
    switch (id) {
    case kDateItemId:
        // The Settings menu's commands: the dialogs open, and the page is
        // recomputed, the same way from both places.
        SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(kCmdDisplayTime, 0), 0);
        break;
    case kPlaceItemId:
        SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(kCmdLocation, 0), 0);
        break;
    case kSunItemId:
    case kMoonItemId: {
        SettingsDialogs& dialogs = Dialogs();
        if (!dialogs.objectInfo) break;
        Data::AstroObjRef body(Data::kObjBody, id == kSunItemId ? Calc::kSun : Calc::kMoon);
        dialogs.objectInfo(hwnd_, body);
        RefreshCurrentTime();
        Refresh();
        break;
    }
    default:
        break;
    }
}

bool TwilightWindow::OnKey(const mwcl::MessageRecord& m, const mwcl::KeyData& key) {
    if (m.message != WM_KEYDOWN || !key.goingDown) return false;
    if (key.key == VK_UP) {
        StepDay(-1);
        return true;
    }
    if (key.key == VK_DOWN) {
        StepDay(+1);
        return true;
    }
    return false;
}

bool TwilightWindow::StepDay(int direction) {
    // A day from the displayed moment, whatever the time-step settings say:
    // with the live clock running the page starts from now and the clock stops.
    Data::Preferences& prefs = Data::Preferences::Instance();
    Data::TimeSettings time = prefs.time;
    time.stepMode = 1;
    if (!Compass::StepDisplayTime(time, ProgramEphemeris().moment, direction, kDay)) return false;
    time.stepMode = prefs.time.stepMode;
    prefs.time = time;
    ApplyPreferences();
    ArmLiveClock(false);
    Refresh();
    return true;
}

void TwilightWindow::Refresh() {
    Calc::Ephemeris& eph = ProgramEphemeris();
    day_ = Calc::TwilightEvents(eph.moment, eph.place, eph.summerMode);
    texts_ = MakePageTexts(day_, eph.LocalTime());
    if (!date_) return;
    date_->SetText(texts_.date);
    place_->SetText(PlaceName(eph.place));
    for (int i = 0; i < Calc::kTwilightRowCount; ++i)
        if (times_[i]) times_[i]->SetText(texts_.times[i]);
    for (int i = 0; i < 6; ++i) markers_[i]->SetText(texts_.markers[i]);
    dayLength_->SetText(texts_.dayLength);
    nightLength_->SetText(texts_.nightLength);
    change_->SetText(texts_.change);
    page_.UpdateLayout();
}

}  // namespace UI
