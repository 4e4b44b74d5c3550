#include "core/RotorDispatch.h"

void RotorDispatch::go(InterfaceKind kind) const
{
    if (kind == InterfaceKind::None)
        return;
    if (const Operation &operation = m_go[ordinal(kind)])
        operation();
}

void RotorDispatch::stopEvery() const
{
    for (InterfaceKind kind : StopOrder) {
        if (const Operation &operation = m_stop[ordinal(kind)])
            operation();
    }
}
