// The Win32 platform layer under Wine, checked against the POSIX clock, the
// zone database (through the native implementation), the locale of the run
// and the program's own resources.
//
// The CTest runs set TZ, LANG and LOCPATH, and tell what they expect in
// CELVANE_EXPECT_BIAS (minutes, UTC = local + bias) and CELVANE_EXPECT_LANGID.
#include "tests/wine/winelib_gtest.h"

#include "data/native/posix_platform.h"
#include "data/native/test_platform.h"
#include "winlib/platform_win32.h"
#include "winlib/wstr.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

using PL::SystemTime;
using PL::TimeZoneInfo;
using PL::TimeZoneStatus;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's
// days_from_civil).
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

SystemTime Date(int y, int m, int d, int wd, int h = 0, int mi = 0, int s = 0) {
    SystemTime t;
    t.year = static_cast<uint16_t>(y);
    t.month = static_cast<uint16_t>(m);
    t.day = static_cast<uint16_t>(d);
    t.dayOfWeek = static_cast<uint16_t>(wd);
    t.hour = static_cast<uint16_t>(h);
    t.minute = static_cast<uint16_t>(mi);
    t.second = static_cast<uint16_t>(s);
    return t;
}

const char* Env(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? v : nullptr;
}

std::vector<int> Numbers(const std::u16string& text, char16_t separator) {
    std::vector<int> out;
    int value = -1;
    for (char16_t c : text) {
        if (c >= u'0' && c <= u'9') {
            value = (value < 0 ? 0 : value * 10) + (c - u'0');
        } else if (c == separator && value >= 0) {
            out.push_back(value);
            value = -1;
        } else {
            return {};  // anything else: not a plain numeric date
        }
    }
    if (value >= 0) out.push_back(value);
    return out;
}

std::vector<uint8_t> ReadWholeFile(const char* path) {
    std::vector<uint8_t> bytes;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
    return bytes;
}

class Win32PlatformTest : public testing::Test {
protected:
    PL::Win32Platform win;
    PL::ScopedPlatform installed{win};
};

// --- clock ---------------------------------------------------------------------

TEST_F(Win32PlatformTest, UtcNowIsThePosixClock) {
    const int64_t before = static_cast<int64_t>(std::time(nullptr));
    const SystemTime t = PL::UtcNow();
    const int64_t after = static_cast<int64_t>(std::time(nullptr));

    const int64_t days = DaysFromCivil(t.year, t.month, t.day);
    const int64_t seconds = days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
    EXPECT_GE(seconds, before - 1);
    EXPECT_LE(seconds, after + 1);
    EXPECT_LT(t.milliseconds, 1000);
    // 1970-01-01 was a Thursday.
    EXPECT_EQ(t.dayOfWeek, ((days % 7) + 7 + 4) % 7);
}

// --- zone ----------------------------------------------------------------------

TEST_F(Win32PlatformTest, ZoneRecordIsTheZoneDatabases) {
    TimeZoneInfo w, n;
    const TimeZoneStatus ws = PL::TimeZone(w);
    const TimeZoneStatus ns = PL::PosixPlatform::ZoneRecordAt(static_cast<int64_t>(std::time(nullptr)), n);
    ASSERT_NE(ws, TimeZoneStatus::Failed);
    ASSERT_NE(ns, TimeZoneStatus::Failed);

    if (const char* bias = Env("CELVANE_EXPECT_BIAS")) {
        EXPECT_EQ(w.bias, std::atoi(bias));
    }
    EXPECT_EQ(w.bias, n.bias);
    EXPECT_EQ(w.standardBias, n.standardBias);

    const bool summerTime = ns != TimeZoneStatus::Unknown;
    EXPECT_EQ(ws != TimeZoneStatus::Unknown, summerTime);
    if (summerTime) {
        EXPECT_EQ(ws, ns) << "standard/daylight state now";
        EXPECT_EQ(w.daylightBias, n.daylightBias);
        // The transitions as weekday rules: month, week (5 = last), weekday, hour.
        EXPECT_EQ(w.daylightDate.month, n.daylightDate.month);
        EXPECT_EQ(w.daylightDate.day, n.daylightDate.day);
        EXPECT_EQ(w.daylightDate.dayOfWeek, n.daylightDate.dayOfWeek);
        EXPECT_EQ(w.daylightDate.hour, n.daylightDate.hour);
        EXPECT_EQ(w.standardDate.month, n.standardDate.month);
        EXPECT_EQ(w.standardDate.day, n.standardDate.day);
        EXPECT_EQ(w.standardDate.dayOfWeek, n.standardDate.dayOfWeek);
        EXPECT_EQ(w.standardDate.hour, n.standardDate.hour);
        EXPECT_EQ(w.daylightDate.year, 0);
        EXPECT_EQ(w.standardDate.year, 0);
    } else {
        EXPECT_EQ(w.daylightDate.month, 0) << "no summer time, no rule";
        EXPECT_EQ(w.standardDate.month, 0);
    }
}

