// `orvantis-service`: the station without a window. It links no Qt Gui, Qt
// Widgets or X library, so a tower computer without a display needs none of them.
#include "app/CommandLine.h"
#include "app/HeadlessRunner.h"
#include "process/StandardError.h"

#include <QCoreApplication>

#include <optional>

int main(int argc, char *argv[])
{
    routeQtMessagesToStandardError();
    QCoreApplication app(argc, argv);
    const CommandLine line = parseCommandLine(QCoreApplication::arguments(), CommandLine::Program::Service);
    if (const std::optional<int> exitCode = answerWithoutRunning(line))
        return *exitCode;
    return runHeadless(app, line.settingsFolder);
}
