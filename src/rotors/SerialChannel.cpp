#include "rotors/SerialChannel.h"

#include "config/ByteTrace.h"
#include "process/LogCategories.h"

#include <QTimer>

#include <cerrno>
#include <unistd.h>

SerialChannel::SerialChannel(const Profile &profile) : m_profile(profile), m_baudRate(profile.baudRate)
{
    m_closeTimer.setSingleShot(true);
    QObject::connect(&m_closeTimer, &QTimer::timeout, [this] { close(); });
    m_writeTimer.setSingleShot(true);
    QObject::connect(&m_writeTimer, &QTimer::timeout, [this] {
        if (m_port.isOpen() && m_port.bytesToWrite() > 0) {
            qCDebug(serialLog).noquote() << m_portName << "write timed out; dropped" << m_port.bytesToWrite() << "bytes";
            m_port.clear(QSerialPort::Output);
        }
    });
    QObject::connect(&m_port, &QIODevice::readyRead, [this] {
        // Drained even if nobody wants it, so the driver's queue never fills.
        const QByteArray bytes = m_port.readAll();
        qCDebug(serialLog).noquote() << m_portName << "<" << byteTrace(bytes);
        if (m_reader)
            m_reader(bytes);
    });
}

bool SerialChannel::open(const QString &devicePath, const QString &portName)
{
    close();
    m_port.setPortName(devicePath);
    m_port.setBaudRate(m_baudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.setReadBufferSize(m_profile.inputBufferSize);
    if (!m_port.open(m_reader ? QIODevice::ReadWrite : QIODevice::WriteOnly)) {
        m_error = m_port.error();
        m_errorString = m_port.errorString();
        m_port.clearError();
        qCDebug(serialLog).noquote() << portName << devicePath << "not opened:" << m_errorString;
        return false;
    }
    // Pseudo-terminals and some adapters have no modem lines; refusing them is
    // not a reason to give up the port.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(false);
    m_port.clear(QSerialPort::AllDirections);
    m_port.clearError();
    m_portName = portName;
    ++m_opening;
    qCDebug(serialLog).noquote() << portName << devicePath << "opened at" << m_baudRate << "bd";
    return true;
}

void SerialChannel::close()
{
    m_closeTimer.stop();
    m_writeTimer.stop();
    if (m_port.isOpen()) {
        m_port.close();
        qCDebug(serialLog).noquote() << m_portName << "closed";
    }
    m_port.clearError();
}

void SerialChannel::setBaudRate(qint32 rate)
{
    close();
    m_baudRate = rate;
}

int SerialChannel::writeTimeoutMs(qsizetype byteCount) const
{
    return m_profile.writeTimeoutConstantMs + int(m_profile.writeTimeoutPerByteMs * byteCount);
}

bool SerialChannel::write(const QByteArray &bytes)
{
    if (!m_port.isOpen() || bytes.isEmpty())
        return true;
    m_closeTimer.stop();
    qCDebug(serialLog).noquote() << m_portName << ">" << byteTrace(bytes);

    // Straight into the driver, so the bytes leave before the window repaints;
    // QSerialPort would only queue them until the event loop looked at the port.
    // Bytes it still queues from before keep their place in front.
    qint64 done = 0;
    if (m_port.bytesToWrite() == 0) {
        done = ::write(m_port.handle(), bytes.constData(), size_t(bytes.size()));
        if (done < 0 && errno != EAGAIN && errno != EINTR) {
            m_errorString = qt_error_string(errno);
            qCDebug(serialLog).noquote() << m_portName << "write failed:" << m_errorString;
            return false;
        }
        if (done == bytes.size())
            return true;
        done = qMax<qint64>(done, 0);
    }

    // What the driver would not take yet is queued behind, and given up if it has
    // not left within the write time-out: a command sent that late would arrive
    // after the ones that replaced it.
    const QByteArray rest = bytes.mid(done);
    if (m_port.write(rest) != rest.size()) {
        m_error = m_port.error();
        m_errorString = m_port.errorString();
        qCDebug(serialLog).noquote() << m_portName << "write failed:" << m_errorString;
        return false;
    }
    m_writeTimer.start(writeTimeoutMs(bytes.size()));
    return true;
}

void SerialChannel::closeAfter(int ms)
{
    if (m_port.isOpen())
        m_closeTimer.start(ms);
}

bool SerialChannel::post(const QByteArray &bytes)
{
    if (!m_port.isOpen())
        return false;
    qCDebug(serialLog).noquote() << m_portName << ">" << byteTrace(bytes);
    return m_port.write(bytes) == bytes.size();
}
