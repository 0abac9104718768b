#include "app/place_dialogs.h"

#include "app/settings_dialogs.h"
#include "data/messages.h"
#include "data/numtext.h"
#include "winlib/ui_style.h"
#include "winlib/wstr.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace UI {

namespace {

const Data::Message kMsgInvalidAngle{
    {0x409, u"Invalid Value or format.\nValid example: 11°22' or 11:22"},
    {0x407, u"Ungültiger Wert oder ungültiges Format.\nBeispiel für eine gültige Eingabe: 11°22' oder 11:22"}};
const Data::Message kMsgInvalidZone{
    {0x409, u"Invalid Value or format.\nValid example: +01:00 or -01:30"},
    {0x407, u"Ungültiger Wert oder ungültiges Format.\nBeispiel für eine gültige Eingabe: +01:00 oder -01:30"}};
const Data::Message kMsgLatitudeRange{{0x409, u"The latitude must lie between 0° and 90°."},
                                      {0x407, u"Die Breite muss zwischen 0° und 90° liegen."}};
const Data::Message kMsgLongitudeRange{{0x409, u"The longitude must lie between 0° and 180°."},
                                       {0x407, u"Die Länge muss zwischen 0° und 180° liegen."}};
const Data::Message kMsgZoneRange{{0x409, u"The time zone must lie between -12:00 and +14:00."},
                                  {0x407, u"Die Zeitzone muss zwischen -12:00 und +14:00 liegen."}};
const Data::Message kMsgEmptyName{{0x409, u"Please enter a name for the location."},
                                  {0x407, u"Bitte geben Sie einen Namen für den Ort ein."}};
const Data::Message kMsgNameCharacters{
    {0x409, u"A location name cannot contain line breaks or tabs."},
    {0x407, u"Ein Ortsname darf keine Zeilenumbrüche oder Tabulatoren enthalten."}};
const Data::Message kMsgDuplicateName{{0x409, u"A location named \"{0}\" already exists."},
                                      {0x407, u"Ein Ort namens \"{0}\" existiert bereits."}};
const Data::Message kMsgNewLocation{{0x409, u"New Location"}, {0x407, u"Neuer Ort"}};
const Data::Message kMsgAll{{0x409, u"All"}, {0x407, u"Alle"}};
const Data::Message kMsgColLocation{{0x409, u"Location"}, {0x407, u"Ort"}};
const Data::Message kMsgColLat{{0x409, u"Lat"}, {0x407, u"Breite"}};
const Data::Message kMsgColLong{{0x409, u"Long"}, {0x407, u"Länge"}};

enum : int {
    kIdName = 1001,
    kIdLatitude = 1002,
    kIdLongitude = 1003,
    kIdChoose = 1005,
    kIdZone = 1006,
    kIdMode0 = 1008,
    kIdMode1 = 1009,
    kIdModeDevice = 1010,
    kIdNorth = 1011,
    kIdSouth = 1012,
    kIdEast = 1013,
    kIdWest = 1014,
    kIdRegion = 1005,
    kIdList = 1006,
};

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Decimal digits with blanks around them and, where allowed, a sign in front.
bool ParseZonePart(const std::u16string& s, bool signAllowed, int& value, bool& negative) {
    size_t i = 0, n = s.size();
    while (i < n && IsBlank(s[i])) ++i;
    while (n > i && IsBlank(s[n - 1])) --n;
    negative = false;
    if (signAllowed && i < n && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    if (i >= n || n - i > 4) return false;
    int v = 0;
    for (; i < n; ++i) {
        if (s[i] < u'0' || s[i] > u'9') return false;
        v = v * 10 + (s[i] - u'0');
    }
    value = v;
    return true;
}

}  // namespace

bool ParseZoneText(const std::u16string& text, int32_t& minutes) {
    const size_t colon = text.find(u':');
    int hours = 0, mins = 0;
    bool negative = false, ignored = false;
    if (colon == std::u16string::npos) {
        if (!ParseZonePart(text, true, hours, negative)) return false;
    } else {
        if (!ParseZonePart(text.substr(0, colon), true, hours, negative)) return false;
        if (!ParseZonePart(text.substr(colon + 1), false, mins, ignored)) return false;
    }
    if (hours > 23 || mins > 59) return false;
    const int32_t total = hours * 60 + mins;
    minutes = negative ? -total : total;
    return true;
}

std::u16string FormatZone(int32_t minutes) {
    const int32_t a = std::abs(minutes);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%c%02d:%02d", minutes < 0 ? '-' : '+', static_cast<int>(a / 60),
                  static_cast<int>(a % 60));
    std::u16string out;
    for (const char* p = buf; *p; ++p) out += static_cast<char16_t>(*p);
    return out;
}

