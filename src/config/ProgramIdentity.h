#pragma once

#include <QString>

// How the program names itself in its caption, its about box and --version.
inline const QString ProductWord = QStringLiteral("ORVANTIS");
inline const QString VersionNumber = QStringLiteral("2.4.1");
// The title of its windows and boxes, and the application name.
inline const QString ProgramTitle = QStringLiteral("Orvantis");
inline const QString VersionText = QStringLiteral(" V") + VersionNumber;
