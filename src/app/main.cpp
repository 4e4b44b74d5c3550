#include "app/CommandLine.h"
#include "app/HeadlessRunner.h"
#include "app/MainWindow.h"
#include "app/SignalCloser.h"
#include "config/SettingsFiles.h"
#include "config/SettingsFolder.h"
#include "rotors/PpdevPortIo.h"
#include "ui/ApplicationIcon.h"
#include "ui/DesktopFeedback.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// Prints the help, the version or the error; nothing when the program is to run.
std::optional<int> answerWithoutRunning(const CommandLine &line)
{
    switch (line.action) {
    case CommandLine::Action::Run:
        return std::nullopt;
    case CommandLine::Action::Fail:
        std::fputs(qPrintable(line.text), stderr);
        return EXIT_FAILURE;
    default:
        std::fputs(qPrintable(line.text), stdout);
        return EXIT_SUCCESS;
    }
}

bool hasDisplay()
{
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
           || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char *argv[])
{
    // --help, --version and --headless need no display. Qt's own options (-platform,
    // -style) are known only to QApplication, so with a display an error waits for
    // the second reading below.
    if (argc > 1) {
        std::optional<CommandLine> early;
        {
            QCoreApplication parsing(argc, argv);
            early = parseCommandLine(QCoreApplication::arguments());
        }
        if (early->action == CommandLine::Action::Run && early->headless)
            return runHeadless(argc, argv, early->settingsFolder);
        if (early->action != CommandLine::Action::Run && (early->action != CommandLine::Action::Fail || !hasDisplay()))
            return *answerWithoutRunning(*early);
    }

    if (!hasDisplay()) {
        std::fprintf(stderr,
                     "orvantis: no display found (DISPLAY and WAYLAND_DISPLAY are unset); "
                     "run it under a virtual one with: xvfb-run -a %s, or without a window: %s --headless\n",
                     argv[0], argv[0]);
        return EXIT_FAILURE;
    }

    QApplication app(argc, argv);
    const CommandLine line = parseCommandLine(QCoreApplication::arguments());
    if (const std::optional<int> exitCode = answerWithoutRunning(line))
        return *exitCode;
    QApplication::setApplicationName(QStringLiteral("Orvantis"));
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
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &station, [&station] { station.runClosingSequence(); });
    // exit(), not quit(): quit() would first ask every window to close and give
    // up when one refuses, leaving the program running without its main window.
    QObject::connect(&station, &Station::closed, &app, [&station] { QCoreApplication::exit(station.exitStatus()); });

    window.show();
    return app.exec();
}
