#include "rotors/HamlibLibrary.h"

#include "config/LogCategories.h"
#include "config/ProgramModule.h"
#include "rotors/HamlibBackend.h"

#include <mutex>

#include <dlfcn.h>

namespace {

constexpr const char *ModuleName = "liborvantis-hamlib.so";

struct Loaded {
    HamlibBackend *backend = nullptr;
    QString error;
};

const Loaded &loaded()
{
    static Loaded result;
    static std::once_flag once;
    std::call_once(once, [] {
        void *module = openProgramModule(ModuleName, SymbolBinding::AtLoad, &result.error);
        if (!module)
            return;
        const auto entry = reinterpret_cast<HamlibBackendEntry>(::dlsym(module, ORVANTIS_HAMLIB_ENTRY));
        if (!entry) {
            result.error = QString::fromLocal8Bit(::dlerror());
            return;
        }
        result.backend = entry();
        result.backend->routeMessages([](const QByteArray &line) { qCDebug(hamlibLog, "%s", line.constData()); },
                                      hamlibLog().isDebugEnabled());
    });
    return result;
}

} // namespace

HamlibBackend *HamlibLibrary::backend()
{
    return loaded().backend;
}

QString HamlibLibrary::loadError()
{
    return loaded().error;
}