// --- language and locale texts -------------------------------------------------

TEST_F(Win32PlatformTest, LanguageIsTheRunsLocale) {
    PL::PosixPlatform native;
    EXPECT_EQ(PL::UserLanguage(), native.UserLanguage());
    if (const char* id = Env("CELVANE_EXPECT_LANGID")) {
        EXPECT_EQ(PL::UserLanguage(), static_cast<uint16_t>(std::strtoul(id, nullptr, 0)));
    }
}

TEST_F(Win32PlatformTest, DatesAndTimesInTheUsersLanguage) {
    const SystemTime t = Date(2024, 3, 5, 2, 14, 7, 9);  // a Tuesday
    const std::u16string shortDate = win.FormatDate(t, win.ShortDatePattern());
    const std::u16string time = win.FormatTime(t, win.TimePattern());
    switch (PL::UserLanguage()) {
        case 0x0407:
            EXPECT_EQ(Numbers(shortDate, u'.'), (std::vector<int>{5, 3, 2024})) << PL::ToUtf8(shortDate);
            EXPECT_EQ(win.FormatDate(t, u"dddd, d. MMMM yyyy"), u"Dienstag, 5. März 2024");
            EXPECT_EQ(time, u"14:07:09");
            break;
        case 0x0409:
            EXPECT_EQ(Numbers(shortDate, u'/'), (std::vector<int>{3, 5, 2024})) << PL::ToUtf8(shortDate);
            EXPECT_EQ(win.FormatDate(t, u"dddd, MMMM d, yyyy"), u"Tuesday, March 5, 2024");
            EXPECT_EQ(time, u"2:07:09 PM");
            break;
        default:
            GTEST_SKIP() << "no expectations for language " << PL::UserLanguage();
    }
}

// The native picture formatter stands in for GetDateFormatW/GetTimeFormatW in
// the core's tests: on numbers, names, eras and literals both must agree.
TEST_F(Win32PlatformTest, PicturesAgreeWithTheNativeFormatter) {
    const uint16_t lang = PL::UserLanguage();
    const SystemTime dates[] = {Date(2024, 3, 5, 2, 14, 7, 9), Date(1999, 12, 31, 5, 0, 0, 0),
                                Date(2000, 1, 1, 6, 9, 5, 3), Date(2031, 10, 26, 0, 23, 59, 59)};
    const char16_t* datePictures[] = {u"d.M.yy", u"dd.MM.yy",     u"yyyy-MM-dd", u"y",
                                      u"ddd",    u"dddd",         u"MMM",        u"MMMM",
                                      u"g",      u"d/M/yyyy",     u"''yy",       u"'abc''bar' yyyy",
                                      u"'Tag' d 'im' MMMM",       u"dddd dd MMMM yyyyy"};
    std::vector<const char16_t*> timePictures = {u"HH:mm:ss", u"H:m:s", u"hh:mm", u"h 'Uhr' m"};
    if (lang == 0x0409) {
        timePictures.push_back(u"h:mm tt");
        timePictures.push_back(u"h:mm t");
    }
    for (const SystemTime& t : dates) {
        for (const char16_t* p : datePictures)
            EXPECT_EQ(win.FormatDate(t, p), PL::FormatPicture(t, p, lang, PL::PictureKind::Date)) << PL::ToUtf8(p) << " " << t.year;
        for (const char16_t* p : timePictures)
            EXPECT_EQ(win.FormatTime(t, p), PL::FormatPicture(t, p, lang, PL::PictureKind::Time)) << PL::ToUtf8(p) << " " << t.hour;
    }
}

