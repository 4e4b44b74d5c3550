#pragma once

#include <QObject>

#include <functional>

// Keeps command sequences (GO, STOP, probe, closing) from running inside one
// another's pauses. A GO that arrives while a sequence is under way waits for it
// to end, and only the newest waiting GO runs; so a burst of requests neither
// nests nor breaks the controllers' pacing. A STOP never waits: it runs at
// once, drops any waiting GO, and the sequence it interrupted writes nothing more.
class CommandSequencer : public QObject {
    Q_OBJECT

public:
    // Marks a command sequence as under way for its lifetime. Writers consult
    // interrupted() after every pause.
    class Sequence {
    public:
        explicit Sequence(CommandSequencer &sequencer);
        ~Sequence();
        Sequence(const Sequence &) = delete;
        Sequence &operator=(const Sequence &) = delete;

        // A STOP has run since this sequence began.
        bool interrupted() const { return m_sequencer.m_generation != m_generation; }

    private:
        CommandSequencer &m_sequencer;
        quint64 m_generation;
    };

    using Operation = std::function<void()>;

    void requestGo(Operation go);
    void runStop(Operation stop);
    // Forgets a waiting GO without stopping anything (the program is closing).
    void dropWaitingGo() { m_waitingGo = nullptr; }

    bool busy() const { return m_depth > 0; }
    // How many STOPs have run: a request that sees it change has been stopped.
    quint64 stopCount() const { return m_generation; }
    bool hasWaitingGo() const { return bool(m_waitingGo); }
    // The deepest nesting of sequences seen so far; a burst must keep it small.
    int deepestNesting() const { return m_deepest; }

private:
    void runWaitingGos();
    void scheduleWaitingGo();

    quint64 m_generation = 0;
    int m_depth = 0;
    int m_deepest = 0;
    bool m_runScheduled = false;
    Operation m_waitingGo;
};
