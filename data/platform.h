// The platform layer: the only door from the portable core to the operating
// system. The core asks PL::Current() for the clock, the time-zone record, the
// user's language, locale texts, files and resources; the Win32 build installs
// an implementation that makes the real calls, the native build one made of
// POSIX calls (data/native) or a settable test double.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace PL {

// Field for field the Win32 SYSTEMTIME, so that time-zone rules travel unchanged.
struct SystemTime {
    uint16_t year = 0;
    uint16_t month = 0;      // 1..12; 0 in a time-zone rule means "no rule"
    uint16_t dayOfWeek = 0;  // 0 = Sunday
    uint16_t day = 0;        // day of month; in a weekday rule the week 1..5
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;
};

// Field for field the Win32 TIME_ZONE_INFORMATION (names left out).
// Biases are minutes, UTC = local + bias.
struct TimeZoneInfo {
    int32_t bias = 0;
    SystemTime standardDate;
    int32_t standardBias = 0;
    SystemTime daylightDate;
    int32_t daylightBias = 0;
};

// Result of the time-zone query, as GetTimeZoneInformation reports it.
enum class TimeZoneStatus {
    Failed,    // TIME_ZONE_ID_INVALID: no usable record
    Unknown,   // TIME_ZONE_ID_UNKNOWN: a record, but no summer-time state (e.g. no rules)
    Standard,  // TIME_ZONE_ID_STANDARD
    Daylight   // TIME_ZONE_ID_DAYLIGHT
};

// One entry of a folder listing.
struct FileEntry {
    std::u16string name;  // file name without folder
    bool isFolder = false;
};

class Platform {
public:
    virtual ~Platform();

    // --- clock, zone, language -------------------------------------------
    virtual SystemTime UtcNow() = 0;
    virtual TimeZoneStatus TimeZone(TimeZoneInfo& out) = 0;
    virtual uint16_t UserLanguage() = 0;

    // --- locale date and time texts ----------------------------------------
    // The short-date and time picture strings of the user's locale
    // (LOCALE_SSHORTDATE, LOCALE_STIMEFORMAT).
    virtual std::u16string ShortDatePattern() = 0;
    virtual std::u16string TimePattern() = 0;
    // A date or time formatted with a picture string (GetDateFormatW /
    // GetTimeFormatW semantics).
    virtual std::u16string FormatDate(const SystemTime& t, const std::u16string& pattern) = 0;
    virtual std::u16string FormatTime(const SystemTime& t, const std::u16string& pattern) = 0;

    // --- files ----------------------------------------------------------------
    // fopen with a UTF-16 path; nullptr on failure.
    virtual std::FILE* OpenFile(const std::u16string& path, const char* mode) = 0;
    virtual bool FileExists(const std::u16string& path) = 0;
    virtual bool FolderExists(const std::u16string& path) = 0;
    virtual bool DeleteFile(const std::u16string& path) = 0;
    // Fails when the target exists (MoveFileW semantics).
    virtual bool MoveFile(const std::u16string& from, const std::u16string& to) = 0;
    // Moves `from` to `to` and replaces an existing `to` in one step, so that
    // at no moment is there no `to` (MoveFileExW with
    // MOVEFILE_REPLACE_EXISTING; rename on POSIX). Both in one folder.
    virtual bool ReplaceFile(const std::u16string& from, const std::u16string& to) = 0;
    virtual bool CreateFolder(const std::u16string& path) = 0;
    // Entries of a folder whose names match a pattern with "*" and "?" wild
    // cards, compared without regard to letter case.
    virtual std::vector<FileEntry> ListFolder(const std::u16string& folder,
                                              const std::u16string& pattern) = 0;
    // The folder separator of the platform ('\\' on Windows, '/' natively).
    virtual char16_t PathSeparator() = 0;
    // The folder holding the program, and the user's application-data folder.
    virtual std::u16string ProgramFolder() = 0;
    virtual std::u16string AppDataFolder() = 0;

    // --- resources --------------------------------------------------------------
    // A named binary resource of the program (type RCDATA unless given);
    // the bytes stay valid for the life of the program. False when missing.
    virtual bool Resource(const std::u16string& name, const uint8_t*& data, size_t& size) = 0;

    // --- removable storage -------------------------------------------------------
    // The roots of the removable drives now present (storage cards of a
    // handheld; on a desktop the removable drives, "E:\\", or the mounted
    // removable media), each ending with the separator. None by default.
    virtual std::vector<std::u16string> StorageCards();
};

// The installed platform. Something must have been installed (by the
// program's start-up, or by a test) before the core asks.
Platform& Current();
// Installs p (not owned) and returns the previous one; nullptr uninstalls.
Platform* SetCurrent(Platform* p);

// Convenience forwarding used all over the core.
inline SystemTime UtcNow() { return Current().UtcNow(); }
inline TimeZoneStatus TimeZone(TimeZoneInfo& out) { return Current().TimeZone(out); }
inline uint16_t UserLanguage() { return Current().UserLanguage(); }

// Text conversions used at the edges of the core (file names, command lines).
std::string ToUtf8(const std::u16string& s);
std::u16string FromUtf8(const std::string& s);
// The UTF-8 sequence at the front of p (n bytes there): its length (1 to 4),
// with the character in c, or 0 when it is not well-formed (a stray or
// missing continuation byte, a sequence cut short, an overlong form, a
// surrogate, a value beyond U+10FFFF).
size_t DecodeUtf8(const unsigned char* p, size_t n, uint32_t& c);

}  // namespace PL
