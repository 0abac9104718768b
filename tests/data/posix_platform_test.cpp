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
    // Sunday of April. New York: second Sunday of March to first Sunday of
    // November, both at 02:00. Tokyo: no summer time.
    const struct {
        const char* zone;
        int month;  // of the moment asked about
        TimeZoneStatus status;
        int bias, dstMonth, dstDay, dstHour, stdMonth, stdDay, stdHour;
    } cases[] = {{"Europe/Berlin", 7, TimeZoneStatus::Daylight, -60, 3, 5, 2, 10, 5, 3},
                 {"Europe/Berlin", 1, TimeZoneStatus::Standard, -60, 3, 5, 2, 10, 5, 3},
                 {"Australia/Sydney", 1, TimeZoneStatus::Daylight, -600, 10, 1, 2, 4, 1, 3},
                 {"America/New_York", 7, TimeZoneStatus::Daylight, 300, 3, 2, 2, 11, 1, 2},
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

    // The engine, fed Berlin's record, switches at 01:00 UT on 31 March 2024.
    ZoneScope zone("Europe/Berlin");
    TimeZoneInfo tz;
    PosixPlatform::ZoneRecordAt(Utc(2024, 7, 1), tz);
    PL::TestPlatform p;
    PL::ScopedPlatform scope(p);
    p.zone = {TimeZoneStatus::Daylight, tz};
    Calc::AstroTime before = Calc::FromCalendar(2024, 3, 31, 0, 59, 0);
    Calc::AstroTime after = Calc::FromCalendar(2024, 3, 31, 1, 0, 0);
    EXPECT_EQ(Calc::DiffSeconds(Calc::UtcToLocal(before, 0, Calc::kDeviceZone), before), 3600);
    EXPECT_EQ(Calc::DiffSeconds(Calc::UtcToLocal(after, 0, Calc::kDeviceZone), after), 7200);
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
    EXPECT_FALSE(p.CreateFolder(sub));
    ASSERT_TRUE(WriteFile(p, sub + u"/Messier.PUO", "x"));
    ASSERT_TRUE(WriteFile(p, sub + u"/comets.pco", ""));
    EXPECT_EQ(p.OpenFile(sub + u"/missing/none.txt", "rb"), nullptr);

    auto found = p.ListFolder(sub, u"*.puo");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, u"Messier.PUO");  // the name as stored wins
    EXPECT_EQ(p.ListFolder(sub, u"*").size(), 2u);

    // Moving never replaces an existing file.
    EXPECT_FALSE(p.MoveFile(sub + u"/comets.pco", sub + u"/Messier.PUO"));
    EXPECT_TRUE(p.MoveFile(sub + u"/comets.pco", sub + u"/Comets.pco"));
    EXPECT_TRUE(p.DeleteFile(sub + u"/Comets.pco"));
    EXPECT_FALSE(p.DeleteFile(sub + u"/Comets.pco"));
    std::system(("rm -rf '" + PL::ToUtf8(dir) + "'").c_str());
}

TEST(PosixPlatform, ResourcesByNameWithoutRegardToCase) {
    std::u16string dir = TempFolder();
    const std::string bytes("\0\1\2\xFF\x80", 5);
    PosixPlatform writer;
    ASSERT_TRUE(WriteFile(writer, dir + u"/starsBSC0", bytes));
    PosixPlatform p(dir);
    const uint8_t* data = nullptr;
    size_t size = 0;
    ASSERT_TRUE(p.Resource(u"STARSbsc0", data, size));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), size), bytes);
    const uint8_t* again = nullptr;
    ASSERT_TRUE(p.Resource(u"starsBSC0", again, size));
    EXPECT_EQ(again, data);  // loaded once, kept for the program's life
    EXPECT_FALSE(p.Resource(u"starsBSC9", data, size));
    EXPECT_FALSE(p.Resource(u"starsBSC?", data, size) && size != bytes.size());
    std::system(("rm -rf '" + PL::ToUtf8(dir) + "'").c_str());
}

TEST(PosixPlatform, WildcardsAndUtf8) {
    EXPECT_TRUE(PL::WildcardMatch(u"a.b.c", u"a*c"));
    EXPECT_FALSE(PL::WildcardMatch(u"ab", u"a?c"));
    EXPECT_FALSE(PL::WildcardMatch(u"places.dat.tmp", u"*.dat"));

    const std::u16string text = u"Zürich \u00b0 \U0001F52D";
    EXPECT_EQ(PL::FromUtf8(PL::ToUtf8(text)), text);
    EXPECT_EQ(PL::FromUtf8("A\xC3" "B"), u"AB");        // a lead byte without its continuation
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
