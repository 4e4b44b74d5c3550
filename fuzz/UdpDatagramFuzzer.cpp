// A datagram from anyone on the network: the rotor request it holds, and the echo
// shown for it.
#include "FuzzCheck.h"

#include "sources/UdpRotorMessage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray datagram(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<RotorRequest> request = parseRotorDatagram(datagram)) {
        FUZZ_CHECK(request->azimuth >= 0 && request->azimuth <= 360);
        FUZZ_CHECK(!request->text.isEmpty());
    }
    // Short and printable whatever came: no line breaks, no terminal escapes.
    const QString echo = receivedEcho(datagram, 0xC0A80001, 12041);
    FUZZ_CHECK(echo.size() < 600);
    for (const QChar c : echo)
        FUZZ_CHECK(c.isPrint());
    return 0;
}
