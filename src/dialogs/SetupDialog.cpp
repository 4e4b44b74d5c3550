#include "dialogs/SetupDialog.h"

#include "config/NumberText.h"
#include "dialogs/HamlibSetupPage.h"
#include "dialogs/KctSetupPage.h"
#include "dialogs/ParallelSetupPage.h"
#include "dialogs/RadioGroup.h"
#include "dialogs/RotctldSetupGroup.h"
#include "dialogs/SerialSetupPage.h"
#include "core/SetupTexts.h"
#include "dialogs/ZentaSetupPage.h"
#include "host/ParallelPortDiscovery.h"
#include "core/UserFeedback.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace {

constexpr int AntennaMax = 16;
constexpr int KoruPortMax = 50000;

// The order in which the showing loads the serial pages.
constexpr std::array<InterfaceKind, 7> SerialShowingOrder = {
    InterfaceKind::Gs232,     InterfaceKind::EasyComm, InterfaceKind::Dcu1, InterfaceKind::ProSisTel,
    InterfaceKind::TrakBox,   InterfaceKind::M2Orion,  InterfaceKind::Egis,
};

QString pageCaption(InterfaceKind kind)
{
    return kind == InterfaceKind::Gs232 ? QStringLiteral("GS-232") : dialogCaption(kind);
}

QStringList interfaceItems()
{
    QStringList items;
    for (InterfaceKind kind : AllInterfaceKinds)
        items << dialogCaption(kind);
    return items;
}

} // namespace

SetupDialog::SetupDialog(SetupDialogContext context, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint),
      m_context(context),
      m_rotor(new RadioGroup(QStringLiteral("RadioGroupRotor"), QStringLiteral("INTERFACE"), interfaceItems(), this)),
      m_pages(new QTabWidget(this)),
      m_scroll(new QScrollArea(this)),
      m_content(new QWidget(m_scroll))
{
    setObjectName(QStringLiteral("FormInit"));
    setWindowTitle(QStringLiteral("ORVANTIS"));
    // The designed backgrounds come with their own text colour: a dark theme's
    // near-white text would vanish on them.
    m_rotor->setStyleSheet(QStringLiteral("QGroupBox#RadioGroupRotor { background: #d3d3d3; color: #000000; }"
                                          " QGroupBox#RadioGroupRotor QRadioButton { color: #000000; }"));
    connect(m_rotor, &RadioGroup::itemClicked, this, &SetupDialog::RadioGroupRotorClick);

    m_pages->setObjectName(QStringLiteral("PageControlAntenne"));
    m_pages->setUsesScrollButtons(true);
    m_pages->setStyleSheet(QStringLiteral("QGroupBox { background: #ffffe1; color: #000000; }"
                                          " QGroupBox QLabel, QGroupBox QRadioButton, QGroupBox QCheckBox"
                                          " { color: #000000; }"));
    const auto chosen = [this] { return chosenInterface(); };
    for (InterfaceKind kind : AllInterfaceKinds) {
        SetupPage *page = nullptr;
        if (isParallel(kind)) {
            auto *parallel = new ParallelSetupPage(kind, m_context, chosen, m_pages);
            m_parallelPages[ordinal(kind)] = parallel;
            page = parallel;
        } else if (kind == InterfaceKind::Zenta) {
            page = new ZentaSetupPage(m_context, chosen, m_pages);
        } else if (kind == InterfaceKind::Hamlib) {
            page = new HamlibSetupPage(m_context, chosen, m_pages);
        } else if (kind == InterfaceKind::Kct) {
            m_kctPage = new KctSetupPage(m_context, chosen, m_pages);
            page = m_kctPage;
        } else {
            auto *serial = new SerialSetupPage(kind, m_context, chosen, m_pages);
            const auto at = std::find(SerialShowingOrder.begin(), SerialShowingOrder.end(), kind);
            m_serialPages[std::distance(SerialShowingOrder.begin(), at)] = serial;
            connect(serial, &SerialSetupPage::comPortsChanged, this, [this] {
                for (SerialSetupPage *shown : m_serialPages)
                    shown->fillPorts();
            });
            page = serial;
        }
        m_page[ordinal(kind)] = page;
        m_pages->addTab(page, pageCaption(kind));
    }

    auto *koru = new QGroupBox(QStringLiteral("KORU"), this);
    koru->setObjectName(QStringLiteral("GroupBox1"));
    buildKoruGroup(koru);

    m_rotctld = new RotctldSetupGroup(m_context.config.extensions, this);

    m_audio = new QCheckBox(this);
    m_audio->setObjectName(QStringLiteral("CheckBoxEnvoiCommande"));
    connect(m_audio, &QCheckBox::toggled, this, [this](bool ticked) { m_context.config.jingleEnabled = ticked; });

    auto *grid = new QGridLayout(m_content);
    grid->addWidget(m_rotor, 0, 0, Qt::AlignTop);
    grid->addWidget(m_pages, 0, 1);
    grid->addWidget(koru, 1, 0, 1, 2);
    grid->addWidget(m_rotctld, 2, 0, 1, 2);
    grid->addWidget(m_audio, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);

    // Taller than a small or magnified screen: the content scrolls instead of
    // running off it.
    m_scroll->setObjectName(QStringLiteral("SetupScrollArea"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_content);
    auto *whole = new QVBoxLayout(this);
    whole->setContentsMargins(QMargins());
    whole->addWidget(m_scroll);

    applyLanguage(Language::english());
}

void SetupDialog::buildKoruGroup(QWidget *box)
{
    m_editPortKoru = new QLineEdit(m_context.choices.koruPortText, box);
    m_editPortKoru->setObjectName(QStringLiteral("EditPortKORU"));
    m_editAntKoru = new QLineEdit(m_context.choices.koruAntennaText, box);
    m_editAntKoru->setObjectName(QStringLiteral("EditAntKORU"));
    // The writer saves the fields' texts as they stand.
    connect(m_editPortKoru, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_context.choices.koruPortText = text; });
    connect(m_editAntKoru, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_context.choices.koruAntennaText = text; });

    auto *row = new QHBoxLayout(box);
    row->addWidget(new QLabel(QStringLiteral("Port KORU :"), box));
    row->addWidget(m_editPortKoru);
    row->addWidget(new QLabel(QStringLiteral("Port Antenne: "), box));
    row->addWidget(m_editAntKoru);
}

