#pragma once

#include "config/InterfaceKind.h"

#include <QString>

// The key vocabulary of Orvantis.ini, shared by the reader and the writer so
// that a name is spelled in one place only.
enum class ConfigurationKey {
    // One per interface that has the setting.
    Lpt, Port, Baud, Stop, Step, AzOffset, Calibration, Zero, ReadPosition,
    // One per favourite, 1..6.
    FavouriteAzimuth, FavouriteLabel,
    // Single keys.
    Language, Auto, Server, PortKoru, AntKoru, Ant, ElGs232, TkbHost, Movenow,
    AzimutParking, Parking, Jingle, WTop, WLeft, WWidth, WHeight, WATop, WALeft, WAngle, Angle,
    Rotctld, RotctldPort, RotctldAddress, HamlibModel, HamlibAddress,
};

inline constexpr ConfigurationKey FirstSingleKey = ConfigurationKey::Language;
inline constexpr ConfigurationKey LastSingleKey = ConfigurationKey::HamlibAddress;

// Key names without the "=". Each is empty when the key does not exist in
// that form: "STOP_TRAKBOX", "PORT_KCT" and "LPT_GS232" are not keys.
QString keyName(ConfigurationKey key, InterfaceKind kind);
QString keyName(ConfigurationKey key, int favourite);
QString keyName(ConfigurationKey key);
