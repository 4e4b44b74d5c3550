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
    m_reader = std::thread([this, listFontsThen = m_listFontsThen.get_future()]() mutable {
        // Below the main thread and the display server, which it would otherwise
        // slow down on a machine with two cores.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
        // Should Qt start reading too, fontconfig keeps whichever copy is done first.
        FcInit();
        // Qt's font database is thread-safe, but needs the application's platform.
        // Run and let go of here, with whatever it holds.
        const std::optional<std::function<void()>> then = listFontsThen.get();
        if (!then)
            return;
        QFontDatabase::families();
        m_fontsListed.set_value();
        if (*then)
            (*then)();
    });
}

FontconfigWarmUp::~FontconfigWarmUp()
{
    finish();
}

void FontconfigWarmUp::listFontsWhile(const std::function<void()> &work, std::function<void()> then)
{
    m_listFontsThen.set_value(std::move(then));
    m_listFontsThenSet = true;
    work();
    m_fontsListed.get_future().wait_for(ListWaitLimit);
}

void FontconfigWarmUp::finish()
{
    if (!m_listFontsThenSet) {
        m_listFontsThen.set_value(std::nullopt);
        m_listFontsThenSet = true;
    }
    if (m_reader.joinable())
        m_reader.join();
}
