#include "app/astroobj_choose.h"

#include "app/settings_dialogs.h"
#include "app/shell.h"
#include "data/messages.h"
#include "data/numtext.h"
#include "data/objectnames.h"
#include "data/starcatalog.h"
#include "engine/ephemeris.h"
#include "winlib/ui_style.h"
#include "winlib/wstr.h"

#include <algorithm>
#include <map>
#include <memory>

namespace UI {
namespace AstroObjChooseInternals {

namespace {

const Data::Message kMsgSetPlanets{{0x409, u"Planets"}, {0x407, u"Planeten"}};
const Data::Message kMsgSetStars{{0x409, u"Stars"}, {0x407, u"Sterne"}};
const Data::Message kMsgSetStarsByNumber{{0x409, u"Stars by Number"}, {0x407, u"Sterne nach Nummer"}};
const Data::Message kMsgSetConstellations{{0x409, u"Constellation"}, {0x407, u"Konstellation"}};
const Data::Message kMsgSetObjects{{0x409, u"Objects"}, {0x407, u"Objekte"}};
const Data::Message kMsgSetComets{{0x409, u"Com. and Ast."}, {0x407, u"Kom.&Ast."}};
const Data::Message kMsgProperNames{{0x409, u"Proper Names"}, {0x407, u"Eigennamen"}};
const Data::Message kMsgBayer{{0x409, u"Bayer"}, {0x407, u"Bayer"}};
const Data::Message kMsgFlamsteed{{0x409, u"Flamsteed"}, {0x407, u"Flamsteed"}};
const Data::Message kMsgConstellationRow{{0x409, u"{0} ({1})"}, {0x407, u"{0} ({1})"}};

std::u16string Lower(std::u16string s) {
    if (!s.empty()) CharLowerBuffW(W(&s[0]), static_cast<DWORD>(s.size()));
    return s;
}

// An image list of a monochrome strip in the window's text colour.
HIMAGELIST StripImages(const char16_t* name) { return CreateMonochromeImageList(name, kDefaultColor, kDefaultColor); }

}  // namespace

std::u16string NormaliseName(const std::u16string& text) {
    const std::u16string lower = Lower(text);
    std::u16string out;
    out.reserve(lower.size());
    for (char16_t c : lower) {
        switch (c) {
        case u'\u00e0':
        case u'\u00e4': out += u'a'; break;
        case u'\u00e8':
        case u'\u00e9': out += u'e'; break;
        case u'\u00f6': out += u'o'; break;
        case u'\u00fc': out += u'u'; break;
        case u'\t':
        case u'\n':
        case u'\r':
        case u' ':
        case u'-': break;
        default: out += c; break;
        }
    }
    return out;
}

bool NameMatches(const std::u16string& normalisedName, const std::u16string& normalisedFilter) {
    return normalisedFilter.empty() || normalisedName.find(normalisedFilter) != std::u16string::npos;
}

// --- planets ---------------------------------------------------------------------------------

ChooseSetPlanets::~ChooseSetPlanets() {
    if (images_) ImageList_Destroy(images_);
}

bool ChooseSetPlanets::Accepts(const Data::AstroObjRef& o) const { return o.kind == Data::kObjBody; }

std::u16string ChooseSetPlanets::Name() const { return Data::MessageText(kMsgSetPlanets); }

HIMAGELIST ChooseSetPlanets::ImageList() {
    if (!images_) images_ = StripImages(u"planets");
    return images_;
}

int ChooseSetPlanets::Filter(int, const std::u16string& filter) {
    const std::u16string f = NormaliseName(filter);
    rows_.clear();
    for (int b = 0; b < Calc::kBodyCount; ++b) {
        if (NameMatches(NormaliseName(Data::ObjectName(Data::AstroObjRef(Data::kObjBody, b))), f)) rows_.push_back(b);
    }
    return static_cast<int>(rows_.size());
}

int ChooseSetPlanets::IndexOf(const Data::AstroObjRef& o) const {
    if (!Accepts(o)) return -1;
    auto it = std::find(rows_.begin(), rows_.end(), o.number);
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

std::u16string ChooseSetPlanets::RowText(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column != 0) return std::u16string();
    return Data::ObjectName(Data::AstroObjRef(Data::kObjBody, rows_[row]));
}

int ChooseSetPlanets::RowImage(int row) const {
    return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[row] : -1;
}

Data::AstroObjRef ChooseSetPlanets::RowObject(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return Data::AstroObjRef();
    return Data::AstroObjRef(Data::kObjBody, rows_[row]);
}

// --- stars -----------------------------------------------------------------------------------

namespace {

// HR number -> proper name number (1..291).
const std::map<int, uint16_t>& ProperNameOfHr() {
    static std::map<int, uint16_t> names;
    static bool built = false;
    if (!built) {
        for (int k = 1; k <= Data::kProperNameCount; ++k) {
            const int hr = Data::ProperNameStarHr(k);
            if (hr > 0) names.emplace(hr, static_cast<uint16_t>(k));
        }
        built = true;
    }
    return names;
}

std::u16string FlamsteedText(uint8_t flamsteed) {
    return flamsteed ? Data::FormatInt(flamsteed) : std::u16string();
}

}  // namespace

bool ChooseSetStars::Accepts(const Data::AstroObjRef& o) const { return o.kind == Data::kObjStar; }

std::u16string ChooseSetStars::Name() const { return Data::MessageText(kMsgSetStars); }

std::u16string ChooseSetStars::SubListEntry(int index) const {
    switch (index) {
    case 0: return Data::MessageText(kMsgProperNames);
    case 1: return Data::MessageText(kMsgBayer);
    case 2: return Data::MessageText(kMsgFlamsteed);
    default: return std::u16string();
    }
}

const std::vector<ChooseSetStars::Entry>& ChooseSetStars::List(int subList) const {
    if (subList < 0 || subList > 2) subList = 0;
    if (built_[subList]) return lists_[subList];
    const auto& names = ProperNameOfHr();
    const int count = subList == 0 ? Data::kProperNameCount
                      : subList == 1 ? Data::kBayerListCount
                                     : Data::kFlamsteedListCount;
    std::vector<Entry>& list = lists_[subList];
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int hr = subList == 0 ? Data::ProperNameStarHr(i + 1)
                       : subList == 1 ? Data::BayerListHr(i)
                                      : Data::FlamsteedListHr(i);
        if (hr <= 0) continue;
        const Data::StarNumber star = Data::HrToStarIndex(hr);
        if (star < 0) continue;
        Entry e;
        e.star = star;
        const Data::BayerFlamsteed bf = Data::BayerFlamsteedOf(hr);
        e.letter = bf.letter;
        e.digit = bf.digit;
        e.flamsteed = bf.flamsteed;
        e.constellation = bf.constellation;
        if (subList == 0) {
            e.properName = static_cast<uint16_t>(i + 1);
        } else {
            auto it = names.find(hr);
            if (it != names.end()) e.properName = it->second;
        }
        // The match text: Flamsteed number in three places, "|", the
        // constellation (when the star has a designation in it), "|", the
        // proper name.
        std::u16string text = FlamsteedText(e.flamsteed);
        text.insert(0, text.size() < 3 ? 3 - text.size() : 0, u' ');
        text += u'|';
        text += e.letter || e.flamsteed ? Data::ConstellationAbbreviation(e.constellation) : std::u16string(u"   ");
        text += u'|';
        text += Data::ProperName(e.properName);
        e.match = NormaliseName(text);
        list.push_back(std::move(e));
    }
    built_[subList] = true;
    return list;
}

int ChooseSetStars::Filter(int subList, const std::u16string& filter) {
    const std::u16string f = NormaliseName(filter);
    rows_.clear();
    for (const Entry& e : List(subList)) {
        if (!NameMatches(e.match, f)) continue;
        rows_.push_back(&e);
        if (rows_.size() >= kMaxRows) break;
    }
    return static_cast<int>(rows_.size());
}

int ChooseSetStars::IndexOf(const Data::AstroObjRef& o) const {
    if (!Accepts(o)) return -1;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i]->star == o.number) return static_cast<int>(i);
    }
    return -1;
}

