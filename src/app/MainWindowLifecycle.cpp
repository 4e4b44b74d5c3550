// Start-up, first activation, closing and the settings file.
#include "app/AzimuthBox.h"
#include "app/AzimuthStepper.h"
#include "app/LanguageTexts.h"
#include "app/MainWindow.h"
#include "app/StatusCaption.h"
#include "config/ConfigurationWriter.h"
#include "config/NumberText.h"
#include "config/SettingsFiles.h"
#include "dialogs/AngleDialog.h"
#include "dialogs/ComPortSelection.h"
#include "dialogs/FavouritesEditor.h"
#include "dialogs/SetupDialog.h"
#include "dialogs/SetupTexts.h"
#include "host/ComPortList.h"
#include "host/ComPortNames.h"
#include "host/PortReconciliation.h"
#include "rotors/PortIo.h"
#include "rotors/SerialRotors.h"
#include "rotors/OutsideRotors.h"
#include "sources/DdeLink.h"
#include "sources/DdeValue.h"
#include "sources/SourceAzimuth.h"
#include "sources/UdpListener.h"
#include "sources/UdpRotorMessage.h"
#include "ui/AboutBox.h"
#include "ui/UserFeedback.h"

#include <QAction>
#include <QCloseEvent>
#include <QScopedValueRollback>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <utility>

using namespace NumberText;

namespace {
const QString ProgramTitle = QStringLiteral("Orvantis");
// How long a close waits for a command under way before it stops it.
constexpr qint64 CloseWaitMs = 2000;
// How long an unattended close may take before it is hurried to its end.
constexpr int UnattendedCloseMs = 2500;

// Enough of the window to grab and move it back.
bool showsOnAScreen(const QRect &window)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    return std::any_of(screens.cbegin(), screens.cend(), [&window](const QScreen *screen) {
        const QRect visible = screen->geometry().intersected(window);
        return visible.width() >= qMin(window.width(), 100) && visible.height() >= qMin(window.height(), 30);
    });
}

QSize largestScreenSize()
{
    QSize largest;
    for (const QScreen *screen : QGuiApplication::screens())
        largest = largest.expandedTo(screen->geometry().size());
    return largest;
}

} // namespace

void MainWindow::FormCreate()
{
    m_parallel = startParallelPorts(m_roots.sys, m_roots.proc, m_roots.dev);
    loadSettings();
}

void MainWindow::loadSettings()
{
    m_loadingSettings = true;
    if (m_files.existedAtStart()) {
        QByteArray bytes;
        QString failure;
        if (!m_files.read(&bytes, &failure)) {
            reportOnceRunning([this, failure] { m_feedback.error(ProgramTitle, failure); });
        } else {
            const LoadReport report = LoadConfiguration(bytes, m_files.iniPath(), m_config, *this, m_parallel.portsUsable());
            // One box for a damaged file, not one per line: the rest was still read.
            if (!report.conversionErrors.isEmpty()) {
                const QString message = report.conversionErrors.first();
                reportOnceRunning([this, message] { m_feedback.error(ProgramTitle, message); });
            }
        }
    }
    applyLoadedPlacement();
    assignHiddenShortcuts();
    UpdateCompass();
    m_loadingSettings = false;

    m_udp->setPort(static_cast<quint16>(m_config.koruListeningPort()));

    if (m_config.interfaceKind == InterfaceKind::Kct
        && !QFile::exists(m_config.movenowDirectory + QStringLiteral("Movenow.com"))) {
        const QString text = setupTexts(m_french).movenowMissing;
        reportOnceRunning([this, text] { m_feedback.warning(QStringLiteral("Avertissement"), text); });
        m_config.interfaceKind = InterfaceKind::None;
        // An unmounted drive is not a change of mind either.
        m_choices.interfaceAbsentAtStart = InterfaceKind::Kct;
    }
}

void MainWindow::reportOnceRunning(std::function<void()> report)
{
    // Boxes about the settings wait for the event loop: a modal box inside the
    // window's creation would hold up start-up, and a SIGTERM meanwhile could not
    // run the closing sequence that saves the settings.
    QTimer::singleShot(0, this, std::move(report));
}

