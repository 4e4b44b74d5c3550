#include "config/ConfigurationKey.h"

#include "config/Configuration.h"

namespace {

bool hasKey(ConfigurationKey key, InterfaceKind kind)
{
    switch (key) {
    case ConfigurationKey::Lpt:
    case ConfigurationKey::Calibration:
    case ConfigurationKey::Zero:
        return isParallel(kind);
    case ConfigurationKey::Port:
    case ConfigurationKey::ReadPosition:
        return isSerial(kind) || kind == InterfaceKind::Hamlib;
    case ConfigurationKey::Baud:
        return kind == InterfaceKind::Gs232 || kind == InterfaceKind::EasyComm || kind == InterfaceKind::Dcu1
            || kind == InterfaceKind::TrakBox || kind == InterfaceKind::Hamlib;
    case ConfigurationKey::Stop:
        return kind != InterfaceKind::TrakBox;
    case ConfigurationKey::Step:
        return true;
    case ConfigurationKey::AzOffset:
        return isSerial(kind) || kind == InterfaceKind::Kct || kind == InterfaceKind::Hamlib;
    default:
        return false;
    }
}

QString interfacePrefix(ConfigurationKey key)
{
    switch (key) {
    case ConfigurationKey::Lpt: return QStringLiteral("LPT_");
    case ConfigurationKey::Port: return QStringLiteral("PORT_");
    case ConfigurationKey::Baud: return QStringLiteral("BAUD_");
    case ConfigurationKey::Stop: return QStringLiteral("STOP_");
    case ConfigurationKey::Step: return QStringLiteral("STEP_");
    case ConfigurationKey::AzOffset: return QStringLiteral("AZOFFSET_");
    case ConfigurationKey::Calibration: return QStringLiteral("CALAZ_");
    case ConfigurationKey::Zero: return QStringLiteral("ZERO_");
    case ConfigurationKey::ReadPosition: return QStringLiteral("READPOS_");
    default: return QString();
    }
}

// Three offset keys carry a short name of their interface.
QString interfaceSuffix(ConfigurationKey key, InterfaceKind kind)
{
    if (key == ConfigurationKey::AzOffset) {
        switch (kind) {
        case InterfaceKind::Gs232: return QStringLiteral("GS");
        case InterfaceKind::EasyComm: return QStringLiteral("EASY");
        case InterfaceKind::TrakBox: return QStringLiteral("TKB");
        default: break;
        }
    }
    return iniValue(kind);
}

} // namespace

QString keyName(ConfigurationKey key, InterfaceKind kind)
{
    if (kind == InterfaceKind::None || !hasKey(key, kind))
        return QString();
    return interfacePrefix(key) + interfaceSuffix(key, kind);
}

QString keyName(ConfigurationKey key, int favourite)
{
    if (favourite < 1 || favourite > FavouriteCount)
        return QString();
    if (key == ConfigurationKey::FavouriteAzimuth)
        return QStringLiteral("FAV%1AZ").arg(favourite);
    if (key == ConfigurationKey::FavouriteLabel)
        return QStringLiteral("FAV%1TXT").arg(favourite);
    return QString();
}

QString keyName(ConfigurationKey key)
{
    switch (key) {
    case ConfigurationKey::Language: return QStringLiteral("LANGUAGE");
    case ConfigurationKey::Auto: return QStringLiteral("AUTO");
    case ConfigurationKey::Server: return QStringLiteral("SERVER");
    case ConfigurationKey::PortKoru: return QStringLiteral("PORTKORU");
    case ConfigurationKey::AntKoru: return QStringLiteral("ANTKORU");
    case ConfigurationKey::Ant: return QStringLiteral("ANT");
    case ConfigurationKey::ElGs232: return QStringLiteral("EL_GS232");
    case ConfigurationKey::TkbHost: return QStringLiteral("TKB_HOST");
    case ConfigurationKey::Movenow: return QStringLiteral("MOVENOW");
    case ConfigurationKey::AzimutParking: return QStringLiteral("AZIMUT_PARKING");
    case ConfigurationKey::Parking: return QStringLiteral("PARKING");
    case ConfigurationKey::Jingle: return QStringLiteral("JINGLE");
    case ConfigurationKey::WTop: return QStringLiteral("WTOP");
    case ConfigurationKey::WLeft: return QStringLiteral("WLEFT");
    case ConfigurationKey::WWidth: return QStringLiteral("WWIDTH");
    case ConfigurationKey::WHeight: return QStringLiteral("WHEIGHT");
    case ConfigurationKey::WATop: return QStringLiteral("WATOP");
    case ConfigurationKey::WALeft: return QStringLiteral("WALEFT");
    case ConfigurationKey::WAngle: return QStringLiteral("WANGLE");
    case ConfigurationKey::Angle: return QStringLiteral("ANGLE");
    case ConfigurationKey::Rotctld: return QStringLiteral("ROTCTLD");
    case ConfigurationKey::RotctldPort: return QStringLiteral("ROTCTLD_PORT");
    case ConfigurationKey::RotctldAddress: return QStringLiteral("ROTCTLD_ADDRESS");
    case ConfigurationKey::HamlibModel: return QStringLiteral("HAMLIB_MODEL");
    case ConfigurationKey::HamlibAddress: return QStringLiteral("HAMLIB_ADDRESS");
    default: return QString();
    }
}
