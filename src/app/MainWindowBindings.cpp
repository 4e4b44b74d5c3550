// The window as a view: what the station says shown on the widgets, and the
// user's actions handed to the station.
#include "app/AzimuthStepper.h"
#include "app/FramePacer.h"
#include "app/MainWindow.h"
#include "config/NumberText.h"
#include "config/Translation.h"
#include "core/LanguageTexts.h"
#include "dialogs/AngleDialog.h"
#include "dialogs/FavouritesEditor.h"
#include "dialogs/SetupDialog.h"
#include "sources/UdpRotorMessage.h"
#include "ui/AboutBox.h"
#include "ui/CompassView.h"
#include "ui/LampImage.h"
#include "ui/PanelButton.h"
#include "core/UserFeedback.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLCDNumber>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>
#include <utility>

using namespace NumberText;

namespace {

// Enough of the window to grab and move it back.
bool showsOnAScreen(const QRect &window)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    return std::any_of(screens.cbegin(), screens.cend(), [&window](const QScreen *screen) {
        const QRect visible = screen->geometry().intersected(window);
        return visible.width() >= qMin(window.width(), 100) && visible.height() >= qMin(window.height(), 30);
    });
}

// Wayland does not tell a client where its windows stand: x() and y() there are
// made up, and writing them would move the windows on the next X11 start.
bool platformReportsWindowPlaces()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QSize largestScreenSize()
{
    QSize largest;
    for (const QScreen *screen : QGuiApplication::screens())
        largest = largest.expandedTo(screen->geometry().size());
    return largest;
}

// What a box text that is not a whole number holds for a GO.
AzimuthEntry entryOf(const QString &text)
{
    if (text.isEmpty())
        return {AzimuthEntry::Kind::Empty, 0};
    if (const auto real = toReal(text))
        return {AzimuthEntry::Kind::Number, *real};
    return {AzimuthEntry::Kind::NotANumber, 0};
}

} // namespace

void MainWindow::bindStation()
{
    Station &s = m_station;
    // What a command changes is noted here and shown at the frame's end, after its
    // bytes have left (or at once when the user's input needs it).
    connect(&s, &Station::targetChanged, this, [this](int azimuth, EntryOrigin origin) {
        m_pending.target = {azimuth, origin};
        // How a held stepper steps is behaviour, not display: it cannot wait.
        if (m_stepperHeld && azimuth % 10 == 0)
            m_stepper->setIncrement(10);
        m_framePacer->request();
    });
    const auto note = [this](bool Pending::*change) {
        return [this, change] {
            m_pending.*change = true;
            m_framePacer->request();
        };
    };
    connect(&s, &Station::lampChanged, this, note(&Pending::lamp));
    connect(&s, &Station::interfaceLabelChanged, this, note(&Pending::interfaceLabel));
    connect(&s, &Station::reportedAzimuthChanged, this, note(&Pending::reportedAzimuth));
    connect(&s, &Station::goHandled, this, note(&Pending::goHandled));
    connect(&s, &Station::datagramReceived, this, [this](const DatagramTurn &turn) {
        m_unshownDatagram = turn;
        m_framePacer->request();
    });
    connect(&s, &Station::entryCleared, this, [this] {
        const QScopedValueRollback showing(m_showingStation, true);
        m_editAzimut->clear();
        conversionNotice(QString());
    });
    connect(&s, &Station::autoChanged, this, &MainWindow::showAuto);
    connect(&s, &Station::languageChanged, this, &MainWindow::setLanguageTexts);
    connect(&s, &Station::sourceChanged, this, &MainWindow::showSource);
    connect(&s, &Station::captionChanged, this, &QWidget::setWindowTitle);
    connect(&s, &Station::koruPortChanged, this, &MainWindow::showDefaultPort);
    connect(&s, &Station::rotctldChanged, this, &MainWindow::refreshRotctldMenuItem);
    connect(&s, &Station::conversionRefused, this, &MainWindow::conversionNotice);
    connect(&s, &Station::favouriteCaptionChanged, this, &MainWindow::showFavouriteCaption);
    connect(&s, &Station::comPortsChanged, this, [this] {
        if (m_setupDialog)
            m_setupDialog->fillFromChoices();
    });
    connect(&s, &Station::closed, this, [this] {
        // Hidden, not closed: a window that refuses to close (the setup dialog with
        // a bad field) must neither keep the program running nor send anything more.
        for (QWidget *window : std::initializer_list<QWidget *> {m_setupDialog, m_aboutBox, m_angleDialog,
                                                                  m_favouritesEditor}) {
            if (window)
                window->hide();
        }
        close();
    });
    s.setPlacementReader([this](WindowPlacement &placement) { readPlacement(placement); });

    // What the settings chose before the window existed.
    setLanguageTexts();
    showAuto(s.isAutoOn());
    showSource(s.azimuthSource());
    showTarget(s.shownAzimuth(), EntryOrigin::Restore);
    refreshRotctldMenuItem();
}

