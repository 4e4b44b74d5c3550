#pragma once

#include <QString>
#include <QStringView>

// Stable Windows-style names for the serial devices, so the PORT_ numbers in
// Orvantis.ini keep meaning the same device from one start to the next:
// ttyS0..31 are COM1..COM32, ttyUSB0..31 COM33..COM64, ttyACM0..31 COM65..COM96.
// A symbolic link com<n> in the dosdevices folder (the Wine convention) maps
// COM<n> to any device and takes precedence over the default name.

inline constexpr int MaxComNumber = 256;

// n of a "COM<n>" name: "COM" (upper case) then a whole number 1..MaxComNumber
// written without sign, blanks or leading zeros; 0 for anything else.
int comNumber(QStringView comName);

// The dosdevices link name of COM<n>: "com<n>".
QString comLinkName(int number);
// n of a dosdevices link name "com<n>" (lower case, same number rules); 0 otherwise.
int comNumberFromLinkName(QStringView linkName);

// "COM<n>" for a kernel serial device name ("ttyUSB0" or "/dev/ttyUSB0");
// empty when the device has no default name.
QString comNameForDevice(const QString &deviceName);

// The device to open for a COM name: the target of its dosdevices link when
// there is one, otherwise its default device under devRoot. Empty when the name
// is not COM<n>, or names no existing device (a link whose target is missing
// counts as no device: the override is never bypassed for the default device).
// Looks at two paths at most and never opens anything.
QString devicePathForComName(const QString &comName, const QString &dosdevicesDir,
                             const QString &devRoot = QStringLiteral("/dev"));
// The device a COM name stands for, there or not: the target of its dosdevices
// link, else its default device; empty for a name that stands for none.
QString deviceNamedByComName(const QString &comName, const QString &dosdevicesDir,
                             const QString &devRoot = QStringLiteral("/dev"));
