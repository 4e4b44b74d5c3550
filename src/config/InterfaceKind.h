#pragma once

#include <QString>

#include <array>
#include <optional>

// The rotator interface in use. The ordinals are stored in Orvantis.ini (through
// the INI values below) and index the setup dialog's pages, so never reorder them.
enum class InterfaceKind : int {
    None = -1,
    PourSat = 0,
    FodTrack = 1,
    Zenta = 2,
    Gs232 = 3,
    EasyComm = 4,
    TrakBox = 5,
    Kct = 6,
    ProSisTel = 7,
    Dcu1 = 8,
    M2Orion = 9,
    Egis = 10,
    Hamlib = 11, // any rotator the Hamlib library drives
};

inline constexpr int InterfaceKindCount = 12;

inline constexpr std::array<InterfaceKind, InterfaceKindCount> AllInterfaceKinds = {
    InterfaceKind::PourSat,  InterfaceKind::FodTrack, InterfaceKind::Zenta,    InterfaceKind::Gs232,
    InterfaceKind::EasyComm, InterfaceKind::TrakBox,  InterfaceKind::Kct,      InterfaceKind::ProSisTel,
    InterfaceKind::Dcu1,     InterfaceKind::M2Orion,  InterfaceKind::Egis,     InterfaceKind::Hamlib,
};

// The seven serial controllers, in the order their port lists are filled.
inline constexpr std::array<InterfaceKind, 7> SerialInterfaceKinds = {
    InterfaceKind::Gs232,     InterfaceKind::EasyComm, InterfaceKind::Dcu1, InterfaceKind::TrakBox,
    InterfaceKind::ProSisTel, InterfaceKind::M2Orion,  InterfaceKind::Egis,
};

constexpr int ordinal(InterfaceKind kind) { return static_cast<int>(kind); }

// Any integer outside 0..11 is none.
InterfaceKind interfaceKindFromOrdinal(int value);

bool isSerial(InterfaceKind kind);
bool isParallel(InterfaceKind kind);

// "GS232", "POURSAT", ...; empty for none.
QString iniValue(InterfaceKind kind);
// Exact, case-sensitive match of an INI value; nullopt when nothing matches.
std::optional<InterfaceKind> interfaceKindFromIniValue(const QString &value);

// The setup dialog's item caption: "GS232", "DCU-1", "M2-ORION", ...
QString dialogCaption(InterfaceKind kind);
// The section header written before the interface's keys: "[GS-232]", ...
QString iniSection(InterfaceKind kind);
