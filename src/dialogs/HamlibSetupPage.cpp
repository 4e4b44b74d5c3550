#include "dialogs/HamlibSetupPage.h"

#include "config/BaudRateTable.h"
#include "config/Translation.h"
#include "core/SetupTexts.h"
#include "host/ComPortNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QStandardItemModel>

#include <algorithm>

namespace {

SetupPage::Names hamlibNames()
{
    return {QStringLiteral("TabSheetHamlib"), QStringLiteral("RadioGroupHamlibButee"),
            QStringLiteral("SpinEditStepHamlib"), QStringLiteral("LabelStepHamlib"),
            TestParkingGroup::namesFor(QStringLiteral("Hamlib"))};
}

} // namespace

HamlibSetupPage::HamlibSetupPage(SetupDialogContext context, std::function<InterfaceKind()> chosen, QWidget *parent)
    : SetupPage(InterfaceKind::Hamlib, hamlibNames(), context, std::move(chosen), parent),
      m_filter(new QLineEdit(this)),
      m_model(new QComboBox(this)),
      m_modelLabel(new QLabel(this)),
      m_port(new QComboBox(this)),
      m_portLabel(new QLabel(this)),
      m_address(new QLineEdit(this)),
      m_addressLabel(new QLabel(this)),
      m_baud(new QComboBox(this)),
      m_baudLabel(new QLabel(this)),
      m_offset(new QSpinBox(this)),
      m_offsetLabel(new QLabel(this)),
      m_readPosition(new QCheckBox(this))
{
    m_filter->setObjectName(QStringLiteral("EditHamlibFilter"));
    m_filter->setClearButtonEnabled(true);
    m_model->setObjectName(QStringLiteral("ComboBoxHamlibModel"));
    m_port->setObjectName(QStringLiteral("ComboBoxHamlibPort"));
    m_address->setObjectName(QStringLiteral("EditHamlibAddress"));
    m_baud->setObjectName(QStringLiteral("ComboBoxHamlibBaud"));
    m_offset->setObjectName(QStringLiteral("SpinEditHamlibAzOffset"));
    m_offset->setRange(-30, 30);
    m_readPosition->setObjectName(QStringLiteral("CheckBoxReadPositionHamlib"));

    addRow(m_filter);
    addRow(m_modelLabel, m_model);
    addRow(m_portLabel, m_port);
    addRow(m_addressLabel, m_address);
    addRow(m_baudLabel, m_baud);
    addRow(m_offsetLabel, m_offset);
    addRow(m_readPosition);

    connect(m_filter, &QLineEdit::textChanged, this, &HamlibSetupPage::fillModels);
    connect(m_model, &QComboBox::activated, this, &HamlibSetupPage::modelPicked);
    connect(m_port, &QComboBox::activated, this, [this](int item) {
        settings().port = item > 0 ? comNumber(m_port->itemData(item).toString()) - 1 : -1;
        changed();
    });
    connect(m_address, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_context.config.extensions.hamlibAddress = text.trimmed();
        changed();
    });
    connect(m_baud, &QComboBox::activated, this, [this](int item) {
        settings().baudText = item > 0 ? m_baud->itemText(item) : QString();
        changed();
    });
    connect(m_offset, &QSpinBox::valueChanged, this, [this](int offset) {
        settings().azimuthOffset = offset;
        changed();
    });
    connect(m_readPosition, &QCheckBox::toggled, this, [this](bool ticked) {
        ExtensionSettings &extensions = m_context.config.extensions;
        if (ticked != extensions.readsPosition(InterfaceKind::Hamlib)) {
            extensions.readPosition[ordinal(InterfaceKind::Hamlib)] = ticked ? QStringLiteral("1") : QStringLiteral("0");
            changed();
        }
    });
}

void HamlibSetupPage::changed()
{
    if (!m_showing)
        m_context.config.extensions.hamlibSection = true;
}

void HamlibSetupPage::fillLists()
{
    // Read from the library the first time the page is seen: opening Init for
    // another interface loads nothing of Hamlib.
    if (m_models.isEmpty())
        m_models = HamlibModels::all();
    fillModels();
    fillPorts();
}

