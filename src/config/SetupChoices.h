#pragma once

#include "config/ComPort.h"
#include "config/InterfaceKind.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The choices the setup dialog shows and the writer saves: one list of present
// COM ports shown for seven interfaces (each with its own selection), the two
// LPT lists, the KORU fields and the check boxes that are not record fields.
struct SetupChoices {
    using ComPortEntry = ComPort;

    QList<ComPortEntry> comPorts; // sorted as text
    std::array<int, InterfaceKindCount> comSelection; // item index per serial kind, -1 none
    // A saved port that was absent at start (an unplugged adapter): kept so the
    // file does not forget it, until the user picks another port.
    std::array<bool, InterfaceKindCount> comAbsentAtStart {};
    // The saved interface, when it was refused at start only because its port was absent.
    std::optional<InterfaceKind> interfaceAbsentAtStart;

    QStringList pourSatLptItems;  // "LPT1 [0378h]" or "          [0000h]"
    QStringList fodTrackLptItems;
    int pourSatLptSelection = -1;
    int fodTrackLptSelection = -1;

    QString koruPortText = QStringLiteral("12040");   // EditPortKORU
    QString koruAntennaText = QStringLiteral("16");   // EditAntKORU

    SetupChoices() { comSelection.fill(-1); }

    QString selectedComName(InterfaceKind kind) const
    {
        const int index = comSelection[ordinal(kind)];
        return index >= 0 && index < comPorts.size() ? comPorts[index].name : QString();
    }
};
