// The sky map's view state and projection: where the map looks (centre
// azimuth and altitude, field of view), its size, what it draws, and the
// mapping between directions and pixels. Portable: no window-system headers;
// the painter and the sky window build on it.
//
// How a painter uses it:
//   1. view.PreparePaint()  -- rebuilds the five frame rotations if the
//      view, size or time changed, and takes this paint's magnitude filters
//      (the hit test later uses the same ones);
//   2. for every point: a Q15 vector of a frame (stars and user objects:
//      J2000; bodies and comets: equatorial of date; grids: horizontal or
//      equatorial; boundaries: B1875.0; ecliptic) goes through
//      view.Project(v, &view.RotationQ15(frame), pt); a false result means
//      behind the viewer; view.OnMap(pt) says whether pt is a pixel of the
//      map. Float directions go through ProjectDirection (made unit, then
//      Q15). The star layer asks VisibleWindow(Frame::J2000) and
//      StarSearchBox for its catalogue box, and enumerates magnitudes
//      -1000 .. MagLimit(). Comets and asteroids come from CometSpots()
//      (positions and magnitudes of this paint); they and the user objects
//      are compared with PaintedMagFilter();
//   3. the finished picture is handed over with SetPicture; every setter
//      that changes the view drops it (Picture() is then null), which is
//      the sign that the map must be painted again.
// The sky window turns taps into HitTest, drags into PanRates, zoom steps
// into ZoomIn/ZoomOutField and ZoomAbout, and the magnitude slider into
// AutomaticMagnitudeLimit + SetMagnitudeLimit.
//
// Fixed point: a Q15 vector is three int16 components x 32767; a Q15
// rotation nine int16 elements x 32767 (truncated); products are shifted
// right by 15. Screen points have x to the right, y downwards, origin at the
// map's top-left pixel.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "data/objects.h"
#include "engine/ephemeris.h"
#include "engine/vecmath.h"
#include "settings/preferences.h"

namespace UI {
namespace SkyMap {

using Data::SkyDisplaySettings;

struct Q15Vec {
    int16_t x = 0, y = 0, z = 0;
};

struct Q15Mat {
    int16_t m[9] = {32767, 0, 0, 0, 32767, 0, 0, 0, 32767};  // row-major
};

// A unit vector (or any vector: it is made unit first) as Q15, each
// component x 32767 truncated. The zero vector stays zero.
Q15Vec ToQ15(Calc::Vec3 v);
// A rotation as Q15, each element x 32767 truncated.
Q15Mat ToQ15(const Calc::Mat3& m);

// A pixel of the map. 32-bit coordinates: on a desktop-sized map at the
// smallest fields a projected point can lie further off the map than 16 bits
// reach, and a wrapped coordinate would land on the map.
struct ScreenPoint {
    int32_t x = 0, y = 0;
};

// The frames whose rotations into the view frame the map keeps.
enum class Frame {
    Horizontal,  // viewRot: x north, y east, z zenith
    Equatorial,  // equRot: equator and equinox of date
    B1875,       // b1875Rot: equator and equinox B1875.0 (constellation boundaries)
    J2000,       // j2000Rot: equator and equinox J2000.0 (stars, lines, user objects)
    Ecliptic     // eclRot: ecliptic and equinox of date
};
constexpr int kFrameCount = 5;

// The projection constant: the eye is 1.7030854 sphere radii behind the
// sphere's centre (55805 in Q15), between the stereographic and the
// orthographic projections.
constexpr int32_t kProjectionDistance = 55805;

// Rates for dragging the map: degrees of the centre per pixel of stylus motion.
struct PanRate {
    float azimuthPerPixel = 0;   // per pixel of rightward motion (negative: the sky follows the stylus)
    float altitudePerPixel = 0;  // per pixel of downward motion
};

// The part of a frame's sphere that can be on the map, in arcminutes:
// longitude lonMin..lonMax (may run below 0 or above 21600 across 0h/360
// degrees), latitude latMin..latMax (within -5400..5400), and
// trunc(|cos b| x 32767) of the latitude b of the map centre in that frame.
struct VisibleRange {
    int32_t lonMin = 0, lonMax = 21600;
    int32_t latMin = -5400, latMax = 5400;
    int32_t cosLat = 0;
    bool WholeCircle() const { return lonMin == 0 && lonMax == 21600; }
};

// A visible range as the star enumerator's box (Data::StarEnumerator):
// directions of the first and last right ascension, z bounds (Q15 sines of
// the latitude bounds). A window that ends at exactly 21600 ends at
// (32767, -1): the whole circle.
struct StarBox {
    int16_t xFrom = 32767, yFrom = 0, xTo = 32767, yTo = -1;
    int16_t zMin = -32767, zMax = 32767;
};
StarBox StarSearchBox(const VisibleRange& range);

// The off-screen picture of the last paint, owned by the view. Its concrete
// form (a device-independent bitmap) belongs to the window half.
class MapPicture {
public:
    virtual ~MapPicture();
};

// --- field of view levels and the automatic limiting magnitude -------------------------

constexpr int kFieldLevelCount = 18;
// Level i in degrees: 180, 120, 90, 60, 45, 30, 20, 15, 10, 7.5, 5, 3, 2,
// 1.5, 1, 0.75, 0.5, 1/3. Out-of-range indices are clamped.
float FieldLevel(int i);
// The zoom slider position of a field: the first level 0..16 that the
// field is not smaller than, 17 when it is smaller than all of them.
int FieldLevelIndex(float field);
// One level in (smaller field) and out; a field between levels snaps to a
// neighbouring level. The smallest level stays when zooming in, the
// largest when zooming out.
float ZoomInField(float field);
float ZoomOutField(float field);

// The faintest star magnitude drawn for a field of view (degrees) and the
// magnitude slider (0..1000; clamped to it), to the nearest tenth, at most 16.
float AutomaticMagnitudeLimit(float field, float slider);

// --- hit testing ------------------------------------------------------------------------

// The tap radius in pixels: 6 for screens of fewer than 136 dots per inch
// (mean of both directions), 12 otherwise.
int HitRadiusForDpi(int dpiX, int dpiY);
// The nearest-star search radius for a field of view, in 16-bit angle units:
// a sixteenth of the field, at least 3.
uint16_t StarFinderRadius(float field);
// The squared screen distance that stands for "behind the viewer" and the
// starting best distance of the search.
constexpr int64_t kBehindDistance2 = 1000000000;

// A comet's or asteroid's topocentric position of date (AU) and its visual
// magnitude (-1000 when its elements give none) at the ephemeris' moment.
void CometApparent(const Data::Comet& comet, Calc::Ephemeris& eph, Calc::Vec3& position, float& magnitude);

// A comet or asteroid of the active files as the last paint saw it.
struct CometSpot {
    Data::AstroObjRef ref;  // kind 6, its position in its file's list, the file
    Calc::Vec3 position;    // topocentric equatorial of date, AU
    float magnitude = Calc::kMissing;
    uint8_t symbol = 0;     // its picture in the comet and asteroid icon strip
};

// --- the view -------------------------------------------------------------------------

class SkyMapView {
public:
    // The view reads moment and place from `ephemeris` (the program-wide one),
    // which must outlive it. It starts with centre (0, 0), field 45 degrees,
    // size 100 x 100, nothing selected, no picture, dirty.
    explicit SkyMapView(Calc::Ephemeris& ephemeris);
    virtual ~SkyMapView();
    SkyMapView(const SkyMapView&) = delete;
    SkyMapView& operator=(const SkyMapView&) = delete;

