#include "rotors/SerialRotors.h"

#include "config/BaudRateTable.h"
#include "host/ComPortNames.h"
#include "host/DeviceHolders.h"
#include "rotors/PositionReply.h"
#include "rotors/SerialControllers.h"
#include "rotors/SerialFailure.h"

#include <cerrno>

#include <utility>

SerialRotors::SerialRotors(SerialRotorsContext context, CommandSequencer &sequencer)
    : m_context(std::move(context)), m_sequencer(sequencer), m_notices(m_context.feedback)
{
    for (InterfaceKind kind : SerialInterfaceKinds)
        m_channels[ordinal(kind)] = std::make_unique<SerialChannel>(serialController(kind)->line);
}

SerialChannel *SerialRotors::find(InterfaceKind kind) const
{
    return isSerial(kind) ? m_channels[ordinal(kind)].get() : nullptr;
}

void SerialRotors::go(InterfaceKind kind, OutcomeReport report)
{
    const ReportOnce reported(std::move(report));
    CommandState &state = m_context.state;
    const Configuration &config = m_context.config;
    const InterfaceSettings &settings = config.at(kind);

    if (state.heldByStep(settings.minimumStep)) {
        reported(RotorOutcome::held());
        return;
    }
    const double previous = std::exchange(state.lastSentAzimuth, state.commandedAzimuth);
    if (serialController(kind)->countsFromStopSide)
        state.commandedAzimuth = SerialProtocol::applyStopSide(state.commandedAzimuth, settings.stopSide);
    const SerialCommand go =
        SerialProtocol::goCommand(kind, state.commandedAzimuth, settings.azimuthOffset, config.gs232Elevation);
    const auto failed = [reported](const QString &text) {
        reported(RotorOutcome::failed(RotorOutcome::Reason::Device, text));
    };

    // The port is opened when the command's turn comes, after whatever was queued
    // before it (a STOP closes it at its end).
    const auto freshlyOpened = std::make_shared<bool>(false);
    CommandSequencer::Sequence sequence;
    sequence.steps.append([this, kind, go, reported, previous, requested = state.lastSentAzimuth, freshlyOpened] {
        const OpenResult opened = ensureOpen(kind);
        if (opened == OpenResult::Failed) {
            m_context.feedback.beep();
            const QString comName = m_context.selectedPortName(kind);
            const QString text = reportOpenFailure(kind, comName);
            // Only a GO that goes out is the step's reference: the same target
            // may be asked again.
            if (m_context.state.lastSentAzimuth == requested)
                m_context.state.lastSentAzimuth = previous;
            reported(comName.isEmpty() || m_context.devicePath(comName).isEmpty()
                         ? RotorOutcome::refused(RotorOutcome::Reason::NoPort, text)
                         : RotorOutcome::failed(RotorOutcome::Reason::Device, text));
            return CommandSequencer::Failed;
        }
        *freshlyOpened = opened == OpenResult::Opened;
        showLabel(kind, go);
        return 0;
    });
    // A ProSisTel controller is told its mode, and given its pause, each time its port opens.
    if (kind == InterfaceKind::ProSisTel) {
        const QList<CommandSequencer::Step> opening =
            steps(kind, SerialProtocol::proSisTelOpening(config.proSisTelCpmOff), failed);
        for (const CommandSequencer::Step &step : opening)
            sequence.steps.append([step, freshlyOpened] { return *freshlyOpened ? step() : 0; });
    }
    sequence.steps += steps(kind, go, failed);
    sequence.delivered = [this, reported] {
        m_notices.recovered();
        reported(RotorOutcome::sentNow());
    };
    sequence.cut = [reported] { reported(RotorOutcome::refused(RotorOutcome::Reason::Overtaken)); };
    m_sequencer.play(std::move(sequence));
}

