#pragma once

#include "config/InterfaceKind.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// Asking a controller where its antenna is, and making sense of what comes back.
// Pure: no port. Every byte from a controller is untrusted: anything that is not
// a well-formed position reply is passed over.
namespace PositionReply {

// The controller's position query; empty for the controllers that have none.
QByteArray query(InterfaceKind kind);
inline bool canReport(InterfaceKind kind) { return !query(kind).isEmpty(); }

// The controller counts from its end stop and after the offset Orvantis took off:
// the antenna's own azimuth, 0 <= a < 360.
double antennaAzimuth(double reported, int azimuthOffset, int stopSide);

// Collects a controller's bytes across reads and finds the position replies.
class Reader {
public:
    explicit Reader(InterfaceKind kind) : m_kind(kind) {}

    // The newest position among the replies completed by `bytes`, in the
    // controller's own count.
    std::optional<double> feed(QByteArrayView bytes);
    void clear()
    {
        m_pending.clear();
        m_discarding = false;
    }

    // An unfinished reply longer than this is noise, and is dropped.
    static constexpr qsizetype MaximumPending = 64;

private:
    std::optional<double> parseLine(const QByteArray &line) const;

    InterfaceKind m_kind;
    QByteArray m_pending;
    bool m_discarding = false;
};

} // namespace PositionReply
