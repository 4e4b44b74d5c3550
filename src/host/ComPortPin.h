#pragma once

#include <QString>

// Pins COM<number> to a device: dosdevices/com<number> becomes a symbolic link to
// target, typically the adapter's /dev/serial/by-id name, so the COM name follows
// the adapter whatever order adapters are plugged in. The folder is created when
// missing; an existing link is replaced in one step. On failure *error holds the
// system's reason and nothing has changed.
bool pinComName(const QString &dosdevicesDir, int number, const QString &target, QString *error);
