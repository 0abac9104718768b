#include "winlib/mwcl.h"

#include "data/messages.h"
#include "winlib/wstr.h"

#include <algorithm>
#include <cstdio>

namespace mwcl {

namespace {

// The window property that binds a native window to its object.
const char16_t kBindingProperty[] = u"mwclPROC";
// The property of top-level frames that another instance may bring to the front.
const char16_t kActivateableProperty[] = u"mwclActivateable";
const UINT_PTR kActivateByForeground = 6;
const char16_t kAppIdClass[] = u"mwcl_app_id";

HINSTANCE g_instance = nullptr;

std::u16string HexSuffix(unsigned value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "_%04x", value & 0xffffu);
    return std::u16string(buf, buf + 5);
}

bool DialogExists(HINSTANCE instance, const std::u16string& name) {
    return FindResourceW(instance, W(name), reinterpret_cast<LPCWSTR>(RT_DIALOG)) != nullptr;
}

// Brings the running instance's main window to the front: every visible
// top-level window of that process that carries the activation property
// either comes to the foreground (value 6, which ends the search) or is sent
// the property's value as a message.
struct ActivateSearch {
    DWORD process = 0;
};

BOOL CALLBACK ActivateOne(HWND hwnd, LPARAM param) {
    ActivateSearch* search = reinterpret_cast<ActivateSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != search->process || !IsWindowVisible(hwnd)) return TRUE;
    const UINT_PTR value = reinterpret_cast<UINT_PTR>(GetPropW(hwnd, W(kActivateableProperty)));
    if (value == 0) return TRUE;
    if (value == kActivateByForeground) {
        if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
        SetForegroundWindow(hwnd);
        return FALSE;
    }
    // A hung instance must not hang this one.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(hwnd, static_cast<UINT>(value), 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    return TRUE;
}

void InitCommonControl(DWORD classes, const char16_t* failure) {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = classes;
    if (!InitCommonControlsEx(&icc)) FatalError(failure);
}

}  // namespace

// --- resource names ----------------------------------------------------------------

LPCWSTR ResourceName::Get() const {
    if (id_ != 0) return MAKEINTRESOURCEW(id_);
    return W(name_);
}

// --- the application ------------------------------------------------------------------

HINSTANCE Instance() { return g_instance ? g_instance : GetModuleHandleW(nullptr); }

void SetInstance(HINSTANCE instance) { g_instance = instance; }

bool InitApplication(const std::u16string& appId, HINSTANCE instance) {
    SetInstance(instance);
    if (HWND other = FindWindowW(W(kAppIdClass), W(appId))) {
        ActivateSearch search;
        GetWindowThreadProcessId(other, &search.process);
        EnumWindows(ActivateOne, reinterpret_cast<LPARAM>(&search));
        return false;
    }

    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = Instance();
    wc.lpszClassName = W(kAppIdClass);
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        FatalError(u"Registering window class failed");
    // The marker another instance looks for; never shown.
    HWND marker = CreateWindowExW(0, W(kAppIdClass), W(appId), WS_CAPTION, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, Instance(), nullptr);
    if (!marker) FatalError(u"Creating window failed");
    // (A handheld shell registers the application here; a desktop has no such step.)

    InitCommonControl(ICC_DATE_CLASSES, u"Error initializing datetimepicker control");
    InitCommonControl(ICC_LISTVIEW_CLASSES, u"Error initializing list view control");
    InitCommonControl(ICC_TAB_CLASSES, u"Error initializing tab control");
    InitCommonControl(ICC_BAR_CLASSES, u"Error initializing *bar control");
    return true;
}

void FatalError(const std::u16string& text) {
    MessageBoxW(nullptr, W(text), W(u"Fatal Error"), MB_ICONSTOP | MB_SETFOREGROUND);
    TerminateProcess(GetCurrentProcess(), 255);
    ExitProcess(255);  // not reached
}

