// The azimuth sources: desktop azimuth servers, KORU datagrams and Hamlib
// clients, and the parts of the setup that reach them.
#include "core/Station.h"

#include "config/NumberText.h"
#include "config/ProgramIdentity.h"
#include "config/SettingsFiles.h"
#include "core/LanguageTexts.h"
#include "core/SetupTexts.h"
#include "host/ComPortNames.h"
#include "host/ComPortPin.h"
#include "rotors/HamlibRotors.h"
#include "rotors/PortIo.h"
#include "rotors/PositionPoller.h"
#include "rotors/SerialRotors.h"
#include "sources/DdeLink.h"
#include "sources/DdeValue.h"
#include "sources/RotctldServer.h"
#include "sources/SourceAzimuth.h"

#include <QScopedValueRollback>

using namespace NumberText;

void Station::chooseSource(AzimuthSource source)
{
    m_source = source;
    Q_EMIT sourceChanged(source);
    switch (source) {
    case AzimuthSource::Geomundo:
    case AzimuthSource::BeamDx:
        m_udp->deactivate();
        setDdeLink(source == AzimuthSource::Geomundo ? QStringLiteral("Geomundo") : QStringLiteral("Beam_DX"));
        break;
    case AzimuthSource::Koru:
        m_dde->closeLink();
        // The settings name the port after this line: the first activation binds it.
        if (!m_loadingSettings && !m_udp->isActive())
            activateKoruListener();
        break;
    case AzimuthSource::None:
        break;
    }
}

void Station::setDdeLink(const QString &service)
{
    m_startLinkUnread = !m_activatedOnce;
    m_dde->setLink(service, QStringLiteral("Data"));
    m_dde->setItem(QStringLiteral("Azimuth"));
}

bool Station::DdeClientItemChange(const QString &itemText)
{
    const auto value = cleanDdeValue(itemText);
    const auto azimuth = value ? toWholeNumber(*value) : std::nullopt;
    if (azimuth && !isSourceAzimuth(*azimuth))
        return false;
    // Kept cleaned of its blanks and terminator, so the first activation can
    // restore it as a whole number.
    m_lastDdeValue = value.value_or(QString());
    if (!value || m_closed)
        return false;
    if (!azimuth) {
        Q_EMIT conversionRefused(*value);
        return false;
    }
    enter(*azimuth, EntryOrigin::DBus);
    return true;
}

void Station::DdeClientItemRead(const QString &itemText)
{
    const bool startValue = std::exchange(m_startLinkUnread, false);
    if (!startValue || !m_activatedOnce) {
        DdeClientItemChange(itemText);
        return;
    }
    // The bus answered after the first activation, which would have shown this
    // value without sending it, and sent it only to restore the last azimuth.
    bool taken = false;
    {
        const QScopedValueRollback holdBack(m_sendHeldBack, true);
        taken = DdeClientItemChange(itemText);
    }
    if (taken && m_config.restoreAngle && m_lastDdeValue != QStringLiteral("0") && m_autoOn)
        ButtonTrackClick();
}

void Station::activateKoruListener()
{
    const quint16 port = m_udp->port();
    const QString key = QStringLiteral("udp %1").arg(port);
    if (m_udp->activate()) {
        m_koruRetry.stop();
        if (m_notices.recovered(key))
            m_feedback.notice(ProgramTitle, servingText(m_language, QStringLiteral("KORU Logger: UDP"), port));
        return;
    }
    m_notices.tell(key, ProgramTitle,
                   koruBindFailureText(m_language, port, m_udp->errorString(), m_udp->addressInUse(), m_windowless));
    m_koruRetry.start();
}

void Station::deactivateKoruListener()
{
    m_koruRetry.stop();
    m_udp->deactivate();
}

void Station::setKoruPort(quint16 port)
{
    m_udp->setPort(port);
    Q_EMIT koruPortChanged(port);
}

quint16 Station::koruPort() const
{
    return m_udp->port();
}

void Station::UDPServerUDPRead(const DatagramTurn &turn)
{
    Q_EMIT datagramReceived(turn);
    // Once closing has begun, only the parking azimuth may be sent.
    if (m_closed || m_source != AzimuthSource::Koru || !turn.request)
        return;
    enter(turn.request->azimuth, EntryOrigin::Datagram);
}

