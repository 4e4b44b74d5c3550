#include "app/MainWindow.h"
#include "app/SignalCloser.h"
#include "config/SettingsFiles.h"
#include "rotors/PpdevPortIo.h"
#include "ui/ApplicationIcon.h"
#include "ui/DesktopFeedback.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        std::fprintf(stderr,
                     "orvantis: no display found (DISPLAY and WAYLAND_DISPLAY are unset); "
                     "run it under a virtual one with: xvfb-run -a %s\n",
                     argv[0]);
        return EXIT_FAILURE;
    }

    QApplication app(argc, argv);
    SettingsFiles files(SettingsFiles::chooseSettingsFolder(QCoreApplication::applicationDirPath()));
    QApplication::setApplicationName(QStringLiteral("Orvantis"));
    QApplication::setQuitOnLastWindowClosed(false);

    // Ready before the windows exist, so a signal during start-up is kept until
    // the main window can close in order.
    SignalCloser signals;
    DesktopFeedback feedback;
    PpdevPortIo portIo;
    MainWindow window({files, feedback, portIo, HostRoots {}});
    feedback.setDialogParent(&window);
    window.EnumerateComPorts();
    window.placeAngleDialog();
    setApplicationIconAfterFirstPaint(window);

    QObject::connect(&signals, &SignalCloser::closeRequested, &window, &QWidget::close);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, [&window] { window.close(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, [&window] { window.runClosingSequence(); });
    QObject::connect(&window, &MainWindow::closed, &app, &QCoreApplication::quit);

    window.show();
    return app.exec();
}
