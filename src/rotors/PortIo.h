#pragma once

#include <QString>
#include <QtGlobal>

// Register access to a PC parallel port. The calls and their meaning are those
// the parallel interfaces and the setup dialog rely on; the backend decides how
// the bytes reach the hardware (ppdev on Linux, a recorder in tests).
class PortIo {
public:
    virtual ~PortIo() = default;

    // Base address of LPT1..LPT3 (n = 1..3); 0 when the port does not exist.
    virtual quint16 GetLPTPortAddress(int n) = 0;
    // Grants access to a register range; callers pass the base address twice.
    virtual void EnablePorts(quint16 first, quint16 last) = 0;
    virtual void DisablePorts(quint16 first, quint16 last) = 0;
    // Writes the low 8 bits of value to the register at address, in call order.
    virtual void Outport(quint16 address, quint16 value) = 0;
    // 0 when every call since the last query succeeded; the text is informative.
    virtual int GetLastState(QString *text) = 0;
    virtual bool IsWinNT() = 0;
};
