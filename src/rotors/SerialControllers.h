#pragma once

#include "config/InterfaceKind.h"
#include "rotors/SerialChannel.h"

#include <QByteArray>

// What Orvantis knows of each serial controller, one row each: how its line is
// set up, whether it counts from its end stop, how it is asked where the
// antenna is, and the travel and axes it has. Its command bytes are
// SerialProtocol's; a new controller is a row here and its encoder there.
struct SerialController {
    InterfaceKind kind;
    SerialChannel::Profile line;
    // TrakBox always counts from north, whatever the stop side says.
    bool countsFromStopSide = true;
    // Empty for a controller that cannot tell.
    QByteArray positionQuery;
    double minAzimuth = 0;
    double maxAzimuth = 360;
    bool turnsElevation = false;
};

// The row of a serial kind; the others have none.
const SerialController *serialController(InterfaceKind kind);
