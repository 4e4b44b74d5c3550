#include "rotors/SerialRotors.h"

#include "config/BaudRateTable.h"
#include "host/ComPortNames.h"
#include "host/DeviceHolders.h"
#include "rotors/PauseWithEvents.h"
#include "rotors/PositionReply.h"
#include "rotors/SerialFailure.h"

#include <cerrno>

#include <utility>

SerialRotors::SerialRotors(SerialRotorsContext context, CommandSequencer &sequencer)
    : m_context(std::move(context)), m_sequencer(sequencer), m_notices(m_context.feedback)
{
    for (InterfaceKind kind : SerialInterfaceKinds)
        m_channels[ordinal(kind)] = std::make_unique<SerialChannel>(SerialChannel::profileFor(kind));
}

SerialChannel *SerialRotors::find(InterfaceKind kind) const
{
    return isSerial(kind) ? m_channels[ordinal(kind)].get() : nullptr;
}

void SerialRotors::go(InterfaceKind kind)
{
    CommandSequencer::Sequence sequence(m_sequencer);
    CommandState &state = m_context.state;
    const Configuration &config = m_context.config;
    const InterfaceSettings &settings = config.at(kind);

    if (!SerialProtocol::passesMinimumStep(settings.minimumStep, state.commandedAzimuth, state.lastSentAzimuth)) {
        state.holdWithinStep();
        return;
    }
    state.lastSentAzimuth = state.commandedAzimuth;
    if (kind != InterfaceKind::TrakBox)
        state.commandedAzimuth = SerialProtocol::applyStopSide(state.commandedAzimuth, settings.stopSide);

    const OpenResult opened = openGreeted(kind, sequence, Role::Go);
    if (opened == OpenResult::Failed) {
        state.notSentFlag = true;
        m_context.feedback.beep();
        reportOpenFailure(kind, m_context.selectedPortName(kind));
        return;
    }
    if (opened == OpenResult::Interrupted)
        return;

    const SerialCommand go =
        SerialProtocol::goCommand(kind, state.commandedAzimuth, settings.azimuthOffset, config.gs232Elevation);
    showLabel(kind, go);
    run(kind, go, sequence, Role::Go);
}

void SerialRotors::stop(InterfaceKind kind)
{
    SerialChannel &serial = *find(kind);
    if (!serial.isOpen())
        return;
    CommandSequencer::Sequence sequence(m_sequencer);
    const SerialCommand command = SerialProtocol::stopCommand(kind);
    const bool completed = run(kind, command, sequence, Role::Other);
    // Where the antenna came to rest is asked once more before the port is let go.
    if (completed && serial.reads() && serial.post(PositionReply::query(kind)))
        serial.closeAfter(LastAnswerMs);
    else
        serial.close();
    if (completed)
        showLabel(kind, command);
}

bool SerialRotors::openForReading(InterfaceKind kind)
{
    if (!isSerial(kind))
        return false;
    CommandSequencer::Sequence sequence(m_sequencer);
    const OpenResult opened = openGreeted(kind, sequence, Role::Other);
    return opened == OpenResult::AlreadyOpen || opened == OpenResult::Opened;
}

