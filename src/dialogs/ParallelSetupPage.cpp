#include "dialogs/ParallelSetupPage.h"

#include "config/NumberText.h"
#include "dialogs/RadioGroup.h"
#include "core/SetupTexts.h"
#include "host/ParallelPortDiscovery.h"
#include "host/PortDriverCheck.h"
#include "core/UserFeedback.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace {

constexpr double ZeroLimit = 90;

struct ParallelNames {
    QString suffix;    // PourSat, FOD
    QString lpt;
    QString step;
    QString stepLabel;
};

ParallelNames parallelNames(InterfaceKind kind)
{
    if (kind == InterfaceKind::PourSat)
        return {QStringLiteral("PourSat"), QStringLiteral("RadioGroupPourSatLPT"), QStringLiteral("SpinEditStepPourSat"),
                QStringLiteral("LabelStepPourSat")};
    return {QStringLiteral("FOD"), QStringLiteral("RadioGroupFODLPT"), QStringLiteral("SpinEditStepFODtrack"),
            QStringLiteral("LabelStepFODTrack")};
}

SetupPage::Names pageNames(InterfaceKind kind)
{
    const ParallelNames names = parallelNames(kind);
    TestParkingGroup::Names test = TestParkingGroup::namesFor(names.suffix);
    if (kind == InterfaceKind::FodTrack)
        test.button = QStringLiteral("BitBtntestFOD");
    return {QStringLiteral("TabSheet") + names.suffix, QStringLiteral("RadioGroup%1Butee").arg(names.suffix),
            names.step, names.stepLabel, test};
}

// Empty or unreadable text counts as 0.
double realOrZero(const QString &text)
{
    return NumberText::toReal(text).value_or(0);
}

} // namespace

ParallelSetupPage::ParallelSetupPage(InterfaceKind kind, SetupDialogContext context,
                                     std::function<InterfaceKind()> chosen, QWidget *parent)
    : SetupPage(kind, pageNames(kind), context, std::move(chosen), parent),
      m_lpt(new RadioGroup(parallelNames(kind).lpt, QStringLiteral("LPT port"),
                           {QStringLiteral("LPT1"), QStringLiteral("LPT2"), QStringLiteral("LPT3")}, this)),
      m_calibration(new QLineEdit(this)),
      m_zero(new QLineEdit(this))
{
    const QString suffix = parallelNames(kind).suffix;
    connect(m_lpt, &RadioGroup::itemClicked, this, &ParallelSetupPage::RadioGroupLPTClick);
    addRow(m_lpt);

    auto *calibration = new QGroupBox(QStringLiteral("Calibration"), this);
    calibration->setObjectName(QStringLiteral("GroupBox%1Cal").arg(suffix));
    auto *form = new QFormLayout(calibration);
    m_calibration->setObjectName(QStringLiteral("Edit%1CalAz").arg(suffix));
    m_zero->setObjectName(QStringLiteral("Edit%1Zero").arg(suffix));
    form->addRow(QStringLiteral("Bit/°Az = "), m_calibration);
    form->addRow(QStringLiteral("Zero/°Az= "), m_zero);
    connect(m_calibration, &QLineEdit::textChanged, this, &ParallelSetupPage::EditCalAzChange);
    connect(m_zero, &QLineEdit::textChanged, this, &ParallelSetupPage::EditZeroChange);
    addRow(calibration);
}

const ParallelAddressTable &ParallelSetupPage::addresses() const
{
    return kind() == InterfaceKind::PourSat ? m_context.station.parallelPorts().pourSatAddresses
                                            : m_context.station.parallelPorts().fodTrackAddresses;
}

int &ParallelSetupPage::modelSelection()
{
    return kind() == InterfaceKind::PourSat ? m_context.choices.pourSatLptSelection
                                            : m_context.choices.fodTrackLptSelection;
}

const QStringList &ParallelSetupPage::modelItems() const
{
    return kind() == InterfaceKind::PourSat ? m_context.choices.pourSatLptItems
                                            : m_context.choices.fodTrackLptItems;
}

void ParallelSetupPage::fillPorts()
{
    if (modelItems().size() == LptSlotCount)
        m_lpt->setItems(modelItems());
    m_lpt->showSelection(modelSelection());
}

std::optional<quint16> ParallelSetupPage::selectedAddress() const
{
    const int item = m_lpt->selectedIndex();
    if (item < 0 || item >= LptSlotCount)
        return std::nullopt;
    return addresses()[item];
}

void ParallelSetupPage::FormShow()
{
    if (m_context.station.parallelPorts().portsUsable())
        m_lpt->setSelectedIndex(settings().port);
    else
        m_lpt->clearSelection();
    modelSelection() = m_lpt->selectedIndex();
    loadStopAndStep();
    m_calibration->setText(NumberText::formatGeneral7(settings().calibration));
    m_zero->setText(NumberText::formatGeneral7(settings().zero));

    if (m_context.config.interfaceKind == kind() && m_context.station.parallelPorts().portRangesEnabled()) {
        if (const auto address = selectedAddress())
            m_context.station.enableLptPort(*address);
    }
}

bool ParallelSetupPage::interfaceChosen()
{
    RadioGroupLPTClick();
    return true;
}

void ParallelSetupPage::beforeTest()
{
    if (!m_context.station.parallelPorts().portRangesEnabled())
        return;
    if (const auto address = selectedAddress())
        m_context.station.enableLptPort(*address);
}

void ParallelSetupPage::RadioGroupLPTClick()
{
    const int item = m_lpt->selectedIndex();
    if (item >= 0 && !m_context.station.parallelPorts().portsUsable()) {
        m_context.feedback.beep();
        const Language language = m_context.station.language();
        m_context.feedback.error(setupTexts(language).errorTitle, driverMissingMessage(language));
        m_lpt->clearSelection();
        modelSelection() = -1;
        QCoreApplication::processEvents();
        return;
    }
    const std::optional<quint16> address = selectedAddress();
    if (!address || *address == 0) {
        m_lpt->clearSelection();
        modelSelection() = -1;
        settings().port = -1;
    } else {
        modelSelection() = item;
        settings().port = item;
        // The interface being chosen counts too: its port must be claimed before
        // its first move, and the choice is only recorded after this runs.
        if (isChosen() && m_context.station.parallelPorts().portRangesEnabled())
            m_context.station.enableLptPort(*address);
    }
    m_context.station.rebuildCaption();
}

void ParallelSetupPage::EditCalAzChange()
{
    settings().calibration = realOrZero(m_calibration->text());
}

void ParallelSetupPage::EditZeroChange()
{
    const double zero = realOrZero(m_zero->text());
    settings().zero = zero;
    if (zero > ZeroLimit || zero < -ZeroLimit) {
        m_context.feedback.beep();
        settings().zero = 0;
        m_zero->clear();
    }
}
