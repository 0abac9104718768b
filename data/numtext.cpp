#include "data/numtext.h"

#include "data/messages.h"
#include "data/platform.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace Data {

// --- decimal digits --------------------------------------------------------------------

namespace {

constexpr uint64_t kE17 = 100000000000000000ull;  // 10^17
constexpr uint64_t kE18 = 1000000000000000000ull;  // 10^18

// |x| = m x 10^(e - 17) with 10^17 <= m < 10^18; zero has m = 0, e = 0.
struct Digits {
    bool negative = false;
    int special = 0;  // 0 finite, 1 infinite, 2 not a number
    uint64_t m = 0;
    int e = 0;
};

Digits Decompose(double x) {
    Digits d;
    if (std::isnan(x)) {
        d.special = 2;
        return d;
    }
    d.negative = x < 0;
    if (std::isinf(x)) {
        d.special = 1;
        return d;
    }
    const double a = std::fabs(x);
    if (a == 0) return d;
    int e = static_cast<int>(std::floor(std::log10(a)));
    // 10^e underflows below about 1e-308: scale subnormal values up first.
    double m = e < -300 ? (a * 1e300) / std::pow(10.0, e + 300) : a / std::pow(10.0, e);
    // log10 and pow may be off by one near powers of ten: correct into [1, 10).
    for (int k = 0; k < 4 && m >= 10; ++k) { m /= 10; ++e; }
    for (int k = 0; k < 4 && m < 1; ++k) { m *= 10; --e; }
    uint64_t mm = static_cast<uint64_t>(m * 1e17 + 0.5);
    if (mm >= kE18) { mm = kE17; ++e; }
    if (mm < kE17) mm = kE17;
    d.m = mm;
    d.e = e;
    return d;
}

uint64_t Pow10(int n) {
    uint64_t p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

// Rounds to n significant digits (1..18); true when the exponent grew.
bool Round(Digits& d, int n) {
    if (d.m == 0 || n >= 18) return false;
    const uint64_t p = Pow10(18 - n);
    const uint64_t r = d.m % p;
    d.m = d.m - r + (r >= p / 2 ? p : 0);
    if (d.m >= kE18) {
        d.m /= 10;
        ++d.e;
        return true;
    }
    return false;
}

std::u16string SpecialText(const Digits& d) {
    if (d.special == 2) return u"NaN";
    return d.negative ? u"-Inf" : u"Inf";
}

// Writes digits already rounded to n significant digits.
std::u16string Render(const Digits& d, int n, bool keepZeros, bool exponentForm) {
    std::u16string out;
    std::u16string digits;
    if (d.m == 0) {
        digits.assign(keepZeros ? static_cast<size_t>(n) : 1, u'0');
    } else {
        if (d.negative) out += u'-';
        uint64_t m = d.m;
        char16_t all[18];
        for (int k = 17; k >= 0; --k) {
            all[k] = static_cast<char16_t>(u'0' + m % 10);
            m /= 10;
        }
        for (int k = 0; k < n; ++k) digits += k < 18 ? all[k] : u'0';
        if (!keepZeros)
            while (digits.size() > 1 && digits.back() == u'0') digits.pop_back();
    }
    const int len = static_cast<int>(digits.size());
    const int e = d.m == 0 ? 0 : d.e;
    if (exponentForm && d.m != 0) {
        out += digits[0];
        if (len > 1) {
            out += u'.';
            out.append(digits, 1, std::u16string::npos);
        }
        out += u'e';
        if (e < 0) out += u'-';
        out += FormatInt(e < 0 ? -e : e);
    } else if (e < 0) {
        out += u"0.";
        out.append(static_cast<size_t>(-e - 1), u'0');
        out += digits;
    } else {
        const int total = len > e + 1 ? len : e + 1;
        for (int k = 0; k < total; ++k) {
            out += k < len ? digits[static_cast<size_t>(k)] : u'0';
            if (k == e && k != total - 1) out += u'.';
        }
    }
    return out;
}

}  // namespace

std::u16string FormatInt(long long n) {
    unsigned long long u = n < 0 ? 0ull - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    std::u16string s;
    do {
        s.insert(s.begin(), static_cast<char16_t>(u'0' + u % 10));
        u /= 10;
    } while (u);
    if (n < 0) s.insert(s.begin(), u'-');
    return s;
}

std::u16string FormatSignificant(double x, int n) {
    Digits d = Decompose(x);
    if (d.special) return SpecialText(d);
    int k = n < 0 ? -n : n;
    if (k < 1) k = 1;
    if (k > 15) k = 15;
    Round(d, k);
    return Render(d, k, n < 0, d.m != 0 && (d.e < -4 || d.e > 6));
}

namespace {

// fixedOnly: never the exponent form (the fields of sexagesimal text, which
// its reader could not read back).
std::u16string Resolution(double x, double r, bool fixedOnly) {
    if (r == 0 || !std::isfinite(r)) r = 0;
    Digits d = Decompose(x);
    if (d.special) return SpecialText(d);
    if (r == 0) {
        Round(d, 15);
        return Render(d, 15, false, !fixedOnly && d.m != 0 && (d.e < -4 || d.e > 6));
    }
    const bool keepZeros = r < 0;
    const int ex = d.e;
    const int er = Decompose(std::fabs(r) * 1.01).e;  // 0.1 gives -1 even when stored as 0.0999...
    const bool exponentForm = !fixedOnly && (ex < -4 || ex >= 7);
    int n = ex - er + 1;
    if (n > 15) n = 15;  // more than a double holds
    if (d.m != 0 && n == 0 && d.m >= kE18 / 2) {
        // Rounding to no digit at all carries into one more: 0.6 to 1 is 1.
        d.m = kE17;
        ++d.e;
        n = 1;
    } else if (d.m != 0 && n >= 1 && Round(d, n)) {
        ++n;  // 9.96 to 0.1 is 10.0: one digit more
    }
    if (n < 1 || d.m == 0) {
        Digits zero;
        int z = 1 - er;
        if (z < 1) z = 1;
        if (z > 15) z = 15;
        return Render(zero, z, keepZeros, false);
    }
    return Render(d, n, keepZeros, exponentForm);
}

}  // namespace

std::u16string FormatResolution(double x, double r) { return Resolution(x, r, false); }

bool ParseNumber(const std::u16string& text, double& value) {
    std::u16string s;
    for (char16_t c : text)
        if (c != u' ') s += c;
    size_t i = 0;
    const size_t n = s.size();
    auto isDigit = [&] { return i < n && s[i] >= u'0' && s[i] <= u'9'; };

    bool negative = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
    uint64_t integer = 0;
    int intDigits = 0;
    while (isDigit()) {
        if (++intDigits > 18) return false;
        integer = integer * 10 + (s[i++] - u'0');
    }
    uint64_t fraction = 0;
    int fracDigits = 0;
    if (i < n && s[i] == u'.') {
        ++i;
        while (isDigit()) {
            if (++fracDigits > 18) return false;
            fraction = fraction * 10 + (s[i++] - u'0');
        }
    }
    if (intDigits == 0 && fracDigits == 0) return false;
    long exponent = 0;
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        ++i;
        bool expNegative = false;
        if (i < n && (s[i] == u'+' || s[i] == u'-')) expNegative = s[i++] == u'-';
        if (!isDigit()) return false;
        while (isDigit()) {
            if (exponent < 100000) exponent = exponent * 10 + (s[i] - u'0');  // beyond that only the sign matters
            ++i;
        }
        if (expNegative) exponent = -exponent;
    }
    if (i != n) return false;