int ChooseSetStars::SubListOf(const Data::AstroObjRef& o) const {
    if (!Accepts(o)) return 0;
    const int hr = Data::StarIndexToHr(o.number);
    if (hr <= 0) return 0;
    if (ProperNameOfHr().count(hr)) return 0;
    const Data::BayerFlamsteed bf = Data::BayerFlamsteedOf(hr);
    if (bf.letter) return 1;
    if (bf.flamsteed) return 2;
    return 0;
}

std::u16string ChooseSetStars::RowText(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return std::u16string();
    const Entry& e = *rows_[row];
    switch (column) {
    case 0: return FlamsteedText(e.flamsteed);
    case 1: {
        std::u16string t = Data::GreekLetter(e.letter);
        if (!t.empty() && e.digit) t += Data::FormatInt(e.digit);
        return t;
    }
    case 2: return e.letter || e.flamsteed ? Data::ConstellationAbbreviation(e.constellation) : std::u16string();
    case 3: return Data::ProperName(e.properName);
    default: return std::u16string();
    }
}

Data::AstroObjRef ChooseSetStars::RowObject(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return Data::AstroObjRef();
    return Data::AstroObjRef(Data::kObjStar, rows_[row]->star);
}

// --- stars by number -------------------------------------------------------------------------

std::u16string ChooseSetStarsByNumber::Name() const { return Data::MessageText(kMsgSetStarsByNumber); }

