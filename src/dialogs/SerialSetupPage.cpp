#include "dialogs/SerialSetupPage.h"

#include "config/BaudRateTable.h"
#include "dialogs/RadioGroup.h"
#include "core/SetupTexts.h"
#include "rotors/PositionReply.h"
#include "core/UserFeedback.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

struct SerialNames {
    QString suffix;       // GS, Easy, ...
    QString stopSide;     // empty for TrakBox
    QString step;
    QString stepLabel;
    bool hasBaud;
};

SerialNames serialNames(InterfaceKind kind)
{
    switch (kind) {
    case InterfaceKind::Gs232:
        return {QStringLiteral("GS"), QStringLiteral("RadioGroupGSbutee"), QStringLiteral("SpinEditStepGS"),
                QStringLiteral("LabelStepGS"), true};
    case InterfaceKind::EasyComm:
        return {QStringLiteral("Easy"), QStringLiteral("RadioGroupEasyButee"), QStringLiteral("SpinEditStepEasy"),
                QStringLiteral("LabelStepEasy"), true};
    case InterfaceKind::TrakBox:
        return {QStringLiteral("TKB"), QString(), QStringLiteral("SpinEditStepTKB"), QStringLiteral("LabelStepTKB"),
                true};
    case InterfaceKind::ProSisTel:
        return {QStringLiteral("Pro"), QStringLiteral("RadioGroupProButee"), QStringLiteral("SpinEditstepPro"),
                QStringLiteral("LabelStepPro"), false};
    case InterfaceKind::Dcu1:
        return {QStringLiteral("DCU"), QStringLiteral("RadioGroupDCUButee"), QStringLiteral("SpinEditStepDCU"),
                QStringLiteral("LabelStepDCU"), true};
    case InterfaceKind::M2Orion:
        return {QStringLiteral("M2"), QStringLiteral("RadioGroupM2Butee"), QStringLiteral("SpinEditStepM2"),
                QStringLiteral("LabelStepM2"), false};
    default:
        return {QStringLiteral("EGI"), QStringLiteral("RadioGroupEGIButee"), QStringLiteral("SpinEditStepEGI"),
                QStringLiteral("LabelStepEGI"), false};
    }
}

SetupPage::Names pageNames(InterfaceKind kind)
{
    const SerialNames serial = serialNames(kind);
    TestParkingGroup::Names test = TestParkingGroup::namesFor(serial.suffix);
    // A few controls have always carried names of their own.
    if (kind == InterfaceKind::ProSisTel)
        test.button = QStringLiteral("BitBtntestPro");
    if (kind == InterfaceKind::Dcu1)
        test.azimuth = QStringLiteral("SpinEditAZTestDCU");
    if (kind == InterfaceKind::TrakBox)
        test.parkLabel = QStringLiteral("LabelparkTKB");
    if (kind == InterfaceKind::M2Orion)
        test.parkLabel = QStringLiteral("labelParkM2");
    return {QStringLiteral("TabSheet") + serial.suffix, serial.stopSide, serial.step, serial.stepLabel, test};
}

} // namespace

SerialSetupPage::SerialSetupPage(InterfaceKind kind, SetupDialogContext context, std::function<InterfaceKind()> chosen,
                                 QWidget *parent)
    : SetupPage(kind, pageNames(kind), context, std::move(chosen), parent),
      m_ports(new RadioGroup(QStringLiteral("RadioGroupPort") + serialNames(kind).suffix, QStringLiteral("COM Port"),
                             {}, this)),
      m_pin(new QPushButton(this)),
      m_offset(new QSpinBox(this))
{
    const SerialNames names = serialNames(kind);
    connect(m_ports, &RadioGroup::itemClicked, this, &SerialSetupPage::RadioGroupPortClick);
    addRow(m_ports);
    m_pin->setObjectName(QStringLiteral("ButtonPin") + names.suffix);
    connect(m_pin, &QPushButton::clicked, this, &SerialSetupPage::ButtonPinClick);
    addRow(m_pin);

    m_offset->setObjectName(QStringLiteral("SpinEdit") + names.suffix + QStringLiteral("AzOffset"));
    m_offset->setRange(-30, 30);
    m_offset->findChild<QLineEdit *>()->setMaxLength(3);
    connect(m_offset, &QSpinBox::valueChanged, this, [this](int offset) { settings().azimuthOffset = offset; });
    auto *offsetLabel = new QLabel(QStringLiteral("AZ Offset"), this);
    if (kind == InterfaceKind::TrakBox)
        offsetLabel->setObjectName(QStringLiteral("LabelTKBAzOffset"));
    addRow(offsetLabel, m_offset);

    if (names.hasBaud) {
        m_baud = new QComboBox(this);
        m_baud->setObjectName(QStringLiteral("ComboBoxBaud") + names.suffix);
        m_baud->addItems(BaudRateTable::dialogTexts());
        m_baud->setCurrentText(QStringLiteral("4800"));
        // Only the user's choice runs the handler; the showing runs it itself.
        connect(m_baud, &QComboBox::activated, this, &SerialSetupPage::ComboBoxBaudClick);
        addRow(new QLabel(QStringLiteral("Bauds"), this), m_baud);
    }

    if (kind == InterfaceKind::Gs232)
        addFlag(QStringLiteral("CheckBoxGSel"), QStringLiteral("+ el=0"), &Configuration::gs232Elevation);
    if (kind == InterfaceKind::TrakBox)
        m_trakBoxHost = addFlag(QStringLiteral("CheckBoxTKBHost"), QString(), &Configuration::trakBoxHostMode);
    if (kind == InterfaceKind::ProSisTel)
        addFlag(QStringLiteral("CheckBoxCPMoff"), QStringLiteral("CPM off"), &Configuration::proSisTelCpmOff);
    if (PositionReply::canReport(kind))
        addReadPosition();
}

