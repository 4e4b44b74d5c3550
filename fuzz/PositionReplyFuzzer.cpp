// A serial controller's bytes in answer to a position query, in reads of any size:
// noise, half replies and replies from another kind of controller.
#include "FuzzCheck.h"

#include "rotors/PositionReply.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static constexpr InterfaceKind Reporting[] = {InterfaceKind::Gs232, InterfaceKind::EasyComm,
                                                  InterfaceKind::ProSisTel, InterfaceKind::Dcu1};
    if (size < 2)
        return 0;
    const InterfaceKind kind = Reporting[data[0] % std::size(Reporting)];
    const qsizetype readSize = 1 + data[1] % 32;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));

    PositionReply::Reader reader(kind);
    for (qsizetype at = 0; at < bytes.size(); at += readSize) {
        if (const std::optional<double> position = reader.feed(bytes.sliced(at, qMin(readSize, bytes.size() - at)))) {
            // A position is a number of degrees, never "nan" or beyond the controller's range.
            FUZZ_CHECK(std::isfinite(*position));
            FUZZ_CHECK(*position >= 0 && *position <= 450);
            const double antenna = PositionReply::antennaAzimuth(*position, -180 + data[1] % 361, data[0] & 1);
            FUZZ_CHECK(antenna >= 0 && antenna < 360);
        }
    }
    return 0;
}
