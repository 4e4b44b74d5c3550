#pragma once

#include <QList>
#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>

// The rotator's command queue. A controller's command is a paced sequence of
// steps (a write, then the pause it needs before anything else reaches the
// controller), run from a timer, so the event loop, and with it every socket,
// stays live during the pauses and nothing ever runs inside another command.
//
// A GO that arrives while sequences are under way waits for them to end; only
// the newest waiting GO runs, the one it replaces is told it was overtaken. A
// STOP never waits: it cuts the running sequence short, drops every queued one
// and the waiting GO, and runs at once.
class CommandSequencer : public QObject {
    Q_OBJECT

public:
    using Operation = std::function<void()>;

    // Carries one step out and says how long the controller needs before the
    // next one, in milliseconds; Failed ends the sequence there (a failed write,
    // which the step has already dealt with).
    using Step = std::function<int()>;
    static constexpr int Failed = -1;
    // A step that always pauses the same.
    static Step step(std::function<bool()> act, int pauseAfterMs);

    struct Sequence {
        QList<Step> steps;
        // Right after the last step's act, before its pause: the command is out.
        Operation delivered;
        // A STOP cut it short before its last step (or before it started).
        Operation cut;
        // After the last pause, or once a step failed or a STOP cut it short.
        Operation ended;
    };

    explicit CommandSequencer(QObject *parent = nullptr);

    // overtaken is called if a STOP or a newer GO takes this one's place before it runs.
    void requestGo(Operation go, Operation overtaken = {});
    void runStop(Operation stop);
    // Queues a sequence behind those under way; it starts at once when none is.
    void play(Sequence sequence);
    // Calls then once nothing runs, waits or is queued (at once when idle already).
    void whenIdle(Operation then);
    // From now on no pause is waited for: what remains runs at once, in order
    // (a close nobody attends that has run out of time).
    void hurry();

    bool busy() const { return m_running || !m_queue.empty(); }
    bool hasWaitingGo() const { return bool(m_waitingGo); }
    // How many STOPs have run: a request that sees it change has been stopped.
    quint64 stopCount() const { return m_stops; }

private:
    void advance();
    void startNext();
    void finishRunning(bool cut);
    void settle();

    QTimer m_pause;
    std::deque<Sequence> m_queue;
    Sequence m_current;
    qsizetype m_next = 0;
    bool m_running = false;
    bool m_hurried = false;
    bool m_settling = false;
    quint64 m_stops = 0;
    Operation m_waitingGo;
    Operation m_waitingGoOvertaken;
    QList<Operation> m_idleWaiters;
};
