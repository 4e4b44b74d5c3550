#pragma once

#include "config/Configuration.h"
#include "config/SetupChoices.h"

struct CommandState;
class PortIo;
class SerialRotors;
class UdpListener;
class UserFeedback;
struct ParallelPortStartup;

// What the setup dialog needs of the main window, which implements it.
class SetupDialogHost {
public:
    virtual ~SetupDialogHost() = default;
    // STOP of every interface, as the STOP button does.
    virtual void stopRotator() = 0;
    // Raises the forced-send request and writes the azimuth into the azimuth box,
    // whose change handling then sends it even with AUTO off.
    virtual void sendTestAzimuth(int azimuth) = 0;
    virtual void lowerForcedSend() = 0;
    virtual void rebuildCaption() = 0;
    virtual bool frenchChecked() const = 0;
    virtual bool koruServerChecked() const = 0;
    // Binds the KORU listener on its port; a port that cannot be bound is reported.
    virtual void activateKoruListener() = 0;
    // Label1 follows the listener's port.
    virtual void refreshDefaultPortLabel() = 0;
    // The rotctld settings changed: serve, stop or move to the new port.
    virtual void applyRotctldSetting() = 0;
    // Makes the COM name a dosdevices link to target and lists the ports again.
    // False, with the system's reason in *error, when the link cannot be made.
    virtual bool pinComPort(const QString &comName, const QString &target, QString *error) = 0;
};

// The state the dialog reads and writes, all owned by the main window.
struct SetupDialogContext {
    Configuration &config;
    SetupChoices &choices;
    CommandState &state;
    UserFeedback &feedback;
    SerialRotors &serial;
    PortIo &portIo;
    const ParallelPortStartup &parallel;
    UdpListener &koruListener;
    SetupDialogHost &host;
};
