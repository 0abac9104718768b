// The twilight view's texts: day markers and "-" from hand-made events (a
// moonrise on the evening before, a moonset after the next midnight), durations
// with their sign, and real polar-summer days through the engine's events.
#include "views/core/twilight_table.h"

#include "data/messages.h"
#include "data/native/test_platform.h"
#include "engine/place.h"

#include <gtest/gtest.h>

namespace {

using namespace Calc;
using namespace UI::Twilight;

RiseSetEvent At(AstroTime ut, int32_t zoneSeconds) {
    RiseSetEvent e;
    e.found = 1;
    e.ut = ut;
    e.local = AddSeconds(ut, zoneSeconds);
    return e;
}

class TwilightTexts : public ::testing::Test {
protected:
    void SetUp() override {
        platform.language = 0x409;
        Data::SetUserLangId(0);
    }
    PL::TestPlatform platform;
    PL::ScopedPlatform scope{platform};
};

TEST_F(TwilightTexts, MarkersForTheDayBeforeAndAfter) {
    // Displayed: 2025-03-10, local = UT + 1 h.
    const AstroTime displayed = FromCalendar(2025, 3, 10, 12);
    TwilightDay d;
    d.localDate = FromCalendar(2025, 3, 10);
    d.events[kSunrise] = At(FromCalendar(2025, 3, 10, 5, 40), 3600);
    d.events[kSunTransit] = At(FromCalendar(2025, 3, 10, 11, 20), 3600);
    d.events[kSunset] = At(FromCalendar(2025, 3, 10, 17, 0), 3600);
    // Moonrise 23:30 local on the 9th, moonset 00:20 local on the 11th
    // (23:20 UT on the 10th: the UT date alone would not show it).
    d.events[kMoonrise] = At(FromCalendar(2025, 3, 9, 22, 30), 3600);
    d.events[kMoonTransit] = At(FromCalendar(2025, 3, 10, 6, 0), 3600);
    d.events[kMoonset] = At(FromCalendar(2025, 3, 10, 23, 20), 3600);
    d.events[kSunrisePrevious] = At(FromCalendar(2025, 3, 9, 5, 43), 3600);
    d.events[kSunsetPrevious] = At(FromCalendar(2025, 3, 9, 16, 58), 3600);
    d.events[kSunriseNext] = At(FromCalendar(2025, 3, 11, 5, 37), 3600);
    const PageTexts p = MakePageTexts(d, AddSeconds(displayed, 3600));
    EXPECT_EQ(p.markers[kMoonrise], u"<");
    EXPECT_EQ(p.markers[kMoonTransit], u" ");
    EXPECT_EQ(p.markers[kMoonset], u">");
    EXPECT_EQ(p.markers[kSunrise], u" ");
    // Day 11h20m, night 12h37m; the previous day was 11h15m long: +5m.
    EXPECT_EQ(p.dayLength, u"11h20m");
    EXPECT_EQ(p.nightLength, u"12h37m");
    EXPECT_EQ(p.change, u"5m00s");
    EXPECT_EQ(p.times[kCivilBegin], u"-");  // not found
    // A shortening day carries its sign.
    d.events[kSunset] = At(FromCalendar(2025, 3, 10, 16, 50), 3600);
    EXPECT_EQ(MakePageTexts(d, displayed).change, u"-5m00s");
}

TEST_F(TwilightTexts, PolarSummerAtSeventyNorth) {
    // Tromsø's latitude on midsummer day: the Sun neither sets nor gets
    // near the twilight altitudes; every Sun-derived duration is "-".
    Place p;
    p.latitude = 70.0f;
    p.longitude = -19.0f;
    p.timeZone = 60;
    const AstroTime moment = FromCalendar(2026, 6, 21, 10);
    const TwilightDay d = TwilightEvents(moment, p, 0);
    const PageTexts t = MakePageTexts(d, AddSeconds(moment, 3600));
    EXPECT_NE(t.times[kSunTransit], u"-");
    for (int row : {kSunrise, kSunset, kCivilBegin, kCivilEnd, kNauticalBegin, kNauticalEnd, kAstronomicalBegin, kAstronomicalEnd})
        EXPECT_EQ(t.times[row], u"-") << row;
    EXPECT_EQ(t.dayLength + t.nightLength + t.change, u"---");
    // At 60 degrees the Sun sets but gets only 6.6 degrees below the
    // horizon: civil twilight ends, nautical and astronomical do not.
    p.latitude = 60.0f;
    const PageTexts u = MakePageTexts(TwilightEvents(moment, p, 0), AddSeconds(moment, 3600));
    EXPECT_NE(u.times[kSunset], u"-");
    EXPECT_EQ(u.times[kAstronomicalBegin], u"-");
    EXPECT_EQ(u.times[kNauticalEnd], u"-");
    EXPECT_NE(u.times[kCivilEnd], u"-");
    EXPECT_NE(u.dayLength, u"-");
}

}  // namespace
