#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for. Qt's own options (-platform, -style, ...) are
// taken out by QApplication; anything else unknown is an error.
struct CommandLine {
    enum class Action { Run, ShowHelp, ShowHelpAll, ShowVersion, Fail };
    // The window program, or the service program: the service is always headless.
    enum class Program { Window, Service };
    Action action = Action::Run;
    Program program = Program::Window;
    QString settingsFolder; // --settings-folder; empty when not given
    bool headless = false;  // --headless: no window, no display needed
    QString text;           // the help or version text, or the error to report (ShowHelpAll: empty)
};

// arguments[0] is the program. The help text names the program as invoked when a
// QCoreApplication exists.
CommandLine parseCommandLine(const QStringList &arguments, CommandLine::Program program = CommandLine::Program::Window);

// --help-all: prints the help with Qt's own options and exits with status 0. Those
// options are known only to the application object of the kind that takes them, so
// for the window program a QApplication must exist.
void printHelpWithQtOptions(CommandLine::Program program = CommandLine::Program::Window);

// Prints the help, the version or the error, and gives the exit status; nothing
// when the program is to run.
std::optional<int> answerWithoutRunning(const CommandLine &line);
