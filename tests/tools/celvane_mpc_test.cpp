// celvane-mpc run as a user would, on the Minor Planet Center's own files
// (catalogs/mpc), and the positions the engine then computes from what it
// wrote, checked against an independent two-body solution and against
// published close approaches.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "mpc_elements.h"
#include "tool_run.h"

using namespace tooltest;

namespace {

const std::string kComets = kSource + "/catalogs/mpc/CometEls_20211016.txt";
const std::string kPlanets = kSource + "/catalogs/mpc/MPCORB_sample.txt";

RunResult Mpc(const std::string& args) { return Run(kBinary + "/tools/celvane-mpc " + args + " 2>&1"); }

// The line of the MPC file that starts with `prefix`.
std::string MpcLine(const std::string& file, const std::string& prefix) {
    const std::string all = ReadAll(file);
    for (size_t at = 0; at < all.size();) {
        size_t end = all.find('\n', at);
        if (end == std::string::npos) end = all.size();
        const std::string line = all.substr(at, end - at);
        if (line.compare(0, prefix.size(), prefix) == 0) return line;
        at = end + 1;
    }
    ADD_FAILURE() << "no line " << prefix;
    return std::string();
}

// --- an independent reference -----------------------------------------------------------

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180;
constexpr double kGauss = 0.01720209895;  // k, AU^1.5 / day

// Julian Day of a Gregorian date with a day fraction (Meeus, ch. 7).
double JulianDay(int y, int m, double d) {
    if (m <= 2) {
        y -= 1;
        m += 12;
    }
    const int a = y / 100, b = 2 - a + a / 4;
    return std::floor(365.25 * (y + 4716)) + std::floor(30.6001 * (m + 1)) + d + b - 1524.5;
}

struct Vec {
    double x, y, z;
};
Vec Sub(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Len(Vec a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }
double AngleDeg(Vec a, Vec b) {
    return std::acos((a.x * b.x + a.y * b.y + a.z * b.z) / (Len(a) * Len(b))) / kDeg;
}

// Two-body motion in double precision from perihelion time and distance:
// Kepler's equation (Meeus, ch. 30) for e < 1, its hyperbolic form for
// e > 1, Barker's equation (ch. 34) for e = 1; the ecliptic J2000
// coordinates from the true anomaly and the angles (ch. 33).
struct Orbit {
    double T, q, e, w, node, i;  // JD; AU; degrees
};

Vec Heliocentric(const Orbit& o, double jd) {
    const double dt = jd - o.T;
    double x = 0, y = 0;
    if (o.e < 1) {
        const double a = o.q / (1 - o.e);
        const double m = std::remainder(kGauss / std::pow(a, 1.5) * dt, 2 * kPi);
        double E = o.e < 0.8 ? m : (m < 0 ? -kPi : kPi);
        for (int k = 0; k < 100; ++k) E -= (E - o.e * std::sin(E) - m) / (1 - o.e * std::cos(E));
        x = a * (std::cos(E) - o.e);
        y = a * std::sqrt(1 - o.e * o.e) * std::sin(E);
    } else if (o.e > 1) {
        const double a = o.q / (o.e - 1);
        const double m = kGauss / std::pow(a, 1.5) * dt;
        double H = std::asinh(m / o.e);
        for (int k = 0; k < 100; ++k) H -= (o.e * std::sinh(H) - H - m) / (o.e * std::cosh(H) - 1);
        x = a * (o.e - std::cosh(H));
        y = a * std::sqrt(o.e * o.e - 1) * std::sinh(H);
    } else {
        const double W = 3 * kGauss / std::sqrt(2.0) / std::pow(o.q, 1.5) * dt;
        double s = 0;
        for (int k = 0; k < 100; ++k) s -= (s * s * s + 3 * s - W) / (3 * s * s + 3);
        x = o.q * (1 - s * s);
        y = 2 * o.q * s;
    }
    const double r = std::hypot(x, y), u = std::atan2(y, x) + o.w * kDeg;
    const double N = o.node * kDeg, I = o.i * kDeg;
    return {r * (std::cos(N) * std::cos(u) - std::sin(N) * std::sin(u) * std::cos(I)),
            r * (std::sin(N) * std::cos(u) + std::cos(N) * std::sin(u) * std::cos(I)), r * std::sin(u) * std::sin(I)};
}

// The Earth, heliocentric ecliptic J2000, from the Sun's low-precision
// geometric longitude and distance (Meeus, ch. 25; about 0.01 degrees).
Vec Earth(double jd) {
    const double T = (jd - 2451545.0) / 36525;
    const double L0 = 280.46646 + 36000.76983 * T + 0.0003032 * T * T;
    const double M = (357.52911 + 35999.05029 * T - 0.0001537 * T * T) * kDeg;
    const double e = 0.016708634 - 0.000042037 * T - 0.0000001267 * T * T;
    const double C = (1.914602 - 0.004817 * T - 0.000014 * T * T) * std::sin(M) +
                     (0.019993 - 0.000101 * T) * std::sin(2 * M) + 0.000289 * std::sin(3 * M);
    const double lon = (L0 + C - 0.01397 * 100 * T) * kDeg;  // to the equinox J2000
    const double R = 1.000001018 * (1 - e * e) / (1 + e * std::cos(M + C * kDeg));
    return {-R * std::cos(lon), -R * std::sin(lon), 0};
}

// The elements of a comet line, read from its columns here, not by the converter.
Orbit CometOrbit(const std::string& l) {
    auto f = [&l](size_t from, size_t to) { return std::stod(l.substr(from - 1, to - from + 1)); };
    return {JulianDay(std::stoi(l.substr(14, 4)), std::stoi(l.substr(19, 2)), f(23, 29)),
            f(31, 39), f(42, 49), f(52, 59), f(62, 69), f(72, 79)};
}

// Ceres of the MPCORB line at its epoch K243V, 2024-03-31.0: the perihelion
// time is the epoch less M / n.
Orbit CeresOrbit(const std::string& l) {
    auto f = [&l](size_t from, size_t to) { return std::stod(l.substr(from - 1, to - from + 1)); };
    const double a = f(93, 103), e = f(71, 79), M = f(27, 35) * kDeg;
    const double epoch = JulianDay(2024, 3, 31.0);
    return {epoch - M / (kGauss / std::pow(a, 1.5)), a * (1 - e), e, f(38, 46), f(49, 57), f(60, 68)};
}

class MpcConverter : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = Scratch("celvane_mpc");
        ASSERT_EQ(::mkdir((dir_ + "/celvane").c_str(), 0755), 0);
    }
    void TearDown() override { RemoveAll(dir_); }

