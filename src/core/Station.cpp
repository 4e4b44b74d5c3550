// The station's parts and its command cycle: entry, GO handling, STOP, long
// path, AUTO and the track lamp.
#include "core/Station.h"

#include "config/SettingsFiles.h"
#include "core/LanguageTexts.h"
#include "host/ComPortNames.h"
#include "rotors/ArswinLink.h"
#include "rotors/HamlibRotors.h"
#include "rotors/MovenowLauncher.h"
#include "rotors/OutsideRotors.h"
#include "rotors/ParallelRotors.h"
#include "rotors/PortIo.h"
#include "rotors/PositionPoller.h"
#include "rotors/SerialRotors.h"
#include "sources/DdeLink.h"
#include "sources/RotctldServer.h"
#include "core/UserFeedback.h"

namespace {
// How often a listener that could not bind tries again.
constexpr int ListenerRetryMs = 3000;
} // namespace

Station::Station(const StationEnvironment &environment, QObject *parent)
    : QObject(parent),
      m_files(environment.files),
      m_feedback(environment.feedback),
      m_portIo(environment.portIo),
      m_roots(environment.roots)
{
    const auto setLabel = [this](const QString &text) { setInterfaceLabel(text); };
    SerialRotorsContext serialContext {
        m_state,
        m_config,
        m_feedback,
        [this](InterfaceKind kind) {
            const QString selected = m_choices.selectedComName(kind);
            // Before the first activation has matched the saved ports to those
            // present, the saved one stands: a close that comes first still parks.
            const int saved = m_config.at(kind).port;
            return selected.isEmpty() && !m_activatedOnce && saved >= 0 ? QStringLiteral("COM%1").arg(saved + 1)
                                                                       : selected;
        },
        [this](const QString &comName) {
            return devicePathForComName(comName, m_files.dosdevicesPath(), m_roots.dev);
        },
        setLabel,
        [this] { return m_language; },
        [this](InterfaceKind kind) { return m_poller->readerFor(kind); },
    };
    m_serial = std::make_unique<SerialRotors>(serialContext, m_sequencer);
    m_poller = std::make_unique<PositionPoller>(m_config, m_sequencer,
                                                [this](InterfaceKind kind) { return m_serial->channel(kind); });
    connect(m_poller.get(), &PositionPoller::reportedAzimuthChanged, this,
            [this] { Q_EMIT reportedAzimuthChanged(m_poller->reportedAzimuth()); });
    m_hamlib = std::make_unique<HamlibRotors>(HamlibRotorsContext {
        m_state, m_config, m_feedback, serialContext.devicePath, setLabel, [this] { return m_language; },
        [this](std::optional<double> azimuth) { m_poller->report(azimuth); }});
    m_parallelRotors = std::make_unique<ParallelRotors>(
        ParallelRotorsContext {m_state, m_config, m_feedback, m_portIo, m_parallel.pourSatAddresses,
                               m_parallel.fodTrackAddresses, setLabel, [this] { return m_language; }},
        m_sequencer);
    m_arswin = std::make_unique<XcbArswinLink>();
    m_movenow = std::make_unique<ProcessMovenowLauncher>();
    m_outside = std::make_unique<OutsideRotors>(OutsideRotorsContext {
        m_state, m_config, m_feedback, *m_arswin, *m_movenow,
        [this] { return languageTexts(m_language).arswinMissing; }, setLabel});
    m_dde = std::make_unique<DdeLink>();
    connect(m_dde.get(), &DdeLink::itemChanged, this, &Station::DdeClientItemChange);
    connect(m_dde.get(), &DdeLink::itemRead, this, &Station::DdeClientItemRead);
    m_udp = std::make_unique<UdpListener>();
    // Handled at once: the azimuth goes out in the same turn that read it.
    connect(m_udp.get(), &UdpListener::datagramsReceived, this, &Station::UDPServerUDPRead);
    m_rotctld = std::make_unique<RotctldServer>(static_cast<RotctldHost &>(*this));
    installDispatchTable();

    m_rotctldRetry.setSingleShot(true);
    m_rotctldRetry.setInterval(ListenerRetryMs);
    connect(&m_rotctldRetry, &QTimer::timeout, this, [this] {
        if (!m_closed)
            applyRotctldSetting();
    });
    m_koruRetry.setSingleShot(true);
    m_koruRetry.setInterval(ListenerRetryMs);
    connect(&m_koruRetry, &QTimer::timeout, this, [this] {
        if (!m_closed && m_source == AzimuthSource::Koru && !m_setupOpen && !m_udp->isActive())
            activateKoruListener();
    });

    m_timerBlink.setInterval(300);
    connect(&m_timerBlink, &QTimer::timeout, this, [this] { showLamp(!m_lampOn); });
    m_timerTrackOK.setInterval(3600);
    connect(&m_timerTrackOK, &QTimer::timeout, this, &Station::endBlinking);
    m_timerTrackOK.start();
}

