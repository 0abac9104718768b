// The instant of every computation: Modified Julian Day and seconds of the
// day in UT. There is one time scale only; the theories take UT as it is
// (no Delta-T).
#pragma once

#include <cstdint>
#include <string>

namespace Calc {

struct AstroTime {
    int32_t day = 0;      // MJD: day 0 begins at JD 2400000.5 (1858-11-17 00:00 UT)
    int32_t seconds = 0;  // 0..86399 once normalised

    // day 0 with seconds 0 stands for "no valid time".
    bool IsValid() const { return day != 0 || seconds != 0; }
    static AstroTime Invalid() { return AstroTime{}; }
};

inline bool operator==(const AstroTime& a, const AstroTime& b) { return a.day == b.day && a.seconds == b.seconds; }
inline bool operator!=(const AstroTime& a, const AstroTime& b) { return !(a == b); }

// J2000.0 = 2000-01-01 12:00 UT.
constexpr AstroTime kJ2000{51544, 43200};

// A broken-down date; astronomical years (year 0 exists), Julian calendar up
// to 1582-10-04, Gregorian afterwards.
struct CalendarDate {
    int year = 0, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// Meeus, Astronomical Algorithms, ch. 7. Not normalised: callers pass
// in-range values.
AstroTime FromCalendar(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
inline AstroTime FromCalendar(const CalendarDate& d) {
    return FromCalendar(d.year, d.month, d.day, d.hour, d.minute, d.second);
}
CalendarDate ToCalendar(AstroTime t);

AstroTime Normalize(AstroTime t);
int Compare(AstroTime a, AstroTime b);  // +1, -1 or 0
int32_t DiffSeconds(AstroTime a, AstroTime b);
AstroTime AddSeconds(AstroTime t, int32_t seconds);
AstroTime SubSeconds(AstroTime t, int32_t seconds);

double ToJulianDay(AstroTime t);
// Below 100000 the value is taken as an MJD; valid JD 2400001.0 .. 2e9.
AstroTime FromJulianDay(double jd);
bool ParseJulianDay(const std::u16string& text, AstroTime& out);
// decimals: 0 = the whole Julian Day (rounded at noon); n != 0 prints |n|
// decimals; a negative n groups the integer part as "2451 545.5".
std::u16string FormatJulianDay(AstroTime t, int decimals);

float JulianCenturies(AstroTime t);
float GreenwichSiderealTime(AstroTime t);                       // hours 0..24
float LocalSiderealTime(float gmstHours, float westLongitudeDeg);  // hours 0..24
float EquationOfTime(AstroTime t);                              // apparent - mean solar time, hours

// Day of week, 0 = Sunday.
int DayOfWeek(AstroTime t);

// --- the device clock and zone (through the platform layer) ---------------
AstroTime Now();

enum SummerTimeMode : int {
    kStandardTime = 0,  // local = UT + offset
    kSummerTime = 1,    // local = UT + offset + 60 min
    kDeviceZone = 2     // the device's time-zone record decides
};

AstroTime UtcToLocal(AstroTime t, int32_t zoneMinutes, int summerMode);
AstroTime LocalToUtc(AstroTime t, int32_t zoneMinutes, int summerMode);
// The device's standard-time offset, minutes east of Greenwich.
int32_t DeviceZoneOffset();

}  // namespace Calc
