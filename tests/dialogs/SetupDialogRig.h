#pragma once

#include "core/StationRig.h"
#include "dialogs/RadioGroup.h"
#include "dialogs/SetupDialog.h"

#include <QAbstractButton>
#include <QSignalSpy>

// The dialog over a station in a temporary folder; COM3 is a pseudo-terminal.
struct DialogRig {
    explicit DialogRig(bool withLpt1 = true) : stationRig({}, {QStringLiteral("com3")}, withLpt1)
    {
        // As after the first activation: the LPT lists filled, no port chosen.
        stationRig.startStation();
        choices.comPorts = {{QStringLiteral("COM3"), terminal.slavePath(), {}, {}},
                            {QStringLiteral("COM9"), QStringLiteral("/nonexistent/ttyUSB9"), {}, {}}};
    }

    template <typename T>
    T *find(const QString &name)
    {
        T *widget = dialog.findChild<T *>(name);
        if (!widget)
            qFatal("no widget %s", qPrintable(name));
        return widget;
    }
    void choose(InterfaceKind kind) { find<RadioGroup>(QStringLiteral("RadioGroupRotor"))->item(ordinal(kind))->click(); }

    StationRig stationRig;
    Station &station = stationRig.station();
    PseudoTerminal &terminal = stationRig.terminal(QStringLiteral("com3"));
    Configuration &config = station.configuration();
    SetupChoices &choices = station.setupChoices();
    CommandState &state = station.commandState();
    RecordingFeedback &feedback = stationRig.feedback();
    QSignalSpy captions {&station, &Station::captionChanged};
    RecordingRotors rotors {station};
    SetupDialog dialog {SetupDialogContext(station)};
};