int RunMessageLoop(HACCEL accelerators) {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) break;
        if (got == -1) FatalError(u"GetMessage failed");
        // Accelerators act on the top-level window, whichever child has the focus.
        if (accelerators && msg.hwnd) {
            HWND top = GetAncestor(msg.hwnd, GA_ROOT);
            if (TranslateAcceleratorW(top ? top : msg.hwnd, accelerators, &msg)) continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

ResourceName LocalizedDialogName(const ResourceName& name, HINSTANCE instance) {
    if (name.IsNumber() || name.Empty()) return name;
    if (!instance) instance = Instance();
    const unsigned lang = Data::UserLangId();
    std::u16string full = name.Text() + HexSuffix(lang);
    if (DialogExists(instance, full)) return full;
    std::u16string primary = name.Text() + HexSuffix(lang & 0x3ffu);
    if (DialogExists(instance, primary)) return primary;
    return name;
}

ResourceName LocalizedMenuName(const ResourceName& name) {
    if (!name.IsNumber() || (Data::UserLangId() & 0x3ffu) != LANG_GERMAN) return name;
    switch (name.Number()) {
    case 103: return ResourceName(113);
    case 105: return ResourceName(115);
    case 109: return ResourceName(119);
    default: return name;
    }
}

// --- window classes ------------------------------------------------------------------

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

WindowClass::WindowClass(UINT classStyle, HBRUSH background) {
    static unsigned counter = 0;
    char buf[32];
    std::snprintf(buf, sizeof buf, "mwcl$%u", ++counter);
    name_.assign(buf, buf + std::char_traits<char>::length(buf));
    WNDCLASSW wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = WindowProcedure;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = background;
    wc.lpszClassName = W(name_);
    if (!RegisterClassW(&wc)) FatalError(u"Registering window class failed");
    registered_ = true;
}

// The class stays registered until Unregister or the end of the process:
// unregistering while the process is being torn down (a static object's
// destructor) fails inside the window system and loses the exit code.
WindowClass::~WindowClass() = default;

LPCWSTR WindowClass::Name() const { return W(name_); }

void WindowClass::Unregister() {
    if (registered_) UnregisterClassW(W(name_), Instance());
    registered_ = false;
}

LPCWSTR RegisterControlClass(const char16_t* name, UINT classStyle, HBRUSH background) {
    WNDCLASSW existing{};
    if (GetClassInfoW(Instance(), W(name), &existing)) return W(name);
    WNDCLASSW wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = background;
    wc.lpszClassName = W(name);
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        FatalError(u"Registering window class failed");
    return W(name);
}

// --- binding and dispatch ------------------------------------------------------------

Window* Window::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<Window*>(GetPropW(hwnd, W(kBindingProperty))) : nullptr;
}

LRESULT Dispatch(Window* object, MessageRecord& m) {
    const bool destroying = m.message == WM_DESTROY;
    if (destroying) object->destroyed_ = true;
    object->HandleMessage(m);
    if (destroying) {
        object->OnDestroy();
        HWND hwnd = m.hwnd;
        // A foreign window's own procedure sees the rest of its life (WM_NCDESTROY frees its data).
        if (object->previousProc_)
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(object->previousProc_));
        object->previousProc_ = nullptr;
        object->hwnd_ = nullptr;
        object->setProperty_ = false;
        RemovePropW(hwnd, W(kBindingProperty));
        if (object->autoDelete_) delete object;
    }
    return m.result;
}

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        const CREATESTRUCTW* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        Window* object = cs ? static_cast<Window*>(cs->lpCreateParams) : nullptr;
        if (object && !Window::FromHandle(hwnd)) {
            if (!SetPropW(hwnd, W(kBindingProperty), object)) FatalError(u"SetProp failed");
            object->hwnd_ = hwnd;
            object->destroyed_ = false;
            object->OnCreate();
        }
    }
    Window* object = Window::FromHandle(hwnd);
    if (object && object->hwnd_ && !object->destroyed_) {
        MessageRecord m;
        m.hwnd = hwnd;
        m.message = message;
        m.wParam = wParam;
        m.lParam = lParam;
        return Dispatch(object, m);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        Dialog* dialog = reinterpret_cast<Dialog*>(lParam);
        const HWND before = GetFocus();
        if (dialog && !Window::FromHandle(hwnd)) {
            dialog->Bind(hwnd);
            dialog->OnCreate();
        }
        // TRUE lets the dialog manager focus the first control; a dialog that
        // put the focus somewhere itself keeps it.
        const HWND after = GetFocus();
        const bool focusedHere = after && after != before && (after == hwnd || IsChild(hwnd, after));
        return focusedHere ? FALSE : TRUE;
    }
    return FALSE;
}

