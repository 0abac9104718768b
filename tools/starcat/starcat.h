// The star catalogue builder: turns the public source catalogues of
// catalogs/stars into the program's bright-star resources and "stars.dat".
// Positions, HIP codes and Tycho regions are computed with the program's own
// integer functions (celvane_core), so what the builder encodes the program
// decodes to the same numbers.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "data/starformat.h"

namespace StarCat {

using Bytes = std::vector<uint8_t>;

// A failure of the builder: a missing or malformed input, or data that the
// formats cannot hold.
struct BuildError {
    std::string message;
};

// --- reading ---------------------------------------------------------------------------
// The lines of a text file, plain or gzip-compressed, without line ends.
std::vector<std::string> ReadLines(const std::string& path);
// One CSV record: fields separated by commas, double quotes around a field
// that holds commas or quotes ("" inside for a quote).
std::vector<std::string> SplitCsv(const std::string& line);
// A CSV file as rows of named fields (the first line names the columns). A
// file that lacks one of `columns` is an error, so that every row holds a
// field for each of them.
std::vector<std::map<std::string, std::string>> ReadCsv(const std::string& path,
                                                        const std::vector<std::string>& columns = {});

// --- encoding of single values ------------------------------------------------------------
struct Q15Vector {
    int16_t x = 0, y = 0, z = 0;
};
// The J2000 unit vector x 32767 of a direction in degrees. The direction
// (0, y <= 0) is moved to x = 1 (6 arcseconds at most), so that the
// tree's right-ascension order, which sorts by cross products within three
// groups, is a strict order.
Q15Vector ToQ15(double raDeg, double decDeg);
// V x 100 + 148, held in 0..2047.
uint16_t MagnitudeCode(double v);
// The colour class 0 (red) .. 15 (blue) of a B-V colour index; 9 (white)
// when unknown.
int ColourClass(double bv, bool known);
// Parallax (mas) to its code: 1..230 rounded, above that the nearest entry of
// the near-star table (codes 231..253), 0 when unknown, not positive or
// below 0.5 mas.
uint8_t ParallaxCode(double mas, bool known);
// The HIP code that HipOf decodes back to hip at (x, y): 34..255, or 1..33
// for the high HIP numbers; 0 when hip is 0 or cannot be encoded.
uint8_t HipCode(uint32_t hip, int16_t x, int16_t y);

// --- pair-coded text ---------------------------------------------------------------------
// Encodes a set of texts (8-bit characters) into a pair-coded table: the
// literals, then pairs of codes chosen greedily (the most frequent adjacent
// pair first) while codes remain and a pair saves space; texts that end
// another text share its bytes. `offsets` receives each text's offset.
Bytes EncodePairText(const std::vector<std::string>& texts, std::map<std::string, uint16_t>& offsets,
                     int* literalCount = nullptr, int* pairCount = nullptr);

// --- the search tree -----------------------------------------------------------------------
struct TreeKey {
    int16_t x = 0, y = 0, z = 0;
    uint16_t magCode = 0;
};
// Places the stars in a tree of ceil(n / 63) blocks: result[slot] is the index
// of the star at that tree position, or -1 for a padding record (padding
// takes the key of the faintest star, so it keeps the tree's order).
std::vector<int32_t> BuildTree(const std::vector<TreeKey>& keys, TreeKey* paddingKey = nullptr);

// --- Tycho-2 -------------------------------------------------------------------------------
struct Tycho2Star {
    Data::TycNumber tyc;
    double raDeg = 0, decDeg = 0;
    double v = 0;
    double bv = 0;
    bool hasBv = false;
    uint32_t hip = 0;
};
// One record of the Tycho-2 main catalogue (tyc2.dat, 206 bytes, "|"
// separated fixed columns). The mean J2000 position is used, the observed
// one when there is none; V = VT - 0.090 (BT - VT), B-V = 0.850 (BT - VT).
// False for a malformed record.
bool ParseTycho2Line(const std::string& line, Tycho2Star& out);

// --- output ---------------------------------------------------------------------------------
// A Palm database with the given records (fixed header dates, so the output
// depends on the records only).
Bytes WritePdb(const std::string& name, const std::vector<Bytes>& records);

struct Report {
    std::vector<std::string> lines;
    void Add(const std::string& s) { lines.push_back(s); }
};

// The bright-star resources, by resource name.
std::map<std::string, Bytes> BuildBrightResources(const std::string& catalogDir, Report& report);
// "stars.dat": the HIP section from hipparcos.csv.gz, the TYC section from
// the given tyc2.dat files (plain or gzip; none gives an empty section).
Bytes BuildStarsDat(const std::string& catalogDir, const std::vector<std::string>& tycho2Files, Report& report);

}  // namespace StarCat
