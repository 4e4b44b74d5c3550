#pragma once

#include <QString>

// The service program: the station without a window, for the computer at the foot
// of the tower. It sits in the same folder as the window program.
inline constexpr const char *ServiceProgramName = "orvantis-service";

// `orvantis --headless`: replaces this process with the service program found in
// `programFolder` (the window program's own folder, never PATH or the current
// directory), with the same arguments but --headless. Signals ignored now stay
// ignored there. Returns only when it cannot: the reason is then on standard
// error and the result is the exit status.
int execServiceProgram(const QString &programFolder, int argc, char *argv[]);