int ChooseSetStarsByNumber::Filter(int, const std::u16string& filter) {
    count_ = list_.Refresh(filter);
    return count_;
}

int ChooseSetStarsByNumber::IndexOf(const Data::AstroObjRef& o) const {
    return count_ == 1 && o.kind == Data::kObjStar && o.number == list_.Star() ? 0 : -1;
}

std::u16string ChooseSetStarsByNumber::RowText(int row, int column) const {
    if (column != 0) return std::u16string();
    const int rows = count_ < 0 ? -count_ : count_;
    if (row < 0 || row >= rows) return std::u16string();
    return list_.RowText(row);
}

Data::AstroObjRef ChooseSetStarsByNumber::RowObject(int row) const {
    if (count_ != 1 || row != 0 || list_.Star() < 0) return Data::AstroObjRef();
    return Data::AstroObjRef(Data::kObjStar, list_.Star());
}

// --- constellations --------------------------------------------------------------------------

bool ChooseSetConstellations::Accepts(const Data::AstroObjRef& o) const { return o.kind == Data::kObjConstellation; }

std::u16string ChooseSetConstellations::Name() const { return Data::MessageText(kMsgSetConstellations); }

int ChooseSetConstellations::Filter(int, const std::u16string& filter) {
    const std::u16string f = NormaliseName(filter);
    rows_.clear();
    for (int i = 0; i < Data::kConstellationNameCount; ++i) {
        if (NameMatches(NormaliseName(Data::ConstellationLatinName(i)), f) ||
            NameMatches(NormaliseName(Data::ConstellationCommonName(i)), f))
            rows_.push_back(i);
    }
    return static_cast<int>(rows_.size());
}

int ChooseSetConstellations::IndexOf(const Data::AstroObjRef& o) const {
    if (!Accepts(o)) return -1;
    // The second part of Serpens is Serpens.
    const int index = o.number == Data::kSerpensSecondPart ? Data::kSerpensIndex : o.number;
    auto it = std::find(rows_.begin(), rows_.end(), index);
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

std::u16string ChooseSetConstellations::RowText(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column != 0) return std::u16string();
    const int i = rows_[row];
    return Data::MessageFormat(kMsgConstellationRow, Data::ConstellationLatinName(i))
        .Arg(Data::ConstellationCommonName(i))
        .Format();
}

Data::AstroObjRef ChooseSetConstellations::RowObject(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return Data::AstroObjRef();
    return Data::AstroObjRef(Data::kObjConstellation, rows_[row]);
}

// --- user objects and comets ---------------------------------------------------------------------

ChooseSetFileObjects::~ChooseSetFileObjects() {
    if (images_) ImageList_Destroy(images_);
}

bool ChooseSetFileObjects::Accepts(const Data::AstroObjRef& o) const { return o.kind == kind_; }

std::vector<std::u16string> ChooseSetFileObjects::Files() const {
    std::vector<std::u16string> files;
    if (kind_ == Data::kObjUser)
        Data::UserObjectFiles().ListLoadedFiles(files);
    else
        Data::CometFiles().ListLoadedFiles(files);
    return files;
}

std::u16string ChooseSetFileObjects::SubListEntry(int index) const {
    const std::vector<std::u16string> files = Files();
    return index >= 0 && index < static_cast<int>(files.size()) ? files[index] : std::u16string();
}

HIMAGELIST ChooseSetFileObjects::ImageList() {
    if (!images_) images_ = StripImages(StripName());
    return images_;
}

