#include "app/HeadlessRunner.h"

#include "app/SignalCloser.h"
#include "app/StandardErrorFeedback.h"
#include "config/NumberText.h"
#include "config/ProgramIdentity.h"
#include "config/SettingsFiles.h"
#include "config/SettingsFolder.h"
#include "config/StandardError.h"
#include "core/Station.h"
#include "rotors/PpdevPortIo.h"

#include <QCoreApplication>
#include <QTimer>

int runHeadless(QCoreApplication &app, const QString &settingsFolder)
{
    QCoreApplication::setApplicationName(ProgramTitle);
    // Ready before the station exists, so a signal during start-up is kept until
    // the station can close in order.
    SignalCloser signals;
    SettingsFiles files(chooseSettingsFolder(settingsFolder, QCoreApplication::applicationDirPath()));
    StandardErrorFeedback feedback;
    PpdevPortIo portIo;
    Station station({files, feedback, portIo, HostRoots {}});
    station.setWindowless(true);

    QObject::connect(&station, &Station::captionChanged, &station, [](const QString &caption) {
        writeStandardErrorLine(caption);
    });
    QObject::connect(&station, &Station::conversionRefused, &station, [&station, &feedback](const QString &value) {
        feedback.conversionNotice(nullptr, NumberText::integerConversionMessage(value, station.language()));
    });
    QObject::connect(&signals, &SignalCloser::closeRequested, &station, &Station::closeUnattended);
    QObject::connect(&station, &Station::closed, &app, [&station] { QCoreApplication::exit(station.exitStatus()); });

    station.load();
    station.EnumerateComPorts();
    // As a window's first activation: once the event loop runs, so a signal
    // already waiting is seen first.
    QTimer::singleShot(0, &station, [&station] {
        if (!station.closingStarted())
            station.FormActivate();
    });
    return app.exec();
}