Window::~Window() {
    if (!hwnd_ || destroyed_) return;
    // The object is going away while its window lives: take the binding off
    // first, so that no message reaches a half-destroyed object, then the window.
    HWND hwnd = hwnd_;
    const bool foreign = previousProc_ != nullptr || setProperty_;
    Unbind();
    if (!foreign) RemovePropW(hwnd, W(kBindingProperty));
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
}

void Window::Bind(HWND hwnd) {
    if (!hwnd) return;
    hwnd_ = hwnd;
    destroyed_ = false;
    if (FromHandle(hwnd) != this) {
        if (!SetPropW(hwnd, W(kBindingProperty), this)) FatalError(u"SetProp failed");
        setProperty_ = true;
    }
    WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (current != WindowProcedure) {
        previousProc_ = current;
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProcedure));
    }
}

void Window::Unbind() {
    if (!hwnd_) return;
    if (previousProc_) SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    if (setProperty_) RemovePropW(hwnd_, W(kBindingProperty));
    previousProc_ = nullptr;
    setProperty_ = false;
    hwnd_ = nullptr;
}

void Window::Destroy() {
    if (!hwnd_ || destroyed_) return;
    HWND hwnd = hwnd_;
    if (previousProc_ || setProperty_) {
        autoDelete_ = false;
        Unbind();
    }
    DestroyWindow(hwnd);
}

void Window::DefaultProcessing(MessageRecord& m) {
    if (previousProc_)
        m.result = CallWindowProcW(previousProc_, m.hwnd, m.message, m.wParam, m.lParam);
    else
        m.result = DefWindowProcW(m.hwnd, m.message, m.wParam, m.lParam);
}

// --- controls --------------------------------------------------------------------------

void Control::Attach(HWND parent, int id) {
    parent_ = parent;
    id_ = id;
    Bind(GetDlgItem(parent, id));
}

void Control::Create(HWND parent, LPCWSTR windowClass, DWORD style, int id, const RECT& rect,
                     const std::u16string& text, DWORD exStyle) {
    parent_ = parent;
    id_ = id;
    HWND hwnd = CreateWindowExW(exStyle, windowClass, W(text), style | WS_CHILD, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), this);
    if (!hwnd) FatalError(u"Creating control failed");
    // Windows of the library's classes were bound on WM_CREATE; others are subclassed.
    if (FromHandle(hwnd) != this) Bind(hwnd);
}

bool Control::IsOwnNotification(const MessageRecord& m) const {
    if (!hwnd_) return false;
    if (m.message == WM_COMMAND)
        return LOWORD(m.wParam) == static_cast<WORD>(id_) || reinterpret_cast<HWND>(m.lParam) == hwnd_;
    if (m.message == WM_NOTIFY) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
        return hdr && hdr->hwndFrom == hwnd_;
    }
    return false;
}

void Control::HandleMessage(MessageRecord& m) {
    if (m.message == WM_COMMAND || m.message == WM_NOTIFY)
        OnCommand(m);
    else
        DefaultProcessing(m);
}

std::u16string Control::GetText() const { return GetWindowTextOf(hwnd_); }

void Control::SetText(const std::u16string& text) {
    if (hwnd_) SetWindowTextW(hwnd_, W(text));
}

void Control::Enable(bool on) {
    if (hwnd_) EnableWindow(hwnd_, on ? TRUE : FALSE);
}

// --- containers: frames and dialogs -------------------------------------------------------

