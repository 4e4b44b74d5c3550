#include "config/InterfaceKind.h"

namespace {

struct KindTexts {
    const char *iniValue;
    const char *caption;
    const char *section;
};

constexpr std::array<KindTexts, InterfaceKindCount> Texts = {{
    {"POURSAT", "PourSat", "[POURSAT]"},
    {"FODTRACK", "FODTrack", "[FODTRACK]"},
    {"ZENTA", "ZENTA", "[ZENTA]"},
    {"GS232", "GS232", "[GS-232]"},
    {"EASYCOMM", "EasyComm", "[EASYCOMM]"},
    {"TRAKBOX", "TrakBox", "[TRAKBOX]"},
    {"KCT", "KCT", "[KCT]"},
    {"PROSISTEL", "ProSisTel", "[PROSISTEL]"},
    {"DCU1", "DCU-1", "[DCU-1]"},
    {"M2ORION", "M2-ORION", "[M2ORION]"},
    {"EGIS", "EGIS", "[EGIS]"},
    {"HAMLIB", "Hamlib", "[HAMLIB]"},
}};

} // namespace

InterfaceKind interfaceKindFromOrdinal(int value)
{
    if (value < 0 || value >= InterfaceKindCount)
        return InterfaceKind::None;
    return static_cast<InterfaceKind>(value);
}

bool isSerial(InterfaceKind kind)
{
    for (InterfaceKind serial : SerialInterfaceKinds) {
        if (serial == kind)
            return true;
    }
    return false;
}

bool isParallel(InterfaceKind kind)
{
    return kind == InterfaceKind::PourSat || kind == InterfaceKind::FodTrack;
}

QString iniValue(InterfaceKind kind)
{
    if (kind == InterfaceKind::None)
        return QString();
    return QString::fromLatin1(Texts[ordinal(kind)].iniValue);
}

std::optional<InterfaceKind> interfaceKindFromIniValue(const QString &value)
{
    for (InterfaceKind kind : AllInterfaceKinds) {
        if (value == QLatin1String(Texts[ordinal(kind)].iniValue))
            return kind;
    }
    return std::nullopt;
}

QString dialogCaption(InterfaceKind kind)
{
    if (kind == InterfaceKind::None)
        return QString();
    return QString::fromLatin1(Texts[ordinal(kind)].caption);
}

QString iniSection(InterfaceKind kind)
{
    if (kind == InterfaceKind::None)
        return QString();
    return QString::fromLatin1(Texts[ordinal(kind)].section);
}
