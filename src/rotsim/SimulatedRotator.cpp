#include "rotsim/SimulatedRotator.h"

#include <algorithm>
#include <cmath>

SimulatedRotator::SimulatedRotator(double azimuth, double degreesPerSecond)
    : m_azimuth(std::clamp(azimuth, 0.0, 360.0)), m_rate(degreesPerSecond)
{
}

void SimulatedRotator::turnTo(double target)
{
    m_target = std::clamp(target, 0.0, 360.0);
}

bool SimulatedRotator::advance(double seconds)
{
    if (!m_target || seconds <= 0)
        return false;
    const double remaining = *m_target - m_azimuth;
    const double travel = m_rate * seconds;
    if (std::fabs(remaining) <= travel) {
        m_azimuth = *m_target;
        m_target.reset();
        return true;
    }
    m_azimuth += std::copysign(travel, remaining);
    return false;
}
