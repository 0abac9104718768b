#include "data/starformat.h"

#include "engine/fixedangle.h"

#include <algorithm>

namespace Data {

const uint32_t kHighHipTable[kHighHipCount] = {
    120001, 120002, 120003, 120004, 120005, 120006, 120027, 120046, 120047, 120071, 120082,
    120121, 120132, 120148, 120155, 120159, 120212, 120229, 120248, 120250, 120276, 120290,
    120306, 120313, 120401, 120402, 120403, 120404, 120411, 120413, 120414, 120415, 120416};

const uint16_t kNearStarParallax[kNearStarCount] = {235, 243, 250, 253, 255, 263, 269, 274, 276, 280, 284, 285,
                                                    286, 287, 300, 304, 311, 336, 379, 392, 549, 742, 772};

namespace {

// HIP prediction: Hipparcos numbers grow with right ascension at a rate that
// is piecewise constant over 28 segments of the 15-bit right ascension.
const uint16_t kHipSegmentBound[28] = {2663,  6538,  7295,  7631,  7915,  8459,  8939,  9178,  9491,  9839,
                                       10142, 10494, 10962, 11870, 13756, 15101, 16031, 19030, 20725, 23037,
                                       24643, 25566, 26219, 27036, 27515, 28036, 32364, 65535};
const uint16_t kHipSegmentFactor[28] = {28020, 27973, 27920, 28080, 28252, 28399, 28532, 28677, 28788, 28927,
                                        29056, 29177, 29290, 29400, 29436, 29361, 29288, 29272, 29334, 29380,
                                        29361, 29406, 29454, 29503, 29535, 29582, 29618, 29586};

// The region scheme of the Guide Star Catalog 1.1, which defines TYC1:
// large regions per zone, the first large region and the first small region
// of each zone (zones 0..11 north from the equator, 12..23 south).
const int kZoneLarge[24] = {48, 47, 45, 43, 40, 36, 32, 27, 21, 15, 9, 3,
                            48, 47, 45, 43, 40, 36, 32, 27, 21, 15, 9, 3};
const int kZoneFirstLarge[24] = {0,   48,  95,  140, 183, 223, 259, 291, 318, 339, 354, 363,
                                 366, 414, 461, 506, 549, 589, 625, 657, 684, 705, 720, 729};
const int kZoneFirstSmall[24] = {1,    594,  1178, 1729, 2259, 2781, 3246, 3652, 4014, 4294, 4492, 4615,
                                 4663, 5260, 5838, 6412, 6989, 7523, 8022, 8464, 8840, 9134, 9346, 9490};
// Subdivision s of each of the 732 large regions (n = 2 + s small regions a
// side), two bits each, four to a byte, least significant pair first.
const uint8_t kLargeSplit[183] = {
    0x55, 0x55, 0xa9, 0xaa, 0x5a, 0x55, 0x55, 0xa5, 0xaa, 0xaa, 0xaa, 0x55, 0x55, 0x55, 0xaa, 0xaa, 0x56, 0x55,
    0x55, 0xa5, 0xaa, 0xaa, 0xaa, 0x55, 0x55, 0xa9, 0xaa, 0x6a, 0x55, 0x40, 0x55, 0xa9, 0xaa, 0xaa, 0x5a, 0x55,
    0xaa, 0xaa, 0x6a, 0x15, 0x00, 0x55, 0xa9, 0xaa, 0xaa, 0x9a, 0xaa, 0xaa, 0xaa, 0x56, 0x01, 0x54, 0x95, 0xaa,
    0xaa, 0xaa, 0xaa, 0xaa, 0x6a, 0x15, 0x40, 0x55, 0xaa, 0xaa, 0xaa, 0xaa, 0xaa, 0x56, 0x05, 0x54, 0xa5, 0xaa,
    0xaa, 0xaa, 0xaa, 0x55, 0x55, 0xa5, 0xaa, 0xaa, 0xaa, 0x56, 0x55, 0xa9, 0xaa, 0xaa, 0x55, 0xa5, 0xaa, 0x56,
    0xaa, 0x5a, 0x50, 0x95, 0xaa, 0xaa, 0x56, 0x55, 0x95, 0xaa, 0xaa, 0xaa, 0x5a, 0x15, 0x40, 0x55, 0xaa, 0xaa,
    0x5a, 0x55, 0xa5, 0xaa, 0xaa, 0xaa, 0x56, 0x05, 0x50, 0xa5, 0xaa, 0xaa, 0x56, 0xa5, 0xaa, 0xaa, 0xaa, 0x5a,
    0x15, 0x40, 0x95, 0xaa, 0xaa, 0xaa, 0xaa, 0xaa, 0xaa, 0xaa, 0x56, 0x05, 0x54, 0xa5, 0xaa, 0xaa, 0xaa, 0xaa,
    0xaa, 0xaa, 0x56, 0x55, 0x55, 0xa9, 0xaa, 0xaa, 0xaa, 0xaa, 0xaa, 0x5a, 0x55, 0x55, 0xaa, 0xaa, 0xaa, 0xaa,
    0xaa, 0x5a, 0x55, 0x95, 0xaa, 0xaa, 0xaa, 0xaa, 0x5a, 0x55, 0xaa, 0xaa, 0xaa, 0x6a, 0x55, 0xaa, 0xaa, 0x6a,
    0xaa, 0xaa, 0xaa};

int SmallPerSide(int large) { return 2 + ((kLargeSplit[large >> 2] >> (2 * (large & 3))) & 3); }

template <typename T>
T Clamp(T v, T lo, T hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

// Centi-arcseconds (129600000 a turn) to 16-bit angle units, rounding
// towards zero: x / 1977.5 as x * 556151557 >> 40.
int32_t CentiArcsecTo16(int64_t v) {
    const int64_t k = 556151557;
    return static_cast<int32_t>(v >= 0 ? (v * k) >> 40 : -((-v * k) >> 40));
}

}  // namespace

int32_t HipPrediction(int16_t x, int16_t y) {
    const int32_t a = Calc::Atan2i(y, x) >> 1;
    int k = 0;
    if (a >= 2664) {
        k = 1;
        while (kHipSegmentBound[k] < a) ++k;  // the last bound is 65535
    }
    return ((int32_t(kHipSegmentFactor[k]) * a) >> 13) - 126;
}

uint32_t HipOf(int16_t x, int16_t y, uint8_t code) {
    if (code == 0) return 0;
    if (code <= kHighHipCount) return kHighHipTable[code - 1];
    return static_cast<uint32_t>(code + HipPrediction(x, y));
}

uint32_t ParallaxOf(uint8_t code) {
    if (code == 0) return 0;
    if (code < kFirstNearStarCode) return code;
    if (code < kFirstNearStarCode + kNearStarCount) return kNearStarParallax[code - kFirstNearStarCode];
    return 0;  // 254 and 255: unknown
}

uint16_t TycRegionOf(int16_t x, int16_t y, int16_t z) {
    const int32_t ra = Calc::Atan2i(y, x);
    const int16_t h = static_cast<int16_t>(Calc::Isqrt(static_cast<uint32_t>(int32_t(x) * x + int32_t(y) * y)));
    const int32_t dec = static_cast<int16_t>(Calc::Atan2i(z, h));

    const int32_t t = (3 * dec) / 4096;  // truncates towards zero
    int zone = dec >= 0 ? (t < 11 ? t : 11) : 12 - t;
    if (zone > 23) zone = 23;

    const int64_t large = kZoneLarge[zone];
    const int64_t width = (int64_t(1) << 29) / large;
    const int64_t raScaled = int64_t(ra) * 8192;
    const int64_t L = Clamp<int64_t>(raScaled / width, 0, large - 1);
    const int first = kZoneFirstLarge[zone];
    const int n = SmallPerSide(first + static_cast<int>(L));

    const int32_t edge = zone < 12 ? 4096 * zone : 49152 - 4096 * zone;
    int32_t diff = 3 * dec - edge;
    if (diff < 0) diff = -diff;
    const int64_t row = Clamp<int64_t>(int64_t(n) * diff / 4096, 0, n - 1);
    const int64_t column = Clamp<int64_t>((raScaled - L * width) * n / width, 0, n - 1);

    int64_t region = kZoneFirstSmall[zone];
    for (int j = 0; j < L; ++j) {
        const int m = SmallPerSide(first + j);
        region += m * m;
    }
    return static_cast<uint16_t>(region + row * n + column);
}

bool TycRegionBox(uint16_t tyc1, TycRegionBounds& out) {
    if (tyc1 < 1 || tyc1 > 9537) return false;
    int zone = 0;
    for (int z = 0; z < 24; ++z)
        if (kZoneFirstSmall[z] <= tyc1) zone = z;
    int q = tyc1 - kZoneFirstSmall[zone];
    int L = 0;
    int n = SmallPerSide(kZoneFirstLarge[zone]);
    while (L < kZoneLarge[zone] - 1 && q >= n * n) {
        q -= n * n;
        ++L;
        n = SmallPerSide(kZoneFirstLarge[zone] + L);
    }
    const int row = q / n;
    const int column = q % n;

    const int64_t W = 129600000 / kZoneLarge[zone];
    const int64_t w = W / n;
    const int64_t h = 2700000 / n;
    const int64_t raFrom = column * w + L * W;
    int64_t decFrom;
    if (zone < 12) decFrom = row * h + int64_t(zone) * 2700000;
    else decFrom = 32400000 - (row * h + int64_t(zone) * 2700000) - h;

    out.raFrom = Clamp<int32_t>(CentiArcsecTo16(raFrom) - 300, 0, 65535);
    out.raTo = Clamp<int32_t>(CentiArcsecTo16(raFrom + w) + 300, 0, 65535);
    out.decFrom = Clamp<int32_t>(CentiArcsecTo16(decFrom) - 300, -16383, 16383);
    out.decTo = Clamp<int32_t>(CentiArcsecTo16(decFrom + h) + 300, -16383, 16383);
    return true;
}

int TreeSplitAxis(uint32_t block, int node) {
    // Global depth: six levels per block level.
    int blockLevel = 0;
    bool leftmostBlock = true;
    for (uint32_t b = block; b != 0; b = (b - 1) / 64) {
        if ((b - 1) % 64 != 0) leftmostBlock = false;  // not the first child block
        ++blockLevel;
    }
    int level = 0;
    while ((2 << level) - 1 <= node) ++level;  // node j lies at depth floor(log2(j + 1))
    const bool leftmostNode = node == (1 << level) - 1;
    if (leftmostBlock && leftmostNode) return kAxisMagnitude;
    return (blockLevel * 6 + level + 2) % 3;
}

void PairCodedText::Attach(const uint8_t* table, size_t size) {
    table_ = table;
    size_ = size;
    valid_ = false;
    literals_ = pairs_ = 0;
    if (!table || size < 4) return;
    const int L = table[0] | (table[1] << 8);
    const int P = table[2] | (table[3] << 8);
    // Codes are single bytes: at most 255 literals and pairs together.
    if (L + P > 255 || size < size_t(4 + L + 2 * P)) return;
    literals_ = L;
    pairs_ = P;
    valid_ = true;
}

void PairCodedText::ExpandCode(int code, int depth, int& budget, std::u16string& out) const {
    // A hostile table could make a pair refer to itself, or build an
    // exponentially large expansion that yields no characters; the depth and
    // the work budget stop both.
    if (out.size() >= kMaxSpectralText || --budget < 0) return;
    const int index = code - 1;
    if (index < literals_) {
        out += static_cast<char16_t>(table_[4 + index]);
        return;
    }
    const int pair = index - literals_;
    if (pair >= pairs_ || depth > 255) return;
    const uint8_t* p = table_ + 4 + literals_ + 2 * pair;
    if (p[0] != 0) ExpandCode(p[0], depth + 1, budget, out);
    if (p[1] != 0) ExpandCode(p[1], depth + 1, budget, out);
}

std::u16string PairCodedText::Expand(const uint8_t* codes, size_t count, int* steps) const {
    std::u16string out;
    if (steps) *steps = 0;
    if (!valid_) return out;
    // The shipped texts need at most 30 steps each; a damaged table gets 16
    // steps for every character a text may have, so that decoding every
    // star with it stays quick (a budget of 65536 made it take seconds).
    int budget = kExpansionBudget;
    for (size_t i = 0; i < count && codes[i] != 0 && out.size() < kMaxSpectralText && budget > 0; ++i)
        ExpandCode(codes[i], 0, budget, out);
    if (steps) *steps = kExpansionBudget - std::max(budget, 0);
    return out;
}

std::u16string PairCodedText::TextAt(size_t offset, int* steps) const {
    if (steps) *steps = 0;
    if (!valid_ || offset >= size_) return std::u16string();
    return Expand(table_ + offset, size_ - offset, steps);
}

}  // namespace Data
