#pragma once

#include "app/RotorDispatch.h"
#include "config/SetupChoices.h"
#include "config/AzimuthSource.h"
#include "config/Configuration.h"
#include "config/ConfigurationReader.h"
#include "dialogs/AngleDialogHost.h"
#include "dialogs/SetupDialogHost.h"
#include "host/ParallelPortDiscovery.h"
#include "ui/CompassRose.h"
#include "ui/NoticeOnce.h"
#include "rotors/CommandSequencer.h"
#include "rotors/CommandState.h"
#include "sources/RotctldHost.h"
#include "sources/UdpListener.h"

#include <QElapsedTimer>
#include <QWidget>
#include <QTimer>

#include <array>
#include <future>
#include <memory>

class AboutBox;
class AngleDialog;
class ArswinLink;
class DdeLink;
class MovenowLauncher;
class OutsideRotors;
class ParallelRotors;
class PositionPoller;
class UrlOpener;
class AzimuthBox;
class AzimuthStepper;
class CatchUpView;
class CompassView;
class FavouritesEditor;
class KeyboardShortcuts;
class PanelButton;
class PanelFrame;
class PortIo;
class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QLCDNumber;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class RotctldServer;
class SerialRotors;
class SettingsFiles;
class SetupDialog;
class UdpListener;
class UserFeedback;

// Where the host discovery looks; tests point these at temporary folders.
struct HostRoots {
    QString sys = QStringLiteral("/sys");
    QString proc = QStringLiteral("/proc");
    QString dev = QStringLiteral("/dev");
};

struct MainWindowEnvironment {
    SettingsFiles &files;
    UserFeedback &feedback;
    PortIo &portIo;
    HostRoots roots;
    // The compass's fixed layers, if they are being drawn beside the main thread.
    std::shared_future<CompassLayers> compassLayers = {};
};

