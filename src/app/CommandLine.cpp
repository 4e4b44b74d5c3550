#include "app/CommandLine.h"

#include "config/ProgramIdentity.h"
#include "process/StandardError.h"

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
OrvantisOptions describeOptions(QCommandLineParser &parser, CommandLine::Program program)
{
    const bool service = program == CommandLine::Program::Service;
    parser.setApplicationDescription(
        (service ? QStringLiteral("Points an antenna rotator at an azimuth, without a window or display: drives the\n"
                                  "saved interface, serves the KORU listener, the rotctld server and the desktop\n"
                                  "link; messages go to standard error; SIGTERM, SIGINT or SIGHUP stop, park,\n"
                                  "close and save.\n\n")
                 : QStringLiteral("Points an antenna rotator at an azimuth.\n\n"))
        + QStringLiteral("Settings (Orvantis.ini and the dosdevices folder of COM links) live in the\n"
                         "folder given by --settings-folder; otherwise beside a copied, writable\n"
                         "program (portable use); otherwise in $XDG_CONFIG_HOME/Orvantis."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption settingsFolder(
        {QStringLiteral("s"), QStringLiteral("settings-folder")},
        QStringLiteral("Keep Orvantis.ini and dosdevices in <folder> (created if missing)."), QStringLiteral("folder"));
    parser.addOption(settingsFolder);
    QCommandLineOption headless(
        QStringLiteral("headless"),
        QStringLiteral("Run without a window or display, as orvantis-service: drive the saved\n"
                       "interface, serve the KORU listener, the rotctld server and the desktop link;\n"
                       "messages go to standard error; SIGTERM, SIGINT or SIGHUP stop, park, close\n"
                       "and save."));
    // Taken by the service too, so a command line written for `orvantis` works there.
    if (service)
        headless.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(headless);
    return {help, version, settingsFolder, headless};
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments, CommandLine::Program program)
{
    QCommandLineParser parser;
    const OrvantisOptions options = describeOptions(parser, program);
    const QString name = program == CommandLine::Program::Service ? QStringLiteral("orvantis-service")
                                                                  : QStringLiteral("orvantis");

    CommandLine line;
    line.program = program;
    if (!parser.parse(arguments)) {
        line.action = CommandLine::Action::Fail;
        line.text = QStringLiteral("%1 Try '%2 --help' for more information.").arg(parser.errorText(), name);
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
        line.text = QStringLiteral("unexpected argument '%1'. Try '%2 --help' for more information.")
                        .arg(parser.positionalArguments().constFirst(), name);
    } else {
        line.settingsFolder = parser.value(options.settingsFolder);
        line.headless = program == CommandLine::Program::Service || parser.isSet(options.headless);
    }
    return line;
}

void printHelpWithQtOptions(CommandLine::Program program)
{
    QCommandLineParser parser;
    describeOptions(parser, program);
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
        printHelpWithQtOptions(line.program);
        return EXIT_SUCCESS;
    default:
        std::fputs(qPrintable(line.text), stdout);
        return EXIT_SUCCESS;
    }
}
