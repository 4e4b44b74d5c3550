#include "rotors/MovenowLauncher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStringList>

ShellProgram resolveShellProgram(const QString &programFile)
{
    for (const QString &extension : {QString(), QStringLiteral(".com"), QStringLiteral(".exe"),
                                     QStringLiteral(".bat"), QStringLiteral(".cmd")}) {
        const QFileInfo candidate(programFile + extension);
        if (!candidate.isFile())
            continue;
        if (candidate.isExecutable())
            return {candidate.absoluteFilePath(), 0}; // never looked up on PATH
        return {QString(), extension.isEmpty() ? ShellError::NoProgramToRunIt : ShellError::AccessDenied};
    }
    return {QString(), ShellError::FileNotFound};
}

int ProcessMovenowLauncher::start(const QString &programFile, const QString &parameters)
{
    const ShellProgram program = resolveShellProgram(programFile);
    if (program.error != 0)
        return program.error;
    // The file is there and executable, so a start that fails means the system
    // has no way to run it (a DOS program without a runner registered for it).
    return QProcess::startDetached(program.path, QProcess::splitCommand(parameters)) ? 0
                                                                                      : ShellError::NoProgramToRunIt;
}
