// The star record format shared by the bright-star resources, "stars.dat"
// and the catalogue builder: star numbers, the big-endian 14- and 10-byte
// records, the HIP number prediction, the Tycho region of a position, the
// pair-coded text tables and the ordering that the search trees are built on.
// Everything here is integer arithmetic and bit-exact: the catalogue files
// were produced with exactly these functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace Data {

// One number for every star: 0..9999 bright stars (the position in the
// bright-star tree), 10000 + i the HIP section of "stars.dat", 200000 + i its
// TYC section; negative means no star.
using StarNumber = int32_t;
constexpr StarNumber kNoStar = -1;
constexpr StarNumber kHipStarBase = 10000;
constexpr StarNumber kTycStarBase = 200000;

constexpr int kStarsPerBlock = 63;       // one tree block: a complete binary tree of depth 6
constexpr int kBlocksPerRecord = 16;     // tree blocks per resource piece or PDB record
constexpr int kStarRecordSize = 14;      // StarRecord
constexpr int kFaintStarRecordSize = 10; // FaintStarRecord: no HIP, parallax or spectral type
constexpr int kTychoEntrySize = 8;

// Magnitude codes: V = (code - 148) / 100.
constexpr int kMagnitudeOffset = 148;
constexpr int kMaxMagnitudeCode = 2047;
// Bit 15 of the magnitude word marks a padding record, never reported.
constexpr uint16_t kPaddingFlag = 0x8000;
constexpr int kPaddingColourClass = 31;

// --- big-endian field access ---------------------------------------------------
inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
inline int16_t GetI16(const uint8_t* p) { return static_cast<int16_t>(GetU16(p)); }
inline uint32_t GetU32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
inline uint32_t GetU32Le(const uint8_t* p) {
    return (uint32_t(p[3]) << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | uint32_t(p[0]);
}
inline void PutU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}
inline void PutU32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

// --- record fields (the record stays big-endian in memory) -------------------------
inline int16_t RecordX(const uint8_t* r) { return GetI16(r); }
inline int16_t RecordY(const uint8_t* r) { return GetI16(r + 2); }
inline int16_t RecordZ(const uint8_t* r) { return GetI16(r + 4); }
inline uint16_t RecordMagWord(const uint8_t* r) { return GetU16(r + 6); }
inline int RecordMagCode(const uint8_t* r) { return RecordMagWord(r) & 0x7FF; }
inline int RecordColourClass(const uint8_t* r) { return RecordMagWord(r) >> 11; }
inline bool RecordIsPadding(const uint8_t* r) { return (RecordMagWord(r) & kPaddingFlag) != 0; }
inline uint16_t RecordTychoLink(const uint8_t* r) { return GetU16(r + 8); }
// The last four bytes exist in the 14-byte StarRecord only.
inline uint8_t RecordHipCode(const uint8_t* r) { return r[10]; }
inline uint8_t RecordParallaxCode(const uint8_t* r) { return r[11]; }
inline uint16_t RecordSpectralOffset(const uint8_t* r) { return GetU16(r + 12); }

// --- catalogue numbers -------------------------------------------------------------

// A Tycho-2 number; all three parts zero means none.
struct TycNumber {
    uint16_t tyc1 = 0;  // GSC region 1..9537
    uint16_t tyc2 = 0;  // running number, 14 bits
    uint8_t tyc3 = 0;   // component 1..3
};
inline bool operator==(const TycNumber& a, const TycNumber& b) {
    return a.tyc1 == b.tyc1 && a.tyc2 == b.tyc2 && a.tyc3 == b.tyc3;
}
inline bool operator!=(const TycNumber& a, const TycNumber& b) { return !(a == b); }
inline bool IsNone(const TycNumber& t) { return t.tyc1 == 0 && t.tyc2 == 0 && t.tyc3 == 0; }

// The 33 HIP numbers above 120000, reached by HIP codes 1..33.
constexpr int kHighHipCount = 33;
extern const uint32_t kHighHipTable[kHighHipCount];
// The parallaxes (mas) of parallax codes 231..253.
constexpr int kNearStarCount = 23;
extern const uint16_t kNearStarParallax[kNearStarCount];
constexpr int kFirstNearStarCode = 231;

