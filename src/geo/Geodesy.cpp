#include "geo/Geodesy.h"

#include <GeographicLib/Constants.hpp>
#include <GeographicLib/EllipticFunction.hpp>
#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/Math.hpp>

#include <algorithm>
#include <cmath>

namespace Geodesy {

namespace {

constexpr double MetresPerKilometre = 1000;

double normalisedAzimuth(double degrees)
{
    double result = std::fmod(degrees, 360.0);
    if (result < 0)
        result += 360;
    // fmod of a tiny negative number plus 360 rounds to 360 itself.
    return result >= 360 ? 0 : result;
}

// The circumference of the great ellipse through `home` leaving it at `azimuth`.
// Its plane meets the equator along a diameter, so one semi-axis is the equatorial
// radius a; the other, where the plane climbs highest, follows from the plane's
// tilt against the equator.
double greatEllipseCircumference(const GeoPoint &home, double azimuth)
{
    const GeographicLib::Geodesic &earth = GeographicLib::Geodesic::WGS84();
    const double a = earth.EquatorialRadius();
    const double b = a * (1 - earth.Flattening());
    double sinLat, cosLat, sinLon, cosLon, sinAz, cosAz;
    GeographicLib::Math::sincosd(home.latitude, sinLat, cosLat);
    GeographicLib::Math::sincosd(home.longitude, sinLon, cosLon);
    GeographicLib::Math::sincosd(azimuth, sinAz, cosAz);
    // The plane holds the home's direction from the centre (its geocentric
    // latitude is enough for the plane) and the path's first direction.
    const double geocentric = std::atan2(b * b * sinLat, a * a * cosLat);
    const double p[3] = {std::cos(geocentric) * cosLon, std::cos(geocentric) * sinLon, std::sin(geocentric)};
    const double north[3] = {-sinLat * cosLon, -sinLat * sinLon, cosLat};
    const double east[3] = {-sinLon, cosLon, 0};
    double t[3];
    for (int i = 0; i < 3; ++i)
        t[i] = cosAz * north[i] + sinAz * east[i];
    const double n[3] = {p[1] * t[2] - p[2] * t[1], p[2] * t[0] - p[0] * t[2], p[0] * t[1] - p[1] * t[0]};
    const double length = std::hypot(n[0], n[1], n[2]);
    const double cosTilt = std::abs(n[2]) / length;
    const double sinTilt2 = std::max(0.0, 1 - cosTilt * cosTilt);
    const double minor = 1 / std::sqrt(cosTilt * cosTilt / (a * a) + sinTilt2 / (b * b));
    const double k2 = std::max(0.0, 1 - (minor / a) * (minor / a));
    return 4 * a * GeographicLib::EllipticFunction(k2).E();
}

} // namespace

double longPathAzimuth(double shortAzimuth)
{
    return normalisedAzimuth(shortAzimuth + 180);
}

Paths solve(const GeoPoint &home, const GeoPoint &place)
{
    const GeographicLib::Geodesic &earth = GeographicLib::Geodesic::WGS84();
    double metres = 0, azimuth1 = 0, azimuth2 = 0;
    earth.Inverse(home.latitude, home.longitude, place.latitude, place.longitude, metres, azimuth1, azimuth2);
    // Any direction reaches the place itself; GeographicLib says south, north
    // reads less like a fault.
    if (metres == 0)
        azimuth1 = 0;
    Paths paths;
    paths.shortAzimuth = normalisedAzimuth(azimuth1);
    paths.shortDistance = metres / MetresPerKilometre;
    paths.longAzimuth = longPathAzimuth(paths.shortAzimuth);
    const double around = greatEllipseCircumference(home, azimuth1) / MetresPerKilometre;
    // Near the antipode the two estimates can cross by a few metres; the long path
    // is never the shorter one.
    paths.longDistance = std::max(around - paths.shortDistance, paths.shortDistance);
    return paths;
}

double meanCircumference()
{
    const GeographicLib::Geodesic &earth = GeographicLib::Geodesic::WGS84();
    const double a = earth.EquatorialRadius();
    const double b = a * (1 - earth.Flattening());
    return 2 * GeographicLib::Math::pi() * (2 * a + b) / 3 / MetresPerKilometre;
}

double longPathDistance(double shortDistance)
{
    return meanCircumference() - shortDistance;
}

} // namespace Geodesy
