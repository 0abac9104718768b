// The date and time picture strings of the locale functions, for the native
// build: the same language as GetDateFormatW/GetTimeFormatW, so that the
// program's date and time texts read alike on both builds.
#include "data/native/posix_platform.h"

namespace PL {

namespace {

using Names7 = const char16_t* const[7];
using Names12 = const char16_t* const[12];

const Names7 kDaysEn = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
const Names7 kDaysEnShort = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
const Names12 kMonthsEn = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                           u"July",    u"August",   u"September", u"October", u"November", u"December"};
const Names12 kMonthsEnShort = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
const Names12 kMonthsGbShort = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                u"Jul", u"Aug", u"Sept", u"Oct", u"Nov", u"Dec"};
const Names7 kDaysDe = {u"Sonntag", u"Montag", u"Dienstag", u"Mittwoch", u"Donnerstag", u"Freitag", u"Samstag"};
const Names7 kDaysDeShort = {u"So.", u"Mo.", u"Di.", u"Mi.", u"Do.", u"Fr.", u"Sa."};
const Names12 kMonthsDe = {u"Januar", u"Februar", u"M\u00e4rz",    u"April",   u"Mai",      u"Juni",
                           u"Juli",   u"August",  u"September", u"Oktober", u"November", u"Dezember"};
const Names12 kMonthsDeShort = {u"Jan", u"Feb", u"M\u00e4r", u"Apr", u"Mai", u"Jun",
                                u"Jul", u"Aug", u"Sep",      u"Okt", u"Nov", u"Dez"};
const Names12 kMonthsDeShortWithDay = {u"Jan.", u"Feb.", u"M\u00e4rz", u"Apr.", u"Mai",  u"Juni",
                                       u"Juli", u"Aug.", u"Sept.",     u"Okt.", u"Nov.", u"Dez."};
// Austria says J\u00e4nner.
const Names12 kMonthsAt = {u"J\u00e4nner", u"Februar", u"M\u00e4rz",    u"April",   u"Mai",      u"Juni",
                           u"Juli",        u"August",  u"September", u"Oktober", u"November", u"Dezember"};
const Names12 kMonthsAtShort = {u"J\u00e4n", u"Feb", u"M\u00e4r", u"Apr", u"Mai", u"Jun",
                                u"Jul",      u"Aug", u"Sep",      u"Okt", u"Nov", u"Dez"};
const Names12 kMonthsAtShortWithDay = {u"J\u00e4n.", u"Feb.", u"M\u00e4rz", u"Apr.", u"Mai",  u"Juni",
                                       u"Juli",      u"Aug.", u"Sep.",      u"Okt.", u"Nov.", u"Dez."};

struct LocaleTexts {
    const Names7& days;
    const Names7& daysShort;
    const Names12& months;
    const Names12& monthsShort;
    // Abbreviated month names after a day number ("9. Jan. 2023"), where
    // the language has a separate form for them.
    const Names12& monthsShortWithDay;
    const char16_t* era;
    const char16_t* am;
    const char16_t* pm;
};

const LocaleTexts kEnglish = {kDaysEn, kDaysEnShort, kMonthsEn, kMonthsEnShort, kMonthsEnShort, u"AD", u"AM", u"PM"};
const LocaleTexts kBritish = {kDaysEn, kDaysEnShort, kMonthsEn, kMonthsGbShort, kMonthsGbShort, u"AD", u"am", u"pm"};
const LocaleTexts kGerman = {kDaysDe,        kDaysDeShort,          kMonthsDe, kMonthsDeShort,
                             kMonthsDeShortWithDay, u"n. Chr.", u"AM", u"PM"};
const LocaleTexts kAustrian = {kDaysDe,        kDaysDeShort,          kMonthsAt, kMonthsAtShort,
                               kMonthsAtShortWithDay, u"n. Chr.", u"AM", u"PM"};

