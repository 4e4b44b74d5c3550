#pragma once

#include <QStringList>

// Matching a serial interface's saved port (PORT_ value: COM number - 1) with the
// port list of the setup dialog at first activation.
struct SavedPortMatch {
    enum class Status {
        NoSavedPort, // nothing was saved: nothing to select, nothing to clear
        Present,     // item holds the saved port
        Absent,      // a port was saved but is not connected now; the saved value
                     // stays what the settings file should keep
    };
    Status status = Status::NoSavedPort;
    int item = -1; // index into the list when Present, else -1
};

// The item whose text without its first three characters is the whole number
// savedIndex + 1; items whose rest does not convert are skipped.
SavedPortMatch reconcileSavedPort(const QStringList &names, int savedIndex);

// The matching item index, or -1 when nothing was saved or the port is absent.
int matchSavedPort(const QStringList &names, int savedIndex);