    // celvane-ephem with the scratch folder as the user's data folder.
    RunResult Object(const std::string& key, const std::string& utc) const {
        return Ephem("--object '" + key + "' --json --lat 0 --lon 0 --utc " + utc, "XDG_DATA_HOME='" + dir_ + "'",
                     false);
    }

    // The engine's place of a converted object against the two-body
    // reference: heliocentric and geocentric distance, elongation and the
    // ecliptic longitude and latitude (of date: the reference's J2000
    // longitude plus the general precession, 5029.1" per century).
    void ExpectPlace(const std::string& key, const Orbit& o, const std::string& utc) {
        SCOPED_TRACE(key + " at " + utc);
        const RunResult r = Object(key, utc);
        ASSERT_EQ(r.status, 0) << r.out;
        const double jd = JulianDay(std::stoi(utc.substr(0, 4)), std::stoi(utc.substr(5, 2)),
                                    std::stoi(utc.substr(8, 2)) + std::stoi(utc.substr(11, 2)) / 24.0);
        const Vec helio = Heliocentric(o, jd), earth = Earth(jd), geo = Sub(helio, earth);
        const Vec sun{-earth.x, -earth.y, -earth.z};
        const double T = (jd - 2451545.0) / 36525;
        const double lon = std::fmod(std::atan2(geo.y, geo.x) / kDeg + 5029.1 / 3600 * T + 720, 360.0);
        const double lat = std::asin(geo.z / Len(geo)) / kDeg;
        EXPECT_NEAR(Number(r.out, "r_au"), Len(helio), 1e-5 * Len(helio));
        EXPECT_NEAR(Number(r.out, "delta_au"), Len(geo), 3e-4);
        EXPECT_NEAR(std::fabs(Number(r.out, "elongation_deg")), AngleDeg(geo, sun), 0.03);  // signed east/west
        EXPECT_NEAR(std::remainder(Number(r.out, "ecl_lon_deg") - lon, 360.0), 0, 0.03 / std::cos(lat * kDeg));
        EXPECT_NEAR(Number(r.out, "ecl_lat_deg"), lat, 0.03);
    }

    std::string dir_;
};

}  // namespace

