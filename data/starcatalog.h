// The star catalogues: the bright stars and the naming tables built into the
// program's resources, and the optional "stars.dat" with the Hipparcos and
// Tycho-2 stars. Decoding a star number into its catalogue numbers and
// properties, and the HR, proper-name, Bayer and Flamsteed tables.
//
// The tables are program-wide and used on the user-interface thread only.
#pragma once

#include <cstdint>
#include <string>

#include "data/starformat.h"

namespace Data {

// Fixed lengths of the naming lists.
constexpr int kProperNameCount = 291;
constexpr int kBayerListCount = 1564;
constexpr int kFlamsteedListCount = 2554;
// HR numbers of the Bright Star Catalogue, and the last with a Bayer or
// Flamsteed entry.
constexpr int kMaxHr = 9110;
constexpr int kMaxBayerFlamsteedHr = 9103;

// Bayer and Flamsteed designation of a bright star.
struct BayerFlamsteed {
    uint8_t letter = 0;         // Greek letter 1..24 (alpha..omega), 0 none
    uint8_t digit = 0;          // superscript digit, 0 none
    uint8_t flamsteed = 0;      // Flamsteed number, 0 none
    uint8_t constellation = 0;  // constellation index 0..88
};

// A decoded star.
struct StarInfo {
    TycNumber tyc;
    int16_t x = 0, y = 0, z = 0;  // J2000 unit vector x 32767
    int16_t magnitude = 0;        // V in hundredths
    uint8_t colourClass = 0;
    uint32_t hip = 0;       // 0 = none
    uint32_t parallax = 0;  // milliarcseconds, 0 = unknown
    std::u16string spectral;
    uint16_t properName = 0;  // 1..291, 0 = none (bright stars only)
    BayerFlamsteed bayerFlamsteed;  // bright stars only
    uint16_t hr = 0;                // 0 = none (bright stars only)
};

// The first 10 bytes of a star's record, still big-endian.
struct StarPosition {
    uint8_t bytes[kFaintStarRecordSize] = {};
    int16_t X() const { return RecordX(bytes); }
    int16_t Y() const { return RecordY(bytes); }
    int16_t Z() const { return RecordZ(bytes); }
    int MagnitudeCode() const { return RecordMagCode(bytes); }
};

// --- loading ---------------------------------------------------------------------------
// Locates every star resource by name through the platform layer; a missing
// resource leaves its table empty. Called once at start; calling it again
// (tests) locates them anew.
void LoadStarResources();
// The number of blocks of the bright-star tree that the resources hold.
uint32_t BrightBlockCount();
// The bright-star block b (63 records of 14 bytes), or nullptr.
const uint8_t* BrightBlock(uint32_t b);

// The full path of "stars.dat"; empty when there is none. Every operation that
// needs the file opens it with this path and closes it before it returns.
void SetStarFilePath(const std::u16string& path);
const std::u16string& StarFilePath();

// --- decoding ----------------------------------------------------------------------------
StarInfo ReadStar(StarNumber n);
StarPosition ReadStarPosition(StarNumber n);

class StarPDBFileReader;
// Reads the first `count` bytes of the record of star n (10000 and above)
// from `file`; false when the number lies outside its section or the read
// fails.
bool ReadFileRecord(StarPDBFileReader& file, StarNumber n, uint8_t* out, int count);
// The Tycho number of a record of star n: TYC1 from the position, or the
// Tycho entry of the record's store ("Tyc1List" for bright stars, records 2
// and 3 of "stars.dat" through `file` for HIP and TYC stars).
TycNumber RecordTycNumber(const uint8_t* record, StarNumber n, StarPDBFileReader* file);

// --- the HR and naming tables ------------------------------------------------------------
StarNumber HrToStarIndex(int hr);
int StarIndexToHr(StarNumber index);
int ProperNameStarHr(int k);
BayerFlamsteed BayerFlamsteedOf(int hr);
bool HasProperName(int hr);
int BayerListHr(int i);
int FlamsteedListHr(int i);

}  // namespace Data
