#include "data/native/posix_platform.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace PL {

namespace {

std::string Narrow(const std::u16string& s) { return ToUtf8(s); }

SystemTime FromTm(const std::tm& tm, int ms) {
    SystemTime t;
    t.year = static_cast<uint16_t>(tm.tm_year + 1900);
    t.month = static_cast<uint16_t>(tm.tm_mon + 1);
    t.dayOfWeek = static_cast<uint16_t>(tm.tm_wday);
    t.day = static_cast<uint16_t>(tm.tm_mday);
    t.hour = static_cast<uint16_t>(tm.tm_hour);
    t.minute = static_cast<uint16_t>(tm.tm_min);
    t.second = static_cast<uint16_t>(tm.tm_sec);
    t.milliseconds = static_cast<uint16_t>(ms);
    return t;
}

struct LocalState {
    long gmtoff;
    bool dst;
};

LocalState StateAt(int64_t utc) {
    time_t tt = static_cast<time_t>(utc);
    std::tm tm{};
    localtime_r(&tt, &tm);
    return {tm.tm_gmtoff, tm.tm_isdst > 0};
}

bool SameState(const LocalState& a, const LocalState& b) { return a.gmtoff == b.gmtoff && a.dst == b.dst; }

// The first second in (lo, hi] whose state differs from that at lo.
int64_t FindChange(int64_t lo, int64_t hi) {
    const LocalState s0 = StateAt(lo);
    while (hi - lo > 1) {
        int64_t mid = lo + (hi - lo) / 2;
        if (SameState(StateAt(mid), s0)) lo = mid; else hi = mid;
    }
    return hi;
}

int DaysInMonth(int year, int month) {
    static const int d[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2) {
        bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? 29 : 28;
    }
    return d[month - 1];
}

// A transition moment, given as local clock time (UTC + offset), written as
// a Windows weekday rule: the n-th (or last) weekday of the month.
SystemTime WeekdayRule(int64_t localSeconds) {
    time_t tt = static_cast<time_t>(localSeconds);
    std::tm tm{};
    gmtime_r(&tt, &tm);
    SystemTime r = FromTm(tm, 0);
    int week = (tm.tm_mday - 1) / 7 + 1;
    if (tm.tm_mday + 7 > DaysInMonth(tm.tm_year + 1900, tm.tm_mon + 1)) week = 5;  // the last one
    r.year = 0;
    r.day = static_cast<uint16_t>(week);
    return r;
}

std::string LocaleName() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v) return v;
    }
    return "";
}

}  // namespace

PosixPlatform::PosixPlatform(std::u16string resourceFolder) : resourceFolder_(std::move(resourceFolder)) {}

SystemTime PosixPlatform::UtcNow() {
    struct timeval tv {};
    gettimeofday(&tv, nullptr);
    time_t tt = tv.tv_sec;
    std::tm tm{};
    gmtime_r(&tt, &tm);
    return FromTm(tm, static_cast<int>(tv.tv_usec / 1000));
}

