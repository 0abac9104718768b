#include "data/starenum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>
#include <vector>

#include "data/starcatalog.h"
#include "engine/fixedangle.h"
#include "star_fixture.h"

using namespace Data;
using startest::StarTest;

namespace {

struct Rec {
    StarNumber n;
    std::vector<uint8_t> bytes;
};

// Every record of a section, read record by record (no tree walk).
std::vector<Rec> AllBright() {
    std::vector<Rec> out;
    for (uint32_t b = 0; b < BrightBlockCount(); ++b)
        for (int j = 0; j < kStarsPerBlock; ++j) {
            const uint8_t* r = BrightBlock(b) + j * kStarRecordSize;
            out.push_back({static_cast<StarNumber>(b * kStarsPerBlock + j), {r, r + kStarRecordSize}});
        }
    return out;
}

std::vector<Rec> AllHip(StarPDBFileReader& file) {
    std::vector<Rec> out;
    std::vector<uint8_t> rec(16 * 63 * kStarRecordSize);
    for (uint32_t i = 0; i < file.HipStars(); i += 1008) {
        const uint32_t count = std::min<uint32_t>(1008, file.HipStars() - i);
        EXPECT_EQ(file.Read(file.HipRecord() + i / 1008, 0, rec.data(), count * kStarRecordSize), 0);
        for (uint32_t k = 0; k < count; ++k)
            out.push_back({kHipStarBase + static_cast<StarNumber>(i + k),
                           {rec.begin() + k * kStarRecordSize, rec.begin() + (k + 1) * kStarRecordSize}});
    }
    return out;
}

// Both trees' records, the bright stars first.
std::vector<Rec> AllStars(StarPDBFileReader& file) {
    std::vector<Rec> all = AllBright();
    const std::vector<Rec> hip = AllHip(file);
    all.insert(all.end(), hip.begin(), hip.end());
    return all;
}

struct Box {
    int16_t xFrom, xTo, yFrom, yTo, zMin, zMax, magMin, magMax;
};

// The box from right ascension a0 to a1 (16-bit angles), eastwards.
Box RaBox(uint16_t a0, uint16_t a1, int16_t zMin, int16_t zMax, int16_t magMin, int16_t magMax) {
    return Box{Calc::Cos16(a0), Calc::Cos16(a1), Calc::Sin16(a0), Calc::Sin16(a1), zMin, zMax, magMin, magMax};
}

// Inside a box by its definition: an eastward right-ascension interval
// (wrapping past 0h when its start lies after its end), z and magnitude.
bool Inside(const uint8_t* r, const Box& b) {
    if (RecordIsPadding(r)) return false;
    const int x = RecordX(r), y = RecordY(r), z = RecordZ(r), m = RecordMagCode(r);
    const int lo = std::max(0, std::min(2047, b.magMin + 148)), hi = std::max(0, std::min(2047, b.magMax + 148));
    if (z < b.zMin || z > b.zMax || m < lo || m > hi) return false;
    const bool afterStart = CompareRa(x, y, b.xFrom, b.yFrom) >= 0;
    const bool beforeEnd = CompareRa(x, y, b.xTo, b.yTo) <= 0;
    return CompareRa(b.xFrom, b.yFrom, b.xTo, b.yTo) > 0 ? (afterStart || beforeEnd) : (afterStart && beforeEnd);
}

class Collector : public StarEnumerator {
public:
    using StarEnumerator::StarEnumerator;
    void OnStar(StarNumber n, const uint8_t*, uint32_t position) override {
        stars.push_back(n);
        positionOk = positionOk && position == static_cast<uint32_t>(n % 10000 == n ? n : n - (n < 200000 ? 10000 : 200000));
    }
    std::vector<StarNumber> stars;
    bool positionOk = true;
};

std::vector<StarNumber> Expected(const std::vector<Rec>& all, const Box& b) {
    std::vector<StarNumber> out;
    for (const Rec& r : all)
        if (Inside(r.bytes.data(), b)) out.push_back(r.n);
    return out;
}

std::vector<StarNumber> Sorted(std::vector<StarNumber> v) {
    std::sort(v.begin(), v.end());
    return v;
}

Box RandomBox(std::mt19937& rng) {
    std::uniform_int_distribution<int> ra(0, 65535), width(0, 12000), z(-32767, 32767), mag(-200, 1400);
    const int a0 = ra(rng);
    const int a1 = (a0 + width(rng)) & 0xFFFF;  // wraps past 0h now and then
    int z0 = z(rng), z1 = z(rng);
    if (z0 > z1) std::swap(z0, z1);
    int m0 = mag(rng), m1 = mag(rng);
    if (m0 > m1) std::swap(m0, m1);
    return RaBox(static_cast<uint16_t>(a0), static_cast<uint16_t>(a1), static_cast<int16_t>(z0),
                 static_cast<int16_t>(z1), static_cast<int16_t>(m0), static_cast<int16_t>(m1));
}

}  // namespace

