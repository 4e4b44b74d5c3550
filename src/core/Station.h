#pragma once

#include "config/AzimuthSource.h"
#include "config/Configuration.h"
#include "config/ConfigurationReader.h"
#include "config/Language.h"
#include "config/SetupChoices.h"
#include "core/HostRoots.h"
#include "core/RotorDispatch.h"
#include "config/WindowPlacement.h"
#include "host/ParallelPortDiscovery.h"
#include "rotors/CommandSequencer.h"
#include "rotors/CommandState.h"
#include "sources/RotctldHost.h"
#include "sources/UdpListener.h"
#include "rotors/RotorOutcome.h"
#include "core/NoticeOnce.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class ArswinLink;
class DdeLink;
class HamlibRotors;
class MovenowLauncher;
class OutsideRotors;
class ParallelRotors;
class PortIo;
class PositionPoller;
class RotctldServer;
class SerialRotors;
class SettingsFiles;
class UserFeedback;

// Who asked for an azimuth. The command cycle treats them alike except where
// noted: a value from outside the window that equals the azimuth shown is no
// change, and the angle window is not told back what it has just said.
enum class EntryOrigin {
    Typed,       // the azimuth box
    Stepper,     // the up-down stepper or the arrow keys
    Favourite,   // a favourite button or its shortcut
    AngleWindow, // the angle dialog
    LongPath,    // the LP button
    Datagram,    // a KORU rotor datagram
    DBus,        // a desktop azimuth server
    Rotctld,     // a Hamlib client
    Parking,     // the closing sequence's parking move
    Restore,     // the azimuth restored at the first activation
    Test,        // a setup dialog's test button
};

// What the azimuth box holds, as the command cycle reads it at a GO.
struct AzimuthEntry {
    enum class Kind { Empty, Number, NotANumber };
    Kind kind = Kind::Number;
    double value = 0;
};

struct StationEnvironment {
    SettingsFiles &files;
    UserFeedback &feedback;
    PortIo &portIo;
    HostRoots roots;
};

// The program without its windows: the configuration, the command state, the
// command cycle (AUTO/MAN, minimum step, wrap, forced send), the rotator
// interfaces, the azimuth sources, the first activation and the closing
// sequence. Requests come in as numbers with their origin; what changed goes
// out as signals, for whichever views are attached (the main window, the
// headless runner).
class Station : public QObject, private LoadActions, private RotctldHost {
    Q_OBJECT

public:
    explicit Station(const StationEnvironment &environment, QObject *parent = nullptr);
    ~Station() override;

    // Start: discovery and the settings file, then the COM ports present.
    void load();
    void EnumerateComPorts();
    // The first activation: ports reconciled, sources opened, azimuth restored.
    // Runs once; a restore that fails leaves it to run again.
    void FormActivate();

    // Requests.
    // An azimuth given as a whole number: wrapped at the ends, shown, and sent
    // when AUTO is on (or a test forces it) once the first activation has run.
    // The azimuth the box already holds is no change and sends nothing, as a text
    // written into a box that already holds it, except from a Hamlib client,
    // whose request is a request to move.
    void enter(int azimuth, EntryOrigin origin);
    // The box holds something that is not a whole number: shown, never sent by itself.
    void holdEntry(AzimuthEntry entry);
    // Enters the azimuth and performs a GO as the MAN button does, even with AUTO
    // off; report hears that GO's outcome.
    void enterAndGo(int azimuth, EntryOrigin origin, OutcomeReport report = {});
    // Favourite n (1..6) as its button gives it.
    void enterFavourite(int n);
    // The MAN button: a GO of what the box holds, after any sequence under way;
    // report hears its outcome.
    void ButtonTrackClick(OutcomeReport report = {});
    // report hears the selected interface's outcome.
    void StopAll(OutcomeReport report = {});
    void longPath();
    void setAuto(bool on);
    void setLanguage(const Language &language);
    void chooseSource(AzimuthSource source);
    // Init: everything stopped and closed before the setup dialog shows.
    void prepareSetup();
    void toggleRotctld();
    // Nobody sees a window: remedies name the settings file instead of Init.
    void setWindowless(bool windowless) { m_windowless = windowless; }

