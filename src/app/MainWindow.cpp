#include "app/MainWindow.h"

#include "app/AzimuthStepper.h"
#include "app/FramePacer.h"
#include "app/KeyboardShortcuts.h"
#include "dialogs/AngleDialog.h"
#include "dialogs/FavouritesEditor.h"
#include "dialogs/SetupDialog.h"
#include "config/NumberText.h"
#include "ui/AboutBox.h"
#include "ui/CompassView.h"
#include "ui/DesktopUrlOpener.h"
#include "ui/ElidingButton.h"
#include "ui/FirstPaint.h"
#include "ui/HelpPage.h"
#include "ui/LampImage.h"
#include "ui/PanelButton.h"
#include "ui/PanelFrame.h"
#include "ui/TextFit.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include <algorithm>

namespace {

// The designed client area, the smallest the window ever is; larger texts (a bigger
// desktop font, a wider style) push it out. The diagnostic strip adds to it when shown.
constexpr int ClientWidth = 471;
constexpr int ClientHeight = 114;

// The designed measures of the instrument, kept as the least each part gets.
constexpr int PanelMargin = 8;
constexpr int LcdWidth = 118;
constexpr int EditWidth = 46;
constexpr int EditHeight = 26;
constexpr int StepperWidth = 17;
constexpr int ManStopWidth = 80;
constexpr int AutoLpWidth = 88;
constexpr int ButtonHeight = 32;
constexpr int FavouriteWidth = 74;
constexpr int FavouriteHeight = 23;

// Every caption the AUTO button can show: it is sized once for the widest, so
// switching AUTO never moves or cuts it.
const QStringList AutoCaptions {QStringLiteral("AUTO   OFF"), QStringLiteral("AUTO OFF"), QStringLiteral("AUTO ON")};

PanelButton *commandButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new PanelButton(caption, parent);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

// The button's size hint as if it showed the widest of `captions`.
QSize hintForWidest(const QPushButton &button, const QStringList &captions)
{
    const QFontMetrics metrics = button.fontMetrics();
    int widest = 0;
    for (const QString &caption : captions)
        widest = std::max(widest, metrics.horizontalAdvance(caption));
    const QSize hint = button.sizeHint();
    return {hint.width() + std::max(0, widest - metrics.horizontalAdvance(button.text())), hint.height()};
}

} // namespace

MainWindow::MainWindow(Station &station, QWidget *parent)
    : QWidget(parent), m_station(station), m_urlOpener(std::make_unique<DesktopUrlOpener>())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    buildWidgets();
    buildMenus();
    buildHiddenMenu();
    // A fixed layout, as designed: the window is neither resized nor maximised by
    // the user; the settings file, its texts and the diagnostic strip set its size.
    m_chosenSize = QSize(ClientWidth, ClientHeight + m_menuBar->sizeHint().height());
    fitToTexts();
    // The program hands the keyboard to the angle window after every GO, STOP and
    // AUTO: the main window's keys must act from there, and from its other windows.
    for (QAction *item : findChildren<QAction *>())
        item->setShortcutContext(Qt::ApplicationShortcut);
    m_shortcuts = new KeyboardShortcuts(this);
    assignHiddenShortcuts();
    m_framePacer = new FramePacer(this, [this] { catchUpWithStation(); });
    bindStation();
    applyLoadedPlacement();
    afterFirstPaint(*this, [this] { firstPaintDone(); });
}

MainWindow::~MainWindow()
{
    // The other windows hold references to this one: they go first.
    delete m_setupDialog;
    delete m_aboutBox;
    delete m_angleDialog;
    delete m_favouritesEditor;
}

