#include "app/CommandLine.h"

#include "config/ProgramIdentity.h"
#include "config/StandardError.h"

#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>

namespace {

struct OrvantisOptions {
    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption settingsFolder;
    QCommandLineOption headless;
};

// The parser that reads the command line and the one that prints --help-all know
// the same options.
OrvantisOptions describeOptions(QCommandLineParser &parser)
{
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
    return {help, version, settingsFolder, headless};
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    const OrvantisOptions options = describeOptions(parser);

    CommandLine line;
    if (!parser.parse(arguments)) {
        line.action = CommandLine::Action::Fail;
        line.text = QStringLiteral("%1 Try 'orvantis --help' for more information.").arg(parser.errorText());
    } else if (parser.isSet(QStringLiteral("help-all"))) {
        line.action = CommandLine::Action::ShowHelpAll;
    } else if (parser.isSet(options.help)) {
        line.action = CommandLine::Action::ShowHelp;
        line.text = parser.helpText();
    } else if (parser.isSet(options.version)) {
        line.action = CommandLine::Action::ShowVersion;
        line.text = QStringLiteral("Orvantis %1\n").arg(VersionNumber);
    } else if (!parser.positionalArguments().isEmpty()) {
        line.action = CommandLine::Action::Fail;
        line.text = QStringLiteral("unexpected argument '%1'. Try 'orvantis --help' for more information.")
                        .arg(parser.positionalArguments().constFirst());
    } else {
        line.settingsFolder = parser.value(options.settingsFolder);
        line.headless = parser.isSet(options.headless);
    }
    return line;
}

void printHelpWithQtOptions()
{
    QCommandLineParser parser;
    describeOptions(parser);
    // Qt writes its own options only from process(), which prints and exits.
    parser.process(QCoreApplication::arguments());
}

std::optional<int> answerWithoutRunning(const CommandLine &line)
{
    switch (line.action) {
    case CommandLine::Action::Run:
        return std::nullopt;
    case CommandLine::Action::Fail:
        writeStandardErrorLine(line.text);
        return EXIT_FAILURE;
    case CommandLine::Action::ShowHelpAll: // only once a QApplication exists
        printHelpWithQtOptions();
        return EXIT_SUCCESS;
    default:
        std::fputs(qPrintable(line.text), stdout);
        return EXIT_SUCCESS;
    }
}
