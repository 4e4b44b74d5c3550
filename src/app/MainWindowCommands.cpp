// The command cycle: GO handling, STOP, long path, AUTO, the track lamp, Init.
#include "app/AzimuthBox.h"
#include "app/AzimuthStepper.h"
#include "app/MainWindow.h"
#include "config/NumberText.h"
#include "dialogs/AngleDialog.h"
#include "rotors/SerialRotors.h"
#include "sources/UdpRotorMessage.h"
#include "ui/LampImage.h"
#include "ui/PanelButton.h"
#include "ui/UserFeedback.h"

#include <QLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace NumberText;

void MainWindow::ButtonTrackClick()
{
    // A GO that arrives while a command sequence is being written waits for it;
    // only the newest waiting GO runs, reading the box as it is then.
    m_sequencer.requestGo([this] { goHandling(); });
}

void MainWindow::goHandling()
{
    if (m_editAzimut->text().isEmpty())
        return;
    const auto target = toReal(m_editAzimut->text());
    if (target) {
        m_state.targetAzimuth = *target;
    } else {
        m_editAzimut->clear();
        m_state.targetAzimuth = -1;
    }
    if (m_config.interfaceKind == InterfaceKind::None) {
        m_feedback.beep();
        return;
    }
    if (m_state.targetAzimuth < 0 || m_state.targetAzimuth >= 360) {
        m_feedback.beep();
        return;
    }
    m_state.commandedAzimuth = m_state.targetAzimuth;
    m_commandedPosition = m_state.targetAzimuth;
    m_dispatch.go(m_config.interfaceKind);

    if (m_state.notSentFlag) {
        m_state.notSentFlag = false;
    } else {
        // A timer that is already running keeps its period, so a second GO does
        // not lengthen the blinking.
        if (!m_timerBlink.isActive())
            m_timerBlink.start();
        if (!m_timerTrackOK.isActive())
            m_timerTrackOK.start();
        showLamp(true);
        if (m_config.jingleEnabled)
            m_feedback.playSound(SystemSound::Information);
    }
    focusAngleDialogIfVisible();
}

void MainWindow::StopAll()
{
    m_sequencer.runStop([this] { stopHandling(); });
}

void MainWindow::stopHandling()
{
    m_dispatch.stopEvery();
    m_timerBlink.stop();
    m_timerTrackOK.stop();
    showLamp(false);
    m_state.lastSentAzimuth = -10;
}

void MainWindow::BitBtnStopClick()
{
    StopAll();
    focusAngleDialogIfVisible();
}

void MainWindow::BitBtnLPClick()
{
    const auto shown = toWholeNumber(m_lcdText);
    if (!shown)
        return;
    setStepperPosition(*shown < 180 ? *shown + 180 : *shown - 180);
}

void MainWindow::BitBtnAutoClick()
{
    if (!m_autoOn) {
        m_autoOn = true;
        m_buttonAuto->setText(QStringLiteral("AUTO ON"));
        m_buttonAuto->setGeometry(m_autoButtonBounds.left() + 2, m_autoButtonBounds.top() + 2,
                                  m_autoButtonBounds.width(), m_autoButtonBounds.height() - 2);
    } else {
        m_autoOn = false;
        m_buttonAuto->setText(QStringLiteral("AUTO OFF"));
        m_buttonAuto->setGeometry(m_autoButtonBounds);
    }
    // Red lettering is the AUTO state the user reads; the sunken look follows it.
    m_buttonAuto->setLit(m_autoOn);
    if (!m_loadingSettings)
        focusAngleDialogIfVisible();
}

void MainWindow::MenuInitClick()
{
    StopAll();
    m_state.lastSentAzimuth = -10;
    m_serial->closeAll();
    showSetupDialog();
}

void MainWindow::menuVoirCommandeClick()
{
    if (!m_diagnostics->isHidden())
        return;
    m_labelEtatInterface->setText(m_interfaceLabel);
    showDatagramEcho();
    const int growth = m_diagnostics->sizeHint().height();
    m_diagnostics->show();
    setFixedHeight(height() + growth);
    // Room made for the strip, not a size the user chose: it is not saved.
    m_diagnosticsGrowth = growth;
}

void MainWindow::showInterfaceLabel(const QString &text)
{
    m_interfaceLabel = text;
    if (m_diagnostics->isVisible())
        m_labelEtatInterface->setText(text);
}

void MainWindow::showDatagramEcho()
{
    if (!m_unshownDatagram)
        return;
    const DatagramTurn &turn = *m_unshownDatagram;
    m_editDataString->setText(receivedEcho(turn.lastDatagram, turn.sender, turn.senderPort));
    m_unshownDatagram.reset();
}

void MainWindow::showLamp(bool on)
{
    // The lit lamp is drawn when it first lights: nothing shows it before, and
    // its glow started Qt's painting threads before the window's first paint.
    if (on && m_ledOn->pixmap().isNull())
        m_ledOn->setPixmap(lampImage(true, devicePixelRatioF()));
    m_ledOn->setVisible(on);
    m_ledOff->setVisible(!on);
}

void MainWindow::TimerBlinkTimer()
{
    showLamp(!m_ledOff->isHidden());
}

void MainWindow::TimerTrackOKTimer()
{
    m_timerBlink.stop();
    m_timerTrackOK.stop();
    showLamp(false);
}

void MainWindow::focusAngleDialogIfVisible()
{
    if (m_angleDialog && m_angleDialog->isVisible()) {
        m_angleDialog->activateWindow();
        m_angleDialog->setFocus();
    }
}
