#include "rotors/OutsideRotors.h"

#include "config/NumberText.h"
#include "rotors/SerialProtocol.h"

#include <utility>

namespace {

const QString WarningTitle = QStringLiteral("Avertissement");

} // namespace

OutsideRotors::OutsideRotors(OutsideRotorsContext context) : m_context(std::move(context)) {}

void OutsideRotors::GoZenta(const OutcomeReport &report)
{
    CommandState &state = m_context.state;
    if (state.heldByStep(m_context.config.at(InterfaceKind::Zenta).minimumStep)) {
        report(RotorOutcome::held());
        return;
    }
    state.lastSentAzimuth = state.commandedAzimuth;
    // Not folded into one turn: ARSWIN is given 360 when the azimuth rounds up to it.
    const auto value = quint32(NumberText::roundHalfEven(state.commandedAzimuth));

    if (!m_context.arswin.findWindow()) {
        m_context.feedback.playSound(SystemSound::Exclamation);
        const QString text = m_context.arswinMissingText();
        m_context.feedback.warning(WarningTitle, text);
        report(RotorOutcome::refused(RotorOutcome::Reason::NoPort, text));
        return;
    }
    m_context.setInterfaceLabel(QString::number(value));
    if (!m_context.arswin.post(value)) {
        m_context.feedback.beep();
        report(RotorOutcome::failed(RotorOutcome::Reason::Device));
        return;
    }
    report(RotorOutcome::sentNow());
}

void OutsideRotors::StopZenta(const OutcomeReport &report)
{
    if (!m_context.arswin.findWindow()) {
        report(RotorOutcome::held());
        return;
    }
    if (m_context.arswin.post(ArswinStop)) {
        report(RotorOutcome::sentNow());
        return;
    }
    m_context.feedback.beep();
    report(RotorOutcome::failed(RotorOutcome::Reason::Device));
}

void OutsideRotors::GoKct(const OutcomeReport &report)
{
    CommandState &state = m_context.state;
    const Configuration &config = m_context.config;
    const InterfaceSettings &settings = config.at(InterfaceKind::Kct);
    if (state.heldByStep(settings.minimumStep)) {
        report(RotorOutcome::held());
        return;
    }
    state.lastSentAzimuth = state.commandedAzimuth;

    const QString parameters = kctParameters(state.commandedAzimuth, settings.azimuthOffset);
    // The directory is used as written: without its final separator the name
    // runs into "Movenow" and the program is not found, which the warning shows.
    const int error = m_context.movenow.start(config.movenowDirectory + QStringLiteral("Movenow"), parameters);
    m_context.setInterfaceLabel(parameters);
    if (error != 0) {
        const QString text = QStringLiteral("movenow.com error #%1").arg(error);
        m_context.feedback.warning(WarningTitle, text);
        // Nothing was started, so the lamp must not say otherwise.
        report(RotorOutcome::failed(RotorOutcome::Reason::Device, text));
        return;
    }
    report(RotorOutcome::sentNow());
}

void OutsideRotors::closeForShutdown(int parkingInterface, InterfaceKind selected)
{
    // Movenow has nothing to stop; ARSWIN is told unless it has just been parked.
    if (selected == InterfaceKind::Zenta && parkingInterface != ordinal(InterfaceKind::Zenta) + 1)
        StopZenta([](const RotorOutcome &) {});
}

QString OutsideRotors::kctParameters(double azimuth, int offset)
{
    return QStringLiteral("PA ") + QString::fromLatin1(SerialProtocol::threeDigitField(azimuth, offset));
}
