#include "app/DisplayPluginPreload.h"

#include <QByteArray>
#include <QFile>
#include <QLibraryInfo>
#include <QString>

#include <cstring>

#include <dlfcn.h>

namespace {

// Only the plain case: an X11 display and nothing that points Qt elsewhere. A
// Wayland session, a -platform argument or another plugin path is left to Qt.
bool x11PluginIsQtsChoice(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "-platform", 9) == 0 || std::strncmp(argv[i], "--platform", 10) == 0)
            return false;
    }
    if (qEnvironmentVariableIsSet("QT_PLUGIN_PATH") || qEnvironmentVariableIsSet("QT_QPA_PLATFORM_PLUGIN_PATH"))
        return false;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty())
        return platform == "xcb" || platform.startsWith("xcb:");
    return qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
           && qgetenv("XDG_SESSION_TYPE") != "wayland";
}

} // namespace

void preloadDisplayPlugin(int argc, char *argv[])
{
    if (!x11PluginIsQtsChoice(argc, argv))
        return;
    const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) + QLatin1String("/platforms/libqxcb.so");
    // Kept for the life of the program, as Qt keeps its own; should it fail, Qt
    // loads the plugin itself, or reports why not.
    dlopen(QFile::encodeName(plugin).constData(), RTLD_LAZY | RTLD_LOCAL);
}
