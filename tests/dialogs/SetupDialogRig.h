#pragma once

#include "dialogs/RadioGroup.h"
#include "dialogs/SetupDialog.h"
#include "host/ParallelPortDiscovery.h"
#include "rotors/CommandSequencer.h"
#include "rotors/RecordingPortIo.h"
#include "rotors/SerialRotors.h"
#include "sources/UdpListener.h"
#include "support/PseudoTerminal.h"
#include "support/RecordingFeedback.h"

#include <QAbstractButton>

// The setup dialog over its own record and choices, with a host that records
// what the dialog asks of the main window.
class FakeHost final : public SetupDialogHost {
public:
    void stopRotator() override { ++stops; }
    void sendTestAzimuth(int azimuth) override
    {
        forcedSend = true;
        testAzimuths << azimuth;
    }
    void lowerForcedSend() override { forcedSend = false; }
    void rebuildCaption() override { ++captions; }
    bool frenchChecked() const override { return french; }
    bool koruServerChecked() const override { return false; }
    void refreshDefaultPortLabel() override { ++labelRefreshes; }
    void applyRotctldSetting() override { ++rotctldApplied; }
    // Lists the ports again as the main window would: the pinned name now opens the target.
    bool pinComPort(const QString &comName, const QString &target, QString *error) override
    {
        pins << comName + QStringLiteral(" -> ") + target;
        if (!pinError.isEmpty()) {
            *error = pinError;
            return false;
        }
        for (ComPort &port : *ports) {
            if (port.name == comName)
                port.devicePath = target;
        }
        return true;
    }
    void activateKoruListener() override {}

    int stops = 0;
    int rotctldApplied = 0;
    int captions = 0;
    int labelRefreshes = 0;
    bool forcedSend = false;
    bool french = false;
    QList<int> testAzimuths;
    QList<ComPort> *ports = nullptr;
    QStringList pins;
    QString pinError;
};

// The dialog over its own record and choices; COM3 is a pseudo-terminal.
struct DialogRig {
    DialogRig()
    {
        choices.comPorts = {{QStringLiteral("COM3"), terminal.slavePath(), {}, {}},
                            {QStringLiteral("COM9"), QStringLiteral("/nonexistent/ttyUSB9"), {}, {}}};
        parallel.PortDriverPresent = true;
        parallel.pourSatAddresses = {0x378, 0, 0};
        parallel.lptPorts[0].name = QStringLiteral("LPT1");
        host.ports = &choices.comPorts;
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

    PseudoTerminal terminal;
    Configuration config;
    SetupChoices choices;
    CommandState state;
    RecordingFeedback feedback;
    CommandSequencer sequencer;
    SerialRotors serial {SerialRotorsContext {state, config, feedback,
                                              [this](InterfaceKind kind) { return choices.selectedComName(kind); },
                                              [this](const QString &name) {
                                                  for (const auto &port : choices.comPorts)
                                                      if (port.name == name)
                                                          return port.devicePath;
                                                  return QString();
                                              },
                                              [](const QString &) {},
                                              [this] { return host.french; }},
                         sequencer};
    RecordingPortIo portIo;
    ParallelPortStartup parallel;
    UdpListener udp;
    FakeHost host;
    SetupDialog dialog {SetupDialogContext {config, choices, state, feedback, serial, portIo, parallel, udp, host}};
};