int ChooseSetFileObjects::Filter(int subList, const std::u16string& filter) {
    rows_.clear();
    file_.clear();
    const std::vector<std::u16string> files = Files();
    if (subList < 0 || subList >= static_cast<int>(files.size())) return 0;
    file_ = files[subList];
    const std::u16string f = NormaliseName(filter);
    if (kind_ == Data::kObjUser) {
        const auto& list = Data::UserObjectFiles().FindStore(file_);
        for (size_t i = 0; i < list.size(); ++i) {
            if (NameMatches(NormaliseName(list[i]->name), f)) rows_.push_back(static_cast<int>(i));
        }
    } else {
        const auto& list = Data::CometFiles().FindStore(file_);
        for (size_t i = 0; i < list.size(); ++i) {
            if (NameMatches(NormaliseName(list[i]->name), f)) rows_.push_back(static_cast<int>(i));
        }
    }
    return static_cast<int>(rows_.size());
}

int ChooseSetFileObjects::IndexOf(const Data::AstroObjRef& o) const {
    if (!Accepts(o) || o.file != file_) return -1;
    auto it = std::find(rows_.begin(), rows_.end(), o.number);
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

int ChooseSetFileObjects::SubListOf(const Data::AstroObjRef& o) const {
    const std::vector<std::u16string> files = Files();
    auto it = std::find(files.begin(), files.end(), o.file);
    return it == files.end() ? 0 : static_cast<int>(it - files.begin());
}

std::u16string ChooseSetFileObjects::RowText(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column != 0) return std::u16string();
    return Data::ObjectName(RowObject(row));
}

int ChooseSetFileObjects::RowImage(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return -1;
    return Data::ObjectIcon(RowObject(row)).image;
}

Data::AstroObjRef ChooseSetFileObjects::RowObject(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return Data::AstroObjRef();
    return Data::AstroObjRef(kind_, rows_[row], file_);
}

std::u16string ChooseSetUserObjects::Name() const { return Data::MessageText(kMsgSetObjects); }
std::u16string ChooseSetComets::Name() const { return Data::MessageText(kMsgSetComets); }

ChooseSet& ChooseSetAt(int order) {
    static std::unique_ptr<ChooseSet> sets[kChooseSetCount];
    if (!sets[0]) {
        sets[0] = std::make_unique<ChooseSetPlanets>();
        sets[1] = std::make_unique<ChooseSetStars>();
        sets[2] = std::make_unique<ChooseSetStarsByNumber>();
        sets[3] = std::make_unique<ChooseSetConstellations>();
        sets[4] = std::make_unique<ChooseSetUserObjects>();
        sets[5] = std::make_unique<ChooseSetComets>();
    }
    if (order < 0 || order >= kChooseSetCount) order = 0;
    return *sets[order];
}

}  // namespace AstroObjChooseInternals

// --- the dialog ------------------------------------------------------------------------------------

namespace {

// The list's extended styles: full-row selection, one-click activation, no
// horizontal scrolling.
constexpr DWORD kListExStyles = 0x20 | 0x40 | 0x10000000;

// Rows of sets without icons get this empty strip, so that every set's
// rows start at the same place.
HIMAGELIST EmptyImages() {
    static HIMAGELIST empty = ImageList_Create(1, 1, ILC_COLOR, 0, 1);
    return empty;
}

}  // namespace

using namespace AstroObjChooseInternals;

AstroObjChooseDialog::AstroObjChooseDialog(bool withConstellations) : TitledDialog(u"ASTROOBJ_CHOOSE_DIALOG") {
    for (int i = 0; i < kChooseSetCount; ++i) {
        if (!withConstellations && i == kConstellationSetOrder) continue;
        sets_.push_back(&ChooseSetAt(i));
    }
    current_ = sets_.front();
}

AstroObjChooseDialog::~AstroObjChooseDialog() = default;

int AstroObjChooseDialog::CurrentSetOrder() const {
    for (int i = 0; i < kChooseSetCount; ++i) {
        if (&ChooseSetAt(i) == current_) return i;
    }
    return -1;
}

void AstroObjChooseDialog::SetSelection(const Data::AstroObjRef& object) {
    selection_ = object;
    if (hwnd_ && !IsDestroyed()) SelectSetFor(object);
}

void AstroObjChooseDialog::SelectSetFor(const Data::AstroObjRef& object) {
    current_ = sets_.front();
    for (ChooseSet* s : sets_) {
        if (s->Accepts(object)) {
            current_ = s;
            break;
        }
    }
    Rebuild();
}