TimeZoneStatus PosixPlatform::ZoneRecordAt(int64_t utc, TimeZoneInfo& out) {
    tzset();
    out = TimeZoneInfo{};
    time_t tt = static_cast<time_t>(utc);
    std::tm now{};
    if (!localtime_r(&tt, &now)) return TimeZoneStatus::Failed;

    // The year's transitions, day by day, then to the second.
    std::tm jan{};
    jan.tm_year = now.tm_year;
    jan.tm_mon = 0;
    jan.tm_mday = 1;
    const int64_t yearStart = static_cast<int64_t>(timegm(&jan)) - 14 * 3600;
    jan.tm_year += 1;
    const int64_t yearEnd = static_cast<int64_t>(timegm(&jan)) + 14 * 3600;

    bool haveStart = false, haveEnd = false;
    int64_t start = 0, end = 0;
    long stdOff = 0, dstOff = 0;
    bool haveStd = false, haveDst = false;
    LocalState prev = StateAt(yearStart);
    (prev.dst ? haveDst : haveStd) = true;
    (prev.dst ? dstOff : stdOff) = prev.gmtoff;
    for (int64_t t = yearStart; t < yearEnd; t += 86400) {
        int64_t next = t + 86400 < yearEnd ? t + 86400 : yearEnd;
        LocalState s = StateAt(next);
        if (SameState(s, prev)) continue;
        int64_t change = FindChange(t, next);
        LocalState after = StateAt(change);
        if (after.dst && !prev.dst && !haveStart) { start = change; haveStart = true; }
        if (!after.dst && prev.dst && !haveEnd) { end = change; haveEnd = true; }
        if (after.dst) { dstOff = after.gmtoff; haveDst = true; }
        else { stdOff = after.gmtoff; haveStd = true; }
        prev = StateAt(next);
    }

    if (!haveStd) stdOff = now.tm_isdst > 0 ? now.tm_gmtoff - 3600 : now.tm_gmtoff;
    out.bias = static_cast<int32_t>(-stdOff / 60);
    out.standardBias = 0;
    if (!(haveStart && haveEnd && haveDst)) {
        // No summer time this year: no rules, month 0.
        out.daylightBias = 0;
        return TimeZoneStatus::Unknown;
    }
    out.daylightBias = static_cast<int32_t>(-(dstOff - stdOff) / 60);
    // Summer time starts at a local standard-time moment and ends at a
    // local summer-time moment (the Windows convention).
    out.daylightDate = WeekdayRule(start + stdOff);
    out.standardDate = WeekdayRule(end + dstOff);
    return now.tm_isdst > 0 ? TimeZoneStatus::Daylight : TimeZoneStatus::Standard;
}

TimeZoneStatus PosixPlatform::TimeZone(TimeZoneInfo& out) {
    const time_t now = std::time(nullptr);
    tzset();
    std::tm local{};
    if (!localtime_r(&now, &local)) return TimeZoneStatus::Failed;
    const char* tz = std::getenv("TZ");
    const std::string zone = tz ? tz : "";
    if (!zoneCache_.valid || zoneCache_.zone != zone || zoneCache_.year != local.tm_year) {
        zoneCache_.status = ZoneRecordAt(static_cast<int64_t>(now), zoneCache_.info);
        zoneCache_.zone = zone;
        zoneCache_.year = local.tm_year;
        zoneCache_.valid = zoneCache_.status != TimeZoneStatus::Failed;
    }
    out = zoneCache_.info;
    if (zoneCache_.status == TimeZoneStatus::Standard || zoneCache_.status == TimeZoneStatus::Daylight)
        return local.tm_isdst > 0 ? TimeZoneStatus::Daylight : TimeZoneStatus::Standard;
    return zoneCache_.status;
}

uint16_t PosixPlatform::UserLanguage() {
    std::string loc = LocaleName();
    auto starts = [&](const char* p) { return loc.compare(0, std::strlen(p), p) == 0; };
    if (starts("de_AT")) return 0x0C07;
    if (starts("de_CH")) return 0x0807;
    if (starts("de")) return 0x0407;
    if (starts("fr_CA")) return 0x0C0C;
    if (starts("fr_CH")) return 0x100C;
    if (starts("fr")) return 0x040C;
    if (starts("en_GB")) return 0x0809;
    return 0x0409;
}

std::u16string PosixPlatform::ShortDatePattern() {
    uint16_t lang = UserLanguage();
    switch (lang & 0x3FF) {
        case 0x07: return u"dd.MM.yyyy";
        case 0x0C: return u"dd/MM/yyyy";
        default: return lang == 0x0809 ? u"dd/MM/yyyy" : u"M/d/yyyy";
    }
}

std::u16string PosixPlatform::TimePattern() {
    uint16_t lang = UserLanguage();
    if (lang == 0x0409) return u"h:mm:ss tt";
    return u"HH:mm:ss";
}

// As GetDateFormatW/GetTimeFormatW: a date before 1601 or an invalid date
// or time gives no text.
std::u16string PosixPlatform::FormatDate(const SystemTime& t, const std::u16string& pattern) {
    if (!ValidPictureDate(t)) return u"";
    return FormatPicture(t, pattern, UserLanguage(), PictureKind::Date);
}

std::u16string PosixPlatform::FormatTime(const SystemTime& t, const std::u16string& pattern) {
    if (!ValidPictureTime(t)) return u"";
    return FormatPicture(t, pattern, UserLanguage(), PictureKind::Time);
}

