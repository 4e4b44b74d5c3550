#pragma once

#include "config/AzimuthSource.h"
#include "config/Configuration.h"
#include "config/InterfaceKind.h"
#include "config/Language.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>

#include <array>
#include <optional>

// Live state written to Orvantis.ini that the record does not hold.
struct WriterInputs {
    Language language; // which language item is checked
    bool autoOn = false;
    AzimuthSource source = AzimuthSource::None;
    QString koruPortText, koruAntennaText; // setup dialog fields
    // PORT_ line value (the COM number) per interface ordinal; nullopt writes no line.
    std::array<std::optional<int>, InterfaceKindCount> comPortNumber;
    bool gs232Elevation = false; // "+ el=0" box
    int windowLeft = 0, windowTop = 0, windowWidth = 0, windowHeight = 0;
    int angleLeft = 0, angleTop = 0;
    bool angleVisible = false;
    QString angleText;
};

// The whole Orvantis.ini image: every line followed by CR LF, Windows-1252.
QByteArray writeConfiguration(const Configuration &config, const WriterInputs &inputs,
                              const QLocale &locale = QLocale());

// The favourites (1..6) whose names the file cannot hold in full: their characters
// outside Windows-1252 are written as '?', which the user must be told.
QList<int> favouritesNotKept(const Configuration &config);
