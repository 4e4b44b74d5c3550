#include "rotors/OutsideRotors.h"

#include "config/NumberText.h"
#include "rotors/SerialProtocol.h"

#include <utility>

namespace {

const QString WarningTitle = QStringLiteral("Avertissement");

} // namespace

OutsideRotors::OutsideRotors(OutsideRotorsContext context) : m_context(std::move(context)) {}

void OutsideRotors::GoZenta()
{
    CommandState &state = m_context.state;
    if (!SerialProtocol::passesMinimumStep(m_context.config.at(InterfaceKind::Zenta).minimumStep,
                                           state.commandedAzimuth, state.lastSentAzimuth)) {
        state.holdWithinStep();
        return;
    }
    state.lastSentAzimuth = state.commandedAzimuth;
    // Not folded into one turn: ARSWIN is given 360 when the azimuth rounds up to it.
    const auto value = quint32(NumberText::roundHalfEven(state.commandedAzimuth));

    if (!m_context.arswin.findWindow()) {
        m_context.feedback.playSound(SystemSound::Exclamation);
        m_context.feedback.warning(WarningTitle, m_context.arswinMissingText());
        state.notSentFlag = true;
        return;
    }
    m_context.setInterfaceLabel(QString::number(value));
    if (!m_context.arswin.post(value)) {
        m_context.feedback.beep();
        state.notSentFlag = true;
    }
}

void OutsideRotors::StopZenta()
{
    if (m_context.arswin.findWindow() && !m_context.arswin.post(ArswinStop))
        m_context.feedback.beep();
}

void OutsideRotors::GoKct()
{
    CommandState &state = m_context.state;
    const Configuration &config = m_context.config;
    const InterfaceSettings &settings = config.at(InterfaceKind::Kct);
    if (!SerialProtocol::passesMinimumStep(settings.minimumStep, state.commandedAzimuth, state.lastSentAzimuth)) {
        state.holdWithinStep();
        return;
    }
    state.lastSentAzimuth = state.commandedAzimuth;

    const QString parameters = kctParameters(state.commandedAzimuth, settings.azimuthOffset);
    // The directory is used as written: without its final separator the name
    // runs into "Movenow" and the program is not found, which the warning shows.
    const int error = m_context.movenow.start(config.movenowDirectory + QStringLiteral("Movenow"), parameters);
    if (error != 0) {
        m_context.feedback.warning(WarningTitle, QStringLiteral("movenow.com error #%1").arg(error));
        // Nothing was started, so the lamp must not say otherwise.
        state.notSentFlag = true;
    }
    m_context.setInterfaceLabel(parameters);
}

void OutsideRotors::closeForShutdown(int parkingInterface, InterfaceKind selected)
{
    // Movenow has nothing to stop; ARSWIN is told unless it has just been parked.
    if (selected == InterfaceKind::Zenta && parkingInterface != ordinal(InterfaceKind::Zenta) + 1)
        StopZenta();
}

QString OutsideRotors::kctParameters(double azimuth, int offset)
{
    return QStringLiteral("PA ") + QString::fromLatin1(SerialProtocol::threeDigitField(azimuth, offset));
}
