#include "config/ProgramLayout.h"

#include <QDir>
#include <QFileInfo>

QString installedDataFolder(const QString &programFolder)
{
    const QFileInfo data(QDir(programFolder).filePath(QStringLiteral(ORVANTIS_DATA_FROM_BIN)));
    return data.isDir() ? data.canonicalFilePath() : QString();
}

bool isInstalledProgramFolder(const QString &programFolder)
{
    static const QStringList SystemProgramFolders = {
        QStringLiteral("/bin"),           QStringLiteral("/sbin"),           QStringLiteral("/usr/bin"),
        QStringLiteral("/usr/sbin"),      QStringLiteral("/usr/games"),      QStringLiteral("/usr/local/bin"),
        QStringLiteral("/usr/local/sbin"), QStringLiteral("/usr/local/games"),
    };
    return SystemProgramFolders.contains(QDir::cleanPath(programFolder))
           || !installedDataFolder(programFolder).isEmpty();
}
