#include "ephem_events.h"

#include <cstdio>
#include <string>

#include "data/messages.h"
#include "data/numtext.h"
#include "data/platform.h"
#include "engine/astrotime.h"
#include "engine/events.h"
#include "engine/magnetic.h"
#include "engine/physical.h"
#include "engine/vecmath.h"
#include "views/core/twilight_table.h"

using namespace Calc;
using Data::Message;
using Data::MessageText;

namespace {

// --- texts ---------------------------------------------------------------------------

const char* const kRowKeys[kTwilightRowCount] = {
    "sunrise",       "sun_transit",      "sunset",          "moonrise",     "moon_transit",
    "moonset",       "sunrise_previous", "sunset_previous", "sunrise_next", "civil_begin",
    "civil_end",     "nautical_begin",   "nautical_end",    "astronomical_begin", "astronomical_end"};
const char* const kBodyKeys[kBodyCount] = {"Sun",     "Moon",   "Mercury", "Venus",   "Mars",
                                           "Jupiter", "Saturn", "Uranus",  "Neptune", "Pluto"};
const char* const kSeasonKeys[4] = {"March equinox", "June solstice", "September equinox", "December solstice"};
const char* const kPhaseKeys[4] = {"new Moon", "first quarter", "full Moon", "last quarter"};

// The twilight view's labels, the same texts as the view's.
using UI::Twilight::kMsgDate;
using UI::Twilight::kMsgLocation;
using UI::Twilight::kMsgRise;
using UI::Twilight::kMsgTransit;
using UI::Twilight::kMsgSet;
using UI::Twilight::kMsgSun;
using UI::Twilight::kMsgMoon;
using UI::Twilight::kMsgDayNight;
using UI::Twilight::kMsgDiff;
using UI::Twilight::kMsgTwilight;
using UI::Twilight::kMsgMorning;
using UI::Twilight::kMsgEvening;
using UI::Twilight::kMsgCivil;
using UI::Twilight::kMsgNautical;
using UI::Twilight::kMsgAstronomical;
using UI::Twilight::kMsgMarkers;

// The events one by one.
const Message kMsgEventColumns[4] = {{{0x409, u"Event"}, {0x407, u"Ereignis"}},
                                     {{0x409, u"UT"}, {0x407, u"UT"}},
                                     {{0x409, u"Azimuth"}, {0x407, u"Azimut"}},
                                     {{0x409, u"Altitude"}, {0x407, u"H\u00f6he"}}};
const Message kMsgRows[kTwilightRowCount] = {
    {{0x409, u"Sunrise"}, {0x407, u"Sonnenaufgang"}},
    {{0x409, u"Sun's transit"}, {0x407, u"Sonnendurchgang"}},
    {{0x409, u"Sunset"}, {0x407, u"Sonnenuntergang"}},
    {{0x409, u"Moonrise"}, {0x407, u"Mondaufgang"}},
    {{0x409, u"Moon's transit"}, {0x407, u"Monddurchgang"}},
    {{0x409, u"Moonset"}, {0x407, u"Monduntergang"}},
    {{0x409, u"Sunrise, previous day"}, {0x407, u"Sonnenaufgang, Vortag"}},
    {{0x409, u"Sunset, previous day"}, {0x407, u"Sonnenuntergang, Vortag"}},
    {{0x409, u"Sunrise, next day"}, {0x407, u"Sonnenaufgang, Folgetag"}},
    {{0x409, u"Civil twilight begins"}, {0x407, u"B\u00fcrgerl. D\u00e4mmerung Beginn"}},
    {{0x409, u"Civil twilight ends"}, {0x407, u"B\u00fcrgerl. D\u00e4mmerung Ende"}},
    {{0x409, u"Nautical twilight begins"}, {0x407, u"Naut. D\u00e4mmerung Beginn"}},
    {{0x409, u"Nautical twilight ends"}, {0x407, u"Naut. D\u00e4mmerung Ende"}},
    {{0x409, u"Astron. twilight begins"}, {0x407, u"Astron. D\u00e4mmerung Beginn"}},
    {{0x409, u"Astron. twilight ends"}, {0x407, u"Astron. D\u00e4mmerung Ende"}}};

// The object info dialog's labels.
const Message kMsgSeasons{{0x409, u"Seasons"}, {0x407, u"Jahreszeiten"}};
const Message kMsgSeasonNames[4] = {{{0x409, u"March Equinox"}, {0x407, u"M\u00e4rz \u00c4quinokt."}},
                                    {{0x409, u"June Solstice"}, {0x407, u"Juni Solstitium"}},
                                    {{0x409, u"Sept Equinox"}, {0x407, u"Sept \u00c4quinokt."}},
                                    {{0x409, u"Dec Solstice"}, {0x407, u"Dez Solstitium"}}};
const Message kMsgMoonPhases{{0x409, u"Moon phases"}, {0x407, u"Mondphasen"}};
const Message kMsgPhaseNames[4] = {{{0x409, u"New Moon"}, {0x407, u"Neumond"}},
                                   {{0x409, u"First quarter"}, {0x407, u"Erstes Viertel"}},
                                   {{0x409, u"Full Moon"}, {0x407, u"Vollmond"}},
                                   {{0x409, u"Last quarter"}, {0x407, u"Letztes Viertel"}}};
const Message kMsgBodies[kBodyCount] = {
    {{0x409, u"Sun"}, {0x407, u"Sonne"}},      {{0x409, u"Moon"}, {0x407, u"Mond"}},
    {{0x409, u"Mercury"}, {0x407, u"Merkur"}}, {{0x409, u"Venus"}, {0x407, u"Venus"}},
    {{0x409, u"Mars"}, {0x407, u"Mars"}},      {{0x409, u"Jupiter"}, {0x407, u"Jupiter"}},
    {{0x409, u"Saturn"}, {0x407, u"Saturn"}},  {{0x409, u"Uranus"}, {0x407, u"Uranus"}},
    {{0x409, u"Neptune"}, {0x407, u"Neptun"}}, {{0x409, u"Pluto"}, {0x407, u"Pluto"}}};
const Message kMsgAngularSize{{0x409, u"Angular Size"}, {0x407, u"Durchmesser"}};
const Message kMsgMagnitude{{0x409, u"Magnitude"}, {0x407, u"Helligkeit"}};
const Message kMsgAge{{0x409, u"Age"}, {0x407, u"Alter"}};
const Message kMsgIlluminated{{0x409, u"Illuminated"}, {0x407, u"Beleuchtet"}};
const Message kMsgColongitude{{0x409, u"Colongitude"}, {0x407, u"Kolongitude"}};
const Message kMsgWaxing{{0x409, u"waxing"}, {0x407, u"zunehmend"}};
const Message kMsgWaning{{0x409, u"waning"}, {0x407, u"abnehmend"}};
const Message kMsgCentralMeridian{{0x409, u"Cent. Mer."}, {0x407, u"Zent. Mer."}};
const Message kMsgCentralMeridians{{0x409, u"Cent. Mer. I,II"}, {0x407, u"Zent. Mer. I,II"}};
const Message kMsgJupiterMoons{{0x409, u"Jupiter Moons"}, {0x407, u"Jupiter Monde"}};
const Message kMsgInFront{{0x409, u"in front of Jupiter"}, {0x407, u"vor Jupiter"}};
const Message kMsgBehind{{0x409, u"behind Jupiter"}, {0x407, u"hinter Jupiter"}};
const Message kMsgRingSize{{0x409, u"Ang. Size Ring"}, {0x407, u"Durchm. Ring"}};
const Message kMsgRingTilt{{0x409, u"Ring incl."}, {0x407, u"Ring-Inkl."}};

// The magnetic declination dialog's quantities.
const Message kMsgDeclination{{0x409, u"Declination"}, {0x407, u"Deklination"}};
const Message kMsgInclination{{0x409, u"Inclination (dip)"}, {0x407, u"Inklination"}};
const Message kMsgIntensity{{0x409, u"Total Intensity"}, {0x407, u"Totale Intensit\u00e4t"}};
const Message kMsgMagneticTitle{{0x409, u"Magnetic Declination"}, {0x407, u"Magnetische Deklination"}};
const Message kMsgModel{{0x409, u"Model"}, {0x407, u"Modell"}};
const Message kMsgNoField{{0x409, u"No values available for this date and place."},
                          {0x407, u"F\u00fcr dieses Datum und diesen Ort sind keine Werte verf\u00fcgbar."}};

// --- output helpers ------------------------------------------------------------------

std::string IsoText(AstroTime t) {
    const CalendarDate c = ToCalendar(t);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", c.year, c.month, c.day, c.hour, c.minute,
                  c.second);
    return buf;
}

