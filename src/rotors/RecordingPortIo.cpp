#include "rotors/RecordingPortIo.h"

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
}

void RecordingPortIo::DisablePorts(quint16 first, quint16 last)
{
    m_records.append({Call::Disable, first, last});
}

void RecordingPortIo::Outport(quint16 address, quint16 value)
{
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
