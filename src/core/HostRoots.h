#pragma once

#include <QString>

// Where the host discovery looks; tests point these at temporary folders.
struct HostRoots {
    QString sys = QStringLiteral("/sys");
    QString proc = QStringLiteral("/proc");
    QString dev = QStringLiteral("/dev");
};
