#include "rotors/CommandSequencer.h"

#include <utility>

CommandSequencer::CommandSequencer(QObject *parent) : QObject(parent)
{
    m_pause.setSingleShot(true);
    // The controllers' pauses are tens of milliseconds; a coarse timer would
    // stretch them by up to 5 %.
    m_pause.setTimerType(Qt::PreciseTimer);
    connect(&m_pause, &QTimer::timeout, this, &CommandSequencer::advance);
}

CommandSequencer::Step CommandSequencer::step(std::function<bool()> act, int pauseAfterMs)
{
    return [act = std::move(act), pauseAfterMs] { return act() ? pauseAfterMs : Failed; };
}

void CommandSequencer::requestGo(Operation go, Operation overtaken)
{
    if (Operation previous = std::exchange(m_waitingGoOvertaken, nullptr))
        previous();
    m_waitingGo = std::move(go);
    m_waitingGoOvertaken = std::move(overtaken);
    settle();
}

void CommandSequencer::runStop(Operation stop)
{
    ++m_stops;
    m_pause.stop();
    std::deque<Sequence> dropped = std::exchange(m_queue, {});
    if (m_running)
        finishRunning(true);
    for (Sequence &sequence : dropped) {
        if (sequence.cut)
            sequence.cut();
        if (sequence.ended)
            sequence.ended();
    }
    m_waitingGo = nullptr;
    if (Operation overtaken = std::exchange(m_waitingGoOvertaken, nullptr))
        overtaken();
    stop();
    settle();
}

void CommandSequencer::play(Sequence sequence)
{
    m_queue.push_back(std::move(sequence));
    if (!m_running)
        startNext();
}

void CommandSequencer::whenIdle(Operation then)
{
    m_idleWaiters.append(std::move(then));
    settle();
}

void CommandSequencer::hurry()
{
    m_hurried = true;
    if (m_pause.isActive()) {
        m_pause.stop();
        advance();
    }
}

void CommandSequencer::startNext()
{
    while (!m_running && !m_queue.empty()) {
        m_current = std::move(m_queue.front());
        m_queue.pop_front();
        m_next = 0;
        m_running = true;
        advance();
    }
}

void CommandSequencer::advance()
{
    // Steps without a pause follow one another at once.
    while (m_running) {
        if (m_next >= m_current.steps.size()) {
            finishRunning(false);
            break;
        }
        const Step step = m_current.steps.at(m_next++);
        const int pauseMs = step();
        if (pauseMs == Failed) {
            m_current.delivered = nullptr;
            m_current.cut = nullptr;
            finishRunning(false);
            break;
        }
        if (m_next == m_current.steps.size()) {
            m_current.cut = nullptr;
            if (m_current.delivered)
                std::exchange(m_current.delivered, nullptr)();
        }
        if (pauseMs > 0 && !m_hurried) {
            m_pause.start(pauseMs);
            return;
        }
    }
    startNext();
    settle();
}

void CommandSequencer::finishRunning(bool cut)
{
    Sequence finished = std::exchange(m_current, {});
    m_running = false;
    if (cut && finished.cut)
        finished.cut();
    if (finished.ended)
        finished.ended();
}

void CommandSequencer::settle()
{
    // Reached again from what a waiting GO or an idle waiter starts: the outer
    // call goes on with whatever is left.
    if (m_settling)
        return;
    m_settling = true;
    while (!busy()) {
        if (m_waitingGo) {
            m_waitingGoOvertaken = nullptr;
            std::exchange(m_waitingGo, nullptr)();
            continue;
        }
        if (m_idleWaiters.isEmpty())
            break;
        // One at a time: the next waits until what this one starts has ended.
        const Operation then = m_idleWaiters.takeFirst();
        then();
    }
    m_settling = false;
}
