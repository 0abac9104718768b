// The core's date and time texts under Wine: GetDateFormatW/GetTimeFormatW
// against the native picture implementation for the same pictures (English
// or German, by the run's locale), TIME_NOSECONDS against the core's own
// removal of the seconds, and Data::FormatDate/FormatTime through the Win32
// platform against the same through the native one.
#include "tests/wine/winelib_gtest.h"

#include "data/messages.h"
#include "data/native/posix_platform.h"
#include "data/native/test_platform.h"
#include "data/numtext.h"
#include "engine/astrotime.h"
#include "winlib/platform_win32.h"
#include "winlib/win32.h"
#include "winlib/wstr.h"

#include <iterator>
#include <string>
#include <vector>

namespace {

using PL::FormatPicture;
using PL::PictureKind;
using PL::SystemTime;

SystemTime At(int y, int mo, int d, int h, int mi, int s) {
    SystemTime t;
    t.year = static_cast<uint16_t>(y);
    t.month = static_cast<uint16_t>(mo);
    t.day = static_cast<uint16_t>(d);
    t.hour = static_cast<uint16_t>(h);
    t.minute = static_cast<uint16_t>(mi);
    t.second = static_cast<uint16_t>(s);
    return t;  // dayOfWeek stays 0: both sides take the weekday from the date
}

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
                               At(2031, 9, 9, 23, 9, 59), At(1601, 1, 1, 1, 30, 30), At(2000, 2, 29, 11, 5, 7)};

class DateTextUnderWine : public testing::Test {
protected:
    void SetUp() override {
        Data::SetUserLangId(0);
        Data::ForgetLocalePatterns();
    }
    void TearDown() override { Data::ForgetLocalePatterns(); }

    PL::Win32Platform win;
    PL::ScopedPlatform installed{win};
    uint16_t lang = win.UserLanguage();
};

TEST_F(DateTextUnderWine, TheLocalesOwnPicturesAgree) {
    const std::u16string date = win.ShortDatePattern();
    const std::u16string time = win.TimePattern();
    for (const SystemTime& t : kMoments) {
        EXPECT_EQ(win.FormatDate(t, date), FormatPicture(t, date, lang, PictureKind::Date)) << PL::ToUtf8(date);
        EXPECT_EQ(win.FormatTime(t, time), FormatPicture(t, time, lang, PictureKind::Time)) << PL::ToUtf8(time);
    }
}

// German short month names take another form after a day number ("9. Jan.").
// (For a day number after the month Wine's choice depends on what follows
// the picture in memory, so such pictures are left out.)
TEST_F(DateTextUnderWine, ShortMonthNamesAfterADayNumber) {
    const char16_t* pictures[] = {u"d. MMM yyyy", u"dd. MMM yy", u"d.MMM",   u"dd-MMM-yy",   u"ddd, d. MMM",
                                  u"d yyyy MMM",  u"MMM yyyy",   u"MMMM d",  u"d MMMM yyyy", u"MMM",
                                  u"ddd MMM",     u"dddd, d. MMMM yyyy"};
    for (int month = 1; month <= 12; ++month) {
        const SystemTime t = At(2023, month, 9, 0, 0, 0);
        for (const char16_t* p : pictures)
            EXPECT_EQ(win.FormatDate(t, p), FormatPicture(t, p, lang, PictureKind::Date)) << PL::ToUtf8(p) << " " << month;
    }
}

TEST_F(DateTextUnderWine, QuotesRunsAndForeignLetters) {
    const char16_t* datePictures[] = {u"d|dd|ddd|dddd|ddddd", u"M|MM|MMM|MMMM|MMMMM", u"y|yy|yyy|yyyy|yyyyy",
                                      u"'''",  u"'a''",  u"a''b",  u"''''",  u"x'",  u"'it''s' d",
                                      u"d 'd' dd hh:mm:ss tt"};
    const char16_t* timePictures[] = {u"h|hh|hhh|H|HH|HHH", u"m|mm|mmm|s|ss|sss", u"hh 'o''clock' mm",
                                      u"d M y HH", u"'abc", u"ab'c''d'e"};
    for (const SystemTime& t : kMoments) {
        for (const char16_t* p : datePictures)
            EXPECT_EQ(win.FormatDate(t, p), FormatPicture(t, p, lang, PictureKind::Date)) << PL::ToUtf8(p);
        for (const char16_t* p : timePictures)
            EXPECT_EQ(win.FormatTime(t, p), FormatPicture(t, p, lang, PictureKind::Time)) << PL::ToUtf8(p);
    }
}

TEST_F(DateTextUnderWine, TimesWithoutSeconds) {
    std::vector<std::u16string> pictures = {u"HH:mm:ss",       u"H:mm",          u"ss",        u"s' sec'",
                                            u"HH:mm:ss' Uhr'", u"HH:mm':'ss",    u"ss mm",     u"HH 's' ss",
                                            u"m:s:h",          u"m:s:m",         u"HH:mm:ss.", u"H.mm.ss 'x' y",
                                            u"HH 'it''s' ss 'x", u"HH:mm 'it''s", win.TimePattern()};
    if (lang == 0x0409) {
        for (const char16_t* p : {u"h:mm:ss tt", u"tt hh:mm:ss", u"HH:mm 'a' ss 'b' tt", u"HH:mm:ss tt z"})
            pictures.push_back(p);
    }
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

TEST_F(DateTextUnderWine, TwoDigitYearPatternsAreWidened) {
    // A device whose short date has a two-digit year still shows four digits.
    PL::TestPlatform shortYear;
    shortYear.language = lang;
    shortYear.shortDatePattern = u"dd.MM.yy";
    shortYear.timePattern = u"HH:mm:ss";
    PL::ScopedPlatform installedShort(shortYear);
    const Calc::AstroTime m = Calc::FromCalendar(2024, 3, 5, 14, 7, 9);
    EXPECT_EQ(Data::FormatDate(m), u"05.03.2024");
    SystemTime t = At(2024, 3, 5, 14, 7, 9);
    EXPECT_EQ(win.FormatDate(t, Data::ShortDatePattern()), u"05.03.2024");
}

}  // namespace