void MainWindow::applyLanguage(bool french)
{
    french ? MenuFrancaisClick() : MenuEnglishClick();
}

void MainWindow::pressAuto()
{
    BitBtnAutoClick();
}

void MainWindow::chooseServer(AzimuthSource source)
{
    switch (source) {
    case AzimuthSource::Geomundo:
        MenuServerGeomundoClick();
        break;
    case AzimuthSource::BeamDx:
        menuServerBeamDXClick();
        break;
    case AzimuthSource::Koru:
        m_loadingKoruChoice = true;
        MenuServerKORUClick();
        m_loadingKoruChoice = false;
        break;
    case AzimuthSource::None:
        break;
    }
}

void MainWindow::setFavouriteCaption(int n, const QString &caption)
{
    if (n >= 1 && n <= FavouriteCount)
        m_favouriteButtons[n - 1]->setText(caption);
}

void MainWindow::setWindowGeometry(WindowField field, int value)
{
    m_loadedPlacement[static_cast<int>(field)] = value;
}

void MainWindow::applyLoadedPlacement()
{
    const auto loaded = [this](WindowField field) { return m_loadedPlacement[static_cast<int>(field)]; };
    // Each dimension on its own: one key alone keeps the designed other one,
    // and a size no screen can show (a damaged or hand-edited file) is not taken.
    const QSize designed = size(); // the fixed layout, as built
    const QSize smallest = minimumSizeHint();
    const QSize largest = largestScreenSize();
    const auto sensible = [](std::optional<int> value, int low, int high, int otherwise) {
        return value && *value >= low && *value <= high ? *value : otherwise;
    };
    if (loaded(WindowField::Width) || loaded(WindowField::Height)) {
        setFixedSize(sensible(loaded(WindowField::Width), smallest.width(), largest.width(), designed.width()),
                     sensible(loaded(WindowField::Height), smallest.height(), largest.height(), designed.height()));
    }
    if (loaded(WindowField::Left) || loaded(WindowField::Top)) {
        const QPoint at(loaded(WindowField::Left).value_or(x()), loaded(WindowField::Top).value_or(y()));
        if (showsOnAScreen(QRect(at, size())))
            move(at);
    }
}

void MainWindow::setChannelBaud(InterfaceKind kind, int baudIndex)
{
    m_serial->SetChannelBaud(kind, baudIndex);
}

void MainWindow::EnumerateComPorts()
{
    m_choices.comPorts = ::EnumerateComPorts(m_roots.sys, m_files.dosdevicesPath(), m_roots.dev);
}

void MainWindow::placeAngleDialog()
{
    // A hidden one is built, and placed the same way, when first needed.
    if (m_config.angleShown == 1)
        angleDialog().show();
}

