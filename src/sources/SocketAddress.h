#pragma once

#include <QString>

#include <optional>

#include <sys/socket.h>

// An IPv4 or IPv6 address and port as the socket calls take them.
class SocketAddress {
public:
    SocketAddress() = default;
    SocketAddress(const sockaddr *address, socklen_t length);

    // A numeric IPv4 or IPv6 address ("127.0.0.1", "::1", "fe80::1%eth0"). Host
    // names are not looked up: that could stall the window for as long as a name
    // server takes to answer.
    static std::optional<SocketAddress> fromText(const QString &text, quint16 port);
    // Every local IPv4 address.
    static SocketAddress anyIpv4(quint16 port);

    int family() const { return m_storage.ss_family; }
    const sockaddr *address() const { return reinterpret_cast<const sockaddr *>(&m_storage); }
    socklen_t length() const { return m_length; }
    quint16 port() const;
    // The numeric form of the address, without the port.
    QString hostText() const;

    friend bool operator==(const SocketAddress &a, const SocketAddress &b);

private:
    sockaddr_storage m_storage {};
    socklen_t m_length = 0;
};