// --- the place editor --------------------------------------------------------------------------

PlaceEditDialog::PlaceEditDialog() : TitledDialog(u"PLACE_EDIT_DIALOG") { SetMenuBarName(105); }

void PlaceEditDialog::SetPlace(const Data::Place& place, int32_t summerMode) {
    place_ = place;
    mode_ = summerMode;
    if (hwnd_) Show(place_, mode_);
}

void PlaceEditDialog::OnCreate() {
    TitledDialog::OnCreate();
    MoveControlsBelowTitle();
    name_.Attach(hwnd_, kIdName);
    latitude_.Attach(hwnd_, kIdLatitude);
    longitude_.Attach(hwnd_, kIdLongitude);
    choose_.Attach(hwnd_, kIdChoose);
    zone_.Attach(hwnd_, kIdZone);
    north_.Attach(hwnd_, kIdNorth);
    south_.Attach(hwnd_, kIdSouth);
    east_.Attach(hwnd_, kIdEast);
    west_.Attach(hwnd_, kIdWest);
    mode0_.Attach(hwnd_, kIdMode0);
    mode1_.Attach(hwnd_, kIdMode1);
    modeDevice_.Attach(hwnd_, kIdModeDevice);
    SendMessageW(latitude_.GetHandle(), EM_LIMITTEXT, 10, 0);
    SendMessageW(longitude_.GetHandle(), EM_LIMITTEXT, 10, 0);
    for (const Data::TimeZoneName& z : Data::kTimeZones) zone_.AddString(FormatZone(z.minutes) + z.name);
    Show(place_, mode_);
}

void PlaceEditDialog::Show(const Data::Place& place, int32_t mode) {
    place_ = place;
    mode_ = mode;
    const bool editable = place.region == Data::kUserDefinedRegion;
    shownName_ = editable ? place.name : std::u16string();
    if (HMENU menu = GetMenu(hwnd_)) {
        EnableMenuItem(menu, kCmdDelete, MF_BYCOMMAND | (editable ? MF_ENABLED : MF_GRAYED));
        DrawMenuBar(hwnd_);
    }
    for (mwcl::Control* c : std::initializer_list<mwcl::Control*>{&name_, &latitude_, &longitude_, &north_, &south_,
                                                                  &east_, &west_, &zone_})
        c->Enable(editable);
    name_.SetText(place.name);
    latitude_.SetText(Data::FormatDegrees(std::fabs(place.latitude)));
    north_.SetChecked(place.latitude >= 0);
    south_.SetChecked(place.latitude < 0);
    longitude_.SetText(Data::FormatDegrees(std::fabs(place.longitude)));
    west_.SetChecked(place.longitude >= 0);
    east_.SetChecked(place.longitude < 0);
    zone_.SetSelection(-1);
    zone_.SetText(FormatZone(place.timeZone));
    zonePicked_ = -1;
    mode0_.SetChecked(mode == 0);
    mode1_.SetChecked(mode == 1);
    modeDevice_.SetChecked(mode == 2);
    DeviceClockRule();
}

