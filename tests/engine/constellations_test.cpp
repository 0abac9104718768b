#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "engine/constellations.h"
#include "engine/vecmath.h"

using namespace Calc;

namespace {

constexpr int kAnd = 0, kCMa = 19, kCas = 13, kCyg = 30, kLac = 44, kOct = 57, kPsc = 66,
              kSer = 73, kUMi = 83;
constexpr double kPiD = 3.14159265358979323846;

Vec3 Direction(double raHours, double decDeg) {
    const double a = raHours * kPiD / 12, d = decDeg * kPiD / 180;
    return {float(std::cos(d) * std::cos(a)), float(std::cos(d) * std::sin(a)), float(std::sin(d))};
}

// A vertex decoded into whole seconds of time and arcminutes.
struct Decoded {
    long ra, dec;
};
Decoded Decode(const BoundaryVertex& v) {
    double ra = std::atan2(double(v.sinRa), double(v.cosRa)) * 43200 / kPiD;
    if (ra < 0) ra += 86400;
    const double dec = std::atan2(double(v.sinDec), double(v.cosDec)) * 10800 / kPiD;
    return {std::lround(ra) % 86400, std::lround(dec)};
}
BoundaryVertex Vertex(int i) {
    const int16_t* v = kBoundaryVertices[i];
    return {v[0], v[1], v[2], v[3]};
}

// Collects what the enumeration hands out.
struct Recorder : ConstellationBoundaries {
    struct Call {
        BoundaryVertex start;
        int32_t length;
        bool alongParallel;
    };
    std::vector<Call> calls;
    void Segment(const BoundaryVertex& start, int32_t lengthArcsec, bool alongParallel) override {
        calls.push_back({start, lengthArcsec, alongParallel});
    }
};

}  // namespace

TEST(Constellations, KnownDirections) {
    EXPECT_EQ(ConstellationOf({0, 0, 1}), kUMi);
    EXPECT_EQ(ConstellationOf({0, 0, -1}), kOct);
    EXPECT_EQ(ConstellationOf({1, 0, 0}), kPsc);
    EXPECT_EQ(ConstellationOf(Direction(6.75, -16.7)), kCMa);
    // Not a unit vector: only the direction counts.
    EXPECT_EQ(ConstellationOf(Direction(20.7, 45.3) * 37.5f), kCyg);
    // Damaged input gives an answer, not a crash.
    EXPECT_EQ(ConstellationOf({0, 0, 0}), kPsc);
    const float nan = std::nanf("");
    const int i = ConstellationOf({nan, nan, nan});
    EXPECT_TRUE(i >= 0 && i < kConstellationCount) << i;
    // The last row of every band reaches 86400 s, so the far edge of the
    // circle is found (at every declination: the plain search below).
    EXPECT_EQ(ConstellationAt(86400, 0), kPsc);
    EXPECT_EQ(ConstellationAt(86400, 5400), kUMi);
    EXPECT_EQ(ConstellationAt(86400, -5400), kOct);
}

// A band's lower limit belongs to the band; a point a fraction of an
// arcminute below it lies in the band below, in both hemispheres (south of
// the equator truncation toward zero lifted it into the band above).
TEST(Constellations, PointsJustEitherSideOfBandLimits) {
    struct Limit {
        double ra, dec;
        const char* above;
        const char* below;
    };
    const Limit limits[] = {
        {2.8, -1.75, "Cet", "Eri"},   {15.4, -3.25, "Ser", "Lib"},  {4.75, -4.0, "Ori", "Eri"},
        {16.6, -45.5, "Sco", "Ara"},  {0.1, -7.0, "Psc", "Cet"},    {0.3, -58.5, "Phe", "Tuc"},
        {3.8, 0.0, "Tau", "Eri"},     {1.0, 2.0, "Psc", "Cet"},     {7.05, 1.5, "CMi", "Mon"},
        {0.1, 66.0, "Cep", "Cas"},    {9.5, 82.0, "Cam", "Dra"},    {23.7667, 31.3333, "And", "Peg"},
    };
    for (const Limit& l : limits) {
        const std::string where = std::to_string(l.ra) + " h " + std::to_string(l.dec);
        EXPECT_STREQ(ConstellationAbbreviationAscii(ConstellationOf(Direction(l.ra, l.dec + 0.3 / 60))), l.above)
            << where;
        EXPECT_STREQ(ConstellationAbbreviationAscii(ConstellationOf(Direction(l.ra, l.dec - 0.3 / 60))), l.below)
            << where;
    }
    // Just south of the limit at -1.75 degrees: 2.667 h, -1.7583 lies in Eridanus, not Cetus.
    EXPECT_STREQ(ConstellationAbbreviationAscii(ConstellationOf(Direction(2.667, -1.7583))), "Eri");
    // Just before 24 h and just after 0 h the table's rows at both ends hold.
    EXPECT_STREQ(ConstellationAbbreviationAscii(ConstellationOf(Direction(23.99999, -7.0 - 0.3 / 60))), "Cet");
    EXPECT_STREQ(ConstellationAbbreviationAscii(ConstellationOf(Direction(0.00001, -7.0 - 0.3 / 60))), "Cet");
}

