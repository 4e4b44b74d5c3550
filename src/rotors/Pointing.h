#pragma once

#include <optional>

// Where a rotator is asked to point. Elevation is absent for a rotator that
// turns one axis, so a second axis is data carried along, not a new signature.
struct Pointing {
    double azimuth = 0;
    std::optional<double> elevation;
    friend bool operator==(const Pointing &, const Pointing &) = default;
};