std::string IsoDate(AstroTime t) { return IsoText(t).substr(0, 10); }

void Put(const std::u16string& s) { std::fputs(PL::ToUtf8(s).c_str(), stdout); }

// Left-aligned in `width` characters (UTF-16 units), and one space.
std::u16string Pad(std::u16string s, size_t width) {
    if (s.size() < width) s.append(width - s.size(), u' ');
    return s + u' ';
}

void Row(std::initializer_list<std::pair<std::u16string, size_t>> cells) {
    std::u16string row;
    for (const auto& c : cells) row += Pad(c.first, c.second);
    while (!row.empty() && row.back() == u' ') row.pop_back();
    Put(row + u"\n");
}

// A moment on the place's clock: the locale's date and time.
std::u16string LocalText(AstroTime local) { return Data::FormatDate(local) + u" " + Data::FormatTime(local); }

std::u16string Hours(int32_t seconds) { return Data::FormatHoursAuto(seconds * 0.00027777778); }

std::u16string Arcseconds(float arcsec) { return Data::FormatDegreesAuto(arcsec / 3600.0); }

// --- the day's events --------------------------------------------------------------

// Day length, night length and the change of the day length against the
// previous day, where the events they need were found (the twilight view's
// rule).
struct DayLengths {
    bool haveDay = false, haveNight = false, haveChange = false;
    int32_t day = 0, night = 0, change = 0;
};

