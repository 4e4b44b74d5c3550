#include "core/RotorDispatch.h"

void RotorDispatch::go(InterfaceKind kind, OutcomeReport report) const
{
    const Operation *operation = kind == InterfaceKind::None ? nullptr : &m_go[ordinal(kind)];
    if (operation && *operation)
        (*operation)(std::move(report));
    else
        report(RotorOutcome::refused(RotorOutcome::Reason::NoInterface));
}

void RotorDispatch::stopEvery(InterfaceKind selected, OutcomeReport report) const
{
    const bool selectedStops = selected != InterfaceKind::None && m_stop[ordinal(selected)];
    for (InterfaceKind kind : StopOrder) {
        if (const Operation &operation = m_stop[ordinal(kind)])
            operation(kind == selected ? report : OutcomeReport([](const RotorOutcome &) {}));
    }
    if (selectedStops)
        return;
    // A box on the parallel port cannot be stopped once it has its target.
    report(selected == InterfaceKind::None ? RotorOutcome::held()
                                           : RotorOutcome::refused(RotorOutcome::Reason::NotSupported));
}