void SerialSetupPage::addReadPosition()
{
    m_readPosition = new QCheckBox(this);
    m_readPosition->setObjectName(QStringLiteral("CheckBoxReadPosition") + serialNames(kind()).suffix);
    connect(m_readPosition, &QCheckBox::toggled, this, [this](bool ticked) {
        // Only a change is recorded, so a file that never had the key keeps not having it.
        ExtensionSettings &extensions = m_context.config.extensions;
        if (ticked != extensions.readsPosition(kind()))
            extensions.readPosition[ordinal(kind())] = ticked ? QStringLiteral("1") : QStringLiteral("0");
    });
    addRow(m_readPosition);
}

QCheckBox *SerialSetupPage::addFlag(const QString &name, const QString &caption, bool Configuration::*flag)
{
    auto *box = new QCheckBox(caption, this);
    box->setObjectName(name);
    connect(box, &QCheckBox::toggled, this, [this, flag](bool ticked) { m_context.config.*flag = ticked; });
    addRow(box);
    m_flags.append({box, flag});
    return box;
}

void SerialSetupPage::fillPorts()
{
    QStringList items;
    for (const SetupChoices::ComPortEntry &port : m_context.choices.comPorts) {
        QString item = QStringLiteral("%1  %2").arg(port.name, port.devicePath);
        if (!port.adapter.isEmpty())
            item += QStringLiteral("  (%1)").arg(port.adapter);
        items << item;
    }
    m_ports->setItems(items);
    for (int i = 0; i < items.size(); ++i)
        m_ports->item(i)->setToolTip(m_context.choices.comPorts[i].byIdPath);
    m_ports->showSelection(m_context.choices.comSelection[ordinal(kind())]);
    enablePin();
    // The flags the record keeps are shown as they stand.
    for (const Flag &flag : m_flags)
        flag.box->setChecked(m_context.config.*flag.field);
    if (m_readPosition)
        m_readPosition->setChecked(m_context.config.extensions.readsPosition(kind()));
}

void SerialSetupPage::FormShow()
{
    // Showing the dialog shows the choices as they stand: it never selects a port
    // itself, which would probe it again (and drop it if another program holds it).
    m_ports->showSelection(m_context.choices.comSelection[ordinal(kind())]);
    loadStopAndStep();
    m_offset->setValue(settings().azimuthOffset);
    if (m_baud) {
        // A rate the list does not offer (38400 from a hand-edited file) keeps the
        // index that set the channel, so the two never disagree.
        for (int i = 0; i < m_baud->count(); ++i) {
            if (m_baud->itemText(i) == settings().baudText) {
                m_baud->setCurrentIndex(i);
                ComboBoxBaudClick();
                settings().baudIndex = i;
            }
        }
    }
}

void SerialSetupPage::applyLanguage(const SetupTexts &texts)
{
    SetupPage::applyLanguage(texts);
    if (m_trakBoxHost)
        m_trakBoxHost->setText(texts.trakBoxHost);
    if (m_readPosition)
        m_readPosition->setText(texts.readPosition);
    m_comPortMissing = texts.comPortMissing;
    m_warningTitle = texts.warningTitle;
    m_pin->setText(texts.pinPort);
    m_pin->setToolTip(texts.pinPortHint);
    m_pinFailed = texts.pinFailed;
}

bool SerialSetupPage::interfaceChosen()
{
    const int item = m_ports->selectedIndex();
    if (item < 0) {
        m_context.feedback.warning(m_warningTitle, m_comPortMissing);
        return false;
    }
    RadioGroupPortClick(item);
    return true;
}

void SerialSetupPage::RadioGroupPortClick(int item)
{
    if (item < 0 || item >= m_context.choices.comPorts.size())
        return;
    if (!m_context.station.selectComPort(kind(), item))
        m_ports->clearSelection();
    enablePin();
    m_context.station.rebuildCaption();
}

void SerialSetupPage::enablePin()
{
    const int item = m_ports->selectedIndex();
    const QList<ComPort> &ports = m_context.choices.comPorts;
    m_pin->setEnabled(item >= 0 && item < ports.size() && !ports[item].byIdPath.isEmpty()
                      && ports[item].devicePath != ports[item].byIdPath);
}

void SerialSetupPage::ButtonPinClick()
{
    const int item = m_ports->selectedIndex();
    if (item < 0 || item >= m_context.choices.comPorts.size())
        return;
    const ComPort port = m_context.choices.comPorts[item];
    QString error;
    if (!m_context.station.pinComPort(port.name, port.byIdPath, &error)) {
        m_context.feedback.warning(m_warningTitle, m_pinFailed.arg(port.name, port.byIdPath, error));
        return;
    }
    Q_EMIT comPortsChanged();
}

void SerialSetupPage::ComboBoxBaudClick()
{
    const int index = m_baud->currentIndex();
    m_context.station.setChannelBaud(kind(), index);
    settings().baudIndex = index;
    settings().baudText = m_baud->currentText();
    // The status line names the speed.
    m_context.station.rebuildCaption();
}
