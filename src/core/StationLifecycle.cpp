// Start, first activation, closing and the settings file.
#include "core/Station.h"

#include "config/ConfigurationWriter.h"
#include "config/NumberText.h"
#include "config/ProgramIdentity.h"
#include "config/SettingsFileTexts.h"
#include "config/SettingsFiles.h"
#include "core/LanguageTexts.h"
#include "core/SetupTexts.h"
#include "core/StatusCaption.h"
#include "host/ComPortList.h"
#include "host/ComPortNames.h"
#include "host/PortReconciliation.h"
#include "rotors/HamlibRotors.h"
#include "rotors/OutsideRotors.h"
#include "rotors/PortIo.h"
#include "rotors/PositionPoller.h"
#include "rotors/SerialRotors.h"
#include "sources/DdeLink.h"
#include "core/UserFeedback.h"

#include <QCoreApplication>
#include <QFile>
#include <QScopedValueRollback>

using namespace NumberText;

namespace {
// How long a close waits for a command under way before it stops it.
constexpr qint64 CloseWaitMs = 2000;
// How long an unattended close may take before it is hurried to its end.
constexpr qint64 UnattendedCloseMs = 2500;
// How long any close waits for a device that does not answer.
constexpr qint64 ClosingLimitMs = 3000;
// The closing's clock ticks this often; a longer gap between ticks is time the
// process stood still (stopped, suspended) and is not counted.
constexpr int ClosingTickMs = 50;
} // namespace

void Station::load()
{
    m_parallel = startParallelPorts(m_roots.sys, m_roots.proc, m_roots.dev);
    loadSettings();
}

void Station::loadSettings()
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
    m_loadingSettings = false;

    // Until the first activation has run, the settings are written back as read.
    m_choices.koruPortText = m_config.koruPortText;
    m_choices.koruAntennaText = m_config.koruAntennaText;
    m_placement.angleLeft = m_config.angleLeft;
    m_placement.angleTop = m_config.angleTop;
    m_placement.angleVisible = m_config.angleShown == 1;
    if (m_config.restoreAngle)
        m_placement.angleText = m_config.restoreAngleText;
    m_udp->setPort(static_cast<quint16>(m_config.koruListeningPort()));

    if (m_config.interfaceKind == InterfaceKind::Kct
        && !QFile::exists(m_config.movenowDirectory + QStringLiteral("Movenow.com"))) {
        const QString text = setupTexts(m_language).movenowMissing;
        reportOnceRunning([this, text] { m_feedback.warning(QStringLiteral("Avertissement"), text); });
        m_config.interfaceKind = InterfaceKind::None;
        // An unmounted drive is not a change of mind either.
        m_choices.interfaceAbsentAtStart = InterfaceKind::Kct;
    }
}

void Station::reportOnceRunning(std::function<void()> report)
{
    // Boxes about the settings wait for the event loop: a modal box during start-up
    // would hold it up, and a SIGTERM meanwhile could not run the closing sequence
    // that saves the settings.
    QTimer::singleShot(0, this, std::move(report));
}

void Station::chooseServer(AzimuthSource source)
{
    if (source != AzimuthSource::None)
        chooseSource(source);
}

void Station::setFavouriteCaption(int n, const QString &caption)
{
    Q_EMIT favouriteCaptionChanged(n, caption);
}

void Station::setWindowGeometry(WindowField field, int value)
{
    // In the order of WindowField.
    static constexpr std::optional<int> WindowPlacement::*Fields[] = {
        &WindowPlacement::top, &WindowPlacement::left, &WindowPlacement::width, &WindowPlacement::height};
    m_placement.*Fields[static_cast<int>(field)] = value;
}

void Station::setChannelBaud(InterfaceKind kind, int baudIndex)
{
    m_serial->SetChannelBaud(kind, baudIndex);
}

void Station::EnumerateComPorts()
{
    m_choices.comPorts = ::EnumerateComPorts(m_roots.sys, m_files.dosdevicesPath(), m_roots.dev);
}