Station::~Station() = default;

void Station::installDispatchTable()
{
    SerialRotors &serial = *m_serial;
    ParallelRotors &parallel = *m_parallelRotors;
    OutsideRotors &outside = *m_outside;
    HamlibRotors &hamlib = *m_hamlib;
    m_dispatch.setGo(InterfaceKind::PourSat, [&parallel](OutcomeReport r) { parallel.GoPourSat(std::move(r)); });
    m_dispatch.setGo(InterfaceKind::FodTrack, [&parallel](OutcomeReport r) { parallel.GoFodTrack(std::move(r)); });
    m_dispatch.setGo(InterfaceKind::Zenta, [&outside](OutcomeReport r) { outside.GoZenta(r); });
    m_dispatch.setGo(InterfaceKind::Kct, [&outside](OutcomeReport r) { outside.GoKct(r); });
    m_dispatch.setGo(InterfaceKind::Hamlib, [&hamlib](OutcomeReport r) { hamlib.GoHamlib(std::move(r)); });
    m_dispatch.setStop(InterfaceKind::Zenta, [&outside](OutcomeReport r) { outside.StopZenta(r); });
    m_dispatch.setStop(InterfaceKind::Kct, [&outside](OutcomeReport r) { outside.StopKct(r); });
    m_dispatch.setStop(InterfaceKind::Hamlib, [&hamlib](OutcomeReport r) { hamlib.StopHamlib(std::move(r)); });
    for (InterfaceKind kind : SerialInterfaceKinds) {
        m_dispatch.setGo(kind, [&serial, kind](OutcomeReport r) { serial.go(kind, std::move(r)); });
        m_dispatch.setStop(kind, [&serial, kind](OutcomeReport r) { serial.stop(kind, std::move(r)); });
    }
}

bool Station::show(int azimuth, EntryOrigin origin)
{
    // The stepper's ends wrap by one turn (360 is 0, -1 is 359), and a value
    // beyond them is first pulled to the nearer end: so any value of 360 or more
    // is 0 and any negative one 359. Wrapped before anything is shown or sent,
    // so one request is one change and at most one GO.
    if (azimuth >= 360)
        azimuth = 0;
    else if (azimuth < 0)
        azimuth = 359;
    if (origin != EntryOrigin::Rotctld && m_entry.kind == AzimuthEntry::Kind::Number && m_entry.value == azimuth)
        return false;
    m_entry = {AzimuthEntry::Kind::Number, double(azimuth)};
    m_shown = azimuth;
    m_placement.angleText = QString::number(azimuth);
    Q_EMIT targetChanged(azimuth, origin);
    return true;
}

void Station::enter(int azimuth, EntryOrigin origin)
{
    if (!show(azimuth, origin))
        return;
    if (!m_autoOn && !m_forcedSendRequest)
        return;
    m_forcedSendRequest = false;
    if (m_activatedOnce && !m_sendHeldBack)
        ButtonTrackClick();
}

