// The object chooser and the object info dialog for screenshots and speed
// figures.
//   objinfo_shots --shot moon|jupiter|saturn|stars|number --ready-file F [--exit-after MS]
//     opens the dialog at a fixed moment (Greenwich), writes the dialog's
//     window rectangle "left top right bottom" to F once it shows, and
//     closes after MS milliseconds;
//   objinfo_shots --bench
//     prints the speed figures: the chooser's filter over the largest
//     star list with stars.dat known, and opening the info dialog for the
//     Moon with its pictures.
#include "app/astroobj_choose.h"
#include "app/objinfo.h"
#include "app/shell.h"
#include "data/messages.h"
#include "data/objectfiles.h"
#include "data/platform.h"
#include "data/starcatalog.h"
#include "settings/preferences.h"
#include "winlib/platform_win32.h"
#include "winlib/wstr.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::u16string g_shot, g_ready;
int g_exitAfter = 30000;

void SetMoment(int year, int month, int day, int hour, int minute) {
    Data::Preferences::Instance().time.useCurrentTime = false;
    Calc::Ephemeris& eph = UI::ProgramEphemeris();
    eph.place = Calc::Place::Default();
    eph.summerMode = 0;
    eph.moment = Calc::FromCalendar(year, month, day, hour, minute);
    eph.Invalidate();
}