TEST_F(Win32PlatformTest, FormattingRefusesImpossibleDates) {
    EXPECT_EQ(win.FormatDate(Date(2023, 2, 30, 0), u"d.M.yyyy"), u"");
    EXPECT_EQ(win.FormatDate(Date(2023, 13, 1, 0), u"d.M.yyyy"), u"");
    EXPECT_EQ(win.FormatTime(Date(2023, 1, 1, 0, 24, 0, 0), u"HH:mm"), u"");
}

// --- files ---------------------------------------------------------------------

class Win32FilesTest : public Win32PlatformTest {
protected:
    void SetUp() override {
        WCHAR temp[MAX_PATH + 1] = {};
        ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
        base = U16(temp) + u"celvane-wine-" + PL::FromUtf8(std::to_string(GetCurrentProcessId()));
    }
    void TearDown() override {
        for (const PL::FileEntry& e : win.ListFolder(base, u"*")) {
            const std::u16string p = base + u"\\" + e.name;
            if (e.isFolder) RemoveDirectoryW(W(p));
            else DeleteFileW(W(p));
        }
        RemoveDirectoryW(W(base));
    }

    std::u16string In(const std::u16string& name) const { return base + u"\\" + name; }

    bool Write(const std::u16string& name, const std::string& text, const char* mode = "wb") {
        std::FILE* f = win.OpenFile(In(name), mode);
        if (!f) return false;
        const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
        return std::fclose(f) == 0 && ok;
    }

    std::string Read(const std::u16string& name) {
        std::string text;
        std::FILE* f = win.OpenFile(In(name), "rb");
        if (!f) return "<missing>";
        char buf[256];
        size_t got;
        while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, got);
        std::fclose(f);
        return text;
    }

    std::vector<std::u16string> Names(const std::u16string& folder, const std::u16string& pattern) {
        std::vector<std::u16string> names;
        for (const PL::FileEntry& e : win.ListFolder(folder, pattern)) names.push_back(e.name + (e.isFolder ? u"\\" : u""));
        std::sort(names.begin(), names.end());
        return names;
    }

    std::u16string base;
};

