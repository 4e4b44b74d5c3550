#pragma once

#include <QString>

// What a rotctld client may ask of the program. The main window implements it
// with the same steps its own buttons and the other azimuth sources take.
class RotctldHost {
public:
    virtual ~RotctldHost() = default;

    // Enters a whole azimuth (0..360) as every other source does: the azimuth box,
    // then AUTO and the minimum step decide whether it is sent. False when the
    // program no longer takes azimuths (it is closing).
    virtual bool enterAzimuth(int azimuth) = 0;
    // The STOP button. False when the program is closing.
    virtual bool stopMoving() = 0;
    // Moves to the parking azimuth; false when no parking is set.
    virtual bool moveToParking() = 0;
    // Where the antenna points as far as the program knows.
    virtual double currentAzimuth() const = 0;
    // One line naming the program and its interface.
    virtual QString rotatorInfo() const = 0;
};
