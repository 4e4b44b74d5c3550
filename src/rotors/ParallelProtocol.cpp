#include "rotors/ParallelProtocol.h"

#include "config/NumberText.h"

#include <algorithm>
#include <limits>

namespace {

constexpr qint16 TopStep = 255;

// A product rounded to a whole step. Held in 16 bits like the box's scale
// arithmetic always was, but saturated: a wrapped product would turn a huge
// calibration into an arbitrary position instead of the end of the scale.
qint16 steps(double product)
{
    const long long rounded = NumberText::roundHalfEven(product);
    return static_cast<qint16>(std::clamp<long long>(rounded, std::numeric_limits<qint16>::min(),
                                                     std::numeric_limits<qint16>::max()));
}

} // namespace

namespace ParallelProtocol {

qint16 outputValue(double azimuth, double zero, double calibration)
{
    qint16 v = steps((azimuth - zero) * calibration);
    if (v < 0)
        v = zero > 0 ? steps((azimuth + 360 - zero) * calibration) : qint16(0);
    if (v > TopStep)
        v = zero >= 0 ? TopStep : steps((azimuth - 360 - zero) * calibration);
    // A calibration wider than the scale can still wrap past either end; the
    // data lines carry one byte, so the value must stay on the scale.
    return std::clamp<qint16>(v, 0, TopStep);
}

QList<ParallelWrite> pourSatSequence(qint16 value)
{
    const quint16 data = quint16(value);
    return {
        {ControlRegister, 0, 0},  {ControlRegister, 8, 0}, {DataRegister, data, 0}, {ControlRegister, 10, 0},
        {ControlRegister, 1, 0},  {DataRegister, 1, 0},    {ControlRegister, 3, 0}, {ControlRegister, 0, 0},
    };
}

QList<ParallelWrite> fodTrackSequence(qint16 value)
{
    const quint16 data = quint16(value);
    return {
        {ControlRegister, 2, 10}, {DataRegister, data, 10}, {ControlRegister, 2, 5}, {ControlRegister, 3, 10},
        {ControlRegister, 2, 10}, {ControlRegister, 0, 10}, {DataRegister, 1, 10},   {ControlRegister, 0, 5},
        {ControlRegister, 1, 10}, {ControlRegister, 0, 0},
    };
}

} // namespace ParallelProtocol