DayLengths Lengths(const TwilightDay& d) {
    const RiseSetEvent* e = d.events;
    DayLengths l;
    if (e[kSunrise].found && e[kSunset].found) {
        l.haveDay = true;
        l.day = DiffSeconds(e[kSunset].ut, e[kSunrise].ut);
    }
    if (e[kSunset].found && e[kSunriseNext].found) {
        l.haveNight = true;
        l.night = DiffSeconds(e[kSunriseNext].ut, e[kSunset].ut);
    }
    if (l.haveDay && e[kSunrisePrevious].found && e[kSunsetPrevious].found) {
        l.haveChange = true;
        l.change = l.day - DiffSeconds(e[kSunsetPrevious].ut, e[kSunrisePrevious].ut);
    }
    return l;
}

void JsonSeconds(const char* key, bool have, int32_t v) {
    if (have)
        std::printf(",\"%s\":%d", key, v);
    else
        std::printf(",\"%s\":null", key);
}

void EventsJson(const TwilightDay& d) {
    std::printf("\"local_date\":\"%s\",\"events\":[", IsoDate(d.localDate).c_str());
    for (int i = 0; i < kTwilightRowCount; ++i) {
        const RiseSetEvent& e = d.events[i];
        std::printf("%s{\"row\":%d,\"name\":\"%s\",\"found\":%s", i ? "," : "", i, kRowKeys[i],
                    e.found ? "true" : "false");
        if (e.found)
            std::printf(",\"utc\":\"%s\",\"local\":\"%s\",\"az_deg\":%.4f,\"alt_deg\":%.4f}", IsoText(e.ut).c_str(),
                        IsoText(e.local).c_str(), e.azimuth, e.altitude);
        else
            std::printf(",\"utc\":null,\"local\":null,\"az_deg\":null,\"alt_deg\":null}");
    }
    std::printf("]");
    const DayLengths l = Lengths(d);
    JsonSeconds("day_length_s", l.haveDay, l.day);
    JsonSeconds("night_length_s", l.haveNight, l.night);
    JsonSeconds("day_length_change_s", l.haveChange, l.change);
}

