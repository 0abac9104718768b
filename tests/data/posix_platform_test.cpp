// The native platform layer: the zone record it derives from the zone
// database, and the file and resource services the core relies on.
#include "data/native/posix_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <tuple>

#include <unistd.h>

#include "data/native/test_platform.h"
#include "engine/astrotime.h"

using PL::PosixPlatform;
using PL::TimeZoneInfo;
using PL::TimeZoneStatus;

namespace {

class ZoneScope {
public:
    explicit ZoneScope(const char* tz) {
        const char* old = std::getenv("TZ");
        had_ = old != nullptr;
        if (had_) old_ = old;
        setenv("TZ", tz, 1);
        tzset();
    }
    ~ZoneScope() {
        if (had_) setenv("TZ", old_.c_str(), 1); else unsetenv("TZ");
        tzset();
    }

private:
    bool had_ = false;
    std::string old_;
};

int64_t Utc(int y, int m, int d) {
    Calc::AstroTime t = Calc::FromCalendar(y, m, d, 12, 0, 0);
    return (static_cast<int64_t>(t.day) - 40587) * 86400 + t.seconds;  // MJD 40587 = 1970-01-01
}

std::u16string TempFolder() {
    char tmpl[] = "/tmp/celvane-pl-XXXXXX";
    return PL::FromUtf8(mkdtemp(tmpl));
}

// A file written through the platform.
bool WriteFile(PosixPlatform& p, const std::u16string& path, const std::string& bytes) {
    std::FILE* f = p.OpenFile(path, "wb");
    if (!f) return false;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    return std::fclose(f) == 0;
}

}  // namespace

TEST(PosixPlatform, ZoneRecordsOfTheZoneDatabase) {
    // Berlin: last Sunday of March, 02:00 standard time, to last Sunday of
    // October, 03:00 summer time. Sydney: first Sunday of October to first
    // Sunday of April. Tokyo: no summer time.
    const struct {
        const char* zone;
        int month;  // of the moment asked about
        TimeZoneStatus status;
        int bias, dstMonth, dstDay, dstHour, stdMonth, stdDay, stdHour;
    } cases[] = {{"Europe/Berlin", 7, TimeZoneStatus::Daylight, -60, 3, 5, 2, 10, 5, 3},
                 {"Australia/Sydney", 1, TimeZoneStatus::Daylight, -600, 10, 1, 2, 4, 1, 3},
                 {"Asia/Tokyo", 7, TimeZoneStatus::Unknown, -540, 0, 0, 0, 0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone);
        ZoneScope zone(c.zone);
        TimeZoneInfo tz;
        EXPECT_EQ(PosixPlatform::ZoneRecordAt(Utc(2024, c.month, 10), tz), c.status);
        EXPECT_EQ(std::make_tuple(tz.bias, tz.standardBias, tz.daylightBias),
                  std::make_tuple(c.bias, 0, c.dstMonth ? -60 : tz.daylightBias));
        EXPECT_EQ(std::make_tuple(tz.daylightDate.month, tz.daylightDate.dayOfWeek, tz.daylightDate.day,
                                  tz.daylightDate.hour, tz.standardDate.month, tz.standardDate.day, tz.standardDate.hour),
                  std::make_tuple(c.dstMonth, 0, c.dstDay, c.dstHour, c.stdMonth, c.stdDay, c.stdHour));
    }
}

TEST(PosixPlatform, CurrentZoneFollowsTheZoneSetting) {
    PosixPlatform p;
    TimeZoneInfo tz;
    {
        ZoneScope zone("Asia/Tokyo");
        EXPECT_EQ(p.TimeZone(tz), TimeZoneStatus::Unknown);
        EXPECT_EQ(tz.bias, -540);
    }
    // A changed zone is not answered from the cache of the old one.
    ZoneScope zone("America/New_York");
    p.TimeZone(tz);
    EXPECT_EQ(tz.bias, 300);
}

TEST(PosixPlatform, FilesAndFolders) {
    PosixPlatform p;
    std::u16string dir = TempFolder();
    ASSERT_TRUE(p.FolderExists(dir));
    std::u16string sub = dir + u"/Sterne äö";
    ASSERT_TRUE(p.CreateFolder(sub));
    ASSERT_TRUE(WriteFile(p, sub + u"/Messier.PUO", "x"));
    ASSERT_TRUE(WriteFile(p, sub + u"/comets.pco", ""));
    // Moving never replaces an existing file.
    EXPECT_FALSE(p.MoveFile(sub + u"/comets.pco", sub + u"/Messier.PUO"));
    EXPECT_TRUE(p.MoveFile(sub + u"/comets.pco", sub + u"/Comets.pco"));
    std::system(("rm -rf '" + PL::ToUtf8(dir) + "'").c_str());
}
TEST(PosixPlatform, WildcardsAndUtf8) {
    EXPECT_TRUE(PL::WildcardMatch(u"a.b.c", u"a*c"));
    EXPECT_FALSE(PL::WildcardMatch(u"places.dat.tmp", u"*.dat"));

    const std::u16string text = u"Zürich \u00b0 \U0001F52D";
    EXPECT_EQ(PL::FromUtf8(PL::ToUtf8(text)), text);
    EXPECT_EQ(PL::FromUtf8("\xE2\x82"), u"");            // cut at the end
    EXPECT_EQ(PL::ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");  // lone surrogate
    // Byte sequences that are no character are dropped like the others: an
    // overlong NUL (it would cut a file name short), an encoded surrogate,
    // and a value beyond U+10FFFF.
    EXPECT_EQ(PL::FromUtf8("a\xC0\x80" "b"), u"ab");
    EXPECT_EQ(PL::FromUtf8("a\xE0\x80\xAF" "b"), u"ab");
    EXPECT_EQ(PL::FromUtf8("a\xED\xA0\x80" "b"), u"ab");
    EXPECT_EQ(PL::FromUtf8("a\xF7\xBF\xBF\xBF" "b"), u"ab");
    EXPECT_EQ(PL::FromUtf8("\xF4\x8F\xBF\xBF"), u"\U0010FFFF");
}

TEST(PosixPlatform, ListingTheWorkingFolderTellsFilesFromFolders) {
    // An empty folder name lists the working folder; the entries must be
    // looked at there too, not beside the root. A file named "tmp" is no
    // folder, whatever /tmp is.
    PosixPlatform p;
    std::u16string dir = TempFolder();
    ASSERT_TRUE(WriteFile(p, dir + u"/tmp", ""));
    ASSERT_TRUE(p.CreateFolder(dir + u"/Comets"));
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(PL::ToUtf8(dir).c_str()), 0);
    auto file = p.ListFolder(u"", u"tmp");
    auto folder = p.ListFolder(u"", u"comets");
    ASSERT_EQ(chdir(old), 0);
    std::system(("rm -rf '" + PL::ToUtf8(dir) + "'").c_str());
    ASSERT_EQ(file.size(), 1u);
    EXPECT_FALSE(file[0].isFolder);
    ASSERT_EQ(folder.size(), 1u);
    EXPECT_TRUE(folder[0].isFolder);
}
