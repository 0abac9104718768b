// The Earth's magnetic field at the observer: declination, inclination and
// total intensity from the World Magnetic Model (NOAA NCEI / BGS), for the
// compass's magnetic bearings and the magnetic declination dialog.
//
// The program ships WMM2010, WMM2015 (v2), WMM2020 and WMM2025; a moment is
// evaluated with the model whose five years contain it, so the field is known
// from 2010.0 to 2030.0 (and, as always, for the last days of 2009).
#pragma once

#include <cstdint>

#include "engine/astrotime.h"

namespace Calc {

class MagneticModel {
public:
    MagneticModel();
    virtual ~MagneticModel() = default;

    // --- written by the caller, then Recompute ------------------------------
    float longitude = 0;  // degrees, WEST positive (as in the place record)
    float latitude = 0;   // geodetic degrees, north positive
    float height = 0;     // kilometres above the WGS-84 ellipsoid
    AstroTime moment;

    // --- the results of the last Recompute ----------------------------------
    uint8_t valid = 0;       // 1: the three values below hold
    float declination = 0;   // D, degrees, -180 < D <= 180, east positive
    float inclination = 0;   // I, degrees, down positive
    float intensity = 0;     // F, nanotesla

    // Brings the results up to date. The spherical-harmonic sums run only
    // when the place (or, with the moment, the model) changed; a new moment
    // at the same place costs a few multiplications; nothing changed costs
    // nothing. A moment outside the models' years, or a place outside the
    // model's domain (not a number, latitude beyond 90 degrees, more than
    // 100 km below the ellipsoid), gives valid = 0 and three zero results.
    virtual void Recompute();

    // Forgets both cached steps; the next Recompute computes everything.
    virtual void Invalidate();

    // Recompute, then the magnetic bearing of a true azimuth (degrees):
    // azimuth - declination if valid, else the azimuth unchanged; not reduced
    // to 0..360.
    virtual float MagneticAzimuth(float azimuthDeg);

    // The name of the model of the last Recompute ("WMM2025"), or an empty
    // text when the moment lay outside every model.
    const char16_t* ModelName() const;

    // The model serving a moment (an index into kMagneticModels), or -1.
    static int ModelFor(AstroTime t);
    // The moment as a year in whole hundredths (201250 = 2012.50): years of
    // 365.25 days counted from MJD 0 = 1858.88.
    static int32_t YearHundredths(AstroTime t);

private:
    void SpatialStep(int model);
    void TimeStep(int32_t yearHundredths);
    void ClearResults();

    // Spatial terms: geocentric field components at the model's epoch and
    // their yearly rates (theta = southward, phi = eastward, radial outward),
    // with the cosine of the geocentric latitude and the cosine and sine of
    // the angle between geocentric and geodetic latitude.
    float bTheta_ = 0, bPhi_ = 0, bRadial_ = 0;
    float bThetaRate_ = 0, bPhiRate_ = 0, bRadialRate_ = 0;
    float cosGeocentricLat_ = 0;
    float cosLatDiff_ = 1, sinLatDiff_ = 0;
    bool spatialOk_ = false;  // the place gave finite geocentric coordinates

    // Cached position of the last spatial step, and its model.
    bool spatialCached_ = false;
    float cachedLongitude_ = 0, cachedLatitude_ = 0, cachedHeight_ = 0;
    int cachedModel_ = -1;
    // Cached moment of the last time step.
    bool momentCached_ = false;
    AstroTime cachedMoment_;

    int resultModel_ = -1;
};

}  // namespace Calc