InterfaceKind SetupDialog::chosenInterface() const
{
    return interfaceKindFromOrdinal(m_rotor->selectedIndex());
}

void SetupDialog::applyLanguage(const Language &language)
{
    const SetupTexts &texts = setupTexts(language);
    for (SetupPage *page : m_page)
        page->applyLanguage(texts);
    m_rotctld->applyLanguage(texts);
    m_audio->setText(texts.audioSignal);
}

void SetupDialog::fillFromChoices()
{
    for (ParallelSetupPage *page : m_parallelPages)
        page->fillPorts();
    for (SerialSetupPage *page : m_serialPages)
        page->fillPorts();
    m_editPortKoru->setText(m_context.choices.koruPortText);
    m_editAntKoru->setText(m_context.choices.koruAntennaText);
}

void SetupDialog::showEvent(QShowEvent *event)
{
    // A spontaneous show is a minimised dialog restored, not a new showing.
    if (!event->spontaneous()) {
        FormShow();
        fitToScreen();
    }
    QWidget::showEvent(event);
}

void SetupDialog::fitToScreen()
{
    const QScreen *shown = screen();
    if (!shown)
        return;
    // Before the first showing the window manager's frame is not known yet: a
    // title bar's worth is kept free for it.
    const QMargins frame = windowHandle() && !windowHandle()->frameMargins().isNull()
        ? windowHandle()->frameMargins()
        : QMargins(0, 32, 0, 0);
    const QRect available = shown->availableGeometry().marginsRemoved(frame);
    const QSize whole = m_content->sizeHint()
        + QSize(m_scroll->verticalScrollBar()->sizeHint().width(), m_scroll->horizontalScrollBar()->sizeHint().height());
    resize(whole.boundedTo(available.size()));
    // Moved only when part of it would be off the free area, so the window
    // manager keeps placing a dialog that fits.
    QRect placed = geometry();
    placed.moveRight(std::min(placed.right(), available.right()));
    placed.moveBottom(std::min(placed.bottom(), available.bottom()));
    placed.moveLeft(std::max(placed.left(), available.left()));
    placed.moveTop(std::max(placed.top(), available.top()));
    if (placed != geometry())
        move(placed.topLeft() - QPoint(frame.left(), frame.top()));
}