void Station::FormActivate()
{
    if (m_activatedOnce)
        return;

    if (!m_udp->isActive()) {
        m_choices.koruPortText = m_config.koruPortText;
        m_choices.koruAntennaText = m_config.koruAntennaText;
        Q_EMIT koruPortChanged(m_udp->port());
        if (m_source == AzimuthSource::Koru)
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
    Q_EMIT comPortsChanged();
    rebuildCaption();

    if (const auto address = selectedLptAddress())
        m_portIo.EnablePorts(*address, *address);

    if (!m_dde->isOpen()) {
        if (m_source == AzimuthSource::Geomundo)
            setDdeLink(QStringLiteral("Geomundo"));
        if (m_source == AzimuthSource::BeamDx)
            setDdeLink(QStringLiteral("Beam_DX"));
    }

    if (m_config.restoreAngle) {
        if (!m_lastDdeValue.isEmpty())
            m_config.restoreAngleText = m_lastDdeValue;
        const auto restored = toWholeNumber(m_config.restoreAngleText);
        if (!restored) {
            // Left as it is, the first activation runs again at the next activation.
            Q_EMIT conversionRefused(m_config.restoreAngleText);
            return;
        }
        // Shown, not sent: nothing is sent before the first activation has ended.
        enter(*restored, EntryOrigin::Restore);
        if (!m_lastDdeValue.isEmpty() && m_lastDdeValue != QStringLiteral("0") && m_autoOn)
            ButtonTrackClick();
    }

    // Where the antenna points is asked before anybody asks it to move.
    if (m_config.interfaceKind == InterfaceKind::Hamlib)
        m_hamlib->readPosition();
    else if (m_poller->readsBack() && m_serial->openForReading(m_config.interfaceKind))
        m_poller->askSoon();

    applyRotctldSetting();
    m_activatedOnce = true;
    Q_EMIT goHandled();
}

void Station::reconcileSavedPorts()
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
        if (match != -1 && (m_choices.comSelection[ordinal(kind)] == match || selectComPort(kind, match)))
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
            // A port that would not open has told why already; an absent one is told here.
            if (match == -1) {
                const QString comName = QStringLiteral("COM%1").arg(saved + 1);
                m_notices.tell(QStringLiteral("absent ") + comName, ProgramTitle,
                               absentPortText(m_language, comName,
                                              deviceNamedByComName(comName, m_files.dosdevicesPath(), m_roots.dev),
                                              iniValue(kind)));
            }
        }
    }
}

bool Station::selectComPort(InterfaceKind kind, int item)
{
    const int k = ordinal(kind);
    m_choices.comSelection[k] = item;
    // A port picked now replaces whatever was remembered of an unplugged adapter.
    m_choices.comAbsentAtStart[k] = false;
    const bool opened = m_serial->ProbePort(kind, m_choices.comPorts[item].name);
    if (!opened)
        m_choices.comSelection[k] = -1;
    return opened;
}

std::optional<quint16> Station::selectedLptAddress() const
{
    const InterfaceKind kind = m_config.interfaceKind;
    const int lpt = isParallel(kind) ? m_config.at(kind).port : -1;
    if (lpt < 0 || lpt >= LptSlotCount || !m_parallel.portRangesEnabled())
        return std::nullopt;
    return kind == InterfaceKind::PourSat ? m_parallel.pourSatAddresses[lpt] : m_parallel.fodTrackAddresses[lpt];
}

void Station::rebuildCaption()
{
    std::array<QString, 3> lptNames;
    for (int i = 0; i < LptSlotCount; ++i)
        lptNames[i] = m_parallel.lptPorts[i].name;
    m_caption = BuildStatusCaption(m_config, lptNames);
    Q_EMIT captionChanged(m_caption);
}

void Station::requestClose()
{
    if (m_closed)
        return; // the sequence under way ends the program when it is done
    if (!m_closeRequested.isValid())
        m_closeRequested.start();
    if (m_sequencer.busy() && m_closeRequested.elapsed() < CloseWaitMs) {
        // A close that arrives in the middle of a command waits for it: a
        // controller is not cut off between the target and the order to move.
        QTimer::singleShot(10, this, &Station::requestClose);
        return;
    }
    runClosingSequence();
}

void Station::closeUnattended()
{
    m_unattended = true;
    m_feedback.stopWaitingForUser();
    startClosingClock();
    requestClose();
}

void Station::runClosingSequence()
{
    if (m_closed)
        return;
    m_closed = true;
    startClosingClock();
    m_closingStartedMs = m_closingRunMs;

    StopAll();
    if (m_config.parkingInterface != 0)
        goToParking();
    m_sequencer.whenIdle([this] { closePortsForClosing(); });
}

