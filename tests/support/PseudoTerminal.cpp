#include "support/PseudoTerminal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal()
{
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return;
    // Raw mode on the slave so bytes arrive unchanged (no CR/LF translation, no echo).
    termios tio {};
    if (tcgetattr(slave, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(slave, TCSANOW, &tio);
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    // Not handed down to a program the test starts: a copy of the master there
    // would keep the line up after hangUp().
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    m_master = master;
    m_slaveKeepAlive = slave;
    m_slavePath = QString::fromLocal8Bit(name);
}

PseudoTerminal::~PseudoTerminal()
{
    if (m_slaveKeepAlive >= 0)
        ::close(m_slaveKeepAlive);
    if (m_master >= 0)
        ::close(m_master);
}

void PseudoTerminal::hangUp()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

QList<PseudoTerminal::Chunk> PseudoTerminal::readWhile(int waitMs, const std::function<bool(qsizetype)> &more)
{
    QList<Chunk> chunks;
    qsizetype total = 0;
    QElapsedTimer clock;
    clock.start();
    while (more(total) && clock.elapsed() < waitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        pollfd pfd {m_master, POLLIN, 0};
        if (::poll(&pfd, 1, 1) <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            chunks.append({QByteArray(buffer, int(n)), clock.elapsed()});
            total += n;
        }
    }
    return chunks;
}

QList<PseudoTerminal::Chunk> PseudoTerminal::readChunks(int waitMs)
{
    return readWhile(waitMs, [](qsizetype) { return true; });
}

QByteArray PseudoTerminal::readAll(int waitMs)
{
    QByteArray all;
    for (const Chunk &chunk : readChunks(waitMs))
        all += chunk.bytes;
    return all;
}

QByteArray PseudoTerminal::readAtLeast(int count, int timeoutMs)
{
    QByteArray all;
    for (const Chunk &chunk : readWhile(timeoutMs, [count](qsizetype total) { return total < count; }))
        all += chunk.bytes;
    return all;
}
