// mwcl: the program's thin object layer over the Win32 window manager.
//
// Every window, dialog and control is an object of a class derived from
// mwcl::Window. The library binds each native window to its object (window
// property "mwclPROC"), routes each message to the object's virtual
// HandleMessage, creates frames, dialogs and controls, loads dialog templates
// in the user's language, keeps the program to a single running instance and
// ends the program with a message box when the window system fails.
//
// Handlers are written by overriding HandleMessage (or OnCommand, OnPaint) and
// switching on the message number; what a handler does not take goes to
// DefaultProcessing.
#pragma once

#include "winlib/win32.h"

#include <commctrl.h>

#include <string>

namespace mwcl {

// One window message on its way through the library. The handler stores the
// value the window procedure returns in `result`.
struct MessageRecord {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
};

// What a key message tells about its key (WM_KEYDOWN, WM_KEYUP and their
// WM_SYS twins). Flags() packs it the way the views test keys: 1 the key
// was already down (an auto-repeat, or any key-up), 2 the key goes down,
// 4 an extended key (the arrows, the navigation block, the keypad's Enter).
// A fresh press of Enter is 2, of an arrow 6; a held arrow repeats with 7.
struct KeyData {
    enum : UINT { kPreviouslyDown = 1, kGoingDown = 2, kExtended = 4 };
    UINT key = 0;          // the virtual-key code
    int repeatCount = 0;   // presses this message stands for (auto-repeat)
    bool previouslyDown = false;
    bool goingDown = false;
    bool extended = false;
    UINT Flags() const {
        return (previouslyDown ? kPreviouslyDown : 0u) | (goingDown ? kGoingDown : 0u) | (extended ? kExtended : 0u);
    }
};
// The key data of a key message (the key's code and the bits of its second parameter).
KeyData KeyDataOf(const MessageRecord& m);

// A resource name: text ("SET_TIME_DIALOG") or number (103).
class ResourceName {
public:
    ResourceName() = default;
    ResourceName(const char16_t* name) : name_(name ? name : u"") {}
    ResourceName(std::u16string name) : name_(std::move(name)) {}
    ResourceName(WORD id) : id_(id) {}
    ResourceName(int id) : id_(static_cast<WORD>(id)) {}

    bool Empty() const { return id_ == 0 && name_.empty(); }
    bool IsNumber() const { return id_ != 0; }
    WORD Number() const { return id_; }
    const std::u16string& Text() const { return name_; }
    // For the resource functions (MAKEINTRESOURCE for numbers).
    LPCWSTR Get() const;

private:
    std::u16string name_;
    WORD id_ = 0;
};

// --- the application --------------------------------------------------------------

// The program's module instance (set by InitApplication, or the executable's).
HINSTANCE Instance();
void SetInstance(HINSTANCE instance);

// Starts the application: returns false when another instance with this id
// runs (its main window has been brought to the front; end the program);
// otherwise creates the hidden marker window, initialises the common
// controls and returns true. Window-system failures are fatal.
bool InitApplication(const std::u16string& appId, HINSTANCE instance);

// Shows a stop message box captioned "Fatal Error" and ends the process with
// exit code 255 at once. No cleanup runs.
[[noreturn]] void FatalError(const std::u16string& text);

// Runs the message loop until WM_QUIT (returns its exit code). Keyboard
// messages are first offered to the accelerator table (may be null).
int RunMessageLoop(HACCEL accelerators);

// The dialog template to use for the user's language: name + "_%04x" of the
// language id, else of its primary language (e.g. "_0007"), else the name.
ResourceName LocalizedDialogName(const ResourceName& name, HINSTANCE instance = nullptr);
// The menu resource for the user's language: the German menus are separate
// resources (103 -> 113, 105 -> 115, 109 -> 119 for any German).
ResourceName LocalizedMenuName(const ResourceName& name);

// A window class of the library ("mwcl$1", "mwcl$2", ... in registration
// order) whose windows are bound to their objects.
class WindowClass {
public:
    // Registers the class; failure is fatal ("Registering window class failed").
    WindowClass(UINT classStyle, HBRUSH background);
    ~WindowClass();
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;