    Calc::Ephemeris& Ephemeris() const { return *ephemeris_; }

    // --- setters; each that changes the picture drops it and marks the view dirty ---
    void SetOptions(const SkyDisplaySettings& options);
    // Azimuth reduced into [0, 360), altitude clamped to [-90, 90].
    void SetCentre(float azimuthDeg, float altitudeDeg);
    // Degrees, at most 180; a value that is not a positive finite number is
    // ignored.
    void SetFieldOfView(float degrees);
    // Pixels; negative sizes count as 0.
    void SetSize(int32_t width, int32_t height);
    // magLimit = trunc(magnitude x 100).
    void SetMagnitudeLimit(float magnitude);
    // No repaint of its own: the caller invalidates.
    void SetSelected(const Data::AstroObjRef& ref);
    // The moment or the place changed: rotations and picture are stale.
    void Invalidate();

    const SkyDisplaySettings& Options() const { return options_; }
    float CentreAz() const { return centreAz_; }
    float CentreAlt() const { return centreAlt_; }
    float FieldOfView() const { return fieldOfView_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t MagLimit() const { return magLimit_; }  // hundredths of a magnitude
    const Data::AstroObjRef& Selected() const { return selected_; }
    bool Dirty() const { return dirty_; }
    int32_t CentreX() const { return cx_; }
    int32_t CentreY() const { return cy_; }
    int32_t Scale() const { return scale_; }  // the projection scale k, pixels

    // --- the picture -----------------------------------------------------------------
    MapPicture* Picture() const { return picture_.get(); }
    void SetPicture(std::unique_ptr<MapPicture> picture) { picture_ = std::move(picture); }
    void DropPicture() { picture_.reset(); }

    // --- rotations ---------------------------------------------------------------------
    // Rebuilds the five rotations when dirty (every projecting operation does
    // this first). Each rotation holds the view's right, depth and up axes,
    // expressed in its source frame, as columns 0, 1, 2.
    void UpdateRotations();
    // The float and Q15 rotation of a frame (rebuilt first when dirty).
    const Calc::Mat3& Rotation(Frame f);
    const Q15Mat& RotationQ15(Frame f);
    // The start of a paint: UpdateRotations, then the magnitude filter of
    // user objects, comets and asteroids and the star limit are taken for
    // this paint and the hit tests that follow it.
    void PreparePaint();
    // With comets shown, PreparePaint also computes every active comet's and
    // asteroid's position and magnitude anew (a file may have been reloaded
    // with as many entries as before); the painter draws from this list, and
    // taps test against it until the moment, the options or the files change.
    const std::vector<CometSpot>& CometSpots() const { return comets_; }
    // The faintest user object, comet or asteroid of the last paint.
    float PaintedMagFilter() const { return paintedMagFilter_; }
    int32_t PaintedStarLimit() const { return paintedStarLimit_; }  // hundredths

    // --- projection ----------------------------------------------------------------------
    // Forward projection in integers. With a rotation, v is a vector of its
    // source frame; without (nullptr), v is a view-frame vector (right,
    // depth, up). True when the point is in front of the viewer; `pt` is
    // then its pixel (possibly off the map). Behind the viewer, or too far
    // off the centre at the smallest fields, it gives false and (-20, -20).
    bool Project(const Q15Vec& v, const Q15Mat* rotation, ScreenPoint& pt);
    // Project for a float vector of a frame (any length; made unit first).
    bool ProjectDirection(Calc::Vec3 v, Frame f, ScreenPoint& pt);
    // Inverse projection in float: the view-frame unit vector (right, depth,
    // up) under pixel (x, y), or (0, 0, 0) outside the image of the front
    // hemisphere.
    Calc::Vec3 Unproject(int32_t x, int32_t y);
    // The direction under (x, y) in a frame (the zero vector outside).
    Calc::Vec3 UnprojectTo(Frame f, int32_t x, int32_t y);

    // 0 <= x < width and 0 <= y < height.
    bool OnMap(const ScreenPoint& pt) const;
    // The map widened by a quarter of its size on each side.
    bool NearMap(const ScreenPoint& pt) const;

    // The pixel of an object; true only when it is in front and on the map.
    bool ScreenPositionOf(const Data::AstroObjRef& ref, ScreenPoint& pt);
    // Whether an equatorial-of-date vector projects onto the map.
    bool IsOnScreen(Calc::Vec3 equatorial);
    // Centres the map on an equatorial-of-date direction.
    void CentreOnEquatorial(Calc::Vec3 equatorial);

    // --- view operations ---------------------------------------------------------------
    PanRate PanRates(int32_t x, int32_t y);
    // Applies a stylus motion from (x0, y0) to (x, y) with the rates at (x, y).
    void PanBy(int32_t x0, int32_t y0, int32_t x, int32_t y);
    // Sets the field to `field` keeping the sky point under (x, y) in place.
    void ZoomAbout(float field, int32_t x, int32_t y);
    // The longitude and latitude ranges of a frame that can be on the map.
    VisibleRange VisibleWindow(Frame f);

    // --- hit testing -------------------------------------------------------------------
    // The tap radius in pixels (HitRadiusForDpi of the screen, read once by
    // the window half; 6 until set).
    void SetHitRadius(int pixels) { hitRadius_ = pixels > 0 ? pixels : 1; }
    int HitRadius() const { return hitRadius_; }
    // The object under a tap at (x, y): bodies first (if shown), then user
    // objects (if shown), then comets and asteroids (if shown) and the
    // nearest star; kind none when nothing is within the tap radius.
    Data::AstroObjRef HitTest(int32_t x, int32_t y);

private:
    void Changed();  // dirty and picture dropped
    // Computes the comet list anew when it is missing or the active comet
    // files have changed since.
    void TakeComets();
    void ComputeScale();
    // The squared screen distance of a projected vector from (x, y), or
    // kBehindDistance2 when it is behind the viewer.
    int64_t Distance2(const Q15Vec& v, Frame f, int32_t x, int32_t y);
    // Azimuth and altitude (degrees) of the sky point under (x, y); false
    // outside the image of the front hemisphere.
    bool HorizontalUnder(int32_t x, int32_t y, float& azimuthDeg, float& altitudeDeg);

    Calc::Ephemeris* ephemeris_;
    std::unique_ptr<MapPicture> picture_;
    SkyDisplaySettings options_;
    float centreAz_ = 0;
    float centreAlt_ = 0;
    float fieldOfView_ = 45;
    int32_t width_ = 100, height_ = 100;
    int32_t magLimit_ = 0;
    Data::AstroObjRef selected_;
    bool dirty_ = true;
    int32_t cx_ = 50, cy_ = 50;
    int32_t scale_ = 0;
    Calc::Mat3 rot_[kFrameCount];
    Q15Mat rotQ15_[kFrameCount];
    float paintedMagFilter_;
    int32_t paintedStarLimit_ = 0;
    std::vector<CometSpot> comets_;
    bool cometsTaken_ = false;
    std::vector<std::pair<std::u16string, size_t>> cometFiles_;  // name and length of each file taken
    int hitRadius_ = 6;
};

}  // namespace SkyMap
}  // namespace UI
