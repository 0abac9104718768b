#include "winlib/platform_win32.h"

#include "winlib/wstr.h"

#include <shlobj.h>

#include <cerrno>
#include <cstdio>

namespace PL {

namespace {

SystemTime FromWin(const SYSTEMTIME& s) {
    SystemTime t;
    t.year = s.wYear;
    t.month = s.wMonth;
    t.dayOfWeek = s.wDayOfWeek;
    t.day = s.wDay;
    t.hour = s.wHour;
    t.minute = s.wMinute;
    t.second = s.wSecond;
    t.milliseconds = s.wMilliseconds;
    return t;
}

SYSTEMTIME ToWin(const SystemTime& t) {
    SYSTEMTIME s{};
    s.wYear = t.year;
    s.wMonth = t.month;
    s.wDayOfWeek = t.dayOfWeek;
    s.wDay = t.day;
    s.wHour = t.hour;
    s.wMinute = t.minute;
    s.wSecond = t.second;
    s.wMilliseconds = t.milliseconds;
    return s;
}

// A locale text of the user's locale; empty when the locale has none.
std::u16string LocaleText(LCTYPE type) {
    int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, nullptr, 0);
    if (n <= 0) return std::u16string();
    std::u16string text(static_cast<size_t>(n), u'\0');
    n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, W(&text[0]), n);
    if (n <= 0) return std::u16string();
    text.resize(static_cast<size_t>(n - 1));  // n counts the terminating zero
    return text;
}

// GetDateFormatW and GetTimeFormatW share their calling convention.
template <typename Api>
std::u16string FormatWith(Api api, const SystemTime& t, const std::u16string& pattern) {
    const SYSTEMTIME st = ToWin(t);
    int n = api(LOCALE_USER_DEFAULT, 0, &st, W(pattern), nullptr, 0);
    if (n <= 0) return std::u16string();
    std::u16string text(static_cast<size_t>(n), u'\0');
    n = api(LOCALE_USER_DEFAULT, 0, &st, W(pattern), W(&text[0]), n);
    if (n <= 0) return std::u16string();
    text.resize(static_cast<size_t>(n - 1));
    return text;
}

#if defined(__GLIBC__)
// Winelib: the program's C library is glibc, and the core reads the returned
// FILE with glibc's fread. msvcrt's _wfopen would hand out a FILE of another C
// library, so the file is opened with CreateFileW (Windows paths and drive
// letters as on Windows) and the handle becomes a glibc stream.

// The stream functions report failures through errno.
void SetErrnoFromLastError() {
    switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            errno = ENOENT;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            errno = EACCES;
            break;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            errno = EEXIST;
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            errno = ENOSPC;
            break;
        default:
            errno = EIO;
            break;
    }
}

struct HandleStream {
    HANDLE handle;
    bool append;
};

ssize_t StreamRead(void* cookie, char* buf, size_t size) {
    auto* s = static_cast<HandleStream*>(cookie);
    const DWORD want = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD got = 0;
    if (!ReadFile(s->handle, buf, want, &got, nullptr)) {
        SetErrnoFromLastError();
        return -1;
    }
    return static_cast<ssize_t>(got);
}

ssize_t StreamWrite(void* cookie, const char* buf, size_t size) {
    auto* s = static_cast<HandleStream*>(cookie);
    if (s->append) {
        LARGE_INTEGER zero{};
        SetFilePointerEx(s->handle, zero, nullptr, FILE_END);
    }
    size_t done = 0;
    while (done < size) {
        const size_t left = size - done;
        const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD put = 0;
        if (!WriteFile(s->handle, buf + done, chunk, &put, nullptr) || put == 0) {
            SetErrnoFromLastError();
            break;
        }
        done += put;
    }
    return static_cast<ssize_t>(done);  // short count = error (fopencookie's contract)
}

int StreamSeek(void* cookie, off64_t* offset, int whence) {
    auto* s = static_cast<HandleStream*>(cookie);
    DWORD method;
    switch (whence) {
        case SEEK_SET: method = FILE_BEGIN; break;
        case SEEK_CUR: method = FILE_CURRENT; break;
        case SEEK_END: method = FILE_END; break;
        default: errno = EINVAL; return -1;
    }
    LARGE_INTEGER move;
    move.QuadPart = *offset;
    LARGE_INTEGER now;
    if (!SetFilePointerEx(s->handle, move, &now, method)) {
        SetErrnoFromLastError();
        return -1;
    }
    *offset = now.QuadPart;
    return 0;
}