// The twilight view's table: local times, and after the Sun's and Moon's
// times "<" or ">" for an event on the previous or the following day.
void EventsText(const TwilightDay& d, const Place& place) {
    const RiseSetEvent* e = d.events;
    auto time = [&](int row, bool marker) {
        if (!e[row].found) return std::u16string(marker ? u"-  " : u"-");
        std::u16string t = Data::FormatTime(e[row].local);
        if (marker) {
            const int32_t day = e[row].local.day;
            t += day < d.localDate.day ? u" <" : (day > d.localDate.day ? u" >" : u"  ");
        }
        return t;
    };
    const size_t w = 20, c = 10;
    Row({{MessageText(kMsgDate), w}, {Data::FormatDate(d.localDate), c}});
    Row({{MessageText(kMsgLocation), w},
         {Data::FormatLatitude(place.latitude) + u", " + Data::FormatLongitude(place.longitude), c}});
    Put(u"\n");
    Row({{u"", w}, {MessageText(kMsgRise), c}, {MessageText(kMsgTransit), c}, {MessageText(kMsgSet), c}});
    Row({{MessageText(kMsgSun), w}, {time(kSunrise, true), c}, {time(kSunTransit, true), c}, {time(kSunset, true), c}});
    Row({{MessageText(kMsgMoon), w},
         {time(kMoonrise, true), c},
         {time(kMoonTransit, true), c},
         {time(kMoonset, true), c}});
    const DayLengths l = Lengths(d);
    Row({{MessageText(kMsgDayNight), w},
         {l.haveDay ? Hours(l.day) : u"-", c},
         {l.haveNight ? Hours(l.night) : u"-", c}});
    Row({{MessageText(kMsgDiff), w}, {l.haveChange ? Hours(l.change) : u"-", c}});
    Put(u"\n");
    Row({{MessageText(kMsgTwilight), w}, {MessageText(kMsgMorning), c}, {MessageText(kMsgEvening), c}});
    Row({{MessageText(kMsgCivil), w}, {time(kCivilBegin, false), c}, {time(kCivilEnd, false), c}});
    Row({{MessageText(kMsgNautical), w}, {time(kNauticalBegin, false), c}, {time(kNauticalEnd, false), c}});
    Row({{MessageText(kMsgAstronomical), w},
         {time(kAstronomicalBegin, false), c},
         {time(kAstronomicalEnd, false), c}});
    Put(MessageText(kMsgMarkers) + u"\n\n");

    Row({{MessageText(kMsgEventColumns[0]), 28},
         {MessageText(kMsgEventColumns[1]), 19},
         {MessageText(kMsgEventColumns[2]), 10},
         {MessageText(kMsgEventColumns[3]), 10}});
    for (int i = 0; i < kTwilightRowCount; ++i) {
        if (e[i].found)
            Row({{MessageText(kMsgRows[i]), 28},
                 {PL::FromUtf8(IsoText(e[i].ut)), 19},
                 {Data::FormatDegrees(e[i].azimuth), 10},
                 {Data::FormatDegrees(e[i].altitude), 10}});
        else
            Row({{MessageText(kMsgRows[i]), 28}, {u"-", 19}});
    }
}

// --- seasons and phases -------------------------------------------------------------

void SeasonsOut(int32_t year, Ephemeris& e, bool json) {
    if (json) {
        std::printf("\"seasons\":[");
    } else {
        Put(MessageText(kMsgSeasons) + u" " + Data::FormatInt(year) + u"\n");
    }
    for (int q = 0; q < 4; ++q) {
        const AstroTime t = SeasonEvent(year, q);
        const AstroTime local = e.LocalTime(t);
        if (json)
            std::printf("%s{\"quarter\":%d,\"name\":\"%s\",\"utc\":\"%s\",\"local\":\"%s\"}", q ? "," : "", q,
                        kSeasonKeys[q], IsoText(t).c_str(), IsoText(local).c_str());
        else
            Row({{MessageText(kMsgSeasonNames[q]), 16},
                 {LocalText(local), 20},
                 {u"(UT " + PL::FromUtf8(IsoText(t)) + u")", 0}});
    }
    if (json) std::printf("]");
}

void PhasesOut(int32_t count, Ephemeris& e, bool json) {
    // From the quarter nearest the moment on to the first one not before it.
    MoonPhaseIterator it;
    it.Start(e.moment);
    while (Compare(it.Moment(), e.moment) < 0) it.Next();
    if (json)
        std::printf("\"phases\":[");
    else
        Put(MessageText(kMsgMoonPhases) + u"\n");
    for (int i = 0; i < count; ++i, it.Next()) {
        const AstroTime t = it.Moment();
        const AstroTime local = e.LocalTime(t);
        if (json)
            std::printf("%s{\"k\":%d,\"phase\":%d,\"name\":\"%s\",\"utc\":\"%s\",\"local\":\"%s\"}", i ? "," : "",
                        it.Index(), it.Phase(), kPhaseKeys[it.Phase()], IsoText(t).c_str(), IsoText(local).c_str());
        else
            Row({{MessageText(kMsgPhaseNames[it.Phase()]), 16},
                 {LocalText(local), 20},
                 {u"(UT " + PL::FromUtf8(IsoText(t)) + u", k = " + Data::FormatInt(it.Index()) + u")", 0}});
    }
    if (json) std::printf("]");
}

