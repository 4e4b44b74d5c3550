#pragma once

// A place in geodetic degrees on WGS84: latitude north positive, longitude east
// positive (the country file's west-positive longitudes are turned round on reading).
struct GeoPoint {
    double latitude = 0;
    double longitude = 0;
};

// Finite, latitude within ±90 and longitude within ±180.
bool isValidPoint(const GeoPoint &point);
