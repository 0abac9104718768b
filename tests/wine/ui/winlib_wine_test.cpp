// The window library with real windows and real messages: dialogs in the
// user's language, menus, the fatal-error path, the message loop and text of
// any length.
#include "tests/wine/ui/ui_test_util.h"

#include "winlib/controls.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using uitest::FrameClass;
using uitest::Pump;
using uitest::ScopedLanguage;

namespace {

// A frame that records the commands that reach it.
class RecordingFrame : public mwcl::Frame {
public:
    HWND Open(DWORD style = WS_OVERLAPPEDWINDOW) {
        Create(FrameClass(), nullptr, style);
        return hwnd_;
    }
    void OnCommand(mwcl::MessageRecord& m) override {
        commands.push_back(LOWORD(m.wParam));
        if (m.message == WM_COMMAND && LOWORD(m.wParam) == 40001) PostQuitMessage(7);  // ends the message loop
    }

    std::vector<WORD> commands;
};

// A dialog that answers itself once it is up (after putting the focus on
// `focusId` when given) and records its caption and focused control.
class AutoDialog : public mwcl::Dialog {
public:
    AutoDialog(const char16_t* name, WORD answer, int focusId = 0) : mwcl::Dialog(name), answer_(answer), focusId_(focusId) {}
    void OnCreate() override {
        mwcl::Dialog::OnCreate();
        caption = mwcl::GetWindowTextOf(hwnd_);
        if (focusId_) SetFocus(GetDlgItem(hwnd_, focusId_));
        PostMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED), 0);
    }
    void HandleMessage(mwcl::MessageRecord& m) override {
        if (m.message == WM_COMMAND && m.lParam == 0) focused = GetDlgCtrlID(GetFocus());  // the answer
        mwcl::Dialog::HandleMessage(m);
    }
    std::u16string caption;
    int focused = 0;

private:
    WORD answer_;
    int focusId_;
};

std::u16string CaptionOf(const char16_t* name) {
    AutoDialog d(name, IDCANCEL);
    d.DoModal(nullptr);
    return d.caption;
}

}  // namespace

TEST(Dialog, ModalDialogsEndWithTheirAnswerAndKeepTheFocusTheySet) {
    ScopedLanguage english(0x0409);
    AutoDialog ok(u"TEST_DIALOG", IDOK);
    EXPECT_EQ(ok.DoModal(nullptr), IDOK);
    EXPECT_EQ(ok.GetHandle(), nullptr);  // unbound when its window went
    AutoDialog missing(u"NO_SUCH_DIALOG", IDOK);
    EXPECT_EQ(missing.DoModal(nullptr), -1);

    AutoDialog chosen(u"FOCUS_DIALOG", IDOK, 101);
    EXPECT_EQ(chosen.DoModal(nullptr), IDOK);
    EXPECT_EQ(chosen.focused, 101);
    // Without a choice the first field takes it.
    AutoDialog first(u"FOCUS_DIALOG", IDOK);
    first.DoModal(nullptr);
    EXPECT_EQ(first.focused, 100);
}

// The user language of the process picks the templates: German of any region
// gets "_0007" (an exact "_0407" first), everyone else the plain name; and
// the German menus (the number plus ten).
TEST(Localized, TemplatesAndMenusFollowTheLanguage) {
    struct Case {
        uint16_t lang;
        const char16_t* prio;  // the caption of the template PRIO_DIALOG resolves to
        bool german;
    };
    for (const Case& c : {Case{0x0407, u"0407", true}, Case{0x0807, u"0007", true}, Case{0x040c, u"plain", false}}) {
        ScopedLanguage language(c.lang);
        EXPECT_EQ(CaptionOf(u"PRIO_DIALOG"), c.prio) << c.lang;
        EXPECT_EQ(CaptionOf(u"TEST_DIALOG"), c.german ? u"Anzeigezeit einstellen" : u"Set Display Time") << c.lang;
        EXPECT_EQ(mwcl::LocalizedMenuName(105).Number(), c.german ? 115 : 105) << c.lang;
        EXPECT_EQ(mwcl::LocalizedMenuName(102).Number(), 102) << c.lang;  // no German twin
    }
    // Without an override the platform's language decides (the German run sets LANG).
    if (const char* expect = std::getenv("CELVANE_EXPECT_LANGID")) {
        const unsigned id = static_cast<unsigned>(std::strtoul(expect, nullptr, 16));
        EXPECT_EQ(Data::UserLangId(), id);
        EXPECT_EQ(CaptionOf(u"TEST_DIALOG"), (id & 0x3ff) == 7 ? u"Anzeigezeit einstellen" : u"Set Display Time");
    }
}

