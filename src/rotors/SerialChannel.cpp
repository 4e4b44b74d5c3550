#include "rotors/SerialChannel.h"

#include <QEventLoop>
#include <QTimer>

SerialChannel::Profile SerialChannel::profileFor(InterfaceKind kind)
{
    switch (kind) {
    case InterfaceKind::Dcu1:
        return {4800, 1024, 1000, 200};
    case InterfaceKind::Gs232:
    case InterfaceKind::EasyComm:
    case InterfaceKind::TrakBox:
        return {9600, 1024, 5000, 0};
    default:
        return {9600, 4096, 5000, 0};
    }
}

SerialChannel::SerialChannel(const Profile &profile) : m_profile(profile), m_baudRate(profile.baudRate) {}

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
    if (!m_port.open(QIODevice::WriteOnly)) {
        m_port.clearError();
        return false;
    }
    // Pseudo-terminals and some adapters have no modem lines; refusing them is
    // not a reason to give up the port.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(false);
    m_port.clear(QSerialPort::AllDirections);
    m_port.clearError();
    m_portName = portName;
    return true;
}

void SerialChannel::close()
{
    if (m_port.isOpen())
        m_port.close();
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

    bool failed = false;
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    timeout.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&m_port, &QSerialPort::bytesWritten, &loop, [&] {
        if (m_port.bytesToWrite() == 0)
            loop.quit();
    });
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &loop, [&](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::WriteError || error == QSerialPort::ResourceError) {
            failed = true;
            loop.quit();
        }
    });
    // A STOP run during the wait may close the port under us.
    QObject::connect(&m_port, &QIODevice::aboutToClose, &loop, &QEventLoop::quit);

    if (m_port.write(bytes) != bytes.size())
        failed = true;
    else
        // Into the driver at once, not when the event loop next looks at the
        // port: a repaint of the window would otherwise come first.
        m_port.flush();
    if (m_port.bytesToWrite() > 0 && !failed) {
        timeout.start(writeTimeoutMs(bytes.size()));
        loop.exec();
    }

    if (failed) {
        m_errorString = m_port.errorString();
        return false;
    }
    return true;
}
