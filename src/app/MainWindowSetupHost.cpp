// The main window's side of the setup dialog.
#include "app/AzimuthBox.h"
#include "app/MainWindow.h"
#include "config/SettingsFiles.h"
#include "dialogs/SetupDialog.h"
#include "host/ComPortNames.h"
#include "host/ComPortPin.h"

#include <QAction>

SetupDialog &MainWindow::setupDialog()
{
    if (!m_setupDialog) {
        // It only shows the choices and the record, so it may be built this late.
        m_setupDialog = new SetupDialog(SetupDialogContext {m_config, m_choices, m_state, m_feedback, *m_serial,
                                                            m_portIo, m_parallel, *m_udp, *this},
                                        this);
        m_setupDialog->fillFromChoices();
    }
    return *m_setupDialog;
}

void MainWindow::showSetupDialog()
{
    // Not modal: the main window stays usable while the dialog is open.
    setupDialog().show();
    setupDialog().raise();
    setupDialog().activateWindow();
}

void MainWindow::fillSetupDialog()
{
    if (m_setupDialog)
        m_setupDialog->fillFromChoices();
}

void MainWindow::stopRotator()
{
    StopAll();
}

void MainWindow::sendTestAzimuth(int azimuth)
{
    m_forcedSendRequest = true;
    m_editAzimut->setText(QString::number(azimuth));
}

void MainWindow::lowerForcedSend()
{
    m_forcedSendRequest = false;
}

bool MainWindow::frenchChecked() const
{
    return m_french;
}

bool MainWindow::koruServerChecked() const
{
    return m_menuServerKORU->isChecked();
}

bool MainWindow::pinComPort(const QString &comName, const QString &target, QString *error)
{
    if (!pinComName(m_files.dosdevicesPath(), comNumber(comName), target, error))
        return false;
    EnumerateComPorts();
    return true;
}
