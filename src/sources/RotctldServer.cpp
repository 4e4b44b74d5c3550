#include "sources/RotctldServer.h"

#include "sources/RotctldConnection.h"

#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>

RotctldServer::RotctldServer(RotctldHost &host, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_server(new QTcpServer(this))
{
    // Served on a local address: no proxy to look up (that would load libproxy).
    m_server->setProxy(QNetworkProxy::NoProxy);
    connect(m_server, &QTcpServer::newConnection, this, &RotctldServer::acceptConnections);
}

RotctldServer::~RotctldServer()
{
    close();
}

bool RotctldServer::listen(const QHostAddress &address, quint16 port)
{
    close();
    return m_server->listen(address, port);
}

void RotctldServer::close()
{
    m_server->close();
    const QSet<RotctldConnection *> connections = m_connections;
    for (RotctldConnection *connection : connections)
        connection->drop();
    m_connections.clear();
}

bool RotctldServer::isListening() const
{
    return m_server->isListening();
}

QHostAddress RotctldServer::listeningAddress() const
{
    return m_server->serverAddress();
}

quint16 RotctldServer::serverPort() const
{
    return m_server->serverPort();
}

QString RotctldServer::errorString() const
{
    return m_server->errorString();
}

bool RotctldServer::addressInUse() const
{
    return m_server->serverError() == QAbstractSocket::AddressInUseError;
}

void RotctldServer::acceptConnections()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        if (m_connections.size() >= ConnectionLimit) {
            socket->abort();
            delete socket;
            continue;
        }
        auto *connection = new RotctldConnection(socket, m_host, this);
        m_connections.insert(connection);
        connect(connection, &RotctldConnection::finished, this,
                [this](RotctldConnection *finished) { m_connections.remove(finished); });
    }
}