int StreamClose(void* cookie) {
    auto* s = static_cast<HandleStream*>(cookie);
    const bool ok = CloseHandle(s->handle) != 0;
    delete s;
    return ok ? 0 : EOF;
}

std::FILE* OpenHandleStream(const std::u16string& path, const char* mode) {
    // fopen modes: r, w, a, each with + for both directions; x (with w) for
    // "must not exist"; b and t change nothing here (always binary).
    if (!mode || (mode[0] != 'r' && mode[0] != 'w' && mode[0] != 'a')) {
        errno = EINVAL;
        return nullptr;
    }
    bool plus = false, exclusive = false;
    for (const char* m = mode + 1; *m; ++m) {
        if (*m == '+') plus = true;
        else if (*m == 'x') exclusive = true;
    }
    DWORD access = 0, disposition = 0;
    const char* streamMode = nullptr;
    switch (mode[0]) {
        case 'r':
            access = plus ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
            disposition = OPEN_EXISTING;
            streamMode = plus ? "r+" : "r";
            break;
        case 'w':
            access = plus ? GENERIC_READ | GENERIC_WRITE : GENERIC_WRITE;
            disposition = exclusive ? CREATE_NEW : CREATE_ALWAYS;
            streamMode = plus ? "r+" : "w";
            break;
        default:  // 'a'
            access = plus ? GENERIC_READ | GENERIC_WRITE : GENERIC_WRITE;
            disposition = OPEN_ALWAYS;
            streamMode = plus ? "r+" : "w";
            break;
    }
    // Sharing as _wfopen grants it: others may read and write meanwhile.
    HANDLE h = CreateFileW(W(path), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        SetErrnoFromLastError();
        return nullptr;
    }
    const bool append = mode[0] == 'a';
    if (append) {
        LARGE_INTEGER zero{};
        SetFilePointerEx(h, zero, nullptr, FILE_END);
    }
    auto* cookie = new HandleStream{h, append};
    cookie_io_functions_t io{StreamRead, StreamWrite, StreamSeek, StreamClose};
    std::FILE* f = fopencookie(cookie, streamMode, io);
    if (!f) {
        CloseHandle(h);
        delete cookie;
    }
    return f;
}
#endif

// "*" and "?" matched against a whole name, upper-cased by the system's
// case mapping first.
bool NameMatches(std::u16string name, std::u16string pattern) {
    if (!name.empty()) CharUpperBuffW(W(&name[0]), static_cast<DWORD>(name.size()));
    if (!pattern.empty()) CharUpperBuffW(W(&pattern[0]), static_cast<DWORD>(pattern.size()));
    size_t n = 0, p = 0;
    size_t starAt = std::u16string::npos, resumeName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            resumeName = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starAt != std::u16string::npos) {
            // Let the last star swallow one more character and retry.
            p = starAt + 1;
            n = ++resumeName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

bool EndsWithSeparator(const std::u16string& path) {
    return !path.empty() && (path.back() == u'\\' || path.back() == u'/' || path.back() == u':');
}

}  // namespace

// --- clock, zone, language ---------------------------------------------------

SystemTime Win32Platform::UtcNow() {
    SYSTEMTIME st;
    GetSystemTime(&st);
    return FromWin(st);
}

TimeZoneStatus Win32Platform::TimeZone(TimeZoneInfo& out) {
    TIME_ZONE_INFORMATION tzi{};
    const DWORD id = GetTimeZoneInformation(&tzi);
    TimeZoneStatus status;
    switch (id) {
        case TIME_ZONE_ID_UNKNOWN: status = TimeZoneStatus::Unknown; break;
        case TIME_ZONE_ID_STANDARD: status = TimeZoneStatus::Standard; break;
        case TIME_ZONE_ID_DAYLIGHT: status = TimeZoneStatus::Daylight; break;
        default:  // TIME_ZONE_ID_INVALID
            out = TimeZoneInfo{};
            return TimeZoneStatus::Failed;
    }
    out.bias = tzi.Bias;
    out.standardDate = FromWin(tzi.StandardDate);
    out.standardBias = tzi.StandardBias;
    out.daylightDate = FromWin(tzi.DaylightDate);
    out.daylightBias = tzi.DaylightBias;
    return status;
}

uint16_t Win32Platform::UserLanguage() { return GetUserDefaultLangID(); }

// --- locale texts ------------------------------------------------------------

std::u16string Win32Platform::ShortDatePattern() {
    std::u16string p = LocaleText(LOCALE_SSHORTDATE);
    // A locale always has one; should the call fail, an unambiguous picture
    // keeps dates readable.
    return p.empty() ? std::u16string(u"yyyy-MM-dd") : p;
}