TEST(MpcPacked, DesignationsAndEpochs) {
    EXPECT_EQ(mpc::UnpackCometDesignation("0001P       "), "1P");
    EXPECT_EQ(mpc::UnpackCometDesignation("0073P      t"), "73P-T");
    EXPECT_EQ(mpc::UnpackCometDesignation("    CK20F030"), "C/2020 F3");
    EXPECT_EQ(mpc::UnpackCometDesignation("    PJ98V24S"), "P/1998 VS24");
    EXPECT_EQ(mpc::UnpackCometDesignation("    CK19Y04b"), "C/2019 Y4-B");
    EXPECT_EQ(mpc::UnpackCometDesignation("    CK20F000"), "");
    EXPECT_EQ(mpc::UnpackMinorPlanet("00001  "), "1");
    EXPECT_EQ(mpc::UnpackMinorPlanet("A0345  "), "100345");
    EXPECT_EQ(mpc::UnpackMinorPlanet("~0000  "), "620000");
    EXPECT_EQ(mpc::UnpackMinorPlanet("K24A01B"), "2024 AB1");
    EXPECT_EQ(mpc::UnpackMinorPlanet("J95X00A"), "1995 XA");
    EXPECT_EQ(mpc::UnpackMinorPlanet("PLS2040"), "2040 P-L");
    EXPECT_EQ(mpc::UnpackMinorPlanet("T3S3141"), "3141 T-3");
    int y = 0, m = 0, d = 0;
    ASSERT_TRUE(mpc::UnpackEpoch("K243V", y, m, d));
    EXPECT_EQ(y * 10000 + m * 100 + d, 20240331);
    EXPECT_TRUE(mpc::UnpackEpoch("K242T", y, m, d));   // 2024-02-29, a leap day
    EXPECT_FALSE(mpc::UnpackEpoch("K232T", y, m, d));  // 2023-02-29
    EXPECT_FALSE(mpc::UnpackEpoch("K244V", y, m, d));  // April 31
}

// The whole comet file converts without a bad line and loads in the
// program's reader (through celvane-ephem --list with a path); the
// comets the engine then places agree with the two-body reference.
TEST_F(MpcConverter, CometFileConvertsAndTheEnginePlacesItsComets) {
    const std::string out = dir_ + "/celvane/Mpc.pco";
    RunResult r = Mpc("'" + kComets + "' -o '" + out + "'");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(Has(r.out, "923 comets and 0 minor planets")) << r.out;
    EXPECT_FALSE(Has(r.out, "line skipped")) << r.out;
    const std::string bytes = ReadAll(out);
    EXPECT_EQ(bytes.compare(0, 3, "\xEF\xBB\xBF"), 0);
    EXPECT_EQ(Count(bytes, "\r\n"), 923u);

    r = Ephem("--list '" + out + "' --json", "XDG_DATA_HOME=/nonexistent-celvane-data", false);
    ASSERT_EQ(r.status, 0) << r.out.substr(0, 300);
    EXPECT_EQ(Items(r.out, "objects").size(), 923u);
    for (const char* entry : {"\"key\":\"AC1P,Mpc\",\"name\":\"1P/Halley\"",
                              "\"key\":\"AC73P-T,Mpc\",\"name\":\"73P-T/Schwassmann-Wachmann\"",
                              "\"key\":\"AC1I,Mpc\",\"name\":\"1I/'Oumuamua\"",
                              "\"key\":\"AC2I,Mpc\",\"name\":\"2I/Borisov\"",
                              "\"key\":\"ACC/2020F3,Mpc\",\"name\":\"C/2020 F3 (NEOWISE)\"",
                              "\"key\":\"ACP/1998VS24,Mpc\",\"name\":\"P/1998 VS24 (LINEAR)\""})
        EXPECT_TRUE(Has(r.out, entry)) << entry;
    // A line with an empty epoch (C/2018 F3, also exactly parabolic).
    EXPECT_TRUE(Has(r.out, "\"name\":\"C/2018 F3 (Johnson)\",\"info\":\"Comet on an open orbit, perihelion "
                           "2017-08-15\""));

    // Elliptic e = 0.97 (40 years after perihelion, and at it), near-parabolic
    // e = 0.999, parabolic, hyperbolic and strongly hyperbolic, a fragment and
    // an asteroid-style comet designation.
    ExpectPlace("AC1P,Mpc", CometOrbit(MpcLine(kComets, "0001P")), "2026-06-09T00:00:00");
    ExpectPlace("AC1P,Mpc", CometOrbit(MpcLine(kComets, "0001P")), "1986-02-09T02:24:17");
    ExpectPlace("ACC/2020F3,Mpc", CometOrbit(MpcLine(kComets, "    CK20F030")), "2020-07-15T12:00:00");
    ExpectPlace("ACC/2018F3,Mpc", CometOrbit(MpcLine(kComets, "    CK18F030")), "2018-01-01T00:00:00");
    ExpectPlace("AC2I,Mpc", CometOrbit(MpcLine(kComets, "0002I")), "2020-03-01T00:00:00");
    ExpectPlace("AC1I,Mpc", CometOrbit(MpcLine(kComets, "0001I")), "2017-10-20T00:00:00");
    ExpectPlace("AC73P-T,Mpc", CometOrbit(MpcLine(kComets, "0073P      t")), "2022-05-01T00:00:00");
    ExpectPlace("ACP/1998VS24,Mpc", CometOrbit(MpcLine(kComets, "    PJ98V24S")), "2024-01-01T00:00:00");

    // Published close approaches to the Earth: C/2020 F3 (NEOWISE) 0.692 AU
    // on 2020 July 23 at 01:09 UT, 2I/Borisov 1.937 AU on 2019 December 28,
    // 1I/'Oumuamua 0.162 AU on 2017 October 14 (these elements osculate
    // weeks to a year away from those days, hence the margins).
    r = Object("ACC/2020F3,Mpc", "2020-07-23T01:09:00");
    const double closest = Number(r.out, "delta_au");
    EXPECT_NEAR(closest, 0.692, 0.002) << r.out;
    EXPECT_GT(Number(Object("ACC/2020F3,Mpc", "2020-07-21T01:09:00").out, "delta_au"), closest);
    EXPECT_GT(Number(Object("ACC/2020F3,Mpc", "2020-07-25T01:09:00").out, "delta_au"), closest);
    EXPECT_NEAR(Number(Object("AC2I,Mpc", "2019-12-28T00:00:00").out, "delta_au"), 1.937, 0.002);
    EXPECT_NEAR(Number(Object("AC1I,Mpc", "2017-10-14T12:00:00").out, "delta_au"), 0.162, 0.003);
}