// Every walk is checked against the records read one by one: exactly the
// stars of the box, each once, no padding, at its position.
TEST_F(StarTest, WalksReportExactlyTheStarsOfRandomBoxes) {
    StarPDBFileReader file(startest::StarsDat());
    ASSERT_TRUE(file.IsOpen());
    const std::vector<Rec> bright = AllBright(), hip = AllHip(file);
    std::mt19937 rng(17);
    int crossing = 0, nonEmpty = 0;
    for (int i = 0; i < 90; ++i) {
        const Box b = RandomBox(rng);
        const bool inHip = i >= 60;
        Collector c(inHip ? &file : nullptr);
        EXPECT_TRUE(inHip ? c.EnumerateHip(b.xFrom, b.xTo, b.yFrom, b.yTo, b.zMin, b.zMax, b.magMin, b.magMax)
                          : c.EnumerateBright(b.xFrom, b.xTo, b.yFrom, b.yTo, b.zMin, b.zMax, b.magMin, b.magMax));
        const std::vector<StarNumber> want = Expected(inHip ? hip : bright, b);
        ASSERT_EQ(Sorted(c.stars), want) << "box " << i;  // each once, never a padding record
        EXPECT_TRUE(c.positionOk);
        crossing += CompareRa(b.xFrom, b.yFrom, b.xTo, b.yTo) > 0;  // across 0h
        nonEmpty += !want.empty();
    }
    EXPECT_GT(crossing, 3);
    EXPECT_GT(nonEmpty, 25);
    // The whole circle of right ascension: every Hipparcos star.
    Collector all(&file);
    ASSERT_TRUE(all.EnumerateHip(32767, 32767, 0, -1, -32768, 32767, -1000, 5000));
    EXPECT_EQ(all.stars.size(), 118217u);

    // Magnitude limits are inclusive: Sirius (V -1.46) alone is brighter
    // than -1.00, and nothing lies between -1.45 and -1.00.
    Collector sirius, none;
    ASSERT_TRUE(sirius.EnumerateBright(32767, 32767, 0, -1, -32768, 32767, -5000, -100));
    EXPECT_EQ(sirius.stars, std::vector<StarNumber>{HrToStarIndex(2491)});
    ASSERT_TRUE(none.EnumerateBright(32767, 32767, 0, -1, -32768, 32767, -145, -100));
    EXPECT_TRUE(none.stars.empty());
}

