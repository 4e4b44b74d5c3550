#pragma once

#include "config/Configuration.h"
#include "config/InterfaceKind.h"
#include "config/Language.h"
#include "rotors/CommandSequencer.h"
#include "rotors/CommandState.h"
#include "rotors/SerialChannel.h"
#include "rotors/SerialFailure.h"
#include "rotors/SerialProtocol.h"
#include "ui/NoticeOnce.h"
#include "ui/UserFeedback.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>

struct SerialRotorsContext {
    CommandState &state;
    Configuration &config;
    UserFeedback &feedback;
    // The COM name chosen in the interface's port list, e.g. "COM3"; empty for none.
    std::function<QString(InterfaceKind)> selectedPortName;
    // The device behind a COM name; empty when it is unknown.
    std::function<QString(const QString &comName)> devicePath;
    // The hidden diagnostic label that shows the last command.
    std::function<void(const QString &)> setInterfaceLabel;
    // The language of the notices about a port that fails.
    std::function<Language()> language;
    // What a channel reads with when it opens; none keeps it write-only.
    std::function<SerialChannel::Reader(InterfaceKind)> positionReader = {};
};

// The seven serial controllers: their channels, and the GO and STOP operations
// that turn the command state into bytes on those channels.
class SerialRotors {
public:
    SerialRotors(SerialRotorsContext context, CommandSequencer &sequencer);
    SerialRotors(const SerialRotors &) = delete;
    SerialRotors &operator=(const SerialRotors &) = delete;

    void GoGs232() { go(InterfaceKind::Gs232); }
    void GoEasyComm() { go(InterfaceKind::EasyComm); }
    void GoTrakBox() { go(InterfaceKind::TrakBox); }
    void GoProSisTel() { go(InterfaceKind::ProSisTel); }
    void GoDcu1() { go(InterfaceKind::Dcu1); }
    void GoM2Orion() { go(InterfaceKind::M2Orion); }
    void GoEgis() { go(InterfaceKind::Egis); }

    void StopGs232() { stop(InterfaceKind::Gs232); }
    void StopEasyComm() { stop(InterfaceKind::EasyComm); }
    void StopDcu1() { stop(InterfaceKind::Dcu1); }
    void StopProSisTel() { stop(InterfaceKind::ProSisTel); }
    void StopTrakBox() { stop(InterfaceKind::TrakBox); }
    void StopM2Orion() { stop(InterfaceKind::M2Orion); }
    void StopEgis() { stop(InterfaceKind::Egis); }

    // How long a port stays open after a STOP for the controller's last answer.
    static constexpr int LastAnswerMs = 500;

    // Opens the channel on the port chosen for kind unless it is open already.
    bool EnsurePortOpen(InterfaceKind kind);
    // Opens it as a GO would (a ProSisTel controller is told its mode), for the
    // position to be asked; false when it does not open.
    bool openForReading(InterfaceKind kind);
    void ClosePort(InterfaceKind kind);
    // The setup menu's Init: every channel closed, in the order it has always used.
    void closeAll();

    // Tries a port picked in the setup dialog and stores its index (or -1 when it
    // cannot be opened) as the interface's port. The caller clears the list's
    // selection on false and rebuilds the caption.
    bool ProbePort(InterfaceKind kind, const QString &comName);
    // Closes the channel and sets the BaudRateTable rate at index for the next open.
    void SetChannelBaud(InterfaceKind kind, int index);

    bool isOpen(InterfaceKind kind) const;
    // The channel of a serial kind; null for the others.
    SerialChannel *channel(InterfaceKind kind) const { return find(kind); }
    QString channelPortName(InterfaceKind kind) const;

    // The serial part of the main window's closing: the selected controller gets
    // its closing text (unless it has just been parked) and its channel closes.
    // parkingInterface is 0 for none, otherwise the parked kind's ordinal + 1.
    void closeForShutdown(int parkingInterface, InterfaceKind selected);

    // The setup dialog's closing: every open channel closes, the selected
    // controller's first receiving its close-out text.
    void closeOutForSetup(InterfaceKind selected);

private:
    enum class OpenResult { AlreadyOpen, Opened, Failed, Interrupted };
    enum class Role { Go, Other };

    void go(InterfaceKind kind);
    void stop(InterfaceKind kind);
    OpenResult ensureOpen(InterfaceKind kind);
    OpenResult openGreeted(InterfaceKind kind, const CommandSequencer::Sequence &sequence, Role role);
    bool openOn(InterfaceKind kind, const QString &comName);
    // Tells the user, once per port and reason, why the port could not be opened
    // (no port chosen, when comName is empty) or written.
    void reportOpenFailure(InterfaceKind kind, const QString &comName);
    void reportWriteFailure(InterfaceKind kind);
    void tell(const QString &key, const SerialFailure &failure);
    // Writes a command with its pauses. False when the sequence must end: a STOP
    // interrupted it, or a write failed (then reported and the channel closed).
    bool run(InterfaceKind kind, const SerialCommand &command, const CommandSequencer::Sequence &sequence,
             Role role);
    void showLabel(InterfaceKind kind, const SerialCommand &command);
    // The channel of a serial kind; null for the others.
    SerialChannel *find(InterfaceKind kind) const;

    SerialRotorsContext m_context;
    CommandSequencer &m_sequencer;
    std::array<std::unique_ptr<SerialChannel>, InterfaceKindCount> m_channels;
    NoticeOnce m_notices;
};
