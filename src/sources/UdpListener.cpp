#include "sources/UdpListener.h"

#include "config/ByteTrace.h"
#include "process/LogCategories.h"
#include "sources/SocketAddress.h"

#include <cerrno>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace {

// Room for a burst from the logger while the window is busy; the kernel caps it
// at net.core.rmem_max.
constexpr int ReceiveBufferBytes = 4 * 1024 * 1024;
constexpr size_t LargestDatagram = 65535;

} // namespace

UdpListener::UdpListener(QObject *parent)
    : QObject(parent)
    , m_buffer(new char[LargestDatagram])
{
    connect(&m_notifier, &QSocketNotifier::activated, this, &UdpListener::readPendingDatagrams);
}

UdpListener::~UdpListener()
{
    deactivate();
}

void UdpListener::setPort(quint16 port)
{
    m_port = port;
}

bool UdpListener::activate()
{
    if (isActive())
        return true;
    // The logger sends IPv4 only. The port is held exclusively (no SO_REUSEADDR): a
    // second program on it would silently take a share of the datagrams.
    SocketDescriptor socket = SocketDescriptor::open(AF_INET, SOCK_DGRAM);
    if (!socket.isValid() || !socket.bindTo(SocketAddress::anyIpv4(m_port))) {
        m_error = errno;
        return false;
    }
    socket.setOption(SOL_SOCKET, SO_RCVBUF, ReceiveBufferBytes);
    m_error = 0;
    m_socket = std::move(socket);
    m_notifier.setSocket(m_socket.fd());
    m_notifier.setEnabled(true);
    return true;
}

void UdpListener::deactivate()
{
    m_notifier.setEnabled(false);
    m_socket.reset();
}

bool UdpListener::addressInUse() const
{
    return m_error == EADDRINUSE;
}

QString UdpListener::errorString() const
{
    return m_error ? systemErrorText(m_error) : QString();
}

void UdpListener::readPendingDatagrams()
{
    const DatagramTurn turn = drainSocket();
    if (turn.datagramCount > 0)
        Q_EMIT datagramsReceived(turn);
}

DatagramTurn UdpListener::drainSocket()
{
    DatagramTurn turn;
    qsizetype lastSize = 0;
    for (;;) {
        // One read per datagram into a buffer that fits the largest.
        sockaddr_in from {};
        socklen_t fromLength = sizeof from;
        const ssize_t size = ::recvfrom(m_socket.fd(), m_buffer.get(), LargestDatagram, 0,
                                        reinterpret_cast<sockaddr *>(&from), &fromLength);
        if (size < 0) {
            if (errno == EINTR)
                continue;
            break; // EAGAIN: drained
        }
        ++turn.datagramCount;
        lastSize = size;
        if (udpLog().isDebugEnabled()) {
            char sender[INET_ADDRSTRLEN] = {};
            ::inet_ntop(AF_INET, &from.sin_addr, sender, sizeof sender);
            qCDebug(udpLog, "datagram from %s:%u  %s", sender, unsigned(ntohs(from.sin_port)),
                    qUtf8Printable(byteTrace(QByteArray::fromRawData(m_buffer.get(), size))));
        }
        turn.sender = ntohl(from.sin_addr.s_addr);
        turn.senderPort = ntohs(from.sin_port);
        if (auto request = parseRotorDatagram(QByteArray::fromRawData(m_buffer.get(), size)))
            turn.request = std::move(request);
    }
    // A failed read leaves the buffer alone: it still holds the newest datagram.
    if (turn.datagramCount > 0)
        turn.lastDatagram = QByteArray(m_buffer.get(), lastSize);
    return turn;
}
