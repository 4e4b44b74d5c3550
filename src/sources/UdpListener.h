#pragma once

#include <QByteArray>
#include <QAbstractSocket>
#include <QHostAddress>
#include <QObject>

class QUdpSocket;

// Listens for rotor datagrams on every local IPv4 address. Datagrams are read on
// the GUI thread and handed on one signal each, in the order they arrived.
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
    void datagramReceived(const QByteArray &data, const QHostAddress &sender, quint16 senderPort);

private:
    void readPendingDatagrams();

    QUdpSocket *m_socket;
    quint16 m_port = 0;
};
