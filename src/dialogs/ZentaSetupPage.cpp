#include "dialogs/ZentaSetupPage.h"

#include "core/SetupTexts.h"
#include "ui/ReadableText.h"

#include <QLabel>

namespace {

SetupPage::Names pageNames()
{
    return {QStringLiteral("TabSheetZENTA"), QStringLiteral("RadioGroupZENTAbutee"), QStringLiteral("SpinEditStepZENTA"),
            QStringLiteral("LabelStepZENTA"), TestParkingGroup::namesFor(QStringLiteral("ZENTA"))};
}

} // namespace

ZentaSetupPage::ZentaSetupPage(SetupDialogContext context, std::function<InterfaceKind()> chosen, QWidget *parent)
    : SetupPage(InterfaceKind::Zenta, pageNames(), context, std::move(chosen), parent),
      m_caution(new QLabel(this)),
      m_hint(new QLabel(this))
{
    m_caution->setObjectName(QStringLiteral("StaticTextZENTA"));
    m_caution->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // Background and text together, so no palette can leave the text unreadable.
    m_caution->setStyleSheet(QStringLiteral("QLabel { background: #ff0000; color: #000000; }"));
    addRow(m_caution);

    m_hint->setObjectName(QStringLiteral("LabelZENTA"));
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setWordWrap(true);
    QFont bold = m_hint->font();
    bold.setBold(true);
    m_hint->setFont(bold);
    new ReadableText(m_hint, Qt::blue);
    addRow(m_hint);
}

void ZentaSetupPage::applyLanguage(const SetupTexts &texts)
{
    SetupPage::applyLanguage(texts);
    m_caution->setText(texts.zentaCaution);
    m_hint->setText(texts.zentaHint);
    // This page's parking label has never followed the language.
    testGroup()->parkLabel()->setText(QStringLiteral("use for parking"));
}
