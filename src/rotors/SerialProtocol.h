#pragma once

#include "config/InterfaceKind.h"

#include <QByteArray>
#include <QList>

#include <optional>

// One write of a command and the pause that must follow it before the
// controller is sent anything else. Empty bytes mean a pause alone.
struct SerialWrite {
    QByteArray bytes;
    int pauseAfterMs = 0;
    friend bool operator==(const SerialWrite &, const SerialWrite &) = default;
};

// A whole command: its writes in order, and the text shown in the diagnostic
// label (followed there by a blank and the port name); no label leaves it as is.
struct SerialCommand {
    QList<SerialWrite> writes;
    std::optional<QByteArray> label;
};

// The serial controllers' command texts. Pure: no port, no state.
namespace SerialProtocol {

// An equal difference is sent; a step of 0 lets everything through.
bool passesMinimumStep(int minimumStep, double commanded, double lastSent);

// With the end stop in the south the controller counts from south.
double applyStopSide(double azimuth, int stopSide);

// (azimuth - offset) in units of 1/scale degree, rounded and brought back into
// one turn with at most one correction either way.
int scaledField(double azimuth, int offset, int scale);

// The three-digit whole-degree field "nnn".
QByteArray threeDigitField(double azimuth, int offset);

// azimuth is the value after the stop side; gs232Elevation is the "+ el=0" box.
SerialCommand goCommand(InterfaceKind kind, double azimuth, int offset, bool gs232Elevation);

// What ProSisTel needs on a freshly opened channel, "CPM off" ticked or not.
SerialCommand proSisTelOpening(bool cpmOff);

SerialCommand stopCommand(InterfaceKind kind);

// What each controller receives as the main window closes. TrakBox's text
// depends on whether the controller should be left in host mode.
SerialCommand closingCommand(InterfaceKind kind, bool trakBoxHostMode);

// What the selected controller receives when the setup dialog closes and lets go
// of the channel its test moves opened. TrakBox receives nothing.
SerialCommand setupCloseOutCommand(InterfaceKind kind);

// Sent when a TrakBox port is picked.
SerialCommand trakBoxProbe();

} // namespace SerialProtocol
