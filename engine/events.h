// Moments of events: the culminations, risings and settings of an object
// (and the Sun's crossings of the twilight altitudes), the equinoxes and
// solstices, and the principal phases of the Moon.
//
// RiseSetSearch moves a private Ephemeris in time and follows one object;
// the three culminations around the reference moment are cached, so asking
// for rise, transit, set and the twilights of one day costs three
// culmination searches and one bracketed search per crossing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/astrotime.h"
#include "engine/ephemeris.h"
#include "engine/place.h"
#include "engine/vecmath.h"

namespace Data {
struct AstroObjRef;
}

namespace Calc {

// One event: seven 32-bit values. An event that does not happen (the object
// never reaches the altitude) is the all-zero record, found = 0.
struct RiseSetEvent {
    uint8_t found = 0;  // 1 when the event happens
    AstroTime ut;       // the moment, UT
    AstroTime local;    // the same moment on the place's clock
    float azimuth = 0;  // degrees 0..360, from north through east
    float altitude = 0; // degrees, topocentric, no refraction
};
static_assert(sizeof(RiseSetEvent) == 7 * 4, "seven 32-bit values");

// Standard altitudes of rising and setting (degrees): refraction (34') plus
// the semi-diameter for the Sun; for the Moon the same, its position being
// topocentric already (no parallax term); refraction alone otherwise.
constexpr float kSunRiseAltitude = -0.8333f;
constexpr float kMoonRiseAltitude = -0.8257f;
constexpr float kStarRiseAltitude = -0.5667f;
// The Sun's altitudes at the beginning and end of the twilights.
constexpr float kCivilTwilight = -6.0f;
constexpr float kNauticalTwilight = -12.0f;
constexpr float kAstronomicalTwilight = -18.0f;

// The object kind of a Sun, Moon or planet (the body's index is its number).
constexpr uint32_t kBodyObjectKind = 1;

// The standard altitude of an object of `kind` and `number`.
float StandardAltitude(uint32_t kind, int32_t number);

// The topocentric equatorial vector of date of the followed object, at the
// ephemeris's moment (any length; only its direction is used).
using ObjectPositionFunction = std::function<Vec3(Ephemeris&)>;

class RiseSetSearch {
public:
    // height: kilometres above the horizon line (lowers every threshold by
    // the dip of the horizon, 1.014 sqrt(height) degrees).
    RiseSetSearch(const Place& place, int32_t summerMode, float height = 0.0f);
    virtual ~RiseSetSearch();

    // The reference moment (UT). The cached culminations are dropped only
    // when it differs from the stored one.
    void SetMoment(AstroTime t);
    AstroTime Moment() const { return reference_; }

    // The object to follow, any selectable object (data/objects.h): its
    // position is ObjectPosition at the private ephemeris's moment. Always
    // drops the cached culminations.
    void SetObject(const Data::AstroObjRef& object);
    // The same for a position of one's own: kind and number choose the
    // standard altitude, the function gives the position. With no function
    // the object stands still at (0, 1, 0).
    void SetObject(uint32_t kind, int32_t number, ObjectPositionFunction position);
    // A Sun, Moon or planet (body index 0..9), through the ephemeris.
    void SetBody(int body);
    // The object followed (the file name is empty unless SetObject was given
    // a user object or comet).
    Data::AstroObjRef Object() const;

    // The upper culmination nearest the reference moment.
    const RiseSetEvent& Transit();
    // The lower culminations before and after it.
    const RiseSetEvent& LowerCulminationBefore();
    const RiseSetEvent& LowerCulminationAfter();

    // The rising between the lower culmination before the transit and the
    // transit, and the setting between the transit and the lower culmination
    // after it, through the altitude `threshold` (degrees). found = 0 when
    // the object stays above or below it.
    RiseSetEvent Rise(float threshold);
    RiseSetEvent Set(float threshold);
    // The same with the object's standard altitude.
    RiseSetEvent StandardRise();
    RiseSetEvent StandardSet();
    float StandardThreshold() const { return StandardAltitude(kind_, number_); }