void SetupDialog::FormShow()
{
    Configuration &config = m_context.config;
    m_audio->setChecked(config.jingleEnabled);
    m_rotctld->fill();
    applyLanguage(m_context.station.language());
    fillFromChoices();

    for (ParallelSetupPage *page : m_parallelPages)
        page->FormShow();
    m_page[ordinal(InterfaceKind::Zenta)]->FormShow();
    m_page[ordinal(InterfaceKind::Hamlib)]->FormShow();
    for (SerialSetupPage *page : m_serialPages)
        page->FormShow();
    m_kctPage->FormShow();

    // Shown, not clicked: the first showing must not stop, probe or forget anything.
    m_rotor->showSelection(ordinal(config.interfaceKind));
    if (config.interfaceKind != InterfaceKind::None)
        m_pages->setCurrentIndex(ordinal(config.interfaceKind));
    // Datagrams must not steer the rotator while its settings are being changed.
    m_context.station.deactivateKoruListener();
}

bool SetupDialog::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(event);
}

void SetupDialog::FormActivate()
{
    const int parking = m_context.config.parkingInterface;
    if (parking < 1 || parking > InterfaceKindCount)
        return;
    m_page[parking - 1]->showParking(int(NumberText::roundHalfEven(m_context.config.parkingAzimuth)));
}

void SetupDialog::RadioGroupRotorClick(int item)
{
    if (item < 0)
        return;
    // A choice made here replaces an interface that was only absent at start.
    m_context.choices.interfaceAbsentAtStart.reset();
    m_context.station.StopAll();

    const InterfaceKind kind = interfaceKindFromOrdinal(item);
    SetupPage *page = m_page[item];
    if (kind == InterfaceKind::Kct) {
        if (!page->interfaceChosen()) {
            m_rotor->clearSelection();
            return;
        }
        m_pages->setCurrentWidget(page);
    } else {
        m_pages->setCurrentWidget(page);
        if (!page->interfaceChosen())
            m_rotor->clearSelection();
    }

    m_context.config.interfaceKind = chosenInterface();
    m_context.station.commandState().lastSentAzimuth = -10;
    m_context.station.rebuildCaption();
}

void SetupDialog::closeEvent(QCloseEvent *event)
{
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

bool SetupDialog::FormClose()
{
    Configuration &config = m_context.config;
    if (config.interfaceKind == InterfaceKind::Kct && !m_kctPage->checkMovenow()) {
        m_rotor->clearSelection();
        config.interfaceKind = InterfaceKind::None;
        config.parkingInterface = 0;
        return false;
    }

    if (m_context.station.lptDriverReady()) {
        // The port of the interface in use stays claimed: once released, the
        // driver would refuse every later GO until the program restarts.
        std::optional<quint16> inUse;
        if (isParallel(config.interfaceKind) && m_context.station.parallelPorts().portRangesEnabled())
            inUse = m_parallelPages[ordinal(config.interfaceKind)]->selectedAddress();
        for (ParallelSetupPage *page : m_parallelPages) {
            if (const auto address = page->selectedAddress(); address && address != inUse)
                m_context.station.disableLptPort(*address);
        }
    }

    m_context.station.closeOutForSetup();

    m_context.station.lowerForcedSend();
    config.parkingInterface = 0;
    if (config.interfaceKind != InterfaceKind::None) {
        const SetupPage *page = m_page[ordinal(config.interfaceKind)];
        if (page->parkingTicked()) {
            config.parkingInterface = ordinal(config.interfaceKind) + 1;
            config.parkingAzimuth = page->testAzimuth();
        }
    }

    const auto antenna = NumberText::toWholeNumber(m_editAntKoru->text());
    if (!antenna || *antenna > AntennaMax || *antenna < 1)
        return refuseKoruField(m_editAntKoru);
    const auto port = NumberText::toWholeNumber(m_editPortKoru->text());
    if (!port || *port > KoruPortMax || *port < 1)
        return refuseKoruField(m_editPortKoru);
    bool rotctldChanged = false;
    if (!m_rotctld->commit(&rotctldChanged)) {
        m_context.feedback.beep();
        return false;
    }

    m_context.station.deactivateKoruListener();
    config.koruPort = *port;
    config.koruAntenna = *antenna;
    m_context.station.setKoruPort(quint16(config.koruListeningPort()));
    if (m_context.station.azimuthSource() == AzimuthSource::Koru)
        m_context.station.activateKoruListener();
    if (rotctldChanged)
        m_context.station.applyRotctldSetting();
    return true;
}

bool SetupDialog::refuseKoruField(QLineEdit *field)
{
    m_context.feedback.beep();
    field->setFocus();
    field->selectAll();
    return false;
}
