#pragma once

// An azimuth an outside source may ask for: whole degrees 0..360 (the azimuth
// box turns 360 into 0). Anything else is ignored whole, never wrapped onto
// some other bearing.
constexpr bool isSourceAzimuth(int azimuth)
{
    return azimuth >= 0 && azimuth <= 360;
}
