// The Win32 platform layer under Wine, checked against the POSIX clock, the
// zone database (through the native implementation), the locale of the run
// and the program's own resources; and the date and time texts:
// GetDateFormatW/GetTimeFormatW against the native picture formatter,
// TIME_NOSECONDS against the core's own removal of the seconds, and the
// core's texts through the Win32 platform against the same through the native one.
//
// The CTest runs set TZ, LANG and LOCPATH, and tell what they expect in
// CELVANE_EXPECT_BIAS (minutes, UTC = local + bias) and CELVANE_EXPECT_LANGID.
#include "tests/wine/winelib_gtest.h"

#include "data/messages.h"
#include "data/native/posix_platform.h"
#include "data/native/test_platform.h"
#include "data/numtext.h"
#include "engine/astrotime.h"
#include "winlib/platform_win32.h"
#include "winlib/wstr.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
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

// dayOfWeek stays 0: the formatters take the weekday from the date.
SystemTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    auto u = [](int v) { return static_cast<uint16_t>(v); };
    return SystemTime{u(y), u(mo), 0, u(d), u(h), u(mi), u(s), 0};
}

const char* Env(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? v : nullptr;
}

std::vector<uint8_t> ReadWholeFile(const char* path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
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
        // The transitions as weekday rules (no year): month, week (5 = last), weekday, hour.
        auto rule = [](const SystemTime& d) { return std::vector<int>{d.year, d.month, d.day, d.dayOfWeek, d.hour}; };
        EXPECT_EQ(rule(w.daylightDate), rule(n.daylightDate));
        EXPECT_EQ(rule(w.standardDate), rule(n.standardDate));
        EXPECT_EQ(w.daylightDate.year, 0);
    } else {
        EXPECT_EQ(w.daylightDate.month, 0) << "no summer time, no rule";
        EXPECT_EQ(w.standardDate.month, 0);
    }
}

// --- language and locale texts -------------------------------------------------

TEST_F(Win32PlatformTest, TheRunsLanguageAndItsDatesAndTimes) {
    EXPECT_EQ(PL::UserLanguage(), PL::PosixPlatform().UserLanguage());
    if (const char* id = Env("CELVANE_EXPECT_LANGID")) {
        EXPECT_EQ(PL::UserLanguage(), static_cast<uint16_t>(std::strtoul(id, nullptr, 0)));
    }
    const SystemTime t = At(2024, 3, 5, 14, 7, 9);  // a Tuesday
    const std::u16string shortDate = win.FormatDate(t, win.ShortDatePattern());
    const std::u16string time = win.FormatTime(t, win.TimePattern());
    switch (PL::UserLanguage()) {
        case 0x0407:
            EXPECT_TRUE(shortDate == u"05.03.2024" || shortDate == u"5.3.2024") << PL::ToUtf8(shortDate);
            EXPECT_EQ(win.FormatDate(t, u"dddd, d. MMMM yyyy"), u"Dienstag, 5. März 2024");
            EXPECT_EQ(time, u"14:07:09");
            break;
        case 0x0409:
            EXPECT_TRUE(shortDate == u"03/05/2024" || shortDate == u"3/5/2024") << PL::ToUtf8(shortDate);
            EXPECT_EQ(win.FormatDate(t, u"dddd, MMMM d, yyyy"), u"Tuesday, March 5, 2024");
            EXPECT_EQ(time, u"2:07:09 PM");
            break;
        default:
            GTEST_SKIP() << "no expectations for language " << PL::UserLanguage();
    }
}

