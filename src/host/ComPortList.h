#pragma once

#include "config/ComPort.h"

#include <QList>
#include <QString>
#include <QStringList>

// The candidates that are "COM" followed by a whole number above 0 (COM0, COMx,
// COM1x dropped), without duplicates, sorted as text (COM1, COM10, COM3).
QStringList sortedComNames(const QStringList &candidates);

// The serial ports present, sorted as sortedComNames does. A ttyS<n> counts only
// when <sysRoot>/class/tty/ttyS<n>/type holds a non-zero UART type (the kernel
// keeps placeholders with type 0 for absent UARTs); ttyUSB<n> and ttyACM<n> when
// they have a device entry. Every com<n> link in dosdevicesDir whose target exists
// adds or replaces COM<n>; a link whose target is missing hides COM<n> rather than
// let the default device stand in for the one the user chose. Each port then gets
// the adapter and by-id link of the device it opens. Never opens a device.
QList<ComPort> EnumerateComPorts(const QString &sysRoot, const QString &dosdevicesDir,
                                 const QString &devRoot);