TEST_F(StarTest, FindStarByNumberFindsTheStarsOfBothTrees) {
    // A sample of both trees searched by its HIP number (every high number,
    // reached through the table near the front of stars.dat); a bright star
    // with that number wins over the HIP section.
    StarPDBFileReader file(startest::StarsDat());
    const std::vector<Rec> all = AllStars(file);
    size_t stars = 0, searched = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        const uint8_t* r = all[i].bytes.data();
        if (RecordIsPadding(r)) continue;
        const uint32_t number = HipOf(RecordX(r), RecordY(r), RecordHipCode(r));
        if (number == 0) {
            EXPECT_LT(all[i].n, kHipStarBase) << "every HIP-section star has its number";
            continue;
        }
        ++stars;
        if (i % 41 != 0 && number < 120000) continue;
        ++searched;
        const StarNumber found = FindStarByHip(number);
        ASSERT_GE(found, 0) << number;
        EXPECT_EQ(ReadStar(found).hip, number);
        if (all[i].n < kHipStarBase || found >= kHipStarBase) {
            EXPECT_EQ(found, all[i].n) << number;
        }
    }
    EXPECT_EQ(stars, 118217u + 9001u);
    EXPECT_GT(searched, 2500u);
    for (uint32_t missing : {0u, 120412u /* not in Hipparcos as delivered */, 130000u})
        EXPECT_EQ(FindStarByHip(missing), -1) << missing;

    // Every bright star with a Tycho number, including those whose TYC1
    // comes from the Tyc1List, is found by it.
    int found = 0;
    for (uint32_t n = 0; n < BrightBlockCount() * 63; n += 5) {
        if (RecordIsPadding(BrightBlock(n / 63) + (n % 63) * kStarRecordSize)) continue;
        const TycNumber t = ReadStar(static_cast<StarNumber>(n)).tyc;
        if (IsNone(t)) continue;
        const StarNumber f = FindStarByTyc(t);
        ASSERT_GE(f, 0) << t.tyc1 << "-" << t.tyc2 << "-" << t.tyc3;
        EXPECT_EQ(ReadStar(f).tyc, t);
        ++found;
    }
    EXPECT_GT(found, 1700);
    for (const TycNumber t : {TycNumber{4628, 237, 0}, TycNumber{0, 237, 1}, TycNumber{9999, 1, 1}})
        EXPECT_EQ(FindStarByTyc(t), -1);
}

TEST_F(StarTest, FindNearestStarAgreesWithBruteForce) {
    StarPDBFileReader file(startest::StarsDat());
    const std::vector<Rec> all = AllStars(file);
    std::mt19937 rng(99);
    std::normal_distribution<double> g;
    int agreed = 0;
    for (int i = 0; i < 60; ++i) {
        double v[3] = {g(rng), g(rng), g(rng)};
        const double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        const int16_t x = static_cast<int16_t>(std::lround(v[0] / len * 32767));
        const int16_t y = static_cast<int16_t>(std::lround(v[1] / len * 32767));
        const int16_t z = static_cast<int16_t>(std::lround(v[2] / len * 32767));
        const int16_t faintest = i % 2 ? 600 : 900;
        const uint16_t radius = 200;  // about 1.1 degrees
        int64_t best = -1;
        for (const Rec& r : all) {
            const uint8_t* p = r.bytes.data();
            if (RecordIsPadding(p) || RecordMagCode(p) - 148 > faintest) continue;
            const int64_t dx = RecordX(p) - x, dy = RecordY(p) - y, dz = RecordZ(p) - z;
            const int64_t d = dx * dx + dy * dy + dz * dz;
            if (best < 0 || d < best) best = d;
        }
        const NearestStar near = FindNearestStar(x, y, z, faintest, radius);
        // 200 units of angle are 628 Q15 units of chord: a star nearer than
        // half of that lies inside the search box for sure.
        if (best >= 0 && best < 314 * 314) {
            ASSERT_GE(near.star, 0) << i;
            EXPECT_EQ(near.distance2, static_cast<uint32_t>(best)) << i;
            ++agreed;
        } else if (near.star >= 0) {
            EXPECT_GE(near.distance2, static_cast<uint32_t>(best));
        }
    }
    EXPECT_GT(agreed, 18);
    // Polaris, 45 arcminutes from the pole, found from the pole itself; a
    // radius beyond the pole does not break the cap.
    EXPECT_EQ(FindNearestStar(0, 0, 32767, 300, 300).star, HrToStarIndex(424));
    EXPECT_GE(FindNearestStar(0, 0, 32767, 300, 20000).star, 0);
}

// --- damaged and missing files (random damage is left to the fuzz harnesses) ---------------