TEST_F(Win32PlatformTest, FormattingRefusesImpossibleDates) {
    EXPECT_EQ(win.FormatDate(At(2023, 2, 30), u"d.M.yyyy"), u"");
    EXPECT_EQ(win.FormatDate(At(2023, 13, 1), u"d.M.yyyy"), u"");
    EXPECT_EQ(win.FormatTime(At(2023, 1, 1, 24, 0, 0), u"HH:mm"), u"");
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
        std::FILE* f = win.OpenFile(In(name), "rb");
        if (!f) return "<missing>";
        std::string text;
        for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
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
    ASSERT_TRUE(win.CreateFolder(base));
    EXPECT_FALSE(win.CreateFolder(base)) << "exists already";

    ASSERT_TRUE(Write(u"Sterne.txt", "Vega\n"));
    ASSERT_TRUE(Write(u"Planeten.TXT", "Mars\n"));
    ASSERT_TRUE(Write(u"Umlaute-äöüß.txt", "Aldebaran\n"));
    ASSERT_TRUE(Write(u"notes.txt1", "x"));
    ASSERT_TRUE(Write(u"Sterne.cfg~", "y"));
    ASSERT_TRUE(win.CreateFolder(In(u"Karten.txt")));
    EXPECT_TRUE(win.FileExists(In(u"sterne.TXT"))) << "names compare without case";
    EXPECT_FALSE(win.FolderExists(In(u"Sterne.txt")));
    EXPECT_FALSE(win.FileExists(In(u"Karten.txt")));

    // Only the real names count: "*.txt" must not find "notes.txt1" through
    // its 8.3 short name, "*.cfg" not "Sterne.cfg~".
    EXPECT_EQ(Names(base, u"*.txt"),
              (std::vector<std::u16string>{u"Karten.txt\\", u"Planeten.TXT", u"Sterne.txt", u"Umlaute-äöüß.txt"}));
    EXPECT_EQ(Names(base, u"*.cfg"), std::vector<std::u16string>{});
    EXPECT_EQ(Names(base, u"?TERNE.*"), (std::vector<std::u16string>{u"Sterne.cfg~", u"Sterne.txt"}));
    EXPECT_EQ(Names(base, u"*ÄÖÜ*"), (std::vector<std::u16string>{u"Umlaute-äöüß.txt"}));
    EXPECT_EQ(Names(In(u"no-such-folder"), u"*"), std::vector<std::u16string>{});

    EXPECT_EQ(Read(u"Umlaute-äöüß.txt"), "Aldebaran\n");
    ASSERT_TRUE(win.MoveFile(In(u"Sterne.txt"), In(u"Wega.txt")));
    EXPECT_FALSE(win.FileExists(In(u"Sterne.txt")));
    EXPECT_FALSE(win.MoveFile(In(u"Planeten.TXT"), In(u"Wega.txt"))) << "never replaces";
    EXPECT_EQ(Read(u"Wega.txt") + Read(u"Planeten.TXT"), "Vega\nMars\n");
    EXPECT_FALSE(win.MoveFile(In(u"missing.txt"), In(u"other.txt")));

    EXPECT_TRUE(win.DeleteFile(In(u"Wega.txt")));
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

    ASSERT_TRUE(win.Resource(u"CELVANE_TEST_TEXT", data, size));
    ASSERT_EQ(size, textFile.size());
    EXPECT_TRUE(std::equal(data, data + size, textFile.begin())) << "UTF-8 file kept as it is";

    for (const char16_t* name : {u"NO_SUCH_RESOURCE", u""}) EXPECT_FALSE(win.Resource(name, data, size));
}

// --- date and time texts ---------------------------------------------------------

using PL::FormatPicture;
using PL::PictureKind;

// GetTimeFormatW with the user's locale and the given flags; empty on failure.
std::u16string Win32Time(const SystemTime& t, const std::u16string& picture, DWORD flags) {
    SYSTEMTIME st = {};
    st.wYear = t.year;
    st.wMonth = t.month;
    st.wDay = t.day;
    st.wHour = t.hour;
    st.wMinute = t.minute;
    st.wSecond = t.second;
    char16_t buf[200];
    const int n = GetTimeFormatW(LOCALE_USER_DEFAULT, flags, &st, W(picture), W(buf), 200);
    return n > 0 ? std::u16string(buf, static_cast<size_t>(n - 1)) : std::u16string();
}

const SystemTime kMoments[] = {At(2024, 3, 5, 14, 7, 9), At(1999, 12, 31, 0, 0, 0), At(2005, 1, 2, 12, 59, 5),
                               At(1601, 1, 1, 1, 30, 30), At(2000, 2, 29, 11, 5, 7)};

class DateTextUnderWine : public Win32PlatformTest {
protected:
    void SetUp() override {
        Data::SetUserLangId(0);
        Data::ForgetLocalePatterns();
    }
    void TearDown() override { Data::ForgetLocalePatterns(); }

    void ExpectDate(const SystemTime& t, const std::u16string& p) {
        EXPECT_EQ(win.FormatDate(t, p), FormatPicture(t, p, lang, PictureKind::Date)) << PL::ToUtf8(p) << " " << t.year << "-" << t.month;
    }

    uint16_t lang = win.UserLanguage();
};