std::u16string Win32Platform::TimePattern() {
    std::u16string p = LocaleText(LOCALE_STIMEFORMAT);
    return p.empty() ? std::u16string(u"HH:mm:ss") : p;
}

std::u16string Win32Platform::FormatDate(const SystemTime& t, const std::u16string& pattern) {
    return FormatWith(GetDateFormatW, t, pattern);
}

std::u16string Win32Platform::FormatTime(const SystemTime& t, const std::u16string& pattern) {
    return FormatWith(GetTimeFormatW, t, pattern);
}

// --- files -------------------------------------------------------------------

std::FILE* Win32Platform::OpenFile(const std::u16string& path, const char* mode) {
#if defined(__GLIBC__)
    return OpenHandleStream(path, mode);
#else
    std::u16string wideMode;
    for (const char* m = mode; m && *m; ++m) wideMode += static_cast<char16_t>(static_cast<unsigned char>(*m));
    return _wfopen(W(path), W(wideMode));
#endif
}

bool Win32Platform::FileExists(const std::u16string& path) {
    const DWORD a = GetFileAttributesW(W(path));
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Platform::FolderExists(const std::u16string& path) {
    const DWORD a = GetFileAttributesW(W(path));
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Platform::DeleteFile(const std::u16string& path) { return DeleteFileW(W(path)) != 0; }

bool Win32Platform::MoveFile(const std::u16string& from, const std::u16string& to) {
    return MoveFileW(W(from), W(to)) != 0;
}

bool Win32Platform::ReplaceFile(const std::u16string& from, const std::u16string& to) {
    return MoveFileExW(W(from), W(to), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool Win32Platform::CreateFolder(const std::u16string& path) { return CreateDirectoryW(W(path), nullptr) != 0; }

std::vector<FileEntry> Win32Platform::ListFolder(const std::u16string& folder, const std::u16string& pattern) {
    std::vector<FileEntry> out;
    const std::u16string wanted = pattern.empty() ? std::u16string(u"*") : pattern;
    std::u16string search = folder;
    if (!search.empty() && !EndsWithSeparator(search)) search += u'\\';
    search += wanted;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(W(search), &fd);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        std::u16string name = U16(fd.cFileName);
        if (name == u"." || name == u"..") continue;
        // The system also matches the 8.3 short names ("*.cfg" finds
        // "x.cfg~" through "XCFG~1.CFG"); only the real name counts.
        if (!NameMatches(name, wanted)) continue;
        FileEntry e;
        e.name = std::move(name);
        e.isFolder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        out.push_back(std::move(e));
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return out;
}

std::u16string Win32Platform::ProgramFolder() {
    std::u16string path(MAX_PATH, u'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, W(&path[0]), static_cast<DWORD>(path.size()));
        if (n == 0) return u".";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        if (path.size() >= 32768) return u".";  // longer than any Windows path
        path.resize(path.size() * 2);           // truncated: try a larger buffer
    }
    const size_t cut = path.find_last_of(u"\\/");
    return cut == std::u16string::npos ? std::u16string(u".") : path.substr(0, cut);
}

std::u16string Win32Platform::AppDataFolder() {
    WCHAR buf[MAX_PATH] = {};
    if (SHGetSpecialFolderPathW(nullptr, buf, CSIDL_APPDATA, FALSE)) return U16(buf);
    // No profile folder: keep the data beside the program.
    return ProgramFolder();
}

// --- resources ---------------------------------------------------------------

bool Win32Platform::Resource(const std::u16string& name, const uint8_t*& data, size_t& size) {
    if (name.empty()) return false;
    HRSRC info = FindResourceW(nullptr, W(name), RT_RCDATA);
    if (!info) return false;
    HGLOBAL loaded = LoadResource(nullptr, info);
    if (!loaded) return false;
    const void* bytes = LockResource(loaded);
    if (!bytes) return false;
    // Resource memory belongs to the module and stays mapped while it runs.
    data = static_cast<const uint8_t*>(bytes);
    size = SizeofResource(nullptr, info);
    return true;
}

// --- removable storage -------------------------------------------------------

std::vector<std::u16string> Win32Platform::StorageCards() {
    std::vector<std::u16string> roots;
    const DWORD drives = GetLogicalDrives();
    for (int d = 0; d < 26; ++d) {
        if (!(drives & (1u << d))) continue;
        std::u16string root{static_cast<char16_t>(u'A' + d), u':', u'\\'};
        if (GetDriveTypeW(W(root)) == DRIVE_REMOVABLE) roots.push_back(root);
    }
    return roots;
}

}  // namespace PL