// Form1: the azimuth entry, display, compass, command buttons and favourites.
// Every way of giving an azimuth ends in the text of EditAzimut; its change
// handling decides whether the value is sent.
class MainWindow : public QWidget,
                   private LoadActions,
                   private AngleDialogHost,
                   private SetupDialogHost,
                   private RotctldHost {
    Q_OBJECT

public:
    explicit MainWindow(const MainWindowEnvironment &environment, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up steps that follow the creation of every window.
    void EnumerateComPorts();
    void placeAngleDialog();

    // The command cycle.
    void ButtonTrackClick();
    void StopAll();
    void BitBtnStopClick();
    void BitBtnLPClick();
    void BitBtnAutoClick();
    void MenuInitClick();
    void menuVoirCommandeClick();

    // Giving an azimuth.
    void setStepperPosition(int azimuth) override;
    void UpdateCompass();
    void favouriteReleased(int n, Qt::MouseButton button);

    // Language and sources.
    void MenuEnglishClick();
    void MenuFrancaisClick();
    void MenuServerGeomundoClick();
    void menuServerBeamDXClick();
    void MenuServerKORUClick();
    void MenuServerRotctldClick();

    void FormActivate();

Q_SIGNALS:
    // The closing sequence has run and the window is gone: the program ends.
    void closed();

public:
    // Runs the closing sequence once, whoever asks (Quit, close box, a signal).
    void runClosingSequence();
    // A close nobody attends (a signal, the end of the session): no box waits
    // for an answer, and a sequence held up for long is hurried to its end.
    void closeUnattended();
    // The diagnostic strip's command line, also where unshown boxes are told.
    void showDiagnosticText(const QString &text);

    // State the tests and the other windows read.
    Configuration &configuration() { return m_config; }
    CommandState &commandState() { return m_state; }
    SetupChoices &setupChoices() { return m_choices; }
    RotorDispatch &dispatch() { return m_dispatch; }
    SerialRotors &serialRotors() { return *m_serial; }
    UdpListener &udpListener() { return *m_udp; }
    RotctldServer &rotctldServer() { return *m_rotctld; }
    // These are built at first use (the angle window at start when the settings
    // show it): nothing of them shows before, and building them held up the
    // first paint of the window.
    AngleDialog &angleDialog();
    FavouritesEditor &favouritesEditor();
    SetupDialog &setupDialog();
    bool isAutoOn() const override { return m_autoOn; }
    bool isFrench() const { return m_french; }
    bool activatedOnce() const { return m_activatedOnce; }
    AzimuthSource azimuthSource() const { return m_source; }
    bool lampOn() const;
    bool blinking() const { return m_timerBlink.isActive(); }
    QString interfaceLabelText() const;
    // Where the selected controller last said the antenna is, when the user asked
    // for read-back and the controller answers; none otherwise.
    std::optional<double> reportedAzimuth() const;
    QString positionLabelText() const;

private:
    // LoadActions
    void applyLanguage(bool french) override;
    void pressAuto() override;
    void chooseServer(AzimuthSource source) override;
    void setFavouriteCaption(int n, const QString &caption) override;
    void setWindowGeometry(WindowField field, int value) override;
    void applyLoadedPlacement();
    void setChannelBaud(InterfaceKind kind, int baudIndex) override;

    // AngleDialogHost
    void performGo() override { ButtonTrackClick(); }
    void setAngleEchoSuppressed(bool suppressed) override { m_angleEchoSuppressed = suppressed; }

    // SetupDialogHost (MainWindowSetupHost.cpp)
    void showSetupDialog();
    void fillSetupDialog();
    void stopRotator() override;
    void sendTestAzimuth(int azimuth) override;
    void lowerForcedSend() override;
    void rebuildCaption() override;
    bool frenchChecked() const override;
    bool koruServerChecked() const override;
    void refreshDefaultPortLabel() override;
    void applyRotctldSetting() override;

    // RotctldHost (MainWindowRotctld.cpp)
    bool enterAzimuth(int azimuth) override;
    bool stopMoving() override;
    bool moveToParking() override;
    // The controller's own report when read-back has one, else the last azimuth commanded.
    double currentAzimuth() const override { return reportedAzimuth().value_or(m_commandedPosition); }
    QString rotatorInfo() const override { return windowTitle(); }
    void refreshRotctldMenuItem();
    bool pinComPort(const QString &comName, const QString &target, QString *error) override;

    void buildWidgets();
    void buildMenus();
    void buildHiddenMenu();
    void assignHiddenShortcuts();
    void installDispatchTable();
    void FormCreate();
    void loadSettings();
    void reportOnceRunning(std::function<void()> report);
    void reconcileSavedPorts();
    // The saved port selected and probed as a click in the setup dialog would.
    bool selectSavedPort(InterfaceKind kind, int item);
    void setLanguageTexts();

    void EditAzimutChange();
    void displayAzimuth(const QString &text);
    // The notice for a value that is not a whole number, by the azimuth box.
    void conversionNotice(const QString &value);
    void showReportedAzimuth();
    void goHandling();
    void stopHandling();
    void showLamp(bool on);
    void TimerBlinkTimer();
    void TimerTrackOKTimer();
    void focusAngleDialogIfVisible();
    // True when the value was taken into the stepper.
    bool DdeClientItemChange(const QString &itemText);
    void DdeClientItemRead(const QString &itemText);
    void setDdeLink(const QString &service);
    void chooseDdeServer(QAction *item, AzimuthSource source, const QString &service);
    void UDPServerUDPRead(const DatagramTurn &turn);
    // An azimuth from a source outside the window, entered as the user would type it.
    void enterRequestedAzimuth(const QString &text, int azimuth);
    // The diagnostic strip's texts are only built while it is shown.
    void showDatagramEcho();
    void showInterfaceLabel(const QString &text);
    void activateKoruListener() override;
    // The base address of the selected parallel interface's port, when port ranges may be claimed.
    std::optional<quint16> selectedLptAddress() const;
    void save_configuration();

    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;
    // Runs a first activation that waited for the window's first paint.
    void firstPaintDone();
    void closeEvent(QCloseEvent *event) override;

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
    // Failures of the azimuth sources, told once per run.
    NoticeOnce m_notices {m_feedback};

    // Main window flags.
    bool m_stepperHeld = false;
    bool m_loadingSettings = false;
    bool m_angleEchoSuppressed = false;
    bool m_forcedSendRequest = false;
    bool m_activatedOnce = false;
    bool m_loadingKoruChoice = false;
    bool m_closed = false;          // the closing sequence has begun
    bool m_closingFinished = false; // ... and ended: the window may go
    bool m_activating = false;
    // The first paint has reached the screen (or the window was never exposed).
    bool m_firstPaintDone = false;
    // Shown or activated before that paint: the first activation waits for it.
    bool m_firstActivationDue = false;
    QElapsedTimer m_closeRequested;
    bool m_autoOn = false;
    bool m_french = false;
    AzimuthSource m_source = AzimuthSource::None;
    double m_commandedPosition = 0; // the last azimuth a GO handed to the interface
    QString m_lastDdeValue; // no desktop azimuth server delivers values yet
    // The link was set before the first activation ended (by the settings or by
    // the first activation itself) and its value has not been read yet.
    bool m_startLinkUnread = false;
    // Moves the display without sending: a start value that arrives late.
    bool m_sendHeldBack = false;
    QRect m_autoButtonBounds;
    // WLEFT, WTOP, WWIDTH, WHEIGHT as read, applied together once loading ends.
    std::array<std::optional<int>, 4> m_loadedPlacement;
    // How much taller the diagnostic strip made the window; not part of the saved size.
    int m_diagnosticsGrowth = 0;

    // Widgets.
    PanelFrame *m_panel = nullptr;           // PanelLampe
    QLCDNumber *m_lcd = nullptr;             // LCDAzi
    QString m_lcdText = QStringLiteral("0"); // what LCDAzi shows, as text
    CatchUpView *m_lcdView = nullptr;        // ... once a change has been handled
    AzimuthBox *m_editAzimut = nullptr;      // EditAzimut's text, ahead of its line edit
    AzimuthStepper *m_stepper = nullptr;     // UpDownAzi
    CompassView *m_compass = nullptr;        // Image1
    int m_compassAzimuth = 0;                // where its needle points ...
    CatchUpView *m_compassView = nullptr;    // ... once a change has been handled
    PanelButton *m_buttonTrack = nullptr;    // ButtonTrack
    PanelButton *m_buttonAuto = nullptr;     // BitBtnAuto
    PanelButton *m_buttonStop = nullptr;     // BitBtnStop
    PanelButton *m_buttonLP = nullptr;       // BitBtnLP
    QLabel *m_ledOff = nullptr;              // ImageLEDOff
    QLabel *m_ledOn = nullptr;               // ImageLedOn
    std::array<QPushButton *, FavouriteCount> m_favouriteButtons {};
    QWidget *m_diagnostics = nullptr;
    QLabel *m_labelEtatInterface = nullptr;  // LabelEtatInterface
    QLineEdit *m_editDataString = nullptr;   // EditdataString
    QLabel *m_label1 = nullptr;              // Label1
    QLabel *m_labelPosition = nullptr;       // the antenna's reported position
    QString m_interfaceLabel = QStringLiteral("commande");
    std::optional<DatagramTurn> m_unshownDatagram;

    // Menus.
    QMenuBar *m_menuBar = nullptr;
    QAction *m_menuQuitter = nullptr;
    QAction *m_menuInit = nullptr;
    QAction *m_menuFav = nullptr;
    QAction *m_menuAzimut = nullptr;
    QMenu *m_menuServer = nullptr;
    QAction *m_menuServerGeomundo = nullptr;
    QAction *m_menuServerBeamDX = nullptr;
    QAction *m_menuServerKORU = nullptr;
    QAction *m_menuServerRotctld = nullptr;
    QMenu *m_menuLangue = nullptr;
    QAction *m_menuEnglish = nullptr;
    QAction *m_menuFrancais = nullptr;
    QMenu *m_menuHelp = nullptr;
    QAction *m_menuAide = nullptr;
    QAction *m_menuAPropos = nullptr;
    QAction *m_menuAuto = nullptr;
    QAction *m_menuStop = nullptr;
    QAction *m_menuLP = nullptr;
    QAction *m_menuAngle = nullptr;
    std::array<QAction *, FavouriteCount> m_menuFavItems {};
    KeyboardShortcuts *m_shortcuts = nullptr;

    QTimer m_timerBlink;
    QTimer m_timerTrackOK;

    // Before the channels, whose readers call it, so it outlives them.
    std::unique_ptr<PositionPoller> m_poller;
    std::unique_ptr<SerialRotors> m_serial;
    std::unique_ptr<ParallelRotors> m_parallelRotors;
    std::unique_ptr<ArswinLink> m_arswin;
    std::unique_ptr<MovenowLauncher> m_movenow;
    std::unique_ptr<OutsideRotors> m_outside;
    std::unique_ptr<DdeLink> m_dde;
    std::unique_ptr<UrlOpener> m_urlOpener;
    AboutBox *m_aboutBox = nullptr;
    std::unique_ptr<UdpListener> m_udp;
    std::unique_ptr<RotctldServer> m_rotctld;
    AngleDialog *m_angleDialog = nullptr;
    // The echo of the last azimuth taken, kept for an angle window not built yet.
    std::optional<int> m_unbuiltAngleEcho;
    FavouritesEditor *m_favouritesEditor = nullptr;
    SetupDialog *m_setupDialog = nullptr;
};
