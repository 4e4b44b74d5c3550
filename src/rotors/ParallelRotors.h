#pragma once

#include "config/Configuration.h"
#include "config/InterfaceKind.h"
#include "config/Language.h"
#include "host/LptPortTable.h"
#include "rotors/CommandSequencer.h"
#include "rotors/CommandState.h"
#include "rotors/PortIo.h"
#include "rotors/RotorOutcome.h"
#include "core/NoticeOnce.h"
#include "core/UserFeedback.h"

#include <QString>

#include <functional>

struct ParallelRotorsContext {
    CommandState &state;
    Configuration &config;
    UserFeedback &feedback;
    PortIo &portIo;
    // Base address per LPT slot for each box, as start-up built them; read at every GO.
    const ParallelAddressTable &pourSatAddresses;
    const ParallelAddressTable &fodTrackAddresses;
    // The hidden diagnostic label that shows the last command.
    std::function<void(const QString &)> setInterfaceLabel;
    // The language of the notice about a port the driver refuses.
    std::function<Language()> language;
};

// The two parallel-port boxes. They have a GO only: nothing on the port can stop
// a turn once the box has its target.
class ParallelRotors {
public:
    ParallelRotors(ParallelRotorsContext context, CommandSequencer &sequencer);
    ParallelRotors(const ParallelRotors &) = delete;
    ParallelRotors &operator=(const ParallelRotors &) = delete;

    void GoPourSat(OutcomeReport report) { go(InterfaceKind::PourSat, std::move(report)); }
    void GoFodTrack(OutcomeReport report) { go(InterfaceKind::FodTrack, std::move(report)); }
    void go(InterfaceKind kind, OutcomeReport report);

private:
    // The base address of the box's selected port; 0 when none is usable.
    quint16 selectedBase(InterfaceKind kind) const;

    ParallelRotorsContext m_context;
    CommandSequencer &m_sequencer;
    NoticeOnce m_notices;
};
