#pragma once

#include "config/InterfaceKind.h"

struct SetupChoices;
class SerialRotors;

// Selects present COM port `item` (an index into choices.comPorts) for a serial
// interface, as a click in its list does: the choice is recorded and the port is
// opened and probed (a TrakBox gets its wake-up texts). False, with nothing left
// selected, when the port would not open. The caption is the caller's to follow.
// Free of widgets, so the first activation can run it before the dialog exists.
bool selectComPort(SetupChoices &choices, SerialRotors &serial, InterfaceKind kind, int item);
