#include "rotors/CommandSequencer.h"

#include <QTimer>

#include <algorithm>
#include <utility>

CommandSequencer::Sequence::Sequence(CommandSequencer &sequencer)
    : m_sequencer(sequencer), m_generation(sequencer.m_generation)
{
    ++m_sequencer.m_depth;
    m_sequencer.m_deepest = std::max(m_sequencer.m_deepest, m_sequencer.m_depth);
}

CommandSequencer::Sequence::~Sequence()
{
    --m_sequencer.m_depth;
    // A sequence begun outside requestGo/runStop (a probe, the closing) has no
    // loop of its own to pick up the GO that waited for it.
    if (m_sequencer.m_depth == 0 && m_sequencer.m_waitingGo)
        m_sequencer.scheduleWaitingGo();
}

void CommandSequencer::requestGo(Operation go)
{
    m_waitingGo = std::move(go);
    if (!busy())
        runWaitingGos();
}

void CommandSequencer::runStop(Operation stop)
{
    m_waitingGo = nullptr;
    ++m_generation;
    {
        Sequence sequence(*this);
        stop();
    }
    if (!busy())
        runWaitingGos();
}

void CommandSequencer::runWaitingGos()
{
    // A loop rather than recursion: each GO that arrived during the previous one
    // runs after it, at the same depth.
    while (m_waitingGo && !busy()) {
        Operation go = std::exchange(m_waitingGo, nullptr);
        Sequence sequence(*this);
        go();
    }
}

void CommandSequencer::scheduleWaitingGo()
{
    if (m_runScheduled)
        return;
    m_runScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_runScheduled = false;
        runWaitingGos();
    });
}
