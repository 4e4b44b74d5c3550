#include "rotors/HamlibLibrary.h"

#include "config/LogCategories.h"
#include "rotors/HamlibBackend.h"

#include <QFileInfo>

#include <mutex>

#include <dlfcn.h>

namespace {

constexpr const char *ModuleName = "liborvantis-hamlib.so";

struct Loaded {
    HamlibBackend *backend = nullptr;
    QString error;
};

// Installed, the module lies at a fixed place relative to the program; built,
// the program's run path leads to it.
void *openModule(QString *error)
{
    const QString beside = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath()
        + QStringLiteral("/" ORVANTIS_MODULES_FROM_BIN "/") + QLatin1String(ModuleName);
    if (void *module = ::dlopen(QFile::encodeName(beside).constData(), RTLD_NOW | RTLD_LOCAL))
        return module;
    if (void *module = ::dlopen(ModuleName, RTLD_NOW | RTLD_LOCAL))
        return module;
    *error = QString::fromLocal8Bit(::dlerror());
    return nullptr;
}

const Loaded &loaded()
{
    static Loaded result;
    static std::once_flag once;
    std::call_once(once, [] {
        void *module = openModule(&result.error);
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
