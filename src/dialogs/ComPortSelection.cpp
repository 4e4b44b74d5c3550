#include "dialogs/ComPortSelection.h"

#include "config/SetupChoices.h"
#include "rotors/SerialRotors.h"

bool selectComPort(SetupChoices &choices, SerialRotors &serial, InterfaceKind kind, int item)
{
    const int k = ordinal(kind);
    choices.comSelection[k] = item;
    // A port picked now replaces whatever was remembered of an unplugged adapter.
    choices.comAbsentAtStart[k] = false;
    if (serial.ProbePort(kind, choices.comPorts[item].name))
        return true;
    choices.comSelection[k] = -1;
    return false;
}