namespace {

std::u16string WriteTemp(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = std::string(CELVANE_BINARY_DIR) + "/" + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return PL::FromUtf8(path);
}

std::vector<uint8_t> ReadAll(const std::u16string& path) {
    std::ifstream in(PL::ToUtf8(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WalkWholeHip(std::vector<StarNumber>* stars = nullptr) {
    StarPDBFileReader file(StarFilePath());
    Collector c(&file);
    const bool ok = c.EnumerateHip(32767, 32767, 0, -1, -32768, 32767, -1000, 5000);
    if (stars) *stars = c.stars;
    return ok;
}

}  // namespace

TEST_F(StarTest, DamagedStarFiles) {
    const std::vector<uint8_t> good = ReadAll(startest::StarsDat());
    ASSERT_GT(good.size(), 100000u);
    // Without a whole header there is no file.
    SetStarFilePath(WriteTemp("stars_cut.dat", std::vector<uint8_t>(good.begin(), good.begin() + 85)));
    EXPECT_FALSE(StarPDBFileReader(StarFilePath()).IsOpen());
    EXPECT_EQ(FindStarByHip(5000), -1);
    // Cut in the middle: the walk fails, the stars read so far stand.
    SetStarFilePath(WriteTemp("stars_cut.dat", std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2)));
    std::vector<StarNumber> stars;
    EXPECT_FALSE(WalkWholeHip(&stars));
    EXPECT_GT(stars.size(), 0u);
    // A header claiming far more stars than the file holds.
    std::vector<uint8_t> bad = good;
    const uint32_t header = GetU32(&bad[78]);
    PutU32(&bad[header + 4], 0xFFFFFFFFu);
    PutU32(&bad[header + 8], 0xFFFFFFFFu);
    SetStarFilePath(WriteTemp("stars_bad.dat", bad));
    EXPECT_EQ(ReadStar(199999).hip, 0u);
    WalkWholeHip();
    // Record offsets wrapping around, the first HIP record beyond the list.
    bad = good;
    for (size_t r = 1; r < 12; ++r) PutU32(&bad[78 + 8 * r], 0xFFFFFFF0u);
    PutU16(&bad[header], 0xFFFF);
    SetStarFilePath(WriteTemp("stars_bad.dat", bad));
    EXPECT_EQ(ReadStar(kHipStarBase + 100).hip, 0u);
    EXPECT_FALSE(WalkWholeHip());
    FindNearestStar(20000, 20000, 10000, 1200, 300);
}

// The high HIP numbers are found through a table near the front of the
// file; a file cut off before the star's own record does not have the star.
TEST_F(StarTest, AHighHipStarWhoseRecordIsCutOffIsNotFound) {
    const std::vector<uint8_t> good = ReadAll(startest::StarsDat());
    const StarNumber high = FindStarByHip(120416);
    ASSERT_GE(high, kHipStarBase);
    EXPECT_EQ(ReadStar(high).hip, 120416u);
    const uint32_t position = static_cast<uint32_t>(high - kHipStarBase);
    const uint32_t record = StarPDBFileReader(startest::StarsDat()).HipRecord() + position / kStarsPerBlock / kBlocksPerRecord;
    ASSERT_GT(record, uint32_t(StarPDBFileReader::kHighHipRecord));
    const uint32_t at = GetU32(&good[78 + 8 * record]) +
                        (position / kStarsPerBlock % kBlocksPerRecord) * kStarsPerBlock * kStarRecordSize +
                        position % kStarsPerBlock * kStarRecordSize;
    SetStarFilePath(WriteTemp("stars_cut_high.dat", std::vector<uint8_t>(good.begin(), good.begin() + at + 5)));
    EXPECT_EQ(FindStarByHip(120416), -1);
    SetStarFilePath(WriteTemp("stars_cut_high.dat", std::vector<uint8_t>(good.begin(), good.begin() + at + 14)));
    EXPECT_EQ(FindStarByHip(120416), high);
}

TEST_F(StarTest, WithoutBrightStarResourcesOnlyTheHipSectionAnswers) {
    PL::TestPlatform none(u"/nonexistent-resource-folder");
    PL::ScopedPlatform use(none);
    LoadStarResources();
    EXPECT_EQ(BrightBlockCount(), 0u);
    EXPECT_EQ(HrToStarIndex(2491), -1);
    EXPECT_EQ(ReadStar(5).hip, 0u);
    Collector c;
    EXPECT_TRUE(c.EnumerateBright(32767, 32767, 0, -1, -32768, 32767, -1000, 5000));
    EXPECT_TRUE(c.stars.empty());
    EXPECT_GE(FindStarByHip(32349), kHipStarBase);
}
