#pragma once

#include "config/Configuration.h"
#include "config/ProgramIdentity.h"

#include <QString>

#include <array>

// The main window's title is the program's status line: interface, port, speed
// and the parking azimuth when parking belongs to the selected interface.
// lptNames: the names found for LPT1..LPT3 at start ("LPT1" or empty).
QString BuildStatusCaption(const Configuration &config, const std::array<QString, 3> &lptNames);
