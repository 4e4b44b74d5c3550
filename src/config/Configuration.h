#pragma once

#include "config/ExtensionSettings.h"
#include "config/InterfaceKind.h"

#include <QString>

#include <array>
#include <optional>

// Settings of one rotator interface. Not every interface uses every field: the
// keys each one has in Orvantis.ini decide which of them are read and written.
struct InterfaceSettings {
    int stopSide = 0;        // STOP_: 0 north ("N"), 1 south ("S")
    int minimumStep = 1;     // STEP_
    int azimuthOffset = 0;   // AZOFFSET_
    int port = -1;           // LPT_: index 0..2; PORT_: COM number - 1; -1 none
    QString baudText = QStringLiteral("4800"); // BAUD_, exactly as read
    int baudIndex = 5;       // into BaudRateTable; starts at 4800 to agree with the text
    double calibration = 0;  // CALAZ_ (parallel boxes only)
    double zero = 0;         // ZERO_ (parallel boxes only)
    // LPT_ exactly as read when parallel ports cannot be used in this run: the
    // choice was only unavailable, so it is written back as it was.
    std::optional<QString> unusableLptText;
};

// The KORU listener's port is a base plus an antenna number.
inline constexpr int DefaultKoruPort = 12040;
inline constexpr int DefaultKoruAntenna = 16;

struct Favourite {
    int azimuth = 0;
    QString label;
};

inline constexpr int FavouriteCount = 6;

// The one configuration record, owned by the station for the whole run.
struct Configuration {
    Configuration();

    InterfaceSettings &at(InterfaceKind kind) { return interfaces[ordinal(kind)]; }
    const InterfaceSettings &at(InterfaceKind kind) const { return interfaces[ordinal(kind)]; }

    std::array<InterfaceSettings, InterfaceKindCount> interfaces;

    InterfaceKind interfaceKind = InterfaceKind::None; // ANT
    int parkingInterface = 0;                          // PARKING: 0 none, else ordinal + 1
    double parkingAzimuth = 0;                         // AZIMUT_PARKING
    bool jingleEnabled = false;                        // JINGLE

    // KORU listener: the text as read (shown and written back by the setup dialog)
    // and the integer that forms the listening port.
    QString koruPortText = QStringLiteral("12040");
    int koruPort = 0;
    QString koruAntennaText = QStringLiteral("16");
    int koruAntenna = 0;

    bool gs232Elevation = false; // EL_GS232
    bool trakBoxHostMode = false; // TKB_HOST
    bool proSisTelCpmOff = false; // the setup dialog's "CPM off" box; never stored
    QString movenowDirectory = QStringLiteral("c:\\radio\\kct\\"); // MOVENOW

    std::array<Favourite, FavouriteCount> favourites;

    // Angle dialog placement and the azimuth to restore at first activation.
    int angleTop = 0;    // WATOP
    int angleLeft = 0;   // WALEFT
    int angleShown = 0;  // WANGLE
    bool restoreAngle = false;  // a usable ANGLE line was read
    QString restoreAngleText;   // ANGLE

    ExtensionSettings extensions;

    // The UDP port: base plus antenna. A field that is absent or unusable (a
    // hand-edited "12x40", 0) counts as its default, and a sum beyond the port
    // range as the default port, so the listener is where the dialog, the help
    // and the logger expect it, never on a port the system picks at random.
    int koruListeningPort() const
    {
        const qint64 base = koruPort >= 1 ? koruPort : DefaultKoruPort;
        const qint64 antenna = koruAntenna >= 1 ? koruAntenna : DefaultKoruAntenna;
        const qint64 port = base + antenna;
        return port <= 65535 ? int(port) : DefaultKoruPort + DefaultKoruAntenna;
    }
};

inline Configuration::Configuration()
{
    at(InterfaceKind::PourSat).calibration = 0.5138901;
    at(InterfaceKind::FodTrack).calibration = 0.711;
    // No speed of its own: the model's default rate until the user picks one.
    at(InterfaceKind::Hamlib).baudText.clear();
    at(InterfaceKind::Hamlib).baudIndex = -1;
    for (int n = 0; n < FavouriteCount; ++n)
        favourites[n].label = QStringLiteral("Fav.%1").arg(n + 1);
}
