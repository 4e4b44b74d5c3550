#pragma once

#include <QString>

#include <optional>

// What a rotctld client may ask of the program. The station implements it with
// the same steps its own buttons and the other azimuth sources take.
class RotctldHost {
public:
    // How a request to move ended, as far as the program can tell at once.
    enum class MoveAnswer {
        Moving,       // sent, or waiting behind the command being written, or already within the minimum step
        Refused,      // AUTO is off, the setup dialog is open, or the program is closing
        NoInterface,  // no rotator interface is chosen
        NotDelivered, // the controller's port would not open or take the bytes
    };

    virtual ~RotctldHost() = default;

    // A request to move to a whole azimuth (0..360): shown as every other source's,
    // and sent whenever the rules let it, even when it is the azimuth already shown.
    virtual MoveAnswer requestMove(int azimuth) = 0;
    // The STOP button. False when the program is closing.
    virtual bool stopMoving() = 0;
    // Moves to the parking azimuth; false when no parking is set.
    virtual bool moveToParking() = 0;
    // Where the antenna points, only as far as it is known: the controller's last
    // report when it is asked (readsBack()), else the last azimuth sent; none before either.
    virtual std::optional<double> knownAzimuth() const = 0;
    virtual bool readsBack() const = 0;
    // One line naming the program and its interface.
    virtual QString rotatorInfo() const = 0;
};
