#pragma once

#include "geo/GeoPoint.h"

// Bearings and distances from the station to a place on the WGS84 ellipsoid,
// through GeographicLib's geodesics. Azimuths are degrees clockwise from true
// north in [0, 360); distances are kilometres.
namespace Geodesy {

struct Paths {
    double shortAzimuth = 0;
    double shortDistance = 0;
    double longAzimuth = 0;
    double longDistance = 0;
};

// Both points must be valid (isValidPoint). The short path is the shortest
// geodesic. The long path leaves in the opposite direction, and its length is the
// circumference of the great ellipse (the ellipsoid cut by the plane through its
// centre, the home and the short path's first direction) less the short path:
// exact along the equator and the meridians, within a few kilometres elsewhere,
// which is far below what a beam's width resolves.
//
// Antipodes: GeographicLib picks one of the equally short paths (over the pole for
// two points on the equator). Home on a pole: every direction is south (north);
// the azimuth is then taken from the meridian of the home's longitude, as
// GeographicLib does, so give the pole the longitude the user thinks of as "0°".
// The same place twice: distance 0, azimuth 0, the long path right round.
Paths solve(const GeoPoint &home, const GeoPoint &place);

// The azimuth the other way round.
double longPathAzimuth(double shortAzimuth);

// The long path when only the short distance is known (no direction): the
// circumference of the sphere of WGS84's mean radius (2a + b) / 3 less the short
// path. Hamlib's rotctld uses a sphere of 40 032 km for the same question.
double meanCircumference();
double longPathDistance(double shortDistance);

} // namespace Geodesy
