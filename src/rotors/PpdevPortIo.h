#pragma once

#include "rotors/PortIo.h"

#include <QString>

#include <map>

// Port I/O through the kernel's ppdev driver. Enabling a port's base address
// opens and claims the /dev/parportN whose base it is; its data and control
// registers are then written through the driver. A failed call is kept until
// the next GetLastState, with the system's text.
class PpdevPortIo final : public PortIo {
public:
    explicit PpdevPortIo(QString procRoot = QStringLiteral("/proc"), QString devRoot = QStringLiteral("/dev"));
    ~PpdevPortIo() override;
    PpdevPortIo(const PpdevPortIo &) = delete;
    PpdevPortIo &operator=(const PpdevPortIo &) = delete;

    quint16 GetLPTPortAddress(int n) override;
    // Only the first address counts: callers name a port by its base.
    void EnablePorts(quint16 first, quint16 last) override;
    void DisablePorts(quint16 first, quint16 last) override;
    // Reaches the data register (base) and the control register (base + 2) of
    // an enabled port; any other address fails.
    void Outport(quint16 address, quint16 value) override;
    int GetLastState(QString *text) override;
    bool IsWinNT() override { return true; }

    bool isEnabled(quint16 base) const { return m_claimed.count(base) > 0; }

private:
    struct ClaimedPort {
        int fd;
        QString device;
    };

    void release(quint16 base);
    // Records a failure unless an earlier one is still unreported.
    void fail(int code, const QString &text);
    void failWithErrno(const QString &device);

    QString m_procRoot;
    QString m_devRoot;
    std::map<quint16, ClaimedPort> m_claimed;
    int m_state = 0;
    QString m_stateText;
};
