#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/PlatformStart.h"
#include "app/SignalCloser.h"
#include "app/WindowModule.h"
#include "config/ProgramIdentity.h"
#include "config/SettingsFiles.h"
#include "config/SettingsFolder.h"
#include "rotors/PpdevPortIo.h"
#include "ui/ApplicationIcon.h"
#include "ui/DesktopFeedback.h"

#include <QApplication>

#include <cstdlib>

// Qt's options are listed by the application object that takes them; the display
// is not needed for that (a -platform on the command line still wins). What that
// object remarks on while starting (no XDG_RUNTIME_DIR, say) is not part of the help.
extern "C" Q_DECL_EXPORT int orvantis_window_help_all(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QApplication app(argc, argv);
    printHelpWithQtOptions();
    return EXIT_SUCCESS;
}

extern "C" Q_DECL_EXPORT int orvantis_window_main(int argc, char **argv)
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