    double v = static_cast<double>(integer);
    if (fracDigits > 0) v += static_cast<double>(fraction) / std::pow(10.0, fracDigits);
    if (v != 0 && exponent != 0) {
        // Dividing by an exact power of ten keeps 1.23e-5 as close as 0.0000123.
        if (exponent < 0 && exponent >= -22) v /= std::pow(10.0, static_cast<double>(-exponent));
        else if (exponent < -300) v = v * 1e-300 * std::pow(10.0, static_cast<double>(exponent + 300));
        else v *= std::pow(10.0, static_cast<double>(exponent));
    }
    if (!std::isfinite(v)) return false;  // beyond the range of a double
    value = negative ? -v : v;
    return true;
}

// --- sexagesimal ------------------------------------------------------------------------

const char16_t kHourUnits[] = u"hms";
const char16_t kDegreeUnits[] = u"\u00b0'\"";
const char16_t kAutoAngleSpec[] = u"hm0|hm0|hm0|ms0|ms0|s2|s3|s4";

bool ParseAngleSpec(const std::u16string& text, AngleSpec& spec) {
    static const char16_t kLetters[] = u"hms";
    if (text.empty()) return false;
    AngleSpec s;
    size_t i = 0;
    if (text[0] == u'h') s.firstUnit = 0;
    else if (text[0] == u'm') s.firstUnit = 1;
    else if (text[0] == u's') s.firstUnit = 2;
    else return false;
    s.lastUnit = s.firstUnit;
    ++i;
    while (i < text.size() && s.lastUnit < 2 && text[i] == kLetters[s.lastUnit + 1]) {
        ++s.lastUnit;
        ++i;
    }
    const size_t digitsStart = i;
    int decimals = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9') return false;
        decimals = decimals * 10 + (text[i] - u'0');
        if (decimals > 20) return false;
    }
    s.decimals = decimals;
    s.keepZeros = text.size() - digitsStart > 1 && text[digitsStart] == u'0';
    spec = s;
    return true;
}

