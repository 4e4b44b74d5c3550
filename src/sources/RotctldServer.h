#pragma once

#include <QHostAddress>
#include <QObject>
#include <QSet>

class QTcpServer;
class RotctldConnection;
class RotctldHost;

// Serves Hamlib's rotctld protocol on TCP, so that satellite trackers, loggers and
// scripts can steer the antenna. Everything runs on the GUI thread without ever
// waiting on a socket.
class RotctldServer : public QObject {
    Q_OBJECT

public:
    // Clients served at once; further ones are closed as they arrive.
    static constexpr int ConnectionLimit = 32;

    explicit RotctldServer(RotctldHost &host, QObject *parent = nullptr);
    ~RotctldServer() override;

    // False when the address and port cannot be bound; errorString() says why.
    bool listen(const QHostAddress &address, quint16 port);
    // Stops listening and drops every client.
    void close();
    bool isListening() const;
    QHostAddress listeningAddress() const;
    quint16 serverPort() const;
    // Why the last listen() failed; addressInUse() for the common case of another
    // program on the port.
    QString errorString() const;
    bool addressInUse() const;
    int connectionCount() const { return int(m_connections.size()); }

private:
    void acceptConnections();

    RotctldHost &m_host;
    QTcpServer *m_server;
    QSet<RotctldConnection *> m_connections;
};
