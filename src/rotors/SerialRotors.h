#pragma once

#include "config/Configuration.h"
#include "config/InterfaceKind.h"
#include "config/Language.h"
#include "rotors/CommandSequencer.h"
#include "rotors/CommandState.h"
#include "rotors/RotorOutcome.h"
#include "rotors/SerialChannel.h"
#include "rotors/SerialFailure.h"
#include "rotors/SerialProtocol.h"
#include "core/NoticeOnce.h"
#include "core/UserFeedback.h"

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
// that turn the command state into paced byte sequences on those channels. Each
// operation returns at once and reports its outcome when it is known.
class SerialRotors {
public:
    SerialRotors(SerialRotorsContext context, CommandSequencer &sequencer);
    SerialRotors(const SerialRotors &) = delete;
    SerialRotors &operator=(const SerialRotors &) = delete;

    void GoGs232(OutcomeReport report) { go(InterfaceKind::Gs232, std::move(report)); }
    void GoEasyComm(OutcomeReport report) { go(InterfaceKind::EasyComm, std::move(report)); }
    void GoTrakBox(OutcomeReport report) { go(InterfaceKind::TrakBox, std::move(report)); }
    void GoProSisTel(OutcomeReport report) { go(InterfaceKind::ProSisTel, std::move(report)); }
    void GoDcu1(OutcomeReport report) { go(InterfaceKind::Dcu1, std::move(report)); }
    void GoM2Orion(OutcomeReport report) { go(InterfaceKind::M2Orion, std::move(report)); }
    void GoEgis(OutcomeReport report) { go(InterfaceKind::Egis, std::move(report)); }

    void StopGs232(OutcomeReport report) { stop(InterfaceKind::Gs232, std::move(report)); }
    void StopEasyComm(OutcomeReport report) { stop(InterfaceKind::EasyComm, std::move(report)); }
    void StopDcu1(OutcomeReport report) { stop(InterfaceKind::Dcu1, std::move(report)); }
    void StopProSisTel(OutcomeReport report) { stop(InterfaceKind::ProSisTel, std::move(report)); }
    void StopTrakBox(OutcomeReport report) { stop(InterfaceKind::TrakBox, std::move(report)); }
    void StopM2Orion(OutcomeReport report) { stop(InterfaceKind::M2Orion, std::move(report)); }
    void StopEgis(OutcomeReport report) { stop(InterfaceKind::Egis, std::move(report)); }

    void go(InterfaceKind kind, OutcomeReport report);
    void stop(InterfaceKind kind, OutcomeReport report);

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

    // The serial part of the closing: the selected controller gets its closing
    // text (unless it has just been parked) and its channel closes once it is out.
    // parkingInterface is 0 for none, otherwise the parked kind's ordinal + 1.
    void closeForShutdown(int parkingInterface, InterfaceKind selected);

    // The setup dialog's closing: every open channel closes, the selected
    // controller's once it has received its close-out text.
    void closeOutForSetup(InterfaceKind selected);

private:
    enum class OpenResult { AlreadyOpen, Opened, Failed };

    OpenResult ensureOpen(InterfaceKind kind);
    bool openOn(InterfaceKind kind, const QString &comName);
    // Tells the user, once per port and reason, why the port could not be opened
    // (no port chosen, when comName is empty) or written; returns what was told.
    QString reportOpenFailure(InterfaceKind kind, const QString &comName);
    QString reportWriteFailure(InterfaceKind kind);
    QString tell(const QString &key, const SerialFailure &failure);
    // The command's writes as steps of a sequence. A write that fails closes the
    // channel, is told, and ends the sequence, reporting the failure to onFailure.
    QList<CommandSequencer::Step> steps(InterfaceKind kind, const SerialCommand &command,
                                        std::function<void(const QString &)> onFailure = {});
    // Plays command on kind's channel, closing the channel after it.
    void playThenClose(InterfaceKind kind, const SerialCommand &command);
    void showLabel(InterfaceKind kind, const SerialCommand &command);
    SerialChannel *find(InterfaceKind kind) const;

    SerialRotorsContext m_context;
    CommandSequencer &m_sequencer;
    std::array<std::unique_ptr<SerialChannel>, InterfaceKindCount> m_channels;
    NoticeOnce m_notices;
};