// --- the physical ephemeris ---------------------------------------------------------

void PhysicalOut(Ephemeris& e, bool json) {
    const AstroTime t = e.moment;
    const MoonPhaseInfo moon = e.MoonPhaseData();
    const float age = MoonAge(t);
    const float colongitude = MoonColongitude(t);
    const MarsMeridian mars = MarsCentralMeridian(t);
    const JupiterMeridians jm = JupiterCentralMeridians(t);
    JupiterMoon moons[kJupiterMoonCount];
    JupiterMoons(t, moons);
    const DiscSize jupiter = e.JupiterDisc();
    const DiscSize saturn = e.SaturnDisc();
    const DiscSize rings = e.SaturnRings();
    const float tilt = e.SaturnTilt();
    const float tiltDeg = Asin(tilt) * kRadToDeg;
    if (json) {
        std::printf("\"physical\":{\"bodies\":[");
        for (int i = 0; i < kBodyCount; ++i)
            std::printf("%s{\"index\":%d,\"name\":\"%s\",\"diameter_arcsec\":%.4f,\"magnitude\":%.3f}", i ? "," : "",
                        i, kBodyKeys[i], e.AngularDiameter(i), e.Magnitude(i));
        std::printf("],\"moon\":{\"age_days\":%.4f,\"illuminated_pct\":%.3f,\"waxing\":%s,\"sun_angle_rad\":%.5f,"
                    "\"sun_direction_rad\":%.5f,\"axis_angle_rad\":%.5f,\"colongitude_deg\":%.3f}",
                    age, moon.illuminated, moon.waxing ? "true" : "false", moon.sunAngle, moon.sunDirection,
                    moon.axisAngle, colongitude);
        std::printf(",\"mars\":{\"central_meridian_deg\":%d,\"earth_declination_deg\":%d}", mars.centralMeridian,
                    mars.earthDeclination);
        std::printf(",\"jupiter\":{\"equatorial_arcsec\":%.3f,\"polar_arcsec\":%.3f,\"central_meridian_1_deg\":%d,"
                    "\"central_meridian_2_deg\":%d,\"moons\":[",
                    jupiter.major, jupiter.minor, jm.system1, jm.system2);
        for (int i = 0; i < kJupiterMoonCount; ++i)
            std::printf("%s{\"letter\":\"%c\",\"x\":%.3f,\"y\":%.3f,\"in_front\":%s}", i ? "," : "",
                        static_cast<char>(moons[i].letter), moons[i].x, moons[i].y,
                        moons[i].inFront ? "true" : "false");
        std::printf("]},\"saturn\":{\"tilt_sine\":%.5f,\"tilt_deg\":%.3f,\"equatorial_arcsec\":%.3f,"
                    "\"polar_arcsec\":%.3f,\"ring_major_arcsec\":%.3f,\"ring_minor_arcsec\":%.3f}}",
                    tilt, tiltDeg, saturn.major, saturn.minor, rings.major, rings.minor);
        return;
    }
    const size_t w = 16;
    Row({{u"", 9}, {MessageText(kMsgAngularSize), 12}, {MessageText(kMsgMagnitude), 10}});
    for (int i = 0; i < kBodyCount; ++i)
        Row({{MessageText(kMsgBodies[i]), 9},
             {Arcseconds(e.AngularDiameter(i)), 12},
             {Data::FormatResolution(e.Magnitude(i), -0.01), 10}});
    Put(u"\n" + MessageText(kMsgBodies[kMoon]) + u"\n");
    Row({{MessageText(kMsgAge), w}, {Data::FormatDaysTime(age, false), 0}});
    Row({{MessageText(kMsgIlluminated), w},
         {Data::FormatResolution(moon.illuminated, -0.1) + u"% " +
              MessageText(moon.waxing ? kMsgWaxing : kMsgWaning),
          0}});
    Row({{MessageText(kMsgColongitude), w}, {Data::FormatDegrees(colongitude), 0}});
    Put(u"\n" + MessageText(kMsgBodies[kMars]) + u"\n");
    Row({{MessageText(kMsgCentralMeridian), w}, {Data::FormatInt(mars.centralMeridian) + u"\u00b0", 0}});
    Put(u"\n" + MessageText(kMsgBodies[kJupiter]) + u"\n");
    Row({{MessageText(kMsgAngularSize), w}, {Arcseconds(jupiter.major) + u" x " + Arcseconds(jupiter.minor), 0}});
    Row({{MessageText(kMsgCentralMeridians), w},
         {Data::FormatInt(jm.system1) + u"\u00b0, " + Data::FormatInt(jm.system2) + u"\u00b0", 0}});
    Row({{MessageText(kMsgJupiterMoons), w}});
    for (const JupiterMoon& m : moons)
        Row({{std::u16string(1, m.letter), w},
             {u"X " + Data::FormatResolution(m.x, -0.01), 9},
             {u"Y " + Data::FormatResolution(m.y, -0.01), 9},
             {MessageText(m.inFront ? kMsgInFront : kMsgBehind), 0}});
    Put(u"\n" + MessageText(kMsgBodies[kSaturn]) + u"\n");
    Row({{MessageText(kMsgAngularSize), w}, {Arcseconds(saturn.major) + u" x " + Arcseconds(saturn.minor), 0}});
    Row({{MessageText(kMsgRingSize), w}, {Arcseconds(rings.major) + u" x " + Arcseconds(Fabs(rings.minor)), 0}});
    Row({{MessageText(kMsgRingTilt), w}, {Data::FormatDegrees(tiltDeg), 0}});
}

