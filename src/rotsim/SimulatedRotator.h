#pragma once

#include <optional>

// The antenna behind a simulated controller: it turns at a fixed rate toward its
// target within one turn from its end stop (0..360), never across the stop.
class SimulatedRotator {
public:
    SimulatedRotator(double azimuth, double degreesPerSecond);

    double azimuth() const { return m_azimuth; }
    std::optional<double> target() const { return m_target; }
    bool isMoving() const { return m_target.has_value(); }

    void turnTo(double target);
    void stop() { m_target.reset(); }

    // Moves on by `seconds` of travel; true when the target was reached.
    bool advance(double seconds);

private:
    double m_azimuth;
    double m_rate;
    std::optional<double> m_target;
};
