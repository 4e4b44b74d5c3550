#pragma once

#include <QList>
#include <QString>

#include <optional>

// What Orvantis needs to know of one rotator model of the Hamlib library.
struct HamlibModel {
    int number = 0;     // the library's model number, what Orvantis.ini keeps
    QString maker;      // "Yaesu"
    QString name;       // "GS-232A"
    bool network = false; // reached at host:port instead of a serial device
    bool portless = false; // needs no port at all (the dummy rotator)
    int defaultRate = 0;  // the model's own serial speed; 0 for none
    double minAzimuth = 0;
    double maxAzimuth = 360;
    double minElevation = 0;

    // "Hamlib Yaesu GS-232A", as the caption and the diagnostic line name it.
    QString caption() const;
    // The elevation sent with every GO: the lowest the model allows when above 0.
    double goElevation() const { return minElevation > 0 ? minElevation : 0; }
    // The azimuth the library is given for a target 0 <= azimuth < 360: the same
    // direction moved by a turn into the model's limits (-180..180 models take
    // 270 as -90); none when no turn of it lies within them.
    std::optional<double> withinLimits(double azimuth) const;
};

namespace HamlibModels {

// Every model, sorted by maker and then by name; none when the library cannot be loaded.
QList<HamlibModel> all();

// The model with that number; none when the library does not know it or cannot be loaded.
std::optional<HamlibModel> find(int number);

} // namespace HamlibModels