void Station::closePortsForClosing()
{
    m_portsClosing = true;
    if (const auto address = selectedLptAddress())
        m_portIo.DisablePorts(*address, *address);
    m_outside->closeForShutdown(m_config.parkingInterface, m_config.interfaceKind);
    m_serial->closeForShutdown(m_config.parkingInterface, m_config.interfaceKind);
    m_sequencer.whenIdle([this] {
        // Also a link still waiting for the bus's answer must not open after this.
        m_dde->closeLink();
        m_udp->deactivate();
        // The library's parking move goes out before it is closed; a library that
        // hangs on a dead controller is given until the closing's limit.
        m_hamlib->close();
        if (m_hamlib->idle())
            finishClosing();
        else
            connect(m_hamlib.get(), &HamlibRotors::becameIdle, this, &Station::finishClosing);
    });
}

void Station::startClosingClock()
{
    if (m_closingClock.isActive())
        return;
    m_closingClock.setInterval(ClosingTickMs);
    m_closingTick.start();
    connect(&m_closingClock, &QTimer::timeout, this, [this] {
        m_closingRunMs += std::min<qint64>(m_closingTick.restart(), 2 * ClosingTickMs);
        // Nobody waits for the pauses of a close nobody attends once this has
        // passed, nor for a device that does not answer: every remaining step
        // still runs, and the settings are saved.
        if ((m_unattended && m_closingRunMs >= UnattendedCloseMs)
            || (m_closed && m_closingRunMs - m_closingStartedMs >= ClosingLimitMs))
            closeNow();
    });
    m_closingClock.start();
}

void Station::closeNow()
{
    runClosingSequence();
    m_sequencer.hurry();
    finishClosing();
}

void Station::finishClosing()
{
    if (m_closingFinished || std::exchange(m_finishingClose, true))
        return;
    m_closingClock.stop();
    save_configuration();
    m_closingFinished = true;
    Q_EMIT closed();
}

void Station::goToParking(OutcomeReport report)
{
    // The GO goes to the selected interface, whatever the parking names.
    enterAndGo(static_cast<int>(roundHalfEven(m_config.parkingAzimuth)), EntryOrigin::Parking, std::move(report));
}

void Station::save_configuration()
{
    // A start cut short (a signal before the first activation) writes back what
    // was read: the port lists, the KORU fields and the places are only known
    // from the first activation on.
    if (m_activatedOnce && m_placementReader)
        m_placementReader(m_placement);

    WriterInputs inputs;
    inputs.language = m_language;
    inputs.autoOn = m_autoOn;
    inputs.source = m_source;
    inputs.koruPortText = m_choices.koruPortText;
    inputs.koruAntennaText = m_choices.koruAntennaText;
    for (InterfaceKind kind : SerialInterfaceKinds) {
        const int saved = m_config.at(kind).port;
        const QString selected = m_choices.selectedComName(kind);
        if (!m_activatedOnce && saved >= 0)
            inputs.comPortNumber[ordinal(kind)] = saved + 1;
        else if (!selected.isEmpty())
            inputs.comPortNumber[ordinal(kind)] = comNumber(selected);
        else if (m_choices.comAbsentAtStart[ordinal(kind)] && saved >= 0)
            inputs.comPortNumber[ordinal(kind)] = saved + 1;
    }
    inputs.gs232Elevation = m_config.gs232Elevation;
    inputs.windowLeft = m_placement.left.value_or(0);
    inputs.windowTop = m_placement.top.value_or(0);
    inputs.windowWidth = m_placement.width.value_or(0);
    inputs.windowHeight = m_placement.height.value_or(0);
    inputs.angleLeft = m_placement.angleLeft;
    inputs.angleTop = m_placement.angleTop;
    inputs.angleVisible = m_placement.angleVisible;
    inputs.angleText = m_placement.angleText;

    Configuration written = m_config;
    if (written.interfaceKind == InterfaceKind::None && m_choices.interfaceAbsentAtStart)
        written.interfaceKind = *m_choices.interfaceAbsentAtStart;

    if (m_files.readFailed()) {
        // Told without a box that waits: the closing waits for nobody.
        m_feedback.notice(ProgramTitle, m_files.leftUnreadText(m_language));
        return;
    }
    m_saveFailed = !m_files.replace(writeConfiguration(written, inputs));
    m_settingsSaved = !m_saveFailed;
    if (m_saveFailed) {
        m_feedback.notice(QStringLiteral("Erreur"), SettingsFiles::createErrorText(m_language));
        return;
    }
    // The file keeps Windows-1252: a name it cannot hold is told, not lost in silence.
    for (const int n : favouritesNotKept(written))
        m_feedback.notice(ProgramTitle, SettingsFileTexts::favouriteNotKeptText(m_language, n, written.favourites[n - 1].label));
}
