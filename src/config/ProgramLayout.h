#pragma once

#include <QString>

// An installed Orvantis keeps what it ships (the help pages) in <prefix>/share/orvantis,
// found from <prefix>/bin by the relative path the build was configured with. A copied
// folder holds everything beside the executable instead.

// The installation's data folder for a program in programFolder; empty when there is none.
QString installedDataFolder(const QString &programFolder);

// True for an installed program: one with an installation's data folder, or one in a
// folder where the system keeps its programs (/usr/bin, /usr/local/bin, ...), which is
// never the place for a user's settings, even for root who may write there.
bool isInstalledProgramFolder(const QString &programFolder);
