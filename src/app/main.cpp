#include "app/CommandLine.h"
#include "app/HeadlessRunner.h"
#include "app/WindowModule.h"
#include "config/ProgramModule.h"
#include "config/StandardError.h"

#include <QCoreApplication>

#include <cstdlib>
#include <optional>

#include <dlfcn.h>

namespace {

// The window's side of the program, loaded now; status 1 with the reason when it
// cannot be.
int runWindowEntry(const char *entryName, int argc, char *argv[])
{
    QString error;
    // Bound as the program file's own calls are: binding every call into Qt at once
    // would hold up the first paint.
    void *module = openProgramModule(ORVANTIS_WINDOW_MODULE, SymbolBinding::AtFirstCall, &error);
    const auto entry = module ? reinterpret_cast<WindowEntry>(::dlsym(module, entryName)) : nullptr;
    if (!entry) {
        if (module)
            error = QString::fromLocal8Bit(::dlerror());
        writeStandardErrorLine(QStringLiteral("the window cannot be shown: its module %1 cannot be loaded (%2). "
                                              "Reinstall Orvantis, or run without a window: %3 --headless")
                                   .arg(QLatin1String(ORVANTIS_WINDOW_MODULE), error, QString::fromLocal8Bit(argv[0])));
        return EXIT_FAILURE;
    }
    return entry(argc, argv);
}

bool hasDisplay(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        // Qt's own option names the platform, display or not.
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            return true;
    }
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
           || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char *argv[])
{
    routeQtMessagesToStandardError();
    // --help, --version and --headless need no display. Qt's own options (-platform,
    // -style) are known only to QApplication, so with a display an error waits for
    // the second reading, in the window's module.
    if (argc > 1) {
        std::optional<CommandLine> early;
        {
            QCoreApplication parsing(argc, argv);
            early = parseCommandLine(QCoreApplication::arguments());
        }
        if (early->action == CommandLine::Action::Run && early->headless)
            return runHeadless(argc, argv, early->settingsFolder);
        if (early->action == CommandLine::Action::ShowHelpAll)
            return runWindowEntry(ORVANTIS_WINDOW_HELP_ALL, argc, argv);
        if (early->action != CommandLine::Action::Run && (early->action != CommandLine::Action::Fail || !hasDisplay(argc, argv)))
            return *answerWithoutRunning(*early);
    }

    if (!hasDisplay(argc, argv)) {
        const QString program = QString::fromLocal8Bit(argv[0]);
        writeStandardErrorLine(QStringLiteral("no display found (DISPLAY and WAYLAND_DISPLAY are unset); run it "
                                              "under a virtual one with: xvfb-run -a %1, or without a window: %1 "
                                              "--headless")
                                   .arg(program));
        return EXIT_FAILURE;
    }

    return runWindowEntry(ORVANTIS_WINDOW_MAIN, argc, argv);
}