SerialRotors::OpenResult SerialRotors::openGreeted(InterfaceKind kind, const CommandSequencer::Sequence &sequence,
                                                   Role role)
{
    const OpenResult opened = ensureOpen(kind);
    // A ProSisTel controller is told its mode each time its port opens.
    if (kind == InterfaceKind::ProSisTel && opened == OpenResult::Opened
        && !run(kind, SerialProtocol::proSisTelOpening(m_context.config.proSisTelCpmOff), sequence, role))
        return OpenResult::Interrupted;
    return opened;
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
    CommandSequencer::Sequence sequence(m_sequencer);
    if (serial->isOpen())
        stop(kind);

    InterfaceSettings &settings = m_context.config.at(kind);
    if (!openOn(kind, comName)) {
        reportOpenFailure(kind, comName);
        settings.port = -1;
        return false;
    }
    if (kind == InterfaceKind::TrakBox)
        run(kind, SerialProtocol::trakBoxProbe(), sequence, Role::Other);
    serial->close();
    settings.port = comNumber(comName) - 1;
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
    {
        CommandSequencer::Sequence sequence(m_sequencer);
        const bool parked = parkingInterface == ordinal(selected) + 1;
        const SerialCommand command = SerialProtocol::closingCommand(selected, m_context.config.trakBoxHostMode);
        if (selected == InterfaceKind::TrakBox) {
            // The controller is always handed back, parked or not, even if the
            // channel has to be reopened for it; a port that will not open is let go.
            if (!serial->isOpen())
                openOn(selected, QStringLiteral("COM%1").arg(m_context.config.at(selected).port + 1));
            if (serial->isOpen())
                run(selected, command, sequence, Role::Other);
        } else if (serial->isOpen() && !parked) {
            run(selected, command, sequence, Role::Other);
        }
        serial->close();
    }
    // Nothing may reopen a port once the program is closing.
    m_sequencer.dropWaitingGo();
}

void SerialRotors::closeOutForSetup(InterfaceKind selected)
{
    CommandSequencer::Sequence sequence(m_sequencer);
    for (InterfaceKind kind : {InterfaceKind::Gs232, InterfaceKind::EasyComm, InterfaceKind::ProSisTel,
                               InterfaceKind::TrakBox, InterfaceKind::Dcu1, InterfaceKind::M2Orion,
                               InterfaceKind::Egis}) {
        SerialChannel &serial = *find(kind);
        if (!serial.isOpen())
            continue;
        if (kind == selected)
            run(kind, SerialProtocol::setupCloseOutCommand(kind), sequence, Role::Other);
        serial.close();
    }
}

bool SerialRotors::run(InterfaceKind kind, const SerialCommand &command, const CommandSequencer::Sequence &sequence,
                       Role role)
{
    SerialChannel &serial = *find(kind);
    // A STOP that ran during a wait (or anything that closed the channel) ends
    // the sequence: the rest of the command would reach a stopped rotator.
    const auto ended = [&] {
        if (!sequence.interrupted() && serial.isOpen())
            return false;
        if (role == Role::Go)
            m_context.state.notSentFlag = true;
        return true;
    };
    for (const SerialWrite &write : command.writes) {
        if (ended())
            return false;
        if (!write.bytes.isEmpty() && !serial.write(write.bytes)) {
            serial.close();
            if (role == Role::Go) {
                m_context.state.notSentFlag = true;
                m_context.feedback.beep();
            }
            reportWriteFailure(kind);
            return false;
        }
        if (ended())
            return false;
        PauseWithEvents(write.pauseAfterMs);
    }
    return !ended();
}

void SerialRotors::showLabel(InterfaceKind kind, const SerialCommand &command)
{
    if (command.label)
        m_context.setInterfaceLabel(QString::fromLatin1(*command.label) + QLatin1Char(' ') + find(kind)->portName());
}

void SerialRotors::reportOpenFailure(InterfaceKind kind, const QString &comName)
{
    SerialFailure failure;
    if (comName.isEmpty()) {
        failure.kind = SerialFailure::Kind::NoPort;
        failure.interfaceName = dialogCaption(kind);
        tell(failure.interfaceName, failure);
        return;
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
    tell(comName, failure);
}

void SerialRotors::reportWriteFailure(InterfaceKind kind)
{
    const SerialChannel &serial = *find(kind);
    SerialFailure failure;
    failure.kind = SerialFailure::Kind::WriteFailed;
    failure.comName = serial.portName();
    failure.devicePath = m_context.devicePath(failure.comName);
    failure.reason = serial.errorString();
    tell(failure.comName, failure);
}

void SerialRotors::tell(const QString &key, const SerialFailure &failure)
{
    m_notices.tell(QStringLiteral("%1 %2").arg(key).arg(int(failure.kind)), QStringLiteral("Orvantis"),
                   serialFailureText(failure, m_context.language ? m_context.language() : Language()));
}
