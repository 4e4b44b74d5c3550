#pragma once

#include "config/Language.h"

#include <QString>

// Whether ppdev is available: <sysRoot>/module/ppdev exists (module loaded or
// built in) or some <devRoot>/parport* node exists.
bool CheckPortDriver(const QString &sysRoot, const QString &devRoot);

// The error shown when an LPT port is picked without the driver: four lines
// joined by CR LF, in English or French.
QString driverMissingMessage(const Language &language);
