#include "config/ProgramModule.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

void *openProgramModule(const char *fileName, SymbolBinding binding, QString *error)
{
    const int flags = (binding == SymbolBinding::AtLoad ? RTLD_NOW : RTLD_LAZY) | RTLD_LOCAL;
    const QString beside = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath()
        + QStringLiteral("/" ORVANTIS_MODULES_FROM_BIN "/") + QLatin1String(fileName);
    if (void *module = ::dlopen(QFile::encodeName(beside).constData(), flags))
        return module;
    if (void *module = ::dlopen(fileName, flags))
        return module;
    *error = QString::fromLocal8Bit(::dlerror());
    return nullptr;
}