void AstroObjChooseDialog::OnCreate() {
    setBox_.Attach(hwnd_, kIdChooseSet);
    subListBox_.Attach(hwnd_, kIdChooseSubList);
    filter_.Attach(hwnd_, kIdChooseFilter);
    list_.Attach(hwnd_, kIdChooseList);
    filling_ = true;
    for (ChooseSet* s : sets_) setBox_.AddString(s->Name());
    SendMessageW(filter_.GetHandle(), EM_LIMITTEXT, kChooseFilterMaxChars, 0);
    // (The desktop's edit fields offer no word suggestions, so nothing needs
    // switching off in the filter field.)
    ListView_SetExtendedListViewStyle(list_.GetHandle(), kListExStyles);
    filling_ = false;
    TitledDialog::OnCreate();
    MoveControlsBelowTitle();
    LayOut();
    SelectSetFor(selection_);
}

void AstroObjChooseDialog::OnDestroy() {
    // The image lists belong to the sets; the list must not destroy them.
    if (list_.GetHandle()) ListView_SetImageList(list_.GetHandle(), nullptr, LVSIL_SMALL);
    TitledDialog::OnDestroy();
}

void AstroObjChooseDialog::LayOut() {
    HWND list = list_.GetHandle();
    if (!list) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    RECT r = ChildRect(hwnd_, list);
    // The list keeps its top and reaches down to the buttons at the bottom.
    int bottom = client.bottom;
    HWND ok = GetDlgItem(hwnd_, IDOK), cancel = GetDlgItem(hwnd_, IDCANCEL);
    if (ok) {
        RECT b;
        GetWindowRect(ok, &b);
        const int h = b.bottom - b.top, w = b.right - b.left;
        const int margin = ScaledPixels(6);
        const int y = client.bottom - margin - h;
        SetWindowPos(ok, nullptr, client.right / 2 - margin / 2 - w, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        if (cancel) SetWindowPos(cancel, nullptr, client.right / 2 + margin / 2, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        bottom = y - margin;
    }
    r.bottom = std::max<LONG>(r.top + 1, bottom);
    mwcl::MoveWindowTo(list, r);
}

void AstroObjChooseDialog::Rebuild() {
    HWND list = list_.GetHandle();
    if (!list) return;
    filling_ = true;
    for (size_t i = 0; i < sets_.size(); ++i) {
        if (sets_[i] == current_) setBox_.SetSelection(static_cast<int>(i));
    }
    std::vector<int> widths = current_->ColumnWidths();
    int sum = 0, n = 0;
    for (int w : widths) {
        if (w == 0) break;
        sum += w;
        ++n;
    }
    if (n == 0) {
        n = 1;
        sum = 1;
        widths = {1};
    }
    HIMAGELIST images = current_->ImageList();
    if (!images) images = EmptyImages();
    int imageWidth = 0, imageHeight = 0;
    ImageList_GetIconSize(images, &imageWidth, &imageHeight);
    SendMessageW(list, LVM_SETITEMCOUNT, 0, 0);
    RECT client;
    GetClientRect(list, &client);
    const int available = client.right - imageWidth - GetSystemMetrics(SM_CXVSCROLL);
    const double scale = double(available) / sum;

    ListView_SetImageList(list, images, LVSIL_SMALL);
    while (ListView_DeleteColumn(list, 0)) {
    }
    int used = 0;
    for (int i = 0; i < n; ++i) {
        int w = i + 1 == n ? available - used : static_cast<int>(widths[i] * scale + 0.9999);
        if (w < 0) w = 0;
        used += w;
        LVCOLUMNW col{};
        col.mask = LVCF_WIDTH | LVCF_TEXT;
        col.cx = i == 0 ? w + imageWidth : w;
        col.pszText = const_cast<LPWSTR>(L"");
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
    }

    subListBox_.Clear();
    int entries = 0;
    for (;; ++entries) {
        const std::u16string e = current_->SubListEntry(entries);
        if (e.empty()) break;
        subListBox_.AddString(e);
    }
    if (entries > 0) subListBox_.SetSelection(0);
    ShowWindow(subListBox_.GetHandle(), entries > 0 ? SW_SHOW : SW_HIDE);
    if (selection_.kind != Data::kObjNone && entries > 0 && current_->Accepts(selection_))
        subListBox_.SetSelection(current_->SubListOf(selection_));
    filling_ = false;
    Refilter();
    SetFocus(filter_.GetHandle());
}

void AstroObjChooseDialog::Refilter() {
    HWND list = list_.GetHandle();
    if (!list) return;
    filling_ = true;
    int subList = subListBox_.GetSelection();
    if (subList < 0) subList = 0;
    const int count = current_->Filter(subList, filter_.GetText());
    listEnabled_ = count >= 0;
    EnableWindow(list, listEnabled_);
    rowCount_ = count < 0 ? -count : count;
    SendMessageW(list, LVM_SETITEMCOUNT, 0, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, rowCount_, 0);
    if (listEnabled_) {
        if (rowCount_ == 1) {
            ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            selection_ = current_->RowObject(0);
        } else {
            const int row = current_->IndexOf(selection_);
            if (row >= 0) {
                ListView_EnsureVisible(list, row, FALSE);
                ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            }
        }
    }
    filling_ = false;
    InvalidateRect(list, nullptr, TRUE);
}

void AstroObjChooseDialog::Activate(int row) {
    if (!listEnabled_ || row < 0 || row >= rowCount_) return;
    const Data::AstroObjRef o = current_->RowObject(row);
    if (o.kind != Data::kObjNone) selection_ = o;
}

void AstroObjChooseDialog::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_HELP:
        ShowHelp(u"astroobjchoose");
        m.result = TRUE;
        return;
    case WM_SIZE:
        TitledDialog::HandleMessage(m);
        LayOut();
        return;
    case WM_COMMAND:
        if (LOWORD(m.wParam) == IDOK) {
            // The help rows of the number search are no choice.
            End(listEnabled_ ? IDOK : IDCANCEL);
            m.result = 0;
            return;
        }
        break;
    default: break;
    }
    TitledDialog::HandleMessage(m);
}

