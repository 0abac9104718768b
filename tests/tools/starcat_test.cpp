// The catalogue builder: reproducible output, its pieces, and the data it
// produces checked star by star against the source catalogues.
#include "starcat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>

#include "data/starcatalog.h"
#include "data/starenum.h"
#include "data/starfile.h"
#include "data/star_fixture.h"
#include "tool_run.h"

using namespace Data;
using startest::StarTest;
using tooltest::ReadAll;
using tooltest::WriteAll;

namespace {

const std::string kCatalogs = CELVANE_SOURCE_DIR "/catalogs/stars";

std::vector<uint8_t> ReadBytes(const std::string& path) {
    const std::string bytes = ReadAll(path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// Rounding each component to 1/32767 moves a direction by up to
// sqrt(3)/2 units (5.5 arcseconds); directions on x = 0 may move by one unit
// more (6.3 arcseconds).
const double kQ15Error = 6.5;

double Sep(int16_t x, int16_t y, int16_t z, double raDeg, double decDeg) {
    const double d = 3.14159265358979323846 / 180;
    const double dx = x / 32767.0 - std::cos(decDeg * d) * std::cos(raDeg * d);
    const double dy = y / 32767.0 - std::cos(decDeg * d) * std::sin(raDeg * d);
    const double dz = z / 32767.0 - std::sin(decDeg * d);
    return std::sqrt(dx * dx + dy * dy + dz * dz) / d * 3600;  // arcseconds
}

}  // namespace

TEST(StarCatalogueBuilder, ReproducesTheCommittedResourcesByteForByte) {
    StarCat::Report report;
    const auto built = StarCat::BuildBrightResources(kCatalogs, report);
    ASSERT_EQ(built.size(), 16u);
    for (const auto& kv : built) {
        const std::vector<uint8_t> committed = ReadBytes(CELVANE_SOURCE_DIR "/resources/catalog/" + kv.first);
        EXPECT_EQ(committed.size(), kv.second.size()) << kv.first;
        EXPECT_TRUE(committed == kv.second) << kv.first << " differs from the builder's output";
    }
}

TEST(StarCatalogueBuilder, StarsDatIsReproducible) {
    StarCat::Report a, b;
    const StarCat::Bytes first = StarCat::BuildStarsDat(kCatalogs, {}, a);
    const StarCat::Bytes second = StarCat::BuildStarsDat(kCatalogs, {}, b);
    EXPECT_TRUE(first == second);
    EXPECT_TRUE(first == ReadBytes(CELVANE_BINARY_DIR "/stars.dat")) << "the build's stars.dat is stale";
}

TEST(StarCatalogueBuilder, PairTextRoundTrip) {
    std::mt19937 rng(8);
    std::vector<std::string> texts{"", "A0V", "A0Va", "K0III", "K0IIIb", "B9.5V+A", "M1.5Iab-Ib", "0Va"};
    const std::string alphabet = "OBAFGKM0123456789.-+/:abcdeIVpnsv()";
    for (int i = 0; i < 300; ++i) {
        std::string s;
        const int n = static_cast<int>(rng() % 14);
        for (int k = 0; k < n; ++k) s += alphabet[rng() % alphabet.size()];
        texts.push_back(s);
    }
    std::map<std::string, uint16_t> at;
    int L = 0, P = 0;
    const StarCat::Bytes table = StarCat::EncodePairText(texts, at, &L, &P);
    EXPECT_LE(L + P, 255);
    size_t raw = 0;
    for (const auto& kv : at) raw += kv.first.size() + 1;
    EXPECT_LT(table.size(), raw);  // it compresses
    PairCodedText decoder(table.data(), table.size());
    ASSERT_TRUE(decoder.Valid());
    for (const std::string& t : texts) {
        ASSERT_TRUE(at.count(t));
        EXPECT_EQ(PL::ToUtf8(decoder.TextAt(at[t])), t);
    }
    // "0Va" ends "A0Va": it shares its bytes.
    EXPECT_EQ(at["0Va"] + 1, at["A0Va"] + 2);
}

TEST(StarCatalogueBuilder, SingleValues) {
    EXPECT_EQ(StarCat::MagnitudeCode(-3), 0);
    EXPECT_EQ(StarCat::MagnitudeCode(30), 2047);
    EXPECT_EQ(StarCat::ParallaxCode(768.1, true), 253);   // Proxima: 772
    EXPECT_EQ(StarCat::ParallaxCode(0.3, true), 0);
    // Colour classes run from red (0) to blue (15); the Sun (B-V 0.65) is
    // yellowish, Betelgeuse (1.85) red.
    EXPECT_EQ(StarCat::ColourClass(1.85, true), 0);
    EXPECT_EQ(StarCat::ColourClass(-0.33, true), 15);
    EXPECT_EQ(StarCat::ColourClass(0.65, true), 7);
    // Directions never land on x = 0 with y <= 0.
    EXPECT_EQ(StarCat::ToQ15(270, 10).x, 1);
    EXPECT_EQ(StarCat::ToQ15(0, 90).x, 1);
    // HIP codes decode back, or are 0.
    const StarCat::Q15Vector sirius = StarCat::ToQ15(101.2872, -16.7161);
    const uint8_t code = StarCat::HipCode(32349, sirius.x, sirius.y);
    EXPECT_EQ(HipOf(sirius.x, sirius.y, code), 32349u);
    EXPECT_EQ(StarCat::HipCode(120416, 5, 5), 33);
    EXPECT_EQ(StarCat::HipCode(1, sirius.x, sirius.y), 0);  // far from its right ascension
}

TEST(StarCatalogueBuilder, Tycho2Records) {
    StarCat::Tycho2Star t;
    const std::string real =
        "0001 00013 1| |  1.12558209|  2.26739400|   27.7|   -0.5|  9| 12| 1.2| 1.2|1990.76|1989.25| 8|1.0|0.8|1.0|"
        "0.7|10.488|0.038| 8.670|0.015|999|T|         |  1.12551889|  2.26739556|1.81|1.52|  9.3| 12.7| |-0.2";
    ASSERT_TRUE(StarCat::ParseTycho2Line(real, t));
    EXPECT_EQ(t.tyc, (TycNumber{1, 13, 1}));
    EXPECT_NEAR(t.bv, 0.850 * (10.488 - 8.670), 1e-9);
    // Cut short, no TYC3, TYC1 0, a letter in the right ascension.
    for (const std::string& bad : {real.substr(0, 150), real.substr(0, 12) + " " + real.substr(13),
                                   "0000" + real.substr(4), real.substr(0, 15) + "  abc       " + real.substr(27)})
        EXPECT_FALSE(StarCat::ParseTycho2Line(bad, t)) << bad;
}

// --- the data, star by star ------------------------------------------------------------------

TEST_F(StarTest, EveryBrightStarAgreesWithTheSourceCatalogues) {
    // Independent reading of the inputs.
    struct Src {
        double ra, dec, v;
        bool pos;
    };
    std::map<int, Src> bsc;
    for (const std::string& line : StarCat::ReadLines(kCatalogs + "/bsc5.dat.gz")) {
        const int hr = std::stoi(line.substr(0, 4));
        Src s{0, 0, 0, line.size() > 107 && line.substr(75, 2) != "  "};
        if (s.pos) {
            s.ra = (std::stod(line.substr(75, 2)) + std::stod(line.substr(77, 2)) / 60 +
                    std::stod(line.substr(79, 4)) / 3600) * 15;
            s.dec = (std::stod(line.substr(84, 2)) + std::stod(line.substr(86, 2)) / 60 +
                     std::stod(line.substr(88, 2)) / 3600) * (line[83] == '-' ? -1 : 1);
            s.v = std::stod(line.substr(102, 5));
        }
        bsc[hr] = s;
    }
    std::map<int, uint32_t> hipOf;
    std::map<int, TycNumber> tycOf;
    for (const auto& r : StarCat::ReadCsv(kCatalogs + "/tyc_bright_stars.csv.gz")) {
        const int hr = std::stoi(r.at("hr"));
        if (!r.at("hip").empty()) hipOf[hr] = static_cast<uint32_t>(std::stoul(r.at("hip")));
        if (!r.at("tyc1").empty())
            tycOf[hr] = TycNumber{static_cast<uint16_t>(std::stoi(r.at("tyc1"))),
                                  static_cast<uint16_t>(std::stoi(r.at("tyc2"))),
                                  static_cast<uint8_t>(std::stoi(r.at("tyc3")))};
    }
    for (const auto& r : StarCat::ReadCsv(kCatalogs + "/hip_hr.csv")) {
        const int hr = std::stoi(r.at("hr"));
        if (!hipOf.count(hr) && !r.at("hip").empty()) hipOf[hr] = static_cast<uint32_t>(std::stoul(r.at("hip")));
    }

    std::map<StarNumber, std::vector<int>> hrsOf;
    for (int hr = 1; hr <= kMaxHr; ++hr) {
        const StarNumber n = HrToStarIndex(hr);
        EXPECT_EQ(n >= 0, bsc[hr].pos) << hr;
        if (n >= 0) hrsOf[n].push_back(hr);
    }
    int merged = 0;
    for (const auto& kv : hrsOf) {
        const StarInfo s = ReadStar(kv.first);
        // One of the HR numbers is the record's own: position and V agree.
        int own = 0;
        for (int hr : kv.second)
            if (Sep(s.x, s.y, s.z, bsc[hr].ra, bsc[hr].dec) < kQ15Error &&
                s.magnitude == std::lround(bsc[hr].v * 100))
                own = hr;
        ASSERT_NE(own, 0) << "HR " << kv.second[0] << " " << Sep(s.x, s.y, s.z, bsc[kv.second[0]].ra, bsc[kv.second[0]].dec)
                          << " " << s.magnitude << " " << bsc[kv.second[0]].v;
        // The others are the same Hipparcos star.
        if (kv.second.size() > 1) {
            ++merged;
            for (int hr : kv.second) EXPECT_EQ(hipOf[hr], hipOf[own]) << hr;
        }
        EXPECT_EQ(s.hip, hipOf.count(own) ? hipOf[own] : 0u) << own;
        TycNumber want = tycOf[own];
        for (int hr : kv.second)
            if (IsNone(want)) want = tycOf[hr];
        EXPECT_EQ(s.tyc, want) << own;
        EXPECT_NE(std::find(kv.second.begin(), kv.second.end(), s.hr), kv.second.end());
    }
    EXPECT_GT(merged, 60);
}

TEST_F(StarTest, EveryHipStarAgreesWithHipparcos) {
    std::map<uint32_t, std::pair<double, double>> pos;
    std::map<uint32_t, double> vmag;
    for (const auto& r : StarCat::ReadCsv(kCatalogs + "/hipparcos.csv.gz")) {
        const uint32_t hip = static_cast<uint32_t>(std::stoul(r.at("hip")));
        pos[hip] = {std::stod(r.at("ra_deg")), std::stod(r.at("dec_deg"))};
        vmag[hip] = std::stod(r.at("vmag"));
    }
    StarPDBFileReader file(startest::StarsDat());
    ASSERT_TRUE(file.IsOpen());
    std::set<uint32_t> seen;
    std::vector<uint8_t> rec(1008 * kStarRecordSize);
    for (uint32_t i = 0; i < file.HipStars(); i += 1008) {
        const uint32_t count = std::min<uint32_t>(1008, file.HipStars() - i);
        ASSERT_EQ(file.Read(file.HipRecord() + i / 1008, 0, rec.data(), count * kStarRecordSize), 0);
        for (uint32_t k = 0; k < count; ++k) {
            const uint8_t* r = &rec[k * kStarRecordSize];
            if (RecordIsPadding(r)) continue;
            const uint32_t hip = HipOf(RecordX(r), RecordY(r), RecordHipCode(r));
            ASSERT_TRUE(pos.count(hip)) << "position " << i + k << " decodes to HIP " << hip;
            EXPECT_TRUE(seen.insert(hip).second) << hip;
            EXPECT_LT(Sep(RecordX(r), RecordY(r), RecordZ(r), pos[hip].first, pos[hip].second), kQ15Error) << hip;
            EXPECT_EQ(RecordMagCode(r) - 148, std::lround(vmag[hip] * 100)) << hip;
        }
    }
    EXPECT_EQ(seen.size(), pos.size());
}

TEST_F(StarTest, TycSectionFromATycho2File) {
    StarCat::Report report;
    const StarCat::Bytes dat =
        StarCat::BuildStarsDat(kCatalogs, {CELVANE_SOURCE_DIR "/tests/tools/data/tyc2_sample.dat"}, report);
    const std::string path = CELVANE_BINARY_DIR "/stars_tycho_sample.dat";
    WriteAll(path, std::string(dat.begin(), dat.end()));
    SetStarFilePath(PL::FromUtf8(path));

    StarPDBFileReader file(StarFilePath());
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.HipStars(), 1877u * 63);
    // Ten records, one of them the HIP star HIP 1: nine TYC stars in one block.
    ASSERT_EQ(file.TycStars(), 63u);
    std::map<std::string, StarInfo> tyc;
    for (StarNumber n = kTycStarBase; n < kTycStarBase + 63; ++n) {
        const StarInfo s = ReadStar(n);
        if (s.colourClass == 31) continue;  // padding
        EXPECT_EQ(s.hip, 0u);
        tyc[std::to_string(s.tyc.tyc1) + "-" + std::to_string(s.tyc.tyc2) + "-" + std::to_string(s.tyc.tyc3)] = s;
    }
    // 1-9003-4 cannot be stored: it stays, without a number. HIP 1 (1-9000-1)
    // is in the HIP section; 1-9001-2 is its companion.
    const char* const numbered[] = {"1-8-1",    "1-13-1",      "1-33-1",      "1-9001-2",
                                    "2-9002-1", "5949-9004-1", "4663-9005-1", "5253-9006-1"};
    EXPECT_EQ(tyc.size(), 9u);
    ASSERT_TRUE(tyc.count("0-0-0"));
    for (const char* t : numbered) ASSERT_TRUE(tyc.count(t)) << t;
    EXPECT_EQ(tyc["1-8-1"].magnitude, 1215);  // VT = BT: V = VT
    EXPECT_EQ(tyc["1-13-1"].magnitude, std::lround((8.670 - 0.090 * (10.488 - 8.670)) * 100));
    // Without a mean position, the observed one.
    EXPECT_LT(Sep(tyc["1-33-1"].x, tyc["1-33-1"].y, tyc["1-33-1"].z, 1.58432611, 0.94286667), 10);
    // TYC1 from the Tycho entries of record 3: their stars lie just outside
    // the region their number names.
    EXPECT_NE(TycRegionOf(tyc["2-9002-1"].x, tyc["2-9002-1"].y, tyc["2-9002-1"].z), 2);

    // HIP 1 took its Tycho number from the file.
    const StarNumber hip1 = FindStarByHip(1);
    ASSERT_GE(hip1, kHipStarBase);
    EXPECT_EQ(ReadStar(hip1).tyc, (TycNumber{1, 9000, 1}));
    EXPECT_EQ(FindStarByTyc(TycNumber{1, 9000, 1}), hip1);
    // The TYC stars are found by their numbers, through the whole chain.
    for (const char* t : numbered) {
        const StarNumber n = FindStarByTyc(tyc[t].tyc);
        EXPECT_GE(n, kTycStarBase) << t;
        EXPECT_EQ(ReadStar(n).tyc, tyc[t].tyc) << t;
    }
    EXPECT_EQ(FindStarByTyc(TycNumber{1, 9003, 4}), -1);
    // And the walk reports them.
    struct Count : StarEnumerator {
        using StarEnumerator::StarEnumerator;
        int n = 0;
        void OnStar(StarNumber, const uint8_t*, uint32_t) override { ++n; }
    } all(&file);
    EXPECT_TRUE(all.EnumerateTyc(32767, 32767, 0, -1, -32768, 32767, -1000, 5000));
    EXPECT_EQ(all.n, 9);
    // Nearest to TYC 1-8-1's position.
    const NearestStar near = FindNearestStar(tyc["1-8-1"].x, tyc["1-8-1"].y, tyc["1-8-1"].z, 1300, 100);
    EXPECT_EQ(ReadStar(near.star).tyc, (TycNumber{1, 8, 1}));
    EXPECT_EQ(near.distance2, 0u);
    std::remove(path.c_str());
}

TEST(StarCatalogueBuilder, BadInputsAreReported) {
    StarCat::Report r;
    EXPECT_THROW(StarCat::BuildBrightResources("/nonexistent", r), StarCat::BuildError);
    const std::string bad = CELVANE_BINARY_DIR "/tyc2_bad.dat";
    WriteAll(bad, "not a tycho record\n");
    try {
        StarCat::BuildStarsDat(kCatalogs, {bad}, r);
        ADD_FAILURE() << "no error";
    } catch (const StarCat::BuildError& e) {
        EXPECT_NE(e.message.find("line 1"), std::string::npos) << e.message;
    }
    std::remove(bad.c_str());
    EXPECT_THROW(StarCat::ReadLines("/nonexistent/file.gz"), StarCat::BuildError);
}

// A fuzz finding: a catalogue whose bright-star Tycho list lacks the
// columns the builder reads (here a gzip Tycho-2 file in its place) ended
// the builder with an uncaught std::out_of_range instead of a message.
TEST(StarCatalogueBuilder, ACsvFileWithoutTheColumnsReadIsReported) {
    const std::string dir = tooltest::Scratch("starcat_missing_columns");
    std::string hip;
    const std::vector<std::string> lines = StarCat::ReadLines(kCatalogs + "/hipparcos.csv.gz");
    for (size_t i = 0; i < 50 && i < lines.size(); ++i) hip += lines[i] + "\n";
    WriteAll(dir + "/hipparcos.csv.gz", hip);
    WriteAll(dir + "/tyc_bright_stars.csv.gz",
             ReadAll(CELVANE_SOURCE_DIR "/tests/tools/data/fuzz_tyc_bright_without_columns.gz"));
    StarCat::Report r;
    try {
        StarCat::BuildStarsDat(dir, {}, r);
        ADD_FAILURE() << "no error";
    } catch (const StarCat::BuildError& e) {
        EXPECT_NE(e.message.find("tyc_bright_stars.csv.gz: no column hr"), std::string::npos) << e.message;
    }
    WriteAll(dir + "/hipparcos.csv.gz", "hip,ra_deg\n1,2\n");
    EXPECT_THROW(StarCat::BuildStarsDat(dir, {}, r), StarCat::BuildError);
}