void MainWindow::buildWidgets()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    // The menu bar goes above it (buildMenus), laid out as a main window lays it
    // out: a plain window with a layout keeps less of Qt resident than a QMainWindow.
    auto *frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setSpacing(0);
    frame->addWidget(central);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *instrument = new QWidget(central);
    m_instrument = instrument;
    column->addWidget(instrument);

    m_panel = new PanelFrame(instrument);
    m_panel->setObjectName(QStringLiteral("PanelLampe"));

    m_lcd = new QLCDNumber(3, m_panel);
    m_lcd->setObjectName(QStringLiteral("LCDAzi"));
    m_lcd->setSegmentStyle(QLCDNumber::Filled);
    m_lcd->setFrameShape(QFrame::NoFrame);
    QPalette lcdColours = m_lcd->palette();
    lcdColours.setColor(QPalette::Window, Qt::black);
    lcdColours.setColor(QPalette::WindowText, QColor(0xff, 0x3c, 0x1e));
    m_lcd->setPalette(lcdColours);
    m_lcd->setAutoFillBackground(true);
    m_lcd->display(QStringLiteral("0"));

    auto *edit = new QLineEdit(QStringLiteral("0"), m_panel);
    edit->setObjectName(QStringLiteral("EditAzimut"));
    QPalette editColours = edit->palette();
    editColours.setColor(QPalette::Base, QColor(0x10, 0x10, 0x10));
    editColours.setColor(QPalette::Text, QColor(0xff, 0xb0, 0x00));
    // The frame's outline is drawn a shade darker than the window colour.
    editColours.setColor(QPalette::Window, QColor(0x5f, 0x5f, 0x5f));
    edit->setPalette(editColours);
    // The same font as the panel's buttons, so one font engine serves both at start.
    QFont editFont = edit->font();
    editFont.setBold(true);
    edit->setFont(editFont);
    edit->setTextMargins(3, 0, 0, 0);
    m_editAzimut = edit;
    edit->installEventFilter(this);
    // What the station shows is written back with the box's signals blocked: every
    // other change is the user's (or a caller's acting as the user) and a request.
    connect(edit, &QLineEdit::textChanged, this, &MainWindow::EditAzimutChange);

    m_stepper = new AzimuthStepper(m_panel);
    m_stepper->setValueReader([this](int *value) {
        // A held stepper repeats faster than the frame: it steps from the azimuth
        // being sent, not from the one the box showed before.
        m_framePacer->catchUp();
        const auto number = NumberText::toWholeNumber(m_editAzimut->text());
        if (number)
            *value = *number;
        return number.has_value();
    });
    connect(m_stepper, &AzimuthStepper::positionWritten, this,
            [this](int position) { m_station.enter(position, EntryOrigin::Stepper); });
    connect(m_stepper, &AzimuthStepper::mouseDown, this, [this] {
        m_stepperHeld = true;
        m_stepper->setIncrement(1);
    });
    connect(m_stepper, &AzimuthStepper::mouseUp, this, [this] {
        m_stepperHeld = false;
        m_stepper->setIncrement(1);
    });

    m_ledOff = new QLabel(m_panel);
    m_ledOff->setObjectName(QStringLiteral("ImageLEDOff"));
    m_ledOff->setPixmap(lampImage(false, devicePixelRatioF()));
    m_ledOn = new QLabel(m_panel);
    m_ledOn->setObjectName(QStringLiteral("ImageLedOn"));
    m_ledOn->hide();

    m_buttonTrack = commandButton(QStringLiteral("ButtonTrack"), QStringLiteral("MAN"), m_panel);
    m_buttonAuto = commandButton(QStringLiteral("BitBtnAuto"), AutoCaptions.first(), m_panel);
    m_buttonStop = commandButton(QStringLiteral("BitBtnStop"), QStringLiteral("STOP"), m_panel);
    m_buttonLP = commandButton(QStringLiteral("BitBtnLP"), QStringLiteral("LP"), m_panel);
    m_buttonStop->setLetteringColour(QColor(0xff, 0x5a, 0x4a));
    connect(m_buttonTrack, &QPushButton::clicked, &m_station, [this] { m_station.ButtonTrackClick(); });
    connect(m_buttonAuto, &QPushButton::clicked, this, &MainWindow::BitBtnAutoClick);
    connect(m_buttonStop, &QPushButton::clicked, this, &MainWindow::BitBtnStopClick);
    connect(m_buttonLP, &QPushButton::clicked, this, &MainWindow::BitBtnLPClick);

    m_compass = new CompassView(instrument);
    m_compass->setObjectName(QStringLiteral("Image1"));

    for (int i = 0; i < FavouriteCount; ++i) {
        auto *button = new ElidingButton(m_station.configuration().favourites[i].label, instrument);
        button->setObjectName(QStringLiteral("Button%1").arg(i + 1));
        button->installEventFilter(this);
        m_favouriteButtons[i] = button;
    }

    m_diagnostics = new QWidget(central);
    auto *strip = new QHBoxLayout(m_diagnostics);
    strip->setContentsMargins(4, 2, 4, 4);
    m_labelEtatInterface = new QLabel(QStringLiteral("commande"), m_diagnostics);
    m_labelEtatInterface->setObjectName(QStringLiteral("LabelEtatInterface"));
    m_labelEtatInterface->setTextFormat(Qt::PlainText); // command texts carry settings values
    m_editDataString = new QLineEdit(m_diagnostics);
    m_editDataString->setObjectName(QStringLiteral("EditdataString"));
    m_editDataString->setReadOnly(true);
    m_label1 = new QLabel(m_diagnostics);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setTextFormat(Qt::PlainText);
    m_labelPosition = new QLabel(m_diagnostics);
    m_labelPosition->setObjectName(QStringLiteral("LabelPosition"));
    strip->addWidget(m_labelEtatInterface);
    strip->addWidget(m_editDataString, 1);
    strip->addWidget(m_label1);
    strip->addWidget(m_labelPosition);
    m_diagnostics->hide();
    column->addWidget(m_diagnostics);
}

