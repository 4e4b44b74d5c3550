#include "sources/SocketDescriptor.h"

#include "sources/SocketAddress.h"

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <unistd.h>

SocketDescriptor &SocketDescriptor::operator=(SocketDescriptor &&other) noexcept
{
    if (this != &other) {
        reset();
        m_fd = other.release();
    }
    return *this;
}

SocketDescriptor SocketDescriptor::open(int family, int type)
{
    return SocketDescriptor(::socket(family, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
}

void SocketDescriptor::reset()
{
    if (m_fd < 0)
        return;
    // Keeps errno for a caller that reports an earlier failure.
    const int savedErrno = errno;
    ::close(m_fd);
    m_fd = -1;
    errno = savedErrno;
}

int SocketDescriptor::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

bool SocketDescriptor::setOption(int level, int option, int value)
{
    return ::setsockopt(m_fd, level, option, &value, sizeof value) == 0;
}

bool SocketDescriptor::bindTo(const SocketAddress &address)
{
    return ::bind(m_fd, address.address(), address.length()) == 0;
}

SocketAddress SocketDescriptor::localAddress() const
{
    sockaddr_storage storage {};
    socklen_t length = sizeof storage;
    if (::getsockname(m_fd, reinterpret_cast<sockaddr *>(&storage), &length) != 0)
        return {};
    return SocketAddress(reinterpret_cast<const sockaddr *>(&storage), length);
}

int SocketDescriptor::takePendingError() const
{
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return errno;
    return error;
}

QString systemErrorText(int error)
{
    // strerror would follow the locale, and the message around it follows the
    // program's own language setting instead.
    const char *text = strerrordesc_np(error);
    return text ? QString::fromUtf8(text) : QStringLiteral("Error %1").arg(error);
}