namespace {

// Starts this program again with arguments; returns the process handle.
HANDLE StartSelf(const std::u16string& args) {
    // The module itself (name.exe.so): Wine starts it as a Winelib program and
    // hands back the process; the name.exe starter script would run outside Wine's view.
    char16_t path[1024];
    const DWORD n = GetModuleFileNameW(nullptr, W(path), 1024);
    std::u16string cmd = u"\"" + std::u16string(path, n) + u".so\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, W(&cmd[0]), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ADD_FAILURE() << PL::ToUtf8(cmd) << ": error " << GetLastError();
        return nullptr;
    }
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

// Waits for a process, handling this thread's messages meanwhile; its exit code or -1.
long WaitFor(HANDLE process, DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    while (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        if (static_cast<int>(end - GetTickCount()) <= 0) return -1;
        Pump(20);
    }
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<long>(code);
}

}  // namespace

// A class name taken, or a bitmap item over a screen context (which has no
// bitmap of its own to draw from): the program says so in a message box and
// ends. The box is read as a user would and closed.
TEST(Application, WindowSystemFailuresAreFatal) {
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"--fatal-registration", "Registering window class failed"},
        {u"--fatal-bitmap-dc", "No bitmap selected in DC"}};
    for (const auto& c : cases) {
        HANDLE child = StartSelf(c.first);
        ASSERT_NE(child, nullptr);
        const DWORD pid = GetProcessId(child);
        HWND box = nullptr;
        for (int i = 0; i < 500 && !box && WaitForSingleObject(child, 0) == WAIT_TIMEOUT; ++i) {
            for (HWND w = FindWindowW(nullptr, W(u"Fatal Error")); w; w = FindWindowExW(nullptr, w, nullptr, W(u"Fatal Error"))) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == pid) box = w;
            }
            if (!box) Pump(20);
        }
        std::u16string text;
        if (box) {
            for (HWND t = GetWindow(box, GW_CHILD); t; t = GetWindow(t, GW_HWNDNEXT))
                if (mwcl::GetWindowTextOf(t).size() > 6) text = mwcl::GetWindowTextOf(t);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        EXPECT_EQ(WaitFor(child, 20000), 255) << c.second;
        CloseHandle(child);
        EXPECT_EQ(PL::ToUtf8(text), c.second);
    }
}

TEST(Utility, TextOfAnyLength) {
    RecordingFrame frame;
    HWND parent = frame.Open();
    mwcl::StaticControl label;
    for (size_t n : {0u, 255u, 256u, 5000u}) {
        std::u16string s;
        for (size_t i = 0; i < n; ++i) s += static_cast<char16_t>(u'a' + i % 26);
        if (n > 3) s[2] = u'\u00e4';  // ä
        if (!label.GetHandle())
            label.Create(parent, 5, RECT{10, 10, 60, 30}, s);
        else
            label.SetText(s);
        EXPECT_EQ(label.GetText(), s) << n;
    }
}

namespace {

void CALLBACK GiveUp(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostQuitMessage(99);
}

}  // namespace

TEST(Application, TheMessageLoopTranslatesAcceleratorsForTheTopWindow) {
    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(102));
    ASSERT_NE(table, nullptr);
    RecordingFrame frame;
    frame.Open(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    mwcl::EditControl edit;
    edit.Create(frame.GetHandle(), 3, RECT{0, 0, 100, 20});
    SetForegroundWindow(frame.GetHandle());
    SetFocus(edit.GetHandle());  // the key goes to the child; the command to the frame
    Pump(50);
    ASSERT_EQ(GetFocus(), edit.GetHandle());
    SetTimer(nullptr, 0, 3000, GiveUp);
    // Ctrl+Q typed.
    for (const auto& k : {std::pair<BYTE, DWORD>{VK_CONTROL, 0}, {'Q', 0}, {'Q', KEYEVENTF_KEYUP}, {VK_CONTROL, KEYEVENTF_KEYUP}})
        keybd_event(k.first, 0, k.second, 0);
    EXPECT_EQ(mwcl::RunMessageLoop(table), 7);
    EXPECT_EQ(std::count(frame.commands.begin(), frame.commands.end(), 40001), 1);  // (besides the edit's notifications)
    EXPECT_EQ(edit.GetText(), u"");  // the accelerator took the key
    DestroyAcceleratorTable(table);
}
