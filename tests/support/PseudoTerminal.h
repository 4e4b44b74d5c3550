#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// A pseudo-terminal pair standing in for a serial controller: the program opens
// the slave side as its COM port, the test reads what arrived on the master side.
class PseudoTerminal {
public:
    struct Chunk {
        QByteArray bytes;
        qint64 atMs; // monotonic time of arrival, for measuring pauses from outside
    };

    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    // For readers on another thread (benchmarks), which must not share the Qt loop.
    int masterFd() const { return m_master; }

    // Reads whatever is available within `waitMs`, keeping arrival times.
    QList<Chunk> readChunks(int waitMs);
    // All bytes that arrive within `waitMs`, while the Qt event loop keeps running
    // (the program under test is usually in the same process).
    QByteArray readAll(int waitMs);
    // Waits (processing Qt events) until at least `count` bytes have arrived.
    QByteArray readAtLeast(int count, int timeoutMs);
    // The adapter pulled out: the master side goes, and every later write to the
    // slave fails with EIO, as on a vanished USB serial device.
    void hangUp();

private:
    // Reads while more(bytes so far) holds, for at most waitMs.
    QList<Chunk> readWhile(int waitMs, const std::function<bool(qsizetype)> &more);

    int m_master = -1;
    int m_slaveKeepAlive = -1; // keeps the slave usable between the program's opens
    QString m_slavePath;
};
