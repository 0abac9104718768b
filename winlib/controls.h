// The standard and common controls as mwcl objects. Each binds to a dialog
// item (Attach) or creates its window (Create with its class), and offers the
// few typed operations the program's dialogs use.
#pragma once

#include "winlib/mwcl.h"

#include <string>

namespace mwcl {

class PushButton : public Control {
public:
    void Create(HWND parent, int id, const RECT& rect, const std::u16string& text, DWORD style = BS_PUSHBUTTON);
    using Control::Create;
};

class RadioButton : public Control {
public:
    void Create(HWND parent, int id, const RECT& rect, const std::u16string& text,
                DWORD style = BS_AUTORADIOBUTTON);
    using Control::Create;
    bool IsChecked() const;
    void SetChecked(bool on);
};

class CheckBox : public Control {
public:
    void Create(HWND parent, int id, const RECT& rect, const std::u16string& text, DWORD style = BS_AUTOCHECKBOX);
    using Control::Create;
    bool IsChecked() const;
    void SetChecked(bool on);
};

class ComboBox : public Control {
public:
    void Create(HWND parent, int id, const RECT& rect, DWORD style = CBS_DROPDOWNLIST | WS_VSCROLL);
    using Control::Create;
    // Index of the new entry, or -1.
    int AddString(const std::u16string& text);
    void Clear();
    int Count() const;
    // -1 when nothing is selected.
    int GetSelection() const;
    void SetSelection(int index);
    std::u16string ItemText(int index) const;
};

class EditControl : public Control {
public:
    void Create(HWND parent, int id, const RECT& rect, const std::u16string& text = std::u16string(),
                DWORD style = ES_AUTOHSCROLL | WS_BORDER);
    using Control::Create;
    void SelectAll();
    void SetReadOnly(bool on);
};

class StaticControl : public Control {
public:
    void Create(HWND parent, int id, const RECT& rect, const std::u16string& text, DWORD style = SS_LEFT);
    using Control::Create;
};

class ListView : public Control {
public:
    void Create(HWND parent, int id, const RECT& rect, DWORD style = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
    using Control::Create;
    void AddColumn(int index, const std::u16string& title, int width);
    // Index of the new row, or -1.
    int InsertItem(int index, const std::u16string& text, LPARAM data = 0, int image = -1);
    void SetItemText(int index, int column, const std::u16string& text);
    std::u16string ItemText(int index, int column) const;
    LPARAM ItemData(int index) const;
    int Count() const;
    void Clear();
    // -1 when nothing is selected.
    int GetSelection() const;
    void SetSelection(int index);
    void SetImageList(HIMAGELIST list, int which = LVSIL_SMALL);
    // Check boxes in front of the rows (off by default). Without them the
    // rows have no check state: SetChecked changes nothing, IsChecked is false.
    void SetCheckBoxes(bool on);
    bool HasCheckBoxes() const;
    bool IsChecked(int index) const;
    void SetChecked(int index, bool on);
};

class TabControl : public Control {
public:
    void Create(HWND parent, int id, const RECT& rect, DWORD style = 0);
    using Control::Create;
    int AddTab(const std::u16string& title);
    int GetSelection() const;
    void SetSelection(int index);
    // The page area of the control in its parent's coordinates.
    RECT PageRect() const;
};

class TrackbarControl : public Control {
public:
    void Create(HWND parent, int id, const RECT& rect, DWORD style = TBS_HORZ | TBS_AUTOTICKS);
    using Control::Create;
    void SetRange(int minimum, int maximum);
    int GetPosition() const;
    void SetPosition(int pos);
    // The step of the arrow keys and of a tap beside the thumb (page).
    void SetLineSize(int size);
    void SetPageSize(int size);
    int LineSize() const;
    int PageSize() const;
    // The thumb's length in pixels across the bar (the control then keeps it).
    void SetThumbLength(int pixels);
    int ThumbLength() const;
    // A tick mark every `frequency` positions (with TBS_AUTOTICKS, the default style).
    void SetTickFrequency(int frequency);
};

class UpDownControl : public Control {
public:
    void Create(HWND parent, int id, const RECT& rect, DWORD style = UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS);
    using Control::Create;
    void SetRange(int minimum, int maximum);
    int GetPosition() const;
    void SetPosition(int pos);
    void SetBuddy(HWND buddy);
};

class DateTimePicker : public Control {
public:
    void Create(HWND parent, int id, const RECT& rect, DWORD style = DTS_SHORTDATEFORMAT);
    using Control::Create;
    // False when the control shows no date (a cleared check box).
    bool GetTime(SYSTEMTIME& out) const;
    void SetTime(const SYSTEMTIME& t);
    void SetFormat(const std::u16string& format);
};

}  // namespace mwcl
