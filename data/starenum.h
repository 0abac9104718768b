// Visiting the stars inside a box of right ascension, declination and
// magnitude, and the searches built on it: by HIP number, by TYC number and
// for the star nearest a direction.
//
// The three trees (bright stars, HIP and TYC sections) share one layout: a
// k-d tree stored as an implicit heap of 63-record blocks, each block with 64
// child blocks. The walk is integer-only and reads from "stars.dat" only the
// blocks that the box reaches.
#pragma once

#include <cstdint>
#include <vector>

#include "data/starfile.h"
#include "data/starformat.h"

namespace Data {

class StarEnumerator {
public:
    // The HIP and TYC sections are walked through `file` (which must stay open
    // for the enumerator's life); without one they report nothing.
    explicit StarEnumerator(StarPDBFileReader* file = nullptr);
    virtual ~StarEnumerator();

    // One call per reported star: its number, its record (big-endian, 14
    // bytes, or 10 for TYC stars) and its position in the section's tree.
    virtual void OnStar(StarNumber n, const uint8_t* record, uint32_t position) = 0;

    // The box runs eastwards from the direction (xFrom, yFrom) to (xTo, yTo)
    // (cosine and sine of right ascension x 32767), z (sine of declination x
    // 32767) from zMin to zMax, magnitudes (hundredths) from magMin to magMax.
    // False when a block could not be read; the stars reported so far stand.
    bool EnumerateBright(int16_t xFrom, int16_t xTo, int16_t yFrom, int16_t yTo, int16_t zMin, int16_t zMax,
                         int16_t magMin, int16_t magMax);
    bool EnumerateHip(int16_t xFrom, int16_t xTo, int16_t yFrom, int16_t yTo, int16_t zMin, int16_t zMax,
                      int16_t magMin, int16_t magMax);
    bool EnumerateTyc(int16_t xFrom, int16_t xTo, int16_t yFrom, int16_t yTo, int16_t zMin, int16_t zMax,
                      int16_t magMin, int16_t magMax);

protected:
    StarPDBFileReader* File() const { return file_; }

private:
    enum Section { kBright, kHip, kTyc };
    struct Box {
        int32_t x0, y0, x1, y1, z0, z1, m0, m1;
    };
    struct Walk;

    bool Enumerate(Section s, int16_t xFrom, int16_t xTo, int16_t yFrom, int16_t yTo, int16_t zMin, int16_t zMax,
                   int16_t magMin, int16_t magMax);
    bool Run(Walk& w);
    bool VisitBlock(Walk& w, uint32_t block, int level, bool leftmost);
    bool VisitNode(Walk& w, const uint8_t* data, uint32_t block, int node, int level, bool leftmost);

    StarPDBFileReader* file_;
    uint32_t hipRecord_ = 0, tycRecord_ = 0;
    uint32_t hipBlocks_ = 0, tycBlocks_ = 0;
    // Block 0 of each file section, read once.
    std::vector<uint8_t> hipRoot_, tycRoot_;
};

// The star nearest a direction (squared distance in Q15 units).
class StarFinder : public StarEnumerator {
public:
    StarFinder(StarPDBFileReader* file, int16_t x, int16_t y, int16_t z);
    void OnStar(StarNumber n, const uint8_t* record, uint32_t position) override;
    StarNumber Result() const { return result_; }
    uint32_t Distance2() const { return best_; }

private:
    int32_t x_, y_, z_;
    uint32_t best_ = 1000000000;
    StarNumber result_ = kNoStar;
};

// The star with a HIP number (the last match wins).
class HipFinder : public StarEnumerator {
public:
    HipFinder(StarPDBFileReader* file, uint32_t hip);
    void OnStar(StarNumber n, const uint8_t* record, uint32_t position) override;
    StarNumber Result() const { return result_; }

private:
    uint32_t hip_;
    StarNumber result_ = kNoStar;
};

// The star with a Tycho number.
class TycFinder : public StarEnumerator {
public:
    TycFinder(StarPDBFileReader* file, TycNumber tyc);
    void OnStar(StarNumber n, const uint8_t* record, uint32_t position) override;
    StarNumber Result() const { return result_; }

private:
    TycNumber tyc_;
    StarNumber result_ = kNoStar;
};

// -1 when not found. Both open "stars.dat" (StarFilePath) for the search
// only; without it they search the bright stars.
StarNumber FindStarByHip(uint32_t hip);
StarNumber FindStarByTyc(TycNumber tyc);

struct NearestStar {
    StarNumber star = kNoStar;
    uint32_t distance2 = 1000000000;  // squared distance in Q15 units
};
// The star nearest the direction (x, y, z) (x 32767) within `radius` (a
// 16-bit angle), no fainter than `faintest` (hundredths of a magnitude).
NearestStar FindNearestStar(int16_t x, int16_t y, int16_t z, int16_t faintest, uint16_t radius);

}  // namespace Data
