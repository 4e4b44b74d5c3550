#include "dialogs/SetupPage.h"

#include "dialogs/RadioGroup.h"
#include "core/SetupTexts.h"
#include "core/UserFeedback.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {
constexpr int TestRow = 100; // below every row a page adds
}

SetupPage::SetupPage(InterfaceKind kind, const Names &names, SetupDialogContext context,
                     std::function<InterfaceKind()> chosen, QWidget *parent)
    : QWidget(parent),
      m_context(context),
      m_kind(kind),
      m_chosen(std::move(chosen)),
      m_grid(new QGridLayout(this)),
      m_step(new QSpinBox(this)),
      m_test(new TestParkingGroup(names.test, kind == InterfaceKind::Kct ? 10 : 5, this))
{
    setObjectName(names.page);
    m_grid->setContentsMargins(4, 4, 4, 4);
    m_grid->setVerticalSpacing(3);

    if (!names.stopSide.isEmpty()) {
        m_stopSide = new RadioGroup(names.stopSide, QStringLiteral("Stop"), {QStringLiteral("N"), QStringLiteral("S")},
                                    this, Qt::Horizontal);
        m_stopSide->setSelectedIndex(0);
        connect(m_stopSide, &RadioGroup::itemClicked, this, [this](int side) { settings().stopSide = side; });
        addRow(m_stopSide);
    }

    m_step->setObjectName(names.step);
    m_step->setRange(0, 5);
    m_step->setValue(1);
    // Only the arrows change the step.
    m_step->findChild<QLineEdit *>()->setReadOnly(true);
    connect(m_step, &QSpinBox::valueChanged, this, [this](int step) { settings().minimumStep = step; });
    m_stepLabel = new QLabel(this);
    m_stepLabel->setObjectName(names.stepLabel);
    addRow(m_stepLabel, m_step);

    m_grid->addWidget(m_test, TestRow, 0, 1, 2);
    m_grid->setRowStretch(TestRow - 1, 1);
    connect(m_test->goButton(), &QPushButton::clicked, this, &SetupPage::BitBtnTestClick);
    connect(m_test->parkBox(), &QCheckBox::toggled, this, &SetupPage::CheckBoxParkClick);
}

void SetupPage::addRow(QWidget *widget)
{
    m_grid->addWidget(widget, m_nextRow++, 0, 1, 2);
}

void SetupPage::addRow(QWidget *label, QWidget *field)
{
    m_grid->addWidget(label, m_nextRow, 0);
    m_grid->addWidget(field, m_nextRow++, 1);
}

void SetupPage::FormShow()
{
    loadStopAndStep();
}

void SetupPage::loadStopAndStep()
{
    if (m_stopSide)
        m_stopSide->setSelectedIndex(settings().stopSide);
    m_step->setValue(settings().minimumStep);
}

void SetupPage::applyLanguage(const SetupTexts &texts)
{
    m_stepLabel->setText(texts.stepLabel);
    m_test->parkLabel()->setText(texts.parkingLabel);
}

bool SetupPage::parkingTicked() const
{
    return m_test->parkBox()->isChecked();
}

int SetupPage::testAzimuth() const
{
    return m_test->azimuth()->value();
}

void SetupPage::showParking(int azimuth)
{
    m_test->azimuth()->setValue(azimuth);
    m_test->parkBox()->setChecked(true);
}

void SetupPage::BitBtnTestClick()
{
    if (!isChosen()) {
        m_context.feedback.beep();
        return;
    }
    beforeTest();
    m_context.station.sendTest(testAzimuth());
}

void SetupPage::CheckBoxParkClick()
{
    if (isChosen()) {
        m_context.config.parkingInterface = ordinal(m_kind) + 1;
        m_context.config.parkingAzimuth = testAzimuth();
        return;
    }
    m_context.feedback.beep();
    // Unticking runs this once more, which beeps again.
    m_test->parkBox()->setChecked(false);
}
