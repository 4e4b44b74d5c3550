#pragma once

#include <QList>

// `count` different UDP ports that nobody holds right now on any IPv4 address, as
// the kernel hands them out, so no test depends on a fixed port being free.
QList<quint16> freeUdpPorts(int count);
