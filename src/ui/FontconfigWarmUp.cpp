#include "ui/FontconfigWarmUp.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>

FontconfigWarmUp::FontconfigWarmUp()
{
    std::promise<void> configurationRead;
    m_configurationRead = configurationRead.get_future();
    m_reader = std::thread([read = std::move(configurationRead), listFonts = m_listFonts.get_future()]() mutable {
        // Below the main thread and the display server, which it would otherwise
        // slow down on a machine with two cores.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
        // Should Qt start reading too, fontconfig keeps whichever copy is done first.
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
    const bool configurationRead =
        m_configurationRead.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    m_listFonts.set_value(configurationRead);
    m_listFontsSet = true;
    work();
    if (configurationRead)
        m_reader.join();
}
