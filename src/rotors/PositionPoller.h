#pragma once

#include "config/Configuration.h"
#include "rotors/CommandSequencer.h"
#include "rotors/PositionReply.h"
#include "rotors/SerialChannel.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

// The antenna's real position, for the user who asks for it: while the selected
// controller's channel is open, it is asked about once a second where the antenna
// is, and at once after each GO; the asking starts when such a channel opens and
// stops once none is open, the last answer standing for where the antenna rests.
// Commands keep priority: no query goes out while a command sequence is under
// way, and a query never waits for its answer. An answer missing or unreadable
// by the next query leaves no position.
class PositionPoller : public QObject {
    Q_OBJECT

public:
    static constexpr int IntervalMs = 1000;

    // `channel` gives the serial channel of a kind (null for the others).
    PositionPoller(const Configuration &config, CommandSequencer &sequencer,
                   std::function<SerialChannel *(InterfaceKind)> channel, QObject *parent = nullptr);

    // What the channel of `kind` reads with as it opens: nothing unless the
    // user asked for its position and its controller can give it.
    SerialChannel::Reader readerFor(InterfaceKind kind);

    // The antenna's azimuth as last reported, 0 <= a < 360; none when unknown.
    std::optional<double> reportedAzimuth() const { return m_reported; }
    // The selected controller is asked where it points (the user wants it and it can tell).
    bool readsBack() const { return wanted(m_config.interfaceKind); }
    // Asks as soon as no command is being written, rather than at the next tick.
    void askSoon();
    // A position learnt elsewhere (a library that reads the controller itself).
    void report(std::optional<double> azimuth) { setReported(azimuth); }

Q_SIGNALS:
    void reportedAzimuthChanged();

private:
    bool wanted(InterfaceKind kind) const;
    void poll();
    void received(InterfaceKind kind, const QByteArray &bytes);
    void setReported(std::optional<double> azimuth);

    const Configuration &m_config;
    CommandSequencer &m_sequencer;
    std::function<SerialChannel *(InterfaceKind)> m_channel;
    QTimer m_timer;
    InterfaceKind m_readerKind = InterfaceKind::None;
    PositionReply::Reader m_reader {InterfaceKind::None};
    bool m_awaiting = false;
    std::optional<double> m_reported;
};
