#include "app/HeadlessRunner.h"

#include "process/SignalCloser.h"
#include "app/StandardErrorFeedback.h"
#include "config/NumberText.h"
#include "config/ProgramIdentity.h"
#include "config/SettingsFiles.h"
#include "config/SettingsFolder.h"
#include "process/StandardError.h"
#include "core/LanguageTexts.h"
#include "core/Station.h"
#include "sources/RotctldServer.h"
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
    // The journal's account of a run: what serves once it runs, and how it closed.
    QObject::connect(&station, &Station::closed, &app, [&station, &files] {
        writeStandardErrorLine(closedText(station.language(), station.settingsSaved(), files.iniPath()));
        QCoreApplication::exit(station.exitStatus());
    });

    station.load();
    station.EnumerateComPorts();
    // As a window's first activation: once the event loop runs, so a signal
    // already waiting is seen first.
    QTimer::singleShot(0, &station, [&station] {
        if (station.closingStarted())
            return;
        station.FormActivate();
        const bool serving = station.rotctldListening();
        const bool koru = station.azimuthSource() == AzimuthSource::Koru && station.udpListener().isActive();
        writeStandardErrorLine(servingSummaryText(
            station.language(), serving ? station.rotctldServer().listeningAddress().hostText() : QString(),
            serving ? station.rotctldServer().serverPort() : 0, koru ? station.koruPort() : 0));
    });
    return app.exec();
}
