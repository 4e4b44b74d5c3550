#include "ui/FontconfigWarmUp.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

FontconfigWarmUp::FontconfigWarmUp()
{
    std::promise<void> configurationRead;
    m_configurationRead = configurationRead.get_future();
    m_reader = std::thread([read = std::move(configurationRead), listFonts = m_listFonts.get_future()]() mutable {
        // Qt's own call to initialise fontconfig then finds the configuration loaded.
        FcInit();
        read.set_value();
        // Qt's font database is thread-safe, but needs the application's platform.
        if (listFonts.get())
            QFontDatabase::families();
    });
}

FontconfigWarmUp::~FontconfigWarmUp()
{
    if (!m_listFontsSet)
        m_listFonts.set_value(false);
    if (m_reader.joinable())
        m_reader.join();
}

void FontconfigWarmUp::listFontsWhile(const std::function<void()> &work)
{
    // Two readers of the configuration at once would both parse it.
    m_configurationRead.wait();
    m_listFonts.set_value(true);
    m_listFontsSet = true;
    work();
    m_reader.join();
}