void MainWindow::fitToTexts()
{
    if (!m_menuBar || m_chosenSize.isEmpty())
        return; // still being built
    // Each part keeps its designed size unless its text needs more; the parts
    // beside and below it move along, so a larger font never cuts a caption.
    const auto atLeast = [](int designed, std::initializer_list<int> needs) {
        return std::max(designed, std::max(needs));
    };
    const QSize editNeed = lineEditSizeFor(*m_editAzimut, QStringLiteral("000"));
    const int editWidth = atLeast(EditWidth, {editNeed.width()});
    const int editHeight = atLeast(EditHeight, {editNeed.height()});
    const int leftColumn = atLeast(ManStopWidth, {m_buttonTrack->sizeHint().width(), m_buttonStop->sizeHint().width()});
    const QSize autoNeed = hintForWidest(*m_buttonAuto, AutoCaptions);
    const int rightColumn = atLeast(AutoLpWidth, {autoNeed.width(), m_buttonLP->sizeHint().width()});
    const int rowHeight = atLeast(ButtonHeight, {m_buttonTrack->sizeHint().height(), autoNeed.height(),
                                                 m_buttonStop->sizeHint().height(), m_buttonLP->sizeHint().height(),
                                                 editHeight});

    const int top = PanelMargin;
    const int secondRow = top + rowHeight + 4;
    m_lcd->setGeometry(PanelMargin, top, LcdWidth, 2 * rowHeight + 4);
    const int editLeft = m_lcd->geometry().right() + 1 + 10;
    const int editTop = top + (rowHeight - editHeight) / 3;
    m_editAzimut->setGeometry(editLeft, editTop, editWidth, editHeight);
    m_stepper->setGeometry(editLeft + editWidth + 1, editTop, StepperWidth, editHeight);
    const int entryWidth = editWidth + 1 + StepperWidth;
    const QRect lamp(editLeft + (entryWidth - LampSize) / 2, secondRow, LampSize, LampSize);
    m_ledOff->setGeometry(lamp);
    m_ledOn->setGeometry(lamp);
    const int leftButtons = editLeft + entryWidth + 10;
    const int rightButtons = leftButtons + leftColumn + 6;
    m_buttonTrack->setGeometry(leftButtons, top, leftColumn, rowHeight);
    m_buttonStop->setGeometry(leftButtons, secondRow, leftColumn, rowHeight);
    m_buttonLP->setGeometry(rightButtons, secondRow, rightColumn, rowHeight);
    m_autoButtonBounds = QRect(rightButtons, top, rightColumn, rowHeight);
    placeAutoButton(m_station.isAutoOn());
    m_panel->setGeometry(0, 0, rightButtons + rightColumn + PanelMargin, secondRow + rowHeight + PanelMargin);

    m_compass->move(m_panel->width() + 6, PanelMargin);

    int favouriteWidth = FavouriteWidth;
    int favouriteHeight = FavouriteHeight;
    for (const QPushButton *button : m_favouriteButtons) {
        // A caption longer than the editor lets anyone type is cut with an ellipsis.
        const QSize hint = button->sizeHint();
        const int extra = button->fontMetrics().horizontalAdvance(button->text().mid(FavouritesEditor::LabelLength));
        favouriteWidth = std::max(favouriteWidth, hint.width() - extra);
        favouriteHeight = std::max(favouriteHeight, hint.height());
    }
    const int favouriteTop = m_panel->height() + 4;
    for (int i = 0; i < FavouriteCount; ++i)
        m_favouriteButtons[i]->setGeometry(4 + i * (favouriteWidth + 3), favouriteTop, favouriteWidth, favouriteHeight);

    const int width = std::max({ClientWidth, m_compass->geometry().right() + 1 + 5,
                                4 + FavouriteCount * (favouriteWidth + 3) + 5});
    m_instrument->setFixedSize(width, std::max(ClientHeight, favouriteTop + favouriteHeight + 3));

    // The menu bar moves what does not fit into an overflow button: every title
    // must fit beside the others.
    layout()->activate();
    m_textsNeed = layout()->totalMinimumSize().expandedTo(QSize(m_menuBar->sizeHint().width(), 0));
    setFixedSize((m_chosenSize + QSize(0, m_diagnosticsGrowth)).expandedTo(m_textsNeed));
}

