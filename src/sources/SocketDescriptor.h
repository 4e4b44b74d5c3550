#pragma once

#include <QString>

class SocketAddress;

// A socket of this program, closed with its owner: close-on-exec, so a started
// Movenow does not inherit it, and non-blocking, so the GUI thread never waits on
// it. Calls that fail leave errno for the caller, as the system calls do.
class SocketDescriptor {
public:
    SocketDescriptor() = default;
    // Takes ownership of a descriptor that is already close-on-exec and non-blocking
    // (accept4 gives one).
    explicit SocketDescriptor(int fd) : m_fd(fd) {}
    ~SocketDescriptor() { reset(); }
    SocketDescriptor(SocketDescriptor &&other) noexcept : m_fd(other.release()) {}
    SocketDescriptor &operator=(SocketDescriptor &&other) noexcept;
    SocketDescriptor(const SocketDescriptor &) = delete;
    SocketDescriptor &operator=(const SocketDescriptor &) = delete;

    // A new socket of the family and type (SOCK_DGRAM, SOCK_STREAM); invalid on failure.
    static SocketDescriptor open(int family, int type);

    bool isValid() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    void reset();
    int release();

    bool setOption(int level, int option, int value);
    bool bindTo(const SocketAddress &address);
    // The address the socket is bound to.
    SocketAddress localAddress() const;
    // An asynchronous error the kernel holds for the socket (a reset from the peer),
    // or 0; reading it clears it.
    int takePendingError() const;

private:
    int m_fd = -1;
};

// The system's description of an errno value, in English like every other
// system reason the program shows.
QString systemErrorText(int error);