void AstroObjChooseDialog::OnCommand(mwcl::MessageRecord& m) {
    if (m.message == WM_COMMAND) {
        const int id = LOWORD(m.wParam), code = HIWORD(m.wParam);
        if (!filling_) {
            if (id == kIdChooseSet && code == CBN_SELCHANGE) {
                const int i = setBox_.GetSelection();
                if (i >= 0 && i < static_cast<int>(sets_.size()) && sets_[i] != current_) {
                    current_ = sets_[i];
                    Rebuild();
                }
                return;
            }
            if ((id == kIdChooseSubList && code == CBN_SELCHANGE) || (id == kIdChooseFilter && code == EN_CHANGE)) {
                Refilter();
                return;
            }
        }
        DefaultProcessing(m);
        return;
    }
    if (m.message == WM_NOTIFY) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
        if (hdr && hdr->idFrom == kIdChooseList) {
            switch (hdr->code) {
            case LVN_GETDISPINFOW: {
                NMLVDISPINFOW* info = reinterpret_cast<NMLVDISPINFOW*>(m.lParam);
                LVITEMW& item = info->item;
                if (item.mask & LVIF_TEXT) {
                    std::u16string& buffer = buffers_[nextBuffer_];
                    nextBuffer_ = (nextBuffer_ + 1) % 4;
                    buffer = current_->RowText(item.iItem, item.iSubItem);
                    item.pszText = W(&buffer[0]);
                }
                if (item.mask & LVIF_IMAGE) {
                    item.iImage = item.iSubItem == 0 && current_->ImageList() ? current_->RowImage(item.iItem) : -1;
                }
                m.result = 0;
                return;
            }
            case LVN_ITEMCHANGED: {
                const NMLISTVIEW* lv = reinterpret_cast<const NMLISTVIEW*>(m.lParam);
                if (!filling_ && (lv->uChanged & LVIF_STATE) && (lv->uNewState & LVIS_SELECTED) &&
                    !(lv->uOldState & LVIS_SELECTED))
                    Activate(lv->iItem);
                m.result = 0;
                return;
            }
            default: break;
            }
        }
    }
    DefaultProcessing(m);
}

bool ChooseAstroObject(HWND owner, Data::AstroObjRef& object, bool withConstellations) {
    AstroObjChooseDialog dialog(withConstellations);
    dialog.SetSelection(object);
    if (dialog.Run(owner) != IDOK) return false;
    if (dialog.Selection().kind == Data::kObjNone) return false;
    object = dialog.Selection();
    return true;
}

}  // namespace UI
