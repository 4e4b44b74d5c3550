#pragma once

#include "config/InterfaceKind.h"
#include "rotors/RotorOutcome.h"

#include <array>
#include <functional>

// The one place that maps an interface kind to its GO and STOP operations, and
// the STOP order every STOP follows whatever interface is selected. Every
// operation returns at once and reports its outcome once.
class RotorDispatch {
public:
    using Operation = std::function<void(OutcomeReport)>;

    // The order StopAll calls the STOP operations in. PourSat and FODTrack have none.
    static constexpr std::array<InterfaceKind, 10> StopOrder = {
        InterfaceKind::Zenta,     InterfaceKind::Gs232,   InterfaceKind::EasyComm,
        InterfaceKind::Dcu1,      InterfaceKind::ProSisTel, InterfaceKind::TrakBox,
        InterfaceKind::Kct,       InterfaceKind::M2Orion, InterfaceKind::Egis,
        InterfaceKind::Hamlib,
    };

    void setGo(InterfaceKind kind, Operation go) { m_go[ordinal(kind)] = std::move(go); }
    void setStop(InterfaceKind kind, Operation stop) { m_stop[ordinal(kind)] = std::move(stop); }

    void go(InterfaceKind kind, OutcomeReport report) const;
    // Every STOP operation in StopOrder; report hears the selected kind's outcome.
    void stopEvery(InterfaceKind selected, OutcomeReport report) const;

private:
    std::array<Operation, InterfaceKindCount> m_go;
    std::array<Operation, InterfaceKindCount> m_stop;
};
