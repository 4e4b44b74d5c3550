// Giving an azimuth: the box, the stepper, the favourites and the compass.
#include "app/AzimuthBox.h"
#include "app/AzimuthStepper.h"
#include "app/CatchUpView.h"
#include "app/LanguageTexts.h"
#include "app/MainWindow.h"
#include "config/NumberText.h"
#include "dialogs/AngleDialog.h"
#include "dialogs/FavouritesEditor.h"
#include "rotors/PositionPoller.h"
#include "ui/CompassView.h"
#include "ui/UserFeedback.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

using namespace NumberText;

void MainWindow::setStepperPosition(int azimuth)
{
    m_stepper->setPosition(azimuth);
}

void MainWindow::EditAzimutChange()
{
    const auto first = toWholeNumber(m_editAzimut->text());
    if (!first) {
        conversionNotice(m_editAzimut->text());
        return;
    }
    if (*first >= 360)
        setStepperPosition(0);
    // The nested run above may have rewritten the box: work on what it holds now.
    const auto second = toWholeNumber(m_editAzimut->text());
    if (!second) {
        conversionNotice(m_editAzimut->text());
        return;
    }
    if (*second < 0)
        setStepperPosition(359);

    displayAzimuth(m_editAzimut->text());
    if (m_stepperHeld && m_stepper->position() % 10 == 0)
        m_stepper->setIncrement(10);
    UpdateCompass();
    focusAngleDialogIfVisible();

    if (!m_autoOn && !m_forcedSendRequest)
        return;
    if (m_forcedSendRequest) {
        m_forcedSendRequest = false;
        displayAzimuth(m_editAzimut->text());
        setStepperPosition(toWholeNumber(m_lcdText).value_or(0));
    }
    if (m_activatedOnce && !m_sendHeldBack)
        ButtonTrackClick();
}

void MainWindow::conversionNotice(const QString &value)
{
    m_feedback.conversionNotice(m_editAzimut->lineEdit(), integerConversionMessage(value, m_french));
}

void MainWindow::displayAzimuth(const QString &text)
{
    // The change handling shows what the source has just shown.
    if (text == m_lcdText)
        return;
    m_lcdText = text;
    m_lcdView->fallBehind();
}

void MainWindow::showReportedAzimuth()
{
    const std::optional<double> reported = m_poller->reportedAzimuth();
    m_labelPosition->setText(reported ? languageTexts(m_french).antennaAt.arg(qRound(*reported) % 360) : QString());
    m_compass->setReportedAzimuth(reported);
}

void MainWindow::UpdateCompass()
{
    const auto azimuth = toWholeNumber(m_editAzimut->text());
    if (!azimuth)
        return;
    m_compassAzimuth = *azimuth;
    m_compassView->fallBehind();
    if (!m_editAzimut->handlingChange())
        m_compassView->catchUp();
    if (m_loadingSettings)
        return;
    if (m_angleEchoSuppressed) {
        m_angleEchoSuppressed = false;
        return;
    }
    if (m_angleDialog)
        m_angleDialog->showAzimuth(*azimuth);
    else
        m_unbuiltAngleEcho = *azimuth;
}

void MainWindow::favouriteReleased(int n, Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        favouritesEditor().show();
        favouritesEditor().raise();
        return;
    }
    if (button == Qt::LeftButton || button == Qt::MiddleButton) {
        // Favourite azimuths are 16-bit values in the file; the stepper pulls any
        // value outside its range to the nearest end, which the box then wraps.
        setStepperPosition(static_cast<qint16>(m_config.favourites[n - 1].azimuth));
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editAzimut->lineEdit() && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            key->key() == Qt::Key_Up ? m_stepper->stepUp() : m_stepper->stepDown();
            return true;
        }
        return false;
    }
    for (int i = 0; i < FavouriteCount; ++i) {
        if (watched != m_favouriteButtons[i])
            continue;
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (m_favouriteButtons[i]->rect().contains(mouse->position().toPoint()))
                favouriteReleased(i + 1, mouse->button());
        } else if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->text() == QStringLiteral(" ") && !key->isAutoRepeat())
                setStepperPosition(static_cast<qint16>(m_config.favourites[i].azimuth));
            return key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        }
        break;
    }
    return QWidget::eventFilter(watched, event);
}
