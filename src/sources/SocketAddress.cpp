#include "sources/SocketAddress.h"

#include <cstring>

#include <netdb.h>
#include <netinet/in.h>

SocketAddress::SocketAddress(const sockaddr *address, socklen_t length)
    : m_length(qMin<socklen_t>(length, sizeof m_storage))
{
    std::memcpy(&m_storage, address, m_length);
}

std::optional<SocketAddress> SocketAddress::fromText(const QString &text, quint16 port)
{
    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV | AI_PASSIVE;
    addrinfo *found = nullptr;
    const QByteArray host = text.toUtf8();
    const QByteArray service = QByteArray::number(port);
    if (host.isEmpty() || ::getaddrinfo(host.constData(), service.constData(), &hints, &found) != 0)
        return std::nullopt;
    const SocketAddress address(found->ai_addr, found->ai_addrlen);
    ::freeaddrinfo(found);
    return address;
}

SocketAddress SocketAddress::anyIpv4(quint16 port)
{
    sockaddr_in any {};
    any.sin_family = AF_INET;
    any.sin_port = htons(port);
    any.sin_addr.s_addr = htonl(INADDR_ANY);
    return SocketAddress(reinterpret_cast<const sockaddr *>(&any), sizeof any);
}

quint16 SocketAddress::port() const
{
    if (family() == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in *>(&m_storage)->sin_port);
    if (family() == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6 *>(&m_storage)->sin6_port);
    return 0;
}

QString SocketAddress::hostText() const
{
    char host[NI_MAXHOST];
    if (m_length == 0 || ::getnameinfo(address(), m_length, host, sizeof host, nullptr, 0, NI_NUMERICHOST) != 0)
        return {};
    return QString::fromLatin1(host);
}

bool operator==(const SocketAddress &a, const SocketAddress &b)
{
    if (a.family() != b.family() || a.port() != b.port())
        return false;
    if (a.family() == AF_INET) {
        const auto &x = reinterpret_cast<const sockaddr_in &>(a.m_storage);
        const auto &y = reinterpret_cast<const sockaddr_in &>(b.m_storage);
        return x.sin_addr.s_addr == y.sin_addr.s_addr;
    }
    if (a.family() == AF_INET6) {
        const auto &x = reinterpret_cast<const sockaddr_in6 &>(a.m_storage);
        const auto &y = reinterpret_cast<const sockaddr_in6 &>(b.m_storage);
        return std::memcmp(&x.sin6_addr, &y.sin6_addr, sizeof x.sin6_addr) == 0 && x.sin6_scope_id == y.sin6_scope_id;
    }
    return a.m_length == b.m_length;
}