// --- the magnetic field ---------------------------------------------------------------

void MagneticOut(Ephemeris& e, bool json) {
    MagneticModel mm;
    mm.latitude = e.place.latitude;
    mm.longitude = e.place.longitude;
    mm.height = 0.0f;
    mm.moment = e.moment;
    mm.Recompute();
    const std::string model = PL::ToUtf8(mm.ModelName());
    if (json) {
        if (mm.valid)
            std::printf("\"magnetic\":{\"valid\":true,\"model\":\"%s\",\"declination_deg\":%.4f,"
                        "\"inclination_deg\":%.4f,\"intensity_nt\":%.1f}",
                        model.c_str(), mm.declination, mm.inclination, mm.intensity);
        else
            std::printf("\"magnetic\":{\"valid\":false,\"model\":null,\"declination_deg\":null,"
                        "\"inclination_deg\":null,\"intensity_nt\":null}");
        return;
    }
    Put(MessageText(kMsgMagneticTitle) + u"\n");
    if (!mm.valid) {
        Put(MessageText(kMsgNoField) + u"\n");
        return;
    }
    const size_t w = 22;
    Row({{MessageText(kMsgDeclination), w}, {Data::FormatDegrees(mm.declination), 0}});
    Row({{MessageText(kMsgInclination), w}, {Data::FormatDegrees(mm.inclination), 0}});
    Row({{MessageText(kMsgIntensity), w}, {Data::FormatResolution(mm.intensity, 1) + u" nT", 0}});
    Row({{MessageText(kMsgModel), w}, {PL::FromUtf8(model), 0}});
}

}  // namespace

int PrintEventSections(const EventSections& s, Ephemeris& e, bool json) {
    bool first = true;
    auto next = [&]() {
        if (json)
            std::printf(first ? "{" : ",");
        else if (!first)
            std::printf("\n");
        first = false;
    };
    if (s.events) {
        next();
        const TwilightDay d = TwilightEvents(e.moment, e.place, e.summerMode);
        if (json)
            EventsJson(d);
        else
            EventsText(d, e.place);
    }
    if (s.seasons) {
        next();
        SeasonsOut(s.seasonYear, e, json);
    }
    if (s.phases) {
        next();
        PhasesOut(s.phaseCount, e, json);
    }
    if (s.physical) {
        next();
        PhysicalOut(e, json);
    }
    if (s.magnetic) {
        next();
        MagneticOut(e, json);
    }
    if (json) std::printf("}\n");
    return 0;
}
