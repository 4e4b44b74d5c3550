#include "dialogs/RotctldSetupGroup.h"

#include "config/ExtensionSettings.h"
#include "config/NumberText.h"
#include "core/SetupTexts.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

RotctldSetupGroup::RotctldSetupGroup(ExtensionSettings &settings, QWidget *parent)
    : QGroupBox(QStringLiteral("rotctld (Hamlib)"), parent),
      m_settings(settings),
      m_serve(new QCheckBox(this)),
      m_port(new QLineEdit(this)),
      m_portLabel(new QLabel(this))
{
    setObjectName(QStringLiteral("GroupBoxRotctld"));
    m_serve->setObjectName(QStringLiteral("CheckBoxRotctld"));
    m_port->setObjectName(QStringLiteral("EditPortRotctld"));
    m_port->setMaxLength(5);
    auto *row = new QHBoxLayout(this);
    row->addWidget(m_serve, 1);
    row->addWidget(m_portLabel);
    row->addWidget(m_port);
}

void RotctldSetupGroup::applyLanguage(const SetupTexts &texts)
{
    m_serve->setText(texts.rotctldServe);
    m_portLabel->setText(texts.rotctldPort);
}

void RotctldSetupGroup::fill()
{
    m_serve->setChecked(m_settings.rotctldEnabled());
    m_port->setText(QString::number(m_settings.rotctldListenPort()));
    m_filled = true;
}

bool RotctldSetupGroup::commit(bool *changed)
{
    *changed = false;
    // Fields never shown hold nothing the user chose.
    if (!m_filled)
        return true;
    const auto port = NumberText::toWholeNumber(m_port->text());
    if (!port || *port < 1 || *port > 65535) {
        m_port->setFocus();
        m_port->selectAll();
        return false;
    }
    if (m_serve->isChecked() != m_settings.rotctldEnabled()) {
        m_settings.rotctld = m_serve->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        *changed = true;
    }
    if (*port != m_settings.rotctldListenPort()) {
        m_settings.rotctldPort = QString::number(*port);
        *changed = true;
    }
    return true;
}