bool PlaceEditDialog::ReadZone(int32_t& minutes) const {
    if (zonePicked_ >= 0 && zonePicked_ < static_cast<int>(Data::kTimeZoneCount)) {
        minutes = Data::kTimeZones[zonePicked_].minutes;
        return true;
    }
    return ParseZoneText(zone_.GetText(), minutes);
}

void PlaceEditDialog::DeviceClockRule() {
    int32_t zone = 0;
    const bool same = ReadZone(zone) && zone == Calc::DeviceZoneOffset();
    modeDevice_.Enable(same);
    if (!same && modeDevice_.IsChecked()) {
        modeDevice_.SetChecked(false);
        mode0_.SetChecked(true);
        mode_ = 0;
    }
}

void PlaceEditDialog::Refuse(const std::u16string& text, mwcl::Control& field) {
    ShowSettingsMessage(hwnd_, text, MB_OK | MB_ICONSTOP);
    SetFocus(field.GetHandle());
    SendMessageW(field.GetHandle(), EM_SETSEL, 0, -1);
}

bool PlaceEditDialog::Validate() {
    const bool editable = place_.region == Data::kUserDefinedRegion;
    Data::Place place = place_;
    place.name = name_.GetText();
    if (editable) {
        // The name is a line of places.dat and the key of the place: it
        // must be there, fit on its line and not take another place's name.
        if (place.name.find_first_not_of(u" ") == std::u16string::npos) {
            Refuse(Data::MessageText(kMsgEmptyName), name_);
            return false;
        }
        if (place.name.find_first_of(u"\r\n\t") != std::u16string::npos) {
            Refuse(Data::MessageText(kMsgNameCharacters), name_);
            return false;
        }
    }
    float lat = 0, lon = 0;
    if (!Data::ParseSexagesimal(latitude_.GetText(), lat)) {
        Refuse(Data::MessageText(kMsgInvalidAngle), latitude_);
        return false;
    }
    // A latitude beyond the pole is a typing slip, not a place: it is
    // refused rather than quietly moved to the pole.
    if (!(std::fabs(lat) <= 90.0f)) {
        Refuse(Data::MessageText(kMsgLatitudeRange), latitude_);
        return false;
    }
    if (south_.IsChecked()) lat = -lat;
    if (!Data::ParseSexagesimal(longitude_.GetText(), lon)) {
        Refuse(Data::MessageText(kMsgInvalidAngle), longitude_);
        return false;
    }
    if (!(std::fabs(lon) <= 180.0f)) {
        Refuse(Data::MessageText(kMsgLongitudeRange), longitude_);
        return false;
    }
    if (east_.IsChecked()) lon = -lon;
    int32_t zone = 0;
    if (!ReadZone(zone)) {
        Refuse(Data::MessageText(kMsgInvalidZone), zone_);
        return false;
    }
    if (zone < kMinZoneMinutes || zone > kMaxZoneMinutes) {
        Refuse(Data::MessageText(kMsgZoneRange), zone_);
        return false;
    }
    place.latitude = lat;
    place.longitude = lon;
    place.timeZone = zone;
    if (editable && place.name != shownName_) {
        Data::PlaceMap all;
        Data::AllPlaces(all);
        if (all.count(place.name)) {
            Refuse(Data::MessageFormat(kMsgDuplicateName, place.name).Format(), name_);
            return false;
        }
    }
    const int32_t mode = mode1_.IsChecked() ? 1 : modeDevice_.IsChecked() ? 2 : 0;
    if (editable && !place.name.empty()) {
        // The place is kept before the dialog closes, so that a place that
        // could not be written is never taken for saved.
        if (!Data::SaveUserPlace(place) || !Data::UserPlaces().LastWriteOk()) {
            Refuse(Data::MessageFormat(Data::kMsgErrorWritingFile, Data::UserPlaces().FilePath()).Format(), name_);
            return false;
        }
        shownName_ = place.name;
    }
    place_ = place;
    mode_ = mode;
    return true;
}

