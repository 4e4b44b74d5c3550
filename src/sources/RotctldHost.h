#pragma once

#include "rotors/Pointing.h"
#include "rotors/RotorOutcome.h"

#include <QString>

#include <optional>

// What a rotctld client may ask of the program. The station implements it with
// the same steps its own buttons and the other azimuth sources take, and
// answers each request once its outcome is known (sometimes before returning).
class RotctldHost {
public:
    virtual ~RotctldHost() = default;

    // A request to point at a whole azimuth (0..360): shown as every other source's,
    // and sent whenever the rules let it, even when it is the azimuth already shown.
    virtual void requestMove(const Pointing &pointing, OutcomeReport answer) = 0;
    // The STOP button.
    virtual void stopMoving(OutcomeReport answer) = 0;
    // Moves to the parking azimuth.
    virtual void moveToParking(OutcomeReport answer) = 0;
    // Where the antenna points, only as far as it is known: the controller's last
    // report when it is asked (readsBack()), else the last azimuth sent; none before either.
    virtual std::optional<double> knownAzimuth() const = 0;
    virtual bool readsBack() const = 0;
    // One line naming the program and its interface.
    virtual QString rotatorInfo() const = 0;
};