KeyData KeyDataOf(const MessageRecord& m) {
    // lParam: bits 0-15 the repeat count, 24 extended, 30 previous state, 31 transition.
    KeyData k;
    k.key = static_cast<UINT>(m.wParam);
    const DWORD bits = static_cast<DWORD>(m.lParam);
    k.repeatCount = static_cast<int>(bits & 0xffffu);
    k.extended = (bits & (1u << 24)) != 0;
    k.previouslyDown = (bits & (1u << 30)) != 0;
    k.goingDown = (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) && (bits & (1u << 31)) == 0;
    return k;
}

void ControlContainer::CommonDispatch(MessageRecord& m) {
    switch (m.message) {
    case WM_COMMAND:
    case WM_NOTIFY:
        OnCommand(m);
        return;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        if (OnKey(m, KeyDataOf(m))) {
            m.result = 0;
            return;
        }
        DefaultProcessing(m);
        return;
    case WM_SETTINGCHANGE:
        // 224: the input panel changed. A desktop has no panel, so a window
        // that follows it reaches down to the bottom of the visible desktop.
        if (m.wParam == 224 && tracksInputPanel_ && hwnd_) {
            RECT work;
            if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
                RECT r;
                GetWindowRect(hwnd_, &r);
                POINT bottom{0, work.bottom};
                if (HWND parent = ::GetParent(hwnd_); parent && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD)) {
                    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
                    ScreenToClient(parent, &bottom);
                }
                SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, bottom.y - r.top,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
        DefaultProcessing(m);
        return;
    default:
        DefaultProcessing(m);
        return;
    }
}

void ControlContainer::CreateMenuBar() {
    // An empty bar is no menu at all on a desktop window.
    if (!hwnd_ || menuBarName_.Empty() || (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD)) return;
    HMENU menu = LoadMenuW(Instance(), LocalizedMenuName(menuBarName_).Get());
    if (!menu) return;
    RECT before, after, window;
    GetClientRect(hwnd_, &before);
    if (!SetMenu(hwnd_, menu)) {
        DestroyMenu(menu);
        return;
    }
    menuBar_ = menu;
    // The menu takes its room from the window, not from the content.
    GetClientRect(hwnd_, &after);
    GetWindowRect(hwnd_, &window);
    const int grow = (before.bottom - before.top) - (after.bottom - after.top);
    if (grow > 0)
        SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + grow,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlContainer::DestroyMenuBar() {
    if (!menuBar_) return;
    if (hwnd_ && GetMenu(hwnd_) == menuBar_) SetMenu(hwnd_, nullptr);
    DestroyMenu(menuBar_);
    menuBar_ = nullptr;
}

void Frame::Create(const WindowClass& cls, HWND parent, DWORD style, DWORD exStyle) {
    Create(cls.Name(), parent, style, exStyle);
}

void Frame::Create(LPCWSTR className, HWND parent, DWORD style, DWORD exStyle) {
    const bool noStyle = style == 0;
    HWND hwnd = CreateWindowExW(exStyle, className, W(u""), noStyle ? WS_VISIBLE : style, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, Instance(), this);
    if (!hwnd) FatalError(u"Creating window failed");
    if (noStyle) ShowWindow(hwnd, SW_HIDE);
}

void Frame::OnCreate() {
    if (!menuBar_) CreateMenuBar();
    if (!(GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD))
        SetPropW(hwnd_, W(kActivateableProperty), reinterpret_cast<HANDLE>(kActivateByForeground));
}

void Frame::OnDestroy() {
    DestroyMenuBar();
    RemovePropW(hwnd_, W(kActivateableProperty));
}

void Frame::HandleMessage(MessageRecord& m) {
    if (m.message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m.hwnd, &ps);
        OnPaint(dc, ps);
        EndPaint(m.hwnd, &ps);
        m.result = 0;
        return;
    }
    CommonDispatch(m);
}

Dialog::Dialog(const ResourceName& templateName, HINSTANCE instance)
    : templateName_(templateName), instance_(instance) {}