    LPCWSTR Name() const;
    // Unregisters it; otherwise it stays until the process ends.
    void Unregister();

private:
    std::u16string name_;
    bool registered_ = false;
};

// Registers, once per process, a window class of a control that the library
// binds after creation (DefWindowProcW as its own procedure, arrow cursor).
// Failure is fatal ("Registering window class failed"). Returns the name.
LPCWSTR RegisterControlClass(const char16_t* name, UINT classStyle, HBRUSH background);

// --- windows -----------------------------------------------------------------------

class Window {
public:
    Window() = default;
    // A window object that still has its native window takes it down with it
    // (without dispatching further messages to the object being destroyed).
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Called once the native window exists (WM_CREATE, WM_INITDIALOG, or binding).
    virtual void OnCreate() {}
    // Called after WM_DESTROY was handled.
    virtual void OnDestroy() {}
    virtual void HandleMessage(MessageRecord& m) { DefaultProcessing(m); }

    HWND GetHandle() const { return hwnd_; }
    bool IsDestroyed() const { return destroyed_; }
    // The object deletes itself once its window is destroyed.
    void SetAutoDelete(bool on) { autoDelete_ = on; }
    bool AutoDelete() const { return autoDelete_; }

    // Binds the object to an existing native window: messages then reach
    // HandleMessage first, with the window's own procedure as default processing.
    void Bind(HWND hwnd);
    // Restores the window's own procedure and removes the binding.
    void Unbind();
    // Takes the window down: an object bound to a foreign window is unbound
    // first; a window of the library's classes sees its OnDestroy.
    void Destroy();

    // The object bound to a native window, or none.
    static Window* FromHandle(HWND hwnd);

    // Passes the message to the procedure the object replaced, or DefWindowProcW.
    void DefaultProcessing(MessageRecord& m);

protected:
    HWND hwnd_ = nullptr;
    WNDPROC previousProc_ = nullptr;
    bool destroyed_ = false;
    bool autoDelete_ = false;
    bool setProperty_ = false;  // this object set "mwclPROC" on a window it bound

    friend LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT Dispatch(Window*, MessageRecord&);
    friend INT_PTR CALLBACK DialogProcedure(HWND, UINT, WPARAM, LPARAM);
};

class Control : public Window {
public:
    // Binds the object to a dialog's child window with this id.
    virtual void Attach(HWND parent, int id);
    // Takes WM_COMMAND and WM_NOTIFY; default processing otherwise.
    virtual void OnCommand(MessageRecord& m) { DefaultProcessing(m); }
    // Creates a child window of a class and binds the object to it; failure
    // is fatal ("Creating control failed").
    virtual void Create(HWND parent, LPCWSTR windowClass, DWORD style, int id, const RECT& rect,
                        const std::u16string& text = std::u16string(), DWORD exStyle = 0);
    // A WM_COMMAND of this control (by id or handle), or its WM_NOTIFY.
    virtual bool IsOwnNotification(const MessageRecord& m) const;

    void HandleMessage(MessageRecord& m) override;

    int GetId() const { return id_; }
    HWND GetParent() const { return parent_; }
    // The window text (any length).
    std::u16string GetText() const;
    void SetText(const std::u16string& text);
    void Enable(bool on);

protected:
    int id_ = 0;
    HWND parent_ = nullptr;
};

class ControlContainer : public Window {
public:
    // The commands and notifications of the window's children.
    virtual void OnCommand(MessageRecord& m) { DefaultProcessing(m); }
    // A key pressed or released while the window has the keyboard; true when
    // taken (nothing further happens), false for the default processing.
    virtual bool OnKey(const MessageRecord& m, const KeyData& key) { return false; }

protected:
    // WM_COMMAND and WM_NOTIFY to OnCommand, key messages to OnKey, the rest
    // to the default; a window that follows the input panel adjusts on its change.
    void CommonDispatch(MessageRecord& m);
    // Menu bar: the window's own menu from the menu resource (none for an
    // empty bar); the window keeps its client size.
    void CreateMenuBar();
    void DestroyMenuBar();

