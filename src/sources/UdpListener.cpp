#include "sources/UdpListener.h"

#include <QNetworkProxy>
#include <QUdpSocket>
#include <QVariant>

namespace {

// Room for a burst from the logger while the window is busy; the kernel caps it
// at net.core.rmem_max.
constexpr int ReceiveBufferBytes = 4 * 1024 * 1024;
constexpr qsizetype LargestDatagram = 65535;

} // namespace

UdpListener::UdpListener(QObject *parent)
    : QObject(parent)
    , m_socket(new QUdpSocket(this))
    , m_buffer(LargestDatagram, Qt::Uninitialized)
{
    // A local listener has no use for a proxy, and asking the system for one
    // loads libproxy and starts a thread of its own at the first bind.
    m_socket->setProxy(QNetworkProxy::NoProxy);
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
    // The receiver may pause with events handled, and the socket does not signal
    // again meanwhile: what arrived then is read as soon as it returns.
    while (isActive() && m_socket->hasPendingDatagrams()) {
        DatagramTurn turn;
        while (m_socket->hasPendingDatagrams()) {
            // One read per datagram into a buffer that fits the largest.
            const qint64 size = m_socket->readDatagram(m_buffer.data(), m_buffer.size(), &turn.sender,
                                                       &turn.senderPort);
            if (size < 0)
                break;
            ++turn.datagramCount;
            turn.lastDatagram = QByteArray(m_buffer.constData(), size);
            if (auto request = parseRotorDatagram(turn.lastDatagram))
                turn.request = std::move(request);
        }
        if (turn.datagramCount == 0)
            break;
        Q_EMIT datagramsReceived(turn);
    }
}
