#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>

inline constexpr int LptSlotCount = 3;

// What start-up learned about one of LPT1..LPT3.
struct LptPort {
    QString name;                                  // "LPT1".."LPT3"; empty when not found
    QString addressText = QStringLiteral("0000");  // four upper-case hex digits
    quint16 address = 0;
};

using LptPortTable = std::array<LptPort, LptSlotCount>;

// Base address per LPT slot, as the PourSat and FODTrack interfaces write to it.
using ParallelAddressTable = std::array<quint16, LptSlotCount>;

// A 16-bit address as four upper-case hex digits: 888 -> "0378".
QString hexAddressText(quint16 address);

struct ParallelAddressTables {
    ParallelAddressTable pourSat {};
    ParallelAddressTable fodTrack {};
};

// Reads every slot's address text as hex into both interface tables and the
// slot's numeric address. One text that does not convert zeroes everything: all
// entries, all numeric addresses, and every text back to "0000".
ParallelAddressTables convertAddressTexts(LptPortTable &table);

// An item of the setup dialog's LPT lists: "LPT1 [0378h]" for a found port,
// "          [0000h]" (ten blanks) for a missing one.
QString lptListItemText(const LptPort &port, quint16 address);

// The item to select in an LPT list for a saved LPT index: the index itself when
// it names a slot (0..2) whose port was found, otherwise -1 (no selection).
int lptSelection(const LptPortTable &table, int savedIndex);

// The three items of one LPT list, with the addresses of that interface's table.
QStringList lptListItems(const LptPortTable &table, const ParallelAddressTable &addresses);
