#include "ui/FontconfigWarmUp.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <utility>

namespace {

// About what reading the configuration and listing the fonts cost an idle core.
constexpr std::chrono::milliseconds ListWaitLimit(8);

} // namespace

FontconfigWarmUp::FontconfigWarmUp()
{
    m_reader = std::thread([this, listFonts = m_listFonts.get_future()]() mutable {
        // Below the main thread and the display server, which it would otherwise
        // slow down on a machine with two cores.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
        // Should Qt start reading too, fontconfig keeps whichever copy is done first.
        FcInit();
        // Qt's font database is thread-safe, but needs the application's platform.
        if (!listFonts.get())
            return;
        QFontDatabase::families();
        m_fontsListed.set_value();
        // Run and let go of at once, with whatever it holds.
        if (const std::function<void()> then = std::exchange(m_then, {}))
            then();
    });
}

FontconfigWarmUp::~FontconfigWarmUp()
{
    finish();
}

void FontconfigWarmUp::listFontsWhile(const std::function<void()> &work, std::function<void()> then)
{
    // Set before the promise, which hands it over to the reader.
    m_then = std::move(then);
    m_listFonts.set_value(true);
    m_listFontsSet = true;
    work();
    m_fontsListed.get_future().wait_for(ListWaitLimit);
}

void FontconfigWarmUp::finish()
{
    if (!m_listFontsSet) {
        m_listFonts.set_value(false);
        m_listFontsSet = true;
    }
    if (m_reader.joinable())
        m_reader.join();
}
