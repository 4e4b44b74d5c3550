#pragma once

#include <QString>

class QCoreApplication;

// The service program (orvantis-service, also what `orvantis --headless` runs): the
// station without a window, for the computer at the foot of the tower. It reads and writes the same Orvantis.ini, drives the saved
// interface, serves the KORU listener, the rotctld server and the desktop link,
// and closes on SIGTERM, SIGINT or SIGHUP with STOP, parking, close-out and save.
// Returns the process's exit status.
int runHeadless(QCoreApplication &app, const QString &settingsFolder);
