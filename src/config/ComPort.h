#pragma once

#include <QString>

// One serial port offered in the setup dialog's port lists.
struct ComPort {
    QString name;       // "COM3"
    QString devicePath; // what opening COM3 opens, shown beside the name
    // What the system knows of a USB adapter, so two adapters can be told apart:
    // "FTDI FT232R USB UART A50285BI" (maker, product, serial number), or
    // "USB 067b:2303" when it names none of them; empty for other devices.
    QString adapter;
    // Its /dev/serial/by-id link, a name that stays with the adapter whatever order
    // adapters are plugged in; empty when udev made none.
    QString byIdPath;
};
