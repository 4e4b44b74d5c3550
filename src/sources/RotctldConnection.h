#pragma once

#include "sources/RotctldProtocol.h"
#include "sources/SocketDescriptor.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>

class RotctldHost;

// One rotctld client. Its lines are answered in order, one at a time: a line whose
// answer waits for the rotator's outcome holds back the next ones of this client
// until it is answered. A client that shuts its sending side still gets every
// reply; one that is gone gets nothing more, and the object deletes itself.
class RotctldConnection : public QObject {
    Q_OBJECT

public:
    // Longest line taken; Hamlib's commands are a few dozen bytes.
    static constexpr qsizetype LineLimit = 1024;
    // Bytes read ahead of the line being answered; beyond it the kernel keeps the
    // rest, so a client that floods us is held back by TCP itself.
    static constexpr qsizetype InputLimit = 4 * LineLimit;
    // Replies waiting for a client that does not read; beyond it no further line of
    // it is answered (nor read) until it catches up.
    static constexpr qsizetype OutputLimit = 64 * 1024;

    RotctldConnection(SocketDescriptor socket, RotctldHost &host, QObject *parent);

    // Ends the connection at once (the program stops serving).
    void drop();
    // Replies the kernel has not taken yet.
    qsizetype bytesToWrite() const { return m_output.size(); }
    // How long the client has sent nothing; a command of it still being carried
    // out counts as talking.
    qint64 silentMs() const { return m_awaiting ? 0 : m_lastHeard.elapsed(); }
    // How long the line the client is sending has been unfinished; 0 between lines.
    qint64 unfinishedLineMs() const { return m_lineStarted.isValid() ? m_lineStarted.elapsed() : 0; }
    // Takes in what the client sent (its end included) before the notifier
    // would: a client that has gone then ends here and frees its place.
    void catchUp();

Q_SIGNALS:
    // Emitted once, when the client is gone or dropped.
    void finished(RotctldConnection *connection);

private:
    void readable();
    void writable();
    void receive();
    void serve();
    void serveNow();
    void send(const QByteArray &reply);
    bool flush();
    void closeOnceSent();
    void updateNotifiers();
    void end();

    SocketDescriptor m_socket;
    QSocketNotifier m_readNotifier;
    QSocketNotifier m_writeNotifier;
    RotctldHost &m_host;
    QElapsedTimer m_lastHeard;
    QElapsedTimer m_lineStarted;
    QByteArray m_input;
    QByteArray m_output;
    RotctldProtocol::LineBuffer m_lines {LineLimit};
    bool m_inputEnded = false; // the client shut its sending side
    bool m_closing = false;    // no further line is answered; closes once the replies are out
    bool m_awaiting = false; // a line's answer waits for the rotator
    bool m_answering = false; // the answer given now, not later, goes on in serve()
    bool m_ended = false;
};