void MainWindow::buildMenus()
{
    m_menuBar = new QMenuBar(this);
    layout()->setMenuBar(m_menuBar);
    QMenuBar *bar = m_menuBar;
    m_menuQuitter = bar->addAction(QStringLiteral("Quit"));
    m_menuQuitter->setObjectName(QStringLiteral("MenuQuitter"));
    m_menuQuitter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(m_menuQuitter, &QAction::triggered, this, &QWidget::close);

    m_menuInit = bar->addAction(QStringLiteral("Init"));
    m_menuInit->setObjectName(QStringLiteral("MenuInit"));
    m_menuInit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(m_menuInit, &QAction::triggered, this, &MainWindow::MenuInitClick);

    m_menuFav = bar->addAction(QStringLiteral("My Favourites"));
    m_menuFav->setObjectName(QStringLiteral("MenuFav"));
    m_menuFav->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(m_menuFav, &QAction::triggered, this, [this] {
        favouritesEditor().show();
        favouritesEditor().raise();
        favouritesEditor().activateWindow();
    });

    m_menuAzimut = bar->addAction(QStringLiteral("Azimuth"));
    m_menuAzimut->setObjectName(QStringLiteral("MenuAzimut"));
    connect(m_menuAzimut, &QAction::triggered, this, [this] { angleDialog().show(); });

    m_menuServer = bar->addMenu(QStringLiteral("Server"));
    m_menuServer->setObjectName(QStringLiteral("MenuServer"));
    auto *servers = new QActionGroup(this);
    servers->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    auto serverItem = [&](const QString &name, const QString &caption, QKeyCombination key) {
        QAction *item = m_menuServer->addAction(caption);
        item->setObjectName(name);
        item->setCheckable(true);
        item->setShortcut(QKeySequence(key));
        servers->addAction(item);
        return item;
    };
    m_menuServerGeomundo = serverItem(QStringLiteral("MenuServerGeomundo"), QStringLiteral("Geomundo"),
                                      Qt::CTRL | Qt::ALT | Qt::Key_A);
    m_menuServerBeamDX = serverItem(QStringLiteral("menuServerBeamDX"), QStringLiteral("Beam_DX"),
                                    Qt::CTRL | Qt::ALT | Qt::Key_B);
    m_menuServerKORU = serverItem(QStringLiteral("MenuServerKORU"), QStringLiteral("KORU Logger"),
                                  Qt::CTRL | Qt::ALT | Qt::Key_N);
    connect(m_menuServerGeomundo, &QAction::triggered, this,
            [this] { m_station.chooseSource(AzimuthSource::Geomundo); });
    connect(m_menuServerBeamDX, &QAction::triggered, this, [this] { m_station.chooseSource(AzimuthSource::BeamDx); });
    connect(m_menuServerKORU, &QAction::triggered, this, [this] { m_station.chooseSource(AzimuthSource::Koru); });
    // Served beside whichever source is chosen above, hence outside their group.
    m_menuServer->addSeparator();
    m_menuServerRotctld = m_menuServer->addAction(QString());
    m_menuServerRotctld->setObjectName(QStringLiteral("MenuServerRotctld"));
    m_menuServerRotctld->setCheckable(true);
    connect(m_menuServerRotctld, &QAction::triggered, &m_station, &Station::toggleRotctld);

    m_menuLangue = bar->addMenu(QStringLiteral("Language"));
    m_menuLangue->setObjectName(QStringLiteral("MenuLangue"));
    m_languages = new QActionGroup(this);
    m_menuEnglish = m_menuLangue->addAction(QStringLiteral("English"));
    m_menuEnglish->setObjectName(QStringLiteral("MenuEnglish"));
    m_menuEnglish->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_menuEnglish->setData(Language::english().code());
    m_menuFrancais = m_menuLangue->addAction(QStringLiteral("Français"));
    m_menuFrancais->setObjectName(QStringLiteral("MenuFrancais"));
    m_menuFrancais->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    m_menuFrancais->setData(Language::french().code());
    connect(m_menuEnglish, &QAction::triggered, this, &MainWindow::MenuEnglishClick);
    connect(m_menuFrancais, &QAction::triggered, this, &MainWindow::MenuFrancaisClick);
    // Every further translation built into the program, named in its own words.
    for (const Language &language : Language::available()) {
        if (language == Language::english() || language == Language::french())
            continue;
        QAction *item = m_menuLangue->addAction(language.nativeName());
        item->setObjectName(QStringLiteral("MenuLanguage_") + language.code());
        item->setData(language.code());
        connect(item, &QAction::triggered, this, [this, language] { m_station.setLanguage(language); });
    }
    for (QAction *item : m_menuLangue->actions()) {
        item->setCheckable(true);
        m_languages->addAction(item);
    }

    m_menuHelp = bar->addMenu(QStringLiteral("?"));
    m_menuHelp->setObjectName(QStringLiteral("MenuHelp"));
    m_menuAide = m_menuHelp->addAction(QStringLiteral("Help"));
    m_menuAide->setObjectName(QStringLiteral("MenuAide"));
    m_menuAide->setShortcut(QKeySequence(Qt::Key_F1));
    m_menuAPropos = m_menuHelp->addAction(QStringLiteral("About Orvantis"));
    m_menuAPropos->setObjectName(QStringLiteral("MenuAPropos"));
    connect(m_menuAide, &QAction::triggered, this, [this] {
        m_urlOpener->open(helpPageUrl(QCoreApplication::applicationDirPath(), m_station.language()));
    });
    connect(m_menuAPropos, &QAction::triggered, this, [this] {
        // Built at first use: nothing of it shows before, and building it held up
        // the first paint of the window.
        if (!m_aboutBox)
            m_aboutBox = new AboutBox(*m_urlOpener, this);
        m_aboutBox->showAbout();
    });
}