    HMENU menuBar_ = nullptr;
    ResourceName menuBarName_;
    bool tracksInputPanel_ = false;
};

class Frame : public ControlContainer {
public:
    // Creates the native window of one of the library's classes. Without a
    // style the frame is created hidden. Failure is fatal ("Creating window failed").
    void Create(const WindowClass& cls, HWND parent = nullptr, DWORD style = 0, DWORD exStyle = 0);
    void Create(LPCWSTR className, HWND parent, DWORD style, DWORD exStyle);

    void SetMenuBarName(const ResourceName& name) { menuBarName_ = name; }
    HMENU MenuBar() const { return menuBar_; }
    // Bottom edge follows the visible desktop when the input panel changes.
    void SetTracksInputPanel(bool on) { tracksInputPanel_ = on; }

    void OnCreate() override;
    void OnDestroy() override;
    virtual void OnPaint(HDC dc, PAINTSTRUCT& ps) {}
    void HandleMessage(MessageRecord& m) override;
};

class Dialog : public ControlContainer {
public:
    explicit Dialog(const ResourceName& templateName, HINSTANCE instance = nullptr);

    // Runs the dialog modally; returns the EndDialog result (1 OK, 2 Cancel),
    // or -1 when the template is missing or the dialog could not be made.
    INT_PTR DoModal(HWND parent);
    // Creates the dialog modeless (tab pages), once; returns its window.
    HWND CreateModeless(HWND parent);

    void SetMenuBarName(const ResourceName& name) { menuBarName_ = name; }
    const ResourceName& TemplateName() const { return templateName_; }
    bool IsChildDialog() const;
    // Ends a modal dialog with a result (a modeless one is destroyed).
    void End(INT_PTR result);

    void OnCreate() override;
    void OnDestroy() override;
    virtual void InitShellDialog();
    // OK (id 1) ends with 1, Cancel (id 2) with 2; the rest takes the common dispatch.
    void HandleMessage(MessageRecord& m) override;

protected:
    ResourceName templateName_;
    HINSTANCE instance_ = nullptr;
    bool panelWasUp_ = false;
    bool modal_ = false;
};

// --- utility operations ------------------------------------------------------------

// Moves a window to a rectangle in its parent's client coordinates (only
// when it differs from where it is).
void MoveWindowTo(HWND hwnd, const RECT& rect);
SIZE GetClientSize(HWND hwnd);
// Sizes a window so that its client area encloses all its child windows.
void SizeToChildren(HWND hwnd);
// The text of a window of any length.
std::u16string GetWindowTextOf(HWND hwnd);

// Double-buffered painting: Begin paints into a memory context the size of
// the client area (clipped to the update rectangle and filled with the
// background); End copies the update rectangle to the screen.
class DoubleBufferPaint {
public:
    DoubleBufferPaint() = default;
    DoubleBufferPaint(const DoubleBufferPaint&) = delete;
    DoubleBufferPaint& operator=(const DoubleBufferPaint&) = delete;
    ~DoubleBufferPaint();

    HDC Begin(HWND hwnd, HBRUSH background);
    void End();
    const PAINTSTRUCT& Paint() const { return ps_; }

private:
    HWND hwnd_ = nullptr;
    PAINTSTRUCT ps_{};
    HDC screen_ = nullptr;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
};

// One scroll bar of a window (SB_HORZ or SB_VERT) over a content larger than
// the window: the position stays between 0 and content - page; a line is 20
// pixels, a page the window's size; the thumb is followed while dragged.
class ScrollState {
public:
    static constexpr int kLine = 20;
    explicit ScrollState(int bar) : bar_(bar) {}

    // Sets the range (content size) and page; a content that fits shows no bar.
    void Setup(HWND hwnd, int content, int page);
    // WM_HSCROLL / WM_VSCROLL; true when the position changed.
    bool OnScroll(HWND hwnd, WPARAM wParam);
    // Moves by a number of pixels (clamped); true when the position changed.
    bool ScrollBy(HWND hwnd, int delta);
    bool ScrollTo(HWND hwnd, int pos);
    int Position() const { return pos_; }
    int MaxPosition() const { return content_ > page_ ? content_ - page_ : 0; }
    int Bar() const { return bar_; }

private:
    int bar_;
    int pos_ = 0;
    int content_ = 0;
    int page_ = 1;
};

}  // namespace mwcl