void PlaceEditDialog::NewPlace() {
    Data::Place fresh;
    fresh.latitude = 0;
    fresh.longitude = 0;
    fresh.elevation = 0;
    fresh.timeZone = 0;
    fresh.region = Data::kUserDefinedRegion;
    fresh.name = Data::MessageText(kMsgNewLocation);
    Show(fresh, 0);
    shownName_.clear();  // a new place: its name must not be taken yet
    SetFocus(name_.GetHandle());
    SendMessageW(name_.GetHandle(), EM_SETSEL, 0, -1);
}

void PlaceEditDialog::DeletePlace() {
    if (place_.region != Data::kUserDefinedRegion) return;
    const Data::Place gone = place_;
    const std::u16string name = shownName_.empty() ? place_.name : shownName_;
    if (Data::DeleteUserPlace(name) && !Data::UserPlaces().LastWriteOk()) {
        ShowSettingsMessage(hwnd_, Data::MessageFormat(Data::kMsgErrorWritingFile, Data::UserPlaces().FilePath()).Format(),
                            MB_OK | MB_ICONSTOP);
    }
    Data::PlaceMap all;
    Data::AllPlaces(all);
    const Data::Place* nearest = nullptr;
    float best = 0;
    for (const auto& kv : all) {
        const float d = std::fabs(kv.second.latitude - gone.latitude) + std::fabs(kv.second.longitude - gone.longitude);
        if (!nearest || d < best) {
            nearest = &kv.second;
            best = d;
        }
    }
    if (nearest) Show(*nearest, 0);
}

void PlaceEditDialog::ChoosePlace() {
    PlaceChooseDialog chooser;
    chooser.SetPlace(place_);
    if (chooser.DoModal(hwnd_) == IDOK) Show(chooser.GetPlace(), 0);
}

void PlaceEditDialog::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_COMMAND:
        if (LOWORD(m.wParam) == IDOK) {
            if (Validate()) End(IDOK);
            m.result = 0;
            return;
        }
        break;
    case WM_HELP:
        ShowSettingsHelp(u"placeedit");
        m.result = TRUE;
        return;
    default:
        break;
    }
    TitledDialog::HandleMessage(m);
}

void PlaceEditDialog::OnCommand(mwcl::MessageRecord& m) {
    if (m.message != WM_COMMAND) {
        DefaultProcessing(m);
        return;
    }
    const int id = LOWORD(m.wParam), code = HIWORD(m.wParam);
    switch (id) {
    case kCmdNew:
        if (m.lParam == 0) NewPlace();
        return;
    case kCmdDelete:
        if (m.lParam == 0) DeletePlace();
        return;
    case kIdChoose:
        if (code == BN_CLICKED) ChoosePlace();
        return;
    case kIdZone:
        if (code == CBN_SELCHANGE) {
            zonePicked_ = zone_.GetSelection();
            DeviceClockRule();
        } else if (code == CBN_EDITCHANGE) {
            zonePicked_ = -1;
            DeviceClockRule();
        }
        return;
    default:
        break;
    }
    DefaultProcessing(m);
}

// --- the place chooser -------------------------------------------------------------------------

PlaceChooseDialog::PlaceChooseDialog() : mwcl::Dialog(u"PLACE_CHOOSE_DIALOG") {}