bool MainWindow::event(QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::WindowActivate || type == QEvent::Show) && !m_activatedOnce) {
        if (!m_firstPaintDone) {
            // The window is drawn first: the probes, the listener and the links
            // of the first activation would otherwise hold up its first paint.
            m_firstActivationDue = true;
        } else if (type == QEvent::WindowActivate) {
            FormActivate();
        } else {
            // Some platforms (offscreen, a bare X server) never activate the
            // window; the first activation must still happen once the loop runs.
            QTimer::singleShot(0, this, [this] {
                if (!m_activatedOnce && isVisible())
                    FormActivate();
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
    EnumerateComPorts();
    if (std::exchange(m_firstActivationDue, false) && !m_activatedOnce && isVisible())
        FormActivate();
}

void MainWindow::FormActivate()
{
    // The restoring GO below pauses, and activation events arrive meanwhile.
    if (m_activating)
        return;
    const QScopedValueRollback activating(m_activating, true);

    if (!m_udp->isActive()) {
        m_choices.koruPortText = m_config.koruPortText;
        m_choices.koruAntennaText = m_config.koruAntennaText;
        refreshDefaultPortLabel();
        if (m_menuServerKORU->isChecked())
            activateKoruListener();
    }

    m_choices.pourSatLptItems = lptListItems(m_parallel.lptPorts, m_parallel.pourSatAddresses);
    m_choices.fodTrackLptItems = lptListItems(m_parallel.lptPorts, m_parallel.fodTrackAddresses);
    m_choices.pourSatLptSelection = lptSelection(m_parallel.lptPorts, m_config.at(InterfaceKind::PourSat).port);
    m_choices.fodTrackLptSelection = lptSelection(m_parallel.lptPorts, m_config.at(InterfaceKind::FodTrack).port);

    for (InterfaceKind kind : {InterfaceKind::Gs232, InterfaceKind::EasyComm, InterfaceKind::Dcu1,
                               InterfaceKind::TrakBox}) {
        if (m_config.at(kind).baudIndex != -1)
            m_serial->SetChannelBaud(kind, m_config.at(kind).baudIndex);
    }

    reconcileSavedPorts();
    // An open dialog shows what the reconciling chose.
    fillSetupDialog();
    rebuildCaption();

    if (const auto address = selectedLptAddress())
        m_portIo.EnablePorts(*address, *address);

    if (!m_dde->isOpen()) {
        if (m_menuServerGeomundo->isChecked())
            setDdeLink(QStringLiteral("Geomundo"));
        if (m_menuServerBeamDX->isChecked())
            setDdeLink(QStringLiteral("Beam_DX"));
    }

    if (m_config.restoreAngle) {
        if (!m_lastDdeValue.isEmpty())
            m_config.restoreAngleText = m_lastDdeValue;
        const auto restored = toWholeNumber(m_config.restoreAngleText);
        if (!restored) {
            // Left as it is, the first activation runs again at the next activation.
            conversionNotice(m_config.restoreAngleText);
            return;
        }
        setStepperPosition(*restored);
        if (!m_lastDdeValue.isEmpty() && m_lastDdeValue != QStringLiteral("0") && m_autoOn)
            ButtonTrackClick();
    }

    applyRotctldSetting();
    m_activatedOnce = true;
    focusAngleDialogIfVisible();
}

void MainWindow::reconcileSavedPorts()
{
    QStringList names;
    for (const SetupChoices::ComPortEntry &entry : m_choices.comPorts)
        names << entry.name;
    for (InterfaceKind kind : {InterfaceKind::Gs232, InterfaceKind::EasyComm, InterfaceKind::TrakBox,
                               InterfaceKind::ProSisTel, InterfaceKind::Dcu1, InterfaceKind::M2Orion,
                               InterfaceKind::Egis}) {
        const int saved = m_config.at(kind).port;
        if (saved == -1)
            continue;
        // Selected as a click in its list would, so the port is probed now: a
        // TrakBox gets its wake-up texts before its first command. A port already
        // selected (the first activation run again) is not probed twice.
        const int match = matchSavedPort(names, saved);
        if (match != -1 && (m_choices.comSelection[ordinal(kind)] == match || selectSavedPort(kind, match)))
            continue;
        // An unplugged adapter, or one that would not open, is not a change of
        // mind: the port and the interface are written back as they were unless
        // the user picks something else.
        m_config.at(kind).port = saved;
        m_choices.comSelection[ordinal(kind)] = -1;
        m_choices.comAbsentAtStart[ordinal(kind)] = true;
        if (m_config.interfaceKind == kind) {
            m_choices.interfaceAbsentAtStart = kind;
            m_config.interfaceKind = InterfaceKind::None;
        }
    }
}

bool MainWindow::selectSavedPort(InterfaceKind kind, int item)
{
    const bool opened = selectComPort(m_choices, *m_serial, kind, item);
    rebuildCaption();
    return opened;
}

std::optional<quint16> MainWindow::selectedLptAddress() const
{
    const InterfaceKind kind = m_config.interfaceKind;
    const int lpt = isParallel(kind) ? m_config.at(kind).port : -1;
    if (lpt < 0 || lpt >= LptSlotCount || !m_parallel.portRangesEnabled())
        return std::nullopt;
    return kind == InterfaceKind::PourSat ? m_parallel.pourSatAddresses[lpt] : m_parallel.fodTrackAddresses[lpt];
}

void MainWindow::rebuildCaption()
{
    std::array<QString, 3> lptNames;
    for (int i = 0; i < LptSlotCount; ++i)
        lptNames[i] = m_parallel.lptPorts[i].name;
    setWindowTitle(BuildStatusCaption(m_config, lptNames));
}

void MainWindow::refreshDefaultPortLabel()
{
    m_label1->setText(QStringLiteral("Defaultport=%1").arg(m_udp->port()));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_closingFinished) {
        event->accept();
        return;
    }
    if (m_closed) {
        // Asked again while the sequence runs (a signal during one of its boxes or
        // pauses): the running sequence ends the program when it is done.
        event->ignore();
        return;
    }
    if (!m_closeRequested.isValid())
        m_closeRequested.start();
    if (m_sequencer.busy() && m_closeRequested.elapsed() < CloseWaitMs) {
        // A close that arrives in the middle of a command (a signal handled during
        // a pause) waits for it: the closing commands must not interleave with it.
        // A command held up longer (a message box waiting for an answer) is
        // stopped by the closing sequence instead, so the settings are still saved.
        event->ignore();
        QTimer::singleShot(10, this, &QWidget::close);
        return;
    }
    runClosingSequence();
    event->accept();
    Q_EMIT closed();
}

void MainWindow::closeUnattended()
{
    m_feedback.stopWaitingForUser();
    // Also when a close the user started is already under way: nobody answers it now.
    if (!m_closingFinished) {
        // Ending every event loop makes each remaining pause and write return at
        // once: the sequence still runs every step, and saves, but without waiting.
        QTimer::singleShot(UnattendedCloseMs, this, [this] {
            if (!m_closingFinished)
                QCoreApplication::exit(0);
        });
    }
    close();
}

void MainWindow::showDiagnosticText(const QString &text)
{
    m_labelEtatInterface->setText(text);
}

void MainWindow::runClosingSequence()
{
    if (m_closed)
        return;
    m_closed = true;

    StopAll();

    if (m_config.parkingInterface != 0) {
        setStepperPosition(static_cast<int>(roundHalfEven(m_config.parkingAzimuth)));
        ButtonTrackClick();
    }

    if (const auto address = selectedLptAddress())
        m_portIo.DisablePorts(*address, *address);

    m_outside->closeForShutdown(m_config.parkingInterface, m_config.interfaceKind);
    m_serial->closeForShutdown(m_config.parkingInterface, m_config.interfaceKind);
    // Also a link still waiting for the bus's answer must not open after this.
    m_dde->closeLink();

    m_udp->deactivate();
    save_configuration();
    // Hidden, not closed: a window that refuses to close (the setup dialog with
    // a bad field) must neither keep the program running nor send anything more.
    for (QWidget *window : std::initializer_list<QWidget *> {m_setupDialog, m_aboutBox, m_angleDialog, m_favouritesEditor}) {
        if (window)
            window->hide();
    }
    m_closingFinished = true;
}

void MainWindow::save_configuration()
{
    WriterInputs inputs;
    inputs.french = m_french;
    inputs.autoOn = m_autoOn;
    inputs.source = m_source;
    inputs.koruPortText = m_choices.koruPortText;
    inputs.koruAntennaText = m_choices.koruAntennaText;
    for (InterfaceKind kind : SerialInterfaceKinds) {
        const QString selected = m_choices.selectedComName(kind);
        if (!selected.isEmpty())
            inputs.comPortNumber[ordinal(kind)] = comNumber(selected);
        else if (m_choices.comAbsentAtStart[ordinal(kind)] && m_config.at(kind).port >= 0)
            inputs.comPortNumber[ordinal(kind)] = m_config.at(kind).port + 1;
    }
    inputs.gs232Elevation = m_config.gs232Elevation;
    inputs.windowLeft = x();
    inputs.windowTop = y();
    inputs.windowWidth = width();
    inputs.windowHeight = height() - m_diagnosticsGrowth;
    // Built now if it never was: it knows where it would have stood and what it shows.
    const AngleDialog &angle = angleDialog();
    inputs.angleLeft = angle.x();
    inputs.angleTop = angle.y();
    inputs.angleVisible = angle.isVisible();
    inputs.angleText = angle.angleText();

    Configuration written = m_config;
    if (written.interfaceKind == InterfaceKind::None && m_choices.interfaceAbsentAtStart)
        written.interfaceKind = *m_choices.interfaceAbsentAtStart;

    if (m_files.readFailed()) {
        m_feedback.warning(ProgramTitle, m_files.leftUnreadText(m_french));
        return;
    }
    if (!m_files.replace(writeConfiguration(written, inputs)))
        m_feedback.error(QStringLiteral("Erreur"), SettingsFiles::createErrorText(m_french));
}

void MainWindow::MenuEnglishClick()
{
    m_menuEnglish->setChecked(true);
    m_french = false;
    setLanguageTexts();
}

void MainWindow::MenuFrancaisClick()
{
    m_menuFrancais->setChecked(true);
    m_french = true;
    setLanguageTexts();
}

void MainWindow::setLanguageTexts()
{
    const LanguageTexts &texts = languageTexts(m_french);
    m_menuQuitter->setText(texts.quit);
    m_menuServer->setTitle(serverMenuCaption(m_french, m_source, false));
    m_menuFav->setText(texts.favourites);
    m_menuAzimut->setText(texts.azimuth);
    m_menuLangue->setTitle(texts.language);
    m_menuAPropos->setText(texts.about);
    m_menuAide->setText(texts.help);
    refreshRotctldMenuItem();
    showReportedAzimuth();
}

void MainWindow::MenuServerGeomundoClick()
{
    chooseDdeServer(m_menuServerGeomundo, AzimuthSource::Geomundo, QStringLiteral("Geomundo"));
}

void MainWindow::menuServerBeamDXClick()
{
    chooseDdeServer(m_menuServerBeamDX, AzimuthSource::BeamDx, QStringLiteral("Beam_DX"));
}

void MainWindow::chooseDdeServer(QAction *item, AzimuthSource source, const QString &service)
{
    item->setChecked(true);
    m_source = source;
    m_menuServer->setTitle(serverMenuCaption(m_french, m_source, true));
    m_udp->deactivate();
    setDdeLink(service);
}

void MainWindow::setDdeLink(const QString &service)
{
    m_startLinkUnread = !m_activatedOnce;
    m_dde->setLink(service, QStringLiteral("Data"));
    m_dde->setItem(QStringLiteral("Azimuth"));
}

bool MainWindow::DdeClientItemChange(const QString &itemText)
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
        conversionNotice(*value);
        return false;
    }
    setStepperPosition(*azimuth);
    return true;
}

