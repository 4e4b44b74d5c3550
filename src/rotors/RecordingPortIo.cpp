#include "rotors/RecordingPortIo.h"

#include <cerrno>

RecordingPortIo::RecordingPortIo(std::array<quint16, 3> lptAddresses, bool winNt)
    : m_lptAddresses(lptAddresses), m_winNt(winNt)
{
}

quint16 RecordingPortIo::GetLPTPortAddress(int n)
{
    return n >= 1 && n <= 3 ? m_lptAddresses[n - 1] : 0;
}

void RecordingPortIo::EnablePorts(quint16 first, quint16 last)
{
    m_records.append({Call::Enable, first, last});
    m_enabled.insert(first);
}

void RecordingPortIo::DisablePorts(quint16 first, quint16 last)
{
    m_records.append({Call::Disable, first, last});
    m_enabled.remove(first);
}

void RecordingPortIo::Outport(quint16 address, quint16 value)
{
    // As strict as the kernel: only the data and control registers of a port
    // enabled (and not disabled since) can be written.
    if (!m_enabled.contains(address) && !m_enabled.contains(quint16(address - 2))) {
        if (m_pendingState == 0)
            m_pendingState = EACCES;
        return;
    }
    m_records.append({Call::Out, address, static_cast<quint16>(value & 0xFF)});
}

int RecordingPortIo::GetLastState(QString *text)
{
    const int state = m_pendingState;
    m_pendingState = 0;
    if (text)
        *text = state == 0 ? QString() : QStringLiteral("recorded failure %1").arg(state);
    return state;
}

bool RecordingPortIo::IsWinNT()
{
    return m_winNt;
}
