// `orvantis`: the window. `orvantis --headless` hands over to the service program
// beside it, so a start without a window never loads the widget libraries.
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/PlatformStart.h"
#include "app/ServiceProgram.h"
#include "process/SignalCloser.h"
#include "config/ProgramIdentity.h"
#include "config/SettingsFiles.h"
#include "config/SettingsFolder.h"
#include "process/StandardError.h"
#include "rotors/PpdevPortIo.h"
#include "ui/ApplicationIcon.h"
#include "ui/DesktopFeedback.h"

#include <QApplication>

#include <cstdlib>
#include <optional>

namespace {

// Qt's options are listed by the application object that takes them; the display
// is not needed for that (a -platform on the command line still wins). What that
// object remarks on while starting (no XDG_RUNTIME_DIR, say) is not part of the help.
int printHelpAll(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QApplication app(argc, argv);
    printHelpWithQtOptions();
    return EXIT_SUCCESS;
}

int runWindow(int argc, char *argv[])
{
    watchPlatformStart();
    QApplication app(argc, argv);
    endPlatformWatch();
    const CommandLine line = parseCommandLine(QCoreApplication::arguments());
    if (const std::optional<int> exitCode = answerWithoutRunning(line))
        return *exitCode;
    QApplication::setApplicationName(ProgramTitle);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.orvantis"));
    QApplication::setQuitOnLastWindowClosed(false);

    // Ready before the windows exist, so a signal during start-up is kept until
    // the station can close in order.
    SignalCloser signals;
    SettingsFiles files(chooseSettingsFolder(line.settingsFolder, QCoreApplication::applicationDirPath()));
    DesktopFeedback feedback;
    PpdevPortIo portIo;
    Station station({files, feedback, portIo, HostRoots {}});
    station.load();
    MainWindow window(station);
    feedback.setDialogParent(&window);
    feedback.setDiagnosticLine([&window](const QString &text) { window.showDiagnosticText(text); });
    window.placeAngleDialog();
    setApplicationIconAfterFirstPaint(window);

    QObject::connect(&signals, &SignalCloser::closeRequested, &station, &Station::closeUnattended);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &station, &Station::closeUnattended);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &station, [&station] { station.closeNow(); });
    // exit(), not quit(): quit() would first ask every window to close and give
    // up when one refuses, leaving the program running without its main window.
    QObject::connect(&station, &Station::closed, &app, [&station] { QCoreApplication::exit(station.exitStatus()); });

    window.show();
    return app.exec();
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
    // the second reading, by the window's application object.
    if (argc > 1) {
        std::optional<CommandLine> early;
        QString programFolder;
        {
            QCoreApplication parsing(argc, argv);
            early = parseCommandLine(QCoreApplication::arguments());
            programFolder = QCoreApplication::applicationDirPath();
        }
        if (early->action == CommandLine::Action::Run && early->headless)
            return execServiceProgram(programFolder, argc, argv);
        if (early->action == CommandLine::Action::ShowHelpAll)
            return printHelpAll(argc, argv);
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
    return runWindow(argc, argv);
}