void MainWindow::DdeClientItemRead(const QString &itemText)
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

void MainWindow::MenuServerKORUClick()
{
    m_menuServerKORU->setChecked(true);
    m_source = AzimuthSource::Koru;
    m_menuServer->setTitle(serverMenuCaption(m_french, m_source, false));
    m_dde->closeLink();
    if (!m_loadingKoruChoice && !m_udp->isActive())
        activateKoruListener();
}

void MainWindow::activateKoruListener()
{
    if (m_udp->activate())
        return;
    const quint16 port = m_udp->port();
    m_notices.tell(QStringLiteral("udp %1").arg(port), ProgramTitle,
                   koruBindFailureText(m_french, port, m_udp->errorString(), m_udp->addressInUse()));
}

void MainWindow::UDPServerUDPRead(const DatagramTurn &turn)
{
    m_unshownDatagram = turn;
    if (m_diagnostics->isVisible())
        showDatagramEcho();
    // Once closing has begun, only the parking azimuth may be sent.
    if (m_closed || !m_menuServerKORU->isChecked() || !turn.request)
        return;
    enterRequestedAzimuth(turn.request->text, turn.request->azimuth);
}

void MainWindow::enterRequestedAzimuth(const QString &text, int azimuth)
{
    displayAzimuth(text);
    m_editAzimut->setText(text);
    // The GO above may have let newer requests through while it paused; bringing
    // the stepper back to this one's azimuth would then send a stale target.
    if (m_editAzimut->text() == text)
        setStepperPosition(azimuth);
}
