#include "config/SettingsFolder.h"

#include "config/ProgramLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

QString decideSettingsFolder(const SettingsFolderFacts &facts)
{
    if (!facts.chosenFolder.isEmpty())
        return facts.chosenFolder;
    if (facts.programFolderWritable && !facts.installedProgram)
        return facts.programFolder;
    return facts.userConfigFolder;
}

QString chooseSettingsFolder(const QString &chosenFolder, const QString &programFolder)
{
    SettingsFolderFacts facts;
    if (!chosenFolder.isEmpty())
        facts.chosenFolder = QDir::cleanPath(QFileInfo(chosenFolder).absoluteFilePath());
    facts.programFolder = programFolder;
    facts.programFolderWritable = ::access(QFile::encodeName(programFolder).constData(), W_OK | X_OK) == 0;
    facts.installedProgram = isInstalledProgramFolder(programFolder);
    facts.userConfigFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Orvantis");

    const QString folder = decideSettingsFolder(facts);
    if (folder != programFolder)
        QDir().mkpath(folder);
    return folder;
}