// The HIP number of a record: 0 for code 0, the high table for codes 1..33,
// otherwise a prediction from the right ascension (Hipparcos numbers run in
// right ascension) corrected by the code.
uint32_t HipOf(int16_t x, int16_t y, uint8_t code);
// The prediction alone: HipOf(x, y, code) = code + HipPrediction(x, y) for
// codes 34..255.
int32_t HipPrediction(int16_t x, int16_t y);
// Parallax in milliarcseconds of a parallax code; 0 when unknown.
uint32_t ParallaxOf(uint8_t code);

// TYC1 of a position: the small region of the Guide Star Catalog 1.1 region
// scheme (24 declination zones of 7.5 degrees) that holds the direction.
uint16_t TycRegionOf(int16_t x, int16_t y, int16_t z);

// The box of a small region in 16-bit angles, widened by 300 units on each
// side: right ascension 0..65535, declination -16383..16383.
struct TycRegionBounds {
    int32_t raFrom = 0, raTo = 0;
    int32_t decFrom = 0, decTo = 0;
};
// False for a TYC1 outside 1..9537.
bool TycRegionBox(uint16_t tyc1, TycRegionBounds& out);

// --- the tree's right-ascension order ---------------------------------------------
// Directions (x, y) ordered by position angle from 0h eastwards without
// trigonometry: x > 0 and y >= 0 first, then x <= 0, then x > 0 and y < 0;
// within a group by the sign of the cross product. Returns <0, 0 or >0.
inline int RaGroup(int32_t x, int32_t y) { return x > 0 ? (y >= 0 ? 0 : 2) : 1; }
inline int CompareRa(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const int g1 = RaGroup(x1, y1), g2 = RaGroup(x2, y2);
    if (g1 != g2) return g1 < g2 ? -1 : 1;
    const int64_t cross = int64_t(y1) * x2 - int64_t(y2) * x1;
    return cross > 0 ? 1 : (cross < 0 ? -1 : 0);
}

// --- tree shape ----------------------------------------------------------------------
// Split axes of the tree nodes.
enum TreeAxis : int { kAxisRa = 0, kAxisZ = 1, kAxisMagnitude = 2 };
// The split axis of node j (0..62) of block b: magnitude on the leftmost path
// from the root, otherwise (depth + 2) mod 3.
int TreeSplitAxis(uint32_t block, int node);

// --- pair-coded text ------------------------------------------------------------------
// A table of spectral-type texts: L literal bytes and P pairs of codes after a
// 4-byte little-endian header; a text is a zero-terminated run of codes.
class PairCodedText {
public:
    PairCodedText() = default;
    // The first `size` bytes of a table; only the header, literals and pairs
    // are needed to expand codes.
    PairCodedText(const uint8_t* table, size_t size) { Attach(table, size); }
    void Attach(const uint8_t* table, size_t size);
    bool Valid() const { return valid_; }
    // Bytes 0 .. HeaderSize()-1: header, literals and pairs.
    size_t HeaderSize() const { return 4 + literals_ + 2 * pairs_; }
    // Expands the zero-terminated code run starting at codes[0] (at most
    // `count` bytes are read); damaged tables give a shortened text, never a
    // crash or an endless expansion. `steps`, when given, receives the
    // expansion steps the text took (the work a damaged table can cause).
    std::u16string Expand(const uint8_t* codes, size_t count, int* steps = nullptr) const;
    // The text at a table offset, when the whole table is at hand.
    std::u16string TextAt(size_t offset, int* steps = nullptr) const;

private:
    void ExpandCode(int code, int depth, int& budget, std::u16string& out) const;

    const uint8_t* table_ = nullptr;
    size_t size_ = 0;
    int literals_ = 0;
    int pairs_ = 0;
    bool valid_ = false;
};

// Longest spectral-type text that expansion produces, and the steps one
// text's expansion may take.
constexpr size_t kMaxSpectralText = 64;
constexpr int kExpansionBudget = 16 * static_cast<int>(kMaxSpectralText);

}  // namespace Data
