#pragma once

#include "rotsim/SimulatedRotator.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

// What a serial rotator controller makes of the bytes it receives: commands are
// framed, understood or refused as the device would, and turn the simulated
// antenna. Pure: bytes in, reply bytes and a record of what changed out.
//
// The record is one line of text per change, for people and tests to read:
//   go <az> [el <el>]   a new target          preset <az>   a target not yet started
//   stop                stop understood       arrived <az>  target reached
//   position <az>       whole-degree move     cpm off, host mode on|off
//   ignored "<text>"    not understood        overflow      a command too long, dropped
class ControllerModel {
public:
    // The protocol names the simulator accepts, e.g. "gs232".
    static QStringList protocols();
    // Null for an unknown protocol name.
    static std::unique_ptr<ControllerModel> create(const QString &protocol, double azimuth, double degreesPerSecond);

    virtual ~ControllerModel() = default;
    ControllerModel(const ControllerModel &) = delete;
    ControllerModel &operator=(const ControllerModel &) = delete;

    // Bytes from the host, in pieces of any size. Returns what the controller answers.
    QByteArray receive(QByteArrayView bytes);
    // Lets `seconds` of motion pass. Returns what the controller sends unasked.
    QByteArray advance(double seconds);
    // The changes recorded since the last call.
    QStringList takeEvents();

    const SimulatedRotator &rotator() const { return m_rotator; }

    // Longest command kept while waiting for its end; the rest is dropped.
    static constexpr qsizetype MaximumCommandLength = 128;

protected:
    // `terminators` end a command; they are not part of it.
    ControllerModel(QByteArray terminators, double azimuth, double degreesPerSecond);

    // One command without its terminator. Returns the reply.
    virtual QByteArray handle(const QByteArray &command) = 0;
    // What the controller sends by itself when the antenna passes a whole degree.
    virtual QByteArray announcePosition() { return {}; }

    void turnTo(double azimuth, const QString &detail = {});
    void stop();
    void note(const QString &event) { m_events.append(event); }
    void ignore(const QByteArray &command);
    // The antenna's azimuth in whole degrees, as the three-digit controllers give it.
    int wholeDegrees() const;

    SimulatedRotator m_rotator;

private:
    QByteArray m_terminators;
    QByteArray m_pending;
    bool m_overflowing = false;
    QStringList m_events;
};
