#include "winlib/controls.h"

#include "winlib/wstr.h"

namespace mwcl {

namespace {

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return hwnd ? SendMessageW(hwnd, message, wParam, lParam) : 0;
}

LPARAM Text(const std::u16string& s) { return reinterpret_cast<LPARAM>(W(s)); }

}  // namespace

void PushButton::Create(HWND parent, int id, const RECT& rect, const std::u16string& text, DWORD style) {
    Control::Create(parent, W(u"BUTTON"), style | WS_VISIBLE | WS_TABSTOP, id, rect, text);
}

void RadioButton::Create(HWND parent, int id, const RECT& rect, const std::u16string& text, DWORD style) {
    Control::Create(parent, W(u"BUTTON"), style | WS_VISIBLE | WS_TABSTOP, id, rect, text);
}
bool RadioButton::IsChecked() const { return Send(hwnd_, BM_GETCHECK) == BST_CHECKED; }
void RadioButton::SetChecked(bool on) { Send(hwnd_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED); }

void CheckBox::Create(HWND parent, int id, const RECT& rect, const std::u16string& text, DWORD style) {
    Control::Create(parent, W(u"BUTTON"), style | WS_VISIBLE | WS_TABSTOP, id, rect, text);
}
bool CheckBox::IsChecked() const { return Send(hwnd_, BM_GETCHECK) == BST_CHECKED; }
void CheckBox::SetChecked(bool on) { Send(hwnd_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED); }

void ComboBox::Create(HWND parent, int id, const RECT& rect, DWORD style) {
    Control::Create(parent, W(u"COMBOBOX"), style | WS_VISIBLE | WS_TABSTOP, id, rect);
}
int ComboBox::AddString(const std::u16string& text) {
    const LRESULT r = Send(hwnd_, CB_ADDSTRING, 0, Text(text));
    return r < 0 ? -1 : static_cast<int>(r);
}
void ComboBox::Clear() { Send(hwnd_, CB_RESETCONTENT); }
int ComboBox::Count() const { return static_cast<int>(Send(hwnd_, CB_GETCOUNT)); }
int ComboBox::GetSelection() const {
    const LRESULT r = Send(hwnd_, CB_GETCURSEL);
    return r < 0 ? -1 : static_cast<int>(r);
}
void ComboBox::SetSelection(int index) { Send(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index)); }
std::u16string ComboBox::ItemText(int index) const {
    const LRESULT n = Send(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (n <= 0) return std::u16string();
    std::u16string s(static_cast<size_t>(n) + 1, u'\0');
    const LRESULT got = Send(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&s[0]));
    s.resize(got > 0 && got <= n ? static_cast<size_t>(got) : 0);
    return s;
}

void EditControl::Create(HWND parent, int id, const RECT& rect, const std::u16string& text, DWORD style) {
    Control::Create(parent, W(u"EDIT"), style | WS_VISIBLE | WS_TABSTOP, id, rect, text);
}
void EditControl::SelectAll() { Send(hwnd_, EM_SETSEL, 0, -1); }
void EditControl::SetReadOnly(bool on) { Send(hwnd_, EM_SETREADONLY, on ? TRUE : FALSE); }

void StaticControl::Create(HWND parent, int id, const RECT& rect, const std::u16string& text, DWORD style) {
    Control::Create(parent, W(u"STATIC"), style | WS_VISIBLE, id, rect, text);
}

