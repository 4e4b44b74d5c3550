#include "ui/CompassGeometry.h"

#include "config/NumberText.h"

#include <cmath>

QPoint needleEnd(int azimuth)
{
    const double r = azimuth * 3.14159 / 180.0;
    return QPoint(int(NumberText::roundHalfEven(CompassCentre + NeedleLength * std::sin(r))),
                  int(NumberText::roundHalfEven(CompassCentre - NeedleLength * std::cos(r))));
}