    // Closing, whoever asks (Quit, the close box, a signal). A close that arrives
    // during a command waits for it, up to a limit; closed() follows the sequence.
    void requestClose();
    // A close nobody attends (a signal, the end of the session): no box waits
    // for an answer, and a sequence held up for long is hurried to its end.
    void closeUnattended();
    // Starts the closing sequence: STOP, parking, the ports' closing texts, the
    // settings; closed() is emitted when it has run.
    void runClosingSequence();
    // Runs what remains of the closing at once, without its pauses (the event
    // loop has already ended).
    void closeNow();
    bool closingStarted() const { return m_closed; }
    bool closingFinished() const { return m_closingFinished; }
    // What the process should end with: a signal close whose save failed is a
    // failure (the reason is already on standard error).
    int exitStatus() const { return m_unattended && m_saveFailed ? 1 : 0; }
    // The closing wrote the settings file (not when it was left as it was or failed).
    bool settingsSaved() const { return m_settingsSaved; }

    // The setup dialog's side.
    void sendTest(int azimuth);
    void lowerForcedSend() { m_forcedSendRequest = false; }
    // The dialog's closing: every open channel closes, the selected controller's
    // first receiving its close-out text.
    void closeOutForSetup();
    void rebuildCaption();
    // Selects present COM port `item` for kind as a click in its list does (the port
    // is probed); false, with nothing selected, when it would not open. The caption
    // is the caller's to follow.
    bool selectComPort(InterfaceKind kind, int item);
    void setChannelBaud(InterfaceKind kind, int baudIndex) override;
    // Makes the COM name a dosdevices link to target and lists the ports again.
    bool pinComPort(const QString &comName, const QString &target, QString *error);
    void activateKoruListener();
    void deactivateKoruListener();
    void setKoruPort(quint16 port);
    quint16 koruPort() const;
    void applyRotctldSetting();
    // Claims or releases the port range of a parallel box's port.
    void enableLptPort(quint16 address);
    void disableLptPort(quint16 address);
    bool lptDriverReady() const;

    // What views read.
    Configuration &configuration() { return m_config; }
    const Configuration &configuration() const { return m_config; }
    CommandState &commandState() { return m_state; }
    SetupChoices &setupChoices() { return m_choices; }
    const ParallelPortStartup &parallelPorts() const { return m_parallel; }
    WindowPlacement &placement() { return m_placement; }
    RotorDispatch &dispatch() { return m_dispatch; }
    SerialRotors &serialRotors() { return *m_serial; }
    HamlibRotors &hamlibRotors() { return *m_hamlib; }
    UdpListener &udpListener() { return *m_udp; }
    RotctldServer &rotctldServer() { return *m_rotctld; }
    UserFeedback &feedback() { return m_feedback; }
    int shownAzimuth() const { return m_shown; }
    bool isAutoOn() const { return m_autoOn; }
    // AUTO has been switched at least once (its button's caption tells the two offs apart).
    bool autoToggled() const { return m_autoToggled; }
    const Language &language() const { return m_language; }
    bool activatedOnce() const { return m_activatedOnce; }
    AzimuthSource azimuthSource() const { return m_source; }
    bool lampOn() const { return m_lampOn; }
    bool blinking() const { return m_timerBlink.isActive(); }
    QString interfaceLabel() const { return m_interfaceLabel; }
    std::optional<double> reportedAzimuth() const;
    bool rotctldListening() const;

    // Asked just before the settings are written, by a view that knows where its
    // windows stand; it is not asked before the first activation, so a start cut
    // short writes back what was read.
    void setPlacementReader(std::function<void(WindowPlacement &)> reader) { m_placementReader = std::move(reader); }

Q_SIGNALS:
    // The azimuth shown changed (display, box, needle); origin says who asked.
    void targetChanged(int azimuth, EntryOrigin origin);
    // A GO found no number in the box and emptied it.
    void entryCleared();
    // A GO handling ran to its end (the angle window takes the focus back).
    void goHandled();
    void lampChanged(bool on);
    void autoChanged(bool on);
    void languageChanged(const Language &language);
    void sourceChanged(AzimuthSource source);
    void captionChanged(const QString &caption);
    void interfaceLabelChanged(const QString &text);
    void datagramReceived(const DatagramTurn &turn);
    void koruPortChanged(quint16 port);
    void rotctldChanged();
    void reportedAzimuthChanged(std::optional<double> azimuth);
    // A value meant as a whole azimuth was not one (a restored or pushed value).
    void conversionRefused(const QString &value);
    void favouriteCaptionChanged(int n, const QString &caption);
    // The COM port list was read again (after a pin).
    void comPortsChanged();
    // The closing sequence has run: the program may end.
    void closed();

private:
    // LoadActions
    void applyLanguage(const Language &language) override { setLanguage(language); }
    void pressAuto() override { setAuto(!m_autoOn); }
    void chooseServer(AzimuthSource source) override;
    void setFavouriteCaption(int n, const QString &caption) override;
    void setWindowGeometry(WindowField field, int value) override;

