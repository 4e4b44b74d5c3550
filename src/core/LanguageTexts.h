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

// Why a listener cannot bind: another program holds the port, the address is
// not one (ROTCTLD_ADDRESS), this computer does not have it (yet: a network
// still coming up), or another reason the system gives.
enum class RotctldFailure { AddressInUse, NotAnAddress, AddressMissing, Other };
// Why the rotctld server cannot listen and what to do about it; `windowless`
// points to the settings file instead of Init. The server tries again by itself.
QString rotctldFailureText(const Language &language, const QString &address, quint16 port, RotctldFailure failure,
                           const QString &systemReason, bool windowless);
// The notice when the KORU listener cannot bind its UDP port: the port, the
// system's reason and the way out.
QString koruBindFailureText(const Language &language, quint16 port, const QString &reason, bool addressInUse,
                            bool windowless);

// The service's line once it runs: where Hamlib clients and KORU datagrams reach
// it (an empty address or a port 0 for a listener that is off or not bound).
QString servingSummaryText(const Language &language, const QString &rotctldAddress, quint16 rotctldPort,
                           quint16 koruPort);
// The service's last line: whether the settings were saved, and where.
QString closedText(const Language &language, bool saved, const QString &iniPath);

// A listener that could not bind serves now: "<what> port <port>".
QString servingText(const Language &language, const QString &what, quint16 port);

// The notice when the saved COM port of the selected interface is not present at
// start: the port, the device it stands for, the interface, and the way out.
QString absentPortText(const Language &language, const QString &comName, const QString &device, const QString &interfaceName);
