#pragma once

// Where the angle dialog hands the azimuth typed into it.
class AngleDialogHost {
public:
    virtual ~AngleDialogHost() = default;
    // A valid azimuth 0..359 the user entered: shown everywhere but in the angle
    // dialog itself, and sent when AUTO is on.
    virtual void takeAngle(int azimuth) = 0;
};
