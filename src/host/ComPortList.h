#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One serial port offered in the setup dialog's port lists.
struct ComPort {
    QString name;       // "COM3"
    QString devicePath; // what opening COM3 opens, shown beside the name
};

// The candidates that are "COM" followed by a whole number above 0 (COM0, COMx,
// COM1x dropped), without duplicates, sorted as text (COM1, COM10, COM3).
QStringList sortedComNames(const QStringList &candidates);

// The serial ports present, sorted as sortedComNames does. A ttyS<n> counts only
// when <sysRoot>/class/tty/ttyS<n>/type holds a non-zero UART type (the kernel
// keeps placeholders with type 0 for absent UARTs); ttyUSB<n> and ttyACM<n> when
// they have a device entry. Every com<n> link in dosdevicesDir whose target exists
// adds or replaces COM<n>; a link whose target is missing hides COM<n> rather than
// let the default device stand in for the one the user chose. Never opens a device.
QList<ComPort> EnumerateComPorts(const QString &sysRoot, const QString &dosdevicesDir,
                                 const QString &devRoot);
