// Which constellation a direction lies in, the constellations' centres, and
// the boundary lines for the sky map. Positions are referred to the equinox
// B1875.0, the equinox of Delporte's boundaries: callers precess first.
#pragma once

#include <cstdint>

#include "engine/constellation_tables.h"
#include "engine/vecmath.h"

namespace Calc {

// The constellation (0..87) of a B1875.0 equatorial vector, by Roman's
// method (PASP 99, 695, 1987). The vector need not be a unit vector; the
// zero vector counts as RA 0, Dec 0.
int ConstellationOf(Vec3 b1875);
// The same for a right ascension in whole seconds of time (0..86400) and a
// declination in whole arcminutes (-5400..5400), B1875.0.
int ConstellationAt(int32_t raSeconds, int32_t decArcmin);

// The approximate unit vector (equatorial J2000) towards a constellation's
// centre; indices outside 0..87 give the zero vector. For Serpens it is the
// centre of Serpens Caput.
Vec3 ConstellationCentre(int index);

// "And" .. "Vul" for 0..87, "Ser" for 88; nullptr for anything else.
const char* ConstellationAbbreviationAscii(int index);

// The four scaled values of a boundary vertex: sin RA, cos RA, sin Dec and
// cos Dec, each times 32767, equinox B1875.0.
struct BoundaryVertex {
    int16_t sinRa, cosRa, sinDec, cosDec;
};

// Visitor over the boundary segments (equinox B1875.0). A segment starts at
// a vertex and runs along a parallel of declination (alongParallel true; the
// length is an angle of right ascension, positive eastwards) or along a
// meridian (false; positive northwards). The length is in arcseconds.
class ConstellationBoundaries {
public:
    virtual ~ConstellationBoundaries();

    // Every one of the 781 segments, in table order.
    void EnumerateAll();
    // The segments with the constellation on either side, in table order.
    // Serpens (73, or 88 for its second part) gives the outlines of both
    // its parts.
    void EnumerateFor(int index);

protected:
    virtual void Segment(const BoundaryVertex& start, int32_t lengthArcsec, bool alongParallel) = 0;

private:
    void Emit(int row);
};

}  // namespace Calc
