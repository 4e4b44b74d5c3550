#pragma once

#include <QLoggingCategory>

// One category per area, all silent below warnings until asked for, e.g.
// QT_LOGGING_RULES="orvantis.*.debug=true" or "orvantis.serial.debug=true".
Q_DECLARE_LOGGING_CATEGORY(serialLog)   // orvantis.serial: every byte to and from each COM port
Q_DECLARE_LOGGING_CATEGORY(udpLog)      // orvantis.udp: the KORU logger's datagrams
Q_DECLARE_LOGGING_CATEGORY(rotctldLog)  // orvantis.rotctld: Hamlib clients' lines and replies
Q_DECLARE_LOGGING_CATEGORY(positionLog) // orvantis.position: the antenna's reported position
Q_DECLARE_LOGGING_CATEGORY(dbusLog)     // orvantis.dbus: the desktop azimuth servers
Q_DECLARE_LOGGING_CATEGORY(parallelLog) // orvantis.parallel: ppdev claims and register writes
Q_DECLARE_LOGGING_CATEGORY(hamlibLog)   // orvantis.hamlib: the Hamlib library's own messages and each call
