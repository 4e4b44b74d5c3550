#pragma once

#include "sources/RotctldProtocol.h"

#include <QObject>

class QTcpSocket;
class RotctldHost;

// One rotctld client. Its lines are answered in order, one at a time: a line whose
// command runs a nested event loop (a GO that pauses) holds back the next ones of
// this client until it is answered. The object outlives its socket's end until no
// answer of it is under way, then deletes itself.
class RotctldConnection : public QObject {
    Q_OBJECT

public:
    // Longest line taken; Hamlib's commands are a few dozen bytes.
    static constexpr qsizetype LineLimit = 1024;
    // Replies waiting for a client that does not read; beyond it no further line of
    // it is answered (nor read) until it catches up.
    static constexpr qint64 OutputLimit = 64 * 1024;

    RotctldConnection(QTcpSocket *socket, RotctldHost &host, QObject *parent);

    // Ends the connection at once (the program stops serving).
    void drop();

Q_SIGNALS:
    // Emitted once, when the client is gone or dropped.
    void finished(RotctldConnection *connection);

private:
    void serve();
    void send(const QByteArray &reply);
    void end();

    QTcpSocket *m_socket;
    RotctldHost &m_host;
    RotctldProtocol::LineBuffer m_lines {LineLimit};
    bool m_serving = false;
    bool m_quitting = false;
    bool m_ended = false;
};
