// Locale date and time texts: the native picture strings (expectations are
// what GetDateFormatW/GetTimeFormatW give for the same pictures), the
// patterns kept by the core, and the moment's texts.
#include "data/native/test_platform.h"
#include "data/numtext.h"
#include "engine/astrotime.h"

#include <gtest/gtest.h>

namespace {

using PL::FormatPicture;
using PL::PictureKind;
using PL::SystemTime;

SystemTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    SystemTime t;
    t.year = static_cast<uint16_t>(y);
    t.month = static_cast<uint16_t>(mo);
    t.day = static_cast<uint16_t>(d);
    t.hour = static_cast<uint16_t>(h);
    t.minute = static_cast<uint16_t>(mi);
    t.second = static_cast<uint16_t>(s);
    return t;
}

std::u16string Date(const SystemTime& t, const std::u16string& p, uint16_t lang) {
    return FormatPicture(t, p, lang, PictureKind::Date);
}
std::u16string Time(const SystemTime& t, const std::u16string& p, uint16_t lang) {
    return FormatPicture(t, p, lang, PictureKind::Time);
}

TEST(PictureStrings, FieldsQuotesAndLettersOfTheOtherKind) {
    const SystemTime t = At(2024, 3, 5, 0, 3, 4);  // a Tuesday; dayOfWeek left 0 on purpose
    EXPECT_EQ(Date(t, u"d|dd|ddd|dddd|ddddd", 0x409), u"5|05|Tue|Tuesday|Tuesday");
    EXPECT_EQ(Date(At(2005, 1, 2), u"y|yy|yyy|yyyy|yyyyy", 0x409), u"05|05|2005|2005|2005");
    // German short months are abbreviated next to a day number.
    EXPECT_EQ(Date(At(2023, 3, 9), u"MMM yyyy", 0x407), u"M\u00e4r 2023");
    EXPECT_EQ(Date(At(2023, 9, 9), u"ddd, d. MMM", 0x407), u"Sa., 9. Sept.");
    EXPECT_EQ(Time(t, u"h|hh|hhh|H|HH|HHH", 0x409), u"12|12|12|0|00|00");
    EXPECT_EQ(Time(t, u"hh 'o''clock' mm", 0x409), u"12 o'clock 03");
    // Date letters are text in a time picture and the other way round.
    EXPECT_EQ(Time(t, u"d M y g HH", 0x409), u"d M y g 00");
    EXPECT_EQ(Date(t, u"d 'd' dd hh:mm:ss tt", 0x409), u"5 d 05 hh:mm:ss tt");
}

TEST(PictureStrings, TimeWithoutSeconds) {
    // What GetTimeFormatW with TIME_NOSECONDS makes of these pictures at 12:59:05.
    const SystemTime t = At(1999, 12, 31, 12, 59, 5);
    const struct {
        const char16_t* picture;
        const char16_t* text;
    } cases[] = {{u"s' sec'", u""},
                 {u"HH:mm:ss' Uhr'", u"12:59"},
                 {u"HH:mm 'a' ss 'b' tt", u"12:59  PM"},
                 {u"tt hh:mm:ss", u"PM 12:59"},
                 {u"ss mm", u" 59"},
                 {u"m:s:h", u"5912"}};
    for (const auto& c : cases) {
        EXPECT_EQ(FormatPicture(t, c.picture, 0x409, PictureKind::TimeNoSeconds), c.text) << PL::ToUtf8(c.picture);
        // The core leaves the seconds out of the picture itself: same text.
        EXPECT_EQ(Time(t, Data::PatternWithoutSeconds(c.picture), 0x409), c.text) << PL::ToUtf8(c.picture);
    }
    // Runs that come together once the seconds are gone stay apart.
    EXPECT_EQ(Time(t, Data::PatternWithoutSeconds(u"m:s:m"), 0x409), u"5959");
    EXPECT_EQ(Time(t, Data::PatternWithoutSeconds(u"HH 'it''s' ss 'x"), 0x409), u"12 ");
    EXPECT_EQ(Time(t, Data::PatternWithoutSeconds(u"HH:mm 'it''s"), 0x409), u"12:59 it's");
}

TEST(PictureStrings, TheNativePlatformRefusesWhatWin32Refuses) {
    PL::PosixPlatform native;
    EXPECT_EQ(native.FormatDate(At(2023, 2, 30), u"d.M.yyyy"), u"");
    EXPECT_EQ(native.FormatDate(At(1600, 12, 31), u"d.M.yyyy"), u"");
    EXPECT_EQ(native.FormatTime(At(2023, 1, 1, 24, 0, 0), u"HH:mm"), u"");
    EXPECT_EQ(native.FormatTime(At(2023, 13, 40, 23, 59, 59), u"HH:mm:ss"), u"23:59:59");  // the date is not looked at
}

class DateTimeTexts : public ::testing::Test {
protected:
    void SetUp() override { Data::ForgetLocalePatterns(); }
    void TearDown() override { Data::ForgetLocalePatterns(); }

    PL::TestPlatform platform;
    PL::ScopedPlatform scope{platform};
};

TEST_F(DateTimeTexts, TwoDigitYearsAreWidened) {
    const struct {
        const char16_t* pattern;
        const char16_t* kept;
    } cases[] = {{u"dd.MM.yy", u"dd.MM.yyyy"}, {u"d.M.y", u"d.M.y"}, {u"yy/yy", u"yyyy/yy"}};
    for (const auto& c : cases) {
        Data::ForgetLocalePatterns();
        platform.shortDatePattern = c.pattern;
        EXPECT_EQ(Data::ShortDatePattern(), c.kept) << PL::ToUtf8(c.pattern);
    }
}

TEST_F(DateTimeTexts, PatternsAreReadOnceAndOldDatesWrittenInFull) {
    platform.language = 0x409;
    platform.shortDatePattern = u"M/d/yy";
    platform.timePattern = u"h:mm:ss tt";
    const Calc::AstroTime t = Calc::FromCalendar(2024, 3, 5, 14, 7, 9);
    EXPECT_EQ(Data::FormatDate(t), u"3/5/2024");
    EXPECT_EQ(Data::FormatTime(t), u"2:07 PM");
    platform.shortDatePattern = u"yyyy-MM-dd";
    platform.timePattern = u"HH:mm:ss";
    EXPECT_EQ(Data::TimePattern(), u"h:mm:ss tt");
    // Dates the locale cannot show are written as year, month and day.
    EXPECT_EQ(Data::FormatDate(Calc::FromCalendar(1500, 6, 1)), u"1500-06-01");
    EXPECT_EQ(Data::FormatDate(Calc::FromCalendar(-100, 3, 15)), u"-0100-03-15");
    EXPECT_EQ(Data::FormatDate(Calc::FromCalendar(1601, 1, 1)), u"1/1/1601");
    Data::ForgetLocalePatterns();
    EXPECT_EQ(Data::FormatDate(t), u"2024-03-05");
    EXPECT_EQ(Data::FormatTime(t), u"14:07");
}

}  // namespace
