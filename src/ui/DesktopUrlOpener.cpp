#include "ui/DesktopUrlOpener.h"

#include "ui/HelpWindow.h"

#include <QDesktopServices>

DesktopUrlOpener::DesktopUrlOpener(SystemOpen systemOpen)
    : m_systemOpen(systemOpen ? std::move(systemOpen) : SystemOpen(&QDesktopServices::openUrl))
{
}

DesktopUrlOpener::~DesktopUrlOpener() = default;

void DesktopUrlOpener::open(const QUrl &url)
{
    if (m_systemOpen(url))
        return;
    if (!m_helpWindow)
        m_helpWindow = std::make_unique<HelpWindow>();
    m_helpWindow->showPage(url);
}