namespace {

bool HasNonZeroDigit(const std::u16string& s) {
    for (char16_t c : s)
        if (c >= u'1' && c <= u'9') return true;
    return false;
}

// Integer part shorter than two characters: one "0" in front (07, 05.3).
std::u16string PadTwo(const std::u16string& s) {
    size_t k = 0;
    while (k < s.size() && s[k] >= u'0' && s[k] <= u'9') ++k;
    return k < 2 ? u"0" + s : s;
}

std::u16string FormatWithSpec(double x, const AngleSpec& spec, const std::u16string& units) {
    if (!std::isfinite(x)) return FormatResolution(x, 1);
    auto unit = [&](int k) { return k < static_cast<int>(units.size()) ? std::u16string(1, units[k]) : std::u16string(); };
    const double step = std::pow(10.0, -spec.decimals);
    const double r = spec.keepZeros ? -step : step;
    const bool sign = x < 0;
    x = std::fabs(x);

    double whole = 0, minutes = 0, seconds = 0;
    if (spec.lastUnit >= 1) {
        whole = std::trunc(x);
        minutes = (x - whole) * 60;
        if (spec.lastUnit == 1) {
            if (minutes + step / 2 >= 60) {
                minutes -= 60;
                whole += 1;
            }
        } else {
            seconds = (minutes - std::trunc(minutes)) * 60;
            minutes = std::trunc(minutes);
            if (seconds + step / 2 >= 60) {
                seconds -= 60;
                minutes += 1;
            }
            if (minutes >= 60) {
                minutes -= 60;
                whole += 1;
            }
        }
        // A first field of minutes or seconds takes in the larger units
        // ("s0" of 2 h is 7200s, "ms0" of 2.5 h is 150m00s).
        if (spec.firstUnit >= 1) {
            minutes += whole * 60;
            whole = 0;
        }
        if (spec.firstUnit == 2) {
            seconds += minutes * 60;
            minutes = 0;
        }
    }

    std::u16string out;
    if (spec.firstUnit == 0) {
        out += spec.lastUnit == 0 ? Resolution(x, r, true) : Resolution(whole, 1, true);
        out += unit(0);
    }
    if (spec.firstUnit <= 1 && spec.lastUnit >= 1) {
        std::u16string m = Resolution(minutes, spec.lastUnit == 1 ? r : 1, true);
        out += spec.firstUnit == 0 ? PadTwo(m) : m;
        out += unit(1);
    }
    if (spec.lastUnit == 2) {
        std::u16string s = Resolution(seconds, r, true);
        out += spec.firstUnit < 2 ? PadTwo(s) : s;
        out += unit(2);
    }
    // A value whose every field rounds to zero is zero: no "-0h00m".
    return sign && HasNonZeroDigit(out) ? u"-" + out : out;
}

}  // namespace