// The native picture formatter stands in for GetDateFormatW/GetTimeFormatW in
// the core's tests: on numbers, names, eras, quotes and literals both must agree.
TEST_F(DateTextUnderWine, PicturesAgreeWithTheNativeFormatter) {
    const char16_t* datePictures[] = {u"d|dd|ddd|dddd|ddddd", u"M|MM|MMM|MMMM|MMMMM", u"y|yy|yyy|yyyy|yyyyy", u"g",
                                      u"'Tag' d 'im' MMMM", u"'''", u"'a''", u"a''b", u"x'", u"''yy", u"'it''s' d",
                                      u"d 'd' dd hh:mm:ss tt"};
    std::vector<std::u16string> timePictures = {u"h|hh|hhh|H|HH|HHH", u"m|mm|mmm|s|ss|sss", u"hh 'o''clock' mm",
                                                u"h 'Uhr' m", u"d M y HH", u"'abc", u"ab'c''d'e"};
    if (lang == 0x0409) timePictures.insert(timePictures.end(), {u"h:mm tt", u"h:mm t"});
    timePictures.push_back(win.TimePattern());
    for (const SystemTime& t : kMoments) {
        ExpectDate(t, win.ShortDatePattern());
        for (const char16_t* p : datePictures) ExpectDate(t, p);
        for (const std::u16string& p : timePictures)
            EXPECT_EQ(win.FormatTime(t, p), FormatPicture(t, p, lang, PictureKind::Time)) << PL::ToUtf8(p);
    }
    // German short month names take another form after a day number ("9. Jan.").
    // (For a day number after the month Wine's choice depends on what follows
    // the picture in memory, so such pictures are left out.)
    for (int month = 1; month <= 12; ++month)
        for (const char16_t* p : {u"d. MMM yyyy", u"d.MMM", u"ddd, d. MMM", u"d yyyy MMM", u"MMM yyyy", u"MMMM d", u"ddd MMM"})
            ExpectDate(At(2023, month, 9, 0, 0, 0), p);
}

TEST_F(DateTextUnderWine, TimesWithoutSeconds) {
    std::vector<std::u16string> pictures = {u"HH:mm:ss", u"ss", u"s' sec'", u"HH:mm':'ss", u"ss mm", u"HH 's' ss",
                                            u"m:s:h", u"HH:mm:ss.", u"HH 'it''s' ss 'x", u"HH:mm 'it''s", win.TimePattern()};
    if (lang == 0x0409) pictures.insert(pictures.end(), {u"h:mm:ss tt", u"tt hh:mm:ss", u"HH:mm 'a' ss 'b' tt", u"HH:mm:ss tt z"});
    for (const SystemTime& t : kMoments) {
        for (const std::u16string& p : pictures) {
            const std::u16string expected = Win32Time(t, p, TIME_NOSECONDS);
            EXPECT_EQ(FormatPicture(t, p, lang, PictureKind::TimeNoSeconds), expected) << PL::ToUtf8(p);
            // The core removes the seconds from the picture itself.
            EXPECT_EQ(Win32Time(t, Data::PatternWithoutSeconds(p), 0), expected) << PL::ToUtf8(p);
        }
    }
}

TEST_F(DateTextUnderWine, TheCoresTextsAreTheSameOnBothPlatforms) {
    // The core through the Win32 platform ...
    const Calc::AstroTime moments[] = {Calc::FromCalendar(2024, 3, 5, 14, 7, 9), Calc::FromCalendar(1999, 12, 31, 23, 59, 59),
                                       Calc::FromCalendar(2010, 7, 4, 0, 30, 0), Calc::FromCalendar(1500, 6, 1, 12, 0, 0)};
    std::vector<std::u16string> winTexts;
    for (const Calc::AstroTime& m : moments) winTexts.push_back(Data::FormatDate(m) + u" " + Data::FormatTime(m));
    const std::u16string datePattern = Data::ShortDatePattern();
    EXPECT_NE(datePattern.find(u"yyyy"), std::u16string::npos) << PL::ToUtf8(datePattern);

    // ... and through the native one, given the same locale patterns.
    PL::TestPlatform native;
    native.language = lang;
    native.shortDatePattern = win.ShortDatePattern();
    native.timePattern = win.TimePattern();
    PL::ScopedPlatform nativeInstalled(native);
    Data::ForgetLocalePatterns();
    for (size_t i = 0; i < std::size(moments); ++i)
        EXPECT_EQ(Data::FormatDate(moments[i]) + u" " + Data::FormatTime(moments[i]), winTexts[i]) << i;
    EXPECT_EQ(Data::ShortDatePattern(), datePattern);
}

}  // namespace