// Roman's search as published: walk the bands down from the pole, then take
// the first row that holds the right ascension.
static int PlainSearch(int ra, int dec) {
    int row = 0, limit = 5280;
    while (limit > dec) limit -= kConstellationRegions[++row][2] >> 7;
    for (;; ++row) {
        const uint16_t* r = kConstellationRegions[row];
        const int start = 2 * r[0] + (r[1] & 1), width = r[1] >> 1;
        if (start <= ra && ra <= (width ? start + width : 86400)) return r[2] & 127;
    }
}

TEST(Constellations, LookupAgreesWithThePlainSearch) {
    // Every band limit and the arcminutes either side (where the search's
    // starting point changes), and every seventh arcminute.
    std::set<int> decs;
    for (int dec = -5400; dec <= 5400; dec += 7) decs.insert(dec);
    for (int row = 0, limit = 5280; row < kConstellationRegionCount; ++row) {
        limit -= row ? kConstellationRegions[row][2] >> 7 : 0;
        for (int d : {limit - 1, limit, limit + 1})
            if (d >= -5400 && d <= 5400) decs.insert(d);
    }
    for (int dec : decs) {
        for (int ra = (dec + 5400) % 1201; ra <= 86400; ra += 1201) {
            ASSERT_EQ(ConstellationAt(ra, dec), PlainSearch(ra, dec)) << ra << " " << dec;
        }
        ASSERT_EQ(ConstellationAt(0, dec), PlainSearch(0, dec)) << dec;
        ASSERT_EQ(ConstellationAt(86400, dec), PlainSearch(86400, dec)) << dec;
    }
    // Every row's own edges, in the bands where they are drawn.
    for (int row = 0; row < kConstellationRegionCount; ++row) {
        const uint16_t* r = kConstellationRegions[row];
        const int start = 2 * r[0] + (r[1] & 1), end = (r[1] >> 1) ? start + (r[1] >> 1) : 86400;
        for (int dec = -5400; dec <= 5400; dec += 61) {
            for (int ra : {start - 1, start, start + 1, end - 1, end, end + 1}) {
                if (ra < 0 || ra > 86400) continue;
                ASSERT_EQ(ConstellationAt(ra, dec), PlainSearch(ra, dec)) << ra << " " << dec;
            }
        }
    }
}

TEST(Constellations, CentresLieInTheirConstellations) {
    const Mat3 toB1875 = Precession(0.0f, -1.25f);
    for (int i = 0; i < kConstellationCount; ++i) {
        const Vec3 c = ConstellationCentre(i);
        EXPECT_NEAR(Length(c), 1.0f, 0.02f) << i;
        EXPECT_EQ(ConstellationOf(MulMatT(toB1875, c)), i) << ConstellationAbbreviationAscii(i);
    }
    for (int i : {-1, 88, 89, 1000}) EXPECT_EQ(Length(ConstellationCentre(i)), 0.0f) << i;
}

