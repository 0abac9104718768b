#include "engine/events.h"

#include <cmath>

#include "data/objects.h"
#include "engine/sunmoon.h"

namespace Calc {

namespace {

constexpr float kRadToHours = 3.8197186f;  // 12 / pi
constexpr float kHoursToRad = 0.2617994f;  // pi / 12
// Hour angle (radians) to seconds of time: 86400 / 2 pi.
constexpr float kHourAngleToSeconds = 13750.986f;
// Seconds of time per degree of hour angle.
constexpr float kSecondsPerDegree = 240.0f;
// Both searches stop within this many seconds of the event.
constexpr int32_t kTolerance = 10;
// The culmination search needs two or three steps; the crossing search a
// handful, at most about 14 when it has to bisect a day down to ten seconds.
constexpr int kCulminationSteps = 16;
constexpr int kCrossingSteps = 64;

int32_t FloorMod4(int32_t k) { return ((k % 4) + 4) % 4; }

int32_t FloorDiv4(int32_t k) { return (k - FloorMod4(k)) / 4; }

int32_t Abs(int32_t v) { return v < 0 ? -v : v; }

// A step in seconds from a float that may be far too large (a nearly
// vanishing denominator): anything beyond a few days is as good as outside
// the bracket.
int32_t StepSeconds(float seconds) {
    const float kLimit = 4.0f * 86400.0f;
    if (!(seconds > -kLimit)) seconds = -kLimit;  // also NaN
    if (seconds > kLimit) seconds = kLimit;
    return static_cast<int32_t>(seconds);  // truncates toward zero
}

}  // namespace

float StandardAltitude(uint32_t kind, int32_t number) {
    if (kind == kBodyObjectKind && number == kSun) return kSunRiseAltitude;
    if (kind == kBodyObjectKind && number == kMoon) return kMoonRiseAltitude;
    return kStarRiseAltitude;
}

// --- RiseSetSearch ----------------------------------------------------------------

RiseSetSearch::RiseSetSearch(const Place& place, int32_t summerMode, float height) : height_(height) {
    ephemeris_.place = place;
    ephemeris_.summerMode = summerMode;
    ephemeris_.Invalidate();
}

RiseSetSearch::~RiseSetSearch() = default;

void RiseSetSearch::SetMoment(AstroTime t) {
    if (t == reference_) return;
    reference_ = t;
    valid_ = false;
}

void RiseSetSearch::SetObject(const Data::AstroObjRef& object) {
    SetObject(object.kind, object.number,
              [object](Ephemeris& e) { return Data::ObjectPosition(object, e); });
    file_ = object.file;
}

void RiseSetSearch::SetObject(uint32_t kind, int32_t number, ObjectPositionFunction position) {
    kind_ = kind;
    number_ = number;
    file_.clear();
    position_ = std::move(position);
    positionValid_ = false;
    valid_ = false;
}

void RiseSetSearch::SetBody(int body) {
    SetObject(kBodyObjectKind, body, [body](Ephemeris& e) { return e.ApparentPosition(body); });
}

Data::AstroObjRef RiseSetSearch::Object() const { return Data::AstroObjRef(kind_, number_, file_); }

void RiseSetSearch::MoveTo(AstroTime t) {
    ephemeris_.moment = t;
    ephemeris_.Invalidate();
    positionValid_ = false;
    ++steps_;
}

Vec3 RiseSetSearch::Position() {
    if (!positionValid_) {
        positionCache_ = position_ ? position_(ephemeris_) : Vec3{0, 1, 0};
        positionValid_ = true;
    }
    return positionCache_;
}

RiseSetEvent RiseSetSearch::Record() {
    RiseSetEvent r;
    r.found = 1;
    r.ut = ephemeris_.moment;
    r.local = ephemeris_.LocalTime();
    const Vec3 h = CartToSph(MulMatT(ephemeris_.HorizonMatrix(), Position()));
    r.azimuth = Reduce(h.x * kRadToDeg, 360.0f);
    r.altitude = h.y * kRadToDeg;
    return r;
}

RiseSetEvent RiseSetSearch::Culmination(AstroTime start, bool lower) {
    // The hour angle of the geocentric direction, turned into clock time
    // directly (a sidereal hour taken as an hour of time: the iteration
    // absorbs the 0.3 % and the object's own motion).
    MoveTo(start);
    for (int i = 0; i < kCulminationSteps; ++i) {
        const Vec3 g = Position() - ephemeris_.ObserverOffset();
        const float ra = Reduce(Atan2(g.y, g.x) * kRadToHours, 24.0f);
        float d = ra - ephemeris_.Lst();
        if (lower) d += 12.0f;
        d -= 24.0f * Floor((d + 12.0f) / 24.0f);  // into -12..12
        const int32_t dt = static_cast<int32_t>(d * 3600.0f);
        MoveTo(AddSeconds(ephemeris_.moment, dt));
        if (-kTolerance <= dt && dt < kTolerance) break;
    }
    return Record();
}

void RiseSetSearch::UpdateCulminations() {
    if (valid_) return;
    upper_ = Culmination(reference_, false);
    before_ = Culmination(SubSeconds(upper_.ut, 43200), true);
    after_ = Culmination(AddSeconds(upper_.ut, 43200), true);
    valid_ = true;
}

const RiseSetEvent& RiseSetSearch::Transit() {
    UpdateCulminations();
    return upper_;
}

const RiseSetEvent& RiseSetSearch::LowerCulminationBefore() {
    UpdateCulminations();
    return before_;
}

const RiseSetEvent& RiseSetSearch::LowerCulminationAfter() {
    UpdateCulminations();
    return after_;
}

RiseSetEvent RiseSetSearch::Rise(float threshold) {
    UpdateCulminations();
    return Crossing(before_, upper_, threshold);
}

RiseSetEvent RiseSetSearch::Set(float threshold) {
    UpdateCulminations();
    return Crossing(upper_, after_, threshold);
}

RiseSetEvent RiseSetSearch::StandardRise() { return Rise(StandardThreshold()); }

RiseSetEvent RiseSetSearch::StandardSet() { return Set(StandardThreshold()); }

RiseSetEvent RiseSetSearch::Crossing(const RiseSetEvent& a, const RiseSetEvent& b, float threshold) {
    // The geometric dip of the horizon seen from `height_` km: 1.014 degrees
    // sqrt(km), that is 1.92' sqrt(metres) (no refraction).
    const float x = threshold - 1.014f * Sqrt(height_);
    const bool rising = a.altitude < b.altitude;
    const RiseSetEvent& high = rising ? b : a;
    const float low = rising ? a.altitude : b.altitude;
    if (low > x || x > high.altitude) return RiseSetEvent{};  // always above, or always below

    float sinPhi, cosPhi;
    SinCos(ephemeris_.place.latitude * kDegToRad, &sinPhi, &cosPhi);
    float sinX, cosX;
    SinCos(x * kDegToRad, &sinX, &cosX);

    // First guess: the hour angle at which a fixed direction with the
    // declination at the culmination reaches the altitude.
    MoveTo(high.ut);
    float raHours, decDeg;
    ephemeris_.HorizontalToEquatorial(high.azimuth, high.altitude, raHours, decDeg);
    float sinDec, cosDec;
    SinCos(decDeg * kDegToRad, &sinDec, &cosDec);
    bool bisect = true;
    int32_t s = 0;
    const float denominator = cosDec * cosPhi;
    if (denominator != 0.0f) {
        const float c = (sinX - sinDec * sinPhi) / denominator;
        if (c >= -1.0f && c <= 1.0f) {
            s = StepSeconds(Acos(c) * kHourAngleToSeconds);
            if (rising) s = -s;
            bisect = false;
        }
    }

    // Newton steps on the altitude, kept inside the bracket [lo, hi] that
    // always holds the crossing; a step that leaves it is replaced by
    // bisection.
    AstroTime lo = a.ut, hi = b.ut;
    int32_t width = DiffSeconds(hi, lo);
    AstroTime current = high.ut;
    for (int i = 0; i < kCrossingSteps; ++i) {
        AstroTime candidate = AddSeconds(current, s);
        const bool outside = Compare(candidate, lo) < 0 || Compare(candidate, hi) > 0;
        const bool onEnd = (candidate == lo || candidate == hi) && Abs(s) == width;
        if (bisect || outside || onEnd) {
            candidate = AddSeconds(lo, width / 2);
            s = DiffSeconds(candidate, current);
        }
        MoveTo(candidate);
        const Vec3 eq = CartToSph(Position());
        float sinD, cosD;
        SinCos(eq.y, &sinD, &cosD);
        float sinH, cosH;
        SinCos(eq.x - ephemeris_.Lst() * kHoursToRad, &sinH, &cosH);
        const float altitude = Asin(cosH * cosD * cosPhi + sinD * sinPhi) * kRadToDeg;
        if ((altitude >= x) != rising)
            lo = candidate;
        else
            hi = candidate;
        width = DiffSeconds(hi, lo);
        current = candidate;
        if (Abs(s) < kTolerance || width < kTolerance) break;
        // d(altitude)/dt = sin H cos d cos phi / 240 degrees per second, H
        // being the right ascension minus the sidereal time (the cosine of
        // the altitude, near 1 at the horizon, is left out).
        const float slope = sinH * cosD * cosPhi;
        if (slope == 0.0f) {
            bisect = true;
        } else {
            bisect = false;
            s = StepSeconds((altitude - x) / slope * -kSecondsPerDegree);
        }
    }
    return Record();
}

// --- equinoxes and solstices ------------------------------------------------------------

namespace {

// Mean moments (Meeus, Table 27.B, for the years 1000 to 3000) as an MJD
// base, 365 days a year and a fraction in days, y = year - 2000. The whole
// 365 days are kept out of the float so that the seconds survive for years
// far from 2000.
struct SeasonMean {
    int32_t base;
    float c0, c1, c2;  // fraction = c0 + c1 y + c2 y^2 days
};
const SeasonMean kSeasonMeans[4] = {
    {51623, 0.30984f, 0.242374f, 5.169e-8f},
    {51716, 0.06767f, 0.2416263f, 3.25e-9f},
    {51809, 0.71715f, 0.2420177f, -1.1575e-7f},
    {51899, 0.55952f, 0.2427406f, -6.223e-8f},
};

// Periodic terms A cos(B + C T) of Meeus, Table 27.C (degrees); the sum is in
// units of 0.00001 day.
struct SeasonTerm {
    float a, b, c;
};
const SeasonTerm kSeasonTerms[24] = {
    {485, 324.96f, 1934.136f},  {203, 337.23f, 32964.467f}, {199, 342.08f, 20.186f},
    {182, 27.85f, 445267.112f}, {156, 73.14f, 45036.886f},  {136, 171.52f, 22518.443f},
    {77, 222.54f, 65928.934f},  {74, 296.72f, 3034.906f},   {70, 243.58f, 9037.513f},
    {58, 119.81f, 33718.147f},  {52, 297.17f, 150.678f},    {50, 21.02f, 2281.226f},
    {45, 247.54f, 29929.562f},  {44, 325.15f, 31555.956f},  {29, 60.93f, 4443.417f},
    {18, 155.12f, 67555.328f},  {17, 288.79f, 4562.452f},   {16, 198.04f, 62894.029f},
    {14, 199.76f, 31436.921f},  {12, 95.39f, 14577.848f},   {12, 287.11f, 31931.756f},
    {12, 320.81f, 34777.259f},  {9, 227.73f, 1222.114f},    {8, 15.45f, 16859.074f},
};

// Beyond this many years from 2000 the mean-moment polynomial is meaningless
// anyway; the limit keeps the seconds inside 32 bits.
constexpr int32_t kSeasonYearSpan = 8000;

}  // namespace

AstroTime SeasonEvent(int32_t year, int32_t quarter) {
    year += FloorDiv4(quarter);
    quarter = FloorMod4(quarter);
    int32_t y = year - 2000;
    if (y > kSeasonYearSpan) y = kSeasonYearSpan;
    if (y < -kSeasonYearSpan) y = -kSeasonYearSpan;
    const SeasonMean& mean = kSeasonMeans[quarter];
    const float yf = static_cast<float>(y);
    const float fraction = mean.c0 + mean.c1 * yf + mean.c2 * yf * yf;
    AstroTime t{mean.base + 365 * y, static_cast<int32_t>(fraction * 86400.0f)};
    t = Normalize(t);

    const float T = JulianCenturies(t);
    const float W = 628.3076f * T - 0.0431f;  // radians: 35999.373 T - 2.47 degrees
    // 0.864 s per unit of the sum, divided by 1 + 0.0334 cos W.
    const float q = 1.1574f + 0.038657f * Cos(W);
    float S = 0.0f;
    for (const SeasonTerm& term : kSeasonTerms)
        S += term.a * Cos(Reduce(term.b + term.c * T, 360.0f) * kDegToRad);
    return AddSeconds(t, static_cast<int32_t>(S / q));
}

// --- phases of the Moon --------------------------------------------------------------------

namespace {

// Meeus, ch. 49 (first edition): the correction in days for new Moon, the
// quarters and full Moon, and its arguments.
const float kPhaseRows[3][16] = {
    {-0.4072f, -0.00017f, 0.01039f, 0.01608f, -0.00042f, -0.00057f, -0.00111f, 0.17241f, -0.00514f, 0.00739f,
     0.00042f, 0.00038f, 0.00056f, -0.00024f, 0.00208f, -0.00007f},
    {-0.62801f, -0.00017f, 0.00804f, 0.00862f, -0.0004f, -0.0007f, -0.0018f, 0.17172f, -0.01183f, 0.00454f,
     0.00032f, 0.00032f, 0.00027f, -0.00034f, 0.00204f, -0.00028f},
    {-0.40614f, -0.00017f, 0.01043f, 0.01614f, -0.00042f, -0.00057f, -0.00111f, 0.17302f, -0.00515f, 0.00734f,
     0.00042f, 0.00038f, 0.00056f, -0.00024f, 0.00209f, -0.00007f},
};

// The polynomial terms in T of the phase theory (the secular acceleration
// and the eccentricity factor E) are fitted to a few millennia; far outside
// they grow without bound (at 250 000 years 0.0001337 T^2 alone is 950 days
// and E^2 some 10^5). Beyond 8000 years from 2000 (the seasons' span) T is
// held at the limit, so the phases continue with the mean lunation.
constexpr float kPhaseCenturySpan = kSeasonYearSpan / 100.0f;

// Quarter indices whose moment an MJD day count in 32 bits can hold.
constexpr int32_t kMaxPhaseIndex = 288000000;

// One quarter of the mean lunation, 29.530588853 / 4 days.
constexpr double kMeanQuarterDays = 7.38264721325;

float PhaseCenturies(AstroTime t) {
    const float T = JulianCenturies(t);
    return T > kPhaseCenturySpan ? kPhaseCenturySpan : T < -kPhaseCenturySpan ? -kPhaseCenturySpan : T;
}

// a0 + rate x k + t2 x T^2 degrees reduced to one turn, in radians. The
// product of the rate and k is formed in double: a float keeps a hundredth
// of a degree of it only while |k| is below a few thousand.
float PhaseArgument(double a0, double rate, int32_t k, float t2) {
    double deg = std::fmod(a0 + rate * static_cast<double>(k), 360.0) + static_cast<double>(t2);
    deg -= 360.0 * std::floor(deg / 360.0);
    return static_cast<float>(deg) * kDegToRad;
}

}  // namespace

int32_t MoonPhaseOf(int32_t k) { return FloorMod4(k); }

AstroTime MoonPhaseEvent(int32_t k) {
    if (k > kMaxPhaseIndex || k < -kMaxPhaseIndex) return AstroTime::Invalid();
    // The mean phase: 7.3828125 days a quarter from MJD 51549 + 51637 s, less
    // 0.00016528675 days a quarter (29.530588853 / 4 days in all), plus the
    // secular term. 7.3828125 = 945 / 128: the whole days and the fraction are
    // taken from the integer k x 945, since the product in a float keeps the
    // fraction only while |k| is below about 17750 (the years 1660 to 2340);
    // beyond that it would be rounded to 1/128 day and more. The small
    // correction per quarter reaches thousands of days at the far end of the
    // calendar; its whole days join the day count as well.
    const int64_t days128 = int64_t(k) * 945;  // days x 128
    const int64_t whole = (days128 >= 0 ? days128 : days128 - 127) / 128;
    const double drift = -0.00016528675 * static_cast<double>(k);
    const double driftWhole = std::floor(drift);
    const float fraction = static_cast<float>(days128 - whole * 128) * (1.0f / 128.0f) +
                           static_cast<float>(drift - driftWhole);
    AstroTime t = Normalize(AstroTime{static_cast<int32_t>(whole + static_cast<int64_t>(driftWhole)) + 51549, 51637});
    const float T = PhaseCenturies(t);
    const float T2 = T * T;
    t = AddSeconds(t, static_cast<int32_t>((fraction + 0.0001337f * T2) * 86400.0f));

    const float E = 1.0f - 0.002516f * T - 7.4e-6f * T2;
    const float M = PhaseArgument(2.5534, 7.276339, k, -2.18e-5f * T2);
    const float Mp = PhaseArgument(201.5643, 96.45423382, k, 0.0107438f * T2);
    const float F = PhaseArgument(160.7108, 97.667625685, k, -0.0016341f * T2);
    const float Om = PhaseArgument(124.7746, -0.39093894, k, 0.0020691f * T2);

    const int32_t phase = FloorMod4(k);
    const float* c = kPhaseRows[(phase == 1 || phase == 3) ? 1 : phase];
    float sum = c[0] * Sin(Mp) + c[1] * Sin(Om) + c[2] * Sin(2 * F) + c[3] * Sin(2 * Mp) + c[4] * Sin(3 * Mp) +
                c[5] * Sin(Mp + 2 * F) + c[6] * Sin(Mp - 2 * F) +
                E * (c[7] * Sin(M) + c[8] * Sin(Mp + M) + c[9] * Sin(Mp - M) + c[10] * Sin(M + 2 * F) +
                     c[11] * Sin(M - 2 * F) + c[12] * Sin(2 * Mp + M) + c[13] * Sin(2 * Mp - M)) +
                E * E * (c[14] * Sin(2 * M) + c[15] * Sin(Mp + 2 * M));
    if (phase == 1 || phase == 3) {
        const float W = 0.00306f - 0.00038f * E * Cos(M) + 0.00026f * Cos(Mp);
        sum += phase == 1 ? W : -W;
    }
    // Planetary arguments.
    const float A1 = PhaseArgument(299.77, 0.026852, k, -0.009173f * T2);
    const float A2 = PhaseArgument(251.88, 0.00408025, k, 0.0f);
    const float A3 = PhaseArgument(251.83, 6.6629715, k, 0.0f);
    const float A4 = PhaseArgument(349.42, 9.10312, k, 0.0f);
    const float A5 = PhaseArgument(84.66, 4.55156, k, 0.0f);
    sum += 0.000325f * Sin(A1) + 0.000165f * Sin(A2) + 0.000164f * Sin(A3) + 0.000126f * Sin(A4) +
           0.00011f * Sin(A5);
    return AddSeconds(t, static_cast<int32_t>(sum * 86400.0f));
}

int32_t NearestMoonQuarter(AstroTime t) {
    // Days from the mean new Moon of k = 0 (MJD 51549.59765), in quarters of
    // the mean lunation, in double: a float keeps whole days only up to MJD
    // 1.6e7. The secular term of the theory is taken off first.
    const float T = PhaseCenturies(t);
    const double days = (static_cast<double>(t.day) - 51549.0) + static_cast<double>(t.seconds) / 86400.0 -
                        0.59765 - 0.0001337 * static_cast<double>(T * T);
    double k = std::floor(days / kMeanQuarterDays + 0.5);
    if (k > kMaxPhaseIndex - 4) k = kMaxPhaseIndex - 4;
    if (k < -kMaxPhaseIndex + 4) k = -kMaxPhaseIndex + 4;
    return static_cast<int32_t>(k);
}

float MoonAge(AstroTime t) {
    int32_t k = NearestMoonQuarter(t);
    if (Compare(MoonPhaseEvent(k), t) > 0) --k;
    k -= FloorMod4(k);  // back to the new Moon
    // The periodic terms move a phase by less than a day, so this new Moon
    // is the last one. The days between are taken in double, as the two
    // may lie further apart than DiffSeconds reaches at the ends of the
    // index range.
    return static_cast<float>(ToJulianDay(t) - ToJulianDay(MoonPhaseEvent(k)));
}

// --- iterators ----------------------------------------------------------------------------

void EventIterator::SetIndex(int32_t index) {
    index_ = index;
    valid_ = false;
}

int32_t EventIterator::Phase() const { return FloorMod4(index_); }

AstroTime EventIterator::Moment() {
    if (!valid_) {
        moment_ = Compute(index_);
        valid_ = true;
    }
    return moment_;
}

void SeasonIterator::Start(AstroTime t) {
    const CalendarDate d = ToCalendar(t);
    SetIndex(4 * d.year + (d.day + 30 * d.month + 15) / 90 - 1);
}

int32_t SeasonIterator::Year() const { return FloorDiv4(Index()); }

AstroTime SeasonIterator::Compute(int32_t index) const { return SeasonEvent(FloorDiv4(index), FloorMod4(index)); }

void MoonPhaseIterator::Start(AstroTime t) { SetIndex(NearestMoonQuarter(t)); }

AstroTime MoonPhaseIterator::Compute(int32_t index) const { return MoonPhaseEvent(index); }

// --- the twilight view's day ----------------------------------------------------------------

TwilightDay TwilightEvents(AstroTime moment, const Place& place, int32_t summerMode) {
    TwilightDay day;
    RiseSetEvent* ev = day.events;
    const AstroTime local = UtcToLocal(moment, place.timeZone, summerMode);
    day.localDate = AstroTime{local.day, 0};
    const AstroTime noon = LocalToUtc(AstroTime{local.day, 43200}, place.timeZone, summerMode);

    RiseSetSearch search(place, summerMode, 0.0f);
    search.SetBody(kSun);
    search.SetMoment(noon);
    ev[kSunrise] = search.StandardRise();
    ev[kSunTransit] = search.Transit();
    ev[kSunset] = search.StandardSet();
    ev[kCivilBegin] = search.Rise(kCivilTwilight);
    ev[kCivilEnd] = search.Set(kCivilTwilight);
    ev[kNauticalBegin] = search.Rise(kNauticalTwilight);
    ev[kNauticalEnd] = search.Set(kNauticalTwilight);
    ev[kAstronomicalBegin] = search.Rise(kAstronomicalTwilight);
    ev[kAstronomicalEnd] = search.Set(kAstronomicalTwilight);

    const AstroTime transit = ev[kSunTransit].ut;
    search.SetMoment(SubSeconds(transit, 86400));
    ev[kSunrisePrevious] = search.StandardRise();
    ev[kSunsetPrevious] = search.StandardSet();
    search.SetMoment(AddSeconds(transit, 86400));
    ev[kSunriseNext] = search.StandardRise();

    // The Moon's transit nearest two hours before noon; when that lies on
    // the day before, the next one (a day on from it, the search taking the
    // transit nearest that moment).
    search.SetBody(kMoon);
    search.SetMoment(SubSeconds(noon, 7200));
    const RiseSetEvent moonTransit = search.Transit();
    if (moonTransit.local.day < local.day) search.SetMoment(AddSeconds(moonTransit.ut, 86400));
    ev[kMoonrise] = search.StandardRise();
    ev[kMoonTransit] = search.Transit();
    ev[kMoonset] = search.StandardSet();
    return day;
}

}  // namespace Calc
