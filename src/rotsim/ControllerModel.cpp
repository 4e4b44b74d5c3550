#include "rotsim/ControllerModel.h"

#include <cmath>

namespace {

// A command as text that survives any byte: printable ASCII kept, the rest escaped.
QString printable(const QByteArray &bytes)
{
    QString text;
    for (const char byte : bytes.left(40)) {
        const auto value = static_cast<unsigned char>(byte);
        if (byte == '"' || byte == '\\')
            text += QLatin1Char('\\') + QLatin1Char(byte);
        else if (value >= 0x20 && value < 0x7f)
            text += QLatin1Char(byte);
        else
            text += QStringLiteral("\\x%1").arg(value, 2, 16, QLatin1Char('0'));
    }
    if (bytes.size() > 40)
        text += QStringLiteral("...");
    return text;
}

} // namespace

ControllerModel::ControllerModel(QByteArray terminators, double azimuth, double degreesPerSecond)
    : m_rotator(azimuth, degreesPerSecond), m_terminators(std::move(terminators))
{
}

QByteArray ControllerModel::receive(QByteArrayView bytes)
{
    QByteArray reply;
    for (const char byte : bytes) {
        if (m_terminators.contains(byte)) {
            if (!m_overflowing)
                reply += handle(m_pending);
            m_pending.clear();
            m_overflowing = false;
        } else if (m_overflowing) {
            continue;
        } else if (m_pending.size() == MaximumCommandLength) {
            // The controller's line buffer is full: it drops the whole command.
            m_overflowing = true;
            m_pending.clear();
            note(QStringLiteral("overflow"));
        } else {
            m_pending += byte;
        }
    }
    return reply;
}

QByteArray ControllerModel::advance(double seconds)
{
    const int before = wholeDegrees();
    const bool arrived = m_rotator.advance(seconds);
    QByteArray unasked;
    if (wholeDegrees() != before) {
        note(QStringLiteral("position %1").arg(wholeDegrees()));
        unasked = announcePosition();
    }
    if (arrived)
        note(QStringLiteral("arrived %1").arg(QString::number(m_rotator.azimuth())));
    return unasked;
}

QStringList ControllerModel::takeEvents()
{
    return std::exchange(m_events, {});
}

void ControllerModel::turnTo(double azimuth, const QString &detail)
{
    m_rotator.turnTo(azimuth);
    note(QStringLiteral("go %1%2").arg(QString::number(azimuth), detail));
}

void ControllerModel::stop()
{
    m_rotator.stop();
    note(QStringLiteral("stop"));
}

void ControllerModel::ignore(const QByteArray &command)
{
    note(QStringLiteral("ignored \"%1\"").arg(printable(command)));
}

int ControllerModel::wholeDegrees() const
{
    return int(std::lround(m_rotator.azimuth())) % 360;
}
