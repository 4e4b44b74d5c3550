#pragma once

#include "config/Configuration.h"
#include "core/Station.h"
#include "dialogs/AngleDialogHost.h"

#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class AboutBox;
class AngleDialog;
class AzimuthStepper;
class FramePacer;
class CompassView;
class FavouritesEditor;
class KeyboardShortcuts;
class PanelButton;
class PanelFrame;
class QAction;
class QActionGroup;
class QLabel;
class QLCDNumber;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class SetupDialog;
class UrlOpener;

// Form1, a view of the station: the azimuth box and stepper, the display, the
// compass, the command buttons, the favourites, the lamp and the menus. It
// turns the user's actions into requests and shows what the station tells it.
class MainWindow : public QWidget, private AngleDialogHost {
    Q_OBJECT

public:
    explicit MainWindow(Station &station, QWidget *parent = nullptr);
    ~MainWindow() override;

    Station &station() { return m_station; }

    // The window's own handlers, named after their controls.
    void ButtonTrackClick() { m_station.ButtonTrackClick(); }
    void BitBtnStopClick();
    void BitBtnLPClick();
    void BitBtnAutoClick();
    void MenuInitClick();
    void menuVoirCommandeClick();
    void MenuEnglishClick() { m_station.setLanguage(Language::english()); }
    void MenuFrancaisClick() { m_station.setLanguage(Language::french()); }
    void favouriteReleased(int n, Qt::MouseButton button);
    // Sets the stepper as the user would: the azimuth goes to the station.
    void setStepperPosition(int azimuth);
    // Where the angle window stands when the settings show it.
    void placeAngleDialog();

    // Built at first use: nothing of them shows before.
    AngleDialog &angleDialog();
    FavouritesEditor &favouritesEditor();
    SetupDialog &setupDialog();

    // What the window shows, for those who read it.
    QString positionLabelText() const;
    // The diagnostic strip's command line, also where unshown boxes are told.
    void showDiagnosticText(const QString &text);

private:
    void takeAngle(int azimuth) override;

    void buildWidgets();
    // Lays the instrument out from its texts and sets the window's size from it.
    void fitToTexts();
    void placeAutoButton(bool on);
    void buildMenus();
    void buildHiddenMenu();
    void assignHiddenShortcuts();
    void bindStation();
    void applyLoadedPlacement();
    void readPlacement(WindowPlacement &placement) const;

    void EditAzimutChange(const QString &text);
    void showTarget(int azimuth, EntryOrigin origin);
    void conversionNotice(const QString &value);
    void showLamp(bool on);
    void showAuto(bool on);
    void setLanguageTexts();
    void showSource(AzimuthSource source);
    void showReportedAzimuth(std::optional<double> reported);
    void showDatagramEcho();
    void showDefaultPort(quint16 port);
    void showFavouriteCaption(int n, const QString &caption);
    void refreshRotctldMenuItem();
    void focusAngleDialogIfVisible();
    void catchUpWithStation();
    void firstPaintDone();

    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    Station &m_station;
    std::unique_ptr<UrlOpener> m_urlOpener;

    bool m_stepperHeld = false;
    // The box is being written with what the station shows: not a request.
    bool m_showingStation = false;
    // The first paint has reached the screen (or the window was never exposed).
    bool m_firstPaintDone = false;
    // Shown or activated before that paint: the first activation waits for it.
    bool m_firstActivationDue = false;
    QRect m_autoButtonBounds;
    // The size the settings file (or the design) chose, written back as it came;
    // the window is never smaller than what its texts need.
    QSize m_chosenSize;
    QSize m_textsNeed;
    // How much taller the diagnostic strip made the window; not part of the saved size.
    int m_diagnosticsGrowth = 0;
    std::optional<DatagramTurn> m_unshownDatagram;
    // What the station said since the window last caught up with it. Only the
    // target's origin is not kept by the station: the rest is read from it.
    struct Pending {
        std::optional<std::pair<int, EntryOrigin>> target;
        bool lamp = false;
        bool interfaceLabel = false;
        bool reportedAzimuth = false;
        bool goHandled = false;
    } m_pending;

    QWidget *m_instrument = nullptr;
    PanelFrame *m_panel = nullptr;        // PanelLampe
    QLCDNumber *m_lcd = nullptr;          // LCDAzi
    QLineEdit *m_editAzimut = nullptr;    // EditAzimut
    AzimuthStepper *m_stepper = nullptr;  // UpDownAzi
    FramePacer *m_framePacer = nullptr;
    CompassView *m_compass = nullptr;     // Image1
    PanelButton *m_buttonTrack = nullptr; // ButtonTrack
    PanelButton *m_buttonAuto = nullptr;  // BitBtnAuto
    PanelButton *m_buttonStop = nullptr;  // BitBtnStop
    PanelButton *m_buttonLP = nullptr;    // BitBtnLP
    QLabel *m_ledOff = nullptr;           // ImageLEDOff
    QLabel *m_ledOn = nullptr;            // ImageLedOn
    std::array<QPushButton *, FavouriteCount> m_favouriteButtons {};
    QWidget *m_diagnostics = nullptr;
    QLabel *m_labelEtatInterface = nullptr; // LabelEtatInterface
    QLineEdit *m_editDataString = nullptr;  // EditdataString
    QLabel *m_label1 = nullptr;             // Label1
    QLabel *m_labelPosition = nullptr;      // the antenna's reported position

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
    QActionGroup *m_languages = nullptr; // every item of the language menu
    QMenu *m_menuHelp = nullptr;
    QAction *m_menuAide = nullptr;
    QAction *m_menuAPropos = nullptr;
    QAction *m_menuAuto = nullptr;
    QAction *m_menuStop = nullptr;
    QAction *m_menuLP = nullptr;
    QAction *m_menuAngle = nullptr;
    std::array<QAction *, FavouriteCount> m_menuFavItems {};
    KeyboardShortcuts *m_shortcuts = nullptr;

    AboutBox *m_aboutBox = nullptr;
    AngleDialog *m_angleDialog = nullptr;
    FavouritesEditor *m_favouritesEditor = nullptr;
    SetupDialog *m_setupDialog = nullptr;
};