namespace {

const DLGTEMPLATE* LoadDialogTemplate(HINSTANCE instance, const ResourceName& name) {
    HRSRC info = FindResourceW(instance, name.Get(), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    if (!info) return nullptr;
    HGLOBAL loaded = LoadResource(instance, info);
    return loaded ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
}

}  // namespace

INT_PTR Dialog::DoModal(HWND parent) {
    HINSTANCE instance = instance_ ? instance_ : Instance();
    const DLGTEMPLATE* tpl = LoadDialogTemplate(instance, LocalizedDialogName(templateName_, instance));
    if (!tpl) return -1;
    modal_ = true;
    const INT_PTR result =
        DialogBoxIndirectParamW(instance, tpl, parent, DialogProcedure, reinterpret_cast<LPARAM>(this));
    modal_ = false;
    return result;
}

HWND Dialog::CreateModeless(HWND parent) {
    if (hwnd_) return hwnd_;
    HINSTANCE instance = instance_ ? instance_ : Instance();
    const DLGTEMPLATE* tpl = LoadDialogTemplate(instance, LocalizedDialogName(templateName_, instance));
    if (!tpl) return nullptr;
    modal_ = false;
    CreateDialogIndirectParamW(instance, tpl, parent, DialogProcedure, reinterpret_cast<LPARAM>(this));
    return hwnd_;
}

bool Dialog::IsChildDialog() const { return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) != 0; }

void Dialog::End(INT_PTR result) {
    if (!hwnd_) return;
    if (modal_)
        EndDialog(hwnd_, result);
    else
        DestroyWindow(hwnd_);
}

void Dialog::OnCreate() {
    if (IsChildDialog()) return;
    // A desktop has no input panel: it was not up.
    panelWasUp_ = false;
    if (!menuBar_) CreateMenuBar();
    InitShellDialog();
}

