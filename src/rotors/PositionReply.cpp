#include "rotors/PositionReply.h"

#include "rotors/SerialControllers.h"

#include <QRegularExpression>

#include <cmath>

namespace {

// A reading within `limit` whole degrees (one turn, more for controllers with
// overlap), or nothing.
std::optional<double> reading(const QRegularExpression &format, const QByteArray &line, double limit)
{
    const QRegularExpressionMatch match = format.match(QString::fromLatin1(line));
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = match.captured(1).toDouble(&ok);
    if (!ok || value < 0 || value > limit)
        return std::nullopt;
    return value;
}

bool isDigit(char byte)
{
    return byte >= '0' && byte <= '9';
}

} // namespace

namespace PositionReply {

QByteArray query(InterfaceKind kind)
{
    const SerialController *controller = serialController(kind);
    return controller ? controller->positionQuery : QByteArray();
}

double antennaAzimuth(double reported, int azimuthOffset, int stopSide)
{
    const double azimuth = std::fmod(reported + azimuthOffset + (stopSide == 1 ? 180 : 0), 360.0);
    return azimuth < 0 ? azimuth + 360 : azimuth;
}

std::optional<double> Reader::feed(QByteArrayView bytes)
{
    std::optional<double> newest;
    for (const char byte : bytes) {
        if (m_kind == InterfaceKind::Dcu1) {
            // ";nnn" with no line end: a reply is complete with its third digit.
            if (byte == ';') {
                m_pending = QByteArray(1, byte);
            } else if (!m_pending.isEmpty() && isDigit(byte)) {
                m_pending += byte;
                if (m_pending.size() == 4) {
                    if (const auto value = parseLine(m_pending))
                        newest = value;
                    m_pending.clear();
                }
            } else {
                m_pending.clear();
            }
            continue;
        }
        if (byte == '\r' || byte == '\n') {
            if (!m_discarding) {
                if (const auto value = parseLine(m_pending))
                    newest = value;
            }
            m_pending.clear();
            m_discarding = false;
        } else if (m_discarding) {
            continue;
        } else if (m_pending.size() == MaximumPending) {
            // A line with no end in sight: whatever it is, it is not a reply.
            m_pending.clear();
            m_discarding = true;
        } else {
            m_pending += byte;
        }
    }
    return newest;
}

std::optional<double> Reader::parseLine(const QByteArray &line) const
{
    switch (m_kind) {
    case InterfaceKind::Gs232: {
        // "+0nnn" (GS-232A, "+0nnn+0eee" for C2) or "AZ=nnn" (GS-232B); the
        // controllers with overlap count up to 450.
        static const QRegularExpression format(QStringLiteral("^\\s*(?:\\+0|AZ=)(\\d{3})(?:[+ ].*)?$"));
        const auto value = reading(format, line, 450);
        return value ? std::optional<double>(std::fmod(*value, 360.0)) : std::nullopt;
    }
    case InterfaceKind::EasyComm: {
        static const QRegularExpression format(QStringLiteral("^\\s*AZ ?(\\d{1,3}(?:\\.\\d{1,3})?)(?: .*)?$"));
        return reading(format, line, 360);
    }
    case InterfaceKind::ProSisTel: {
        static const QRegularExpression format(QStringLiteral("^\\x02?A,\\?,(\\d{1,3}),[A-Z]$"));
        return reading(format, line, 360);
    }
    case InterfaceKind::Dcu1: {
        static const QRegularExpression format(QStringLiteral("^;(\\d{3})$"));
        return reading(format, line, 360);
    }
    default:
        return std::nullopt;
    }
}

} // namespace PositionReply
