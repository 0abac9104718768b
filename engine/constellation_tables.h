// The constellation tables, generated from public catalogues by
// tools/make_constellation_tables.py (sources and provenance in
// catalogs/constellations/README.md). The definitions live in
// constellation_tables.cpp, which is generated: never edit it by hand,
// re-run the tool instead.
#pragma once

#include <cstdint>

namespace Calc {

constexpr int kConstellationCount = 88;       // indices 0..87, IAU abbreviations in alphabetical order
constexpr int kSerpensCaput = 73;             // Serpens; in the boundary table its first part
constexpr int kSerpensCauda = 88;             // the second part of Serpens; names as Serpens
constexpr int kConstellationRegionCount = 357;
constexpr int kBoundarySegmentCount = 781;
constexpr int kBoundaryVertexCount = 694;

// The abbreviation of each index 0..88 (88 is "Ser" again).
extern const char* const kConstellationAbbreviations[kConstellationCount + 1];

// Roman (1987), equinox B1875.0, three words a row, ordered by declination
// band from the north pole down:
//   start RA (s of time) = 2 w0 + (w1 & 1); width (s) = w1 >> 1, 0 = up to 86400;
//   band step (arcmin) = w2 >> 7, non-zero in the first row of a band;
//   constellation index = w2 & 127.
extern const uint16_t kConstellationRegions[kConstellationRegionCount][3];

// One boundary segment between two constellations, equinox B1875.0. Along a
// parallel (direction 1) the length is in seconds of time, along a meridian
// (direction 0) in arcminutes; positive runs east or north. Walking from the
// start vertex in the sense of the length, with right ascension growing to
// the right and declination upwards, constellation `right` lies on the right
// and `left` on the left.
struct BoundarySegment {
    uint16_t start;
    uint16_t end;
    uint8_t direction;
    uint8_t spare;
    int16_t length;
    uint8_t right;
    uint8_t left;
};
static_assert(sizeof(BoundarySegment) == 10, "the segment rows are ten bytes");
extern const BoundarySegment kBoundarySegments[kBoundarySegmentCount];

// sin RA, cos RA, sin Dec, cos Dec of each vertex, times 32767.
extern const int16_t kBoundaryVertices[kBoundaryVertexCount][4];

// A row / 128 is an approximate unit vector (equatorial J2000) towards each
// constellation's centre.
extern const int8_t kConstellationCentres[kConstellationCount][3];

}  // namespace Calc
