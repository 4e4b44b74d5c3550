#pragma once

#include <QList>

// `count` different UDP ports that nobody holds right now on any IPv4 address, none
// above `highest`, so no test depends on a fixed port being free. Empty when there
// are not enough.
QList<quint16> freeUdpPorts(int count, quint16 highest = 65535);

// A TCP port on the loopback address that nobody holds right now.
quint16 freeTcpPort();
