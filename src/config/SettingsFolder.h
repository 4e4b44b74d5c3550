#pragma once

#include <QString>

// What decides which folder holds Orvantis.ini and dosdevices.
struct SettingsFolderFacts {
    QString chosenFolder;   // given on the command line; empty when not given
    QString programFolder;  // the executable's folder
    bool programFolderWritable = false;
    bool installedProgram = false;  // isInstalledProgramFolder(programFolder)
    QString userConfigFolder;       // $XDG_CONFIG_HOME/Orvantis
};

// A folder chosen on the command line wins. Otherwise a copied, writable program
// folder is portable and keeps the settings beside the executable; an installed
// program, or one whose folder is not writable, uses the user's config folder.
QString decideSettingsFolder(const SettingsFolderFacts &facts);

// Looks at this machine, applies the rule above, and creates the folder when
// missing (a failure shows later, when the settings cannot be written).
QString chooseSettingsFolder(const QString &chosenFolder, const QString &programFolder);
