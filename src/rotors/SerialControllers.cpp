#include "rotors/SerialControllers.h"

#include <array>

namespace {

// Line profiles: rate until one is chosen, input buffer, write time-out (fixed, per byte).
constexpr SerialChannel::Profile Fast {9600, 1024, 5000, 0};
constexpr SerialChannel::Profile Roomy {9600, 4096, 5000, 0};
constexpr SerialChannel::Profile Dcu1Line {4800, 1024, 1000, 200};

const std::array<SerialController, 7> &rows()
{
    static const std::array<SerialController, 7> table {{
        {InterfaceKind::Gs232, Fast, true, "C\r"},
        {InterfaceKind::EasyComm, Fast, true, "AZ\r"},
        {InterfaceKind::TrakBox, Fast, false, {}},
        {InterfaceKind::ProSisTel, Roomy, true, "\x02" "A?\r"},
        {InterfaceKind::Dcu1, Dcu1Line, true, "AI1;"},
        {InterfaceKind::M2Orion, Roomy, true, {}},
        {InterfaceKind::Egis, Roomy, true, {}},
    }};
    return table;
}

} // namespace

const SerialController *serialController(InterfaceKind kind)
{
    for (const SerialController &row : rows()) {
        if (row.kind == kind)
            return &row;
    }
    return nullptr;
}
