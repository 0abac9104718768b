// The rise/set search following selectable objects through the object model.
#include <gtest/gtest.h>

#include <cmath>

#include "data/objects.h"
#include "data/starcatalog.h"
#include "engine/events.h"
#include "star_fixture.h"

using namespace Calc;
using Data::AstroObjRef;

namespace {

Place London() {
    Place p;
    p.latitude = 51.48f;
    p.longitude = 0.0f;
    return p;
}

}  // namespace

using RiseSetObjects = startest::StarTest;

TEST_F(RiseSetObjects, SiriusFromLondon) {
    RiseSetSearch s(London(), 0);
    const AstroObjRef sirius(Data::kObjStar, Data::HrToStarIndex(2491));
    s.SetObject(sirius);
    s.SetMoment(FromCalendar(2024, 1, 15, 0));
    const RiseSetEvent transit = s.Transit();
    const RiseSetEvent rise = s.StandardRise();
    const RiseSetEvent set = s.StandardSet();
    ASSERT_TRUE(rise.found && set.found);
    // Declination -16.72 (J2000; 0.1 degrees less in 2024): culminating
    // 21.8 degrees high.
    EXPECT_NEAR(transit.altitude, 90.0 - 51.48 - 16.72, 0.15);
    // Hour angle at the horizon: cos H0 = (sin h0 - sin phi sin d) / (cos phi cos d).
    const double d = -16.72 * M_PI / 180, phi = 51.48 * M_PI / 180, h0 = -0.5667 * M_PI / 180;
    const double H0 = std::acos((std::sin(h0) - std::sin(phi) * std::sin(d)) / (std::cos(phi) * std::cos(d)));
    const double seconds = H0 * 180 / M_PI / 15 * 3600 * 0.99726957;  // sidereal to solar
    EXPECT_NEAR(DiffSeconds(transit.ut, rise.ut), seconds, 60);
    EXPECT_NEAR(DiffSeconds(set.ut, transit.ut), seconds, 60);
    EXPECT_NEAR(rise.azimuth + set.azimuth, 360.0, 0.2);
}
