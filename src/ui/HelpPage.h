#pragma once

#include <QString>
#include <QUrl>

// The help page of the chosen language in the program's folder. The page need
// not exist: the desktop says so when it cannot open it.
QUrl helpPageUrl(const QString &programFolder, bool french);
