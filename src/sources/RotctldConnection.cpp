#include "sources/RotctldConnection.h"

#include "config/ByteTrace.h"
#include "process/LogCategories.h"

#include <QPointer>

#include <cerrno>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

RotctldConnection::RotctldConnection(SocketDescriptor socket, RotctldHost &host, QObject *parent)
    : QObject(parent)
    , m_socket(std::move(socket))
    , m_readNotifier(m_socket.fd(), QSocketNotifier::Read)
    , m_writeNotifier(m_socket.fd(), QSocketNotifier::Write)
    , m_host(host)
{
    m_socket.setOption(IPPROTO_TCP, TCP_NODELAY, 1);
    m_socket.setOption(SOL_SOCKET, SO_KEEPALIVE, 1);
    m_writeNotifier.setEnabled(false);
    m_lastHeard.start();
    connect(&m_readNotifier, &QSocketNotifier::activated, this, &RotctldConnection::readable);
    connect(&m_writeNotifier, &QSocketNotifier::activated, this, &RotctldConnection::writable);
}

void RotctldConnection::drop()
{
    end();
}

void RotctldConnection::readable()
{
    receive();
    serveNow();
}

void RotctldConnection::serveNow()
{
    serve();
    // A line begun and not finished starts its clock; a client that trickles
    // it byte by byte cannot hold its place for ever.
    if (m_input.isEmpty() && m_lines.buffered() == 0)
        m_lineStarted.invalidate();
    else if (!m_lineStarted.isValid())
        m_lineStarted.start();
    updateNotifiers();
}

void RotctldConnection::catchUp()
{
    if (m_ended)
        return;
    receive();
    serveNow();
}

void RotctldConnection::writable()
{
    if (!flush())
        return;
    if (m_closing && m_output.isEmpty()) {
        end();
        return;
    }
    serveNow();
}

void RotctldConnection::receive()
{
    // Also while a command of this client waits for its outcome: that is how a
    // client gone meanwhile is noticed.
    while (!m_ended && !m_inputEnded && m_input.size() < InputLimit) {
        const qsizetype held = m_input.size();
        m_input.resize(InputLimit);
        const ssize_t got = ::recv(m_socket.fd(), m_input.data() + held, size_t(InputLimit - held), 0);
        m_input.resize(held + qMax<ssize_t>(got, 0));
        if (got > 0) {
            m_lastHeard.start();
            continue;
        }
        if (got == 0) {
            m_inputEnded = true;
        } else if (errno == EINTR) {
            continue;
        } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
            end(); // reset by the client
        }
        return;
    }
}

void RotctldConnection::serve()
{
    bool answeredAll = false;
    while (!m_awaiting && !m_ended && !m_closing && m_output.size() <= OutputLimit) {
        const auto line = m_lines.next();
        if (!line) {
            // The read notifier brings the rest.
            if (m_input.isEmpty()) {
                answeredAll = true;
                break;
            }
            const qsizetype chunk = qMin(m_input.size(), LineLimit);
            m_lines.append(QByteArrayView(m_input).first(chunk));
            m_input.remove(0, chunk);
            continue;
        }
        if (line->overlong) {
            send(RotctldProtocol::overlongLineReply());
            continue;
        }
        // A client may have closed altogether while it was answered, and the reply
        // just sent then brought its reset back: its further commands are not
        // carried out.
        if (m_socket.takePendingError() != 0) {
            end();
            break;
        }
        qCDebug(rotctldLog).noquote() << "client fd" << m_socket.fd() << "<" << byteTrace(line->text);
        const RotctldProtocol::Request request = RotctldProtocol::parseLine(line->text);
        if (request.command == RotctldProtocol::Request::Command::Quit) {
            closeOnceSent();
            break;
        }
        // The next line waits for this one's answer, which may come from the
        // rotator later; a client gone meanwhile gets nothing.
        m_awaiting = true;
        m_answering = true;
        RotctldProtocol::answer(request, m_host, [self = QPointer(this)](const QByteArray &reply) {
            if (!self || !self->m_awaiting)
                return;
            self->m_awaiting = false;
            self->send(reply);
            // Answered later: the lines that waited behind it are served now.
            if (!self->m_answering)
                self->serveNow();
        });
        m_answering = false;
        if (m_awaiting)
            break;
    }
    // Nothing more will come from a client that shut its side: closed once it has
    // every reply.
    if (answeredAll && m_inputEnded && !m_ended)
        closeOnceSent();
}

void RotctldConnection::send(const QByteArray &reply)
{
    // The client may have gone while the command ran.
    if (m_ended || reply.isEmpty())
        return;
    qCDebug(rotctldLog).noquote() << "client fd" << m_socket.fd() << ">" << byteTrace(reply);
    m_output.append(reply);
    flush();
}

bool RotctldConnection::flush()
{
    while (!m_output.isEmpty()) {
        // MSG_NOSIGNAL: a client that vanished must not end the program with SIGPIPE.
        const ssize_t sent = ::send(m_socket.fd(), m_output.constData(), size_t(m_output.size()), MSG_NOSIGNAL);
        if (sent > 0) {
            m_output.remove(0, sent);
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            return true; // the write notifier says when there is room
        } else if (errno != EINTR) {
            end();
            return false;
        }
    }
    return true;
}

void RotctldConnection::closeOnceSent()
{
    m_closing = true;
    if (m_output.isEmpty())
        end();
}

void RotctldConnection::updateNotifiers()
{
    if (m_ended)
        return;
    // Both fire for as long as their condition holds, so each is on only while it
    // has something to do.
    m_readNotifier.setEnabled(!m_inputEnded && !m_closing && m_input.size() < InputLimit);
    m_writeNotifier.setEnabled(!m_output.isEmpty());
}

void RotctldConnection::end()
{
    if (m_ended)
        return;
    m_ended = true;
    m_readNotifier.setEnabled(false);
    m_writeNotifier.setEnabled(false);
    m_socket.reset();
    Q_EMIT finished(this);
    deleteLater();
}
