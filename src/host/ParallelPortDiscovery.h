#pragma once

#include "host/LptPortTable.h"

#include <QString>
#include <QtGlobal>

// Base address of parport<number> from <procRoot>/sys/dev/parport/parport<number>/base-addr
// (its first decimal field); 0 when the port is missing or the file unusable.
quint16 parportBaseAddress(const QString &procRoot, int number);

// LPT1..LPT3 from parport0..parport2: the name and four-hex-digit address text of
// each port found; a missing or unreadable port leaves its slot empty with "0000".
LptPortTable DiscoverParallelPorts(const QString &procRoot);

// The ppdev node that drives the port at `base`: <devRoot>/parport<N> for the
// parport<N> whose base address matches; empty when none does.
QString ppdevDeviceForBase(quint16 base, const QString &procRoot, const QString &devRoot);

// What the main window's creation learns about the parallel ports, before the
// settings are read.
struct ParallelPortStartup {
    bool PortDriverPresent = false;
    // The parallel ports are reached through ppdev, which is always required on
    // Linux (no older system family does without a driver), so this never clears.
    bool NtFamily = true;
    LptPortTable lptPorts;
    ParallelAddressTable pourSatAddresses {};
    ParallelAddressTable fodTrackAddresses {};

    // Stored LPT choices may be used (read from Orvantis.ini, picked in the dialog).
    bool portsUsable() const { return !NtFamily || PortDriverPresent; }
    // Port ranges may be enabled and disabled.
    bool portRangesEnabled() const { return NtFamily && PortDriverPresent; }
};

// The start-up sequence: driver check, discovery, then the address tables built
// from the discovered address texts.
ParallelPortStartup startParallelPorts(const QString &sysRoot, const QString &procRoot,
                                       const QString &devRoot);
