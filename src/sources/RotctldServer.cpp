#include "sources/RotctldServer.h"

#include "process/LogCategories.h"
#include "sources/RotctldConnection.h"
#include "sources/RotctldProtocol.h"

#include <QTimer>

#include <cerrno>

#include <netinet/in.h>
#include <sys/socket.h>

namespace {

// Connections the kernel completes before the program accepts them.
constexpr int Backlog = 50;
// How long accepting rests when the program is out of descriptors.
constexpr int AcceptRetryMs = 1000;
// How often unfinished lines are checked against their deadline.
constexpr int SweepMs = 1000;

} // namespace

RotctldServer::RotctldServer(RotctldHost &host, QObject *parent)
    : QObject(parent)
    , m_host(host)
{
    connect(&m_notifier, &QSocketNotifier::activated, this, &RotctldServer::acceptConnections);
    m_sweep.setInterval(SweepMs);
    connect(&m_sweep, &QTimer::timeout, this, &RotctldServer::dropSlowLines);
}

RotctldServer::~RotctldServer()
{
    close();
}

bool RotctldServer::listen(const SocketAddress &address)
{
    close();
    SocketDescriptor socket = SocketDescriptor::open(address.family(), SOCK_STREAM);
    // Reusing the address lets a restarted program serve at once while connections
    // of the last run linger in TIME_WAIT; a port another program listens on is
    // still refused. An IPv6 address serves IPv6 only, as written.
    const bool bound = socket.isValid() && socket.setOption(SOL_SOCKET, SO_REUSEADDR, 1)
        && (address.family() != AF_INET6 || socket.setOption(IPPROTO_IPV6, IPV6_V6ONLY, 1))
        && socket.bindTo(address) && ::listen(socket.fd(), Backlog) == 0;
    if (!bound) {
        m_error = errno;
        return false;
    }
    m_error = 0;
    m_address = socket.localAddress();
    m_socket = std::move(socket);
    m_notifier.setSocket(m_socket.fd());
    m_notifier.setEnabled(true);
    return true;
}

void RotctldServer::close()
{
    m_notifier.setEnabled(false);
    m_socket.reset();
    m_address = {};
    const QSet<RotctldConnection *> connections = m_connections;
    for (RotctldConnection *connection : connections)
        connection->drop();
    m_connections.clear();
}

QString RotctldServer::errorString() const
{
    return m_error ? systemErrorText(m_error) : QString();
}

bool RotctldServer::addressInUse() const
{
    return m_error == EADDRINUSE;
}

bool RotctldServer::addressMissing() const
{
    return m_error == EADDRNOTAVAIL;
}

void RotctldServer::acceptConnections()
{
    while (isListening()) {
        SocketDescriptor socket(::accept4(m_socket.fd(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!socket.isValid()) {
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                return;
            if (errno == ECONNABORTED || errno == EINTR || errno == EPROTO)
                continue; // that client gave up before being accepted
            // Out of descriptors or memory: the connection stays queued and the
            // notifier would fire without pause, so accepting rests a while instead.
            m_notifier.setEnabled(false);
            QTimer::singleShot(AcceptRetryMs, this, [this] { m_notifier.setEnabled(isListening()); });
            return;
        }
        if (m_connections.size() >= ConnectionLimit) {
            // Clients that have just left may not have been read to their end yet.
            const QSet<RotctldConnection *> connections = m_connections;
            for (RotctldConnection *connection : connections)
                connection->catchUp();
        }
        if (m_connections.size() >= ConnectionLimit && !makeRoom()) {
            refuse(std::move(socket));
            continue;
        }
        auto *connection = new RotctldConnection(std::move(socket), m_host, this);
        m_connections.insert(connection);
        connect(connection, &RotctldConnection::finished, this, [this](RotctldConnection *finished) {
            m_connections.remove(finished);
            m_refusalLogged = false;
            if (m_connections.isEmpty())
                m_sweep.stop();
        });
        if (!m_sweep.isActive())
            m_sweep.start();
    }
}

bool RotctldServer::makeRoom()
{
    RotctldConnection *quietest = nullptr;
    for (RotctldConnection *connection : std::as_const(m_connections)) {
        if (!quietest || connection->silentMs() > quietest->silentMs())
            quietest = connection;
    }
    if (!quietest || quietest->silentMs() < m_idleLimitMs)
        return false;
    qCInfo(rotctldLog, "a client silent for %lld s makes room for a new one", quietest->silentMs() / 1000);
    quietest->drop();
    return true;
}

void RotctldServer::dropSlowLines()
{
    const QSet<RotctldConnection *> connections = m_connections;
    for (RotctldConnection *connection : connections) {
        if (connection->unfinishedLineMs() > m_lineDeadlineMs) {
            qCInfo(rotctldLog, "a client took over %d s for one line and is dropped", m_lineDeadlineMs / 1000);
            connection->drop();
        }
    }
}

void RotctldServer::refuse(SocketDescriptor socket)
{
    const QByteArray reply = RotctldProtocol::noRoomReply();
    // A fresh connection's send buffer is empty: this never waits.
    ::send(socket.fd(), reply.constData(), size_t(reply.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (!std::exchange(m_refusalLogged, true))
        qCWarning(rotctldLog, "all %d places of the rotctld server are taken by clients that talked within the "
                              "last %d s: new clients are refused until one leaves",
                  ConnectionLimit, m_idleLimitMs / 1000);
}
