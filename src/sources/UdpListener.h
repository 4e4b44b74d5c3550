#pragma once

#include "sources/SocketDescriptor.h"
#include "sources/UdpRotorMessage.h"

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>

#include <memory>
#include <optional>

// What one read of the socket found: every datagram waiting at that moment.
struct DatagramTurn {
    // The newest datagram, whatever it holds, and who sent it (an IPv4 address in
    // host byte order).
    QByteArray lastDatagram;
    quint32 sender = 0;
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
    ~UdpListener() override;

    // Takes effect at the next activate(); a bound socket is never moved.
    void setPort(quint16 port);
    quint16 port() const { return m_port; }

    // False when the port cannot be bound (another program holds it);
    // addressInUse() and errorString() then say why.
    bool activate();
    void deactivate();
    bool isActive() const { return m_socket.isValid(); }
    bool addressInUse() const;
    QString errorString() const;

Q_SIGNALS:
    void datagramsReceived(const DatagramTurn &turn);

private:
    void readPendingDatagrams();
    DatagramTurn drainSocket();

    SocketDescriptor m_socket;
    QSocketNotifier m_notifier {QSocketNotifier::Read};
    std::unique_ptr<char[]> m_buffer;
    quint16 m_port = 0;
    int m_error = 0;
};