std::u16string FormatSexagesimal(double x, const std::u16string& spec, const std::u16string& units) {
    std::vector<std::u16string> alternatives(1);
    for (char16_t c : spec) {
        if (c == u'|') alternatives.emplace_back();
        else alternatives.back() += c;
    }
    size_t k = 0;
    if (alternatives.size() > 1) {
        const double a = std::fabs(x);
        k = (a < 100) + (a < 10) + (a < 1) + (a < 1.0 / 6) + (a < 1.0 / 60) + (a < 1.0 / 360) + (a < 1.0 / 3600);
        if (k >= alternatives.size()) k = alternatives.size() - 1;
    }
    AngleSpec s;
    if (!ParseAngleSpec(alternatives[k], s)) return u"Invalid format specification";
    return FormatWithSpec(x, s, units);
}

bool ParseSexagesimal(const std::u16string& text, float& value) {
    std::u16string s;
    for (char16_t c : text)
        if (c != u' ') s += c;
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';

    auto group = [](char16_t c) {
        if (c == u'h' || c == u'\u00b0' || c == u':') return 0;
        if (c == u'm' || c == u'\'') return 1;
        if (c == u's' || c == u'"') return 2;
        return -1;
    };
    double fields[3] = {0, 0, 0};
    int last = -1;  // the field read last
    bool any = false;
    while (i < s.size()) {
        const size_t start = i;
        while (i < s.size() && ((s[i] >= u'0' && s[i] <= u'9') || s[i] == u'.')) ++i;
        if (i == start) return false;  // a unit without number, a second sign, any other character
        double v;
        if (!ParseNumber(s.substr(start, i - start), v)) return false;
        int field;
        if (i < s.size()) {
            field = group(s[i]);
            if (field < 0) return false;
            ++i;
        } else {
            field = last + 1;  // closed by the end: the field after the previous one
        }
        if (field <= last || field > 2) return false;
        fields[field] = v;
        last = field;
        any = true;
    }
    if (!any) return false;
    const double x = fields[0] + fields[1] / 60 + fields[2] / 3600;
    if (!std::isfinite(static_cast<float>(x))) return false;
    value = static_cast<float>(negative ? -x : x);
    return true;
}

// --- named formatters -----------------------------------------------------------------

namespace {

const Message kMsgNorth{{0x409, u"N"}, {0x407, u"N"}};
const Message kMsgSouth{{0x409, u"S"}, {0x407, u"S"}};
const Message kMsgEast{{0x409, u"E"}, {0x407, u"O"}};
const Message kMsgWest{{0x409, u"W"}, {0x407, u"W"}};
const Message kMsgKm{{0x409, u"km"}, {0x407, u"km"}};
const Message kMsgAU{{0x409, u"AU"}, {0x407, u"AE"}};
const Message kMsgLightYears{{0x409, u"ly"}, {0x407, u"Lj"}};

constexpr double kKmBelowAU = 29919574.4;         // 0.2 AU
constexpr double kKmBelowLy = 9460730822.656;
constexpr double kAUPerKm = 6.684587e-9;
constexpr double kLyPerKm = 1.0570008e-13;
constexpr double kLightSecondsPerKm = 3.335641e-6;

}  // namespace

std::u16string FormatHoursMinutes(double hours) { return FormatSexagesimal(hours, u"hm0", kHourUnits); }

std::u16string FormatRightAscension(double hours) { return FormatSexagesimal(hours, u"hm1", kHourUnits); }

std::u16string FormatDegrees(double degrees) { return FormatSexagesimal(degrees, u"hm0", kDegreeUnits); }

std::u16string FormatHoursAuto(double hours) { return FormatSexagesimal(hours, kAutoAngleSpec, kHourUnits); }

std::u16string FormatDegreesAuto(double degrees) {
    return FormatSexagesimal(degrees, kAutoAngleSpec, kDegreeUnits);
}

