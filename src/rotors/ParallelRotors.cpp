#include "rotors/ParallelRotors.h"

#include "config/Translation.h"
#include "rotors/ParallelProtocol.h"
#include "rotors/SerialProtocol.h"

#include <utility>

namespace {

QString refusedPortText(quint16 base, const QString &reason, const Language &language)
{
    const QString address = hexAddressText(base) + QLatin1Char('h');
    return Translation::text(language, "ParallelRotors",
                             QT_TRANSLATE_NOOP("ParallelRotors",
                                               "The parallel port %1 could not be written: %2.\nCheck that the "
                                               "ppdev module is loaded (sudo modprobe ppdev), that no printer service "
                                               "holds the port, and that your user may use it: sudo usermod -aG lp "
                                               "$USER, then log out and in again."))
        .arg(address, reason);
}

} // namespace

ParallelRotors::ParallelRotors(ParallelRotorsContext context, CommandSequencer &sequencer)
    : m_context(std::move(context)), m_sequencer(sequencer), m_notices(m_context.feedback)
{
}

quint16 ParallelRotors::selectedBase(InterfaceKind kind) const
{
    const int lpt = m_context.config.at(kind).port;
    if (lpt < 0 || lpt >= LptSlotCount)
        return 0;
    const ParallelAddressTable &table =
        kind == InterfaceKind::PourSat ? m_context.pourSatAddresses : m_context.fodTrackAddresses;
    // A slot whose port was not found has address 0, where no parallel port
    // lives: writing there would hit whatever owns that address.
    return table[lpt];
}

void ParallelRotors::go(InterfaceKind kind, OutcomeReport report)
{
    const ReportOnce reported(std::move(report));
    CommandState &state = m_context.state;
    const InterfaceSettings &settings = m_context.config.at(kind);
    PortIo &portIo = m_context.portIo;

    const quint16 base = selectedBase(kind);
    if (base == 0) {
        m_context.feedback.beep();
        reported(RotorOutcome::refused(RotorOutcome::Reason::NoPort));
        return;
    }
    if (state.heldByStep(settings.minimumStep)) {
        reported(RotorOutcome::held());
        return;
    }
    state.lastSentAzimuth = state.commandedAzimuth;
    state.commandedAzimuth = SerialProtocol::applyStopSide(state.commandedAzimuth, settings.stopSide);

    const qint16 value = ParallelProtocol::outputValue(state.commandedAzimuth, settings.zero, settings.calibration);
    m_context.setInterfaceLabel(QString::number(value));

    CommandSequencer::Sequence sequence;
    const QList<ParallelWrite> writes = kind == InterfaceKind::PourSat ? ParallelProtocol::pourSatSequence(value)
                                                                       : ParallelProtocol::fodTrackSequence(value);
    for (const ParallelWrite &write : writes) {
        sequence.steps.append([&portIo, base, write] {
            portIo.Outport(quint16(base + write.registerOffset), write.value);
            return write.pauseAfterMs;
        });
    }
    sequence.delivered = [this, &portIo, base, reported] {
        QString stateText;
        if (portIo.GetLastState(&stateText) == 0) {
            m_notices.recovered();
            reported(RotorOutcome::sentNow());
            return;
        }
        m_context.feedback.beep();
        const QString text = refusedPortText(base, stateText, m_context.language ? m_context.language() : Language());
        m_notices.tell(QStringLiteral("%1 %2").arg(base).arg(stateText), QStringLiteral("Orvantis"), text);
        reported(RotorOutcome::failed(RotorOutcome::Reason::Device, text));
    };
    sequence.cut = [&portIo, base, reported] {
        // A STOP came during the handshake: the box gets no target, and its
        // control lines are released as at the end of every handshake.
        portIo.Outport(quint16(base + ParallelProtocol::ControlRegister), 0);
        QString ignored;
        portIo.GetLastState(&ignored);
        reported(RotorOutcome::refused(RotorOutcome::Reason::Overtaken));
    };
    m_sequencer.play(std::move(sequence));
}