// Delporte's boundaries: the first segment starts at 22h52m, +34.5 degrees
// and runs 1080' north between And and Lac; the second runs from +52.5
// degrees 1680 s east between And and Cas. Enumerated one constellation
// at a time, the borders of each.
TEST(Constellations, EnumerationHandsOutTheSegments) {
    Recorder rec;
    rec.EnumerateAll();
    ASSERT_EQ(rec.calls.size(), 781u);
    const Decoded a = Decode(rec.calls[0].start), b = Decode(rec.calls[1].start);
    EXPECT_TRUE(a.ra == 22 * 3600 + 52 * 60 && a.dec == 34 * 60 + 30);
    EXPECT_TRUE(!rec.calls[0].alongParallel && rec.calls[0].length == 1080 * 60);
    EXPECT_TRUE(b.ra == 22 * 3600 + 52 * 60 && b.dec == 52 * 60 + 30);
    EXPECT_TRUE(rec.calls[1].alongParallel && rec.calls[1].length == 1680 * 15);
    EXPECT_EQ(std::set<int>({kBoundarySegments[0].right, kBoundarySegments[0].left}), std::set<int>({kAnd, kLac}));
    EXPECT_EQ(std::set<int>({kBoundarySegments[1].right, kBoundarySegments[1].left}), std::set<int>({kAnd, kCas}));

    size_t total = 0;
    for (int i = 0; i < kConstellationCount; ++i) {
        Recorder one;
        one.EnumerateFor(i);
        EXPECT_GE(one.calls.size(), 4u) << i;
        total += one.calls.size();
    }
    // Each segment borders two constellations; Serpens' parts do not touch.
    EXPECT_EQ(total, 2u * kBoundarySegmentCount);
    // Either index of Serpens outlines both its parts: the same segments,
    // more than those of Caput alone.
    Recorder caput, cauda;
    caput.EnumerateFor(kSer);
    cauda.EnumerateFor(kSerpensCauda);
    EXPECT_EQ(caput.calls.size(), cauda.calls.size());
    int caputOnly = 0;
    for (const BoundarySegment& s : kBoundarySegments) caputOnly += (s.right == kSer || s.left == kSer);
    EXPECT_GT(int(caput.calls.size()), caputOnly);

    Recorder none;
    for (int bad : {-1, 89, 200}) none.EnumerateFor(bad);
    EXPECT_TRUE(none.calls.empty());
}

// Every segment runs from its start vertex by its length to its end vertex,
// and separates the two constellations it names: probed beside the segment
// near its start and at its middle. Probes keep 1.5 units (seconds of time,
// arcminutes) off the line, clear of the truncation of the lookup.
TEST(Constellations, EverySegmentLiesOnTheBorderOfItsConstellations) {
    auto whole = [](int i) { return i == kSerpensCauda ? kSer : i; };
    auto probe = [](double ra, double dec) { return ConstellationOf(Direction(ra / 3600, dec / 60)); };
    std::set<int> vertices;
    for (int i = 0; i < kBoundarySegmentCount; ++i) {
        const BoundarySegment& s = kBoundarySegments[i];
        ASSERT_LT(s.start, kBoundaryVertexCount);
        ASSERT_LT(s.end, kBoundaryVertexCount);
        vertices.insert(s.start);
        vertices.insert(s.end);
        const Decoded a = Decode(Vertex(s.start));
        const Decoded b = Decode(Vertex(s.end));
        if (s.direction)
            EXPECT_TRUE(((a.ra + s.length) % 86400 + 86400) % 86400 == b.ra && a.dec == b.dec) << "segment " << i;
        else
            EXPECT_TRUE(a.ra == b.ra && a.dec + s.length == b.dec) << "segment " << i;
        ASSERT_NE(s.length, 0);
        const int sign = s.length > 0 ? 1 : -1;
        for (double along : {std::min(2.0, std::abs(s.length) / 2.0), std::abs(s.length) / 2.0}) {
            int right, left;
            if (s.direction) {
                const double ra = a.ra + sign * along;
                right = probe(ra, a.dec - 1.5 * sign);
                left = probe(ra, a.dec + 1.5 * sign);
            } else {
                const double dec = a.dec + sign * along;
                right = probe(a.ra + 1.5 * sign, dec);
                left = probe(a.ra - 1.5 * sign, dec);
            }
            EXPECT_EQ(right, whole(s.right)) << "segment " << i << " at " << along;
            EXPECT_EQ(left, whole(s.left)) << "segment " << i << " at " << along;
        }
    }
    // Every vertex is used.
    EXPECT_EQ(vertices.size(), size_t(kBoundaryVertexCount));
}