TEST_F(Win32FilesTest, CreateListMoveDelete) {
    EXPECT_EQ(win.PathSeparator(), u'\\');
    ASSERT_TRUE(win.CreateFolder(base));
    EXPECT_FALSE(win.CreateFolder(base)) << "exists already";
    EXPECT_TRUE(win.FolderExists(base));
    EXPECT_FALSE(win.FileExists(base));

    ASSERT_TRUE(Write(u"Sterne.txt", "Vega\n"));
    ASSERT_TRUE(Write(u"Planeten.TXT", "Mars\n"));
    ASSERT_TRUE(Write(u"Umlaute-äöüß.txt", "Aldebaran\n"));
    ASSERT_TRUE(Write(u"notes.txt1", "x"));
    ASSERT_TRUE(Write(u"Sterne.cfg~", "y"));
    ASSERT_TRUE(win.CreateFolder(In(u"Karten.txt")));
    EXPECT_TRUE(win.FileExists(In(u"Sterne.txt")));
    EXPECT_TRUE(win.FileExists(In(u"sterne.TXT"))) << "names compare without case";
    EXPECT_FALSE(win.FolderExists(In(u"Sterne.txt")));
    EXPECT_TRUE(win.FolderExists(In(u"Karten.txt")));

    // Only the real names count: "*.txt" must not find "notes.txt1" through
    // its 8.3 short name, "*.cfg" not "Sterne.cfg~".
    EXPECT_EQ(Names(base, u"*.txt"),
              (std::vector<std::u16string>{u"Karten.txt\\", u"Planeten.TXT", u"Sterne.txt", u"Umlaute-äöüß.txt"}));
    EXPECT_EQ(Names(base, u"*.cfg"), std::vector<std::u16string>{});
    EXPECT_EQ(Names(base, u"?TERNE.*"), (std::vector<std::u16string>{u"Sterne.cfg~", u"Sterne.txt"}));
    EXPECT_EQ(Names(base, u"*ÄÖÜ*"), (std::vector<std::u16string>{u"Umlaute-äöüß.txt"}));
    EXPECT_EQ(Names(base + u"\\", u"*").size(), 6u);
    EXPECT_EQ(Names(In(u"no-such-folder"), u"*"), std::vector<std::u16string>{});

    EXPECT_EQ(Read(u"Umlaute-äöüß.txt"), "Aldebaran\n");
    ASSERT_TRUE(win.MoveFile(In(u"Sterne.txt"), In(u"Wega.txt")));
    EXPECT_FALSE(win.FileExists(In(u"Sterne.txt")));
    EXPECT_EQ(Read(u"Wega.txt"), "Vega\n");
    EXPECT_FALSE(win.MoveFile(In(u"Planeten.TXT"), In(u"Wega.txt"))) << "never replaces";
    EXPECT_EQ(Read(u"Wega.txt"), "Vega\n");
    EXPECT_EQ(Read(u"Planeten.TXT"), "Mars\n");
    EXPECT_FALSE(win.MoveFile(In(u"missing.txt"), In(u"other.txt")));

    EXPECT_TRUE(win.DeleteFile(In(u"Wega.txt")));
    EXPECT_FALSE(win.FileExists(In(u"Wega.txt")));
    EXPECT_FALSE(win.DeleteFile(In(u"Wega.txt")));
    EXPECT_EQ(Names(base, u"*.txt"),
              (std::vector<std::u16string>{u"Karten.txt\\", u"Planeten.TXT", u"Umlaute-äöüß.txt"}));
}

TEST_F(Win32FilesTest, ReplaceTakesThePlaceOfTheTarget) {
    ASSERT_TRUE(win.CreateFolder(base));
    ASSERT_TRUE(Write(u"settings.ini", "old"));
    ASSERT_TRUE(Write(u"settings.tmp", "new"));
    ASSERT_TRUE(win.ReplaceFile(In(u"settings.tmp"), In(u"settings.ini")));
    EXPECT_EQ(Read(u"settings.ini"), "new");
    EXPECT_FALSE(win.FileExists(In(u"settings.tmp")));

    ASSERT_TRUE(Write(u"fresh.tmp", "first"));
    EXPECT_TRUE(win.ReplaceFile(In(u"fresh.tmp"), In(u"fresh.ini"))) << "no target yet";
    EXPECT_EQ(Read(u"fresh.ini"), "first");

    EXPECT_FALSE(win.ReplaceFile(In(u"missing.tmp"), In(u"settings.ini")));
    EXPECT_EQ(Read(u"settings.ini"), "new") << "a failed replace leaves the target alone";
}

