#pragma once

#include "sources/SocketAddress.h"
#include "sources/SocketDescriptor.h"

#include <QObject>
#include <QSet>
#include <QSocketNotifier>
#include <QTimer>

class RotctldConnection;
class RotctldHost;

// Serves Hamlib's rotctld protocol on TCP, so that satellite trackers, loggers and
// scripts can steer the antenna. Everything runs on the GUI thread without ever
// waiting on a socket.
class RotctldServer : public QObject {
    Q_OBJECT

public:
    // Clients served at once. A newcomer beyond them takes the place of the client
    // silent longest, if it has been silent for the idle limit; otherwise it is
    // told so in one line and closed.
    static constexpr int ConnectionLimit = 32;
    static constexpr int IdleLimitMs = 60 * 1000;
    // A line must be finished within this; a client that sends it slower is dropped.
    static constexpr int LineDeadlineMs = 10 * 1000;

    explicit RotctldServer(RotctldHost &host, QObject *parent = nullptr);
    ~RotctldServer() override;

    // False when the address and port cannot be bound; errorString() says why.
    // Port 0 takes any free port.
    bool listen(const SocketAddress &address);
    // Stops listening and drops every client.
    void close();
    bool isListening() const { return m_socket.isValid(); }
    SocketAddress listeningAddress() const { return m_address; }
    quint16 serverPort() const { return m_address.port(); }
    // Why the last listen() failed; addressInUse() for the common case of another
    // program on the port.
    QString errorString() const;
    bool addressInUse() const;
    // The address is not (yet) one of this computer's.
    bool addressMissing() const;
    int connectionCount() const { return int(m_connections.size()); }
    // Shortens the idle limit and the line deadline (tests do not wait a minute).
    void setIdleLimit(int ms) { m_idleLimitMs = ms; }
    void setLineDeadline(int ms) { m_lineDeadlineMs = ms; }

private:
    void acceptConnections();
    // Drops the client silent longest if it is over the idle limit; false when none is.
    bool makeRoom();
    void dropSlowLines();
    void refuse(SocketDescriptor socket);

    RotctldHost &m_host;
    SocketDescriptor m_socket;
    QSocketNotifier m_notifier {QSocketNotifier::Read};
    SocketAddress m_address;
    int m_error = 0;
    int m_idleLimitMs = IdleLimitMs;
    int m_lineDeadlineMs = LineDeadlineMs;
    QTimer m_sweep;
    // Refusals are logged once for each time every place is taken.
    bool m_refusalLogged = false;
    QSet<RotctldConnection *> m_connections;
};
