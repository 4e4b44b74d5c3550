#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What one rotor datagram asks for: the text written into the display and the
// azimuth box, and the whole number it stands for (0..360; the box wraps 360).
struct RotorRequest {
    QString text;
    int azimuth = 0;
};

// The diagnostic echo of a datagram. Any byte sequence gives a short, printable
// text: the logger is on the network, so the datagram may hold anything. The
// sender is an IPv4 address in host byte order.
QString receivedEcho(const QByteArray &datagram, quint32 sender, quint16 port);

// The azimuth between the first "<goazi>" and the first "</goazi>", its fraction
// dropped; nothing when the tags are missing or misplaced, the value is not a
// whole number or it lies outside 0..360.
std::optional<RotorRequest> parseRotorDatagram(const QByteArray &datagram);
