#pragma once

#include "config/AzimuthSource.h"
#include "config/Language.h"

#include <QString>

// The main window's texts that follow the language menu.
struct LanguageTexts {
    QString quit;
    QString server;
    QString favourites;
    QString azimuth;
    QString language;
    QString about;
    QString help;
    QString arswinMissing;
    QString rotctldServer;       // %1 the TCP port
    // The antenna's reported position in the diagnostic line; %1 is the azimuth.
    QString antennaAt;
};

const LanguageTexts &languageTexts(const Language &language);

// The Server menu's title: the bare word, or the word and the chosen source.
// Choosing a DDE server from the menu gives its title an accelerator.
QString serverMenuCaption(const Language &language, AzimuthSource source, bool withAccelerator);

// The notice when the KORU listener cannot bind its UDP port: the port, the
// system's reason and the way out.
enum class RotctldFailure { AddressInUse, NotAnAddress, Other };
// Why the rotctld server cannot listen and what to do about it.
QString rotctldFailureText(const Language &language, const QString &address, quint16 port, RotctldFailure failure,
                           const QString &systemReason);
QString koruBindFailureText(const Language &language, quint16 port, const QString &reason, bool addressInUse);

// The notice when the saved COM port of the selected interface is not present at
// start: the port, the device it stands for, the interface, and the way out.
QString absentPortText(const Language &language, const QString &comName, const QString &device, const QString &interfaceName);
