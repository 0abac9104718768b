// Number, angle and date text of the program's own, independent of the C
// library's locale.
//
// Decimal numbers are shown with a number of significant digits
// (FormatSignificant) or to a resolution (FormatResolution); hours and
// degrees sexagesimally, driven by a compact format code
// (FormatSexagesimal, e.g. "hm1" = hours and minutes with one decimal);
// dates and times in the device locale's patterns, through the platform.
#pragma once

#include "engine/astrotime.h"

#include <cstdint>
#include <string>

namespace Data {

// --- decimal numbers --------------------------------------------------------------

// Decimal digits, "-" in front of negative numbers.
std::u16string FormatInt(long long n);

// |n| significant digits (1..15); trailing zeros are kept when n < 0.
// Exponent form ("1.235e7", "1.23e-5") when the decimal exponent is below -4
// or above 6. Infinite values give "Inf"/"-Inf", NaN gives "NaN".
std::u16string FormatSignificant(double x, int n);

// x to the resolution |r| (0.1: one decimal, 10: tens); trailing zeros are
// kept when r < 0 ("2.0" for 2 with r = -0.1); r = 0 means 15 significant
// digits. Values below half the resolution show as "0".
std::u16string FormatResolution(double x, double r);

// Reads "[+-]digits[.digits][(e|E)[+-]digits]"; spaces anywhere are ignored.
// At least one digit before or after the point; at most 18 digits in the
// integer part and in the fraction; the exponent needs a digit. False (and
// `value` unchanged) for anything else, and for a value beyond the range of
// a double.
bool ParseNumber(const std::u16string& text, double& value);

// --- sexagesimal hours and degrees ----------------------------------------------

// One sexagesimal format code: the first and the last unit shown
// (0 hours/degrees, 1 minutes, 2 seconds) and the decimals of the last one.
// Text form: "h", "hm", "hms", "m", "ms" or "s", then the decimals (0..20);
// a leading "0" in the decimals keeps trailing zeros ("hm02": 5h07.50m),
// "hm0" itself is just 0 decimals.
struct AngleSpec {
    int firstUnit = 0;
    int lastUnit = 1;
    int decimals = 0;
    bool keepZeros = false;
};
// False for anything that is not one format code of the form above.
bool ParseAngleSpec(const std::u16string& text, AngleSpec& spec);

// Unit letters written after the first, minute and second fields.
extern const char16_t kHourUnits[];    // "hms"
extern const char16_t kDegreeUnits[];  // degree sign, apostrophe, double quote
// hm0 down to 10 units, then minutes and seconds with more decimals the
// smaller the value: for angular sizes, separations and durations.
extern const char16_t kAutoAngleSpec[];  // "hm0|hm0|hm0|ms0|ms0|s2|s3|s4"

// x (hours or degrees) with `spec`, one format code or several joined by
// "|". Of several, alternative k (from 0) is used, k being the number of
// true conditions among |x| < 100, < 10, < 1, < 1/6, < 1/60, < 1/360,
// < 1/3600 (the last alternative when there are fewer). `units` holds the
// three unit letters. Rounding carries: 23.99999 h with "hm1" is 24h00m.
// An invalid format code gives the program's own error text for it instead
// of a number, so a wrong code shows on screen rather than a wrong value.
std::u16string FormatSexagesimal(double x, const std::u16string& spec, const std::u16string& units);

// Reads hours or degrees: an optional sign, then up to three numbers closed
// by their unit characters -- "h", the degree sign or ":" for the first
// field, "m" or an apostrophe for minutes, "s" or a double quote for seconds;
// a number at the end without unit is the field after the previous one (the
// first field when it stands alone). Spaces are ignored. "5h35.3m",
// "-5°23'", "12:30", "40" and "30m" are valid; "12:30:15" and "12h30x" are not.
bool ParseSexagesimal(const std::u16string& text, float& value);

// --- named formatters -----------------------------------------------------------------

std::u16string FormatHoursMinutes(double hours);    // "hm0": 5h12m
std::u16string FormatRightAscension(double hours);  // "hm1": 5h35.3m
std::u16string FormatDegrees(double degrees);       // "hm0": -5°23'
std::u16string FormatHoursAuto(double hours);       // kAutoAngleSpec, hour units
std::u16string FormatDegreesAuto(double degrees);   // kAutoAngleSpec, degree units
// Hour angle in [0, 24): below 12 "hm1" hours and the letter W ("5h30W"),
// from 12 on 24 - x and the letter E (German O).
std::u16string FormatHourAngle(double hours);
std::u16string FormatLatitude(double degrees);            // 5°23'N, 5°23'S
std::u16string FormatLongitude(double westDegrees);       // 5°23'W, 5°23'E (German O)
std::u16string FormatDegreesDecimal(double degrees);      // one decimal and the degree sign
std::u16string FormatLongitudeDecimal(double westDegrees);  // 0.5°W
// decimalDays: the days to 0.0001; otherwise whole days, "d" and the rest
// as hours and minutes (1d6h00m; a rest that rounds to 24 hours is a day more).
std::u16string FormatDaysTime(double days, bool decimalDays);
// Kilometres (4 digits) below 0.2 AU, astronomical units (4 digits) below
// 9460730822.656 km (a thousandth of a light year, about 63 AU), light years
// (3 digits) beyond.
std::u16string FormatDistance(double km);
// Light time for a distance in km: seconds below 0.2 AU, then minutes and
// seconds below an hour, hours and minutes up to 9460730822.656 km; empty beyond.
std::u16string FormatLightTime(double km);

// --- locale date and time ---------------------------------------------------------------

// The locale's short-date pattern, read once from the platform and kept,
// with a two-digit year "yy" widened to "yyyy" when the pattern has no
// "yyyy"; and the locale's time pattern. Also given to the date and time pickers.
std::u16string ShortDatePattern();
std::u16string TimePattern();
// Forgets the kept patterns so that the next use reads them again (tests
// that install another platform).
void ForgetLocalePatterns();

// A pattern's seconds removed the way GetTimeFormatW's TIME_NOSECONDS does:
// the separator in front of the seconds and the literal text after them up
// to the next field go, blanks after them stay. "HH:mm:ss" gives "HH:mm",
// "h:mm:ss tt" gives "h:mm tt".
std::u16string PatternWithoutSeconds(const std::u16string& pattern);

// The date of a moment (already in the wanted zone) in the short-date
// pattern, and its time in the locale's time pattern without seconds. A
// date the platform cannot show (years before 1601 or after 30827) is
// written as year-month-day.
std::u16string FormatDate(Calc::AstroTime moment);
std::u16string FormatTime(Calc::AstroTime moment);

// The device's current UTC: "20240305T140709", or with iso
// "2024-03-05T14:07:09.123Z".
std::u16string UtcTimestamp(bool iso);

}  // namespace Data