void Station::enterAndGo(int azimuth, EntryOrigin origin, OutcomeReport report)
{
    enter(azimuth, origin);
    ButtonTrackClick(std::move(report));
}

void Station::enterFavourite(int n)
{
    if (n < 1 || n > FavouriteCount)
        return;
    // Favourite azimuths are 16-bit values in the file.
    enter(static_cast<qint16>(m_config.favourites[n - 1].azimuth), EntryOrigin::Favourite);
}

void Station::holdEntry(AzimuthEntry entry)
{
    m_entry = entry;
}

void Station::ButtonTrackClick(OutcomeReport report)
{
    // A GO that arrives while a command sequence is being written waits for it;
    // only the newest waiting GO runs, reading the entry as it is then.
    m_sequencer.requestGo([this, report] { goHandling(report); },
                          [report] {
                              if (report)
                                  report(RotorOutcome::refused(RotorOutcome::Reason::Overtaken));
                          });
}

void Station::goHandling(const OutcomeReport &report)
{
    const auto refuse = [&report](RotorOutcome::Reason reason) {
        if (report)
            report(RotorOutcome::refused(reason));
    };
    if (m_portsClosing) {
        refuse(RotorOutcome::Reason::NotAccepted);
        return;
    }
    if (m_entry.kind == AzimuthEntry::Kind::Empty) {
        refuse(RotorOutcome::Reason::OutOfLimits);
        return;
    }
    if (m_entry.kind == AzimuthEntry::Kind::Number) {
        m_state.targetAzimuth = m_entry.value;
    } else {
        m_entry = {AzimuthEntry::Kind::Empty, 0};
        Q_EMIT entryCleared();
        m_state.targetAzimuth = -1;
    }
    if (m_config.interfaceKind == InterfaceKind::None) {
        m_feedback.beep();
        refuse(RotorOutcome::Reason::NoInterface);
        return;
    }
    if (m_state.targetAzimuth < 0 || m_state.targetAzimuth >= 360) {
        m_feedback.beep();
        refuse(RotorOutcome::Reason::OutOfLimits);
        return;
    }
    m_state.commandedAzimuth = m_state.targetAzimuth;
    m_state.reportedAzimuth = readsBack() ? reportedAzimuth() : std::nullopt;
    const double target = m_state.targetAzimuth;
    m_dispatch.go(m_config.interfaceKind, [this, report, target](const RotorOutcome &outcome) {
        goFinished(outcome, target);
        if (report)
            report(outcome);
    });
    Q_EMIT goHandled();
}

void Station::goFinished(const RotorOutcome &outcome, double target)
{
    if (!outcome.sent())
        return;
    m_lastSentPosition = target;
    m_poller->askSoon();
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

void Station::StopAll(OutcomeReport report)
{
    m_sequencer.runStop([this, report] { stopHandling(report); });
}

void Station::stopHandling(const OutcomeReport &report)
{
    m_dispatch.stopEvery(m_config.interfaceKind, report ? report : OutcomeReport([](const RotorOutcome &) {}));
    endBlinking();
    m_state.lastSentAzimuth = -10;
}

void Station::longPath()
{
    enter(m_shown < 180 ? m_shown + 180 : m_shown - 180, EntryOrigin::LongPath);
}

void Station::setAuto(bool on)
{
    if (m_autoOn == on)
        return;
    m_autoOn = on;
    m_autoToggled = true;
    Q_EMIT autoChanged(on);
}

void Station::setLanguage(const Language &language)
{
    m_language = language;
    Q_EMIT languageChanged(language);
}

void Station::showLamp(bool on)
{
    m_lampOn = on;
    Q_EMIT lampChanged(on);
}

void Station::endBlinking()
{
    m_timerBlink.stop();
    m_timerTrackOK.stop();
    showLamp(false);
}

void Station::setInterfaceLabel(const QString &text)
{
    m_interfaceLabel = text;
    Q_EMIT interfaceLabelChanged(text);
}

std::optional<double> Station::reportedAzimuth() const
{
    return m_poller->reportedAzimuth();
}