void Station::requestMove(const Pointing &pointing, OutcomeReport answer)
{
    // The rotators are driven in azimuth only; the elevation is carried this far.
    const int azimuth = int(pointing.azimuth);
    using Reason = RotorOutcome::Reason;
    // Once closing has begun, only the parking azimuth may be sent; while Init's
    // dialog is open nothing from outside moves the antenna.
    if (m_closed || m_setupOpen) {
        answer(RotorOutcome::refused(Reason::NotAccepted));
        return;
    }
    if (m_config.interfaceKind == InterfaceKind::None || !m_autoOn || !m_activatedOnce || m_sendHeldBack) {
        enter(azimuth, EntryOrigin::Rotctld);
        answer(RotorOutcome::refused(m_config.interfaceKind == InterfaceKind::None ? Reason::NoInterface
                                                                                 : Reason::NotAccepted));
        return;
    }
    // Entered even when the box already shows it: a STOP, or a restored azimuth
    // shown but not sent, leaves that number where the antenna is not. The GO
    // that AUTO starts is this request's; its outcome is the answer.
    show(azimuth, EntryOrigin::Rotctld);
    ButtonTrackClick(std::move(answer));
}

void Station::stopMoving(OutcomeReport answer)
{
    if (m_closed) {
        answer(RotorOutcome::refused(RotorOutcome::Reason::NotAccepted));
        return;
    }
    StopAll(std::move(answer));
    Q_EMIT goHandled();
}

void Station::moveToParking(OutcomeReport answer)
{
    if (m_closed || m_config.parkingInterface == 0) {
        answer(RotorOutcome::refused(RotorOutcome::Reason::NotSupported));
        return;
    }
    goToParking(std::move(answer));
}

std::optional<double> Station::knownAzimuth() const
{
    return readsBack() ? reportedAzimuth() : m_lastSentPosition;
}

bool Station::readsBack() const
{
    // Hamlib's library reads its controller itself, when asked to.
    if (m_config.interfaceKind == InterfaceKind::Hamlib)
        return m_config.extensions.readsPosition(InterfaceKind::Hamlib);
    return m_poller->readsBack();
}

bool Station::rotctldListening() const
{
    return m_rotctld->isListening();
}

void Station::toggleRotctld()
{
    m_config.extensions.rotctld = m_rotctld->isListening() ? QStringLiteral("0") : QStringLiteral("1");
    applyRotctldSetting();
}

void Station::applyRotctldSetting()
{
    const ExtensionSettings &settings = m_config.extensions;
    m_rotctldRetry.stop();
    if (!settings.rotctldEnabled()) {
        m_rotctld->close();
        Q_EMIT rotctldChanged();
        return;
    }
    const QString addressText = settings.rotctldListenAddress();
    const quint16 port = settings.rotctldListenPort();
    const std::optional<SocketAddress> address = SocketAddress::fromText(
        addressText == QLatin1String("localhost") ? QStringLiteral("127.0.0.1") : addressText, port);
    if (address && m_rotctld->isListening() && m_rotctld->listeningAddress() == *address) {
        Q_EMIT rotctldChanged();
        return;
    }
    const QString key = QStringLiteral("tcp %1 %2").arg(addressText).arg(port);
    if (!address || !m_rotctld->listen(*address)) {
        const RotctldFailure failure = !address ? RotctldFailure::NotAnAddress
            : m_rotctld->addressInUse()         ? RotctldFailure::AddressInUse
            : m_rotctld->addressMissing()       ? RotctldFailure::AddressMissing
                                                : RotctldFailure::Other;
        // Told without a box, once for each address and port, like the other sources.
        m_notices.tell(key, setupTexts(m_language).warningTitle,
                       rotctldFailureText(m_language, addressText, port, failure, m_rotctld->errorString(),
                                          m_windowless));
        // What is not an address never becomes one; everything else may clear up.
        if (address)
            m_rotctldRetry.start();
    } else if (m_notices.recovered(key)) {
        m_feedback.notice(ProgramTitle, servingText(m_language, QStringLiteral("Hamlib (rotctld) %1, TCP").arg(addressText),
                                                    m_rotctld->serverPort()));
    }
    Q_EMIT rotctldChanged();
}

void Station::prepareSetup()
{
    m_setupOpen = true;
    StopAll();
    m_state.lastSentAzimuth = -10;
    m_serial->closeAll();
    m_hamlib->close();
}

void Station::closeOutForSetup()
{
    m_serial->closeOutForSetup(m_config.interfaceKind);
    m_hamlib->close();
    m_setupOpen = false;
}

void Station::sendTest(int azimuth)
{
    m_state.lastSentAzimuth = -10;
    m_forcedSendRequest = true;
    // The azimuth already shown is no change, and sends nothing; the request stays
    // raised until a change or the dialog's closing uses it.
    enter(azimuth, EntryOrigin::Test);
}

bool Station::pinComPort(const QString &comName, const QString &target, QString *error)
{
    if (!pinComName(m_files.dosdevicesPath(), comNumber(comName), target, error))
        return false;
    EnumerateComPorts();
    Q_EMIT comPortsChanged();
    return true;
}

void Station::enableLptPort(quint16 address)
{
    m_portIo.EnablePorts(address, address);
}

void Station::disableLptPort(quint16 address)
{
    m_portIo.DisablePorts(address, address);
}

bool Station::lptDriverReady() const
{
    return m_portIo.IsWinNT();
}
