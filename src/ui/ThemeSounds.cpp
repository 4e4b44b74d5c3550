#include "ui/ThemeSounds.h"

#include <dlfcn.h>

namespace {

// What is used of libcanberra's stable C interface (canberra.h). Properties travel
// as name and value strings, the list ended by a null pointer.
constexpr int CaSuccess = 0;
constexpr const char *CaPropApplicationName = "application.name";
constexpr const char *CaPropEventId = "event.id";

template<typename Function>
Function symbol(void *library, const char *name)
{
    return reinterpret_cast<Function>(::dlsym(library, name));
}

} // namespace

ThemeSounds::~ThemeSounds()
{
    // The library itself stays loaded: its sound server connection may still run
    // threads of its own.
    if (m_context)
        m_contextDestroy(m_context);
}

bool ThemeSounds::play(const char *eventId)
{
    if (!m_context && !open())
        return false;
    return m_contextPlay(m_context, 0, CaPropEventId, eventId, nullptr) == CaSuccess;
}

bool ThemeSounds::open()
{
    // Tried once: a missing library or sound server stays missing for this run.
    if (m_tried)
        return false;
    m_tried = true;
    void *library = ::dlopen("libcanberra.so.0", RTLD_LAZY | RTLD_LOCAL);
    if (!library)
        return false;
    const auto contextCreate = symbol<int (*)(void **)>(library, "ca_context_create");
    const auto contextChangeProps = symbol<int (*)(void *, ...)>(library, "ca_context_change_props");
    m_contextDestroy = symbol<decltype(m_contextDestroy)>(library, "ca_context_destroy");
    m_contextPlay = symbol<decltype(m_contextPlay)>(library, "ca_context_play");
    void *context = nullptr;
    if (!contextCreate || !contextChangeProps || !m_contextDestroy || !m_contextPlay
        || contextCreate(&context) != CaSuccess)
        return false;
    contextChangeProps(context, CaPropApplicationName, "Orvantis", nullptr);
    m_context = context;
    return true;
}