std::u16string FormatHourAngle(double hours) {
    if (std::isfinite(hours)) hours -= std::floor(hours / 24) * 24;
    if (hours < 12) return FormatSexagesimal(hours, u"hm1", u"h" + MessageText(kMsgWest) + u" ");
    return FormatSexagesimal(24 - hours, u"hm1", u"h" + MessageText(kMsgEast) + u" ");
}

std::u16string FormatLatitude(double degrees) {
    return FormatDegrees(std::fabs(degrees)) + MessageText(degrees >= 0 ? kMsgNorth : kMsgSouth);
}

std::u16string FormatLongitude(double westDegrees) {
    return FormatDegrees(std::fabs(westDegrees)) + MessageText(westDegrees >= 0 ? kMsgWest : kMsgEast);
}

std::u16string FormatDegreesDecimal(double degrees) { return FormatResolution(degrees, 0.1) + u"\u00b0"; }

std::u16string FormatLongitudeDecimal(double westDegrees) {
    return FormatDegreesDecimal(std::fabs(westDegrees)) + MessageText(westDegrees >= 0 ? kMsgWest : kMsgEast);
}

std::u16string FormatDaysTime(double days, bool decimalDays) {
    if (decimalDays || !std::isfinite(days)) return FormatResolution(days, 0.0001);
    const bool negative = days < 0;
    double a = std::fabs(days);
    double whole = std::trunc(a);
    double hours = (a - whole) * 24;
    // A rest that rounds to a full day is one day more, not "24h00m".
    if (hours * 60 + 0.5 >= 24 * 60) {
        whole += 1;
        hours = 0;
    }
    const std::u16string text = FormatResolution(whole, 1) + u"d" + FormatHoursMinutes(hours);
    return (negative && HasNonZeroDigit(text) ? u"-" : u"") + text;
}

std::u16string FormatDistance(double km) {
    if (km < kKmBelowAU) return FormatSignificant(km, 4) + u" " + MessageText(kMsgKm);
    if (km < kKmBelowLy) return FormatSignificant(km * kAUPerKm, 4) + u" " + MessageText(kMsgAU);
    return FormatSignificant(km * kLyPerKm, 3) + u" " + MessageText(kMsgLightYears);
}

std::u16string FormatLightTime(double km) {
    const double t = km * kLightSecondsPerKm;
    if (km < kKmBelowAU) return FormatSignificant(t, 4) + u" s";
    if (km < kKmBelowLy) return FormatSexagesimal(t / 3600, t < 3600 ? u"ms0" : u"hm0", kHourUnits);
    return u"";
}

// --- locale date and time ---------------------------------------------------------------

namespace {

bool g_patternsRead = false;
std::u16string g_datePattern;
std::u16string g_timePattern;

void ReadPatterns() {
    if (g_patternsRead) return;
    PL::Platform& pl = PL::Current();
    g_datePattern = pl.ShortDatePattern();
    if (g_datePattern.find(u"yyyy") == std::u16string::npos) {
        const size_t yy = g_datePattern.find(u"yy");
        if (yy != std::u16string::npos) g_datePattern.insert(yy, u"yy");
    }
    g_timePattern = pl.TimePattern();
    g_patternsRead = true;
}

std::u16string TwoDigits(int v) { return (v < 10 ? u"0" : u"") + FormatInt(v); }

PL::SystemTime ToSystemTime(const Calc::CalendarDate& c, Calc::AstroTime t) {
    PL::SystemTime st;
    st.year = static_cast<uint16_t>(c.year);
    st.month = static_cast<uint16_t>(c.month);
    st.dayOfWeek = static_cast<uint16_t>(Calc::DayOfWeek(t));
    st.day = static_cast<uint16_t>(c.day);
    st.hour = static_cast<uint16_t>(c.hour);
    st.minute = static_cast<uint16_t>(c.minute);
    st.second = static_cast<uint16_t>(c.second);
    return st;
}

}  // namespace

std::u16string ShortDatePattern() {
    ReadPatterns();
    return g_datePattern;
}

