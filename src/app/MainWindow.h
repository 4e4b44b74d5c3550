#pragma once

#include "app/RotorDispatch.h"
#include "config/SetupChoices.h"
#include "config/AzimuthSource.h"
#include "config/Configuration.h"
#include "config/ConfigurationReader.h"
#include "dialogs/AngleDialogHost.h"
#include "dialogs/SetupDialogHost.h"
#include "host/ParallelPortDiscovery.h"
#include "rotors/CommandSequencer.h"
#include "rotors/CommandState.h"
#include "sources/UdpListener.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>

#include <array>
#include <memory>

class AboutBox;
class AngleDialog;
class ArswinLink;
class DdeLink;
class MovenowLauncher;
class OutsideRotors;
class ParallelRotors;
class UrlOpener;
class AzimuthStepper;
class CompassView;
class FavouritesEditor;
class PortIo;
class QAction;
class QActionGroup;
class QHostAddress;
class QFrame;
class QLabel;
class QLCDNumber;
class QLineEdit;
class QMenu;
class QPushButton;
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
};

// Form1: the azimuth entry, display, compass, command buttons and favourites.
// Every way of giving an azimuth ends in the text of EditAzimut; its change
// handling decides whether the value is sent.
class MainWindow : public QMainWindow, private LoadActions, private AngleDialogHost, private SetupDialogHost {
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

    void FormActivate();

Q_SIGNALS:
    // The closing sequence has run and the window is gone: the program ends.
    void closed();

public:
    // Runs the closing sequence once, whoever asks (Quit, close box, a signal).
    void runClosingSequence();

    // State the tests and the other windows read.
    Configuration &configuration() { return m_config; }
    CommandState &commandState() { return m_state; }
    SetupChoices &setupChoices() { return m_choices; }
    RotorDispatch &dispatch() { return m_dispatch; }
    SerialRotors &serialRotors() { return *m_serial; }
    UdpListener &udpListener() { return *m_udp; }
    AngleDialog &angleDialog() { return *m_angleDialog; }
    // Both are built at first use: nothing of them shows before, and building
    // them held up the first paint of the window.
    FavouritesEditor &favouritesEditor();
    SetupDialog &setupDialog();
    bool isAutoOn() const override { return m_autoOn; }
    bool isFrench() const { return m_french; }
    bool activatedOnce() const { return m_activatedOnce; }
    AzimuthSource azimuthSource() const { return m_source; }
    bool lampOn() const;
    bool blinking() const { return m_timerBlink.isActive(); }
    QString interfaceLabelText() const;

private:
    // LoadActions
    void applyLanguage(bool french) override;
    void pressAuto() override;
    void chooseServer(AzimuthSource source) override;
    void setFavouriteCaption(int n, const QString &caption) override;
    void setWindowGeometry(WindowField field, int value) override;
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

    void buildWidgets();
    void buildMenus();
    void buildHiddenMenu();
    void assignHiddenShortcuts();
    void installDispatchTable();
    void FormCreate();
    void loadSettings();
    void reportOnceRunning(std::function<void()> report);
    void reconcileSavedPorts();
    void setLanguageTexts();

    void EditAzimutChange();
    void displayAzimuth(const QString &text);
    void goHandling();
    void stopHandling();
    void showLamp(bool on);
    void TimerBlinkTimer();
    void TimerTrackOKTimer();
    void focusAngleDialogIfVisible();
    void DdeClientItemChange(const QString &itemText);
    void setDdeLink(const QString &service);
    void chooseDdeServer(QAction *item, AzimuthSource source, const QString &service);
    void UDPServerUDPRead(const DatagramTurn &turn);
    // The diagnostic strip's texts are only built while it is shown.
    void showDatagramEcho();
    void showInterfaceLabel(const QString &text);
    void activateKoruListener();
    // The base address of the selected parallel interface's port, when port ranges may be claimed.
    std::optional<quint16> selectedLptAddress() const;
    void save_configuration();

    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;
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

    // Main window flags.
    bool m_stepperHeld = false;
    bool m_loadingSettings = false;
    bool m_angleEchoSuppressed = false;
    bool m_forcedSendRequest = false;
    bool m_activatedOnce = false;
    bool m_loadingKoruChoice = false;
    bool m_closed = false;
    bool m_activating = false;
    QElapsedTimer m_closeRequested;
    bool m_autoOn = false;
    bool m_french = false;
    AzimuthSource m_source = AzimuthSource::None;
    QString m_lastDdeValue; // no desktop azimuth server delivers values yet
    QRect m_autoButtonBounds;

    // Widgets.
    QFrame *m_panel = nullptr;               // PanelLampe
    QLCDNumber *m_lcd = nullptr;             // LCDAzi
    QString m_lcdText = QStringLiteral("0"); // what LCDAzi shows, as text
    QLineEdit *m_editAzimut = nullptr;       // EditAzimut
    AzimuthStepper *m_stepper = nullptr;     // UpDownAzi
    CompassView *m_compass = nullptr;        // Image1
    QPushButton *m_buttonTrack = nullptr;    // ButtonTrack
    QPushButton *m_buttonAuto = nullptr;     // BitBtnAuto
    QPushButton *m_buttonStop = nullptr;     // BitBtnStop
    QPushButton *m_buttonLP = nullptr;       // BitBtnLP
    QLabel *m_ledOff = nullptr;              // ImageLEDOff
    QLabel *m_ledOn = nullptr;               // ImageLedOn
    std::array<QPushButton *, FavouriteCount> m_favouriteButtons {};
    QWidget *m_diagnostics = nullptr;
    QLabel *m_labelEtatInterface = nullptr;  // LabelEtatInterface
    QLineEdit *m_editDataString = nullptr;   // EditdataString
    QLabel *m_label1 = nullptr;              // Label1
    QString m_interfaceLabel = QStringLiteral("commande");
    std::optional<DatagramTurn> m_unshownDatagram;

    // Menus.
    QAction *m_menuQuitter = nullptr;
    QAction *m_menuInit = nullptr;
    QAction *m_menuFav = nullptr;
    QAction *m_menuAzimut = nullptr;
    QMenu *m_menuServer = nullptr;
    QAction *m_menuServerGeomundo = nullptr;
    QAction *m_menuServerBeamDX = nullptr;
    QAction *m_menuServerKORU = nullptr;
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

    QTimer m_timerBlink;
    QTimer m_timerTrackOK;

    std::unique_ptr<SerialRotors> m_serial;
    std::unique_ptr<ParallelRotors> m_parallelRotors;
    std::unique_ptr<ArswinLink> m_arswin;
    std::unique_ptr<MovenowLauncher> m_movenow;
    std::unique_ptr<OutsideRotors> m_outside;
    std::unique_ptr<DdeLink> m_dde;
    std::unique_ptr<UrlOpener> m_urlOpener;
    AboutBox *m_aboutBox = nullptr;
    std::unique_ptr<UdpListener> m_udp;
    AngleDialog *m_angleDialog = nullptr;
    FavouritesEditor *m_favouritesEditor = nullptr;
    SetupDialog *m_setupDialog = nullptr;
};
