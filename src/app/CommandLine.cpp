#include "app/CommandLine.h"

#include "config/ProgramIdentity.h"

#include <QCommandLineParser>

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Points an antenna rotator at an azimuth.\n\n"
                       "Settings (Orvantis.ini and the dosdevices folder of COM links) live in the\n"
                       "folder given by --settings-folder; otherwise beside a copied, writable\n"
                       "program (portable use); otherwise in $XDG_CONFIG_HOME/Orvantis."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption settingsFolder(
        {QStringLiteral("s"), QStringLiteral("settings-folder")},
        QStringLiteral("Keep Orvantis.ini and dosdevices in <folder> (created if missing)."), QStringLiteral("folder"));
    parser.addOption(settingsFolder);
    const QCommandLineOption headless(
        QStringLiteral("headless"),
        QStringLiteral("Run without a window or display: drive the saved interface, serve the KORU\n"
                       "listener, the rotctld server and the desktop link; messages go to standard\n"
                       "error; SIGTERM, SIGINT or SIGHUP stop, park, close and save."));
    parser.addOption(headless);

    CommandLine line;
    if (!parser.parse(arguments)) {
        line.action = CommandLine::Action::Fail;
        line.text = QStringLiteral("%1 Try 'orvantis --help' for more information.")
                        .arg(parser.errorText());
    } else if (parser.isSet(help)) {
        line.action = CommandLine::Action::ShowHelp;
        line.text = parser.helpText();
    } else if (parser.isSet(version)) {
        line.action = CommandLine::Action::ShowVersion;
        line.text = QStringLiteral("Orvantis %1\n").arg(VersionNumber);
    } else if (!parser.positionalArguments().isEmpty()) {
        line.action = CommandLine::Action::Fail;
        line.text = QStringLiteral("unexpected argument '%1'. Try 'orvantis --help' for more information.")
                        .arg(parser.positionalArguments().constFirst());
    } else {
        line.settingsFolder = parser.value(settingsFolder);
        line.headless = parser.isSet(headless);
    }
    return line;
}
