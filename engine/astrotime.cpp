#include "engine/astrotime.h"

#include <cmath>
#include <cstdint>

#include "data/numtext.h"
#include "data/platform.h"
#include "engine/vecmath.h"

namespace Calc {

namespace {

constexpr int32_t kSecondsPerDay = 86400;

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

AstroTime FromCalendar(int year, int month, int day, int hour, int minute, int second) {
    // Meeus, ch. 7; the Gregorian correction from 1582-10-15 on.
    double y = year, m = month;
    if (month < 3) {
        y -= 1;
        m += 12;
    }
    double b = 0;
    if (y * 10000.0 + m * 100.0 + day > 15821004.1) {
        double a = std::trunc(y / 100.0);
        b = 2 - a + std::trunc(a / 4.0);
    }
    double d = std::trunc(365.25 * (y + 4716)) + std::trunc(30.6001 * (m + 1)) + b + day - 2401525.0;
    AstroTime t;
    t.day = static_cast<int32_t>(d);
    t.seconds = (hour * 60 + minute) * 60 + second;
    return t;
}

CalendarDate ToCalendar(AstroTime t) {
    // Meeus, ch. 7; the half second rounds to the nearest second.
    double jd = static_cast<double>(t.day) + 2400001.0 + (t.seconds + 0.5) / 86400.0;
    double z = std::floor(jd);
    double f = jd - z;
    double a = z;
    if (z >= 2299161) {
        double alpha = std::trunc((z - 1867216.25) / 36524.25);
        a = z + 1 + alpha - std::trunc(alpha / 4.0);
    }
    double b = a + 1524;
    double c = std::trunc((b - 122.1) / 365.25);
    double d = std::trunc(365.25 * c);
    double e = std::trunc((b - d) / 30.6001);
    double dayf = b - d - std::trunc(30.6001 * e) + f;
    CalendarDate out;
    out.day = static_cast<int>(std::trunc(dayf));
    out.month = e < 14 ? static_cast<int>(e) - 1 : static_cast<int>(e) - 13;
    out.year = out.month > 2 ? static_cast<int>(c) - 4716 : static_cast<int>(c) - 4715;
    float h = static_cast<float>(dayf - std::trunc(dayf)) * 24.0f;
    out.hour = static_cast<int>(h);
    float mi = (h - out.hour) * 60.0f;
    out.minute = static_cast<int>(mi);
    float s = (mi - out.minute) * 60.0f;
    out.second = static_cast<int>(s);
    return out;
}

AstroTime Normalize(AstroTime t) {
    int64_t q = FloorDiv(t.seconds, kSecondsPerDay);
    t.day = static_cast<int32_t>(t.day + q);
    t.seconds = static_cast<int32_t>(t.seconds - q * kSecondsPerDay);
    return t;
}

int Compare(AstroTime a, AstroTime b) {
    double x = a.day + a.seconds / 86400.0;
    double y = b.day + b.seconds / 86400.0;
    return x > y ? 1 : (x < y ? -1 : 0);
}

int32_t DiffSeconds(AstroTime a, AstroTime b) {
    // 32-bit by definition: callers compare moments less than 68 years apart.
    return static_cast<int32_t>(static_cast<uint32_t>(a.day - b.day) * 86400u +
                                static_cast<uint32_t>(a.seconds - b.seconds));
}

namespace {

AstroTime AddSecondsWide(AstroTime t, int64_t seconds) {
    int64_t s = static_cast<int64_t>(t.seconds) + seconds;
    int64_t q = FloorDiv(s, kSecondsPerDay);
    AstroTime r;
    r.day = static_cast<int32_t>(t.day + q);
    r.seconds = static_cast<int32_t>(s - q * kSecondsPerDay);
    return r;
}

}  // namespace

AstroTime AddSeconds(AstroTime t, int32_t seconds) { return AddSecondsWide(t, seconds); }
AstroTime SubSeconds(AstroTime t, int32_t seconds) { return AddSecondsWide(t, -static_cast<int64_t>(seconds)); }

double ToJulianDay(AstroTime t) { return t.day + 2400000.5 + t.seconds / 86400.0; }

AstroTime FromJulianDay(double jd) {
    if (jd < 100000.0) jd += 2400000.5;  // a Modified Julian Date
    if (!(jd >= 2400001.0 && jd <= 2e9)) return AstroTime::Invalid();
    double m = jd - 2400000.5 + 5.787037037037037e-6;  // plus half a second
    double d = std::trunc(m);
    AstroTime t;
    t.day = static_cast<int32_t>(d);
    t.seconds = static_cast<int32_t>(std::trunc((m - d) * 86400.0));
    if (t.seconds > 86399) t.seconds = 86399;
    return t;
}

bool ParseJulianDay(const std::u16string& text, AstroTime& out) {
    double v = 0;
    if (!Data::ParseNumber(text, v) || v <= 0 || v > 2e9) {
        out = AstroTime::Invalid();
        return false;
    }
    // Numbers in range as such can still name no valid time: an MJD below
    // 0.5 and Julian Days from 100000 to 2400001.
    out = FromJulianDay(v);
    return out.IsValid();
}

std::u16string FormatJulianDay(AstroTime t, int decimals) {
    auto digits = [](int64_t v, int width) {
        std::u16string s;
        uint64_t u = static_cast<uint64_t>(v < 0 ? -v : v);
        do {
            s.insert(s.begin(), char16_t(u'0' + u % 10));
            u /= 10;
        } while (u);
        while (static_cast<int>(s.size()) < width) s.insert(s.begin(), u'0');
        if (v < 0) s.insert(s.begin(), u'-');
        return s;
    };
    if (t.day <= 0) return u"0";
    t = Normalize(t);
    // The Julian Day begins at noon.
    int64_t s = t.seconds + 43200;
    int64_t whole = static_cast<int64_t>(t.day) + 2400000;
    if (s >= 86400) {
        whole += 1;
        s -= 86400;
    }
    if (decimals == 0) return digits(whole + (s >= 43200 ? 1 : 0), 1);
    int n = decimals < 0 ? -decimals : decimals;
    if (n > 9) n = 9;  // more than the second resolution could show; keeps the integer arithmetic in range
    int64_t scale = 1;
    for (int i = 0; i < n; ++i) scale *= 10;
    int64_t frac = (scale * s * 12500 + 540000000) / 1080000000;  // s / 86400, half up
    if (frac >= scale) {  // 0.99999... rounded up: carry into the day
        frac -= scale;
        whole += 1;
    }
    std::u16string text = digits(whole, 1) + u"." + digits(frac, n);
    if (decimals < 0 && text.size() > 4) text.insert(4, u" ");
    return text;
}

float JulianCenturies(AstroTime t) {
    return t.day * 2.7378508e-5f + t.seconds * 3.1688085e-10f - 1.4112115f;
}

float GreenwichSiderealTime(AstroTime t) {
    // The day is split at 366 days so that no single-precision product loses
    // the fraction of a revolution.
    int32_t q = t.day / 366;
    int32_t r = t.day - 366 * q;
    float rev = 0.15488873f + 0.0020748223f * q + 0.0027379093f * r + 1.1605763e-5f * t.seconds;
    return Frac(rev) * 24.0f;
}

float LocalSiderealTime(float gmstHours, float westLongitudeDeg) {
    return Reduce(gmstHours - westLongitudeDeg / 15.0f, 24.0f);
}

float EquationOfTime(AstroTime t) {
    // y sin 2L - 2e sin M + 4ey sin M cos 2L - y^2/2 sin 4L - 5e^2/4 sin 2M,
    // in hours (Smart, Spherical Astronomy; Meeus ch. 28).
    float L = Reduce(4.114895f + 0.01720279f * t.day + 1.9910638e-7f * t.seconds, kTwoPi);
    float M = Reduce(5.5022445f + 0.01720197f * t.day + 1.9909687e-7f * t.seconds, kTwoPi);
    float s2L, c2L, sM, cM;
    SinCos(2 * L, &s2L, &c2L);
    SinCos(M, &sM, &cM);
    float s4L = 2 * s2L * c2L;
    float s2M = 2 * sM * cM;
    return (0.16464391f - 5.1243316e-9f * t.day) * s2L - 0.12766774f * sM + 0.010988241f * sM * c2L -
           0.0035370032f * s4L - 0.0013334629f * s2M;
}

int DayOfWeek(AstroTime t) {
    // MJD 0 (1858-11-17) was a Wednesday.
    int64_t d = FloorDiv(static_cast<int64_t>(t.day) + 3, 7);
    return static_cast<int>(static_cast<int64_t>(t.day) + 3 - d * 7);
}

AstroTime Now() {
    PL::SystemTime st = PL::UtcNow();
    return FromCalendar(st.year, st.month, st.day, st.hour, st.minute, st.second);
}

namespace {

// The moment of a time-zone rule in `year`, as a clock time of the rule's
// own kind (local standard time for the start, local summer time for the end).
AstroTime RuleMoment(const PL::SystemTime& rule, int year) {
    if (rule.year != 0) {
        // An absolute date and time.
        return FromCalendar(rule.year, rule.month, rule.day, rule.hour, rule.minute, rule.second);
    }
    // Weekday rule: the n-th (1..4) or last (5) such weekday of the month.
    // The rule's hour applies, as the device switches its clock at that hour.
    const int month = rule.month;
    AstroTime first = FromCalendar(year, month, 1);
    int dom;
    if (rule.day >= 5) {
        AstroTime nextFirst = month == 12 ? FromCalendar(year + 1, 1, 1) : FromCalendar(year, month + 1, 1);
        AstroTime last{nextFirst.day - 1, 0};
        int back = (DayOfWeek(last) - rule.dayOfWeek + 7) % 7;
        dom = (last.day - first.day + 1) - back;
    } else {
        int ahead = (rule.dayOfWeek - DayOfWeek(first) + 7) % 7;
        dom = 1 + ahead + 7 * (rule.day - 1);
    }
    return FromCalendar(year, month, dom, rule.hour, rule.minute, rule.second);
}

// Minutes to add to UT for local time (or to subtract from local for UT)
// by the device's zone record; `isLocal` tells which clock t reads.
bool DeviceShift(AstroTime t, bool isLocal, int32_t& minutesEast) {
    PL::TimeZoneInfo tz;
    if (PL::TimeZone(tz) == PL::TimeZoneStatus::Failed) return false;
    if (tz.standardDate.month == 0) {
        minutesEast = -tz.bias;
        return true;
    }
    const int year = ToCalendar(t).year;
    AstroTime start = RuleMoment(tz.daylightDate, year);
    AstroTime end = RuleMoment(tz.standardDate, year);
    if (!isLocal) {
        start = AddSeconds(start, (tz.bias + tz.standardBias) * 60);
        end = AddSeconds(end, (tz.bias + tz.daylightBias) * 60);
    }
    bool summer;
    if (Compare(start, end) > 0) {
        // Southern hemisphere: summer time spans the new year.
        summer = !(Compare(end, t) <= 0 && Compare(t, start) < 0);
    } else {
        summer = Compare(start, t) <= 0 && Compare(t, end) < 0;
    }
    minutesEast = -(tz.bias + (summer ? tz.daylightBias : tz.standardBias));
    return true;
}

}  // namespace

AstroTime UtcToLocal(AstroTime t, int32_t zoneMinutes, int summerMode) {
    switch (summerMode) {
        case kStandardTime: return AddSeconds(t, zoneMinutes * 60);
        case kSummerTime: return AddSeconds(t, (zoneMinutes + 60) * 60);
        default: {
            int32_t east;
            if (!DeviceShift(t, false, east)) return t;
            return AddSeconds(t, east * 60);
        }
    }
}

AstroTime LocalToUtc(AstroTime t, int32_t zoneMinutes, int summerMode) {
    switch (summerMode) {
        case kStandardTime: return AddSeconds(t, -zoneMinutes * 60);
        case kSummerTime: return AddSeconds(t, -(zoneMinutes + 60) * 60);
        default: {
            int32_t east;
            if (!DeviceShift(t, true, east)) return t;
            return AddSeconds(t, -east * 60);
        }
    }
}

int32_t DeviceZoneOffset() {
    PL::TimeZoneInfo tz;
    if (PL::TimeZone(tz) == PL::TimeZoneStatus::Failed) return 0;
    return -tz.bias;
}

}  // namespace Calc
