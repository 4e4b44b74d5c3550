#include "sources/RotctldConnection.h"

#include <QTcpSocket>

RotctldConnection::RotctldConnection(QTcpSocket *socket, RotctldHost &host, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_host(host)
{
    m_socket->setParent(this);
    // Qt stops reading from the kernel once this much waits unanswered, so a client
    // that floods us is held back by TCP itself.
    m_socket->setReadBufferSize(4 * LineLimit);
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    connect(m_socket, &QTcpSocket::readyRead, this, &RotctldConnection::serve);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &RotctldConnection::serve);
    connect(m_socket, &QTcpSocket::disconnected, this, &RotctldConnection::end);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &RotctldConnection::end);
}

void RotctldConnection::drop()
{
    m_socket->abort();
    end();
}

void RotctldConnection::serve()
{
    // Re-entered from a nested event loop run by a command of this client: the
    // outer call answers the rest once that command is done.
    if (m_serving || m_ended || m_quitting)
        return;
    m_serving = true;
    while (!m_ended && m_socket->bytesToWrite() <= OutputLimit) {
        const auto line = m_lines.next();
        if (!line) {
            if (m_socket->bytesAvailable() <= 0)
                break;
            m_lines.append(m_socket->read(LineLimit));
            continue;
        }
        if (line->overlong) {
            send(RotctldProtocol::overlongLineReply());
            continue;
        }
        const RotctldProtocol::Request request = RotctldProtocol::parseLine(line->text);
        if (request.command == RotctldProtocol::Request::Command::Quit) {
            // Sends what is still queued, then closes; the end follows the socket's.
            m_quitting = true;
            m_socket->disconnectFromHost();
            break;
        }
        send(RotctldProtocol::answer(request, m_host));
    }
    m_serving = false;
    if (m_ended)
        deleteLater();
}

void RotctldConnection::send(const QByteArray &reply)
{
    // The client may have gone while the command ran.
    if (m_ended || reply.isEmpty())
        return;
    m_socket->write(reply);
    m_socket->flush();
}

void RotctldConnection::end()
{
    if (m_ended)
        return;
    m_ended = true;
    Q_EMIT finished(this);
    // Deleted by serve() once the answer under way is done.
    if (!m_serving)
        deleteLater();
}
