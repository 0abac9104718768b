// The Win32 implementation of the platform layer: the real system calls
// (clock, zone, locale, files, folders, resources of the program's module).
// Installed by the Win32 programs at start-up with PL::SetCurrent.
#pragma once

#include "data/platform.h"

namespace PL {

class Win32Platform : public Platform {
public:
    SystemTime UtcNow() override;
    TimeZoneStatus TimeZone(TimeZoneInfo& out) override;
    uint16_t UserLanguage() override;

    std::u16string ShortDatePattern() override;
    std::u16string TimePattern() override;
    // Empty when the API refuses (a date outside 1601..30827, an invalid
    // field, a broken picture).
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
    char16_t PathSeparator() override { return u'\\'; }
    std::u16string ProgramFolder() override;
    std::u16string AppDataFolder() override;

    bool Resource(const std::u16string& name, const uint8_t*& data, size_t& size) override;
    // The removable drives (GetLogicalDrives + GetDriveTypeW), "E:\\".
    std::vector<std::u16string> StorageCards() override;
};

}  // namespace PL
