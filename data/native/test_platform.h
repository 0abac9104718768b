// A settable platform for tests: every value that is set replaces the real
// one of the native implementation; the rest (files, folders) stay real.
#pragma once

#include "data/native/posix_platform.h"

#include <optional>

namespace PL {

class TestPlatform : public PosixPlatform {
public:
    using PosixPlatform::PosixPlatform;

    std::optional<SystemTime> utc;
    std::optional<std::pair<TimeZoneStatus, TimeZoneInfo>> zone;
    std::optional<uint16_t> language;
    std::optional<std::u16string> shortDatePattern;
    std::optional<std::u16string> timePattern;
    std::optional<std::u16string> programFolder;
    std::optional<std::u16string> appDataFolder;

    SystemTime UtcNow() override { return utc ? *utc : PosixPlatform::UtcNow(); }
    TimeZoneStatus TimeZone(TimeZoneInfo& out) override {
        if (!zone) return PosixPlatform::TimeZone(out);
        out = zone->second;
        return zone->first;
    }
    uint16_t UserLanguage() override { return language ? *language : PosixPlatform::UserLanguage(); }
    std::u16string ShortDatePattern() override {
        return shortDatePattern ? *shortDatePattern : PosixPlatform::ShortDatePattern();
    }
    std::u16string TimePattern() override { return timePattern ? *timePattern : PosixPlatform::TimePattern(); }
    std::u16string ProgramFolder() override { return programFolder ? *programFolder : PosixPlatform::ProgramFolder(); }
    std::u16string AppDataFolder() override { return appDataFolder ? *appDataFolder : PosixPlatform::AppDataFolder(); }
};

// Installs a platform for the life of a scope and puts the previous one back.
class ScopedPlatform {
public:
    explicit ScopedPlatform(Platform& p) : previous_(SetCurrent(&p)) {}
    ~ScopedPlatform() { SetCurrent(previous_); }
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
    Platform* previous_;
};

}  // namespace PL