TEST_F(MpcConverter, MinorPlanetsWithTheMpcorbHeader) {
    // MPCORB.DAT begins with a text that ends in a line of dashes: skipped,
    // not reported. Line ends CR LF.
    std::string text = ReadAll(kSource + "/catalogs/orbits/MPCORB_header.txt") + ReadAll(kPlanets);
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    WriteAll(dir_ + "/MPCORB.DAT", crlf);
    const std::string out = dir_ + "/celvane/Ast.pco";
    RunResult r = Mpc("'" + dir_ + "/MPCORB.DAT' -o '" + dir_ + "/celvane/Ast'");  // .pco added
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(Has(r.out, "0 comets and 4 minor planets")) << r.out;
    EXPECT_FALSE(Has(r.out, "skipped")) << r.out;
    EXPECT_TRUE(Has(ReadAll(out), "\xEF\xBB\xBF" "1 Ceres;Main-belt asteroid, epoch 2024-03-31;0;0;2460400.5;"));
    r = Object("AC4,Ast", "2024-03-31T00:00:00");
    EXPECT_EQ(Text(r.out, "name"), "4 Vesta");
    ExpectPlace("AC1,Ast", CeresOrbit(MpcLine(kPlanets, "00001")), "2024-03-31T00:00:00");
    ExpectPlace("AC1,Ast", CeresOrbit(MpcLine(kPlanets, "00001")), "2026-06-09T00:00:00");
}

