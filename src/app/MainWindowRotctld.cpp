// The main window's side of the rotctld server: what Hamlib clients may do, and
// the server following its settings.
#include "app/LanguageTexts.h"
#include "app/MainWindow.h"
#include "config/NumberText.h"
#include "dialogs/SetupTexts.h"
#include "sources/RotctldServer.h"
#include "ui/UserFeedback.h"

#include <QAction>

bool MainWindow::enterAzimuth(int azimuth)
{
    // Once closing has begun, only the parking azimuth may be sent.
    if (m_closed)
        return false;
    enterRequestedAzimuth(QString::number(azimuth), azimuth);
    return true;
}

bool MainWindow::stopMoving()
{
    if (m_closed)
        return false;
    BitBtnStopClick();
    return true;
}

bool MainWindow::moveToParking()
{
    if (m_closed || m_config.parkingInterface == 0)
        return false;
    setStepperPosition(static_cast<int>(NumberText::roundHalfEven(m_config.parkingAzimuth)));
    ButtonTrackClick();
    return true;
}

void MainWindow::MenuServerRotctldClick()
{
    m_config.extensions.rotctld = m_rotctld->isListening() ? QStringLiteral("0") : QStringLiteral("1");
    applyRotctldSetting();
}

void MainWindow::applyRotctldSetting()
{
    const ExtensionSettings &settings = m_config.extensions;
    if (!settings.rotctldEnabled()) {
        m_rotctld->close();
        refreshRotctldMenuItem();
        return;
    }
    const QString addressText = settings.rotctldListenAddress();
    const quint16 port = settings.rotctldListenPort();
    const std::optional<SocketAddress> address = SocketAddress::fromText(
        addressText == QLatin1String("localhost") ? QStringLiteral("127.0.0.1") : addressText, port);
    if (address && m_rotctld->isListening() && m_rotctld->listeningAddress() == *address) {
        refreshRotctldMenuItem();
        return;
    }
    if (!address || !m_rotctld->listen(*address)) {
        const RotctldFailure failure = !address ? RotctldFailure::NotAnAddress
            : m_rotctld->addressInUse()         ? RotctldFailure::AddressInUse
                                                : RotctldFailure::Other;
        // Told without a box, once for each address and port, like the other sources.
        m_notices.tell(QStringLiteral("tcp %1 %2").arg(addressText).arg(port), setupTexts(m_french).warningTitle,
                       rotctldFailureText(m_french, addressText, port, failure, m_rotctld->errorString()));
    }
    refreshRotctldMenuItem();
}

void MainWindow::refreshRotctldMenuItem()
{
    m_menuServerRotctld->setText(
        languageTexts(m_french).rotctldServer.arg(m_config.extensions.rotctldListenPort()));
    m_menuServerRotctld->setChecked(m_rotctld->isListening());
}