void ListView::Create(HWND parent, int id, const RECT& rect, DWORD style) {
    Control::Create(parent, W(u"SysListView32"), style | WS_VISIBLE | WS_TABSTOP, id, rect);
}
void ListView::AddColumn(int index, const std::u16string& title, int width) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = const_cast<LPWSTR>(W(title));
    col.cx = width;
    col.iSubItem = index;
    Send(hwnd_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&col));
}
int ListView::InsertItem(int index, const std::u16string& text, LPARAM data, int image) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | (image >= 0 ? LVIF_IMAGE : 0u);
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(W(text));
    item.lParam = data;
    item.iImage = image;
    const LRESULT r = Send(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return r < 0 ? -1 : static_cast<int>(r);
}
void ListView::SetItemText(int index, int column, const std::u16string& text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<LPWSTR>(W(text));
    Send(hwnd_, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}
std::u16string ListView::ItemText(int index, int column) const {
    // The control copies at most the buffer; grow until the text fits.
    for (size_t size = 256; size <= 65536; size *= 4) {
        std::u16string s(size, u'\0');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = W(&s[0]);
        item.cchTextMax = static_cast<int>(size);
        const LRESULT n = Send(hwnd_, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        if (n < 0) return std::u16string();
        if (static_cast<size_t>(n) + 1 < size) {
            s.resize(static_cast<size_t>(n));
            return s;
        }
    }
    return std::u16string();
}
LPARAM ListView::ItemData(int index) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return Send(hwnd_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}
int ListView::Count() const { return static_cast<int>(Send(hwnd_, LVM_GETITEMCOUNT)); }
void ListView::Clear() { Send(hwnd_, LVM_DELETEALLITEMS); }
int ListView::GetSelection() const {
    return static_cast<int>(Send(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}
void ListView::SetSelection(int index) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    Send(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    Send(hwnd_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}
void ListView::SetImageList(HIMAGELIST list, int which) {
    Send(hwnd_, LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list));
}
void ListView::SetCheckBoxes(bool on) {
    Send(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, on ? LVS_EX_CHECKBOXES : 0);
}
bool ListView::HasCheckBoxes() const { return (Send(hwnd_, LVM_GETEXTENDEDLISTVIEWSTYLE) & LVS_EX_CHECKBOXES) != 0; }
bool ListView::IsChecked(int index) const {
    if (!HasCheckBoxes()) return false;
    const LRESULT state = Send(hwnd_, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK);
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}
void ListView::SetChecked(int index, bool on) {
    if (!HasCheckBoxes()) return;  // a row without a box has no check state to keep
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
    Send(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TabControl::Create(HWND parent, int id, const RECT& rect, DWORD style) {
    Control::Create(parent, W(u"SysTabControl32"), style | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, id, rect);
}
int TabControl::AddTab(const std::u16string& title) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(W(title));
    const int count = static_cast<int>(Send(hwnd_, TCM_GETITEMCOUNT));
    const LRESULT r = Send(hwnd_, TCM_INSERTITEMW, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&item));
    return r < 0 ? -1 : static_cast<int>(r);
}
int TabControl::GetSelection() const { return static_cast<int>(Send(hwnd_, TCM_GETCURSEL)); }
void TabControl::SetSelection(int index) { Send(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(index)); }
RECT TabControl::PageRect() const {
    RECT r{};
    if (!hwnd_) return r;
    GetClientRect(hwnd_, &r);
    Send(hwnd_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(hwnd_, parent_ ? parent_ : ::GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void TrackbarControl::Create(HWND parent, int id, const RECT& rect, DWORD style) {
    Control::Create(parent, W(u"msctls_trackbar32"), style | WS_VISIBLE | WS_TABSTOP, id, rect);
}
void TrackbarControl::SetRange(int minimum, int maximum) {
    Send(hwnd_, TBM_SETRANGEMIN, FALSE, minimum);
    Send(hwnd_, TBM_SETRANGEMAX, TRUE, maximum);
}
int TrackbarControl::GetPosition() const { return static_cast<int>(Send(hwnd_, TBM_GETPOS)); }
void TrackbarControl::SetPosition(int pos) { Send(hwnd_, TBM_SETPOS, TRUE, pos); }
void TrackbarControl::SetLineSize(int size) { Send(hwnd_, TBM_SETLINESIZE, 0, size); }
void TrackbarControl::SetPageSize(int size) { Send(hwnd_, TBM_SETPAGESIZE, 0, size); }
int TrackbarControl::LineSize() const { return static_cast<int>(Send(hwnd_, TBM_GETLINESIZE)); }
int TrackbarControl::PageSize() const { return static_cast<int>(Send(hwnd_, TBM_GETPAGESIZE)); }
void TrackbarControl::SetThumbLength(int pixels) {
    if (!hwnd_) return;
    // The control keeps a length of its own only with a fixed-length thumb.
    const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    if (!(style & TBS_FIXEDLENGTH)) SetWindowLongW(hwnd_, GWL_STYLE, style | TBS_FIXEDLENGTH);
    Send(hwnd_, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(pixels));
    InvalidateRect(hwnd_, nullptr, TRUE);
}
int TrackbarControl::ThumbLength() const { return static_cast<int>(Send(hwnd_, TBM_GETTHUMBLENGTH)); }
void TrackbarControl::SetTickFrequency(int frequency) { Send(hwnd_, TBM_SETTICFREQ, static_cast<WPARAM>(frequency)); }

void UpDownControl::Create(HWND parent, int id, const RECT& rect, DWORD style) {
    Control::Create(parent, W(u"msctls_updown32"), style | WS_VISIBLE, id, rect);
}
void UpDownControl::SetRange(int minimum, int maximum) { Send(hwnd_, UDM_SETRANGE32, static_cast<WPARAM>(minimum), maximum); }
int UpDownControl::GetPosition() const {
    BOOL failed = FALSE;
    const LRESULT r = Send(hwnd_, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed));
    return static_cast<int>(r);
}
void UpDownControl::SetPosition(int pos) { Send(hwnd_, UDM_SETPOS32, 0, pos); }
void UpDownControl::SetBuddy(HWND buddy) { Send(hwnd_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy)); }

void DateTimePicker::Create(HWND parent, int id, const RECT& rect, DWORD style) {
    Control::Create(parent, W(u"SysDateTimePick32"), style | WS_VISIBLE | WS_TABSTOP, id, rect);
}
bool DateTimePicker::GetTime(SYSTEMTIME& out) const {
    return Send(hwnd_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&out)) == GDT_VALID;
}
void DateTimePicker::SetTime(const SYSTEMTIME& t) {
    Send(hwnd_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
}
void DateTimePicker::SetFormat(const std::u16string& format) { Send(hwnd_, DTM_SETFORMATW, 0, Text(format)); }

}  // namespace mwcl
