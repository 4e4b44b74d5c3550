#pragma once

#include <cmath>
#include <optional>

// What every GO operation reads, and the reference of the minimum-step rule.
struct CommandState {
    double targetAzimuth = 0;     // the requested azimuth of the GO under way
    double commandedAzimuth = 0;  // the copy a GO operation may transform
    double lastSentAzimuth = -10; // reference of the minimum-step rule; -10 after STOP
    // Where the controller last said the antenna is, when it is asked; a GO is held
    // back only when this too is within the step, so a rotator stopped elsewhere
    // (at its front panel, by another program) is sent the same target again.
    std::optional<double> reportedAzimuth;

    // The minimum step keeps this GO back: the antenna is, or is on its way,
    // near enough. A difference equal to the step is sent.
    bool heldByStep(int minimumStep) const
    {
        const auto near = [&](double from) { return minimumStep > std::fabs(commandedAzimuth - from); };
        return near(lastSentAzimuth) && (!reportedAzimuth || near(*reportedAzimuth));
    }
};
