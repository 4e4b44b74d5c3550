#pragma once

// What every GO operation reads and reports back to the GO handling.
struct CommandState {
    double targetAzimuth = 0;     // read from the azimuth box at each GO
    double commandedAzimuth = 0;  // the copy a GO operation may transform
    double lastSentAzimuth = -10; // reference of the minimum-step rule; -10 after STOP
    bool notSentFlag = false;     // raised by a GO operation that commanded nothing
    bool withinStep = false;      // ... because the minimum step held it back

    // A GO the minimum step holds back: the antenna is already near enough.
    void holdWithinStep()
    {
        notSentFlag = true;
        withinStep = true;
    }
};
