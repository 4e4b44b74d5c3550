#pragma once

#include <QPoint>

// The compass is drawn in a fixed 68x68 logical square, north up, centre (34,34).
inline constexpr int CompassSize = 68;
inline constexpr int CompassCentre = 34;
inline constexpr int NeedleLength = 22;

// Where the needle for a whole-degree azimuth ends. The angle uses 3.14159 rather
// than full-precision pi on purpose, so the end points match the long-standing ones.
QPoint needleEnd(int azimuth);
