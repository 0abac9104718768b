// A settable platform for tests: every value that is set replaces the real
// one of the native implementation; the rest (files, folders) stay real.
#pragma once

#include "data/native/posix_platform.h"

#include <cstdio>
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

    // A full disk, part-way: a file opened for writing or appending whose
    // path ends with `writeLimitSuffix` takes `writeLimit` bytes, then every
    // write fails.
    std::optional<size_t> writeLimit;
    std::u16string writeLimitSuffix;
    // Replacing a file fails (a locked target).
    bool failReplace = false;

    std::FILE* OpenFile(const std::u16string& path, const char* mode) override {
        std::FILE* f = PosixPlatform::OpenFile(path, mode);
        const bool writing = mode && (mode[0] == 'w' || mode[0] == 'a');
        if (!f || !writing || !writeLimit || path.size() < writeLimitSuffix.size() ||
            path.compare(path.size() - writeLimitSuffix.size(), writeLimitSuffix.size(), writeLimitSuffix) != 0)
            return f;
        return LimitedWriter(f, *writeLimit);
    }
    bool ReplaceFile(const std::u16string& from, const std::u16string& to) override {
        return !failReplace && PosixPlatform::ReplaceFile(from, to);
    }

private:
    struct Budget {
        std::FILE* file;
        size_t left;
    };
    static std::FILE* LimitedWriter(std::FILE* f, size_t limit) {
        cookie_io_functions_t io{};
        io.write = [](void* c, const char* buf, size_t n) -> ssize_t {
            Budget* b = static_cast<Budget*>(c);
            const size_t take = n < b->left ? n : b->left;
            const size_t put = std::fwrite(buf, 1, take, b->file);
            b->left -= put;
            if (put < n) return -1;
            return static_cast<ssize_t>(put);
        };
        io.close = [](void* c) -> int {
            Budget* b = static_cast<Budget*>(c);
            const int r = std::fclose(b->file);
            delete b;
            return r;
        };
        Budget* b = new Budget{f, limit};
        std::FILE* g = fopencookie(b, "w", io);
        if (!g) {
            std::fclose(f);
            delete b;
        }
        return g;
    }
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