void SerialRotors::stop(InterfaceKind kind, OutcomeReport report)
{
    const ReportOnce reported(std::move(report));
    SerialChannel &serial = *find(kind);
    if (!serial.isOpen()) {
        // Nothing of ours is turning it.
        reported(RotorOutcome::held());
        return;
    }
    const SerialCommand command = SerialProtocol::stopCommand(kind);
    const quint64 opening = serial.opening();
    auto completed = std::make_shared<bool>(false);
    CommandSequencer::Sequence sequence;
    sequence.steps = steps(kind, command, [reported](const QString &text) {
        reported(RotorOutcome::failed(RotorOutcome::Reason::Device, text));
    });
    sequence.delivered = [reported, completed] {
        *completed = true;
        reported(RotorOutcome::sentNow());
    };
    // A STOP cut short by the next STOP leaves the port to it.
    sequence.cut = [reported] { reported(RotorOutcome::sentNow()); };
    sequence.ended = [this, kind, command, completed, opening] {
        SerialChannel &serial = *find(kind);
        if (!*completed || serial.opening() != opening)
            return;
        // Where the antenna came to rest is asked once more before the port is let go.
        if (serial.reads() && serial.post(PositionReply::query(kind)))
            serial.closeAfter(LastAnswerMs);
        else
            serial.close();
        showLabel(kind, command);
    };
    m_sequencer.play(std::move(sequence));
}

bool SerialRotors::openForReading(InterfaceKind kind)
{
    if (!isSerial(kind))
        return false;
    const OpenResult opened = ensureOpen(kind);
    if (kind == InterfaceKind::ProSisTel && opened == OpenResult::Opened) {
        CommandSequencer::Sequence sequence;
        sequence.steps = steps(kind, SerialProtocol::proSisTelOpening(m_context.config.proSisTelCpmOff));
        m_sequencer.play(std::move(sequence));
    }
    return opened != OpenResult::Failed;
}

bool SerialRotors::EnsurePortOpen(InterfaceKind kind)
{
    return isSerial(kind) && ensureOpen(kind) != OpenResult::Failed;
}

SerialRotors::OpenResult SerialRotors::ensureOpen(InterfaceKind kind)
{
    if (find(kind)->isOpen())
        return OpenResult::AlreadyOpen;
    const QString comName = m_context.selectedPortName(kind);
    return !comName.isEmpty() && openOn(kind, comName) ? OpenResult::Opened : OpenResult::Failed;
}

bool SerialRotors::openOn(InterfaceKind kind, const QString &comName)
{
    const QString path = m_context.devicePath(comName);
    if (m_context.positionReader)
        find(kind)->setReader(m_context.positionReader(kind));
    return !path.isEmpty() && find(kind)->open(path, comName);
}

void SerialRotors::ClosePort(InterfaceKind kind)
{
    if (SerialChannel *serial = find(kind))
        serial->close();
}

void SerialRotors::closeAll()
{
    for (InterfaceKind kind : {InterfaceKind::Gs232, InterfaceKind::EasyComm, InterfaceKind::Dcu1,
                               InterfaceKind::ProSisTel, InterfaceKind::TrakBox, InterfaceKind::M2Orion,
                               InterfaceKind::Egis})
        ClosePort(kind);
}

bool SerialRotors::ProbePort(InterfaceKind kind, const QString &comName)
{
    SerialChannel *serial = find(kind);
    if (!serial)
        return false;
    if (serial->isOpen()) {
        stop(kind, [](const RotorOutcome &) {});
        // The stop has its pause before the port is opened again for the probe.
        m_sequencer.whenIdle([this, kind, comName] { ProbePort(kind, comName); });
        return true;
    }
    InterfaceSettings &settings = m_context.config.at(kind);
    if (!openOn(kind, comName)) {
        reportOpenFailure(kind, comName);
        settings.port = -1;
        return false;
    }
    settings.port = comNumber(comName) - 1;
    if (kind == InterfaceKind::TrakBox)
        playThenClose(kind, SerialProtocol::trakBoxProbe());
    else
        serial->close();
    return true;
}

void SerialRotors::SetChannelBaud(InterfaceKind kind, int index)
{
    SerialChannel *serial = find(kind);
    if (!serial)
        return;
    const qint32 rate = BaudRateTable::rate(index);
    if (rate > 0)
        serial->setBaudRate(rate);
    else
        serial->close();
}

bool SerialRotors::isOpen(InterfaceKind kind) const
{
    const SerialChannel *serial = find(kind);
    return serial && serial->isOpen();
}

QString SerialRotors::channelPortName(InterfaceKind kind) const
{
    const SerialChannel *serial = find(kind);
    return serial ? serial->portName() : QString();
}