std::FILE* PosixPlatform::OpenFile(const std::u16string& path, const char* mode) {
    return std::fopen(Narrow(path).c_str(), mode);
}

bool PosixPlatform::FileExists(const std::u16string& path) {
    struct stat st {};
    return ::stat(Narrow(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PosixPlatform::FolderExists(const std::u16string& path) {
    struct stat st {};
    return ::stat(Narrow(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixPlatform::DeleteFile(const std::u16string& path) { return ::unlink(Narrow(path).c_str()) == 0; }

bool PosixPlatform::MoveFile(const std::u16string& from, const std::u16string& to) {
    struct stat st {};
    if (::lstat(Narrow(to).c_str(), &st) == 0) return false;  // MoveFileW never replaces
    return ::rename(Narrow(from).c_str(), Narrow(to).c_str()) == 0;
}

bool PosixPlatform::ReplaceFile(const std::u16string& from, const std::u16string& to) {
    return ::rename(Narrow(from).c_str(), Narrow(to).c_str()) == 0;
}

bool PosixPlatform::CreateFolder(const std::u16string& path) {
    return ::mkdir(Narrow(path).c_str(), 0777) == 0;
}

std::vector<FileEntry> PosixPlatform::ListFolder(const std::u16string& folder, const std::u16string& pattern) {
    std::vector<FileEntry> out;
    const std::u16string dir = folder.empty() ? u"." : folder;
    DIR* d = ::opendir(Narrow(dir).c_str());
    if (!d) return out;
    while (struct dirent* e = ::readdir(d)) {
        std::string n = e->d_name;
        if (n == "." || n == "..") continue;
        std::u16string name = FromUtf8(n);
        if (!WildcardMatch(name, pattern)) continue;
        FileEntry fe;
        fe.name = name;
        fe.isFolder = FolderExists(dir + u"/" + name);
        out.push_back(std::move(fe));
    }
    ::closedir(d);
    return out;
}

std::u16string PosixPlatform::ProgramFolder() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return u".";
    std::string p(buf, static_cast<size_t>(n));
    size_t slash = p.rfind('/');
    return FromUtf8(slash == std::string::npos ? std::string(".") : p.substr(0, slash));
}

std::u16string PosixPlatform::AppDataFolder() {
    if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) return FromUtf8(x);
    if (const char* h = std::getenv("HOME"); h && *h) return FromUtf8(std::string(h) + "/.local/share");
    return u".";
}

bool PosixPlatform::Resource(const std::u16string& name, const uint8_t*& data, size_t& size) {
    std::u16string key;
    for (char16_t c : name) key += (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    auto it = resources_.find(key);
    if (it == resources_.end()) {
        std::u16string folder = resourceFolder_.empty() ? ProgramFolder() + u"/resources" : resourceFolder_;
        // Resource names are compared without regard to case, as FindResourceW does.
        std::vector<FileEntry> hits = ListFolder(folder, name);
        if (hits.empty()) return false;
        std::FILE* f = OpenFile(folder + u"/" + hits.front().name, "rb");
        if (!f) return false;
        std::vector<uint8_t> bytes;
        uint8_t buf[65536];
        size_t got;
        while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + got);
        bool bad = std::ferror(f) != 0;
        std::fclose(f);
        if (bad) return false;
        it = resources_.emplace(key, std::move(bytes)).first;
    }
    data = it->second.data();
    size = it->second.size();
    return true;
}

bool WildcardMatch(const std::u16string& name, const std::u16string& pattern) {
    auto lower = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; };
    size_t n = 0, p = 0, starP = std::u16string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || lower(pattern[p]) == lower(name[n]))) {
            ++n; ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::u16string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

std::vector<std::u16string> PosixPlatform::StorageCards() {
    std::vector<std::u16string> roots;
    const char* user = std::getenv("USER");
    if (!user || !*user || std::strchr(user, '/')) return roots;
    for (const char* base : {"/media/", "/run/media/"}) {
        const std::u16string folder = FromUtf8(std::string(base) + user);
        for (const FileEntry& e : ListFolder(folder, u"*"))
            if (e.isFolder) roots.push_back(folder + u"/" + e.name + u"/");
    }
    return roots;
}

}  // namespace PL
