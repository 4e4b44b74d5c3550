#include "rotors/PositionPoller.h"

#include "process/LogCategories.h"

PositionPoller::PositionPoller(const Configuration &config, CommandSequencer &sequencer,
                               std::function<SerialChannel *(InterfaceKind)> channel, QObject *parent)
    : QObject(parent), m_config(config), m_sequencer(sequencer), m_channel(std::move(channel))
{
    m_timer.setInterval(IntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &PositionPoller::poll);
}

bool PositionPoller::wanted(InterfaceKind kind) const
{
    return PositionReply::canReport(kind) && m_config.extensions.readsPosition(kind);
}

SerialChannel::Reader PositionPoller::readerFor(InterfaceKind kind)
{
    if (!wanted(kind))
        return nullptr;
    // Asking begins with a channel that can hear the answers; an idle program
    // without read-back is not woken every second.
    if (!m_timer.isActive())
        m_timer.start();
    return [this, kind](const QByteArray &bytes) { received(kind, bytes); };
}

void PositionPoller::poll()
{
    const InterfaceKind kind = m_config.interfaceKind;
    SerialChannel *channel = m_channel(kind);
    if (!wanted(kind) || !channel || !channel->isOpen()) {
        m_awaiting = false;
        m_reader.clear();
        // A port let go after a STOP leaves the antenna where it was last reported;
        // another controller, or none asked, knows nothing of it.
        if (!wanted(kind) || kind != m_readerKind)
            setReported(std::nullopt);
        m_timer.stop();
        return;
    }
    if (m_readerKind != kind) {
        m_readerKind = kind;
        m_reader = PositionReply::Reader(kind);
        setReported(std::nullopt);
    }
    if (m_awaiting)
        setReported(std::nullopt);
    if (m_sequencer.busy())
        return;
    m_awaiting = channel->post(PositionReply::query(kind));
}

void PositionPoller::askSoon()
{
    if (!readsBack())
        return;
    // After the sequence that asks it has ended; the ticks count from there.
    QTimer::singleShot(0, this, [this] {
        // A query already out brings an answer as fresh.
        if (m_awaiting)
            return;
        if (m_timer.isActive())
            m_timer.start();
        poll();
    });
}

void PositionPoller::received(InterfaceKind kind, const QByteArray &bytes)
{
    if (kind != m_readerKind || kind != m_config.interfaceKind)
        return;
    const std::optional<double> count = m_reader.feed(bytes);
    if (!count)
        return;
    const InterfaceSettings &settings = m_config.at(kind);
    m_awaiting = false;
    setReported(PositionReply::antennaAzimuth(*count, settings.azimuthOffset, settings.stopSide));
}

void PositionPoller::setReported(std::optional<double> azimuth)
{
    if (azimuth == m_reported)
        return;
    m_reported = azimuth;
    if (azimuth)
        qCDebug(positionLog, "antenna at %g", *azimuth);
    else
        qCDebug(positionLog, "antenna position unknown");
    Q_EMIT reportedAzimuthChanged();
}
