#include "sources/UdpListener.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

UdpListener::UdpListener(QObject *parent)
    : QObject(parent)
    , m_socket(new QUdpSocket(this))
{
    connect(m_socket, &QUdpSocket::readyRead, this, &UdpListener::readPendingDatagrams);
}

void UdpListener::setPort(quint16 port)
{
    m_port = port;
}

bool UdpListener::activate()
{
    if (isActive())
        return true;
    // The logger sends IPv4 only. The port is held exclusively: a second program on
    // it would silently take a share of the datagrams.
    return m_socket->bind(QHostAddress::AnyIPv4, m_port, QUdpSocket::DontShareAddress);
}

void UdpListener::deactivate()
{
    m_socket->close();
}

bool UdpListener::isActive() const
{
    return m_socket->state() == QAbstractSocket::BoundState;
}

QAbstractSocket::SocketError UdpListener::error() const
{
    return m_socket->error();
}

QString UdpListener::errorString() const
{
    return m_socket->errorString();
}

void UdpListener::readPendingDatagrams()
{
    // A receiver may run a nested event loop and deactivate us meanwhile, hence the
    // state check on every round.
    while (isActive() && m_socket->hasPendingDatagrams()) {
        const qint64 size = m_socket->pendingDatagramSize();
        if (size < 0)
            break;
        const QNetworkDatagram datagram = m_socket->receiveDatagram(size);
        if (!datagram.isValid())
            break;
        Q_EMIT datagramReceived(datagram.data(), datagram.senderAddress(), quint16(datagram.senderPort()));
    }
}
