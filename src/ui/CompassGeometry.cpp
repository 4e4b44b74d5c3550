#include "ui/CompassGeometry.h"

#include <cmath>

int roundHalfToEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return int(below) + 1;
    if (fraction < 0.5)
        return int(below);
    return std::fmod(below, 2.0) == 0.0 ? int(below) : int(below) + 1;
}

QPoint needleEnd(int azimuth)
{
    const double r = azimuth * 3.14159 / 180.0;
    return QPoint(roundHalfToEven(CompassCentre + NeedleLength * std::sin(r)),
                  roundHalfToEven(CompassCentre - NeedleLength * std::cos(r)));
}
