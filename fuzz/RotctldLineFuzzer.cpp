// A rotctld client's bytes, as they arrive in reads of any size: split into lines,
// then each line parsed.
#include "FuzzCheck.h"

#include "sources/RotctldProtocol.h"

#include <cstddef>
#include <cstdint>

using namespace RotctldProtocol;

namespace {

void checkRequest(const Request &request)
{
    if (request.command == Request::Command::SetPosition && request.argumentsValid)
        FUZZ_CHECK(request.pointing.azimuth >= 0 && request.pointing.azimuth <= 360);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes choose the line limit and the size of each read.
    const qsizetype limit = 1 + data[0] % 128;
    const qsizetype readSize = 1 + data[1] % limit;
    const QByteArrayView stream(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));

    checkRequest(parseLine(stream));

    LineBuffer buffer(limit);
    for (qsizetype at = 0; at < stream.size(); at += readSize) {
        buffer.append(stream.sliced(at, qMin(readSize, stream.size() - at)));
        while (const std::optional<LineBuffer::Line> line = buffer.next()) {
            FUZZ_CHECK(line->text.size() <= limit);
            FUZZ_CHECK(!line->text.contains('\n'));
            FUZZ_CHECK(!line->overlong || line->text.isEmpty());
            if (!line->overlong)
                checkRequest(parseLine(line->text));
        }
        FUZZ_CHECK(buffer.buffered() <= 2 * limit);
    }
    return 0;
}