void MainWindow::EditAzimutChange(const QString &text)
{
    if (m_showingStation)
        return;
    if (const auto whole = toWholeNumber(text)) {
        m_station.enter(*whole, EntryOrigin::Typed);
        return;
    }
    conversionNotice(text);
    m_station.holdEntry(entryOf(text));
}

void MainWindow::catchUpWithStation()
{
    Pending pending = std::exchange(m_pending, {});
    if (pending.target)
        showTarget(pending.target->first, pending.target->second);
    if (pending.lamp)
        showLamp(m_station.lampOn());
    if (pending.interfaceLabel && m_diagnostics->isVisible())
        m_labelEtatInterface->setText(m_station.interfaceLabel());
    if (pending.reportedAzimuth)
        showReportedAzimuth(m_station.reportedAzimuth());
    if (m_diagnostics->isVisible())
        showDatagramEcho();
    if (pending.goHandled)
        focusAngleDialogIfVisible();
}

void MainWindow::showTarget(int azimuth, EntryOrigin origin)
{
    // What the user is typing stays as typed ("045"), unless it had to wrap.
    if (origin != EntryOrigin::Typed || toWholeNumber(m_editAzimut->text()) != azimuth) {
        const QScopedValueRollback showing(m_showingStation, true);
        m_editAzimut->setText(QString::number(azimuth));
    }
    m_stepper->showPosition(azimuth);
    m_lcd->display(QString::number(azimuth));
    m_compass->setAzimuth(azimuth);
    // The angle window is not told back what it has just said.
    if (origin != EntryOrigin::AngleWindow) {
        if (m_angleDialog)
            m_angleDialog->showAzimuth(azimuth);
    }
    focusAngleDialogIfVisible();
}

void MainWindow::conversionNotice(const QString &value)
{
    m_station.feedback().conversionNotice(m_editAzimut, integerConversionMessage(value, m_station.language()));
}

void MainWindow::setStepperPosition(int azimuth)
{
    m_stepper->setPosition(azimuth);
}

void MainWindow::takeAngle(int azimuth)
{
    if (m_station.isAutoOn())
        m_station.enterAndGo(azimuth, EntryOrigin::AngleWindow);
    else
        m_station.enter(azimuth, EntryOrigin::AngleWindow);
}

void MainWindow::BitBtnStopClick()
{
    m_station.StopAll();
    focusAngleDialogIfVisible();
}

void MainWindow::BitBtnLPClick()
{
    m_station.longPath();
}

void MainWindow::BitBtnAutoClick()
{
    m_station.setAuto(!m_station.isAutoOn());
    focusAngleDialogIfVisible();
}

void MainWindow::showAuto(bool on)
{
    if (on)
        m_buttonAuto->setText(QStringLiteral("AUTO ON"));
    else if (m_station.autoToggled())
        m_buttonAuto->setText(QStringLiteral("AUTO OFF"));
    placeAutoButton(on);
    // Red lettering is the AUTO state the user reads; the sunken look follows it.
    m_buttonAuto->setLit(on);
}

void MainWindow::placeAutoButton(bool on)
{
    if (on) {
        m_buttonAuto->setGeometry(m_autoButtonBounds.left() + 2, m_autoButtonBounds.top() + 2,
                                  m_autoButtonBounds.width(), m_autoButtonBounds.height() - 2);
    } else {
        m_buttonAuto->setGeometry(m_autoButtonBounds);
    }
}

void MainWindow::MenuInitClick()
{
    m_station.prepareSetup();
    // Not modal: the main window stays usable while the dialog is open.
    setupDialog().show();
    setupDialog().raise();
    setupDialog().activateWindow();
}

