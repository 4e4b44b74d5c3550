#pragma once

#include "sources/UdpRotorMessage.h"

#include <QByteArray>
#include <QAbstractSocket>
#include <QHostAddress>
#include <QObject>

#include <optional>

class QUdpSocket;

// What one read of the socket found: every datagram waiting at that moment.
struct DatagramTurn {
    // The newest datagram, whatever it holds, and who sent it.
    QByteArray lastDatagram;
    QHostAddress sender;
    quint16 senderPort = 0;
    // The newest azimuth asked for among them; older ones are already stale.
    std::optional<RotorRequest> request;
    int datagramCount = 0;
};

// Listens for rotor datagrams on every local IPv4 address. Each read drains the
// socket and hands on one summary at once, so a flood costs one azimuth change
// per read instead of one per datagram.
class UdpListener : public QObject {
    Q_OBJECT

public:
    explicit UdpListener(QObject *parent = nullptr);

    // Takes effect at the next activate(); a bound socket is never moved.
    void setPort(quint16 port);
    quint16 port() const { return m_port; }

    // False when the port cannot be bound (another program holds it); error()
    // and errorString() then say why.
    bool activate();
    void deactivate();
    bool isActive() const;
    QAbstractSocket::SocketError error() const;
    QString errorString() const;

Q_SIGNALS:
    void datagramsReceived(const DatagramTurn &turn);

private:
    void readPendingDatagrams();

    QUdpSocket *m_socket;
    QByteArray m_buffer;
    quint16 m_port = 0;
};