void Dialog::InitShellDialog() {
    // Dialogs keep their template's size; on a desktop they open centred
    // over the window that owns them (or the screen).
    if (!hwnd_ || IsChildDialog()) return;
    RECT dlg, area;
    GetWindowRect(hwnd_, &dlg);
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (!owner || !IsWindowVisible(owner) || !GetWindowRect(owner, &area))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const int w = dlg.right - dlg.left, h = dlg.bottom - dlg.top;
    int x = area.left + ((area.right - area.left) - w) / 2;
    int y = area.top + ((area.bottom - area.top) - h) / 2;
    x = std::max(0, std::min(x, GetSystemMetrics(SM_CXSCREEN) - w));
    y = std::max(0, std::min(y, GetSystemMetrics(SM_CYSCREEN) - h));
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Dialog::OnDestroy() {
    // (The input panel, had there been one, would be restored here.)
    DestroyMenuBar();
}

void Dialog::HandleMessage(MessageRecord& m) {
    if (m.message == WM_COMMAND) {
        switch (LOWORD(m.wParam)) {
        case IDOK:
            End(IDOK);
            return;
        case IDCANCEL:
            End(IDCANCEL);
            return;
        default:
            break;
        }
    }
    CommonDispatch(m);
}

// --- utility operations ------------------------------------------------------------------

void MoveWindowTo(HWND hwnd, const RECT& rect) {
    if (!hwnd) return;
    RECT now;
    GetWindowRect(hwnd, &now);
    HWND parent = GetParent(hwnd);
    if (parent && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&now), 2);
    if (EqualRect(&now, &rect)) return;
    MoveWindow(hwnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

SIZE GetClientSize(HWND hwnd) {
    RECT r{};
    if (hwnd) GetClientRect(hwnd, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void SizeToChildren(HWND hwnd) {
    if (!hwnd) return;
    LONG right = 0, bottom = 0;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        right = std::max(right, r.right);
        bottom = std::max(bottom, r.bottom);
    }
    RECT want{0, 0, right, bottom};
    AdjustWindowRectEx(&want, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), GetMenu(hwnd) != nullptr,
                       static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    SetWindowPos(hwnd, nullptr, 0, 0, want.right - want.left, want.bottom - want.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::u16string GetWindowTextOf(HWND hwnd) {
    if (!hwnd) return std::u16string();
    char16_t buffer[256];
    LRESULT n = SendMessageW(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
    if (n >= 0 && n < 255) return std::u16string(buffer, static_cast<size_t>(n));
    // Longer than the buffer: ask for the length.
    const LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return std::u16string();
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    n = SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(length) + 1, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(std::max<LRESULT>(0, std::min(n, length))));
    return text;
}

// --- double-buffered painting -----------------------------------------------------------------

DoubleBufferPaint::~DoubleBufferPaint() { End(); }

HDC DoubleBufferPaint::Begin(HWND hwnd, HBRUSH background) {
    End();
    hwnd_ = hwnd;
    screen_ = BeginPaint(hwnd, &ps_);
    const SIZE size = GetClientSize(hwnd);
    memory_ = CreateCompatibleDC(screen_);
    bitmap_ = CreateCompatibleBitmap(screen_, std::max<LONG>(1, size.cx), std::max<LONG>(1, size.cy));
    if (!memory_ || !bitmap_) {
        // Out of memory for the buffer: paint straight to the screen.
        if (bitmap_) DeleteObject(bitmap_);
        if (memory_) DeleteDC(memory_);
        memory_ = nullptr;
        bitmap_ = nullptr;
        if (background) FillRect(screen_, &ps_.rcPaint, background);
        return screen_;
    }
    oldBitmap_ = SelectObject(memory_, bitmap_);
    IntersectClipRect(memory_, ps_.rcPaint.left, ps_.rcPaint.top, ps_.rcPaint.right, ps_.rcPaint.bottom);
    if (background) FillRect(memory_, &ps_.rcPaint, background);
    return memory_;
}

void DoubleBufferPaint::End() {
    if (!hwnd_) return;
    if (memory_) {
        const RECT& r = ps_.rcPaint;
        BitBlt(screen_, r.left, r.top, r.right - r.left, r.bottom - r.top, memory_, r.left, r.top, SRCCOPY);
        SelectObject(memory_, oldBitmap_);
        DeleteObject(bitmap_);
        DeleteDC(memory_);
    }
    EndPaint(hwnd_, &ps_);
    hwnd_ = nullptr;
    memory_ = nullptr;
    bitmap_ = nullptr;
    oldBitmap_ = nullptr;
    screen_ = nullptr;
}

// --- scroll bars ----------------------------------------------------------------------------------

void ScrollState::Setup(HWND hwnd, int content, int page) {
    content_ = std::max(0, content);
    page_ = std::max(1, page);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (content_ <= page_) {
        // Fits: no bar.
        pos_ = 0;
        si.nMin = 0;
        si.nMax = 0;
        si.nPage = 1;
        si.nPos = 0;
    } else {
        pos_ = std::min(pos_, MaxPosition());
        si.nMin = 0;
        si.nMax = content_ - 1;
        si.nPage = static_cast<UINT>(page_);
        si.nPos = pos_;
    }
    SetScrollInfo(hwnd, bar_, &si, TRUE);
}

bool ScrollState::ScrollTo(HWND hwnd, int pos) {
    pos = std::max(0, std::min(pos, MaxPosition()));
    if (pos == pos_) return false;
    pos_ = pos;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_POS;
    si.nPos = pos_;
    SetScrollInfo(hwnd, bar_, &si, TRUE);
    return true;
}

bool ScrollState::ScrollBy(HWND hwnd, int delta) { return ScrollTo(hwnd, pos_ + delta); }

bool ScrollState::OnScroll(HWND hwnd, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case SB_LINEUP: return ScrollBy(hwnd, -kLine);
    case SB_LINEDOWN: return ScrollBy(hwnd, kLine);
    case SB_PAGEUP: return ScrollBy(hwnd, -page_);
    case SB_PAGEDOWN: return ScrollBy(hwnd, page_);
    case SB_TOP: return ScrollTo(hwnd, 0);
    case SB_BOTTOM: return ScrollTo(hwnd, MaxPosition());
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        // The 16-bit position in wParam overflows for long contents.
        const int pos = GetScrollInfo(hwnd, bar_, &si) ? si.nTrackPos : static_cast<int>(HIWORD(wParam));
        return ScrollTo(hwnd, pos);
    }
    default: return false;
    }
}

}  // namespace mwcl