    // How many times the private ephemeris was moved (for benchmarks and tests).
    uint32_t Steps() const { return steps_; }

private:
    void UpdateCulminations();
    RiseSetEvent Culmination(AstroTime start, bool lower);
    RiseSetEvent Crossing(const RiseSetEvent& a, const RiseSetEvent& b, float threshold);
    void MoveTo(AstroTime t);
    Vec3 Position();
    RiseSetEvent Record();

    float height_;
    Ephemeris ephemeris_;
    RiseSetEvent upper_, before_, after_;
    bool valid_ = false;
    AstroTime reference_;
    uint32_t kind_ = 0;
    int32_t number_ = 0;
    std::u16string file_;
    ObjectPositionFunction position_;
    // The object's position at the ephemeris's moment, kept until it moves.
    Vec3 positionCache_;
    bool positionValid_ = false;
    uint32_t steps_ = 0;
};

// --- equinoxes and solstices --------------------------------------------------

// quarter 0 March equinox, 1 June solstice, 2 September equinox, 3 December
// solstice (Meeus, ch. 27: mean moments and the 24 periodic terms; good to a
// minute or two from 1000 to 3000). A quarter outside 0..3 counts on into
// the following or back into the preceding years.
AstroTime SeasonEvent(int32_t year, int32_t quarter);

// --- phases of the Moon ---------------------------------------------------------

// k counts quarter lunations from the new Moon of 2000 January 6 (k = 0);
// the phase is k mod 4 (0 new, 1 first quarter, 2 full, 3 last quarter),
// also for negative k (Meeus, ch. 49).
AstroTime MoonPhaseEvent(int32_t k);
// The phase 0..3 of quarter index k.
int32_t MoonPhaseOf(int32_t k);
// The quarter index whose mean moment is nearest t.
int32_t NearestMoonQuarter(AstroTime t);
// Days since the last new Moon.
float MoonAge(AstroTime t);

// --- iterators over seasons and phases ------------------------------------------

// An index counting events, its moment computed on first use and cached.
class EventIterator {
public:
    virtual ~EventIterator() = default;
    virtual void Start(AstroTime t) = 0;
    void SetIndex(int32_t index);
    void Next() { SetIndex(index_ + 1); }
    void Previous() { SetIndex(index_ - 1); }
    int32_t Index() const { return index_; }
    // index mod 4, 0..3.
    int32_t Phase() const;
    AstroTime Moment();

protected:
    virtual AstroTime Compute(int32_t index) const = 0;

private:
    AstroTime moment_;
    bool valid_ = false;
    int32_t index_ = 0;
};

// index = 4 year + quarter. Start picks the quarter of the season that a
// date lies in by calendar (the equinox or solstice at or before it,
// roughly); callers step on with Next until the moment they want.
class SeasonIterator : public EventIterator {
public:
    void Start(AstroTime t) override;
    int32_t Year() const;

protected:
    AstroTime Compute(int32_t index) const override;
};

// index = k of MoonPhaseEvent. Start picks the quarter nearest the moment.
class MoonPhaseIterator : public EventIterator {
public:
    void Start(AstroTime t) override;

protected:
    AstroTime Compute(int32_t index) const override;
};

// --- one day of the twilight view -------------------------------------------------

// The fifteen events of a local date, in this order.
enum TwilightRow : int {
    kSunrise = 0,
    kSunTransit = 1,
    kSunset = 2,
    kMoonrise = 3,
    kMoonTransit = 4,
    kMoonset = 5,
    kSunrisePrevious = 6,
    kSunsetPrevious = 7,
    kSunriseNext = 8,
    kCivilBegin = 9,
    kCivilEnd = 10,
    kNauticalBegin = 11,
    kNauticalEnd = 12,
    kAstronomicalBegin = 13,
    kAstronomicalEnd = 14,
    kTwilightRowCount = 15
};

struct TwilightDay {
    AstroTime localDate;  // the local date (seconds 0) the events belong to
    RiseSetEvent events[kTwilightRowCount];
};

// The events of the local date of `moment` at `place`, with height 0: the
// Sun's rise, transit and set measured from local noon, the Moon's from two
// hours before it (moved on by a day when its transit falls on the local
// date before), the Sun's rise and set of the previous day and its rise of
// the following day measured a day from its transit, and the twilights.
TwilightDay TwilightEvents(AstroTime moment, const Place& place, int32_t summerMode);

}  // namespace Calc