void SerialRotors::closeForShutdown(int parkingInterface, InterfaceKind selected)
{
    SerialChannel *serial = find(selected);
    if (!serial)
        return;
    const bool parked = parkingInterface == ordinal(selected) + 1;
    const SerialCommand command = SerialProtocol::closingCommand(selected, m_context.config.trakBoxHostMode);
    if (selected == InterfaceKind::TrakBox) {
        // The controller is always handed back, parked or not, even if the
        // channel has to be reopened for it; a port that will not open is let go.
        if (!serial->isOpen())
            openOn(selected, QStringLiteral("COM%1").arg(m_context.config.at(selected).port + 1));
        if (serial->isOpen()) {
            playThenClose(selected, command);
            return;
        }
    } else if (serial->isOpen() && !parked) {
        playThenClose(selected, command);
        return;
    }
    serial->close();
}

void SerialRotors::closeOutForSetup(InterfaceKind selected)
{
    for (InterfaceKind kind : {InterfaceKind::Gs232, InterfaceKind::EasyComm, InterfaceKind::ProSisTel,
                               InterfaceKind::TrakBox, InterfaceKind::Dcu1, InterfaceKind::M2Orion,
                               InterfaceKind::Egis}) {
        SerialChannel &serial = *find(kind);
        if (!serial.isOpen())
            continue;
        if (kind == selected)
            playThenClose(kind, SerialProtocol::setupCloseOutCommand(kind));
        else
            serial.close();
    }
}

QList<CommandSequencer::Step> SerialRotors::steps(InterfaceKind kind, const SerialCommand &command,
                                                  std::function<void(const QString &)> onFailure)
{
    QList<CommandSequencer::Step> steps;
    for (const SerialWrite &write : command.writes) {
        steps.append(CommandSequencer::step(
            [this, kind, bytes = write.bytes, onFailure] {
                SerialChannel &serial = *find(kind);
                // Anything that closed the channel meanwhile (Init) ends the command.
                if (!serial.isOpen())
                    return false;
                if (bytes.isEmpty() || serial.write(bytes))
                    return true;
                serial.close();
                m_context.feedback.beep();
                const QString text = reportWriteFailure(kind);
                if (onFailure)
                    onFailure(text);
                return false;
            },
            write.pauseAfterMs));
    }
    return steps;
}

void SerialRotors::playThenClose(InterfaceKind kind, const SerialCommand &command)
{
    const quint64 opening = find(kind)->opening();
    CommandSequencer::Sequence sequence;
    sequence.steps = steps(kind, command);
    sequence.ended = [this, kind, opening] {
        if (find(kind)->opening() == opening)
            find(kind)->close();
    };
    m_sequencer.play(std::move(sequence));
}

void SerialRotors::showLabel(InterfaceKind kind, const SerialCommand &command)
{
    if (command.label)
        m_context.setInterfaceLabel(QString::fromLatin1(*command.label) + QLatin1Char(' ') + find(kind)->portName());
}

QString SerialRotors::reportOpenFailure(InterfaceKind kind, const QString &comName)
{
    SerialFailure failure;
    if (comName.isEmpty()) {
        failure.kind = SerialFailure::Kind::NoPort;
        failure.interfaceName = dialogCaption(kind);
        return tell(failure.interfaceName, failure);
    }
    const SerialChannel &serial = *find(kind);
    failure.comName = comName;
    failure.devicePath = m_context.devicePath(comName);
    if (failure.devicePath.isEmpty()) {
        // Nothing was opened: the name leads to no device at all.
        failure.kind = SerialFailure::Kind::Missing;
        failure.reason = qt_error_string(ENOENT);
    } else {
        failure.kind = classifyOpenFailure(serial.error(), failure.devicePath);
        failure.reason = serial.errorString();
    }
    if (failure.kind == SerialFailure::Kind::Busy)
        failure.holders = processesHolding(failure.devicePath);
    return tell(comName, failure);
}

QString SerialRotors::reportWriteFailure(InterfaceKind kind)
{
    const SerialChannel &serial = *find(kind);
    SerialFailure failure;
    failure.kind = SerialFailure::Kind::WriteFailed;
    failure.comName = serial.portName();
    failure.devicePath = m_context.devicePath(failure.comName);
    failure.reason = serial.errorString();
    return tell(failure.comName, failure);
}

QString SerialRotors::tell(const QString &key, const SerialFailure &failure)
{
    const QString text = serialFailureText(failure, m_context.language ? m_context.language() : Language());
    m_notices.tell(QStringLiteral("%1 %2").arg(key).arg(int(failure.kind)), QStringLiteral("Orvantis"), text);
    return text;
}