    // RotctldHost
    void requestMove(const Pointing &pointing, OutcomeReport answer) override;
    void stopMoving(OutcomeReport answer) override;
    void moveToParking(OutcomeReport answer) override;
    std::optional<double> knownAzimuth() const override;
    bool readsBack() const override;
    QString rotatorInfo() const override { return m_caption; }

    void installDispatchTable();
    void loadSettings();
    void reportOnceRunning(std::function<void()> report);
    void reconcileSavedPorts();
    // Wraps, shows and keeps the azimuth; false when it is what the box holds
    // already (no change, nothing to send).
    bool show(int azimuth, EntryOrigin origin);
    void goHandling(const OutcomeReport &report);
    void goFinished(const RotorOutcome &outcome, double target);
    void stopHandling(const OutcomeReport &report);
    void closePortsForClosing();
    void startClosingClock();
    void finishClosing();
    void showLamp(bool on);
    void endBlinking();
    void goToParking(OutcomeReport report = {});
    void setInterfaceLabel(const QString &text);
    void setDdeLink(const QString &service);
    // True when the value was taken as the azimuth.
    bool DdeClientItemChange(const QString &itemText);
    void DdeClientItemRead(const QString &itemText);
    void UDPServerUDPRead(const DatagramTurn &turn);
    std::optional<quint16> selectedLptAddress() const;
    void save_configuration();

    SettingsFiles &m_files;
    UserFeedback &m_feedback;
    PortIo &m_portIo;
    HostRoots m_roots;

    Configuration m_config;
    CommandState m_state;
    SetupChoices m_choices;
    RotorDispatch m_dispatch;
    CommandSequencer m_sequencer;
    ParallelPortStartup m_parallel;
    WindowPlacement m_placement;
    std::function<void(WindowPlacement &)> m_placementReader;
    // Failures of the azimuth sources, told once per run.
    NoticeOnce m_notices {m_feedback};

    AzimuthEntry m_entry;
    int m_shown = 0; // the whole azimuth the display shows
    bool m_autoOn = false;
    bool m_autoToggled = false;
    Language m_language;
    AzimuthSource m_source = AzimuthSource::None;
    bool m_loadingSettings = false;
    bool m_forcedSendRequest = false;
    bool m_activatedOnce = false;
    bool m_closed = false;
    bool m_closingFinished = false;
    bool m_finishingClose = false;
    // The ports are being let go: nothing may open one again.
    bool m_portsClosing = false;
    bool m_unattended = false;
    bool m_saveFailed = false;
    bool m_settingsSaved = false;
    bool m_lampOn = false;
    QElapsedTimer m_closeRequested;
    QString m_caption;
    QString m_interfaceLabel = QStringLiteral("commande");
    // The last azimuth a GO delivered to the interface; none before the first.
    std::optional<double> m_lastSentPosition;
    // Init's dialog is open: sources from outside move nothing meanwhile.
    bool m_setupOpen = false;
    QString m_lastDdeValue;
    // The link was set before the first activation ended and its value not read yet.
    bool m_startLinkUnread = false;
    // Moves the display without sending: a start value that arrives late.
    bool m_sendHeldBack = false;

    // The closing's time limits, counted in running time only: a process stopped
    // meanwhile still parks its antenna when it goes on.
    QTimer m_closingClock;
    QElapsedTimer m_closingTick;
    qint64 m_closingRunMs = 0;
    qint64 m_closingStartedMs = 0;
    // Listeners that could not bind try again (a network address still coming up).
    QTimer m_rotctldRetry;
    QTimer m_koruRetry;
    bool m_windowless = false;
    QTimer m_timerBlink;
    QTimer m_timerTrackOK;

    // Before the channels, whose readers call it, so it outlives them.
    std::unique_ptr<PositionPoller> m_poller;
    std::unique_ptr<SerialRotors> m_serial;
    std::unique_ptr<HamlibRotors> m_hamlib;
    std::unique_ptr<ParallelRotors> m_parallelRotors;
    std::unique_ptr<ArswinLink> m_arswin;
    std::unique_ptr<MovenowLauncher> m_movenow;
    std::unique_ptr<OutsideRotors> m_outside;
    std::unique_ptr<DdeLink> m_dde;
    std::unique_ptr<UdpListener> m_udp;
    std::unique_ptr<RotctldServer> m_rotctld;
};