void MainWindow::buildHiddenMenu()
{
    // "Menus  cachés": never shown, only their shortcuts act. Actions added to the
    // window itself give exactly that.
    auto hidden = [this](const QString &name, std::function<void()> action) {
        auto *item = new QAction(this);
        item->setObjectName(name);
        connect(item, &QAction::triggered, this, std::move(action));
        addAction(item);
        return item;
    };
    QAction *voir = hidden(QStringLiteral("MenuVoirCommande"), [this] { menuVoirCommandeClick(); });
    voir->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    hidden(QStringLiteral("MenuManuel"), [this] { m_station.ButtonTrackClick(); });
    m_menuAuto = hidden(QStringLiteral("MenuAuto"), [this] {
        if (!m_station.isAutoOn())
            BitBtnAutoClick();
    });
    m_menuStop = hidden(QStringLiteral("MenuStop"), [this] { BitBtnStopClick(); });
    m_menuLP = hidden(QStringLiteral("MenuLP"), [this] {
        BitBtnLPClick();
        focusAngleDialogIfVisible();
    });
    m_menuAngle = hidden(QStringLiteral("MenuAngle"), [this] { angleDialog().show(); });
    for (int i = 0; i < FavouriteCount; ++i) {
        m_menuFavItems[i] = hidden(QStringLiteral("MenuFav%1").arg(i + 1),
                                   [this, i] { m_station.enterFavourite(i + 1); });
    }
}

void MainWindow::assignHiddenShortcuts()
{
    m_shortcuts->bindKeypadDigit(0, m_menuAuto);
    for (int i = 0; i < FavouriteCount; ++i)
        m_shortcuts->bindKeypadDigit(i + 1, m_menuFavItems[i]);
    m_shortcuts->bindKeypadDigit(7, m_menuAngle);
    m_shortcuts->bindKeypadDigit(8, m_menuLP);
    m_shortcuts->bindKeypadDigit(9, m_menuStop);
}

