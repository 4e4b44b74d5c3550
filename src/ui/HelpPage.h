#pragma once

#include "config/Language.h"

#include <QString>
#include <QUrl>

// The help page of the chosen language: beside the program (a copied folder or the
// build tree), else in the installation's data folder. When neither holds it, the
// page beside the program, so the desktop says what it cannot open.
QUrl helpPageUrl(const QString &programFolder, const Language &language);
