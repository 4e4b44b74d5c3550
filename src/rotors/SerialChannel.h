#pragma once

#include "config/InterfaceKind.h"

#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <functional>

// One controller's serial line: 8N1, no flow control, opened on demand and
// written one way, unless a reader asks for what the controller sends back.
class SerialChannel {
public:
    struct Profile {
        qint32 baudRate;          // until a rate is set
        qint64 inputBufferSize;   // the output queue is the driver's own on Linux
        int writeTimeoutConstantMs;
        int writeTimeoutPerByteMs;
    };

    explicit SerialChannel(const Profile &profile);
    SerialChannel(const SerialChannel &) = delete;
    SerialChannel &operator=(const SerialChannel &) = delete;

    // Opens devicePath under the COM name the user knows it by and purges both
    // directions. A busy, missing or refused device leaves the channel closed.
    // On false, error() and errorString() say why.
    bool open(const QString &devicePath, const QString &portName);
    bool isOpen() const { return m_port.isOpen(); }
    // Changes with every open: a close meant for an earlier opening can tell.
    quint64 opening() const { return m_opening; }
    QString portName() const { return m_portName; }
    void close();
    // Leaves the channel open for ms more, so that an answer already asked for
    // can still arrive, then closes it; opening, writing or closing meanwhile
    // keeps it as that leaves it.
    void closeAfter(int ms);

    // Closes the channel; the rate applies from the next open.
    void setBaudRate(qint32 rate);

    // Hands every byte to the driver and returns at once; what it cannot take yet
    // is queued and dropped if still waiting after the write time-out. False only
    // for a real failure (the adapter is gone); errorString() then holds the
    // system's text.
    bool write(const QByteArray &bytes);
    QString errorString() const { return m_errorString; }
    QSerialPort::SerialPortError error() const { return m_error; }

    int writeTimeoutMs(qsizetype byteCount) const;

    // With a reader the channel opens for reading too and hands it every byte
    // that arrives, as it arrives. Takes effect at the next open.
    using Reader = std::function<void(const QByteArray &)>;
    void setReader(Reader reader) { m_reader = std::move(reader); }
    bool reads() const { return bool(m_reader); }
    // Queues a short query behind anything still being written, and returns at
    // once. False when the channel is closed.
    bool post(const QByteArray &bytes);

private:
    Profile m_profile;
    qint32 m_baudRate;
    QSerialPort m_port;
    QString m_portName;
    QString m_errorString;
    Reader m_reader;
    QTimer m_closeTimer;
    QTimer m_writeTimer;
    QSerialPort::SerialPortError m_error = QSerialPort::NoError;
    quint64 m_opening = 0;
};
