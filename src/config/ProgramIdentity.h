#pragma once

#include <QString>

// How the program names itself in its caption and its about box.
inline const QString ProductWord = QStringLiteral("ORVANTIS");
inline const QString VersionText = QStringLiteral(" V2.4.1");