std::u16string TimePattern() {
    ReadPatterns();
    return g_timePattern;
}

void ForgetLocalePatterns() {
    g_patternsRead = false;
    g_datePattern.clear();
    g_timePattern.clear();
}

std::u16string PatternWithoutSeconds(const std::u16string& pattern) {
    // Split into fields (runs of a time letter), quoted text and single
    // characters, keep them as written, and drop what TIME_NOSECONDS drops.
    struct Piece {
        std::u16string text;
        char16_t field;  // the letter of a field, 0 for text
    };
    auto isTimeLetter = [](char16_t c) { return c == u'h' || c == u'H' || c == u'm' || c == u's' || c == u't'; };
    std::vector<Piece> out;
    size_t lastField = 0;
    bool skipping = false;
    size_t i = 0;
    const size_t n = pattern.size();
    while (i < n) {
        const char16_t c = pattern[i];
        if (c == u'\'') {
            const size_t start = i++;
            bool closed = false;
            while (i < n) {
                if (pattern[i] == u'\'') {
                    ++i;
                    if (i >= n || pattern[i] != u'\'') {
                        closed = true;
                        break;
                    }
                }
                ++i;
            }
            // An unclosed quote runs to the end; close it so that nothing
            // added after it is taken as quoted text.
            std::u16string quoted = pattern.substr(start, i - start) + (closed ? u"" : u"'");
            if (!skipping) out.push_back({quoted, 0});
            continue;
        }
        if (!isTimeLetter(c)) {
            if (!skipping || c == u' ') out.push_back({std::u16string(1, c), 0});
            ++i;
            continue;
        }
        size_t run = 1;
        while (i + run < n && pattern[i + run] == c) ++run;
        std::u16string field = pattern.substr(i, run);
        i += run;
        if (c == u's') {
            out.resize(lastField);
            skipping = true;
            continue;
        }
        skipping = false;
        // Two runs of the same letter that come together must stay apart.
        if (!out.empty() && out.back().field == c) out.push_back({u"''", 0});
        out.push_back({field, c});
        lastField = out.size();
    }
    std::u16string result;
    for (const Piece& p : out) result += p.text;
    return result;
}

std::u16string FormatDate(Calc::AstroTime moment) {
    const Calc::CalendarDate c = Calc::ToCalendar(moment);
    std::u16string text;
    if (c.year >= 1601 && c.year <= 30827) text = PL::Current().FormatDate(ToSystemTime(c, moment), ShortDatePattern());
    if (text.empty()) {
        // Beyond what the locale functions take: year-month-day.
        std::u16string year = FormatInt(c.year < 0 ? -c.year : c.year);
        while (year.size() < 4) year.insert(year.begin(), u'0');
        text = (c.year < 0 ? u"-" : u"") + year + u"-" + TwoDigits(c.month) + u"-" + TwoDigits(c.day);
    }
    return text;
}

std::u16string FormatTime(Calc::AstroTime moment) {
    const Calc::CalendarDate c = Calc::ToCalendar(moment);
    std::u16string text = PL::Current().FormatTime(ToSystemTime(c, moment), PatternWithoutSeconds(TimePattern()));
    if (text.empty()) text = TwoDigits(c.hour) + u":" + TwoDigits(c.minute);
    return text;
}

std::u16string UtcTimestamp(bool iso) {
    const PL::SystemTime t = PL::UtcNow();
    auto pad = [](unsigned v, size_t w) {
        std::u16string s = FormatInt(v);
        while (s.size() < w) s.insert(s.begin(), u'0');
        return s;
    };
    if (!iso)
        return pad(t.year, 4) + pad(t.month, 2) + pad(t.day, 2) + u"T" + pad(t.hour, 2) + pad(t.minute, 2) +
               pad(t.second, 2);
    return pad(t.year, 4) + u"-" + pad(t.month, 2) + u"-" + pad(t.day, 2) + u"T" + pad(t.hour, 2) + u":" +
           pad(t.minute, 2) + u":" + pad(t.second, 2) + u"." + pad(t.milliseconds, 3) + u"Z";
}

}  // namespace Data
