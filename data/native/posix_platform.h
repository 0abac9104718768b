// The native implementation of the platform layer: POSIX calls for the
// clock, the zone, files and folders; resources are files of a folder.
#pragma once

#include "data/platform.h"

#include <map>
#include <optional>

namespace PL {

class PosixPlatform : public Platform {
public:
    // resourceFolder: where named resources are looked up as files (the
    // build's resource output); empty means "<program folder>/resources".
    explicit PosixPlatform(std::u16string resourceFolder = u"");

    SystemTime UtcNow() override;
    TimeZoneStatus TimeZone(TimeZoneInfo& out) override;
    uint16_t UserLanguage() override;

    std::u16string ShortDatePattern() override;
    std::u16string TimePattern() override;
    std::u16string FormatDate(const SystemTime& t, const std::u16string& pattern) override;
    std::u16string FormatTime(const SystemTime& t, const std::u16string& pattern) override;

    std::FILE* OpenFile(const std::u16string& path, const char* mode) override;
    bool FileExists(const std::u16string& path) override;
    bool FolderExists(const std::u16string& path) override;
    bool DeleteFile(const std::u16string& path) override;
    bool MoveFile(const std::u16string& from, const std::u16string& to) override;
    bool ReplaceFile(const std::u16string& from, const std::u16string& to) override;
    bool CreateFolder(const std::u16string& path) override;
    std::vector<FileEntry> ListFolder(const std::u16string& folder,
                                      const std::u16string& pattern) override;
    char16_t PathSeparator() override { return u'/'; }
    std::u16string ProgramFolder() override;
    std::u16string AppDataFolder() override;

    bool Resource(const std::u16string& name, const uint8_t*& data, size_t& size) override;
    // The folders of /media/<user> and /run/media/<user>, where desktops
    // mount removable media.
    std::vector<std::u16string> StorageCards() override;

    // The zone record of the process's time zone (TZ / /etc/localtime) for
    // the year of the moment `utcSeconds`, in the Win32 form: the summer-time
    // transitions are found in the zone database and written as weekday rules.
    static TimeZoneStatus ZoneRecordAt(int64_t utcSeconds, TimeZoneInfo& out);

private:
    std::u16string resourceFolder_;
    std::map<std::u16string, std::vector<uint8_t>> resources_;  // keyed by lower-case name

    // The zone record of one year and zone: deriving it scans the year, and
    // event searches in device-zone mode ask for it many times.
    struct ZoneCache {
        bool valid = false;
        std::string zone;  // the TZ setting it was made for
        int year = 0;
        TimeZoneStatus status = TimeZoneStatus::Failed;
        TimeZoneInfo info;
    } zoneCache_;
};

// Wild-card match ("*", "?") without regard to ASCII letter case, as the
// Windows file functions compare names.
bool WildcardMatch(const std::u16string& name, const std::u16string& pattern);

// The picture-string language of GetDateFormatW and GetTimeFormatW, with
// English or German day, month, era and AM/PM texts (other languages get
// the English ones). Date pictures know d, dd (day), ddd, dddd (weekday
// name), M, MM, MMM, MMMM (month; MMM after a day number takes the
// language's form for dates, German "Jan."), y, yy (two-digit year), yyy and longer
// (the full year) and g (era); time pictures h, hh (12-hour clock), H, HH,
// m, mm, s, ss, t, tt (AM/PM). Runs longer than those act as the longest
// form. Every other character is copied; text in single quotes is copied
// without the quotes, two quotes inside quoted text give one quote.
// Letters of the other kind are copied as text, as the Win32 functions do.
// The weekday comes from the date, not from t.dayOfWeek.
// TimeNoSeconds leaves the seconds out as TIME_NOSECONDS does: the text
// between the previous field and the seconds goes, and after the seconds
// only blanks are kept up to the next field.
enum class PictureKind { Date, Time, TimeNoSeconds };
std::u16string FormatPicture(const SystemTime& t, const std::u16string& pattern, uint16_t language,
                             PictureKind kind);
// The dates and times the Win32 functions accept: a Gregorian date of the
// years 1601..30827; a time with hour < 24, minute and second < 60,
// milliseconds < 1000.
bool ValidPictureDate(const SystemTime& t);
bool ValidPictureTime(const SystemTime& t);

}  // namespace PL