const LocaleTexts& TextsFor(uint16_t language) {
    if (language == 0x0C07) return kAustrian;
    if ((language & 0x3FF) == 0x07) return kGerman;
    if (language == 0x0809) return kBritish;
    return kEnglish;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static const int d[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : d[m - 1];
}

// Gregorian weekday, 0 = Sunday (Sakamoto's method).
int Weekday(int y, int m, int d) {
    static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (m < 3) y -= 1;
    return (y + y / 4 - y / 100 + y / 400 + t[m - 1] + d) % 7;
}

std::u16string Number(unsigned v, int width) {
    std::u16string s;
    do {
        s.insert(s.begin(), char16_t(u'0' + v % 10));
        v /= 10;
    } while (v);
    while (static_cast<int>(s.size()) < width) s.insert(s.begin(), u'0');
    return s;
}

bool IsDateLetter(char16_t c) { return c == u'd' || c == u'M' || c == u'y' || c == u'g'; }
bool IsTimeLetter(char16_t c) { return c == u'h' || c == u'H' || c == u'm' || c == u's' || c == u't'; }

}  // namespace

bool ValidPictureDate(const SystemTime& t) {
    return t.year >= 1601 && t.year <= 30827 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= DaysInMonth(t.year, t.month);
}

bool ValidPictureTime(const SystemTime& t) {
    return t.hour < 24 && t.minute < 60 && t.second < 60 && t.milliseconds < 1000;
}

std::u16string FormatPicture(const SystemTime& t, const std::u16string& pattern, uint16_t language,
                             PictureKind kind) {
    const LocaleTexts& texts = TextsFor(language);
    const bool date = kind == PictureKind::Date;
    bool dayNumberBefore = false;  // a d or dd field came before: short months take their form next to a day
    const int month = (t.month >= 1 && t.month <= 12) ? t.month : 1;
    const int weekday = Weekday(t.year, month, t.day);

    std::u16string out;
    size_t lastField = 0;   // length of out after the last field
    bool skipping = false;  // after left-out seconds, up to the next field
    size_t i = 0;
    const size_t n = pattern.size();
    while (i < n) {
        const char16_t c = pattern[i];
        if (c == u'\'') {
            // Quoted text: up to the closing quote; '' inside gives one quote;
            // an unclosed quote runs to the end.
            ++i;
            while (i < n) {
                if (pattern[i] == u'\'') {
                    ++i;
                    if (i >= n || pattern[i] != u'\'') break;
                }
                if (!skipping) out += pattern[i];
                ++i;
            }
            continue;
        }
        if (!(date ? IsDateLetter(c) : IsTimeLetter(c))) {
            if (!skipping || c == u' ') out += c;
            ++i;
            continue;
        }
        size_t run = 1;
        while (i + run < n && pattern[i + run] == c) ++run;
        i += run;
        skipping = false;
        switch (c) {
            case u'd':
                if (run <= 2) {
                    out += Number(t.day, static_cast<int>(run));
                    dayNumberBefore = true;
                }
                else if (run == 3) out += texts.daysShort[weekday];
                else out += texts.days[weekday];
                break;
            case u'M':
                if (run == 1) out += Number(t.month, 1);
                else if (run == 2) out += Number(t.month, 2);
                else if (run == 3) out += (dayNumberBefore ? texts.monthsShortWithDay : texts.monthsShort)[month - 1];
                else out += texts.months[month - 1];
                break;
            case u'y':
                if (run <= 2) out += Number(t.year % 100, 2);
                else out += Number(t.year, 1);
                break;
            case u'g':
                for (size_t k = 0; k < run; ++k) out += texts.era;
                break;
            case u'h': {
                const unsigned h = t.hour % 12;
                out += Number(h == 0 ? 12 : h, run >= 2 ? 2 : 1);
                break;
            }
            case u'H': out += Number(t.hour, run >= 2 ? 2 : 1); break;
            case u'm': out += Number(t.minute, run >= 2 ? 2 : 1); break;
            case u's':
                if (kind == PictureKind::TimeNoSeconds) {
                    out.resize(lastField);  // the separator in front of the seconds goes too
                    skipping = true;
                    continue;
                }
                out += Number(t.second, run >= 2 ? 2 : 1);
                break;
            case u't': {
                const char16_t* marker = t.hour < 12 ? texts.am : texts.pm;
                out += run == 1 ? std::u16string(marker, 1) : std::u16string(marker);
                break;
            }
        }
        lastField = out.size();
    }
    return out;
}

}  // namespace PL
