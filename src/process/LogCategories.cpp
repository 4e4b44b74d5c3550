#include "process/LogCategories.h"

Q_LOGGING_CATEGORY(serialLog, "orvantis.serial", QtWarningMsg)
Q_LOGGING_CATEGORY(udpLog, "orvantis.udp", QtWarningMsg)
Q_LOGGING_CATEGORY(rotctldLog, "orvantis.rotctld", QtWarningMsg)
Q_LOGGING_CATEGORY(positionLog, "orvantis.position", QtWarningMsg)
Q_LOGGING_CATEGORY(dbusLog, "orvantis.dbus", QtWarningMsg)
Q_LOGGING_CATEGORY(parallelLog, "orvantis.parallel", QtWarningMsg)
Q_LOGGING_CATEGORY(hamlibLog, "orvantis.hamlib", QtWarningMsg)