// Bad lines are reported by number and left out; the rest is written.
TEST_F(MpcConverter, BadLinesAreReportedAndSkipped) {
    const std::string neowise = MpcLine(kComets, "    CK20F030");
    const std::string ceres = MpcLine(kPlanets, "00001");
    auto with = [](std::string l, size_t col, const std::string& text) { return l.replace(col - 1, text.size(), text); };
    const std::vector<std::string> lines = {
        neowise,                                    // 1
        with(neowise, 20, "13"),                    // 2 month 13
        with(neowise, 23, "31.2000"),               // 3 July 31 is fine ...
        with(neowise, 20, "06"),                    // 4 ... and June 3 too
        with(with(neowise, 20, "06"), 23, "31.0000"),  // 5 June 31
        with(neowise, 42, "-0.99913"),              // 6 e below zero
        with(neowise, 31, " 0.000000"),             // 7 q zero
        neowise.substr(0, 60),                      // 8 cut short
        neowise.substr(0, 38) + "0" + neowise.substr(38),  // 9 q one column wider
        "",                                         // 10 empty: not reported
        "Comet elements of 2021",                   // 11 neither format
        with(ceres, 21, "K242U"),                   // 12 2024-02-30
        with(ceres, 71, "1.0790273"),               // 13 e above 1
        with(ceres, 93, "  0.0000000"),             // 14 a zero
        ceres.substr(0, 90),                        // 15 cut short
        ceres,                                      // 16
        with(ceres.substr(0, 160), 1, "K24A01B")};  // 17 no readable name: the packed one
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    WriteAll(dir_ + "/bad.txt", text);
    const RunResult r = Mpc("'" + dir_ + "/bad.txt' -o '" + dir_ + "/celvane/Bad.pco'");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(Has(r.out, "3 comets and 2 minor planets from")) << r.out;
    EXPECT_TRUE(Has(r.out, "; 11 lines skipped")) << r.out;
    for (const char* report : {"line 2 (comet): the perihelion date 2020 13  3.6314 is not a date",
                               "line 5 (comet): the perihelion date 2020 06 31.0000 is not a date",
                               "line 6 (comet): the eccentricity -0.99913 is below zero",
                               "line 7 (comet): the perihelion distance is zero",
                               "line 8 (comet): the line is cut short", "line 9 (comet): column 40 should be blank",
                               "line 11: not a line of the MPC's comet or minor-planet format",
                               "line 12 (minor planet): the epoch \"K242U\" in columns 21-25 is not a date",
                               "line 13 (minor planet): the eccentricity 1.0790273 is not below 1",
                               "line 14 (minor planet): the semi-major axis is zero",
                               "line 15 (minor planet): the line is cut short"})
        EXPECT_TRUE(Has(r.out, report)) << report << "\n" << r.out;
    EXPECT_FALSE(Has(r.out, "line 10")) << r.out;
    const RunResult list =
        Ephem("--list '" + dir_ + "/celvane/Bad.pco' --json", "XDG_DATA_HOME=/nonexistent-celvane-data", false);
    EXPECT_EQ(Items(list.out, "objects").size(), 5u) << list.out;
    EXPECT_TRUE(Has(list.out, "perihelion 2020-07-31")) << list.out;
    EXPECT_TRUE(Has(list.out, "\"name\":\"2024 AB1\",\"info\":\"Main-belt asteroid, epoch 2024-03-31\"")) << list.out;
}

// A file of neither format is refused: nothing is written, an older output
// stays as it was, and no temporary file is left behind.
TEST_F(MpcConverter, AFileOfNeitherFormatIsRefused) {
    const std::string out = dir_ + "/celvane/Mpc.pco";
    WriteAll(out, "old contents\r\n");
    WriteAll(dir_ + "/celvane/notes.txt", "Elements of 2021\nsee https://minorplanetcenter.net\n");
    for (const std::string& input : {dir_ + "/celvane/notes.txt", std::string("/dev/null")}) {
        const RunResult r = Mpc("'" + input + "' -o '" + out + "'");
        EXPECT_EQ(r.status, 1) << r.out;
        EXPECT_TRUE(Has(r.out, "holds no line of the MPC's comet (CometEls.txt) or minor-planet (MPCORB) format; "
                               "nothing written"))
            << r.out;
    }
    EXPECT_EQ(ReadAll(out), "old contents\r\n");
    RunResult r = Mpc("'" + dir_ + "/missing.txt' -o '" + dir_ + "/celvane/New.pco'");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.out, "cannot read")) << r.out;
    r = Mpc("'" + kComets + "' -o '" + dir_ + "/no-such-folder/New.pco'");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.out, "cannot write")) << r.out;
    EXPECT_EQ(tooltest::Run("ls -A '" + dir_ + "/celvane'").out, "Mpc.pco\nnotes.txt\n");  // no temporary file left
}

// celvane-ephem --list takes a path as well as a name in the data folders.
TEST_F(MpcConverter, ListTakesAPath) {
    ASSERT_EQ(Mpc("'" + kPlanets + "' -o '" + dir_ + "/Vesta.pco'").status, 0);
    const std::string env = "cd '" + dir_ + "' && XDG_DATA_HOME=/nonexistent-celvane-data";
    for (const char* file : {"./Vesta.pco", "Vesta.pco", "./vesta.PCO"}) {
        const RunResult r = Ephem(std::string("--list ") + file + " --json", env, false);
        ASSERT_EQ(r.status, 0) << file << ": " << r.out;
        EXPECT_EQ(r.out.rfind("{\"file\":\"Vesta\",\"objects\":[{\"index\":0,\"key\":\"AC1,Vesta\"", 0), 0u) << r.out;
    }
    // A missing file is not looked for in the data folders: the message names the path.
    RunResult r = Ephem("--list ./Comets.pco", env);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.out, "Error reading file ./Comets.pco.")) << r.out;
    r = Ephem("--list '" + kComets + "'", env);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.out, "is no user-object (.puo) or comet (.pco) file")) << r.out;
}