void MainWindow::menuVoirCommandeClick()
{
    if (!m_diagnostics->isHidden())
        return;
    m_labelEtatInterface->setText(m_station.interfaceLabel());
    showDefaultPort(m_station.koruPort());
    showDatagramEcho();
    // Room made for the strip, not a size the user chose: it is not saved.
    m_diagnosticsGrowth = m_diagnostics->sizeHint().height();
    m_diagnostics->show();
    fitToTexts();
}

void MainWindow::showDatagramEcho()
{
    if (!m_unshownDatagram)
        return;
    const DatagramTurn &turn = *m_unshownDatagram;
    m_editDataString->setText(receivedEcho(turn.lastDatagram, turn.sender, turn.senderPort));
    m_unshownDatagram.reset();
}

void MainWindow::showDefaultPort(quint16 port)
{
    m_label1->setText(QStringLiteral("Defaultport=%1").arg(port));
}

void MainWindow::showFavouriteCaption(int n, const QString &caption)
{
    if (n >= 1 && n <= FavouriteCount) {
        m_favouriteButtons[n - 1]->setText(caption);
        fitToTexts();
    }
}

void MainWindow::showDiagnosticText(const QString &text)
{
    m_labelEtatInterface->setText(text);
}

void MainWindow::showLamp(bool on)
{
    // The lit lamp is drawn when it first lights: nothing shows it before.
    if (on && m_ledOn->pixmap().isNull())
        m_ledOn->setPixmap(lampImage(true, devicePixelRatioF()));
    m_ledOn->setVisible(on);
    m_ledOff->setVisible(!on);
}

void MainWindow::focusAngleDialogIfVisible()
{
    if (m_angleDialog && m_angleDialog->isVisible()) {
        m_angleDialog->activateWindow();
        m_angleDialog->setFocus();
    }
}

void MainWindow::favouriteReleased(int n, Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        favouritesEditor().show();
        favouritesEditor().raise();
        return;
    }
    if (button == Qt::LeftButton || button == Qt::MiddleButton)
        m_station.enterFavourite(n);
}

void MainWindow::setLanguageTexts()
{
    const Language language = m_station.language();
    // Standard buttons and context menus speak the language of the rest.
    Translation::followWithQtTexts(language);
    for (QAction *item : m_languages->actions())
        item->setChecked(item->data().toString() == language.code());
    const LanguageTexts &texts = languageTexts(language);
    m_menuQuitter->setText(texts.quit);
    m_menuServer->setTitle(serverMenuCaption(language, m_station.azimuthSource(), false));
    m_menuFav->setText(texts.favourites);
    m_menuAzimut->setText(texts.azimuth);
    m_menuLangue->setTitle(texts.language);
    m_menuAPropos->setText(texts.about);
    m_menuAide->setText(texts.help);
    refreshRotctldMenuItem();
    showReportedAzimuth(m_station.reportedAzimuth());
    fitToTexts();
}

void MainWindow::showSource(AzimuthSource source)
{
    QAction *item = source == AzimuthSource::Geomundo ? m_menuServerGeomundo
        : source == AzimuthSource::BeamDx             ? m_menuServerBeamDX
        : source == AzimuthSource::Koru               ? m_menuServerKORU
                                                      : nullptr;
    if (item)
        item->setChecked(true);
    // Choosing a desktop server from the menu gives the title its accelerator.
    const bool desktopServer = source == AzimuthSource::Geomundo || source == AzimuthSource::BeamDx;
    m_menuServer->setTitle(serverMenuCaption(m_station.language(), source, desktopServer));
    fitToTexts();
}

void MainWindow::refreshRotctldMenuItem()
{
    m_menuServerRotctld->setText(languageTexts(m_station.language())
                                     .rotctldServer.arg(m_station.configuration().extensions.rotctldListenPort()));
    m_menuServerRotctld->setChecked(m_station.rotctldListening());
}

void MainWindow::showReportedAzimuth(std::optional<double> reported)
{
    m_labelPosition->setText(
        reported ? languageTexts(m_station.language()).antennaAt.arg(qRound(*reported) % 360) : QString());
    m_compass->setReportedAzimuth(reported);
}

QString MainWindow::positionLabelText() const
{
    return m_labelPosition->text();
}

