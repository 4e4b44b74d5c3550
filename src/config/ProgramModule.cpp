#include "config/ProgramModule.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

void *openProgramModule(const char *fileName, QString *error)
{
    const QString beside = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath()
        + QStringLiteral("/" ORVANTIS_MODULES_FROM_BIN "/") + QLatin1String(fileName);
    if (void *module = ::dlopen(QFile::encodeName(beside).constData(), RTLD_NOW | RTLD_LOCAL))
        return module;
    if (void *module = ::dlopen(fileName, RTLD_NOW | RTLD_LOCAL))
        return module;
    *error = QString::fromLocal8Bit(::dlerror());
    return nullptr;
}
