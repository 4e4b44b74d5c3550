#include "dialogs/KctSetupPage.h"

#include "dialogs/RadioGroup.h"
#include "core/SetupTexts.h"
#include "core/UserFeedback.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace {

SetupPage::Names pageNames()
{
    return {QStringLiteral("TabSheetKCT"), QStringLiteral("RadioGroupKCTbutee"), QStringLiteral("SpinEditStepKCT"),
            QStringLiteral("LabelStepKCT"), TestParkingGroup::namesFor(QStringLiteral("KCT"))};
}

} // namespace

KctSetupPage::KctSetupPage(SetupDialogContext context, std::function<InterfaceKind()> chosen, QWidget *parent)
    : SetupPage(InterfaceKind::Kct, pageNames(), context, std::move(chosen), parent),
      m_offset(new QSpinBox(this)),
      m_moveLabel(new QLabel(this)),
      m_moveDirectory(new QLineEdit(this))
{
    m_offset->setObjectName(QStringLiteral("SpinEditKCTAzOffset"));
    m_offset->setRange(-30, 30);
    connect(m_offset, &QSpinBox::valueChanged, this, [this](int offset) { settings().azimuthOffset = offset; });
    addRow(new QLabel(QStringLiteral("AZ Offset"), this), m_offset);

    m_moveLabel->setObjectName(QStringLiteral("LabelKCTMove"));
    m_moveLabel->setWordWrap(true);
    addRow(m_moveLabel);
    m_moveDirectory->setObjectName(QStringLiteral("EditKctMove"));
    connect(m_moveDirectory, &QLineEdit::textChanged, this,
            [this](const QString &directory) { m_context.config.movenowDirectory = directory; });
    addRow(m_moveDirectory);

    // Shown for the user's notes; no KCT move takes an elevation.
    auto *elevation = new QSpinBox(this);
    elevation->setObjectName(QStringLiteral("SpinEditElTestKCT"));
    elevation->setRange(0, 180);
    elevation->setSingleStep(5);
    testGroup()->addExtra(new QLabel(QStringLiteral("El:"), this), elevation);
}

void KctSetupPage::FormShow()
{
    loadStopAndStep();
    m_offset->setValue(settings().azimuthOffset);
    m_moveDirectory->setText(m_context.config.movenowDirectory);
}

void KctSetupPage::applyLanguage(const SetupTexts &texts)
{
    SetupPage::applyLanguage(texts);
    m_stopSide->setTitle(texts.kctStop);
    m_moveLabel->setText(texts.kctMoveLabel);
    m_movenowMissing = texts.movenowMissing;
    m_warningTitle = texts.warningTitle;
}

bool KctSetupPage::interfaceChosen()
{
    return checkMovenow();
}

bool KctSetupPage::checkMovenow()
{
    // The directory is taken as typed: no separator is added before the name.
    if (QFile::exists(m_moveDirectory->text() + QStringLiteral("Movenow.com")))
        return true;
    m_context.feedback.warning(m_warningTitle, m_movenowMissing);
    return false;
}
