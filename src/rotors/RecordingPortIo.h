#pragma once

#include "rotors/PortIo.h"

#include <QList>
#include <QSet>

#include <array>

// A port-I/O backend that keeps every call instead of touching hardware. It serves
// the tests, and machines where no parallel port can be reached. Like ppdev it
// refuses a write to a port that is not enabled: the write is not recorded and
// the next GetLastState reports it.
class RecordingPortIo final : public PortIo {
public:
    enum class Call { Enable, Disable, Out };
    struct Record {
        Call call;
        quint16 address;
        quint16 value; // the byte written for Out; the last address for Enable/Disable
        friend bool operator==(const Record &, const Record &) = default;
    };

    explicit RecordingPortIo(std::array<quint16, 3> lptAddresses = {0, 0, 0}, bool winNt = true);

    quint16 GetLPTPortAddress(int n) override;
    void EnablePorts(quint16 first, quint16 last) override;
    void DisablePorts(quint16 first, quint16 last) override;
    void Outport(quint16 address, quint16 value) override;
    int GetLastState(QString *text) override;
    bool IsWinNT() override;

    // Makes the next GetLastState report a failure, as a refused port would.
    void failNextState(int state) { m_pendingState = state; }

    const QList<Record> &records() const { return m_records; }
    void clear() { m_records.clear(); }

private:
    std::array<quint16, 3> m_lptAddresses;
    bool m_winNt;
    int m_pendingState = 0;
    QSet<quint16> m_enabled; // base addresses
    QList<Record> m_records;
};
