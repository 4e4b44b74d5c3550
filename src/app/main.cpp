#include "app/CommandLine.h"
#include "app/DisplayPluginPreload.h"
#include "app/MainWindow.h"
#include "app/SignalCloser.h"
#include "config/SettingsFiles.h"
#include "config/SettingsFolder.h"
#include "rotors/PpdevPortIo.h"
#include "ui/ApplicationIcon.h"
#include "ui/CompassRose.h"
#include "ui/DeferredIconStyle.h"
#include "ui/DesktopFeedback.h"
#include "ui/FontconfigWarmUp.h"

#include <QAccessible>
#include <QApplication>
#include <QScopeGuard>
#include <QScreen>
#include <QStyle>

#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <optional>

#include <malloc.h>

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
    // Two malloc arenas: the main thread's, and one the other threads share. With a
    // single arena the font reader's configuration parsing and QApplication's
    // construction fight over its lock (2-3 ms of the start); more arenas would
    // each leave a heap behind. Both give back the free memory at their top sooner
    // (32 KB rather than 128 KB), which keeps the second arena's cost near 200 KB;
    // blocks up to 1 MB stay in the heap, as glibc's own moving threshold would
    // have them, instead of an mmap and a cross-core TLB flush each.
    mallopt(M_ARENA_MAX, 2);
    mallopt(M_TRIM_THRESHOLD, 32 * 1024);
    mallopt(M_TOP_PAD, 16 * 1024);
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    // --help and --version answer without a display. Qt's own options (-platform,
    // -style) are known only to QApplication, so with a display an error waits for
    // the second reading below. Without arguments there is nothing to answer, and
    // building an application object twice held up the start.
    if (argc > 1) {
        QCoreApplication early(argc, argv);
        const CommandLine line = parseCommandLine(QCoreApplication::arguments());
        if (line.action != CommandLine::Action::Run && (line.action != CommandLine::Action::Fail || !hasDisplay()))
            return *answerWithoutRunning(line);
    }

    if (!hasDisplay()) {
        std::fprintf(stderr,
                     "orvantis: no display found (DISPLAY and WAYLAND_DISPLAY are unset); "
                     "run it under a virtual one with: xvfb-run -a %s\n",
                     argv[0]);
        return EXIT_FAILURE;
    }

    preloadDisplayPlugin(argc, argv);
    FontconfigWarmUp fonts;
    QApplication app(argc, argv);
    // The reader draws with the application's fonts: it ends before the application
    // object, on every way out of main().
    const auto stopReader = qScopeGuard([&fonts] { fonts.finish(); });
    const QScreen *screen = QGuiApplication::primaryScreen();
    // The accessibility bridge would join the session bus at the first button
    // caption; its round trips leave this core idle while the fonts are listed.
    // The reader then draws the compass's fixed layers, while this thread builds
    // the window; they are let go of as soon as the compass has taken them.
    const auto compassLayers = std::make_shared<std::promise<CompassLayers>>();
    std::shared_future<CompassLayers> compassLayersDrawn = compassLayers->get_future().share();
    fonts.listFontsWhile([] { QAccessible::isActive(); },
                         [compassLayers, ratio = screen ? screen->devicePixelRatio() : 1.0] {
                             compassLayers->set_value(CompassRose::drawLayers(ratio));
                         });
    QApplication::setStyle(new DeferredIconStyle(QApplication::style()->name()));
    const CommandLine line = parseCommandLine(QCoreApplication::arguments());
    if (const std::optional<int> exitCode = answerWithoutRunning(line))
        return *exitCode;
    SettingsFiles files(chooseSettingsFolder(line.settingsFolder, QCoreApplication::applicationDirPath()));
    QApplication::setApplicationName(QStringLiteral("Orvantis"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.orvantis"));
    QApplication::setQuitOnLastWindowClosed(false);

    // Ready before the windows exist, so a signal during start-up is kept until
    // the main window can close in order.
    SignalCloser signals;
    DesktopFeedback feedback;
    PpdevPortIo portIo;
    MainWindow window({files, feedback, portIo, HostRoots {}, std::move(compassLayersDrawn)});
    feedback.setDialogParent(&window);
    feedback.setDiagnosticLine([&window](const QString &text) { window.showDiagnosticText(text); });
    window.placeAngleDialog();
    setApplicationIconAfterFirstPaint(window);

    QObject::connect(&signals, &SignalCloser::closeRequested, &window, &MainWindow::closeUnattended);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, &MainWindow::closeUnattended);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, [&window] { window.runClosingSequence(); });
    // exit(), not quit(): quit() would first ask every window to close and give
    // up when one refuses, leaving the program running without its main window.
    QObject::connect(&window, &MainWindow::closed, &app, [] { QCoreApplication::exit(0); });

    window.show();
    return app.exec();
}