TEST_F(Win32FilesTest, StreamsReadSeekAppend) {
    ASSERT_TRUE(win.CreateFolder(base));
    EXPECT_EQ(win.OpenFile(In(u"missing.dat"), "rb"), nullptr);
    EXPECT_EQ(win.OpenFile(In(u"missing.dat"), "q"), nullptr);

    ASSERT_TRUE(Write(u"log.txt", "Vega\n"));
    EXPECT_FALSE(Write(u"log.txt", "again", "wbx")) << "x: must not exist";
    ASSERT_TRUE(Write(u"log.txt", "Deneb\n", "ab"));
    ASSERT_TRUE(Write(u"log.txt", "Altair\n", "a"));
    EXPECT_EQ(Read(u"log.txt"), "Vega\nDeneb\nAltair\n");

    std::FILE* f = win.OpenFile(In(u"log.txt"), "r+b");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::fseek(f, 0, SEEK_END), 0);
    EXPECT_EQ(std::ftell(f), 18);
    EXPECT_EQ(std::fseek(f, 5, SEEK_SET), 0);
    EXPECT_EQ(std::fgetc(f), 'D');
    EXPECT_EQ(std::fseek(f, 0, SEEK_CUR), 0);  // switch from reading to writing
    EXPECT_EQ(std::fputc('E', f), 'E');
    EXPECT_EQ(std::fseek(f, -2, SEEK_END), 0);
    EXPECT_EQ(std::fgetc(f), 'r');
    EXPECT_EQ(std::fclose(f), 0);
    EXPECT_EQ(Read(u"log.txt"), "Vega\nDEneb\nAltair\n");

    ASSERT_TRUE(Write(u"log.txt", "Mira"));  // "w" truncates
    EXPECT_EQ(Read(u"log.txt"), "Mira");
    std::string big(300000, 'x');
    for (size_t i = 0; i < big.size(); i += 7) big[i] = static_cast<char>('a' + i % 26);
    ASSERT_TRUE(Write(u"big.dat", big));
    EXPECT_EQ(Read(u"big.dat"), big);
}

TEST_F(Win32PlatformTest, ProgramAndDataFolders) {
    const std::u16string program = win.ProgramFolder();
    ASSERT_FALSE(program.empty());
    EXPECT_TRUE(win.FolderExists(program));
    EXPECT_TRUE(win.FileExists(program + u"\\celvane_wine_platform_tests.exe"));
    const std::u16string appData = win.AppDataFolder();
    ASSERT_FALSE(appData.empty());
    EXPECT_TRUE(win.FolderExists(appData));
    EXPECT_NE(appData, program);
}

// --- resources -----------------------------------------------------------------

TEST_F(Win32PlatformTest, ResourcesByNameByteForByte) {
    const std::vector<uint8_t> bytesFile = ReadWholeFile(CELVANE_WINE_TEST_DIR "/resource_bytes.bin");
    const std::vector<uint8_t> textFile = ReadWholeFile(CELVANE_WINE_TEST_DIR "/resource_text.txt");
    ASSERT_EQ(bytesFile.size(), 293u);
    ASSERT_FALSE(textFile.empty());

    const uint8_t* data = nullptr;
    size_t size = 0;
    ASSERT_TRUE(win.Resource(u"CELVANE_TEST_BYTES", data, size));
    ASSERT_EQ(size, bytesFile.size());
    EXPECT_TRUE(std::equal(data, data + size, bytesFile.begin()));
    for (size_t i = 0; i < 256; ++i) ASSERT_EQ(data[i], i) << "byte " << i;

    const uint8_t* again = nullptr;
    size_t againSize = 0;
    ASSERT_TRUE(win.Resource(u"celvane_test_bytes", again, againSize)) << "names compare without case";
    EXPECT_EQ(again, data);
    EXPECT_EQ(againSize, size);

    ASSERT_TRUE(win.Resource(u"CELVANE_TEST_TEXT", data, size));
    ASSERT_EQ(size, textFile.size());
    EXPECT_TRUE(std::equal(data, data + size, textFile.begin())) << "UTF-8 file kept as it is";

    data = nullptr;
    size = 0;
    EXPECT_FALSE(win.Resource(u"NO_SUCH_RESOURCE", data, size));
    EXPECT_FALSE(win.Resource(u"", data, size));
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0u);
}

}  // namespace