void MainWindow::applyLoadedPlacement()
{
    const WindowPlacement &loaded = m_station.placement();
    // Each dimension on its own: one key alone keeps the designed other one, and a
    // size no screen can show (a damaged or hand-edited file) is not taken. A size
    // smaller than the texts need is kept, and written back, but not shown.
    const QSize largest = largestScreenSize();
    const auto sensible = [](std::optional<int> value, int high, int otherwise) {
        return value && *value > 0 && *value <= high ? *value : otherwise;
    };
    m_chosenSize = QSize(sensible(loaded.width, largest.width(), m_chosenSize.width()),
                         sensible(loaded.height, largest.height(), m_chosenSize.height()));
    fitToTexts();
    if (loaded.left || loaded.top) {
        const QPoint at(loaded.left.value_or(x()), loaded.top.value_or(y()));
        if (showsOnAScreen(QRect(at, size())))
            move(at);
    }
}

void MainWindow::readPlacement(WindowPlacement &placement) const
{
    // Where places are unknown, the ones read from the file are written back.
    const bool placesKnown = platformReportsWindowPlaces();
    if (placesKnown) {
        placement.left = x();
        placement.top = y();
    }
    placement.width = m_chosenSize.width();
    placement.height = m_chosenSize.height();
    if (m_angleDialog) {
        if (placesKnown) {
            placement.angleLeft = m_angleDialog->x();
            placement.angleTop = m_angleDialog->y();
        }
        placement.angleVisible = m_angleDialog->isVisible();
        placement.angleText = m_angleDialog->angleText();
    }
}

void MainWindow::placeAngleDialog()
{
    // A hidden one is built, and placed the same way, when first needed.
    if (m_station.placement().angleVisible)
        angleDialog().show();
}

AngleDialog &MainWindow::angleDialog()
{
    if (!m_angleDialog) {
        m_angleDialog = new AngleDialog(*this, m_station.feedback(), this);
        const WindowPlacement &placement = m_station.placement();
        m_angleDialog->applyPlacement(placement.angleTop, placement.angleLeft, 0);
        m_angleDialog->showAzimuth(m_station.shownAzimuth());
    }
    return *m_angleDialog;
}

FavouritesEditor &MainWindow::favouritesEditor()
{
    if (!m_favouritesEditor) {
        // It reads the favourites each time it is shown.
        m_favouritesEditor = new FavouritesEditor(
            m_station.configuration(), m_station.feedback(), [this] { return m_station.language(); },
            [this](int n, const QString &caption) { showFavouriteCaption(n, caption); }, this);
    }
    return *m_favouritesEditor;
}

SetupDialog &MainWindow::setupDialog()
{
    if (!m_setupDialog) {
        m_setupDialog = new SetupDialog(SetupDialogContext(m_station), this);
        m_setupDialog->fillFromChoices();
    }
    return *m_setupDialog;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editAzimut && event->type() == QEvent::KeyPress) {
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
                m_station.enterFavourite(i + 1);
            return key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        }
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool MainWindow::event(QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::WindowActivate || type == QEvent::Show) && !m_station.activatedOnce()) {
        if (!m_firstPaintDone) {
            // The window is drawn first: the probes, the listener and the links
            // of the first activation would otherwise hold up its first paint.
            m_firstActivationDue = true;
        } else if (type == QEvent::WindowActivate) {
            m_station.FormActivate();
        } else {
            // Some platforms (offscreen, a bare X server) never activate the
            // window; the first activation must still happen once the loop runs.
            QTimer::singleShot(0, this, [this] {
                if (isVisible())
                    m_station.FormActivate();
            });
        }
    }
    return QWidget::event(event);
}

void MainWindow::firstPaintDone()
{
    m_firstPaintDone = true;
    // Listed now rather than before the window is drawn: the saved ports are
    // reconciled against this list only at the first activation, which follows.
    m_station.EnumerateComPorts();
    if (std::exchange(m_firstActivationDue, false) && isVisible())
        m_station.FormActivate();
}

void MainWindow::changeEvent(QEvent *event)
{
    // A desktop that changes its font or style while the program runs.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitToTexts();
    QWidget::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_station.closingFinished()) {
        event->accept();
        return;
    }
    // The station closes in order (it may wait for a command under way) and
    // then closes this window again.
    m_station.requestClose();
    // Done at once unless a command under way made the station wait.
    event->setAccepted(m_station.closingFinished());
}