void WriteReady(HWND dialog) {
    RECT r;
    GetWindowRect(dialog, &r);
    if (std::FILE* f = PL::Current().OpenFile(g_ready, "wb")) {
        std::fprintf(f, "%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        std::fclose(f);
    }
}

void CALLBACK Ready(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    WriteReady(hwnd);
    SetTimer(hwnd, 2, g_exitAfter, nullptr);
}

// A dialog that reports itself once it shows and closes after a while.
template <class Base>
class Shown : public Base {
public:
    using Base::Base;
    std::u16string typed;
    int set = -1, subList = -1;
    void OnCreate() override {
        Base::OnCreate();
        HWND h = this->GetHandle();
        if (set >= 0) {
            SendDlgItemMessageW(h, UI::kIdChooseSet, CB_SETCURSEL, set, 0);
            SendMessageW(h, WM_COMMAND, MAKEWPARAM(UI::kIdChooseSet, CBN_SELCHANGE), (LPARAM)GetDlgItem(h, UI::kIdChooseSet));
        }
        if (subList >= 0) {
            SendDlgItemMessageW(h, UI::kIdChooseSubList, CB_SETCURSEL, subList, 0);
            SendMessageW(h, WM_COMMAND, MAKEWPARAM(UI::kIdChooseSubList, CBN_SELCHANGE),
                         (LPARAM)GetDlgItem(h, UI::kIdChooseSubList));
        }
        if (!typed.empty()) {
            HWND edit = GetDlgItem(h, UI::kIdChooseFilter);
            for (char16_t c : typed) SendMessageW(edit, WM_CHAR, c, 0);
        }
        SetTimer(h, 1, 1500, Ready);
    }
    void HandleMessage(mwcl::MessageRecord& m) override {
        if (m.message == WM_TIMER && m.wParam == 2) {
            this->End(IDCANCEL);
            return;
        }
        Base::HandleMessage(m);
    }
};

int RunShot() {
    if (g_shot == u"moon" || g_shot == u"jupiter" || g_shot == u"saturn") {
        int body = 1;
        if (g_shot == u"moon") {
            SetMoment(2026, 3, 24, 20, 0);
        } else if (g_shot == u"jupiter") {
            SetMoment(2026, 3, 24, 21, 0);
            body = 5;
        } else {
            SetMoment(2026, 9, 20, 23, 0);
            body = 6;
        }
        Shown<UI::ObjInfoDialog> d(Data::AstroObjRef(Data::kObjBody, body));
        d.DoModal(nullptr);
        return 0;
    }
    Shown<UI::AstroObjChooseDialog> d(true);
    if (g_shot == u"stars") {
        d.set = 1;
        d.subList = 1;
        d.typed = u"alp";
    } else {
        d.set = 2;
        d.typed = u"HIP 32349";
    }
    d.DoModal(nullptr);
    return 0;
}

// The processor time of this process so far (user and kernel), ms: on a
// busy machine it shows the work apart from the waiting.
double CpuMs() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    auto ms = [](const FILETIME& f) { return ((uint64_t(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0; };
    return ms(kernel) + ms(user);
}

double Ms(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

int RunBench() {
    using Clock = std::chrono::steady_clock;
    using namespace UI::AstroObjChooseInternals;
    std::printf("stars.dat: %s\n", PL::ToUtf8(Data::StarFilePath()).c_str());
    ChooseSet& stars = ChooseSetAt(1);
    // The largest list is the Flamsteed list; its first use builds its match texts.
    auto t0 = Clock::now();
    int n = stars.Filter(2, u"");
    std::printf("stars set, Flamsteed list, first filter (builds the list): %d rows, %.2f ms\n", n, Ms(Clock::now() - t0));
    const char16_t* typed[] = {u"a", u"al", u"alp", u"alph", u"ori", u"u", u"1", u""};
    double worst = 0;
    for (const char16_t* text : typed) {
        for (int sub = 0; sub < 3; ++sub) {
            const int reps = 20;
            auto t = Clock::now();
            for (int i = 0; i < reps; ++i) n = stars.Filter(sub, text);
            const double ms = Ms(Clock::now() - t) / reps;
            worst = std::max(worst, ms);
            if (sub == 2) std::printf("  filter \"%s\" in the Flamsteed list: %d rows, %.3f ms\n", PL::ToUtf8(text).c_str(), n, ms);
        }
    }
    std::printf("stars set, worst filter call: %.3f ms (goal 20 ms)\n", worst);
    ChooseSet& number = ChooseSetAt(2);
    for (const char16_t* text : {u"HR 2491", u"HIP 32349", u"HIP 120416", u"TYC 5949-2777-1", u"TYC 4-5-1"}) {
        auto t = Clock::now();
        n = number.Filter(0, text);
        std::printf("  number search \"%s\": %d, %.3f ms\n", PL::ToUtf8(text).c_str(), n, Ms(Clock::now() - t));
    }

    // The info dialog for the Moon: its whole opening, the page written
    // and laid out, the Moon picture and the phase lists included.
    SetMoment(2026, 3, 24, 20, 0);
    struct Timed : UI::ObjInfoDialog {
        using UI::ObjInfoDialog::ObjInfoDialog;
        Clock::time_point opened;
        void OnCreate() override {
            UI::ObjInfoDialog::OnCreate();
            opened = Clock::now();
            End(IDOK);
        }
    };
    double first = 0, sum = 0;
    const int runs = 10;
    const double cpu0 = CpuMs();
    for (int i = 0; i < runs; ++i) {
        Timed d(Data::AstroObjRef(Data::kObjBody, 1));
        auto t = Clock::now();
        d.DoModal(nullptr);
        const double ms = Ms(d.opened - t);
        if (i == 0) first = ms;
        sum += ms;
    }
    const double cpu = (CpuMs() - cpu0) / runs;
    std::printf("info dialog for the Moon: first opening %.2f ms, mean of %d openings %.2f ms (goal 30 ms)\n", first,
                runs, sum / runs);
    std::printf("  processor time per opening and closing (this process): %.2f ms\n", cpu);
    // The rewrite of a clock tick.
    {
        struct Rewrites : UI::ObjInfoDialog {
            using UI::ObjInfoDialog::ObjInfoDialog;
            double ms = 0;
            void OnCreate() override {
                UI::ObjInfoDialog::OnCreate();
                auto t = Clock::now();
                for (int i = 0; i < 10; ++i) Rewrite();
                ms = Ms(Clock::now() - t) / 10;
                End(IDOK);
            }
        } d(Data::AstroObjRef(Data::kObjBody, 1));
        d.DoModal(nullptr);
        std::printf("info dialog for the Moon: one rewrite %.2f ms\n", d.ms);
    }
    return 0;
}

}  // namespace

extern "C" int wmain(int argc, WCHAR** argv) {
    static PL::Win32Platform platform;
    PL::SetCurrent(&platform);
    InitCommonControls();
    Data::LoadStarResources();
    Data::SetStarFilePath(u"Z:" + PL::FromUtf8(CELVANE_STARS_DAT));
    const std::u16string data = u"Z:" + PL::FromUtf8(CELVANE_OBJECT_FILES_DIR);
    Data::ObjectFileManagerBase::SetFolders(data, data);
    Data::UserObjectFiles().Load(u"Messier", false);
    Data::CometFiles().Load(u"Comets", false);
    bool bench = false;
    for (int i = 1; i < argc; ++i) {
        const std::u16string a = U16(argv[i]);
        if (a == u"--bench") bench = true;
        else if (a == u"--shot" && i + 1 < argc) g_shot = U16(argv[++i]);
        else if (a == u"--ready-file" && i + 1 < argc) {
            g_ready = U16(argv[++i]);
            if (!g_ready.empty() && g_ready[0] == u'/') g_ready = u"Z:" + g_ready;
        }
        else if (a == u"--exit-after" && i + 1 < argc) g_exitAfter = std::stoi(PL::ToUtf8(U16(argv[++i])));
    }
    const int rc = bench ? RunBench() : RunShot();
    std::fflush(stdout);
    ExitProcess(static_cast<UINT>(rc));
}
