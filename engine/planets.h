// Heliocentric positions of the planets Mercury to Neptune and of Pluto,
// referred to the ecliptic and mean equinox of date, as a spherical triple
// (longitude rad, latitude rad, radius AU). The series are the Keplerian
// terms and the largest perturbations of Montenbruck & Pfleger, Astronomy
// on the Personal Computer, ch. 6 (longitudes in revolutions); Pluto's is a
// Fourier series in one angle. No light-time correction.
#pragma once

#include "engine/astrotime.h"
#include "engine/vecmath.h"

namespace Calc {

// Mercury and Venus move fast enough that their mean anomalies are taken
// from the split day number (no loss of the day fraction in single
// precision); the outer planets take T, Julian centuries since J2000.0.
Vec3 MercuryPosition(AstroTime t);
Vec3 VenusPosition(AstroTime t);
Vec3 MarsPosition(float T);
Vec3 JupiterPosition(float T);
Vec3 SaturnPosition(float T);
Vec3 UranusPosition(float T);
Vec3 NeptunePosition(float T);
Vec3 PlutoPosition(float T);

// By body index (2 Mercury .. 9 Pluto); T must be JulianCenturies(t).
// Other indices give (0, 0, 1).
Vec3 PlanetPosition(int body, AstroTime t, float T);

}  // namespace Calc
