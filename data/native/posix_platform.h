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
    bool CreateFolder(const std::u16string& path) override;
    std::vector<FileEntry> ListFolder(const std::u16string& folder,
                                      const std::u16string& pattern) override;
    char16_t PathSeparator() override { return u'/'; }
    std::u16string ProgramFolder() override;
    std::u16string AppDataFolder() override;

    bool Resource(const std::u16string& name, const uint8_t*& data, size_t& size) override;

    // The zone record of the process's time zone (TZ / /etc/localtime) for
    // the year of the moment `utcSeconds`, in the Win32 form: the summer-time
    // transitions are found in the zone database and written as weekday rules.
    static TimeZoneStatus ZoneRecordAt(int64_t utcSeconds, TimeZoneInfo& out);

private:
    std::u16string resourceFolder_;
    std::map<std::u16string, std::vector<uint8_t>> resources_;  // keyed by lower-case name
};

// Wild-card match ("*", "?") without regard to ASCII letter case, as the
// Windows file functions compare names.
bool WildcardMatch(const std::u16string& name, const std::u16string& pattern);

// The picture-string language of GetDateFormatW/GetTimeFormatW (d, dd, ddd,
// dddd, M, MM, MMM, MMMM, y, yy, yyyy, h, hh, H, HH, m, mm, s, ss, t, tt, text
// in single quotes, '' for a quote), with English or German day and month names.
std::u16string FormatPicture(const SystemTime& t, const std::u16string& pattern, uint16_t language);

}  // namespace PL
