#pragma once

#include "config/Language.h"

#include <QSerialPort>
#include <QString>
#include <QStringList>

// Why a serial controller could not be reached, with what the user needs to act
// on it: the COM name, the device behind it and the system's own words.
struct SerialFailure {
    enum class Kind {
        NoPort,      // no COM port is chosen for the interface
        Missing,     // the device is not there: an unplugged adapter, a dangling link
        Permission,  // the user may not open serial devices
        Busy,        // another program holds the device
        NotSerial,   // the path is no serial device (a wrong dosdevices link)
        Refused,     // the device would not open for another reason
        WriteFailed, // the port was open, a command could not be written
    };

    Kind kind = Kind::Refused;
    QString interfaceName; // "GS232", for NoPort
    QString comName;
    QString devicePath;
    QString reason;      // the system's text
    QStringList holders; // "minicom (1234)", for Busy
};

// Tells why devicePath did not open, from the serial layer's error and a look at
// the path; the device is not opened again for it.
SerialFailure::Kind classifyOpenFailure(QSerialPort::SerialPortError error, const QString &devicePath);

// What happened and what to do, in the language shown.
QString serialFailureText(const SerialFailure &failure, const Language &language);
