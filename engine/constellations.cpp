#include "engine/constellations.h"

namespace Calc {

namespace {

// Radians to seconds of time and to arcminutes.
constexpr float kRadToTimeSeconds = 13750.987f;
constexpr float kRadToArcmin = 3437.7468f;

int RegionStart(const uint16_t* row) { return 2 * row[0] + (row[1] & 1); }
int RegionWidth(const uint16_t* row) { return row[1] >> 1; }
int RegionStep(const uint16_t* row) { return row[2] >> 7; }
int RegionIndex(const uint16_t* row) { return row[2] & 127; }

}  // namespace

namespace {
// The whole second or arcminute at or below x: a band's lower limit belongs
// to the band, so a point a fraction of an arcminute below a limit must
// land below it, which truncation toward zero would not do south of the
// equator. A value that is not a number (a damaged input vector) counts as 0.
int32_t FloorToInt(float x) { return (x > -1e6f && x < 1e6f) ? static_cast<int32_t>(Floor(x)) : 0; }
}  // namespace

int ConstellationOf(Vec3 b1875) {
    const Vec3 s = CartToSph(b1875);
    int32_t ra = FloorToInt(s.x * kRadToTimeSeconds);
    if (ra < 0) ra += 86400;
    return ConstellationAt(ra, FloorToInt(s.y * kRadToArcmin));
}

namespace {

// Where the band search stands once it has passed every band limit above a
// whole degree: for declinations from d to d + 59 arcminutes the search can
// resume there instead of walking down from the pole through some 200 bands.
struct BandStart {
    int16_t row;
    int16_t limit;
};

struct BandIndex {
    BandStart byDegree[181];  // degree d at [d + 90]
    BandIndex() {
        int row = 0;
        int32_t limit = 5280;
        for (int d = 90; d >= -90; --d) {
            const int32_t top = d * 60 + 59;
            while (limit > top && row + 1 < kConstellationRegionCount) {
                ++row;
                limit -= RegionStep(kConstellationRegions[row]);
            }
            byDegree[d + 90] = {static_cast<int16_t>(row), static_cast<int16_t>(limit)};
        }
    }
};

int32_t FloorDiv60(int32_t x) { return x >= 0 ? x / 60 : -((-x + 59) / 60); }

}  // namespace

int ConstellationAt(int32_t ra, int32_t dec) {
    if (ra < 0) ra = 0;
    if (ra > 86400) ra = 86400;
    if (dec < -5400) dec = -5400;
    if (dec > 5400) dec = 5400;

    // The rows are grouped in declination bands from the pole down; the
    // first row of a band says how far its lower limit lies below the
    // previous band's. The first band is 88..90 degrees. The search walks
    // down while the limit is above dec; the index lets it start near the end.
    static const BandIndex index;
    const BandStart& from = index.byDegree[FloorDiv60(dec) + 90];
    int row = from.row;
    int32_t limit = from.limit;
    while (limit > dec && row + 1 < kConstellationRegionCount) {
        ++row;
        limit -= RegionStep(kConstellationRegions[row]);
    }
    // Rows of lower bands cover every direction above their limit too, so
    // the first row from here that holds the right ascension decides. The
    // last band spans the whole circle, so the search ends.
    for (; row < kConstellationRegionCount; ++row) {
        const uint16_t* r = kConstellationRegions[row];
        const int32_t start = RegionStart(r);
        const int32_t width = RegionWidth(r);
        if (start <= ra && (width == 0 ? ra <= 86400 : ra <= start + width)) return RegionIndex(r);
    }
    return RegionIndex(kConstellationRegions[kConstellationRegionCount - 1]);
}

Vec3 ConstellationCentre(int index) {
    if (index < 0 || index >= kConstellationCount) return {};
    const int8_t* c = kConstellationCentres[index];
    return {c[0] / 128.0f, c[1] / 128.0f, c[2] / 128.0f};
}

const char* ConstellationAbbreviationAscii(int index) {
    if (index < 0 || index > kConstellationCount) return nullptr;
    return kConstellationAbbreviations[index];
}

ConstellationBoundaries::~ConstellationBoundaries() = default;

void ConstellationBoundaries::Emit(int row) {
    const BoundarySegment& s = kBoundarySegments[row];
    const int16_t* v = kBoundaryVertices[s.start];
    const BoundaryVertex start{v[0], v[1], v[2], v[3]};
    // Seconds of time are 15 arcseconds; arcminutes 60.
    const bool alongParallel = s.direction != 0;
    Segment(start, static_cast<int32_t>(s.length) * (alongParallel ? 15 : 60), alongParallel);
}

void ConstellationBoundaries::EnumerateAll() {
    for (int i = 0; i < kBoundarySegmentCount; ++i) Emit(i);
}

namespace {
// The table keeps Serpens Cauda apart (88) from Serpens Caput (73); both are
// one constellation to the user.
int Whole(int index) { return index == kSerpensCauda ? kSerpensCaput : index; }
}  // namespace

void ConstellationBoundaries::EnumerateFor(int index) {
    if (index < 0 || index > kConstellationCount) return;
    const int wanted = Whole(index);
    for (int i = 0; i < kBoundarySegmentCount; ++i) {
        const BoundarySegment& s = kBoundarySegments[i];
        if (Whole(s.right) == wanted || Whole(s.left) == wanted) Emit(i);
    }
}

}  // namespace Calc