void HamlibSetupPage::showEvent(QShowEvent *event)
{
    SetupPage::showEvent(event);
    fillLists();
}

void HamlibSetupPage::fillModels()
{
    const QString filter = m_filter->text().trimmed();
    const int saved = m_context.config.extensions.hamlibModelNumber();
    m_model->clear();
    QString maker;
    for (const HamlibModel &model : m_models) {
        const QString text = QStringLiteral("%1 %2 (%3)").arg(model.maker, model.name).arg(model.number);
        if (!filter.isEmpty() && !text.contains(filter, Qt::CaseInsensitive) && model.number != saved)
            continue;
        // Each maker's models under its name, the name itself not a choice.
        if (model.maker != maker) {
            maker = model.maker;
            m_model->addItem(maker);
            qobject_cast<QStandardItemModel *>(m_model->model())->item(m_model->count() - 1)->setEnabled(false);
        }
        m_model->addItem(QStringLiteral("    %1 (%2)").arg(model.name).arg(model.number), model.number);
    }
    m_model->setCurrentIndex(m_model->findData(saved));
}

void HamlibSetupPage::modelPicked()
{
    const int number = m_model->currentData().toInt();
    if (number <= 0)
        return;
    m_context.config.extensions.hamlibModel = QString::number(number);
    changed();
    fillPorts();
    m_context.station.rebuildCaption();
}

void HamlibSetupPage::fillPorts()
{
    const std::optional<HamlibModel> model = HamlibModels::find(m_context.config.extensions.hamlibModelNumber());
    const bool network = model && model->network;
    m_port->setEnabled(!network);
    m_baud->setEnabled(!network);
    m_address->setEnabled(network);

    m_port->clear();
    m_port->addItem(QStringLiteral("-"));
    for (const ComPort &port : m_context.choices.comPorts)
        m_port->addItem(QStringLiteral("%1  %2").arg(port.name, port.devicePath), port.name);
    const int saved = settings().port;
    const int item = saved >= 0 ? m_port->findData(QStringLiteral("COM%1").arg(saved + 1)) : 0;
    m_port->setCurrentIndex(std::max(item, 0));

    m_baud->clear();
    m_baud->addItem(model && model->defaultRate > 0 ? QStringLiteral("(%1)").arg(model->defaultRate)
                                                    : QStringLiteral("-"));
    m_baud->addItems(BaudRateTable::texts());
    const int baud = m_baud->findText(settings().baudText);
    m_baud->setCurrentIndex(settings().baudText.isEmpty() || baud < 0 ? 0 : baud);
}

void HamlibSetupPage::FormShow()
{
    const QScopedValueRollback showing(m_showing, true);
    SetupPage::FormShow();
    if (isVisible())
        fillLists();
    m_address->setText(m_context.config.extensions.hamlibAddress.value_or(QString()));
    m_offset->setValue(settings().azimuthOffset);
    m_readPosition->setChecked(m_context.config.extensions.readsPosition(InterfaceKind::Hamlib));
}

void HamlibSetupPage::applyLanguage(const SetupTexts &texts)
{
    SetupPage::applyLanguage(texts);
    const Language language = m_context.station.language();
    const auto translated = [language](const char *source) {
        return Translation::text(language, "HamlibSetupPage", source);
    };
    m_filter->setPlaceholderText(translated(QT_TRANSLATE_NOOP("HamlibSetupPage", "Filter (maker or model)")));
    m_modelLabel->setText(translated(QT_TRANSLATE_NOOP("HamlibSetupPage", "Model")));
    m_portLabel->setText(QStringLiteral("Port COM"));
    m_addressLabel->setText(translated(QT_TRANSLATE_NOOP("HamlibSetupPage", "Address (host:port)")));
    m_baudLabel->setText(translated(QT_TRANSLATE_NOOP("HamlibSetupPage", "Speed")));
    m_offsetLabel->setText(translated(QT_TRANSLATE_NOOP("HamlibSetupPage", "Offset")));
    m_readPosition->setText(texts.readPosition);
}

bool HamlibSetupPage::interfaceChosen()
{
    m_context.config.extensions.hamlibSection = true;
    return true;
}
