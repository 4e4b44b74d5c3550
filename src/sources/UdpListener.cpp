#include "sources/UdpListener.h"

#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QVariant>

namespace {

// Room for a burst from the logger while the window is busy; the kernel caps it
// at net.core.rmem_max.
constexpr int ReceiveBufferBytes = 4 * 1024 * 1024;

} // namespace

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
    if (!m_socket->bind(QHostAddress::AnyIPv4, m_port, QUdpSocket::DontShareAddress))
        return false;
    m_socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(ReceiveBufferBytes));
    return true;
}

void UdpListener::deactivate()
{
    m_socket->close();
}

bool UdpListener::isActive() const
{
    return m_socket->state() == QAbstractSocket::BoundState;
}

void UdpListener::readPendingDatagrams()
{
    DatagramTurn turn;
    while (m_socket->hasPendingDatagrams()) {
        const qint64 size = m_socket->pendingDatagramSize();
        if (size < 0)
            break;
        QNetworkDatagram datagram = m_socket->receiveDatagram(size);
        if (!datagram.isValid())
            break;
        ++turn.datagramCount;
        turn.lastDatagram = datagram.data();
        turn.sender = datagram.senderAddress();
        turn.senderPort = quint16(datagram.senderPort());
        if (auto request = parseRotorDatagram(turn.lastDatagram))
            turn.request = std::move(request);
    }
    if (turn.datagramCount > 0)
        Q_EMIT datagramsReceived(turn);
}