void PlaceChooseDialog::OnCreate() {
    mwcl::Dialog::OnCreate();
    region_.Attach(hwnd_, kIdRegion);
    list_.Attach(hwnd_, kIdList);
    SendMessageW(list_.GetHandle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    // The coordinates get their room; the name takes what is left.
    const int coord = ScaledPixels(64);
    const SIZE client = mwcl::GetClientSize(list_.GetHandle());
    const int nameWidth = std::max<int>(ScaledPixels(52), client.cx - 2 * coord - GetSystemMetrics(SM_CXVSCROLL));
    list_.AddColumn(0, Data::MessageText(kMsgColLocation), nameWidth);
    list_.AddColumn(1, Data::MessageText(kMsgColLat), coord);
    list_.AddColumn(2, Data::MessageText(kMsgColLong), coord);

    all_.clear();
    Data::AllPlaces(all_);
    std::set<std::u16string> regions{Data::kUserDefinedRegion};
    for (const auto& kv : all_) regions.insert(kv.second.region);
    regions_.assign(regions.begin(), regions.end());
    region_.AddString(Data::MessageText(kMsgAll));
    for (const std::u16string& r : regions_) region_.AddString(r);
    region_.SetSelection(0);
    for (size_t i = 0; i < regions_.size(); ++i)
        if (regions_[i] == place_.region) region_.SetSelection(static_cast<int>(i) + 1);
    filter_ = place_.region;
    FillList();
}

void PlaceChooseDialog::FillList() {
    filling_ = true;
    SendMessageW(list_.GetHandle(), WM_SETREDRAW, FALSE, 0);
    list_.Clear();
    shown_.clear();
    int selected = -1;
    for (const auto& kv : all_) {
        const Data::Place& p = kv.second;
        if (!filter_.empty() && p.region != filter_) continue;
        const int row = list_.InsertItem(static_cast<int>(shown_.size()), p.name);
        list_.SetItemText(row, 1, Data::FormatLatitude(p.latitude));
        list_.SetItemText(row, 2, Data::FormatLongitude(p.longitude));
        if (p.name == place_.name) selected = row;
        shown_.push_back(p);
    }
    if (selected >= 0) list_.SetSelection(selected);
    SendMessageW(list_.GetHandle(), WM_SETREDRAW, TRUE, 0);
    // Scrolled once the list draws again: a list that does not draw does not scroll.
    if (selected >= 0) SendMessageW(list_.GetHandle(), LVM_ENSUREVISIBLE, selected, FALSE);
    InvalidateRect(list_.GetHandle(), nullptr, TRUE);
    filling_ = false;
}

void PlaceChooseDialog::Layout() {
    if (!hwnd_ || !list_.GetHandle()) return;
    int m = 0;
    const int bottom = PlaceButtonsBottomRight(hwnd_, &m);
    const int width = mwcl::GetClientSize(hwnd_).cx - 2 * m;
    const RECT region = ChildRect(hwnd_, region_.GetHandle());
    MoveWindow(region_.GetHandle(), m, region.top, width, region.bottom - region.top, TRUE);
    const int listTop = region.bottom + m / 2;
    MoveWindow(list_.GetHandle(), m, listTop, width, std::max(0, bottom - listTop), TRUE);
}

void PlaceChooseDialog::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_SIZE:
        Layout();
        break;
    case WM_HELP:
        ShowSettingsHelp(u"placechoose");
        m.result = TRUE;
        return;
    default:
        break;
    }
    mwcl::Dialog::HandleMessage(m);
}

void PlaceChooseDialog::OnCommand(mwcl::MessageRecord& m) {
    if (m.message == WM_NOTIFY) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
        if (hdr && hdr->idFrom == kIdList && hdr->code == LVN_ITEMCHANGED && !filling_) {
            const NMLISTVIEW* lv = reinterpret_cast<const NMLISTVIEW*>(m.lParam);
            if ((lv->uChanged & LVIF_STATE) && (lv->uNewState & LVIS_SELECTED) && lv->iItem >= 0 &&
                lv->iItem < static_cast<int>(shown_.size()))
                place_ = shown_[lv->iItem];
            m.result = 0;
            return;
        }
        if (hdr && hdr->idFrom == kIdList && hdr->code == NM_DBLCLK && list_.GetSelection() >= 0) {
            End(IDOK);
            return;
        }
        DefaultProcessing(m);
        return;
    }
    if (LOWORD(m.wParam) == kIdRegion && HIWORD(m.wParam) == CBN_SELCHANGE) {
        const int i = region_.GetSelection();
        const std::u16string filter = i <= 0 ? std::u16string() : regions_[i - 1];
        if (filter != filter_) {
            filter_ = filter;
            FillList();
        }
        return;
    }
    DefaultProcessing(m);
}

}  // namespace UI
