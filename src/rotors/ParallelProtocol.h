#pragma once

#include <QList>
#include <QtGlobal>

// One register write of a parallel box's handshake: the register as an offset
// from the port's base (0 data, 2 control), the value, and the pause the box
// needs before the next write.
struct ParallelWrite {
    quint16 registerOffset = 0;
    quint16 value = 0;
    int pauseAfterMs = 0;
    friend bool operator==(const ParallelWrite &, const ParallelWrite &) = default;
};

// PourSat and FODTrack: the azimuth as one output step and the control-line
// handshakes that hand it to the box. Pure: no port, no state.
namespace ParallelProtocol {

inline constexpr quint16 DataRegister = 0;
inline constexpr quint16 ControlRegister = 2;

// The output step for an azimuth, calibration (steps per degree) and zero (the
// azimuth of step 0). Below the zero point the scale wraps to its top when the
// zero is positive; beyond step 255 it wraps to the bottom when the zero is
// negative; otherwise it is clamped. Always 0..255.
qint16 outputValue(double azimuth, double zero, double calibration);

// The handshakes; `value` travels on the data lines, then the fixed second byte 1.
QList<ParallelWrite> pourSatSequence(qint16 value);
QList<ParallelWrite> fodTrackSequence(qint16 value);

} // namespace ParallelProtocol
