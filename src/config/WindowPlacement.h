#pragma once

#include <QString>

#include <optional>

// Where the windows stand, as Orvantis.ini keeps it. The station holds what was
// read; a view that knows better (a window shown on a platform that reports
// places) replaces it before the settings are written.
struct WindowPlacement {
    std::optional<int> left, top, width, height; // WLEFT, WTOP, WWIDTH, WHEIGHT
    int angleLeft = 0, angleTop = 0;             // WALEFT, WATOP
    bool angleVisible = false;                   // WANGLE
    QString angleText = QStringLiteral("0");     // ANGLE
};
