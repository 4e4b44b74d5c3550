#pragma once

// Where AUTO-mode azimuths come from: nothing, one of the two D-Bus azimuth
// servers, or the KORU logger's UDP rotor messages.
enum class AzimuthSource { None, Geomundo, BeamDx, Koru };
